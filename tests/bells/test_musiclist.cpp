// The music list kept in table filelist of the database, through the data module's dataset.
#include "platform/store/database.h"
#include "speaker/bells/musicliststore.h"
#include "speaker/core/dataset.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(MusicListInDatabase, RowsAreOrderedByNameAndDeletesGoByIdOrAll) {
    QTemporaryDir dir;
    platform::Database db;
    ASSERT_TRUE(db.create(dir.filePath("list.dat"), QStringLiteral("key")));
    ASSERT_TRUE(db.exec(QStringLiteral(
        "create table filelist (id integer primary key autoincrement, filename varchar(30), "
        "filepath varchar(120))")));
    core::Dataset ds(db, QStringLiteral("Q_filelist"));
    ds.setSql(QStringLiteral("select * from filelist order by filename"));
    auto store = bells::makeDatasetMusicList(ds, db);

    const QString paths[] = {"/m/上课.mp3", "/m/b 'x'.wav", "/m/a.mp3", "/m/a.mp3"};
    for (const QString& p : paths) ASSERT_TRUE(store->append(p.section('/', -1), p));
    auto rows = store->rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].filename, "a.mp3");
    EXPECT_EQ(rows[1].filename, "a.mp3");  // the same file may be added twice
    EXPECT_EQ(rows[2].filepath, "/m/b 'x'.wav");
    EXPECT_EQ(rows[3].filename, "上课.mp3");
    EXPECT_NE(rows[0].id, rows[1].id);

    ASSERT_TRUE(store->remove(rows[1].id));
    rows = store->rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].filename, "a.mp3");
    ASSERT_TRUE(store->removeAll());
    EXPECT_TRUE(store->rows().empty());
}

}  // namespace
