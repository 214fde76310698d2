#include "sim/options.h"
#include "sim/rehearsal.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
std::vector<QJsonObject> run(const QStringList& args, int* status = nullptr) {
    QString error;
    const auto options = sim::parseOptions(args, &error);
    EXPECT_TRUE(options) << error.toStdString();
    std::vector<QJsonObject> events;
    if (!options) return events;
    const int s = sim::rehearse(*options, [&](const QJsonObject& e) { events.push_back(e); });
    if (status) *status = s;
    return events;
}

QStringList names(const std::vector<QJsonObject>& events) {
    QStringList out;
    for (const auto& e : events) out << e.value(QStringLiteral("ev")).toString();
    return out;
}
}  // namespace

TEST(RehearsalOptions, TimedActionsAndErrors) {
    QString error;
    const auto o = sim::parseOptions(
        {QStringLiteral("--folder"), QStringLiteral("/x"), QStringLiteral("--from"),
         QStringLiteral("2026-12-14 07:00:00"), QStringLiteral("--to"),
         QStringLiteral("2026-12-15 07:00:00"), QStringLiteral("--do"),
         QStringLiteral("08:00:00 SB_close"), QStringLiteral("--set"),
         QStringLiteral("2026-12-15 06:00:00 Memo1=a=b c"), QStringLiteral("--answer"),
         QStringLiteral("no")},
        &error);
    ASSERT_TRUE(o) << error.toStdString();
    EXPECT_FALSE(o->answerYes);
    ASSERT_EQ(o->actions.size(), 2u);
    EXPECT_EQ(o->actions[0].at, QDateTime(QDate(2026, 12, 14), QTime(8, 0)));
    EXPECT_EQ(o->actions[0].name, QStringLiteral("SB_close"));
    EXPECT_EQ(o->actions[1].at, QDateTime(QDate(2026, 12, 15), QTime(6, 0)));
    EXPECT_EQ(o->actions[1].name, QStringLiteral("Memo1"));
    EXPECT_EQ(o->actions[1].value, QStringLiteral("a=b c"));  // split at the first "="

    for (const QStringList& bad :
         {QStringList{QStringLiteral("--from"), QStringLiteral("2026-12-14 07:00:00")},
          QStringList{QStringLiteral("--folder"), QStringLiteral("/x"), QStringLiteral("--from"),
                      QStringLiteral("2026-12-14 7:00"), QStringLiteral("--to"),
                      QStringLiteral("2026-12-15 07:00:00")},
          QStringList{QStringLiteral("--folder"), QStringLiteral("/x"), QStringLiteral("--from"),
                      QStringLiteral("2026-12-14 07:00:00"), QStringLiteral("--to"),
                      QStringLiteral("2026-12-15 07:00:00"), QStringLiteral("--set"),
                      QStringLiteral("08:00:00 Memo1")},
          QStringList{QStringLiteral("--bogus")}}) {
        EXPECT_FALSE(sim::parseOptions(bad, &error)) << bad.join(' ').toStdString();
    }
}

TEST(Rehearsal, ADayWithADateChangeAndAnExitThroughThePassword) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(QStringLiteral(SPEAKER_PROGRAM_DIR "/draft.dat"),
                            dir.filePath(QStringLiteral("draft.dat"))));
    const auto events = run({QStringLiteral("--folder"), dir.path(), QStringLiteral("--from"),
                             QStringLiteral("2026-12-14 12:00:00"), QStringLiteral("--to"),
                             QStringLiteral("2026-12-15 12:00:00"), QStringLiteral("--password"),
                             QStringLiteral("wrong"), QStringLiteral("--do"),
                             QStringLiteral("13:00:00 SB_close"), QStringLiteral("--do"),
                             QStringLiteral("2026-12-15 11:00:00 f_speaker.C1"),
                             QStringLiteral("--set"),
                             QStringLiteral("2026-12-15 10:00:00 f_password.Edit1=x")});
    const QStringList ev = names(events);
    ASSERT_FALSE(ev.isEmpty());
    EXPECT_EQ(ev.first(), QStringLiteral("start"));
    EXPECT_EQ(events.front().value(QStringLiteral("t")).toString(),
              QStringLiteral("2026-12-14 12:00:00.000"));
    EXPECT_EQ(ev.count(QStringLiteral("datechange")), 1);
    EXPECT_EQ(ev.count(QStringLiteral("exit")), 0);  // the password was wrong both times
    EXPECT_EQ(ev.count(QStringLiteral("beep")), 2);
    EXPECT_EQ(ev.count(QStringLiteral("do")), 2);
    EXPECT_EQ(ev.count(QStringLiteral("set")), 1);
    for (const auto& e : events) {
        if (e.value(QStringLiteral("ev")).toString() == QLatin1String("datechange")) {
            EXPECT_LE(e.value(QStringLiteral("t")).toString(),
                      QStringLiteral("2026-12-15 00:01:00.000"));
        }
    }
}

TEST(Rehearsal, RightPasswordEndsTheRun) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(QStringLiteral(SPEAKER_PROGRAM_DIR "/draft.dat"),
                            dir.filePath(QStringLiteral("draft.dat"))));
    const auto events = run({QStringLiteral("--folder"), dir.path(), QStringLiteral("--from"),
                             QStringLiteral("2026-12-14 12:00:00"), QStringLiteral("--to"),
                             QStringLiteral("2026-12-14 18:00:00"), QStringLiteral("--do"),
                             QStringLiteral("13:00:00 SB_close")});
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().value(QStringLiteral("ev")).toString(), QStringLiteral("exit"));
    EXPECT_EQ(events.back().value(QStringLiteral("t")).toString(),
              QStringLiteral("2026-12-14 13:00:00.000"));
}

TEST(Rehearsal, MissingDatabaseFailsWithTheConnectionMessage) {
    QTemporaryDir dir;
    int status = 0;
    const auto events = run({QStringLiteral("--folder"), dir.path(), QStringLiteral("--from"),
                             QStringLiteral("2026-12-14 12:00:00"), QStringLiteral("--to"),
                             QStringLiteral("2026-12-14 13:00:00")},
                            &status);
    EXPECT_EQ(status, 1);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].value(QStringLiteral("text")).toString(), QStringLiteral("数据连接失败!"));
}
