#include "platform/clock/realclock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace platform {

RealClock::RealClock() { tick_.start(); }

QDateTime RealClock::now() const { return QDateTime::currentDateTime(); }

qint64 RealClock::tickMs() const { return tick_.elapsed(); }

void RealClock::delayms(int ms) {
    if (ms <= 0) return;
    auto* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        sleepFor(ms);
        return;
    }
    // A local event loop keeps the window and the other timers running while we wait.
    const qint64 end = tickMs() + ms;
    while (tickMs() < end) {
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(end - tickMs()), Qt::PreciseTimer, &loop,
                           &QEventLoop::quit);
        loop.exec();
    }
}

void RealClock::sleepFor(int ms) {
    if (ms > 0) QThread::msleep(static_cast<unsigned long>(ms));
}

void RealClock::arm(Timer* timer) {
    auto* qt = static_cast<QTimer*>(timer->backend_);
    if (!qt) {
        qt = new QTimer(timer);
        qt->setTimerType(Qt::PreciseTimer);
        QObject::connect(qt, &QTimer::timeout, timer, [timer] { timer->fire(); });
        timer->backend_ = qt;
    }
    qt->start(timer->interval());
}

void RealClock::disarm(Timer* timer) {
    if (auto* qt = static_cast<QTimer*>(timer->backend_)) qt->stop();
}

}  // namespace platform
