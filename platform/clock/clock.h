#pragma once
// One clock for every "now", every wait and every timer of the program. The real clock is
// the wall clock and Qt's precise timers; the virtual clock runs a whole day in seconds,
// deterministically, for tests and the rehearsal program.

#include <QDateTime>
#include <QObject>

#include <functional>

namespace platform {

class Timer;

class Clock {
public:
    virtual ~Clock() = default;

    // Local wall-clock time. Schedules compare it at every tick, so clock steps are honoured.
    virtual QDateTime now() const = 0;
    // Monotonic milliseconds; waits and pauses are measured on it.
    virtual qint64 tickMs() const = 0;

    // Waits `ms` on the monotonic tick. On the user-interface thread the event loop keeps
    // running (timers fire, the window stays responsive); on another thread it just blocks.
    // It never returns early.
    virtual void delayms(int ms) = 0;

    // Blocks a worker thread for `ms`. On the virtual clock the thread must be registered
    // (ThreadScope) so that virtual time only advances while it waits.
    virtual void sleepFor(int ms) = 0;

    // Waits until `done()` is true or `ms` have passed; returns done(). Checked every 10 ms.
    bool waitFor(int ms, const std::function<bool()>& done);

    virtual bool isVirtual() const { return false; }

    // Registration of worker threads with the virtual clock (no-op on the real clock).
    virtual void threadStarted() {}
    virtual void threadFinished() {}
    // Work under way on a thread the clock does not know (for example synthesis for a queued
    // utterance): on the virtual clock, time does not move on until every hold is released.
    virtual void hold() {}
    virtual void release() {}

    // Text helpers on the current time.
    QString timeText() const;  // "hh:mm:ss", the form every schedule compares
    QString dateText() const;  // "yyyy-MM-dd"

protected:
    friend class Timer;
    virtual void arm(Timer* timer) = 0;     // (re)start with the timer's interval from now
    virtual void disarm(Timer* timer) = 0;  // stop; safe when not armed
};

// Registers the calling worker thread with the clock for its lifetime.
class ThreadScope {
public:
    explicit ThreadScope(Clock& clock) : clock_(clock) { clock_.threadStarted(); }
    ~ThreadScope() { clock_.threadFinished(); }
    ThreadScope(const ThreadScope&) = delete;
    ThreadScope& operator=(const ThreadScope&) = delete;

private:
    Clock& clock_;
};

// A window timer on a clock: the same surface as QTimer (interval, start, stop, timeout),
// plus the enabled switch the timers of the main window are described with.
class Timer : public QObject {
    Q_OBJECT
public:
    Timer(Clock& clock, int intervalMs, QObject* parent = nullptr);
    ~Timer() override;

    void setInterval(int ms);
    int interval() const { return interval_; }
    void setSingleShot(bool on) { singleShot_ = on; }
    bool isSingleShot() const { return singleShot_; }
    bool isActive() const { return active_; }

    void start();
    void start(int ms);
    void stop();
    void setEnabled(bool on) { on ? start() : stop(); }
    bool enabled() const { return active_; }

    // Runs `fn` once after `ms` on `clock`; the timer deletes itself.
    static void singleShot(Clock& clock, int ms, QObject* context, std::function<void()> fn);

signals:
    void timeout();

private:
    friend class RealClock;
    friend class VirtualClock;
    void fire();

    Clock& clock_;
    int interval_;
    bool singleShot_ = false;
    bool active_ = false;
    QObject* backend_ = nullptr;  // the QTimer of the real clock
};

}  // namespace platform
