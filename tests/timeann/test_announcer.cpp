// The telltime timer and saytime on the virtual clock: chime first, the spoken time 1300 ms
// later, each switched-on time once in its second, nothing for times that are off.
#include "timeannfixture.h"

#include <QHeaderView>
#include <QTableView>

using timeann::TellTimeGrid;
using Events = std::vector<std::pair<QString, QString>>;

namespace {

QDateTime at(const char* hms) {
    return QDateTime(QDate(2026, 12, 14), QTime::fromString(QString::fromLatin1(hms), "hh:mm:ss"));
}

TEST_F(TimeAnnTest, GridHoldsTheTableAsTextWithTheSwitchAsATick) {
    switchRow(QStringLiteral("08:30:00"), true);
    TellTimeGrid& grid = announcer().grid();
    ASSERT_EQ(grid.dataRows(), 48);
    EXPECT_EQ(grid.cell(0, TellTimeGrid::ColNo), QStringLiteral("1"));
    EXPECT_EQ(grid.cell(0, TellTimeGrid::ColTime), QStringLiteral("00:00:00"));
    EXPECT_EQ(grid.cell(17, TellTimeGrid::ColNo), QStringLiteral("18"));
    EXPECT_EQ(grid.cell(17, TellTimeGrid::ColText), QStringLiteral("现在是北京时间 08:30"));
    EXPECT_EQ(grid.cell(17, TellTimeGrid::ColPlay), QStringLiteral("√"));
    EXPECT_EQ(grid.cell(16, TellTimeGrid::ColPlay), QString());
    EXPECT_EQ(grid.cell(47, TellTimeGrid::ColTime), QStringLiteral("23:30:00"));
}

TEST_F(TimeAnnTest, ViewShowsTheFourVisibleColumnsAndAnEmptyTableAsOneEmptyRow) {
    QTableView view;
    timeann::TimeAnnouncer a(services, dm->Q_telltime(), &view);
    const QStringList titles{"No", "时间", "播放内容", "语音引擎", "播放"};
    const int widths[] = {30, 88, 500, -1, 32};
    for (int c = 0; c < TellTimeGrid::ColumnCount; ++c) {
        EXPECT_EQ(view.model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
        EXPECT_EQ(view.isColumnHidden(c), c == TellTimeGrid::ColEngine);
        if (widths[c] > 0) {
            EXPECT_EQ(view.columnWidth(c), widths[c]);
        }
    }
    EXPECT_EQ(view.model()->rowCount(), 1);  // not filled yet: the empty row
    EXPECT_EQ(a.grid().dataRows(), 0);
    ASSERT_EQ(view.actions().size(), 1);
    EXPECT_EQ(view.actions()[0]->objectName(), QStringLiteral("N64"));
    EXPECT_EQ(view.actions()[0]->text(), QStringLiteral("修改"));
}

TEST_F(TimeAnnTest, SwitchedOnTimesChimeThenSpeakAfter1300msOncePerSecond) {
    switchRow(QStringLiteral("08:00:00"), true);
    switchRow(QStringLiteral("08:30:00"), true);
    announcer();
    clock.runUntil(at("08:31:00"));
    ASSERT_TRUE(speech->waitUntilDone(30000));

    // The 200 ms tick catches each time within its second (its phase moves after a wait);
    // the spoken time follows its chime by exactly 1300 ms.
    const auto chimes = trace.events(QStringLiteral("chime"));
    const auto announced = trace.events(QStringLiteral("announce"));
    ASSERT_EQ(chimes.size(), 2u);
    ASSERT_EQ(announced.size(), 2u);
    const QString expected[] = {"现在是北京时间08:00正", "现在是北京时间08:30"};
    const char* seconds[] = {"08:00:00", "08:30:00"};
    const QString format = QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz");
    for (int i = 0; i < 2; ++i) {
        const QDateTime chime = QDateTime::fromString(chimes[i]["t"].toString(), format);
        const QDateTime spokenAt = QDateTime::fromString(announced[i]["t"].toString(), format);
        EXPECT_EQ(chime.toString("hh:mm:ss"), QLatin1String(seconds[i]));
        EXPECT_EQ(chime.msecsTo(spokenAt), 1300);
        EXPECT_EQ(announced[i]["text"].toString(), expected[i]);
        // The engine got the text at the moment of the announcement.
        EXPECT_EQ(spoken->requestTicks().at(size_t(i)), at("07:59:58").msecsTo(spokenAt));
    }
    const auto said = spoken->utterances();
    ASSERT_EQ(said.size(), 2u);
    for (const auto& u : said) EXPECT_GT(u.samples.size(), size_t(platform::kSpeechSampleRate));
    EXPECT_TRUE(trace.events(QStringLiteral("chime.fail")).empty());
}

TEST_F(TimeAnnTest, NothingIsAnnouncedWhenEveryTimeIsOff) {
    announcer();
    clock.runUntil(at("08:00:05"));
    EXPECT_TRUE(trace.events(QStringLiteral("chime")).empty());
    EXPECT_TRUE(trace.events(QStringLiteral("announce")).empty());
    EXPECT_TRUE(spoken->requestTicks().empty());
}

TEST_F(TimeAnnTest, ChoosersVoiceIsSelectedBeforeSpeaking) {
    ASSERT_GE(speech->voices().size(), 2u);
    switchRow(QStringLiteral("08:00:00"), true);
    QDateTime askedAt;
    announcer().voiceIndex = [&] {
        askedAt = clock.now();
        EXPECT_TRUE(spoken->requestTicks().empty());  // selected before the text is queued
        return 1;
    };
    clock.runUntil(at("08:00:02"));
    EXPECT_EQ(askedAt, at("08:00:00").addMSecs(1300));
    EXPECT_EQ(speech->voiceIndex(), 1);
    EXPECT_EQ(events(QStringLiteral("announce")).size(), 1u);
}

// Ways a tick could reach the same second again; each must leave one announcement.
struct RepeatCase {
    const char* name;
    std::function<void(TimeAnnTest&, timeann::TimeAnnouncer&, platform::VirtualClock&)> during;
};

void PrintTo(const RepeatCase& c, std::ostream* os) {
    *os << c.name;
}

class RepeatTest : public TimeAnnTest, public ::testing::WithParamInterface<RepeatCase> {};

TEST_P(RepeatTest, ASecondIsAnnouncedAtMostOnce) {
    switchRow(QStringLiteral("08:00:00"), true);
    timeann::TimeAnnouncer& a = announcer();
    GetParam().during(*this, a, clock);
    clock.runUntil(at("08:00:10"));
    EXPECT_EQ(events(QStringLiteral("chime")).size(), 1u);
    EXPECT_EQ(events(QStringLiteral("announce")),
              (Events{{"08:00:01.300", "现在是北京时间08:00正"}}));
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, RepeatTest,
    ::testing::Values(
        RepeatCase{"TicksOnly", [](auto&, auto&, auto&) {}},
        // Something in the event loop calls the handler while the wait runs.
        RepeatCase{"HandlerCalledDuringTheWait",
                   [](auto&, timeann::TimeAnnouncer& a, platform::VirtualClock& c) {
                       platform::Timer::singleShot(c, 2500, &a, [&a] { a.telltimeTimer(); });
                   }},
        // The wall clock is set back into the announced second after the announcement.
        RepeatCase{"ClockSetBackIntoTheSecond",
                   [](auto&, timeann::TimeAnnouncer& a, platform::VirtualClock& c) {
                       platform::Timer::singleShot(
                           c, 4000, &a, [&c] { c.setWallTime(at("08:00:00").addMSecs(-100)); });
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TimeAnnTest, TwoRowsWithTheSameTimeAreAnnouncedOneAfterTheOther) {
    TellTimeGrid& grid = announcer().grid();
    grid.setRows({{"1", "08:00:00", "", "", "√"},
                  {"2", "08:00:00", "", "", "√"},
                  {"3", "08:00:00", "", "", ""}});
    clock.runUntil(at("08:00:10"));
    EXPECT_EQ(events(QStringLiteral("chime")),
              (Events{{"08:00:00.000", ""}, {"08:00:01.300", ""}}));
    EXPECT_EQ(events(QStringLiteral("announce")),
              (Events{{"08:00:01.300", "现在是北京时间08:00正"},
                      {"08:00:02.600", "现在是北京时间08:00正"}}));
}

TEST_F(TimeAnnTest, AnIdWithoutAGridRowAnnouncesNothing) {
    TellTimeGrid& grid = announcer().grid();
    grid.setRows({{"7", "08:30:00", "", "", "√"}});
    for (int id : {0, 1, 8, 48, -1}) announcer().saytime(id);
    EXPECT_TRUE(trace.events(QStringLiteral("chime")).empty());
    announcer().saytime(7);
    EXPECT_EQ(events(QStringLiteral("announce")).size(), 1u);
    EXPECT_EQ(events(QStringLiteral("announce"))[0].second, QStringLiteral("现在是北京时间08:30"));
}

TEST_F(TimeAnnTest, ChimeFailureIsReportedAndTheTimeIsStillSpoken) {
    services.audio = nullptr;
    switchRow(QStringLiteral("08:00:00"), true);
    announcer();
    clock.runUntil(at("08:00:02"));
    EXPECT_TRUE(events(QStringLiteral("chime")).empty());
    EXPECT_EQ(trace.events(QStringLiteral("chime.fail")).size(), 1u);
    EXPECT_EQ(events(QStringLiteral("announce")).size(), 1u);
}

}  // namespace
