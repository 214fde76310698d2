#pragma once
// The plan editor `fschreader` "增加、修改播音计划": new plans from the input group, the
// plans grid on `Q_draft` edited in place through the data module's checks, the stored texts
// on `Q_textfile` with their content editor `Memo2`, mark insertion, paste into the plans,
// text import and the export of the text list. Created once at start-up, shown modally.

#include <QDialog>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class QTableView;
class QTextEdit;
class QTimeEdit;

namespace core {
class DM;
struct Services;
}  // namespace core

namespace plans {

class FieldColumns;

class Tfschreader : public QDialog {
    Q_OBJECT
public:
    struct Hooks {
        QStringList voices;                   // the main window's voice list, copied at creation
        std::function<int()> mainVoiceIndex;  // the voice chosen on the main window
        // The mark dialogs: the chosen value, nullopt when not confirmed with OK.
        std::function<std::optional<int>()> askRate;
        std::function<std::optional<int>()> askVolume;
    };

    Tfschreader(core::Services& services, core::DM& dm, Hooks hooks, QWidget* parent = nullptr);
    ~Tfschreader() override;

    // The steps of every showing (the two times, the save button, the voice, the text choice,
    // the role captions); showEvent runs them.
    void FormShow();
    // Refill of the text choice `comb_title` ("ID.title" per text, the first selected).
    void getcomb_title();

    void Btn_addClick();        // add a plan from the input group
    void BitBtn1Click();        // add a text titled by Edit1
    void btn_saveClick();       // sets datachanged, then saves the text
    void savetext();            // "保存稿件"
    void opentext();            // "导入文件"
    void deletetext();          // "删除记录" of the text list
    void exportlist();          // "导出列表"
    void refreshplans();        // "刷新"
    void pastefield();          // "粘贴"
    void pasteall();            // "粘贴全部"
    void deleteplan();          // "删除记录" of the plans grid
    void choosemusic(int row);  // the button of the "播放音乐" cell
    void showplantext();        // Memo1 = content of the current plan's text
    void showtextcontent();     // Memo2 = content of the current text
    // Inserts `mark` at Memo2's caret; the whole content is replaced.
    void insertmark(const QString& mark);
    void insertrate();
    void insertvolume();

    FieldColumns* plansModel() const { return plansModel_; }
    FieldColumns* textsModel() const { return textsModel_; }
    // The id of the text whose content Memo2 holds (0: none loaded yet).
    int memoTextId() const { return memoTextId_; }

    // Input group
    QComboBox* comb_title;
    QTimeEdit* TimeEdit1;
    QTimeEdit* TimeEdit2;
    std::array<QCheckBox*, 7> CheckBoxes{};  // CheckBox1 (周一) .. CheckBox7 (周日)
    QSpinBox* SpinEdit2;                     // 播放次数
    QSpinBox* SpinEdit1;                     // 间隔秒数
    QSpinBox* SpinEdit3;                     // 文稿音量
    QSlider* TrackBar2;                      // 语速
    QLabel* Label1;
    QComboBox* flatComboBox1;
    QCheckBox* chk_playmusic;
    QCheckBox* Chk_musicended;
    QSpinBox* SpinEdit4;  // 背景音量
    QLabel* Label2;
    QPushButton* Btn_add;
    QPushButton* Btn_close;
    // Plans
    QTableView* DBGridEh1;
    QTextEdit* Memo1;
    // Texts
    QLineEdit* Edit1;
    QPushButton* BitBtn1;
    QTableView* DBGridEh2;
    QPlainTextEdit* Memo2;
    QPushButton* btn_open1;
    QPushButton* btn_save;
    // Menus
    QMenu* PopupMenu1;  // plans grid
    QMenu* PopupMenu2;  // text list
    QMenu* PopupMenu3;  // Memo2
    std::array<QAction*, 6> roleItems{};

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildInputGroup(QWidget* into);
    void buildPlans(QWidget* into);
    void buildTexts(QWidget* into);
    void buildMenus();
    // A value of the text `id` without moving the text list; null when there is no such text.
    QVariant textValue(const QVariant& id, const QString& field) const;
    QString clipboardText() const;

    core::Services& services_;
    core::DM& dm_;
    Hooks hooks_;
    FieldColumns* plansModel_;
    FieldColumns* textsModel_;
    int memoTextId_ = 0;
};

}  // namespace plans
