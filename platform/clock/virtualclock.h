#pragma once
#include "platform/clock/clock.h"

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>

namespace platform {

// Discrete-event clock. Time only moves inside advance()/runUntil() (or delayms on the
// user-interface thread, which runs the same loop nested): the loop lets posted events and
// registered worker threads settle, then jumps to the earliest due timer or waking thread.
// The same inputs therefore give the same sequence of events every time.
class VirtualClock : public Clock {
public:
    explicit VirtualClock(const QDateTime& start);
    ~VirtualClock() override;

    QDateTime now() const override;
    qint64 tickMs() const override;
    void delayms(int ms) override;
    void sleepFor(int ms) override;
    bool isVirtual() const override { return true; }
    void threadStarted() override;
    void threadFinished() override;
    void hold() override;
    void release() override;

    // Runs the program's timers and threads until `end` (wall time) or until stop() is called.
    void runUntil(const QDateTime& end);
    void advance(qint64 ms);
    // Ends the innermost running loop at the current time (for example when the program quits).
    void stop() { stopRequested_ = true; }
    bool stopped() const { return stopRequested_; }

    // Steps the wall clock (as when the user sets the computer's clock); the tick goes on.
    void setWallTime(const QDateTime& wall);

    // Virtual tick at which the next timer is due, or -1 when none is armed.
    qint64 nextDue() const;

protected:
    void arm(Timer* timer) override;
    void disarm(Timer* timer) override;

private:
    struct Key {
        qint64 due;
        quint64 seq;
        bool operator<(const Key& o) const { return due != o.due ? due < o.due : seq < o.seq; }
    };
    void runTo(qint64 targetTick);
    void settle();  // posted events processed, every registered thread blocked or ended
    void moveTo(qint64 tick);  // sets the tick and wakes the threads whose time has come

    std::atomic<qint64> wallAtZeroMs_;  // wall time (ms since epoch, UTC) at tick 0
    std::atomic<qint64> tick_{0};
    quint64 seq_ = 0;
    std::map<Key, Timer*> queue_;
    std::map<Timer*, Key> armed_;
    std::set<Timer*> firing_;
    std::map<Timer*, qint64> deferred_;  // re-armed inside their own handler
    bool stopRequested_ = false;

    // Worker threads registered with the clock.
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    int running_ = 0;                  // registered threads not blocked in sleepFor
    std::multimap<qint64, bool> sleepers_;  // wake tick of each blocked thread, registered?
};

}  // namespace platform
