// The dataset: cursor, edit buffer, writes to its table, hooks and the model for views.
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "platform/store/store.h"
#include "speaker/core/dataset.h"

namespace {

class DatasetTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.create(dir.filePath("d.dat"), "k"));
        ASSERT_TRUE(db.exec(
            "CREATE TABLE song (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, len INTEGER,"
            " album INTEGER, loud INTEGER);"
            "CREATE TABLE album (ID INTEGER PRIMARY KEY AUTOINCREMENT, title TEXT);"
            "INSERT INTO album (ID, title) VALUES (1, '晨曲'), (2, '晚歌');"
            "INSERT INTO song (id, name, len, album, loud) VALUES"
            " (1, 'c', 30, 1, 0), (2, 'a', 10, 2, 0), (5, 'b', 20, 1, -1);"))
            << db.errorText().toStdString();
    }
    QVariant stored(const QString& sql) {
        platform::Statement st(db, sql);
        return st.step() == platform::StepResult::Row ? st.value(0) : QVariant();
    }
    QTemporaryDir dir;
    platform::Database db;
};

}  // namespace

TEST_F(DatasetTest, WalksRowsInCommandOrder) {
    core::Dataset ds(db, "Q_song");
    ds.setSql("select * from song order by name");
    ASSERT_TRUE(ds.open()) << ds.errorText().toStdString();
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(ds.fieldNames(), (QStringList{"id", "name", "len", "album", "loud"}));
    QStringList names;
    for (ds.first(); !ds.eof(); ds.next()) names << ds.field("NAME").toString();
    EXPECT_EQ(names, (QStringList{"a", "b", "c"}));
    EXPECT_EQ(ds.recNo(), 3);
    EXPECT_TRUE(ds.locate("len", 20));
    EXPECT_EQ(ds.field("id").toInt(), 5);
    EXPECT_TRUE(ds.locate("name", QString("c")));
    EXPECT_EQ(ds.row(), 2);
    EXPECT_FALSE(ds.locate("name", QString("zz")));
    EXPECT_EQ(ds.row(), 2);
}

TEST_F(DatasetTest, ParametersSelectRowsAndRequeryKeepsTheRowById) {
    core::Dataset ds(db, "Q_song");
    ds.setSql("select * from song where album=:aa order by len desc");
    ds.setParam(":aa", 1);
    ASSERT_TRUE(ds.open());
    ASSERT_EQ(ds.recordCount(), 2);
    ASSERT_TRUE(ds.locate("id", 5));
    // Another writer adds a longer song of the album; the row moves down but stays current.
    ASSERT_TRUE(db.exec("INSERT INTO song (name, len, album) VALUES ('d', 99, 1)"));
    EXPECT_EQ(ds.recordCount(), 2);  // a static snapshot until re-read
    ASSERT_TRUE(ds.requery());
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(ds.field("id").toInt(), 5);
    EXPECT_EQ(ds.row(), 2);
}

TEST_F(DatasetTest, AppendPostFillsTheNewIdAndEditPostUpdates) {
    core::Dataset ds(db, "Q_song");
    ds.setTable("song");
    ASSERT_TRUE(ds.open());
    ASSERT_TRUE(ds.append());
    EXPECT_EQ(ds.state(), core::Dataset::State::Insert);
    ds.setField("name", QStringLiteral("新歌"));
    ds.setField("loud", true);
    ASSERT_TRUE(ds.post()) << ds.errorText().toStdString();
    EXPECT_EQ(ds.field("id").toInt(), 6);  // after the highest id ever used
    EXPECT_EQ(stored("select name from song where id=6").toString(), QStringLiteral("新歌"));
    EXPECT_EQ(stored("select loud from song where id=6").toInt(), -1);

    ASSERT_TRUE(ds.locate("id", 2));
    ds.setField("len", 11);
    EXPECT_EQ(ds.state(), core::Dataset::State::Edit);
    EXPECT_EQ(stored("select len from song where id=2").toInt(), 10);
    // Moving away posts the pending edit.
    ASSERT_TRUE(ds.first());
    EXPECT_EQ(stored("select len from song where id=2").toInt(), 11);
}

TEST_F(DatasetTest, CancelRestoresAndRemoveDeletes) {
    core::Dataset ds(db, "Q_song");
    ds.setTable("song");
    ASSERT_TRUE(ds.open());
    ASSERT_TRUE(ds.locate("id", 2));
    ds.setField("name", QString("x"));
    ds.cancel();
    EXPECT_EQ(ds.field("name").toString(), QString("a"));
    ASSERT_TRUE(ds.append());
    ds.cancel();
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(ds.field("id").toInt(), 2);  // back on the row before the append

    ASSERT_TRUE(ds.remove());
    EXPECT_EQ(ds.recordCount(), 2);
    EXPECT_EQ(stored("select count(*) from song where id=2").toInt(), 0);
}

TEST_F(DatasetTest, RefusingHookKeepsTheEditAndWritesNothing) {
    core::Dataset ds(db, "Q_song");
    ds.setTable("song");
    ASSERT_TRUE(ds.open());
    int calls = 0;
    ds.setBeforePost([&](core::Dataset&) {
        ++calls;
        return false;
    });
    ds.setField("len", 99);
    EXPECT_FALSE(ds.post());
    EXPECT_FALSE(ds.next());  // cannot leave the row while the post is refused
    EXPECT_EQ(ds.row(), 0);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(ds.state(), core::Dataset::State::Edit);
    EXPECT_EQ(stored("select len from song where id=1").toInt(), 30);
}

TEST_F(DatasetTest, SignalsFieldChangesMovesEditsAndDeletes) {
    core::Dataset ds(db, "Q_song");
    ds.setTable("song");
    ASSERT_TRUE(ds.open());
    QStringList changes;
    int edits = 0;
    int deletes = 0;
    QObject::connect(&ds, &core::Dataset::dataChange, [&](const QString& f) { changes << f; });
    QObject::connect(&ds, &core::Dataset::afterEdit, [&] { ++edits; });
    QObject::connect(&ds, &core::Dataset::afterDelete, [&] { ++deletes; });
    ds.setField("len", 1);
    EXPECT_EQ(changes, QStringList{"len"});
    EXPECT_EQ(edits, 1);
    ds.cancel();
    changes.clear();
    ds.next();
    EXPECT_EQ(changes, QStringList{QString()});  // a move names no field
    ds.requery();
    EXPECT_EQ(changes.size(), 2);
    ds.remove();
    EXPECT_EQ(deletes, 1);
}

TEST_F(DatasetTest, CachedUpdatesNeverReachTheTable) {
    core::Dataset ds(db, "Q_tmp");
    ds.setTable("song");
    ds.setCachedUpdates(true);
    ASSERT_TRUE(ds.open());
    ds.setField("name", QString("changed"));
    ASSERT_TRUE(ds.post());
    ASSERT_TRUE(ds.next());
    ASSERT_TRUE(ds.remove());
    EXPECT_EQ(ds.recordCount(), 2);
    EXPECT_EQ(ds.field("id").toInt(), 5);
    EXPECT_EQ(stored("select name from song where id=1").toString(), QString("c"));
    EXPECT_EQ(stored("select count(*) from song").toInt(), 3);
}

TEST_F(DatasetTest, LookupFieldFollowsItsKeyAndSetsIt) {
    core::Dataset albums(db, "Q_album");
    albums.setTable("album");
    core::Dataset songs(db, "Q_song");
    songs.setSql("select * from song order by id");
    songs.addLookupField("title", "album", &albums, "ID", "title");
    ASSERT_TRUE(albums.open());
    ASSERT_TRUE(songs.open());
    EXPECT_EQ(songs.fieldNames().last(), QString("title"));
    EXPECT_EQ(songs.field("title").toString(), QStringLiteral("晨曲"));
    ASSERT_TRUE(songs.setField("title", QStringLiteral("晚歌")));
    EXPECT_EQ(songs.field("album").toInt(), 2);
    EXPECT_FALSE(songs.setField("title", QStringLiteral("无此专辑")));
    ASSERT_TRUE(songs.post());
    EXPECT_EQ(stored("select album from song where id=1").toInt(), 2);
}

TEST_F(DatasetTest, ModelShowsRowsAndStoresEditsThroughPost) {
    core::Dataset ds(db, "Q_song");
    ds.setSql("select * from song order by id");
    ASSERT_TRUE(ds.open());
    EXPECT_EQ(ds.rowCount(), 3);
    EXPECT_EQ(ds.columnCount(), 5);
    EXPECT_EQ(ds.headerData(1, Qt::Horizontal).toString(), QString("name"));
    EXPECT_EQ(ds.data(ds.index(2, 2)).toInt(), 20);
    EXPECT_TRUE(ds.setData(ds.index(1, 1), QString("A")));
    EXPECT_EQ(ds.row(), 1);
    EXPECT_EQ(stored("select name from song where id=2").toString(), QString("A"));
    ds.setBeforePost([](core::Dataset&) { return false; });
    EXPECT_FALSE(ds.setData(ds.index(1, 1), QString("B")));
    EXPECT_EQ(stored("select name from song where id=2").toString(), QString("A"));
}

TEST_F(DatasetTest, ReportsDatabaseErrors) {
    core::Dataset ds(db, "Q_bad");
    int failed = 0;
    QObject::connect(&ds, &core::Dataset::failed, [&] { ++failed; });
    ds.setSql("select * from nosuchtable");
    EXPECT_FALSE(ds.open());
    EXPECT_FALSE(ds.isOpen());
    EXPECT_EQ(failed, 1);
    ds.setSql("select 1 as id");
    ASSERT_TRUE(ds.open());
    ds.setField("id", 2);
    EXPECT_FALSE(ds.post());  // no table to write to
    EXPECT_EQ(failed, 2);
}
