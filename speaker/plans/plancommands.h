#pragma once
// The main window's plan commands on the today list `SGrid1`: open the plan editor
// ("修改列表 (&E)"), delete the selected plan ("删除列表 (&D) "), find a plan by its title
// ("主题定位 (&F)") and put the selected plan's text into the editor ("打开播放内容 (&N)",
// also a double click, Enter or Space on the list). They make up the list's context menu.
// The today list and its scheduler are reached through hooks, so this needs no main window.

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QMenu;
class QTableView;
class QTextEdit;

namespace core {
class DM;
}
namespace platform {
class Prompter;
}

namespace plans {

class PlanCommands : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> askPassword;  // the program password; true when accepted
        std::function<void()> showEditor;   // `fschreader`, modally
        std::function<std::optional<QString>()> askFindText;  // `Ffindtxt`; nullopt: cancelled
        std::function<int()> currentPlanId;           // column 16 of the selected row, 0: none
        std::function<QString()> currentPlanContent;  // column 5 of the selected row
        std::function<void(bool on)> setPlanTimer;    // `playtext`
        std::function<void()> stopReading;            // the toolbar's Stop
        std::function<void()> requestStop;            // raise `stopread`
        std::function<void()> saveDocument;           // the document save command
        std::function<void()> gettodaydata;
        std::function<void()> chkhaveplayed1;
    };

    // `sgrid1` shows the today list (header in the model's header, one model row per plan);
    // `memo1` is the main editor.
    PlanCommands(platform::Prompter& prompter, core::DM& dm, QTableView* sgrid1, QTextEdit* memo1,
                 Hooks hooks, QObject* parent = nullptr);

    void E1Click();  // 修改列表 (&E), also SB_addrecord
    void D1Click();  // 删除列表 (&D)
    void F1Click();  // 主题定位 (&F)
    void N1Click();  // 打开播放内容 (&N)
    // After the editor changed something: the today list is rebuilt and the scheduler
    // starts over at its first row.
    void rebuildAfterEdit();
    // The first today-list row (model row) whose title contains `text`, -1 when none.
    int findTitle(const QString& text) const;

    QMenu* menu() const { return menu_; }  // SGrid1's context menu
    QAction* E1;
    QAction* D1;
    QAction* F1;
    QAction* N1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int planRows() const;

    platform::Prompter& prompter_;
    core::DM& dm_;
    QTableView* grid_;
    QTextEdit* memo_;
    Hooks hooks_;
    QMenu* menu_;
};

}  // namespace plans
