// Opening refuses everything that is not our keyed database and never writes to it.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include "platform/store/store.h"

namespace {

constexpr char kKey[] = "482604";

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

void makeDatabase(const QString& path, const QString& key) {
    platform::Database db;
    ASSERT_TRUE(db.create(path, key)) << db.errorText().toStdString();
    ASSERT_TRUE(
        db.exec("CREATE TABLE t (id INTEGER PRIMARY KEY, v TEXT);"
                "INSERT INTO t (v) VALUES ('甲'), ('乙');"))
        << db.errorText().toStdString();
}

}  // namespace

TEST(Database, OpenRefusesMissingFileAndDoesNotCreateIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath("draft.dat");
    platform::Database db;
    EXPECT_FALSE(db.open(path, kKey));
    EXPECT_FALSE(db.isOpen());
    EXPECT_FALSE(db.errorText().isEmpty());
    EXPECT_FALSE(QFile::exists(path));
}

struct BadFile {
    const char* name;
    std::function<void(const QString& path)> make;
};

class DatabaseRefuses : public ::testing::TestWithParam<BadFile> {};

TEST_P(DatabaseRefuses, FailsAndLeavesTheBytesAlone) {
    QTemporaryDir dir;
    const QString path = dir.filePath("draft.dat");
    GetParam().make(path);
    const QByteArray before = readAll(path);

    platform::Database db;
    EXPECT_FALSE(db.open(path, kKey));
    EXPECT_FALSE(db.isOpen());
    EXPECT_FALSE(db.errorText().isEmpty());
    EXPECT_FALSE(db.exec("CREATE TABLE x (a)"));
    db.close();

    EXPECT_EQ(readAll(path), before);
    // No journal or other side file was left behind either.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"draft.dat"});
}

INSTANTIATE_TEST_SUITE_P(
    BadFiles, DatabaseRefuses,
    ::testing::Values(BadFile{"ZeroLength", [](const QString& p) { writeAll(p, {}); }},
                      BadFile{"RandomBytes",
                              [](const QString& p) {
                                  QByteArray bytes(8192, '\0');
                                  QRandomGenerator gen(1234);
                                  for (auto& b : bytes) b = char(gen.bounded(256));
                                  writeAll(p, bytes);
                              }},
                      BadFile{"PlainSqlite", [](const QString& p) { makeDatabase(p, QString()); }},
                      BadFile{"OtherKey", [](const QString& p) { makeDatabase(p, "111111"); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Database, OpensItsOwnKeyedFileAndReadsIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath("draft.dat");
    makeDatabase(path, kKey);
    // Encrypted: the plain SQLite header is not in the file.
    EXPECT_FALSE(readAll(path).startsWith("SQLite format 3"));

    platform::Database db;
    ASSERT_TRUE(db.open(path, kKey)) << db.errorText().toStdString();
    platform::Statement st(db, "select v from t order by id");
    ASSERT_TRUE(st.ok());
    ASSERT_EQ(st.step(), platform::StepResult::Row);
    EXPECT_EQ(st.value(0).toString(), QStringLiteral("甲"));
}

TEST(Database, CreateRefusesAnExistingPath) {
    QTemporaryDir dir;
    const QString path = dir.filePath("x.dat");
    writeAll(path, "keep me");
    platform::Database db;
    EXPECT_FALSE(db.create(path, kKey));
    EXPECT_EQ(readAll(path), QByteArray("keep me"));
}

TEST(Database, TransactionRollsBackUnlessCommitted) {
    QTemporaryDir dir;
    const QString path = dir.filePath("t.dat");
    makeDatabase(path, kKey);
    platform::Database db;
    ASSERT_TRUE(db.open(path, kKey));
    auto count = [&] {
        platform::Statement st(db, "select count(*) from t");
        st.step();
        return st.value(0).toInt();
    };
    {
        platform::Transaction tx(db);
        ASSERT_TRUE(tx.active());
        ASSERT_TRUE(db.exec("INSERT INTO t (v) VALUES ('丙')"));
        EXPECT_EQ(count(), 3);
    }
    EXPECT_EQ(count(), 2);
    {
        platform::Transaction tx(db);
        ASSERT_TRUE(db.exec("INSERT INTO t (v) VALUES ('丁')"));
        EXPECT_EQ(db.lastInsertId(), 3);
        EXPECT_EQ(db.changes(), 1);
        EXPECT_TRUE(tx.commit());
    }
    EXPECT_EQ(count(), 3);
}

TEST(Database, ExecReportsErrors) {
    QTemporaryDir dir;
    const QString path = dir.filePath("t.dat");
    makeDatabase(path, kKey);
    platform::Database db;
    ASSERT_TRUE(db.open(path, kKey));
    EXPECT_FALSE(db.exec("select * from nosuchtable"));
    EXPECT_TRUE(db.errorText().contains("nosuchtable"));
    EXPECT_TRUE(db.exec("select 1"));
    EXPECT_TRUE(db.errorText().isEmpty());
}
