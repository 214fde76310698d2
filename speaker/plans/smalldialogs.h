#pragma once
// The small dialogs of the plan commands and the mark insertion: find a plan by its title,
// choose a rate mark, choose a volume mark. Each keeps its last values and position between
// showings; the caller reads the value after an accepted showing.

#include <QDialog>

#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace platform {
class Prompter;
}

namespace plans {

// `Ffindtxt` "定时主题内容": the text to look for in the today list's titles.
class TFfindtxt : public QDialog {
    Q_OBJECT
public:
    explicit TFfindtxt(platform::Prompter& prompter, QWidget* parent = nullptr);

    // OK: trims the box; an empty box warns "请输入要查内容!" and the dialog stays open.
    void Button1Click();
    QString text() const;

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;

private:
    platform::Prompter& prompter_;
};

// A slider with its number beside it and an OK button (`Finsertrate`, `Finsertvoice`).
class TValueDialog : public QDialog {
    Q_OBJECT
public:
    TValueDialog(const QString& objectName, const QString& caption, const QString& label, int min,
                 int max, int initial, QWidget* parent = nullptr);

    int value() const;
    void setValue(int value);

    QSlider* TrackBar1;
    QLabel* Label2;  // the number
    QPushButton* Button1;
};

// Shows a value dialog through the prompter; its value when confirmed with OK, else nullopt.
std::optional<int> askValue(platform::Prompter& prompter, QDialog* dialog);

// "插入语速": -10..15, initially 0.
std::unique_ptr<TValueDialog> makeInsertRate();
// "插入音量": 0..100, initially 95.
std::unique_ptr<TValueDialog> makeInsertVoice();

}  // namespace plans
