// The plan editor's showing, adding plans, editing them in place and deleting them.
#include "plansfixture.h"

#include "speaker/core/dataset.h"
#include "speaker/plans/fieldcolumns.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>
#include <QTextEdit>
#include <QTimeEdit>

namespace {

class LateEditorTest : public PlansTest {
protected:
    LateEditorTest() : PlansTest(QDateTime(QDate(2026, 12, 14), QTime(23, 40, 0))) {}
};

TEST_F(LateEditorTest, ShowingProposesTimesPastMidnightTheMainVoiceAndTheTexts) {
    QFile ini(services.iniPath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[character]\nreader2=女声 国语 - Voice A\n").toUtf8());
    ini.close();
    dm->datachanged = false;

    auto& e = editor();
    EXPECT_EQ(e.TimeEdit1->time().toString(QStringLiteral("hh:mm:ss")), QStringLiteral("00:10:00"));
    EXPECT_EQ(e.TimeEdit2->time().toString(QStringLiteral("hh:mm:ss")), QStringLiteral("00:15:00"));
    EXPECT_FALSE(e.btn_save->isEnabled());
    EXPECT_EQ(e.flatComboBox1->count(), 2);
    EXPECT_EQ(e.flatComboBox1->currentIndex(), 1);
    EXPECT_EQ(e.TrackBar2->value(), 1);
    EXPECT_EQ(e.Label1->text(), QStringLiteral("(1) "));
    ASSERT_EQ(e.comb_title->count(), 7);
    EXPECT_EQ(e.comb_title->currentIndex(), 0);
    EXPECT_EQ(e.comb_title->itemText(0), QStringLiteral("1.营业准备词"));
    EXPECT_EQ(e.comb_title->itemText(6), QStringLiteral("7.角色朗读示例"));
    EXPECT_EQ(e.roleItems[0]->text(), QStringLiteral("[角色&1]"));
    EXPECT_EQ(e.roleItems[1]->text(), QStringLiteral("[角色&2]女声 国语 - Voice A"));
    // Showing alone is no change: the today list will not be rebuilt.
    EXPECT_FALSE(dm->datachanged);
    EXPECT_EQ(e.windowTitle(), QStringLiteral("增加、修改播音计划"));
    EXPECT_EQ(e.size(), QSize(1195, 633));
}

TEST_F(PlansTest, AddStoresThePlanOfTheInputGroup) {
    auto& e = editor();
    const int before = count(QStringLiteral("draft"));
    e.comb_title->setCurrentIndex(5);  // 6.电影院入场
    e.TimeEdit1->setTime(QTime(19, 0, 0));
    e.TimeEdit2->setTime(QTime(19, 5, 30));
    e.CheckBoxes[5]->setChecked(true);  // Saturday as well
    e.SpinEdit2->setValue(3);
    e.SpinEdit1->setValue(45);
    e.SpinEdit3->setValue(77);
    e.SpinEdit4->setValue(12);
    e.TrackBar2->setValue(-4);
    e.chk_playmusic->setChecked(true);
    e.flatComboBox1->setCurrentIndex(0);
    dm->datachanged = false;
    e.Btn_add->click();

    EXPECT_TRUE(messages().isEmpty());
    ASSERT_EQ(count(QStringLiteral("draft")), before + 1);
    const QString row = QStringLiteral(
        "select textfileid||'|'||playtime||'|'||endtime||'|'||Monday||Tuesday||Wednesday||"
        "Thursday||Friday||Saturday||Sunday||'|'||txtplay||isstop||dumpplay||playmusic||"
        "musicended||'|'||txttimes||'|'||stoptime||'|'||ttsvolume||'|'||musicvolume||'|'||"
        "rate||'|'||speaker from draft where id=(select max(id) from draft)");
    EXPECT_EQ(scalar(row).toString(),
              QStringLiteral("6|19:00:00|19:05:30|-1-1-1-1-1-10|-1-10-10|3|45|77|12|-4|"
                             "女声 国语 - Voice A"));
    // The grid shows it in start-time order; the inputs keep their values.
    core::Dataset& q = dm->Q_draft();
    EXPECT_EQ(q.recordCount(), before + 1);
    EXPECT_TRUE(dm->datachanged);
    EXPECT_EQ(e.SpinEdit1->value(), 45);
}

struct AddRefusal {
    const char* name;
    QTime start;
    QTime end;
    bool anyDay;
    bool noTexts;
    const char* warning;
};

class AddRefusalTest : public PlansTest, public ::testing::WithParamInterface<AddRefusal> {};

TEST_P(AddRefusalTest, NothingIsStored) {
    const AddRefusal& c = GetParam();
    if (c.noTexts) {
        ASSERT_TRUE(dm->conn1().exec(QStringLiteral("delete from textfile")));
    }
    auto& e = editor();
    e.TimeEdit1->setTime(c.start);
    e.TimeEdit2->setTime(c.end);
    if (!c.anyDay)
        for (QCheckBox* b : e.CheckBoxes) b->setChecked(false);
    const int before = count(QStringLiteral("draft"));
    e.Btn_add->click();
    EXPECT_EQ(messages(), QStringList{QString::fromUtf8(c.warning)});
    EXPECT_EQ(count(QStringLiteral("draft")), before);
    EXPECT_EQ(dm->Q_draft().recordCount(), before);
    EXPECT_EQ(dm->Q_draft().state(), core::Dataset::State::Browse);
}

INSTANTIATE_TEST_SUITE_P(
    Plans, AddRefusalTest,
    ::testing::Values(AddRefusal{"EqualTimes", QTime(9, 0), QTime(9, 0), true, false,
                                 "开始时间不能大于结束时间，请重新输入时间范围!"},
                      AddRefusal{"EndBeforeStart", QTime(9, 0), QTime(8, 59, 59), true, false,
                                 "开始时间不能大于结束时间，请重新输入时间范围!"},
                      AddRefusal{"NoWeekday", QTime(9, 0), QTime(9, 5), false, false,
                                 "请选择播音日期!"},
                      AddRefusal{"NoText", QTime(9, 0), QTime(9, 5), true, true,
                                 "请先在右边增加稿件，再增加播音计划!"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadCell {
    const char* name;
    const char* field;
    const char* value;
    const char* warning;
};

class BadCellTest : public PlansTest, public ::testing::WithParamInterface<BadCell> {};

// Plan 3 runs 10:00:00 to 10:30:00.
TEST_P(BadCellTest, IsRefusedAndTheGridShowsTheStoredRow) {
    const BadCell& c = GetParam();
    auto& e = editor();
    const QModelIndex cell = planCell(3, QString::fromLatin1(c.field));
    const QString stored =
        scalar(QStringLiteral("select %1 from draft where id=3").arg(c.field)).toString();
    dm->datachanged = false;
    EXPECT_FALSE(e.plansModel()->setData(cell, QString::fromUtf8(c.value)));
    EXPECT_EQ(messages(), QStringList{QString::fromUtf8(c.warning)});
    EXPECT_EQ(scalar(QStringLiteral("select %1 from draft where id=3").arg(c.field)).toString(),
              stored);
    EXPECT_EQ(dm->Q_draft().state(), core::Dataset::State::Browse);
    EXPECT_EQ(cell.data().toString(), stored);
    // Moving on works: no half-done edit blocks the grid.
    EXPECT_TRUE(dm->Q_draft().moveTo(0));
    EXPECT_TRUE(messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Plans, BadCellTest,
    ::testing::Values(
        BadCell{"OneDigitHour", "playtime", "8:00:00", "开始时间或结束时间格式不对! 按ESC取消"},
        BadCell{"Hour24", "playtime", "24:00:00", "开始时间或结束时间格式不对! 按ESC取消"},
        BadCell{"Minute60", "endtime", "10:60:00", "开始时间或结束时间格式不对! 按ESC取消"},
        BadCell{"EndBeforeStart", "endtime", "09:59:59", "开始时间不能大于结束时间! 按ESC取消"},
        BadCell{"StartAfterEnd", "playtime", "10:30:01", "开始时间不能大于结束时间! 按ESC取消"},
        BadCell{"NotANumber", "txttimes", "abc", "'abc' is not a valid integer value"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlansTest, EditingInPlaceStoresThroughTheChecks) {
    auto& e = editor();
    dm->datachanged = false;
    EXPECT_TRUE(e.plansModel()->setData(planCell(3, QStringLiteral("endtime")),
                                        QStringLiteral(" 10:00:00 ")));
    EXPECT_EQ(scalar(QStringLiteral("select endtime from draft where id=3")).toString(),
              QStringLiteral("10:00:00"));  // equal times are allowed, blanks trimmed
    EXPECT_TRUE(e.plansModel()->setData(planCell(3, QStringLiteral("Sunday")), Qt::Checked,
                                        Qt::CheckStateRole));
    EXPECT_EQ(scalar(QStringLiteral("select Sunday from draft where id=3")).toInt(), -1);
    EXPECT_TRUE(e.plansModel()->setData(planCell(3, QStringLiteral("title")), 7));
    EXPECT_EQ(scalar(QStringLiteral("select textfileid from draft where id=3")).toInt(), 7);
    EXPECT_EQ(planCell(3, QStringLiteral("title")).data().toString(),
              QStringLiteral("角色朗读示例"));
    EXPECT_TRUE(dm->datachanged);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(PlansTest, MovingToAnotherPlanRowIsAChange) {
    auto& e = editor();
    dm->Q_draft().moveTo(0);
    dm->datachanged = false;
    e.DBGridEh1->setCurrentIndex(e.plansModel()->index(2, 2));
    EXPECT_EQ(dm->Q_draft().row(), 2);
    EXPECT_TRUE(dm->datachanged);
}

TEST_F(PlansTest, ClickingAPlanShowsItsTextAndAMissingTextShowsNothing) {
    auto& e = editor();
    const QModelIndex cell = planCell(3, QStringLiteral("playtime"));  // text 2
    emit e.DBGridEh1->clicked(cell);
    EXPECT_TRUE(e.Memo1->toPlainText().startsWith(QStringLiteral("亲爱的顾客朋友们")));
    // The text list does not move with it.
    EXPECT_EQ(dm->Q_textfile().row(), 0);

    // The text of plan 3 is removed behind the editor's back.
    ASSERT_TRUE(dm->conn1().exec(QStringLiteral("delete from textfile where ID=2")));
    dm->Q_textfile().requery();
    emit e.DBGridEh1->clicked(planCell(3, QStringLiteral("playtime")));
    EXPECT_TRUE(e.Memo1->toPlainText().isEmpty());
    EXPECT_TRUE(planCell(3, QStringLiteral("title")).data().toString().isEmpty());
}

TEST_F(PlansTest, DeletingAPlanAsksFirst) {
    auto& e = editor();
    const int before = count(QStringLiteral("draft"));
    planCell(47, QStringLiteral("playtime"));
    prompter.queueAnswer(false);
    e.deleteplan();
    EXPECT_EQ(count(QStringLiteral("draft")), before);
    prompter.queueAnswer(true);
    e.deleteplan();
    EXPECT_EQ(messages(), (QStringList{QStringLiteral("确信要删除该记录?"),
                                       QStringLiteral("确信要删除该记录?")}));
    EXPECT_EQ(count(QStringLiteral("draft")), before - 1);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from draft where id=47")).toInt(), 0);
}

TEST_F(PlansTest, TheMusicButtonStoresTheChosenFile) {
    auto& e = editor();
    const QModelIndex cell = planCell(3, QStringLiteral("playmusic"));
    e.choosemusic(cell.row());  // cancelled: nothing changes
    EXPECT_TRUE(scalar(QStringLiteral("select filepath from draft where id=3")).isNull());
    prompter.queueFiles({QStringLiteral("/music/bell.mid")});
    e.choosemusic(cell.row());
    EXPECT_EQ(scalar(QStringLiteral("select filepath||'|'||playmodel||'|'||dumpplay from draft "
                                    "where id=3"))
                  .toString(),
              QStringLiteral("/music/bell.mid|单曲播放|0"));
}

}  // namespace
