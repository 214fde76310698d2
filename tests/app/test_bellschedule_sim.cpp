// Rehearsals of the bell timetable: a hand-made timetable rings at its times, and the shipped
// timetable's bells are heard in the --wav mix.
#include "sim/options.h"
#include "sim/rehearsal.h"
#include "speaker/core/dm.h"
#include "tests/platform/audio/fixtures.h"

#include "platform/prompter/prompter.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::vector<QJsonObject> rehearse(const QStringList& args) {
    QString error;
    const auto options = sim::parseOptions(args, &error);
    EXPECT_TRUE(options) << error.toStdString();
    std::vector<QJsonObject> events;
    if (options)
        EXPECT_EQ(sim::rehearse(*options, [&](const QJsonObject& e) { events.push_back(e); }), 0);
    return events;
}

QString field(const QJsonObject& e, const char* name) {
    return e.value(QString::fromLatin1(name)).toVariant().toString();
}

bool copyDatabase(const QTemporaryDir& dir) {
    return QFile::copy(QStringLiteral(SPEAKER_PROGRAM_DIR "/draft.dat"),
                       dir.filePath(QStringLiteral("draft.dat")));
}

}  // namespace

TEST(BellRehearsal, HandMadeTimetableRingsAtItsTimes) {
    QTemporaryDir dir;
    ASSERT_TRUE(copyDatabase(dir));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("my bells")));
    ASSERT_TRUE(audiotest::writeTone(dir.filePath(QStringLiteral("my bells/ding.wav")),
                                     {5, 8000, 1, 880.0, 0.5, 0}));
    ASSERT_TRUE(audiotest::writeTone(dir.filePath(QStringLiteral("my bells/loop.wav")),
                                     {20, 8000, 1, 440.0, 0.5, 0}));
    // A name with a blank and quotes.
    {
        platform::ScriptedPrompter prompter;
        auto dm = core::DM::create(dir.path(), prompter);
        ASSERT_TRUE(dm);
        platform::Database& db = dm->conn1();
        ASSERT_TRUE(db.exec(QStringLiteral(
            "INSERT INTO scheduling (id, scheduling) VALUES (20, '测试 ''铃声''')")));
        ASSERT_TRUE(db.exec(QStringLiteral(
            "INSERT INTO sch_det (name, filepath, playtime, endtime, Monday, Tuesday, Wednesday, "
            "Thursday, Friday, Saturday, Sunday, dumpplay, playmodel, scheduling, weather, voice) "
            "VALUES ('叮', 'my bells/ding.wav', '08:00:00', '08:00:20', -1,-1,-1,-1,-1,-1,-1, 0, "
            "'单曲播放', '测试 ''铃声''', '全天侯', 80), "
            "('循环', 'my bells/loop.wav', '08:01:00', '08:02:00', -1,-1,-1,-1,-1,-1,-1, -1, "
            "'单曲播放', '测试 ''铃声''', '全天侯', 90)")));
    }
    // The fourth timetable of the selector is ours.
    QFile ini(dir.filePath(QStringLiteral("setinfo.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[System]\nScheduling=3\n");
    ini.close();

    const auto events = rehearse({QStringLiteral("--folder"), dir.path(), QStringLiteral("--from"),
                                  QStringLiteral("2026-12-14 07:59:00"), QStringLiteral("--to"),
                                  QStringLiteral("2026-12-14 08:03:00")});
    QStringList seen;
    for (const QJsonObject& e : events) {
        const QString ev = field(e, "ev");
        if (!ev.startsWith(QStringLiteral("bell."))) continue;
        seen << QStringLiteral("%1 %2 %3 %4")
                    .arg(ev, field(e, "t").mid(11, 8), field(e, "row"),
                         ev == QLatin1String("bell.start") ? field(e, "volume")
                                                           : field(e, "reason"));
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("bell.start 08:00:01 1 80"),
                                 QStringLiteral("bell.stop 08:00:20 1 window"),
                                 QStringLiteral("bell.start 08:01:01 2 90"),
                                 QStringLiteral("bell.stop 08:02:00 2 window")}));
}

TEST(BellRehearsal, ShippedTimetableBellIsHeard) {
    QTemporaryDir dir;
    ASSERT_TRUE(copyDatabase(dir));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("bells")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(SPEAKER_PROGRAM_DIR "/bells/shangke.wav"),
                            dir.filePath(QStringLiteral("bells/shangke.wav"))));
    const QString wav = dir.filePath(QStringLiteral("day.wav"));
    // The first timetable (夏季作息时间) rings 上课铃 from 08:00:00 to 08:00:30.
    const auto events =
        rehearse({QStringLiteral("--folder"), dir.path(), QStringLiteral("--from"),
                  QStringLiteral("2026-12-14 07:59:50"), QStringLiteral("--to"),
                  QStringLiteral("2026-12-14 08:00:10"), QStringLiteral("--wav"), wav});
    int starts = 0;
    for (const QJsonObject& e : events)
        if (field(e, "ev") == QLatin1String("bell.start")) {
            ++starts;
            EXPECT_EQ(field(e, "name"), QStringLiteral("上课铃"));
        }
    EXPECT_EQ(starts, 1);
    const auto sound = audiotest::readSound(wav);
    ASSERT_GT(sound.rate, 0);
    const long long rate = sound.rate;
    EXPECT_LT(audiotest::rms(sound, 0, 10 * rate), 0.001) << "silence before the bell";
    EXPECT_GT(audiotest::rms(sound, 11 * rate + rate / 5, 13 * rate), 0.01) << "the bell rings";
}
