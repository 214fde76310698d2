#pragma once
// The bell scheduler of the page "定时铃声": the selector of the active timetable, today's
// bell grid SGrid2 with a played mark per entry, the 100 ms due check that starts each due
// entry once and ends automatic playback when no entry's window is open, the loop-end watch
// of a looping single file, the lock / weather / pause buttons, the manual test and the two
// dialogs that change today's times for the day only. Playback goes through the shared
// channel; list and folder entries through the music library's list play.

#include "speaker/bellschedule/bellgrid.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QDialog;
class QMenu;
class QTableView;
class QToolButton;
class QWidget;

namespace core {
class DM;
struct Services;
}  // namespace core
namespace platform {
class Timer;
}
namespace bells {
class MusicLibrary;
class PlaybackChannel;
}  // namespace bells

namespace bellschedule {

class Tfchangtime;

// The main window's state the scheduler works on; the window saves it at exit.
struct BellState {
    bool& sunnymode;         // weather: true sunny, false rainy
    bool& bellrunning;       // false while the bell system is paused
    int& schindex;           // position of the active timetable in Comb1
    QString& schname;        // name of the active timetable
    const bool& nomusicday;  // today is a date without bells
};

struct BellWidgets {
    QComboBox* Comb1;    // the active timetable's selector (required)
    QTableView* SGrid2;  // the grid's view; may be null
    std::function<void(int panel, const QString& text)> setStatusText;
};

class BellScheduler : public QObject {
    Q_OBJECT
public:
    static constexpr int kDueIntervalMs = 100;
    static constexpr int kLoopWatchIntervalMs = 1000;

    // The timers start here: playmp3 runs from now on, Timer5 only while a loop plays.
    BellScheduler(core::Services& services, core::DM& dm, bells::PlaybackChannel& channel,
                  bells::MusicLibrary& library, BellWidgets widgets, BellState state,
                  QObject* parent = nullptr);
    ~BellScheduler() override;
    BellScheduler(const BellScheduler&) = delete;
    BellScheduler& operator=(const BellScheduler&) = delete;

    BellGrid& grid() { return grid_; }
    // SpeedButton6 and the three state buttons in one row, for the page to place.
    QWidget* panel() const { return panel_; }

    // Refills Comb1 from table scheduling and opens the entries of the selected timetable.
    void getschlist();
    // The selector changed: re-read the chosen timetable, rebuild the grid, mark passed rows.
    void Comb1Change();
    // Rebuilds the grid from the entries read last, every mark cleared.
    void getsgrid2data();
    // Marks the rows whose end time has passed ("×" for the other weather's entries).
    void chkhaveplayed();

    // The due check (playmp3, every 100 ms).
    void playmp3Timer();
    // Starts grid row `row` (1-based) as an automatic bell.
    void autoplayrow(int row);
    // Plays grid row `row` by its play model.
    void playschrow(int row);
    // The loop-end watch (Timer5, every second while a looping entry plays).
    void Timer5Timer();

    // Every start and end time of the grid moved by `minutes`, wrapping within the day.
    void shiftTimes(int minutes);

    // Buttons and the grid's menu.
    void ToolButton2Click();   // lock
    void ToolButton3Click();   // weather
    void ToolButton5Click();   // pause
    void manualTest(int row);  // 手动试听 on grid row `row`
    void openShiftDialog();    // 临时变更作息时间, after the password
    void openTempEdit();       // 临时修改当前时间, after the password
    // The selector's text (the active timetable's name as shown).
    QString selectedTimetable() const;
    // The grid's current row (1-based), 0 when none.
    int currentRow() const;

    // Hooks the main window fills.
    std::function<void()> openTimetables;      // SpeedButton6 "时间表编辑"
    std::function<void()> addEntry;            // the grid menu's "增加铃声"
    std::function<bool()> confirmPassword;     // unset: refused
    std::function<QDialog*()> tempEditDialog;  // ftmptime
    // The text-broadcast list: shift its times by minutes; rebuild it and mark its passed plans.
    std::function<void(int minutes)> shiftTextList;
    std::function<void()> restoreTextList;

    // Resolves a timetable path: relative paths are in the program folder.
    QString resolvePath(const QString& path) const;

    platform::Timer* playmp3;
    platform::Timer* Timer5;
    QToolButton* SpeedButton6;
    QToolButton* ToolButton2;
    QToolButton* ToolButton3;
    QToolButton* ToolButton5;
    QMenu* gridMenu;
    QAction* N_addentry;
    QAction* N_manualtest;
    QAction* N_shifttimes;
    QAction* N_tempedit;

    bool bellocked = true;
    QString loopendtime;
    // The pictures of the weather and pause buttons from the state (after it is loaded).
    void showStatePictures();
    // The shift dialog, made on first use.
    Tfchangtime* shiftDialog() const { return fchangtime_.get(); }

private:
    bool insideWindow(int row, const QString& now) const;
    bool playable(const QString& path) const;
    void readClock();
    // "hh:mm:ss" of the clock now; also sets nowDay_.
    const QString& nowText();
    void openEntries();
    void status(int panel, const QString& text);
    void failed(int row, const char* reason, const QString& text);
    // The bell that had the channel is over; `reason` goes into bell.stop.
    void bellEnded(const char* reason);
    void stopBells(const char* reason);
    void setLocked(bool locked);

    core::Services& services_;
    core::DM& dm_;
    bells::PlaybackChannel& channel_;
    bells::MusicLibrary& library_;
    BellWidgets widgets_;
    BellState state_;
    BellGrid grid_;
    QPointer<QWidget> panel_;
    std::unique_ptr<Tfchangtime> fchangtime_;
    int activeRow_ = 0;  // the grid row whose bell has the channel, 0 when none
    QString activeName_;
    // The clock as the due check compares it: the text is rebuilt once a second, so that
    // the 100 ms check builds nothing.
    qint64 syncTick_ = -1;
    qint64 syncMs_ = 0;
    int syncDay_ = 1;
    int nowDay_ = 1;  // Monday 1 .. Sunday 7
    int nowSecond_ = -1;
    QString nowText_;
};

}  // namespace bellschedule
