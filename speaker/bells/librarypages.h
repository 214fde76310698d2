#pragma once
// The three pages of the music library on the bell page, with their context menus: the music
// list (ListView1), the default folder (DefaultListBox1) and the timed folder (Listbox1).
// Only widgets; MusicLibrary gives them their behaviour.

#include <QTabWidget>

class QAction;
class QListWidget;
class QMenu;
class QTreeWidget;

namespace bells {

class LibraryPages : public QTabWidget {
    Q_OBJECT
public:
    explicit LibraryPages(QWidget* parent = nullptr);

    QTreeWidget* ListView1;
    QListWidget* DefaultListBox1;
    QListWidget* Listbox1;

    QMenu* listMenu;
    QAction* listAdd;  // 添加歌曲
    QAction* listSingle;
    QAction* listLoop;
    QAction* listSequential;
    QAction* listRandom;
    QAction* listClear;  // 清除歌曲
    QAction* listClearAll;

    QMenu* defaultMenu;
    QAction* defaultSingle;
    QAction* defaultLoop;
    QAction* defaultSequential;
    QAction* defaultRandom;
    QAction* defaultPrevious;
    QAction* defaultNext;
    QAction* defaultFolder;

    QMenu* timedMenu;
    QAction* timedSequential;
    QAction* timedRandom;
    QAction* timedPrevious;
    QAction* timedNext;
    QAction* timedFolder;
};

}  // namespace bells
