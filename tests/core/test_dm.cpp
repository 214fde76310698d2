// The data module: connection, shared datasets, the flags and the checks before a plan or a
// timetable entry is stored.
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include "platform/prompter/prompter.h"
#include "platform/store/store.h"
#include "speaker/core/dm.h"

#ifdef SHIPPED_DRAFT_DAT

namespace {

const QString kPlanFormat = QStringLiteral("开始时间或结束时间格式不对! 按ESC取消");
const QString kPlanOrder = QStringLiteral("开始时间不能大于结束时间! 按ESC取消");
const QString kInterval = QStringLiteral("重复播放时间间隔不能为 0 ! 按ESC取消");

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList warnings(const platform::ScriptedPrompter& p) {
    QStringList texts;
    for (const auto& box : p.shown())
        if (box.kind == platform::MessageKind::Warning) texts << box.text;
    return texts;
}

// A program folder holding a copy of the shipped database.
class DmTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFile::copy(QStringLiteral(SHIPPED_DRAFT_DAT), dir.filePath("draft.dat")));
        dm = core::DM::create(dir.path(), prompter);
        ASSERT_NE(dm, nullptr);
        ASSERT_TRUE(check.open(dir.filePath("draft.dat"), "482604"));
    }
    QVariant stored(const QString& sql) {
        platform::Statement st(check, sql);
        return st.step() == platform::StepResult::Row ? st.value(0) : QVariant();
    }
    QTemporaryDir dir;
    platform::ScriptedPrompter prompter;
    std::unique_ptr<core::DM> dm;
    platform::Database check;  // a second connection, as another process would see the file
};

}  // namespace

TEST(DmConnection, ConnectionTextCarriesTheDatabasePassword) {
    const QString c = core::DM::connectionString("/opt/speaker/draft.dat");
    EXPECT_TRUE(c.startsWith(
        "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=/opt/speaker/draft.dat;"
        "Mode=Share Deny None;Extended Properties=\"\";Jet OLEDB:System database=\"\";"));
    EXPECT_TRUE(c.endsWith("Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False"));
    EXPECT_TRUE(c.contains(";Jet OLEDB:New Database Password=\"\";"));
    EXPECT_EQ(core::DM::databasePassword(c), QString("482604"));
    EXPECT_EQ(core::DM::databasePassword("Jet OLEDB:New Database Password=\"9\";"), QString());
    EXPECT_EQ(core::DM::databasePassword("a=\"x;y\";Jet OLEDB:Database Password=\"1;2\""),
              QString("1;2"));
}

struct BadData {
    const char* name;
    std::function<void(const QString& path)> make;  // null: no file at all
};

class DmRefuses : public ::testing::TestWithParam<BadData> {};

TEST_P(DmRefuses, WarnsAndLeavesTheFileAsItWas) {
    QTemporaryDir dir;
    const QString path = dir.filePath("draft.dat");
    if (GetParam().make) GetParam().make(path);
    const bool existed = QFile::exists(path);
    const QByteArray before = readAll(path);

    platform::ScriptedPrompter prompter;
    EXPECT_EQ(core::DM::create(dir.path() + "/", prompter), nullptr);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].kind, platform::MessageKind::Warning);
    EXPECT_EQ(prompter.shown()[0].text, QStringLiteral("数据连接失败!"));
    EXPECT_EQ(QFile::exists(path), existed);
    EXPECT_EQ(readAll(path), before);
}

INSTANTIATE_TEST_SUITE_P(
    BadFiles, DmRefuses,
    ::testing::Values(
        BadData{"Missing", nullptr},
        BadData{"ZeroLength", [](const QString& p) { writeAll(p, {}); }},
        BadData{"RandomBytes",
                [](const QString& p) {
                    QByteArray bytes(4096, '\0');
                    QRandomGenerator gen(99);
                    for (auto& b : bytes) b = char(gen.bounded(256));
                    writeAll(p, bytes);
                }},
        BadData{"PlainSqlite",
                [](const QString& p) {
                    platform::Database db;
                    ASSERT_TRUE(db.create(p, QString()));
                    ASSERT_TRUE(db.exec("CREATE TABLE draft (id INTEGER PRIMARY KEY)"));
                }},
        BadData{"OtherKey",
                [](const QString& p) {
                    platform::Database db;
                    ASSERT_TRUE(db.create(p, "654321"));
                    ASSERT_TRUE(db.exec("CREATE TABLE draft (id INTEGER PRIMARY KEY)"));
                }},
        BadData{"KeyedWithoutOurTables",
                [](const QString& p) {
                    platform::Database db;
                    ASSERT_TRUE(db.create(p, "482604"));
                    ASSERT_TRUE(db.exec("CREATE TABLE other (id INTEGER PRIMARY KEY)"));
                }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DmTest, OpensTheSharedDatasets) {
    EXPECT_EQ(dm->objectName(), QString("DM"));
    EXPECT_TRUE(prompter.shown().empty());
    const struct {
        core::Dataset& ds;
        const char* name;
        int rows;
    } cases[] = {
        {dm->Q_telltime(), "Q_telltime", 48}, {dm->Q_history(), "Q_history", 0},
        {dm->Q_textfile(), "Q_textfile", 7},  {dm->Q_draft(), "Q_draft", 9},
        {dm->Q_filelist(), "Q_filelist", 3},  {dm->Q_holiday(), "Q_holiday", 4},
        {dm->Q_reminder(), "Q_reminder", 11}, {dm->Q_scheduling(), "Q_scheduling", 3},
        {dm->Q_sch_det(), "Q_sch_det", 3},    {dm->q_delaytime(), "q_delaytime", 10},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.ds.objectName(), QString(c.name));
        EXPECT_TRUE(c.ds.isOpen()) << c.name;
        EXPECT_EQ(c.ds.recordCount(), c.rows) << c.name;
    }
    for (core::Dataset* ds : {&dm->q_tmp(), &dm->ADOQuery1(), &dm->Q_mp3(), &dm->Q_tmptime()})
        EXPECT_FALSE(ds->isOpen()) << ds->objectName().toStdString();
    // Plans in start order, with the title of their text.
    EXPECT_EQ(dm->Q_draft().field("id").toInt(), 2);
    EXPECT_EQ(dm->Q_draft().field("title").toString(), QStringLiteral("营业准备词"));
    // Names sort by their character codes: 冬 before 夏 before 考.
    EXPECT_EQ(dm->Q_sch_det().field("scheduling").toString(), QStringLiteral("冬季作息时间"));
    EXPECT_EQ(dm->q_delaytime().fieldNames().at(0), QString("id"));
    EXPECT_TRUE(dm->Q_textfile().hasField("ID"));
}

TEST_F(DmTest, RefusedPlanTimesAreNeverStored) {
    const struct {
        const char* start;
        const char* end;
        QString warning;
    } cases[] = {
        {"8:00:00", "09:00:00", kPlanFormat},   {"24:00:00", "24:10:00", kPlanFormat},
        {"10:60:00", "11:00:00", kPlanFormat},  {"07:00:00", "7:30", kPlanFormat},
        {"", "08:00:00", kPlanFormat},          {"10:00:00", "09:59:59", kPlanOrder},
        {" 10:00:00", "09:59:59 ", kPlanOrder},
    };
    core::Dataset& plans = dm->Q_draft();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " " + c.end);
        prompter.clearShown();
        ASSERT_TRUE(plans.locate("id", 3));
        plans.setField("playtime", QString(c.start));
        plans.setField("endtime", QString(c.end));
        EXPECT_FALSE(plans.post());
        EXPECT_EQ(warnings(prompter), QStringList{c.warning});
        EXPECT_EQ(stored("select playtime||'-'||endtime from draft where id=3").toString(),
                  QString("10:00:00-10:30:00"));
        if (c.warning == kPlanOrder) {
            // The order error rolls the edit back.
            EXPECT_EQ(plans.state(), core::Dataset::State::Browse);
            EXPECT_EQ(plans.field("playtime").toString(), QString("10:00:00"));
        } else {
            // A malformed time keeps the row in edit state for the user to correct.
            EXPECT_EQ(plans.state(), core::Dataset::State::Edit);
            plans.cancel();
        }
    }
}

TEST_F(DmTest, AcceptedPlanIsStoredWithItsAdjustments) {
    core::Dataset& plans = dm->Q_draft();
    ASSERT_TRUE(plans.append());
    plans.setField("textfileid", 6);
    plans.setField("playtime", QString(" 08:00:00 "));
    plans.setField("endtime", QString("08:00:00"));  // equal times are allowed
    plans.setField("txtplay", true);
    plans.setField("dumpplay", true);
    plans.setField("isstop", false);
    plans.setField("stoptime", -5);
    ASSERT_TRUE(plans.post()) << warnings(prompter).join(',').toStdString();
    EXPECT_TRUE(prompter.shown().empty());
    const int id = plans.field("id").toInt();
    EXPECT_EQ(id, 60);
    EXPECT_EQ(plans.field("title").toString(), QStringLiteral("电影院入场"));
    EXPECT_EQ(stored(QString("select playtime||'|'||endtime||'|'||stoptime||'|'||isstop "
                             "from draft where id=%1")
                         .arg(id))
                  .toString(),
              QString("08:00:00|08:00:00|0|-1"));
}

TEST_F(DmTest, TimetableEntryNeedsARepeatInterval) {
    core::Dataset& entries = dm->Q_mp3();
    entries.setSql(core::DM::mp3Sql);
    entries.setParam("aa", QStringLiteral("夏季作息时间"));
    ASSERT_TRUE(entries.open());
    ASSERT_EQ(entries.recordCount(), 10);
    EXPECT_EQ(entries.field("name").toString(), QStringLiteral("起床号"));
    const int id = entries.field("id").toInt();

    const struct {
        QVariant stoptime;
        bool txtplay;
        bool accepted;
    } cases[] = {
        {QVariant(0), true, false}, {QVariant(), true, false},  {QVariant(-3), true, false},
        {QVariant(0), false, true}, {QVariant(15), true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stoptime.toString().toStdString() + (c.txtplay ? " text" : ""));
        prompter.clearShown();
        ASSERT_TRUE(entries.locate("id", id));
        entries.setField("txtplay", c.txtplay);
        entries.setField("dumpplay", true);
        entries.setField("isstop", false);
        entries.setField("stoptime", c.stoptime);
        EXPECT_EQ(entries.post(), c.accepted);
        const QString row =
            stored(QString("select txtplay||'|'||ifnull(stoptime,'null')||'|'||isstop from "
                           "sch_det where id=%1")
                       .arg(id))
                .toString();
        if (c.accepted) {
            EXPECT_TRUE(prompter.shown().empty());
            EXPECT_EQ(row, QString("%1|%2|-1").arg(c.txtplay ? -1 : 0).arg(c.stoptime.toInt()));
        } else {
            EXPECT_EQ(warnings(prompter), QStringList{kInterval});
            EXPECT_EQ(entries.state(), core::Dataset::State::Edit);
            EXPECT_TRUE(row.endsWith("|-1"));  // nothing of the refused edit was written
            entries.cancel();
        }
    }
    // The entry check also refuses reversed times and rolls the edit back.
    prompter.clearShown();
    ASSERT_TRUE(entries.locate("id", id));
    entries.setField("endtime", QString("06:00:00"));
    EXPECT_FALSE(entries.post());
    EXPECT_EQ(warnings(prompter), QStringList{kPlanOrder});
    EXPECT_EQ(entries.state(), core::Dataset::State::Browse);
    EXPECT_EQ(stored(QString("select endtime from sch_det where id=%1").arg(id)).toString(),
              QString("06:33:00"));
}

TEST_F(DmTest, FlagsFollowTheirDatasets) {
    dm->datachanged = false;
    dm->Q_draft().setField("ttsvolume", 50);
    EXPECT_TRUE(dm->datachanged);
    dm->Q_draft().cancel();

    dm->datachanged = false;
    dm->Q_draft().next();  // a move counts as a change
    EXPECT_TRUE(dm->datachanged);

    dm->datachanged = false;
    dm->Q_mp3().setSql(core::DM::mp3Sql);
    dm->Q_mp3().setParam("aa", QStringLiteral("考试时间表"));
    dm->Q_mp3().open();
    EXPECT_TRUE(dm->datachanged);

    dm->telltimechanged = false;
    dm->datachanged = false;
    ASSERT_TRUE(dm->Q_telltime().locate("stime", QString("08:00:00")));
    EXPECT_TRUE(dm->telltimechanged);
    ASSERT_TRUE(dm->Q_telltime().setField("isplay", true));
    ASSERT_TRUE(dm->Q_telltime().post());
    EXPECT_FALSE(dm->datachanged);
    EXPECT_EQ(stored("select isplay from telltime where stime='08:00:00'").toInt(), -1);

    dm->telltimechanged = false;
    dm->Q_textfile().next();
    EXPECT_TRUE(dm->telltimechanged);

    core::Dataset& tmp = dm->Q_tmptime();
    tmp.setSql(core::DM::mp3Sql);
    tmp.setParam("aa", QStringLiteral("考试时间表"));
    ASSERT_TRUE(tmp.open());
    dm->tmpmodified = false;
    tmp.setField("playtime", QString("08:57:00"));
    EXPECT_TRUE(dm->tmpmodified);
    ASSERT_TRUE(tmp.post());
    dm->tmpmodified = false;
    ASSERT_TRUE(tmp.remove());
    EXPECT_TRUE(dm->tmpmodified);
    // The working copy never writes back.
    EXPECT_EQ(stored("select count(*) from sch_det where playtime='08:57:00'").toInt(), 0);
    EXPECT_EQ(stored("select count(*) from sch_det where scheduling='考试时间表'").toInt(), 4);
}

#endif
