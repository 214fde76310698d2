// "粘贴" and "粘贴全部" of the plans grid: the clipboard text goes through the same checks
// as typing; "粘贴全部" stores all plans or none.
#include "plansfixture.h"

#include "speaker/core/dataset.h"
#include "speaker/plans/fieldcolumns.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTableView>

namespace {

class PasteTest : public PlansTest {
protected:
    // Every plan's `field`, in id order, joined with "|".
    QString column(const QString& field) {
        return scalar(QStringLiteral("select group_concat(v,'|') from (select coalesce(%1,'') "
                                     "as v from draft order by id)")
                          .arg(field))
            .toString();
    }
    void paste(const QString& text) { QGuiApplication::clipboard()->setText(text); }
};

TEST_F(PasteTest, PasteStoresIntoTheCurrentCell) {
    auto& e = editor();
    planCell(52, QStringLiteral("playtime"));
    paste(QStringLiteral("08:20:00\n"));  // as copied from a spreadsheet cell
    e.pastefield();
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(scalar(QStringLiteral("select playtime from draft where id=52")).toString(),
              QStringLiteral("08:20:00"));
}

TEST_F(PasteTest, PasteAllStoresIntoEveryPlan) {
    auto& e = editor();
    planCell(6, QStringLiteral("txttimes"));
    paste(QStringLiteral("5"));
    e.pasteall();
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(column(QStringLiteral("txttimes")), QStringLiteral("5|5|5|5|5|5|5|5|5"));
    EXPECT_EQ(dm->Q_draft().field(QStringLiteral("id")).toInt(), 6);  // still on the same plan
}

struct BadPaste {
    const char* name;
    const char* field;
    const char* text;
    const char* warning;
};

class BadPasteTest : public PasteTest, public ::testing::WithParamInterface<BadPaste> {};

TEST_P(BadPasteTest, PasteAllStoresNothing) {
    const BadPaste& c = GetParam();
    auto& e = editor();
    const QString field = QString::fromLatin1(c.field);
    const QString before = column(field);
    planCell(17, field);
    paste(QString::fromUtf8(c.text));
    e.pasteall();
    // One refusal, with the check's own words, ends the paste.
    EXPECT_EQ(messages(), QStringList{QString::fromUtf8(c.warning)});
    EXPECT_EQ(column(field), before);
    core::Dataset& q = dm->Q_draft();
    EXPECT_EQ(q.state(), core::Dataset::State::Browse);
    // The grid shows what is stored.
    const int col = e.plansModel()->columnOf(field);
    for (int r = 0; r < q.recordCount(); ++r) {
        const int id = q.value(r, q.fieldIndex(QStringLiteral("id"))).toInt();
        EXPECT_EQ(e.plansModel()->index(r, col).data().toString(),
                  scalar(QStringLiteral("select %1 from draft where id=%2").arg(field).arg(id))
                      .toString());
    }
}

// Plan 2 (07:50:00-08:00:00) is first by start time, plan 59 (21:50:00-22:00:00) last.
INSTANTIATE_TEST_SUITE_P(
    Plans, BadPasteTest,
    ::testing::Values(
        BadPaste{"OneDigitHour", "playtime", "8:00:00", "开始时间或结束时间格式不对! 按ESC取消"},
        BadPaste{"Hour24", "playtime", "24:00:00", "开始时间或结束时间格式不对! 按ESC取消"},
        BadPaste{"Minute60", "endtime", "10:60:00", "开始时间或结束时间格式不对! 按ESC取消"},
        BadPaste{"StartAfterFirstEnd", "playtime", "08:10:00",
                 "开始时间不能大于结束时间! 按ESC取消"},
        // Fits every plan but the last: the rows stored before it are undone.
        BadPaste{"EndBeforeLastStart", "endtime", "20:00:00",
                 "开始时间不能大于结束时间! 按ESC取消"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
