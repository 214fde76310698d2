#pragma once
// Timetables and their editors: the list of timetables (Fscheduling), the naming dialog for a
// new or copied timetable (Fschedul_add) and the entry editor (fschplaymp3). Timetables live
// in table scheduling, their entries in sch_det, linked by the trimmed name; both grids are
// views of the data module's entries query Q_mp3. The main window's bell page is reached only
// through the hooks of BellPage.

#include <QDialog>
#include <QString>

#include <array>
#include <functional>

#include "platform/audio/audioengine.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QCheckBox;
class QSpinBox;
class QStatusBar;
class QTableView;
class QTimeEdit;
class QToolButton;

namespace core {
class DM;
class Dataset;
struct Services;
}  // namespace core

namespace timetables {

class EntriesModel;

// What the editors need of the bell page of the main window. Unset hooks do nothing.
struct BellPage {
    std::function<QString()> activeName;  // the text of the main tab's selector Comb1
    std::function<int()> schindex;        // the position of the active timetable
    std::function<void(const QString&)> setSchname;
    std::function<bool()> confirmPassword;  // the program password; unset: refused
    std::function<void()> getschlist;       // refill the main tab's selector
    std::function<void()> Comb1Change;      // re-read the selected timetable, rebuild, mark
    std::function<void()> getsgrid2data;    // rebuild today's bell grid
    std::function<void()> chkhaveplayed;    // mark the passed entries
};

// The texts the editors store and compare.
inline const QString kMusicList = QStringLiteral("播放列表框音乐");
inline const QString kFolderPrefix = QStringLiteral("目录");

// Opens the entries of timetable `name` (already trimmed) in the entries query.
void getgriddata(core::DM& dm, const QString& name);

// The audition player of the entry editor: a stream of its own on the audio engine, never the
// shared playback channel.
class Audition {
public:
    Audition(core::Services& services);
    ~Audition();
    Audition(const Audition&) = delete;
    Audition& operator=(const Audition&) = delete;

    // Opens `path` and plays it from the start; false when it cannot be opened.
    bool open(const QString& path);
    void play();  // the opened file again, from the start
    void stop();
    void close();
    bool isOpen() const { return handle_ >= platform::AudioEngine::kFirstHandle; }
    platform::AudioHandle handle() const { return handle_; }

private:
    core::Services& services_;
    platform::AudioHandle handle_ = 0;
    QString path_;
};

// fschplaymp3: adds, changes, auditions and deletes the entries of the timetable `schname`.
class Tfschplaymp3 : public QDialog {
    Q_OBJECT
public:
    Tfschplaymp3(core::Services& services, core::DM& dm, BellPage& bell, QWidget* parent = nullptr);
    ~Tfschplaymp3() override;

    // The timetable being edited; the caption shows it.
    void setSchname(const QString& name);
    const QString& schname() const { return schname_; }
    // Work of every showing: the time boxes, the locked columns, the entries of schname.
    void FormShow();

    void RBClick(QRadioButton* chosen);  // RB1, RB2, RB3
    void btn_openClick();                // 选择歌曲
    void btn_folderClick();              // 选择目录
    void Btn_addClick();                 // 增加列表
    void auditionClick();                // 试听
    void mp3_playerClick();
    void mp3_stopClick();
    void deleteClick();  // 删除记录
    void unlockClick();  // 修改歌曲名
    // The file column's button: a file for the current row.
    void chooseRowFile();

    Audition& audition() { return audition_; }
    EntriesModel& model() { return *model_; }

    QComboBox* edit1;
    QTimeEdit* TimeEdit1;
    QTimeEdit* TimeEdit2;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox4;
    QCheckBox* CheckBox5;
    QCheckBox* CheckBox6;
    QCheckBox* CheckBox7;
    QRadioButton* RB1;
    QRadioButton* RB2;
    QRadioButton* RB3;
    QPushButton* btn_open;
    QComboBox* Comb1;
    QPushButton* btn_folder;
    QLineEdit* Edit2;
    QCheckBox* chk_dump;
    QComboBox* Comb2;
    QSpinBox* SpinEdit1;
    QPushButton* Btn_add;
    QPushButton* Btn_close;
    QToolButton* mp3_player;
    QToolButton* mp3_stop;
    QStatusBar* StatusBar1;
    QLabel* statusPanel;
    QTableView* DBGrid1;
    QAction* N_audition;  // 试听
    QAction* N_delete;    // 删除记录
    QAction* N_unlock;    // 修改歌曲名

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QCheckBox*, 7> weekdays() const;

    core::Services& services_;
    core::DM& dm_;
    BellPage& bell_;
    QString schname_;
    EntriesModel* model_;
    Audition audition_;
};

class TFschedul_add;

// Fscheduling: lists, creates, copies and deletes timetables and opens the entry editor.
class TFscheduling : public QDialog {
    Q_OBJECT
public:
    TFscheduling(core::Services& services, core::DM& dm, BellPage& bell, QWidget* parent = nullptr);

    void setDialogs(Tfschplaymp3* editor, TFschedul_add* add);

    // Work of every showing: the list and the entries of the selected timetable.
    void FormShow();
    void getlist();
    void newClick();        // 新建时间表
    void copyClick();       // 复制为新时间表
    void deleteClick();     // 删除当前时间表
    void editClick();       // 编辑时间表
    void deleteRowClick();  // 删除当前行

    QComboBox* Comb1;
    QTableView* DBGrid1;
    QPushButton* Btn_new;
    QPushButton* Btn_copy;
    QPushButton* Btn_delete;
    QPushButton* Btn_edit;
    QPushButton* Btn_close;
    QAction* N_deleteRow;

private:
    void showSelected();  // getgriddata with the selector's trimmed text
    void openAdd(bool copymode);

    core::Services& services_;
    core::DM& dm_;
    BellPage& bell_;
    Tfschplaymp3* editor_ = nullptr;
    TFschedul_add* add_ = nullptr;
};

// Fschedul_add: names a new timetable, or a copy of the entries listed in Fscheduling.
class TFschedul_add : public QDialog {
    Q_OBJECT
public:
    TFschedul_add(core::Services& services, core::DM& dm, QWidget* parent = nullptr);

    bool copymode = false;
    // Runs after a timetable was stored (Fscheduling's getlist).
    std::function<void()> afterStore;

    // Work of every showing: the empty name box and the caption of the mode.
    void FormShow();
    void Button1Click();  // 确定

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;
    QPushButton* Button2;

private:
    core::Services& services_;
    core::DM& dm_;
};

// The two ways in from the main window's bell page. It owns the bell page hooks the dialogs
// share; the dialogs are created later (with the other windows) and attached.
class TimetableEditors {
public:
    TimetableEditors(core::Services& services, core::DM& dm) : services_(services), dm_(dm) {}

    BellPage bell;

    void attach(Tfschplaymp3* editor, TFscheduling* list, TFschedul_add* add);

    // SpeedButton6 "时间表编辑": password, the timetable list, then the main tab's selector.
    void openTimetables();
    // The bell grid menu's "增加铃声": password, the entry editor on the active timetable.
    void addEntry();

private:
    core::Services& services_;
    core::DM& dm_;
    Tfschplaymp3* editor_ = nullptr;
    TFscheduling* list_ = nullptr;
    TFschedul_add* add_ = nullptr;
};

// 删除当前行 (and the entry editor's 删除记录): asks, deletes the current entry and rebuilds
// the bell grid when the listed timetable is the active one.
void deleteCurrentEntry(core::Services& services, core::DM& dm, BellPage& bell);

}  // namespace timetables
