// The today list's cells: grid coordinates with the header as row 0, and the shift of every
// plan's times that the temporary-change dialog uses.
#include "speaker/broadcast/todaylist.h"

#include <gtest/gtest.h>

namespace {

using broadcast::TodayList;

TodayList::Row row(const QString& start, const QString& end, int id) {
    TodayList::Row r;
    r[TodayList::ColStart] = start;
    r[TodayList::ColEnd] = end;
    r[TodayList::ColId] = QString::number(id);
    return r;
}

TEST(TodayList, GridRowsAreModelRowsAfterTheHeader) {
    TodayList list;
    list.setRows({row(QStringLiteral("08:00:00"), QStringLiteral("08:10:00"), 4),
                  row(QStringLiteral("09:00:00"), QStringLiteral("09:10:00"), 9)});
    EXPECT_EQ(list.planRows(), 2);
    EXPECT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.columnCount(), 26);
    EXPECT_EQ(list.cell(0, TodayList::ColStart), QStringLiteral("开始时间"));
    EXPECT_EQ(list.headerData(23, Qt::Horizontal).toString(), QStringLiteral("语音库"));
    EXPECT_EQ(list.cell(2, TodayList::ColId), QStringLiteral("9"));
    EXPECT_EQ(list.data(list.index(1, TodayList::ColId)).toString(), QStringLiteral("9"));
    EXPECT_EQ(list.rowOfId(9), 2);
    EXPECT_EQ(list.rowOfId(5), 0);
    // Outside the rows and columns: empty, and writes go nowhere.
    list.setCell(3, 0, QStringLiteral("√"));
    list.setCell(0, 0, QStringLiteral("√"));
    EXPECT_TRUE(list.cell(3, 0).isEmpty());
    EXPECT_TRUE(list.cell(1, 26).isEmpty());
    EXPECT_TRUE(list.cell(0, 0).isEmpty());
    list.setCell(1, TodayList::ColMark, QStringLiteral("→"));
    EXPECT_EQ(list.cell(1, TodayList::ColMark), QStringLiteral("→"));
    EXPECT_FALSE(list.ticked(1, TodayList::ColMark));
}

TEST(TodayList, ShiftMovesStartAndEndWrappingWithinTheDay) {
    struct Case {
        const char* start;
        const char* end;
        int minutes;
        const char* newStart;
        const char* newEnd;
    };
    const Case cases[] = {
        {"08:00:00", "08:10:30", 15, "08:15:00", "08:25:30"},
        {"08:00:00", "08:10:30", -15, "07:45:00", "07:55:30"},
        {"23:50:00", "23:59:59", 20, "00:10:00", "00:19:59"},
        {"00:05:00", "00:10:00", -10, "23:55:00", "00:00:00"},
        {"12:00:00", "12:30:00", 1440 * 2 + 1, "12:01:00", "12:31:00"},
        {"12:00:00", "12:30:00", -1440 - 1, "11:59:00", "12:29:00"},
        {"8:00", "", 30, "8:00", ""},  // no time of day: left alone
    };
    for (const Case& c : cases) {
        TodayList list;
        list.setRows({row(QString::fromLatin1(c.start), QString::fromLatin1(c.end), 1)});
        list.shiftTimes(c.minutes);
        EXPECT_EQ(list.cell(1, TodayList::ColStart), QString::fromLatin1(c.newStart))
            << c.start << " " << c.minutes;
        EXPECT_EQ(list.cell(1, TodayList::ColEnd), QString::fromLatin1(c.newEnd))
            << c.end << " " << c.minutes;
    }
}

}  // namespace
