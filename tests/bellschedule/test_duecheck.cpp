// The due check: entries start once inside their window and automatic playback ends when no
// window is open; weather marks; the pause; a looping single file; a day without bells.
#include "bellschedfixture.h"

#include "speaker/bells/channelbar.h"

#include <QToolButton>

using bellschedule::BellGrid;
using namespace bellschedtest;

namespace {

Entry entry(const char* name, const QString& file, const char* start, const char* end) {
    Entry e;
    e.name = QString::fromUtf8(name);
    e.file = file;
    e.start = QString::fromLatin1(start);
    e.end = QString::fromLatin1(end);
    return e;
}

struct Expected {
    const char* ev;
    const char* at;  // "hh:mm:ss" the event's time starts with
    int row;
    const char* reason;
};

}  // namespace

class DueCheck : public BellSchedTest {};

TEST_F(DueCheck, EntriesStartAfterTheirStartAndStopAtTheirEnd) {
    const QString a = wav(QStringLiteral("a.wav"), 16 * 60, 2000);
    const QString b = wav(QStringLiteral("b.wav"), 16 * 60, 2000);
    Entry notToday = entry("not today", b, "08:00:00", "08:10:00");
    notToday.days[0] = false;  // Monday
    struct Case {
        const char* title;
        std::vector<Entry> entries;
        std::vector<Expected> expected;
    };
    const std::vector<Case> cases{
        {"one entry",
         {entry("A", a, "08:00:00", "08:15:00")},
         {{"bell.start", "08:00:01", 1, ""}, {"bell.stop", "08:15:00", 1, "window"}}},
        {"overlapping windows",
         {entry("A", a, "08:00:00", "08:05:00"), entry("B", b, "08:03:00", "08:10:00")},
         {{"bell.start", "08:00:01", 1, ""},
          {"bell.start", "08:03:01", 2, ""},
          {"bell.stop", "08:03:01", 1, "replaced"},
          {"bell.stop", "08:10:00", 2, "window"}}},
        {"an open window not scheduled today keeps playback on",
         {entry("A", a, "08:00:00", "08:02:00"), notToday},
         {{"bell.start", "08:00:01", 1, ""}, {"bell.stop", "08:10:00", 1, "window"}}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        clock.setWallTime(QDateTime(QDate(2026, 12, 14), QTime(7, 59, 0)));
        trace.clear();
        const QString name = QStringLiteral("表%1").arg(++n);
        addTimetable(name, c.entries);
        start(name);
        advanceTo(QTime(8, 0, 0, 900));
        EXPECT_TRUE(bellEvents().empty()) << "nothing while the clock reads the start time";
        advanceTo(QTime(8, 20, 0));
        const auto seen = bellEvents();
        ASSERT_EQ(seen.size(), c.expected.size());
        for (size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].ev, QLatin1String(c.expected[i].ev)) << i;
            EXPECT_TRUE(seen[i].at.startsWith(QLatin1String(c.expected[i].at)))
                << i << " " << seen[i].at.toStdString();
            EXPECT_EQ(seen[i].row, c.expected[i].row) << i;
            EXPECT_EQ(seen[i].reason, QLatin1String(c.expected[i].reason)) << i;
        }
        EXPECT_FALSE(channel->hasStream());
        EXPECT_EQ(bells->grid().cell(1, BellGrid::ColMark), BellGrid::kTick);
    }
}

TEST_F(DueCheck, WeatherMarksAndSkips) {
    const QString f = wav(QStringLiteral("f.wav"), 5);
    Entry sunny = entry("晴", f, "08:00:00", "08:01:00");
    sunny.weather = QStringLiteral("仅晴天");
    Entry rainy = entry("雨", f, "08:02:00", "08:03:00");
    rainy.weather = QStringLiteral("仅雨天");
    Entry always = entry("全", f, "08:04:00", "08:05:00");
    addTimetable(QStringLiteral("天气"), {sunny, rainy, always});
    sunnymode = false;
    start(QStringLiteral("天气"));
    advanceTo(QTime(8, 0, 30));
    EXPECT_EQ(bells->grid().cell(1, BellGrid::ColMark), BellGrid::kCross);
    // Back to sunny before the end: the skipped entry stays skipped.
    bells->ToolButton2Click();
    bells->ToolButton3Click();
    EXPECT_TRUE(sunnymode);
    EXPECT_TRUE(messages().contains(QStringLiteral("您确定要切换到晴天模式？")));
    advanceTo(QTime(8, 6, 0));
    // Sunny from 08:00:30: the rainy-day entry is skipped when it comes due.
    const auto seen = bellEvents();
    ASSERT_EQ(seen.size(), 4u);
    for (int i : {0, 1}) {
        EXPECT_EQ(seen[size_t(i)].ev, QLatin1String("bell.skip"));
        EXPECT_EQ(seen[size_t(i)].row, i + 1);
        EXPECT_EQ(seen[size_t(i)].reason, QLatin1String("weather"));
    }
    EXPECT_TRUE(seen[0].at.startsWith(QLatin1String("08:00:01")));
    EXPECT_TRUE(seen[1].at.startsWith(QLatin1String("08:02:01")));
    EXPECT_EQ(seen[2].ev, QLatin1String("bell.start"));
    EXPECT_EQ(seen[2].row, 3);
    EXPECT_EQ(bells->grid().cell(2, BellGrid::ColMark), BellGrid::kCross);
    EXPECT_EQ(bells->grid().cell(3, BellGrid::ColMark), BellGrid::kTick);
}

TEST_F(DueCheck, PassedEntriesAreMarkedByTheWeather) {
    const QString f = wav(QStringLiteral("f.wav"), 5);
    std::vector<Entry> entries;
    for (const char* w : {"仅晴天", "仅雨天", "全天侯"}) {
        Entry e = entry(w, f, "07:00:00", "07:01:00");
        e.weather = QString::fromUtf8(w);
        entries.push_back(e);
    }
    entries.push_back(entry("later", f, "09:00:00", "09:01:00"));
    addTimetable(QStringLiteral("已过"), entries);
    struct Case {
        bool sunny;
        const char* marks[4];
    };
    for (const Case& c : {Case{true, {"√", "×", "√", ""}}, Case{false, {"×", "√", "√", ""}}}) {
        sunnymode = c.sunny;
        start(QStringLiteral("已过"));
        for (int r = 1; r <= 4; ++r)
            EXPECT_EQ(bells->grid().cell(r, BellGrid::ColMark), QString::fromUtf8(c.marks[r - 1]))
                << c.sunny << " row " << r;
    }
    EXPECT_TRUE(bellEvents().empty());
}

TEST_F(DueCheck, PauseLetsTheTrackPlayOnAndTheLoopWatchStillEndsIt) {
    Entry loop = entry("loop", wav(QStringLiteral("loop.wav"), 30), "08:00:00", "08:03:00");
    loop.loop = true;
    addTimetable(QStringLiteral("暂停"), {loop});
    start(QStringLiteral("暂停"));
    advanceTo(QTime(8, 1, 0));
    bells->ToolButton5Click();  // locked: ignored
    EXPECT_TRUE(bellrunning);
    bells->ToolButton2Click();
    bells->ToolButton5Click();
    EXPECT_FALSE(bellrunning);
    EXPECT_TRUE(
        messages().contains(QStringLiteral("您确认要暂停打铃系统，确认后将不会自动打铃？")));
    advanceTo(QTime(8, 3, 0, 500));
    EXPECT_TRUE(channel->hasStream()) << "the due check no longer stops it";
    advanceTo(QTime(8, 3, 2));
    EXPECT_FALSE(channel->hasStream());
    const auto seen = bellEvents();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].reason, QLatin1String("loop-end"));
    EXPECT_TRUE(seen[1].at.startsWith(QLatin1String("08:03:01")));
    bells->ToolButton5Click();
    EXPECT_TRUE(bellrunning);
    EXPECT_TRUE(messages().contains(QStringLiteral("您确定要运行打铃系统？")));
}

TEST_F(DueCheck, LoopingFilePlaysAgainUntilTheEnd) {
    Entry loop = entry("loop", wav(QStringLiteral("loop30.wav"), 30), "08:00:00", "08:03:00");
    loop.loop = true;
    addTimetable(QStringLiteral("循环"), {loop});
    start(QStringLiteral("循环"));
    advanceTo(QTime(8, 0, 1, 500));
    ASSERT_TRUE(channel->hasStream());
    int plays = 1;
    double last = channel->positionSeconds();
    while (clock.now().time().addMSecs(250) < QTime(8, 3, 0)) {
        clock.advance(250);
        const double pos = channel->positionSeconds();
        if (pos + 1.0 < last) ++plays;
        last = pos;
    }
    EXPECT_GE(plays, 5);
    EXPECT_LE(plays, 7);
    EXPECT_TRUE(channel->hasStream());
    advanceTo(QTime(8, 3, 0, 200));
    EXPECT_FALSE(channel->hasStream()) << "stopped at the end, in the middle of the file";
    const auto seen = bellEvents();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].reason, QLatin1String("window"));
    EXPECT_TRUE(seen[1].at.startsWith(QLatin1String("08:03:00")));
}

TEST_F(DueCheck, NothingOnADayWithoutBells) {
    const QString longFile = wav(QStringLiteral("long.wav"), 15 * 60, 2000);
    addTimetable(QStringLiteral("假日"), {entry("A", longFile, "08:00:00", "08:05:00")});
    nomusicday = true;
    start(QStringLiteral("假日"));
    channel->bassplay(longFile, 50);  // something else plays on the channel, not by hand
    ASSERT_TRUE(channel->hasStream());
    advanceTo(QTime(8, 10, 0));
    EXPECT_TRUE(bellEvents().empty());
    EXPECT_TRUE(bells->grid().cell(1, BellGrid::ColMark).isEmpty());
    EXPECT_TRUE(channel->hasStream()) << "nothing stopped by the timetable";
}
