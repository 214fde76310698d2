#include "platform/clock/virtualclock.h"

#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using platform::Timer;
using platform::VirtualClock;

namespace {
const QDateTime kStart(QDate(2026, 12, 11), QTime(7, 59, 59));
}

TEST(VirtualClock, PeriodicTimersFireInTimeOrderWithoutDrift) {
    VirtualClock clock(kStart);
    Timer fast(clock, 200), slow(clock, 1000);
    std::vector<std::pair<qint64, char>> fired;
    QObject::connect(&fast, &Timer::timeout, [&] { fired.push_back({clock.tickMs(), 'f'}); });
    QObject::connect(&slow, &Timer::timeout, [&] { fired.push_back({clock.tickMs(), 's'}); });
    fast.start();
    slow.start();
    clock.advance(1000);
    ASSERT_EQ(fired.size(), 6u);
    EXPECT_EQ(fired[0], (std::pair<qint64, char>{200, 'f'}));
    // Equal due times fire in the order they were armed (as Qt's timer list does): the slow
    // timer was armed at 0, the fast one re-armed at 800.
    EXPECT_EQ(fired[4], (std::pair<qint64, char>{1000, 's'}));
    EXPECT_EQ(fired[5], (std::pair<qint64, char>{1000, 'f'}));
    EXPECT_EQ(clock.now(), kStart.addMSecs(1000));
    EXPECT_EQ(clock.timeText(), QStringLiteral("08:00:00"));
}

TEST(VirtualClock, DelaymsKeepsOtherTimersRunningAndNeverReentersItsOwnTimer) {
    VirtualClock clock(kStart);
    Timer outer(clock, 100), other(clock, 30);
    int outerCalls = 0, otherCalls = 0, depth = 0, maxDepth = 0;
    QObject::connect(&outer, &Timer::timeout, [&] {
        ++outerCalls;
        maxDepth = std::max(maxDepth, ++depth);
        if (outerCalls == 1) clock.delayms(1000);  // like a modal wait inside a handler
        --depth;
    });
    QObject::connect(&other, &Timer::timeout, [&] { ++otherCalls; });
    outer.start();
    other.start();
    clock.advance(1200);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(otherCalls, 40);  // 30 ms beats up to 1200 ms, also during the delay
    // First call at 100 (returns at 1100), then it resumes on its beat: 1200.
    EXPECT_EQ(outerCalls, 2);
}

TEST(VirtualClock, SingleShotAndStopInsideHandler) {
    VirtualClock clock(kStart);
    int shots = 0;
    Timer::singleShot(clock, 500, nullptr, [&] { ++shots; });
    Timer t(clock, 100);
    int ticks = 0;
    QObject::connect(&t, &Timer::timeout, [&] {
        if (++ticks == 3) t.stop();
    });
    t.start();
    clock.advance(2000);
    EXPECT_EQ(shots, 1);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(clock.nextDue(), -1);
}

TEST(VirtualClock, RegisteredWorkerSleepsInVirtualTime) {
    VirtualClock clock(kStart);
    std::vector<qint64> wakes;
    std::atomic<bool> registered{false};
    std::thread worker([&] {
        platform::ThreadScope scope(clock);
        registered = true;
        for (int i = 0; i < 3; ++i) {
            clock.sleepFor(300);
            wakes.push_back(clock.tickMs());
        }
    });
    while (!registered) std::this_thread::yield();
    clock.advance(5000);
    worker.join();
    ASSERT_EQ(wakes.size(), 3u);
    EXPECT_EQ(wakes[0], 300);
    EXPECT_EQ(wakes[1] - wakes[0], 300);
    EXPECT_EQ(wakes[2] - wakes[1], 300);
}

TEST(VirtualClock, WallClockStepLeavesTheTickAlone) {
    VirtualClock clock(kStart);
    clock.advance(1000);
    clock.setWallTime(QDateTime(QDate(2026, 12, 12), QTime(0, 0, 0)));
    EXPECT_EQ(clock.tickMs(), 1000);
    EXPECT_EQ(clock.dateText(), QStringLiteral("2026-12-12"));
}
