// Entries that cannot play: the row stays marked, the status bar says why, and the bell that
// is playing goes on. Timetable names with blanks, quotes and many characters work.
#include "bellschedfixture.h"

#include <QDir>
#include <QFile>

using bellschedule::BellGrid;
using namespace bellschedtest;

namespace {

Entry entry(const QString& file, const char* start, const char* end, const char* model) {
    Entry e;
    e.name = file;
    e.file = file;
    e.start = QString::fromLatin1(start);
    e.end = QString::fromLatin1(end);
    e.model = QString::fromUtf8(model);
    return e;
}

}  // namespace

class BadInput : public BellSchedTest {};

TEST_F(BadInput, RowStaysMarkedStatusSaysWhyAndTheBellPlaysOn) {
    const QString playing = wav(QStringLiteral("playing.wav"), 15 * 60, 2000);
    QFile garbage(dir.filePath(QStringLiteral("garbage.wav")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4000, 'x'));
    garbage.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("empty")));
    ASSERT_TRUE(dm->conn1().exec(QStringLiteral("delete from filelist")));  // shipped tracks
    addTimetable(
        QStringLiteral("坏"),
        {entry(playing, "08:00:00", "08:10:00", "单曲播放"),
         entry(dir.filePath(QStringLiteral("missing.wav")), "08:01:00", "08:01:30", "单曲播放"),
         entry(QStringLiteral("garbage.wav"), "08:02:00", "08:02:30", "单曲播放"),
         entry(QStringLiteral("目录empty"), "08:03:00", "08:03:30", "顺序播放"),
         entry(QStringLiteral("播放列表框音乐"), "08:04:00", "08:04:30", "随机播放")});
    start(QStringLiteral("坏"));
    struct Case {
        int row;
        QTime after;
        const char* reason;
        QString status;
    };
    const std::vector<Case> cases{
        {2, QTime(8, 1, 10), "missing",
         QStringLiteral("文件：") + dir.filePath(QStringLiteral("missing.wav")) +
             QStringLiteral(" 不存在")},
        {3, QTime(8, 2, 10), "unplayable",
         QStringLiteral("不能播放:") + dir.filePath(QStringLiteral("garbage.wav"))},
        {4, QTime(8, 3, 10), "empty-folder",
         QStringLiteral("目录：") + dir.filePath(QStringLiteral("empty")) +
             QStringLiteral(" 没有可播放的文件")},
        {5, QTime(8, 4, 10), "empty-list", QStringLiteral("播放列表框没有歌曲")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        advanceTo(c.after);
        EXPECT_EQ(bells->grid().cell(c.row, BellGrid::ColMark), BellGrid::kTick);
        EXPECT_EQ(statusPanels[3], c.status);
        const auto fails = trace.events(QStringLiteral("bell.fail"));
        ASSERT_FALSE(fails.empty());
        EXPECT_EQ(fails.back().value(QStringLiteral("row")).toInt(), c.row);
        EXPECT_EQ(fails.back().value(QStringLiteral("reason")).toString(), QLatin1String(c.reason));
        EXPECT_TRUE(channel->hasStream());
        EXPECT_EQ(channel->currentFile(), playing);
    }
    advanceTo(QTime(8, 11, 0));
    const auto stops = trace.events(QStringLiteral("bell.stop"));
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0].value(QStringLiteral("row")).toInt(), 1);
    EXPECT_EQ(stops[0].value(QStringLiteral("reason")).toString(), QLatin1String("window"));
    EXPECT_TRUE(stops[0].value(QStringLiteral("t")).toString().contains(QLatin1String("08:10:00")));
}

TEST_F(BadInput, TimetableNamesAsTheyAre) {
    const QString bell = wav(QStringLiteral("bell.wav"), 3);
    const QString long50 = QString(50, QChar(0x94c3));  // 铃 × 50
    for (const QString& name : {QStringLiteral("早 上 'A' \"B\""), long50}) {
        SCOPED_TRACE(name.toStdString());
        clock.setWallTime(QDateTime(QDate(2026, 12, 14), QTime(7, 59, 0)));
        trace.clear();
        addTimetable(name, {entry(bell, "08:00:00", "08:00:30", "单曲播放")});
        start(name);
        EXPECT_EQ(Comb1.currentText(), name);
        ASSERT_EQ(bells->grid().entryRows(), 1);
        advanceTo(QTime(8, 0, 2));
        const auto starts = trace.events(QStringLiteral("bell.start"));
        ASSERT_EQ(starts.size(), 1u);
        EXPECT_EQ(starts[0].value(QStringLiteral("file")).toString(), bell);
    }
}
