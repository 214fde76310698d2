#include "platform/clock/clock.h"

#include <algorithm>

namespace platform {

bool Clock::waitFor(int ms, const std::function<bool()>& done) {
    const qint64 end = tickMs() + ms;
    while (!done()) {
        const qint64 left = end - tickMs();
        if (left <= 0) return done();
        sleepFor(static_cast<int>(std::min<qint64>(left, 10)));
    }
    return true;
}

QString Clock::timeText() const { return now().toString(QStringLiteral("hh:mm:ss")); }
QString Clock::dateText() const { return now().toString(QStringLiteral("yyyy-MM-dd")); }

Timer::Timer(Clock& clock, int intervalMs, QObject* parent)
    : QObject(parent), clock_(clock), interval_(intervalMs) {}

Timer::~Timer() {
    if (active_) clock_.disarm(this);
}

void Timer::setInterval(int ms) {
    interval_ = ms;
    if (active_) clock_.arm(this);
}

void Timer::start() {
    active_ = true;
    clock_.arm(this);
}

void Timer::start(int ms) {
    interval_ = ms;
    start();
}

void Timer::stop() {
    if (!active_) return;
    active_ = false;
    clock_.disarm(this);
}

void Timer::fire() {
    if (singleShot_) stop();
    emit timeout();
}

void Timer::singleShot(Clock& clock, int ms, QObject* context, std::function<void()> fn) {
    auto* t = new Timer(clock, ms, context);
    t->setSingleShot(true);
    QObject::connect(t, &Timer::timeout, t, [t, fn = std::move(fn)] {
        fn();
        t->deleteLater();
    });
    t->start();
}

}  // namespace platform
