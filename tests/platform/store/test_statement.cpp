// Binding and reading values through prepared statements.
#include <QDateTime>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/store/store.h"

namespace {

class StatementTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.create(dir.filePath("s.dat"), "k")) << db.errorText().toStdString();
        ASSERT_TRUE(db.exec("CREATE TABLE v (id INTEGER PRIMARY KEY AUTOINCREMENT, x)"));
    }
    QVariant roundTrip(const QVariant& in) {
        platform::Statement ins(db, "insert into v (x) values (:x)");
        EXPECT_TRUE(ins.bind(":x", in)) << ins.errorText().toStdString();
        EXPECT_EQ(ins.step(), platform::StepResult::Done);
        platform::Statement sel(db, "select x from v where id=?");
        sel.bind(1, db.lastInsertId());
        EXPECT_EQ(sel.step(), platform::StepResult::Row);
        return sel.value(0);
    }
    QTemporaryDir dir;
    platform::Database db;
};

}  // namespace

TEST_F(StatementTest, ValuesRoundTripInTheirStoredForm) {
    struct Case {
        QVariant in;
        QVariant out;
    };
    const Case cases[] = {
        {QVariant(), QVariant()},
        {QVariant(42), QVariant(42)},
        {QVariant(qlonglong(1) << 40), QVariant(qlonglong(1) << 40)},
        {QVariant(true), QVariant(-1)},  // Yes/No is stored -1/0
        {QVariant(false), QVariant(0)},
        {QVariant(2.5), QVariant(2.5)},
        {QVariant(QStringLiteral("现在是北京时间 08:30")),
         QVariant(QStringLiteral("现在是北京时间 08:30"))},
        {QVariant(QString("")), QVariant(QString(""))},
        {QVariant(QByteArray("\x00\x01\xff", 3)), QVariant(QByteArray("\x00\x01\xff", 3))},
        {QVariant(QDateTime(QDate(2013, 1, 1), QTime(8, 49, 33))),
         QVariant(QStringLiteral("2013-01-01 08:49:33"))},
        {QVariant(QTime(7, 5, 0)), QVariant(QStringLiteral("07:05:00"))},
    };
    for (const auto& c : cases) {
        const QVariant out = roundTrip(c.in);
        EXPECT_EQ(out.isValid(), c.out.isValid()) << c.in.toString().toStdString();
        EXPECT_EQ(out.typeId(), c.out.typeId()) << c.in.toString().toStdString();
        EXPECT_EQ(out, c.out) << c.in.toString().toStdString();
    }
}

TEST_F(StatementTest, NamesParametersAndColumns) {
    platform::Statement st(db, "select :aa as first, ?2 as second, :aa || 'x' as third");
    ASSERT_TRUE(st.ok());
    EXPECT_EQ(st.parameterCount(), 2);
    EXPECT_EQ(st.parameterName(1), QStringLiteral(":aa"));
    EXPECT_TRUE(st.bind("aa", QStringLiteral("夏季作息时间")));  // the ':' is optional
    EXPECT_TRUE(st.bind(2, 7));
    EXPECT_FALSE(st.bind(":nosuch", 1));
    ASSERT_EQ(st.step(), platform::StepResult::Row);
    EXPECT_EQ(st.columnNames(), (QStringList{"first", "second", "third"}));
    EXPECT_EQ(st.value("SECOND").toInt(), 7);
    EXPECT_EQ(st.value(2).toString(), QStringLiteral("夏季作息时间x"));
    EXPECT_FALSE(st.value(3).isValid());
    EXPECT_EQ(st.step(), platform::StepResult::Done);
    // Runs again with the same bindings after a reset.
    st.reset();
    ASSERT_EQ(st.step(), platform::StepResult::Row);
    EXPECT_EQ(st.value(1).toInt(), 7);
}

TEST_F(StatementTest, ReportsPrepareAndStepErrors) {
    platform::Statement bad(db, "select * from nowhere");
    EXPECT_FALSE(bad.ok());
    EXPECT_TRUE(bad.errorText().contains("nowhere"));
    EXPECT_EQ(bad.step(), platform::StepResult::Error);

    ASSERT_TRUE(db.exec("CREATE TABLE u (a UNIQUE)"));
    platform::Statement ins(db, "insert into u values (1)");
    EXPECT_EQ(ins.step(), platform::StepResult::Done);
    ins.reset();
    EXPECT_EQ(ins.step(), platform::StepResult::Error);
    EXPECT_TRUE(ins.errorText().contains("UNIQUE"));
}
