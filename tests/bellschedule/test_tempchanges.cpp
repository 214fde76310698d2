// The shift dialog and the temporary edit change today's grid only.
#include "bellschedfixture.h"

#include "speaker/bellschedule/fchangtime.h"
#include "speaker/bellschedule/ftmptime.h"
#include "speaker/bellschedule/tmptimemodel.h"

#include <QComboBox>
#include <QSpinBox>
#include <QTableView>

using bellschedule::BellGrid;
using bellschedule::Tfchangtime;
using bellschedule::Tftmptime;
using bellschedule::TmpTimeModel;
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

}  // namespace

class TempChanges : public BellSchedTest {
protected:
    void SetUp() override {
        BellSchedTest::SetUp();
        const QString f = wav(QStringLiteral("f.wav"), 3);
        addTimetable(QStringLiteral("今天"), {entry("一", f, "08:30:00", "08:31:00"),
                                              entry("二", f, "09:00:00", "09:00:30"),
                                              entry("三", f, "23:55:00", "23:58:00")});
        start(QStringLiteral("今天"));
        bells->shiftTextList = [this](int m) { textShifts.push_back(m); };
        bells->restoreTextList = [this] { ++textRestores; };
    }

    QString startOf(int row) const { return bells->grid().cell(row, BellGrid::ColStart); }

    std::vector<int> textShifts;
    int textRestores = 0;
};

TEST_F(TempChanges, ShiftEarlierThenLaterAddsUpAndRestoreBringsTheTimesBack) {
    Tfchangtime dialog(services, *bells);
    dialog.show();  // showing starts the total afresh
    struct Step {
        int action;
        int minutes;
        const char* message;
        const char* first;  // start of row 1 afterwards
        const char* last;   // start of row 3 afterwards (wraps within the day)
    };
    for (const Step& s :
         {Step{Tfchangtime::Earlier, 10, "整体提前了：10分钟 !", "08:20:00", "23:45:00"},
          Step{Tfchangtime::Later, 5, "整体提前了：5分钟 !", "08:25:00", "23:50:00"},
          Step{Tfchangtime::Later, 0, "整体提前了：5分钟 !", "08:25:00", "23:50:00"},
          Step{Tfchangtime::Later, 15, "整体推迟了：10分钟 !", "08:40:00", "00:05:00"},
          Step{Tfchangtime::Restore, 0, "作息表时间已还原!", "08:30:00", "23:55:00"}}) {
        SCOPED_TRACE(s.message);
        dialog.Comb1->setCurrentIndex(s.action);
        EXPECT_EQ(dialog.SpinEdit1->isEnabled(), s.action != Tfchangtime::Restore);
        dialog.SpinEdit1->setValue(s.minutes);
        prompter.clearShown();
        dialog.Button1Click();
        ASSERT_EQ(messages().size(), 1);
        EXPECT_EQ(messages()[0], QString::fromUtf8(s.message));
        EXPECT_EQ(startOf(1), QLatin1String(s.first));
        EXPECT_EQ(startOf(3), QLatin1String(s.last));
    }
    EXPECT_EQ(textShifts, (std::vector<int>{-10, 5, 0, 15}));
    EXPECT_EQ(textRestores, 1);
    dialog.hide();
    dialog.show();
    EXPECT_EQ(dialog.totalshift, 0);
}

TEST_F(TempChanges, ShiftedEntriesKeepTheirMarksAndUnplayedOnesPlayAtTheirNewTime) {
    advanceTo(QTime(8, 30, 5));
    ASSERT_EQ(trace.events(QStringLiteral("bell.start")).size(), 1u);
    Tfchangtime dialog(services, *bells);
    dialog.show();
    dialog.Comb1->setCurrentIndex(Tfchangtime::Later);
    dialog.SpinEdit1->setValue(15);
    dialog.Button1Click();
    EXPECT_EQ(bells->grid().cell(1, BellGrid::ColMark), BellGrid::kTick);
    advanceTo(QTime(9, 16, 0));
    const auto starts = trace.events(QStringLiteral("bell.start"));
    ASSERT_EQ(starts.size(), 2u);  // row 1 did not play again at 08:45
    EXPECT_EQ(starts[1].value(QStringLiteral("row")).toInt(), 2);
    EXPECT_TRUE(
        starts[1].value(QStringLiteral("t")).toString().contains(QLatin1String("09:15:01")));
}

TEST_F(TempChanges, TemporaryEditDeletesARowForTodayOnly) {
    Tftmptime dialog(services, *dm, *bells);
    dm->tmpmodified = true;
    dialog.open();  // showing reads the working copy afresh
    EXPECT_FALSE(dm->tmpmodified);
    ASSERT_EQ(dialog.DBGrid1->model()->rowCount(), 3);
    dialog.DBGrid1->setCurrentIndex(dialog.DBGrid1->model()->index(0, TmpTimeModel::ColName));
    dialog.deleteRecord();
    EXPECT_TRUE(messages().contains(QStringLiteral("真的要删除该记录吗？")));
    EXPECT_TRUE(dm->tmpmodified);
    // Closing unsaved asks first; No keeps the dialog.
    prompter.queueAnswer(false);
    dialog.reject();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(messages().contains(QStringLiteral("资料已修改，没有保存，要退出吗")));
    ASSERT_TRUE(dialog.btn_okClick());
    EXPECT_FALSE(dm->tmpmodified);
    ASSERT_EQ(bells->grid().entryRows(), 2);
    EXPECT_EQ(startOf(1), QLatin1String("09:00:00"));
    dialog.reject();
    EXPECT_FALSE(dialog.isVisible());
    // The stored timetable still has the row: the next rebuild brings it back.
    bells->Comb1Change();
    EXPECT_EQ(bells->grid().entryRows(), 3);
    EXPECT_EQ(startOf(1), QLatin1String("08:30:00"));
}

TEST_F(TempChanges, TemporaryEditRefusesBadTimesAndKeepsTheRest) {
    Tftmptime dialog(services, *dm, *bells);
    dialog.FormShow();
    QAbstractItemModel* model = dialog.DBGrid1->model();
    struct Case {
        int row;
        const char* start;
        const char* end;
        const char* warning;
    };
    for (const Case& c :
         {Case{1, "25:00:00", "09:00:30", "开始时间：25:00:00 或结束时间：09:00:30 格式不对! "},
          Case{1, "09:10:00", "09:00:30", "开始时间：09:10:00 不能大于结束时间：09:00:30 !"}}) {
        SCOPED_TRACE(c.warning);
        ASSERT_TRUE(model->setData(model->index(c.row, TmpTimeModel::ColStart),
                                   QString::fromLatin1(c.start)));
        EXPECT_TRUE(dm->tmpmodified);
        prompter.clearShown();
        EXPECT_FALSE(dialog.btn_okClick());
        ASSERT_EQ(messages().size(), 1);
        EXPECT_EQ(messages()[0], QString::fromUtf8(c.warning));
        EXPECT_TRUE(dm->tmpmodified);
        EXPECT_EQ(startOf(1), QLatin1String("08:30:00"));  // rows before it are written
        EXPECT_EQ(startOf(3), QLatin1String("23:55:00"));  // rows after it are as they were
    }
    // The database never saw the edit.
    dm->Q_mp3().requery();
    EXPECT_EQ(dm->Q_mp3().field(QStringLiteral("playtime")).toString().size(), 8);
    bells->Comb1Change();
    EXPECT_EQ(bells->grid().cell(2, BellGrid::ColStart), QLatin1String("09:00:00"));
}
