#pragma once
// The main window: the clock strip, the four pages, menus, toolbar and status bar. It creates
// and wires the subsystems and forwards its timers; the behaviour lives in the subsystems.

#include "speaker/core/prefvalues.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTableView;
class QTextEdit;
class QTimeEdit;
class QToolButton;
class TGroupBarGroup;
class TLEDFontNum;

namespace core {
class DM;
struct Services;
}  // namespace core
namespace platform {
class Timer;
}
namespace speech {
class ManualReading;
class VoicePanel;
}  // namespace speech
namespace timeann {
class TimeAnnouncer;
}
namespace bells {
class MusicLibrary;
class MusicListStore;
class BackgroundMusic;
class PlaybackChannel;
}  // namespace bells
namespace bellschedule {
class BellScheduler;
}
namespace broadcast {
class HolidayList;
class TextScheduler;
}  // namespace broadcast

namespace plans {
class PlanCommands;
}
namespace timetables {
class TimetableEditors;
}

namespace app {

struct Windows;

class Tf_speaker : public QMainWindow {
    Q_OBJECT
public:
    // Runs the creation steps of the main window (the data module must be open).
    Tf_speaker(core::Services& services, core::DM& dm, QWidget* parent = nullptr);
    ~Tf_speaker() override;

    // The windows created after this one; the exit and the menu commands reach them here.
    void setWindows(Windows* windows) { windows_ = windows; }

    // Commands and timer handlers.
    void Timer1Timer();
    void chk_loginTimer();
    void SB_closeClick();
    void SB_panelClick();
    void N31Click();  // help
    void N32Click();  // about
    void BitBtn1Click();  // change password
    void TabSheet3Show();

    // The shared playback channel and the music library of the bell page.
    bells::PlaybackChannel& channel() { return *channel_; }
    bells::MusicLibrary& library() { return *library_; }

    // Reading the editor text (null without a speech engine).
    speech::ManualReading* reading() { return reading_.get(); }

    // The voice chooser with the voice list, and the rate and volume bars.
    speech::VoicePanel* voicePanel() { return voicePanel_; }

    void setStatusText(int panel, const QString& text);
    QString statusText(int panel) const;

    // Clock strip
    TLEDFontNum* LED1;
    TLEDFontNum* LED2;
    TLEDFontNum* LED3;
    QLabel* StaticText12;
    QToolButton* SB_close;

    QTabWidget* RzPageControl1;
    QWidget* TabSheet1;  // 文稿播音
    QWidget* TabSheet2;  // 定时铃声
    QWidget* TabSheet4;  // 整点报时
    QWidget* TabSheet3;  // 系统设置

    // 文稿播音
    QTextEdit* Memo1;
    QTableView* SGrid1;
    QWidget* Panel4;
    QWidget* Panel1;
    QWidget* panel2;
    TGroupBarGroup* RzGroup1;  // 朗读选项
    TGroupBarGroup* RzGroup2;  // MP3背景音乐播放
    TGroupBarGroup* RzGroup4;  // 历史打开文件
    QComboBox* flatComboBox1;
    QSlider* TrackBar1;  // speech volume
    QSlider* TrackBar2;  // speech rate
    QSpinBox* bj_v;
    QSpinBox* bj_v1;
    QComboBox* ComBox1;
    QListWidget* ListBox2;
    QCheckBox* Chk_eng;
    QCheckBox* Chk_prompt;

    // 定时铃声
    QComboBox* Comb1;
    QSlider* TrackBar4;
    QTabWidget* RzPageControl2;
    QTableView* SGrid2;

    // 整点报时
    QTableView* SGrid3;
    timeann::TimeAnnouncer* announcer = nullptr;  // its telltime timer and the grid's menu

    // 系统设置
    QCheckBox* CheckBox5;
    QTimeEdit* TimeEdit1;
    QCheckBox* CheckBox6;
    QRadioButton* thistimes;
    QRadioButton* alltimes;
    QCheckBox* CheckBox7;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QLineEdit* Edit3;
    QToolButton* BitBtn1;
    QTableView* Grid3;
    QSlider* TrackBar5;
    QCheckBox* chk_delay1;
    QSpinBox* S_delay1;
    QSpinBox* S_delay2;

    // Hooks the reading and editor subsystems fill: stop a running reading; save the document.
    std::function<void()> stopReading;
    std::function<void()> saveDocument;

    platform::Timer* Timer1;
    platform::Timer* chk_login;

    // Dates without broadcasts: set by the holiday evaluation, read by the two schedulers.
    bool notextday = false;
    bool nomusicday = false;

    // text broadcasts: plan commands and editor (speaker/plans)
    plans::PlanCommands* planCommands() { return plans_.get(); }
    // text broadcasts: today list, its scheduler and the holiday list (speaker/broadcast)
    broadcast::TextScheduler* textScheduler() { return textScheduler_.get(); }
    broadcast::HolidayList* holidayList() { return holidays_.get(); }
    QToolButton* SB_modi = nullptr;  // 修改 (the holiday list)
    QToolButton* SB_add = nullptr;   // 增加 (the holiday list)
    // background music (speaker/bells/backgroundmusic)
    bells::BackgroundMusic* backgroundMusic() { return backgroundMusic_.get(); }
    // timetable editors (speaker/timetables)
    timetables::TimetableEditors* timetableEditors() { return timetableEditors_.get(); }
    // bell scheduler and temporary changes (speaker/bellschedule)
    bellschedule::BellScheduler* bellScheduler() { return bellScheduler_.get(); }

    // State read from the preferences at start-up.
    int datetimetype = 1;
    bool weather = true;
    bool runplaymp3 = true;
    bool isdelay = false;
    int delay1 = 300;
    int delay2 = 300;
    int defaultVolume = 90;
    int defaultVolume1 = 10;
    int bjV1Remembered = 10;
    int schindex = 0;
    QString schname;
    QString musicPath;
    QString defaultMusicPath;
    QString bjFolder;
    bool modelChinese = true;
    bool shutarmed = false;
    bool shutonce = true;
    bool shutprompt = false;
    QString shuttimetext;

signals:
    // The date changed: today's lists are rebuilt by their owners.
    void dateChanged(const QDate& today);

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void buildToolbar(QWidget* page, QLayout* into);
    void buildClockStrip(QWidget* into);
    void buildTextPage();
    void buildBellPage();
    void buildAnnouncePage();
    void buildSettingsPage();
    void buildStatusBar();
    QAction* addAction(QMenu* menu, const char* name, const QString& caption, bool built);
    QToolButton* addToolButton(QLayout* into, const char* name, const QString& hint, bool built);

    void FormCreate();
    void FormShow();
    void loadStartupPreferences();
    void saveExitPreferences();
    void fillHistory();

    core::Services& services_;
    core::DM& dm_;
    // The editor colours as read, so a system colour name is written back as that name.
    core::PrefColor editorBackground_;
    core::PrefColor editorFontColor_;
    Windows* windows_ = nullptr;
    std::array<QLabel*, 4> statusPanels_{};
    bool shownOnce_ = false;
    speech::VoicePanel* voicePanel_ = nullptr;
    // Declared in this order so that list play goes before the channel it drives.
    std::unique_ptr<bells::MusicListStore> musicList_;
    std::unique_ptr<bells::PlaybackChannel> channel_;
    std::unique_ptr<bells::MusicLibrary> library_;
    // The subsystems built on the channel and the reading (each section adds its owner here).
    // plans
    void buildPlans();
    std::unique_ptr<plans::PlanCommands> plans_;
    // broadcast
    void buildTextSchedule();
    void buildHolidays();
    std::unique_ptr<broadcast::TextScheduler> textScheduler_;
    std::unique_ptr<broadcast::HolidayList> holidays_;
    // background music
    void buildBackgroundMusic();
    void showBackgroundMusic();  // the first showing: folder and volumes
    std::unique_ptr<bells::BackgroundMusic> backgroundMusic_;
    // timetables
    void buildTimetables();
    std::unique_ptr<timetables::TimetableEditors> timetableEditors_;
    // bell schedule
    void buildBellSchedule();
    std::unique_ptr<bellschedule::BellScheduler> bellScheduler_;
    // Last, so that a reading ends while everything it reaches is still there.
    std::unique_ptr<speech::ManualReading> reading_;
};

}  // namespace app
