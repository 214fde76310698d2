// Dates without broadcasts: the day a stored date falls on, the flags of today's row, the
// add dialog and Grid3's model over the data module's Q_holiday.
#include "common/paths.h"
#include "platform/clock/virtualclock.h"
#include "platform/prompter/prompter.h"
#include "speaker/broadcast/faddholiday.h"
#include "speaker/broadcast/holidays.h"
#include "speaker/core/dm.h"
#include "speaker/core/services.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using broadcast::HolidayFlags;
using broadcast::HolidayGridModel;

TEST(HolidayDate, TheCalendarDayOfAStoredValue) {
    const QDate day(2026, 12, 14);
    const std::pair<QVariant, QDate> cases[] = {
        {QStringLiteral("2026-12-14 08:49:33"), day},
        {QStringLiteral("2026-12-14"), day},
        {QStringLiteral("2026-12-14T23:59:59"), day},
        {QDateTime(day, QTime(12, 0)), day},
        {day, day},
        {QStringLiteral("2026-12-1"), QDate()},
        {QStringLiteral("2026-12-14x"), QDate()},
        {QStringLiteral("假日"), QDate()},
        {QString(), QDate()},
        {QVariant(), QDate()},
    };
    for (const auto& [stored, expected] : cases)
        EXPECT_EQ(broadcast::holidayDate(stored), expected) << stored.toString().toStdString();
}

class HolidayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::copy(QStringLiteral(SPEAKER_PROGRAM_DIR "/draft.dat"),
                                dir.filePath(QStringLiteral("draft.dat"))));
        services.programDir = common::addbackslash(dir.path());
        services.clock = &clock;
        services.prompter = &prompter;
        dm = core::DM::create(services.programDir, prompter);
        ASSERT_TRUE(dm);
    }
    core::Dataset& table() { return dm->Q_holiday(); }
    void add(const QVariant& date, bool txt, bool mp3) {
        ASSERT_TRUE(table().append());
        table().setField(QStringLiteral("date"), date);
        table().setField(QStringLiteral("txt"), txt);
        table().setField(QStringLiteral("mp3"), mp3);
        ASSERT_TRUE(table().post());
    }

    QTemporaryDir dir;
    platform::VirtualClock clock{QDateTime(QDate(2026, 12, 14), QTime(9, 0))};
    platform::ScriptedPrompter prompter;
    core::Services services;
    std::unique_ptr<core::DM> dm;
};

TEST_F(HolidayTest, TheFirstRowOfTodayInDateOrderDecides) {
    const QDate today(2026, 12, 14);
    // The staged rows (2013) never apply.
    EXPECT_EQ(broadcast::evaluateHolidays(table(), today), HolidayFlags{});
    add(QStringLiteral("2026-12-15 08:00:00"), true, true);
    EXPECT_EQ(broadcast::evaluateHolidays(table(), today), HolidayFlags{});
    add(QStringLiteral("2026-12-14 10:00:00"), true, true);
    add(QStringLiteral("2026-12-14 07:00:00"), true, false);  // earlier: this one decides
    add(QVariant(), true, true);                              // no date: never applies
    EXPECT_EQ(broadcast::evaluateHolidays(table(), today), (HolidayFlags{true, false}));
    EXPECT_EQ(broadcast::evaluateHolidays(table(), today.addDays(1)), (HolidayFlags{true, true}));
    EXPECT_EQ(broadcast::evaluateHolidays(table(), QDate(2013, 10, 1)),
              (HolidayFlags{false, true}));
    EXPECT_EQ(broadcast::evaluateHolidays(table(), today.addDays(2)), HolidayFlags{});
}

TEST_F(HolidayTest, TheAddDialogStoresOneRowPerPressAndTheListReevaluates) {
    HolidayFlags flags{false, true};
    int evaluations = 0;
    broadcast::HolidayList list(services, table(),
                                {[] { return true; }, [] { return nullptr; },
                                 [&](const HolidayFlags& f) {
                                     flags = f;
                                     ++evaluations;
                                 }});
    broadcast::Tfaddholiday dialog(table(), clock);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("增加不播音日期"));
    EXPECT_TRUE(dialog.chk_txt->isChecked());
    EXPECT_TRUE(dialog.chk_mp3->isChecked());
    const int before = table().recordCount();
    dialog.DateTime1->setDate(QDate(2026, 12, 14));
    dialog.Edit1->setText(QStringLiteral(" 停课 "));
    dialog.chk_mp3->setChecked(false);
    dialog.BitBtn1Click();
    dialog.DateTime1->setDate(QDate(2026, 12, 20));
    dialog.BitBtn1Click();
    ASSERT_EQ(table().recordCount(), before + 2);
    const int last = table().recordCount() - 1;
    const auto value = [&](int row, const char* field) {
        return table().value(row, table().fieldIndex(QString::fromLatin1(field)));
    };
    EXPECT_EQ(value(last - 1, "date").toString(), QStringLiteral("2026-12-14 09:00:00"));
    EXPECT_EQ(value(last - 1, "remark").toString(), QStringLiteral(" 停课 "));
    EXPECT_NE(value(last - 1, "txt").toInt(), 0);
    EXPECT_EQ(value(last - 1, "mp3").toInt(), 0);
    // Stored for good: a fresh query reads them back.
    ASSERT_TRUE(table().requery());
    EXPECT_EQ(table().recordCount(), before + 2);
    // The row for today took effect at once.
    EXPECT_GE(evaluations, 2);
    EXPECT_EQ(flags, (HolidayFlags{true, false}));
}

TEST_F(HolidayTest, TheGridIsReadOnlyUntilUnlockedAndDeletesAfterConfirmation) {
    bool passwordOk = false;
    broadcast::HolidayList list(services, table(),
                                {[&] { return passwordOk; }, [] { return nullptr; }, {}});
    QTableView grid;
    list.attach(&grid);
    HolidayGridModel& model = list.model();
    ASSERT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("备注"));
    EXPECT_EQ(model.data(model.index(2, HolidayGridModel::ColNo)).toInt(), 3);
    EXPECT_EQ(model.data(model.index(0, HolidayGridModel::ColRemark)).toString(),
              QStringLiteral("元旦"));
    EXPECT_EQ(model.data(model.index(0, HolidayGridModel::ColMusic), Qt::CheckStateRole),
              QVariant(Qt::Checked));
    const QModelIndex remark = model.index(0, HolidayGridModel::ColRemark);
    EXPECT_FALSE(model.setData(remark, QStringLiteral("x")));
    EXPECT_FALSE(model.flags(remark) & Qt::ItemIsEditable);

    list.SB_modiClick();  // refused password: still locked
    EXPECT_FALSE(model.editable());
    passwordOk = true;
    list.SB_modiClick();
    ASSERT_TRUE(model.editable());
    EXPECT_TRUE(model.setData(remark, QStringLiteral("新年")));
    EXPECT_FALSE(model.setData(model.index(0, HolidayGridModel::ColDate), QStringLiteral("明天")));
    EXPECT_TRUE(
        model.setData(model.index(0, HolidayGridModel::ColText), Qt::Checked, Qt::CheckStateRole));
    ASSERT_TRUE(table().requery());
    EXPECT_EQ(model.data(remark).toString(), QStringLiteral("新年"));

    grid.setCurrentIndex(model.index(1, 1));
    prompter.queueAnswer(false);
    list.deleteCurrent();
    EXPECT_EQ(model.rowCount(), 4);
    prompter.queueAnswer(true);
    list.deleteCurrent();
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(prompter.shown().back().text, QStringLiteral("Delete record?"));
    list.lock();
    EXPECT_FALSE(model.editable());
    grid.setCurrentIndex(model.index(0, 1));
    list.deleteCurrent();  // locked: nothing asked, nothing deleted
    EXPECT_EQ(model.rowCount(), 3);
}

}  // namespace
