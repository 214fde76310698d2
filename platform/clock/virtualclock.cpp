#include "platform/clock/virtualclock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QThread>

#include <algorithm>

namespace platform {

namespace {
thread_local const VirtualClock* registeredWith = nullptr;

bool onMainThread() {
    auto* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}
}  // namespace

VirtualClock::VirtualClock(const QDateTime& start) : wallAtZeroMs_(start.toMSecsSinceEpoch()) {}

VirtualClock::~VirtualClock() = default;

QDateTime VirtualClock::now() const {
    return QDateTime::fromMSecsSinceEpoch(wallAtZeroMs_.load() + tick_.load());
}

qint64 VirtualClock::tickMs() const { return tick_.load(); }

void VirtualClock::setWallTime(const QDateTime& wall) {
    wallAtZeroMs_ = wall.toMSecsSinceEpoch() - tick_.load();
}

void VirtualClock::threadStarted() {
    std::lock_guard lk(mutex_);
    ++running_;
    registeredWith = this;
}

void VirtualClock::threadFinished() {
    std::lock_guard lk(mutex_);
    --running_;
    registeredWith = nullptr;
    cv_.notify_all();
}

void VirtualClock::hold() {
    std::lock_guard lk(mutex_);
    ++running_;
}

void VirtualClock::release() {
    std::lock_guard lk(mutex_);
    --running_;
    cv_.notify_all();
}

void VirtualClock::sleepFor(int ms) {
    if (ms <= 0) return;
    if (onMainThread()) {
        delayms(ms);
        return;
    }
    std::unique_lock lk(mutex_);
    const bool registered = registeredWith == this;
    const qint64 wake = tick_.load() + ms;
    sleepers_.insert({wake, registered});
    if (registered) --running_;
    cv_.notify_all();
    // The loop counts us as running again when it moves time to `wake`.
    cv_.wait(lk, [&] { return tick_.load() >= wake; });
}

void VirtualClock::delayms(int ms) {
    if (ms <= 0) return;
    if (!onMainThread()) {
        sleepFor(ms);
        return;
    }
    runTo(tick_.load() + ms);
}

void VirtualClock::advance(qint64 ms) { runTo(tick_.load() + ms); }

void VirtualClock::runUntil(const QDateTime& end) {
    const qint64 target = end.toMSecsSinceEpoch() - wallAtZeroMs_.load();
    runTo(std::max(target, tick_.load()));
}

qint64 VirtualClock::nextDue() const { return queue_.empty() ? -1 : queue_.begin()->first.due; }

void VirtualClock::arm(Timer* timer) {
    disarm(timer);
    const qint64 due = tick_.load() + std::max(timer->interval(), 0);
    if (firing_.count(timer)) {
        // Re-armed inside its own handler: queued once the handler returns, so a timer
        // never runs re-entrantly (as with Qt's timers in nested event loops).
        deferred_[timer] = due;
        return;
    }
    const Key key{due, ++seq_};
    queue_.emplace(key, timer);
    armed_.emplace(timer, key);
}

void VirtualClock::disarm(Timer* timer) {
    deferred_.erase(timer);
    auto it = armed_.find(timer);
    if (it == armed_.end()) return;
    queue_.erase(it->second);
    armed_.erase(it);
}

void VirtualClock::settle() {
    std::unique_lock lk(mutex_);
    do {
        lk.unlock();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        lk.lock();
        if (running_ > 0) cv_.wait_for(lk, std::chrono::milliseconds(1));
    } while (running_ > 0);
}

void VirtualClock::moveTo(qint64 tick) {
    std::lock_guard lk(mutex_);
    tick_ = tick;
    while (!sleepers_.empty() && sleepers_.begin()->first <= tick) {
        if (sleepers_.begin()->second) ++running_;
        sleepers_.erase(sleepers_.begin());
    }
    cv_.notify_all();
}

void VirtualClock::runTo(qint64 target) {
    while (!stopRequested_) {
        settle();
        qint64 next = target;
        if (!queue_.empty()) next = std::min(next, queue_.begin()->first.due);
        {
            std::lock_guard lk(mutex_);
            if (!sleepers_.empty()) next = std::min(next, sleepers_.begin()->first);
        }
        if (next > tick_.load()) moveTo(next);
        bool fired = false;
        while (!stopRequested_ && !queue_.empty() && queue_.begin()->first.due <= tick_.load()) {
            const auto [key, timer] = *queue_.begin();
            queue_.erase(queue_.begin());
            armed_.erase(timer);
            QPointer<Timer> alive(timer);
            firing_.insert(timer);
            timer->fire();
            firing_.erase(timer);
            fired = true;
            if (!alive) continue;
            auto deferred = deferred_.find(timer);
            qint64 due = -1;
            if (deferred != deferred_.end()) {
                due = std::max(deferred->second, tick_.load());
                deferred_.erase(deferred);
            } else if (timer->isActive()) {
                // Periodic: keep the phase; after a long handler, skip the missed beats.
                const qint64 step = std::max(timer->interval(), 1);
                due = key.due + step;
                if (due <= tick_.load()) due = tick_.load() + step;
            }
            if (due >= 0) {
                const Key k{due, ++seq_};
                queue_.emplace(k, timer);
                armed_.emplace(timer, k);
            }
        }
        if (!fired && tick_.load() >= target) break;
    }
    settle();
}

}  // namespace platform
