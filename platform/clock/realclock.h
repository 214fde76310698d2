#pragma once
#include "platform/clock/clock.h"

#include <QElapsedTimer>

namespace platform {

// Wall clock and monotonic tick of the machine; timers are precise QTimers.
class RealClock : public Clock {
public:
    RealClock();
    QDateTime now() const override;
    qint64 tickMs() const override;
    void delayms(int ms) override;
    void sleepFor(int ms) override;

protected:
    void arm(Timer* timer) override;
    void disarm(Timer* timer) override;

private:
    QElapsedTimer tick_;
};

}  // namespace platform
