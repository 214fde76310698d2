#pragma once
// The daily broadcast scheduler: the today list SGrid1 built from the plans, and the 100 ms
// timer `playtext` that walks down it with a row pointer, reads each plan at its time on the
// main editor (through manual reading's speaking worker), repeats it with its pause, stops
// it when its window closes and starts and stops background music for plans that ask for it.

#include "speaker/broadcast/todaylist.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QTableView;
class QTextEdit;

namespace core {
class DM;
struct Services;
}  // namespace core
namespace platform {
class Timer;
}
namespace speech {
class ManualReading;
struct ReadingState;
class VoicePanel;
}  // namespace speech

namespace broadcast {

class TextScheduler : public QObject {
    Q_OBJECT
public:
    // What the scheduler reaches outside itself; the window fills it.
    struct Hooks {
        QTextEdit* memo = nullptr;                    // Memo1
        speech::ManualReading* reading = nullptr;     // may be null (no speech engine)
        std::function<speech::VoicePanel*()> voices;  // the voice list (made later); may be null
        std::function<bool()> notextday;              // today is a date without text plans
        std::function<bool()> textPageActive;         // the page "文稿播音" is shown
        std::function<void()> musicPlay;              // bj_play
        std::function<void()> musicStop;              // bj_stop
        std::function<void(int)> setMusicVolume;      // bj_v1, music volume while reading
    };

    static constexpr int kIntervalMs = 100;

    // The timer `playtext` runs from creation on.
    TextScheduler(core::Services& services, core::DM& dm, Hooks hooks, QObject* parent = nullptr);
    ~TextScheduler() override;

    TodayList& list() { return list_; }
    const TodayList& list() const { return list_; }
    // SGrid1: the model and its look; its current row is the one the commands act on.
    void attach(QTableView* view);

    // Rebuilds the today list from Q_draft (all marks cleared, pointer back to row 1).
    void gettodaydata();
    // Ticks the rows whose end time has passed.
    void chkhaveplayed1();
    // One scheduler step.
    void playtextTimer();
    // Loads plan `id` into the editor and starts reading it from the start.
    void playplan(int id);

    // The id (column 16) of SGrid1's current row, 0 when none; its column 5.
    int currentPlanId() const;
    QString currentPlanContent() const;

    platform::Timer* playtext;
    int planrow = 1;
    bool planplaying = false;
    bool planmusicon = false;

private:
    speech::ReadingState& state();
    void stopReading();  // SB_stop
    void musicStop();
    void setVolumeFrom(int row);
    void selectVoiceOf(const QString& speaker);
    // Marks row `row` completed and records why, once per row and day.
    void complete(int row, const char* reason);
    int idOf(int row) const;

    core::Services& services_;
    core::DM& dm_;
    Hooks hooks_;
    TodayList list_;
    QTableView* view_ = nullptr;
    // Without a speech engine nothing is read; the steps still run on a state of their own.
    std::unique_ptr<speech::ReadingState> ownState_;
    // Per row: a reading of it was started today; it was completed (reported).
    std::vector<char> started_;
    std::vector<char> reported_;
    // The row whose text turned out blank: not offered again while its window is open.
    int blankRow_ = 0;
};

}  // namespace broadcast
