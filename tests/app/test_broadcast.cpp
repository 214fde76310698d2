// The today list and its scheduler in the whole program: plans of our own in a copy of the
// staged database, the virtual clock, real synthesis on the null audio device.
#include "common/paths.h"
#include "platform/audio/audioengine.h"
#include "platform/clock/virtualclock.h"
#include "platform/prompter/prompter.h"
#include "platform/speech/speechengine.h"
#include "platform/store/database.h"
#include "platform/trace/trace.h"
#include "sim/options.h"
#include "sim/rehearsal.h"
#include "speaker/app/mainwindow.h"
#include "speaker/app/runtime.h"
#include "speaker/app/windows.h"
#include "speaker/broadcast/textscheduler.h"
#include "speaker/core/dm.h"
#include "speaker/services/password.h"
#include "speaker/speech/manualreading.h"
#include "speaker/speech/voicepanel.h"

#include <QComboBox>
#include <QFile>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace {

using broadcast::TodayList;

// 2026-12-14 is a Monday.
const QDate kMonday(2026, 12, 14);

struct Plan {
    int id;
    QString start;
    QString end;
    int times = 1;
    int pause = 0;
    int textId = 1;
    bool timed = true;                         // "定时"
    QString days = QStringLiteral("1111111");  // Monday … Sunday
    bool music = false;
    bool musicEnded = false;
    QString speaker = QStringLiteral("女声 国语 - VW Hui");  // not installed here
};

QString flag(bool on) {
    return on ? QStringLiteral("-1") : QStringLiteral("0");
}

qint64 msOf(const QJsonObject& ev) {
    return QDateTime::fromString(ev.value(QStringLiteral("t")).toString(),
                                 QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"))
        .toMSecsSinceEpoch();
}

QDateTime at(const QString& hhmmss, const QDate& day = kMonday) {
    return QDateTime(day, QTime::fromString(hhmmss, QStringLiteral("hh:mm:ss")));
}

// About 30 s of speech (checked by the tests that depend on it).
QString longText() {
    QString text;
    for (int i = 0; i < 6; ++i)
        text += QStringLiteral("各位顾客，欢迎光临本店，今天的营业时间到晚上九点。");
    return text;
}

class BroadcastTest : public ::testing::Test {
protected:
    explicit BroadcastTest(const QDateTime& from = at(QStringLiteral("09:59:30"))) : clock(from) {}

    void SetUp() override {
        ASSERT_TRUE(QFile::copy(QStringLiteral(SPEAKER_PROGRAM_DIR "/draft.dat"),
                                dir.filePath(QStringLiteral("draft.dat"))));
        sql(QStringLiteral("delete from draft; delete from holiday; delete from textfile;"));
        addText(1, longText());
        addText(2, QStringLiteral("短的通知。"));
    }

    void sql(const QString& text) {
        const QString path = dir.filePath(QStringLiteral("draft.dat"));
        platform::Database db;
        ASSERT_TRUE(db.open(path, core::DM::databasePassword(core::DM::connectionString(path))));
        ASSERT_TRUE(db.exec(text)) << db.errorText().toStdString();
    }
    void addText(int id, const QString& content) {
        sql(QStringLiteral("insert into textfile (ID, title, content) values (%1, '稿%1', %2)")
                .arg(id)
                .arg(content.isNull() ? QStringLiteral("NULL")
                                      : QLatin1Char('\'') + content + QLatin1Char('\'')));
    }
    void addPlan(const Plan& p) {
        QStringList days;
        for (QChar c : p.days) days << flag(c == QLatin1Char('1'));
        sql(QStringLiteral(
                "insert into draft (id, playtime, endtime, Monday, Tuesday, Wednesday, Thursday, "
                "Friday, Saturday, Sunday, txtplay, isstop, dumpplay, stoptime, txttimes, "
                "ttsvolume, musicvolume, rate, speaker, playmusic, musicended, textfileid) "
                "values (%1, '%2', '%3', %4, -1, %5, 0, %6, %7, 95, 8, 0, '%8', %9, %10, %11)")
                .arg(p.id)
                .arg(p.start, p.end, days.join(QLatin1Char(',')), flag(p.timed))
                .arg(p.pause)
                .arg(p.times)
                .arg(p.speaker, flag(p.music), flag(p.musicEnded))
                .arg(p.textId));
    }
    void addHoliday(const QDate& day, bool txt, bool mp3) {
        sql(QStringLiteral("insert into holiday (\"date\", txt, mp3, remark) values "
                           "('%1 08:49:33', %2, %3, '假日')")
                .arg(day.toString(QStringLiteral("yyyy-MM-dd")), flag(txt), flag(mp3)));
    }

    void start() {
        runtime = std::make_unique<app::Runtime>(clock, prompter, dir.path(),
                                                 platform::makeNullAudioEngine(clock));
        runtime->trace().setKeep(true);
        runtime->services().quit = [] {};
        prompter.setDialogScript(QStringLiteral("f_password"), [](QDialog& dialog) {
            return services::typePassword(static_cast<services::Tf_password&>(dialog), QString());
        });
        windows = app::createWindows(runtime->services());
        ASSERT_TRUE(windows);
        windows->f_speaker->show();
        ASSERT_TRUE(runtime->services().speech->available());
    }
    void TearDown() override {
        windows.reset();
        runtime.reset();
    }

    void runUntil(const QDateTime& t) { clock.runUntil(t); }
    app::Tf_speaker& window() { return *windows->f_speaker; }
    broadcast::TextScheduler& scheduler() { return *window().textScheduler(); }
    TodayList& list() { return scheduler().list(); }
    std::vector<QJsonObject> events(const char* ev) const {
        return runtime->trace().events(QString::fromLatin1(ev));
    }
    std::vector<int> ids(const char* ev) const {
        std::vector<int> out;
        for (const auto& e : events(ev)) out.push_back(e.value(QStringLiteral("id")).toInt());
        return out;
    }
    // Runs on until the reading ends.
    void runIdle() {
        for (int i = 0; i < 100000 && window().reading()->state().readbusy; ++i) clock.advance(100);
    }

    QTemporaryDir dir;
    platform::VirtualClock clock;
    platform::ScriptedPrompter prompter;
    std::unique_ptr<app::Runtime> runtime;
    std::unique_ptr<app::Windows> windows;
};

TEST_F(BroadcastTest, ThreeReadingsEachStartTheirPauseAfterTheEndOfTheOneBefore) {
    addPlan({.id = 5, .start = "10:00:00", .end = "10:05:00", .times = 3, .pause = 20});
    start();
    runUntil(at("10:00:30"));
    EXPECT_EQ(list().cell(1, TodayList::ColMark), QStringLiteral("→"));
    runUntil(at("10:05:00"));

    const auto starts = events("plan.start");
    const auto ends = events("reading.end");
    ASSERT_EQ(starts.size(), 3u);
    ASSERT_EQ(ends.size(), 3u);
    // The first step after the start time, i.e. during the second after it.
    EXPECT_GE(msOf(starts[0]), at("10:00:01").toMSecsSinceEpoch());
    EXPECT_LT(msOf(starts[0]), at("10:00:01").toMSecsSinceEpoch() + 100);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(starts[size_t(i)].value(QStringLiteral("id")).toInt(), 5);
        EXPECT_EQ(starts[size_t(i)].value(QStringLiteral("reading")).toInt(), i + 1);
        EXPECT_TRUE(ends[size_t(i)].value(QStringLiteral("completed")).toBool());
    }
    // The text is long enough for the pause to count from the end, not from the start.
    EXPECT_GT(msOf(ends[0]) - msOf(starts[0]), 20000);
    for (int i = 1; i < 3; ++i) {
        const qint64 gap = msOf(starts[size_t(i)]) - msOf(ends[size_t(i - 1)]);
        EXPECT_GT(gap, 20000);
        EXPECT_LE(gap, 20100);
    }
    const auto done = events("plan.complete");
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].value(QStringLiteral("reason")).toString(), QStringLiteral("readings"));
    EXPECT_LE(msOf(done[0]) - msOf(ends[2]), 100);
    EXPECT_EQ(list().cell(1, TodayList::ColMark), QStringLiteral("√"));
    EXPECT_EQ(list().cell(1, TodayList::ColStatus), QStringLiteral("completed"));
    EXPECT_EQ(list().cell(1, TodayList::ColAllRead), QStringLiteral("√"));
}

TEST_F(BroadcastTest, OneReadingIsTickedWhenItStarts) {
    addPlan({.id = 7, .start = "10:00:00", .end = "10:05:00", .times = 1, .textId = 2});
    start();
    runUntil(at("10:00:01").addMSecs(150));
    ASSERT_EQ(ids("plan.start"), std::vector<int>{7});
    EXPECT_EQ(list().cell(1, TodayList::ColMark), QStringLiteral("√"));
    EXPECT_TRUE(list().cell(1, TodayList::ColStatus).isEmpty());
    runUntil(at("10:01:00"));
    EXPECT_EQ(ids("plan.complete"), std::vector<int>{7});
    EXPECT_EQ(list().cell(1, TodayList::ColStatus), QStringLiteral("completed"));
}

TEST_F(BroadcastTest, AWindowThatClosesDuringAReadingStopsIt) {
    addPlan({.id = 3, .start = "10:00:00", .end = "10:00:10", .times = 2, .pause = 5});
    start();
    runUntil(at("10:01:00"));
    const auto done = events("plan.complete");
    ASSERT_EQ(done.size(), 1u);
    EXPECT_EQ(done[0].value(QStringLiteral("reason")).toString(), QStringLiteral("window"));
    // At the first step after the end time.
    EXPECT_GE(msOf(done[0]), at("10:00:11").toMSecsSinceEpoch());
    EXPECT_LT(msOf(done[0]), at("10:00:11").toMSecsSinceEpoch() + 100);
    const auto ends = events("reading.end");
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_FALSE(ends[0].value(QStringLiteral("completed")).toBool());
    // The segment being spoken ends it; nothing after it is read.
    EXPECT_LT(msOf(ends[0]) - msOf(done[0]), 10000);
    EXPECT_EQ(list().cell(1, TodayList::ColMark), QStringLiteral("√"));
    EXPECT_EQ(list().cell(1, TodayList::ColStatus), QStringLiteral("completed"));
    EXPECT_FALSE(scheduler().planplaying);
}

TEST_F(BroadcastTest, APlanWhoseWindowPassesWhileAnEarlierOneReadsIsDoneUnread) {
    addPlan({.id = 1, .start = "10:00:00", .end = "10:10:00", .times = 20, .pause = 1});
    addPlan({.id = 2, .start = "10:05:00", .end = "10:08:00", .textId = 2});
    start();
    runUntil(at("10:12:00"));
    for (int id : ids("plan.start")) EXPECT_EQ(id, 1);
    EXPECT_EQ(ids("plan.complete"), std::vector<int>{1});
    EXPECT_EQ(list().cell(2, TodayList::ColMark), QStringLiteral("√"));
    EXPECT_EQ(list().cell(2, TodayList::ColStatus), QStringLiteral("completed"));
}

TEST_F(BroadcastTest, PlansNotTimedOrNotForTodayAreSkippedWithoutAMark) {
    addPlan({.id = 1, .start = "10:00:00", .end = "10:01:00", .textId = 2, .timed = false});
    addPlan({.id = 2,
             .start = "10:00:00",
             .end = "10:01:00",
             .textId = 2,
             .days = QStringLiteral("0111111")});
    addPlan({.id = 3,
             .start = "10:00:00",
             .end = "10:01:00",
             .textId = 2,
             .days = QStringLiteral("0111111")});
    addPlan({.id = 4, .start = "10:02:00", .end = "10:03:00", .textId = 2});
    start();
    runUntil(at("10:02:30"));
    EXPECT_EQ(ids("plan.start"), std::vector<int>{4});
    for (int row = 1; row <= 3; ++row) {
        EXPECT_TRUE(list().cell(row, TodayList::ColMark).isEmpty()) << row;
        EXPECT_TRUE(list().cell(row, TodayList::ColAllRead).isEmpty()) << row;
    }
}

TEST_F(BroadcastTest, ABlankOrMissingTextReadsNothingAndLeavesTheReadingFree) {
    addText(3, QStringLiteral("   "));
    addPlan({.id = 1, .start = "10:00:00", .end = "10:01:00", .times = 3, .textId = 3});
    addPlan({.id = 2, .start = "10:02:00", .end = "10:03:00", .times = 2, .textId = 99});
    start();
    // The rebuild names the plan whose text is empty.
    int warned = 0;
    for (const auto& box : prompter.shown())
        warned += box.text ==
                  QStringLiteral("您的播音计划引用了一条空的文稿，到时不能播音，请返回修改！");
    EXPECT_EQ(warned, 1);
    int replaced = 0;
    QObject::connect(window().Memo1, &QTextEdit::textChanged, [&replaced] { ++replaced; });
    runUntil(at("10:00:30"));
    EXPECT_FALSE(window().reading()->state().readbusy);
    EXPECT_LE(replaced, 2);  // cleared and set once, not at every step
    runUntil(at("10:04:00"));
    EXPECT_TRUE(events("plan.start").empty());
    EXPECT_TRUE(events("speech.segment").empty());
    for (int row = 1; row <= 2; ++row) {
        EXPECT_EQ(list().cell(row, TodayList::ColMark), QStringLiteral("√")) << row;
        EXPECT_EQ(list().cell(row, TodayList::ColStatus), QStringLiteral("completed")) << row;
    }
}

TEST_F(BroadcastTest, ATextDeletedAfterTheListWasBuiltReadsNothing) {
    addPlan({.id = 1, .start = "10:00:00", .end = "10:01:00", .textId = 2});
    start();
    EXPECT_EQ(list().cell(1, TodayList::ColContent), QStringLiteral("短的通知。"));
    sql(QStringLiteral("delete from textfile where ID=2"));
    runUntil(at("10:02:00"));
    EXPECT_TRUE(events("speech.segment").empty());
    EXPECT_FALSE(window().reading()->state().readbusy);
    EXPECT_EQ(list().cell(1, TodayList::ColStatus), QStringLiteral("completed"));
}

TEST_F(BroadcastTest, AVoiceNoLongerInstalledFallsBackToTheWindowsVoice) {
    addPlan({.id = 1, .start = "10:00:00", .end = "10:01:00", .textId = 2});
    start();
    const auto& voices = runtime->services().speech->voices();
    ASSERT_GE(voices.size(), 2u);
    window().voicePanel()->selectvoice(1);
    window().flatComboBox1->setCurrentIndex(1);
    runtime->services().speech->selectVoice(0);
    runUntil(at("10:00:30"));
    const auto segs = events("speech.segment");
    ASSERT_FALSE(segs.empty());
    EXPECT_EQ(segs[0].value(QStringLiteral("voice")).toString(), voices[1].description);
}

TEST_F(BroadcastTest, APlanThatStartsDuringAManualReadingReplacesIt) {
    addPlan({.id = 1, .start = "10:00:00", .end = "10:05:00", .times = 2, .pause = 5, .textId = 2});
    start();
    window().Memo1->setPlainText(longText());
    window().reading()->sb_jexuClick();
    runUntil(at("10:02:00"));
    // The manual reading ends after the segment it was speaking; the plan's text is read by
    // the plan's own readings, twice, each counted once.
    int planSegments = 0;
    qint64 planStart = msOf(events("plan.start").at(0));
    for (const auto& e : events("speech.segment")) {
        if (e.value(QStringLiteral("text")).toString() == QStringLiteral("短的通知。"))
            ++planSegments;
        else
            EXPECT_LT(msOf(e), planStart);
    }
    EXPECT_EQ(planSegments, 2);
    EXPECT_EQ(ids("plan.start"), (std::vector<int>{1, 1}));
    EXPECT_EQ(ids("plan.complete"), std::vector<int>{1});
}

TEST_F(BroadcastTest, AHolidayForTodaySilencesThePlansFromStartUp) {
    addPlan({.id = 1, .start = "09:00:00", .end = "09:10:00", .textId = 2});
    addPlan({.id = 2, .start = "10:00:00", .end = "10:01:00", .textId = 2});
    addHoliday(kMonday, true, false);
    start();
    EXPECT_TRUE(window().notextday);
    EXPECT_FALSE(window().nomusicday);
    runUntil(at("10:02:00"));
    EXPECT_TRUE(events("plan.start").empty());
    // The tick of passed plans leaves them alone too.
    EXPECT_TRUE(list().cell(1, TodayList::ColMark).isEmpty());
}

// Plans with "播放音乐": the music starts with the first reading at the plan's music volume;
// with "文稿完后停止音乐" it stops as the plan completes, otherwise it plays on.
class MusicTest : public BroadcastTest, public ::testing::WithParamInterface<bool> {};

TEST_P(MusicTest, MusicStartsWithTheFirstReadingAndStopsAfterThePlanOnlyWhenAsked) {
    const bool stopAfter = GetParam();
    ASSERT_TRUE(QFile::copy(QStringLiteral(SPEAKER_PROGRAM_DIR "/mp3files/breeze.mp3"),
                            dir.filePath(QStringLiteral("breeze.mp3"))));
    addPlan({.id = 1,
             .start = "10:00:00",
             .end = "10:05:00",
             .times = 2,
             .pause = 5,
             .textId = 2,
             .music = true,
             .musicEnded = stopAfter});
    start();
    runUntil(at("10:06:00"));
    const auto starts = events("plan.start");
    const auto done = events("plan.complete");
    const auto plays = events("bgm.play");
    ASSERT_EQ(starts.size(), 2u);
    ASSERT_EQ(done.size(), 1u);
    ASSERT_FALSE(plays.empty());
    EXPECT_EQ(msOf(plays[0]), msOf(starts[0]));
    EXPECT_EQ(window().bj_v1->value(), 8);  // the plan's music volume
    const auto stops = events("bgm.stop");
    if (!stopAfter) {
        EXPECT_TRUE(stops.empty());
        return;
    }
    ASSERT_FALSE(stops.empty());
    EXPECT_GE(msOf(stops[0]), msOf(done[0]));
    EXPECT_LE(msOf(stops[0]) - msOf(done[0]), 100);
}

INSTANTIATE_TEST_SUITE_P(StopAfterTheText, MusicTest, ::testing::Bool());

class MidnightTest : public BroadcastTest {
protected:
    MidnightTest() : BroadcastTest(at("23:58:00")) {}
};

TEST_F(MidnightTest, AHolidayForTomorrowTakesEffectAtMidnightAndEndsTheNextOne) {
    const QDate tuesday = kMonday.addDays(1);
    addPlan({.id = 1, .start = "00:05:00", .end = "00:06:00", .textId = 2});
    addHoliday(tuesday, true, false);
    start();
    EXPECT_FALSE(window().notextday);
    runUntil(at("00:10:00", tuesday));
    EXPECT_TRUE(window().notextday);
    EXPECT_TRUE(events("plan.start").empty());
    // On to the next midnight by setting the clock, as a user might.
    clock.setWallTime(at("23:58:00", tuesday));
    runUntil(at("00:10:00", tuesday.addDays(1)));
    EXPECT_FALSE(window().notextday);
    EXPECT_EQ(ids("plan.start"), std::vector<int>{1});
}

}  // namespace

// The rehearsal program over a database of our own: the plans' events at their times, and
// none on a date without text broadcasts.
class BroadcastRehearsal : public BroadcastTest {
protected:
    std::vector<QJsonObject> rehearse(const QString& from, const QString& to) {
        QString error;
        const auto options =
            sim::parseOptions({QStringLiteral("--folder"), dir.path(), QStringLiteral("--from"),
                               from, QStringLiteral("--to"), to},
                              &error);
        EXPECT_TRUE(options) << error.toStdString();
        std::vector<QJsonObject> events;
        if (!options) return events;
        sim::rehearse(*options, [&](const QJsonObject& e) {
            const QString ev = e.value(QStringLiteral("ev")).toString();
            if (ev.startsWith(QLatin1String("plan."))) events.push_back(e);
        });
        return events;
    }
};

TEST_F(BroadcastRehearsal, PlansStartAndCompleteAtTheirTimesAndNotOnAHoliday) {
    addPlan({.id = 1, .start = "08:00:00", .end = "08:05:00", .textId = 2});
    addPlan(
        {.id = 2, .start = "09:00:00", .end = "09:10:00", .times = 2, .pause = 10, .textId = 2});
    addPlan({.id = 3, .start = "09:30:00", .end = "09:30:05", .textId = 1});
    const auto events =
        rehearse(QStringLiteral("2026-12-14 07:00:00"), QStringLiteral("2026-12-14 10:00:00"));
    QStringList seen;
    for (const auto& e : events)
        seen << QStringLiteral("%1 %2 %3 %4")
                    .arg(e.value(QStringLiteral("t")).toString().mid(11, 8),
                         e.value(QStringLiteral("ev")).toString())
                    .arg(e.value(QStringLiteral("id")).toInt())
                    .arg(e.contains(QStringLiteral("reason"))
                             ? e.value(QStringLiteral("reason")).toString()
                             : QString::number(e.value(QStringLiteral("reading")).toInt()));
    ASSERT_EQ(seen.size(), 7) << seen.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(seen[0], QStringLiteral("08:00:01 plan.start 1 1"));
    EXPECT_TRUE(seen[1].startsWith(QStringLiteral("08:00:0")));
    EXPECT_TRUE(seen[1].endsWith(QStringLiteral("plan.complete 1 readings")));
    EXPECT_EQ(seen[2], QStringLiteral("09:00:01 plan.start 2 1"));
    EXPECT_TRUE(seen[3].startsWith(QStringLiteral("09:00:1")));  // a 1-2 s text, 10 s pause
    EXPECT_TRUE(seen[3].endsWith(QStringLiteral("plan.start 2 2")));
    EXPECT_TRUE(seen[4].endsWith(QStringLiteral("plan.complete 2 readings")));
    EXPECT_EQ(seen[5], QStringLiteral("09:30:01 plan.start 3 1"));
    EXPECT_EQ(seen[6], QStringLiteral("09:30:06 plan.complete 3 window"));

    addHoliday(kMonday, true, false);
    EXPECT_TRUE(
        rehearse(QStringLiteral("2026-12-14 07:00:00"), QStringLiteral("2026-12-14 10:00:00"))
            .empty());
}
