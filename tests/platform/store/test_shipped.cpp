// The generated initial database: keyed with the database password, holding the shipped rows.
#include <QCryptographicHash>
#include <QFile>

#include <gtest/gtest.h>

#include "platform/store/store.h"

#ifdef SHIPPED_DRAFT_DAT

namespace {

QByteArray digest(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

int count(platform::Database& db, const QString& sql) {
    platform::Statement st(db, sql);
    EXPECT_TRUE(st.ok()) << sql.toStdString() << ": " << st.errorText().toStdString();
    if (st.step() != platform::StepResult::Row) return -1;
    return st.value(0).toInt();
}

}  // namespace

TEST(ShippedDatabase, OpensOnlyWithTheDatabasePassword) {
    const QString path = QStringLiteral(SHIPPED_DRAFT_DAT);
    const QByteArray before = digest(path);
    ASSERT_FALSE(before.isEmpty());
    platform::Database db;
    EXPECT_FALSE(db.open(path, QString()));
    EXPECT_FALSE(db.open(path, "482605"));
    EXPECT_TRUE(db.open(path, "482604")) << db.errorText().toStdString();
    db.close();
    EXPECT_EQ(digest(path), before);
}

TEST(ShippedDatabase, HoldsTheShippedRows) {
    platform::Database db;
    ASSERT_TRUE(db.open(QStringLiteral(SHIPPED_DRAFT_DAT), "482604"));
    const struct {
        const char* sql;
        int rows;
    } cases[] = {
        {"select count(*) from delaytime", 10},
        {"select count(*) from delaytime where candelete=-1 and id between 1 and 9", 9},
        {"select count(*) from delaytime where id=16 and descript='、' and candelete=0", 1},
        {"select count(*) from telltime", 48},
        {"select count(*) from telltime where id=18 and stime='08:30:00' and "
         "text='现在是北京时间 08:30' and isplay=0",
         1},
        {"select count(*) from scheduling where id in (1,3,8)", 3},
        {"select count(*) from sch_det", 23},
        {"select count(*) from sch_det where scheduling not in (select scheduling from scheduling)",
         0},
        {"select count(*) from sch_det where name='起床号' and playtime='06:30:00' and "
         "endtime='06:33:00' and dumpplay=-1 and weather='全天侯' and voice=100",
         1},
        {"select count(*) from textfile", 7},
        {"select count(*) from draft where txtplay=-1", 9},
        {"select count(*) from draft where textfileid not in (select ID from textfile)", 0},
        {"select count(*) from holiday where txt=0 and mp3=-1", 4},
        {"select count(*) from reminder", 11},
        {"select count(*) from sqlite_master where type='index' and name in "
         "('draft_id','textfileid','holiday_id','scheduling_id','sch_det_id','telltime_id',"
         "'delaytime_id','filelist_id','history_id','reminder_id')",
         10},
    };
    for (const auto& c : cases) EXPECT_EQ(count(db, c.sql), c.rows) << c.sql;
}

#endif
