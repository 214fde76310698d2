// The entry editor fschplaymp3: its controls, the checks of 增加列表, what an added entry
// stores, and in-place changes in its grid with the store's time checks.
#include "timetablesfixture.h"

#include "speaker/timetables/entriesmodel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTimeEdit>
#include <QToolButton>

namespace {

using timetables::EntriesModel;
const QString kSummer = QStringLiteral("夏季作息时间");
const QString kTable = QStringLiteral("测试表");

class EntryEditor : public TimetablesTest {
protected:
    void SetUp() override {
        TimetablesTest::SetUp();
        editor->setSchname(kTable);
        editor->FormShow();
        editor->show();
    }
    QAbstractItemModel* grid() { return editor->DBGrid1->model(); }
    QModelIndex cell(int row, int column) { return grid()->index(row, column); }
};

TEST_F(EntryEditor, ShowingSetsTheCaptionTheTimeBoxesAndTheDefaults) {
    EXPECT_EQ(editor->windowTitle(), kTable);
    // Now is 09:15:20: start in 30 minutes, end in 35.
    EXPECT_EQ(editor->TimeEdit1->time().toString("hh:mm:ss"), "09:45:20");
    EXPECT_EQ(editor->TimeEdit2->time().toString("hh:mm:ss"), "09:50:20");
    EXPECT_EQ(editor->TimeEdit1->text(), "09:45:20");
    EXPECT_EQ(editor->edit1->count(), 21);
    EXPECT_EQ(editor->edit1->currentText(), "");
    const QList<bool> days{true, true, true, true, true, false, false};
    const QList<QCheckBox*> boxes{editor->CheckBox1, editor->CheckBox2, editor->CheckBox3,
                                  editor->CheckBox4, editor->CheckBox5, editor->CheckBox6,
                                  editor->CheckBox7};
    for (int d = 0; d < 7; ++d) EXPECT_EQ(boxes[d]->isChecked(), days[d]) << d;
    EXPECT_TRUE(editor->RB1->isChecked());
    EXPECT_TRUE(editor->btn_open->isEnabled());
    EXPECT_FALSE(editor->Comb1->isEnabled());
    EXPECT_FALSE(editor->btn_folder->isEnabled());
    EXPECT_EQ(editor->Comb2->currentText(), "全天侯");
    EXPECT_EQ(editor->SpinEdit1->value(), 100);
    EXPECT_EQ(editor->SpinEdit1->minimum(), 25);
    EXPECT_EQ(editor->Btn_close->text(), "退    出");
    EXPECT_FALSE(editor->mp3_player->isEnabled());
    EXPECT_FALSE(editor->mp3_stop->isEnabled());
    // Showing again at another time sets the boxes afresh.
    clock.advance(3600 * 1000);
    editor->FormShow();
    EXPECT_EQ(editor->TimeEdit1->text(), "10:45:20");
}

TEST_F(EntryEditor, TheTimeBoxesWrapPastMidnight) {
    clock.setWallTime(QDateTime(QDate(2026, 12, 14), QTime(23, 40, 0)));
    editor->FormShow();
    EXPECT_EQ(editor->TimeEdit1->text(), "00:10:00");
    EXPECT_EQ(editor->TimeEdit2->text(), "00:15:00");
}

struct ModeCase {
    const char* label;
    int radio;  // 1..3
    bool open, list, folder;
};

class Modes : public EntryEditor, public ::testing::WithParamInterface<ModeCase> {};

// Each mode enables its own controls; with an empty music list every choice warns, and the
// mode still changes.
TEST_P(Modes, EnableTheirControlsAndWarnOfAnEmptyMusicList) {
    const ModeCase& c = GetParam();
    ASSERT_TRUE(dm->conn1().exec("delete from filelist"));  // the shipped list is not empty
    editor->RB3->click();
    prompter.clearShown();
    QRadioButton* radios[3] = {editor->RB1, editor->RB2, editor->RB3};
    radios[c.radio - 1]->click();
    EXPECT_EQ(messages(), QStringList{"列表框没有音乐，请增加!"});
    EXPECT_TRUE(radios[c.radio - 1]->isChecked());
    EXPECT_EQ(editor->btn_open->isEnabled(), c.open);
    EXPECT_EQ(editor->Comb1->isEnabled(), c.list);
    EXPECT_EQ(editor->btn_folder->isEnabled(), c.folder);
}

INSTANTIATE_TEST_SUITE_P(EntryEditor, Modes,
                         ::testing::Values(ModeCase{"File", 1, true, false, false},
                                           ModeCase{"MusicList", 2, false, true, false},
                                           ModeCase{"Folder", 3, false, true, true}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(EntryEditor, WithMusicInTheListTheModesDoNotWarn) {
    platform::Database& db = dm->conn1();
    ASSERT_TRUE(db.exec("insert into filelist (filename, filepath) values ('a.mp3', '/m/a.mp3')"));
    editor->RB2->click();
    EXPECT_TRUE(messages().isEmpty());
}

struct AddCase {
    const char* label;
    QString subject;
    QString start, end;
    int radio;
    QString file, folder;
    bool anyDay;
    QString message;  // empty: stored
    platform::MessageKind kind;
};

class AddChecks : public EntryEditor, public ::testing::WithParamInterface<AddCase> {};

TEST_P(AddChecks, RefuseInOrderOrStore) {
    const AddCase& c = GetParam();
    editor->edit1->setEditText(c.subject);
    editor->TimeEdit1->setTime(QTime::fromString(c.start, "hh:mm:ss"));
    editor->TimeEdit2->setTime(QTime::fromString(c.end, "hh:mm:ss"));
    QRadioButton* radios[3] = {editor->RB1, editor->RB2, editor->RB3};
    radios[c.radio - 1]->setChecked(true);
    editor->statusPanel->setText(c.file);
    editor->Edit2->setText(c.folder);
    if (!c.anyDay)
        for (QCheckBox* b : editor->findChildren<QCheckBox*>())
            if (b->objectName().startsWith("CheckBox")) b->setChecked(false);
    editor->Btn_addClick();
    if (c.message.isEmpty()) {
        EXPECT_TRUE(messages().isEmpty());
        EXPECT_EQ(entryCount(kTable), 1);
        EXPECT_EQ(grid()->rowCount(), 1);
    } else {
        ASSERT_EQ(messages(), QStringList{c.message});
        EXPECT_EQ(prompter.shown().front().kind, c.kind);
        EXPECT_EQ(entryCount(kTable), 0);
        EXPECT_EQ(grid()->rowCount(), 0);
    }
}

const QString kSong = QStringLiteral("/music/上课 铃.mp3");
using K = platform::MessageKind;
INSTANTIATE_TEST_SUITE_P(
    EntryEditor, AddChecks,
    ::testing::Values(AddCase{"NoSubject", "  ", "08:00:00", "08:00:30", 1, kSong, "", true,
                              "请输入主题内容!", K::Information},
                      AddCase{"EqualTimes", "上课", "08:00:00", "08:00:00", 1, kSong, "", true,
                              "开始时间不能大于结束时间，请重新输入时间范围!", K::Warning},
                      AddCase{"EndBeforeStart", "上课", "08:00:01", "08:00:00", 1, kSong, "", true,
                              "开始时间不能大于结束时间，请重新输入时间范围!", K::Warning},
                      AddCase{"NoFile", "上课", "08:00:00", "08:00:30", 1, " ", "", true,
                              "请选择所需播放的歌曲!", K::Warning},
                      AddCase{"NoFolder", "上课", "08:00:00", "08:00:30", 3, "", " ", true,
                              "请选择所播放的目录!", K::Warning},
                      AddCase{"NoDay", "上课", "08:00:00", "08:00:30", 1, kSong, "", false,
                              "请选择播音日期!", K::Warning},
                      AddCase{"SubjectFirst", "", "08:00:00", "07:00:00", 1, "", "", false,
                              "请输入主题内容!", K::Information},
                      AddCase{"File", "上课", "08:00:00", "08:00:01", 1, kSong, "", true, "",
                              K::Warning},
                      AddCase{"MusicListNeedsNoFile", "午间", "12:00:00", "12:20:00", 2, "", "",
                              true, "", K::Warning},
                      AddCase{"Folder", "放学", "17:00:00", "17:05:00", 3, "", "/srv/音乐", true,
                              "", K::Warning}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(EntryEditor, AFileEntryStoresEveryField) {
    editor->edit1->setEditText(QStringLiteral(" 第一节上课"));
    editor->TimeEdit1->setTime(QTime(7, 55, 0));
    editor->TimeEdit2->setTime(QTime(7, 55, 30));
    editor->CheckBox1->setChecked(false);
    editor->CheckBox7->setChecked(true);
    editor->chk_dump->setChecked(true);
    editor->Comb2->setCurrentIndex(2);
    editor->SpinEdit1->setValue(60);
    prompter.queueFiles({kSong});
    editor->btn_open->click();
    EXPECT_EQ(editor->statusPanel->text(), kSong);
    editor->setSchname(QStringLiteral(" ") + kTable + QStringLiteral(" "));
    editor->Btn_add->click();
    EXPECT_EQ(editor->statusPanel->text(), "");  // cleared for the next entry
    ASSERT_EQ(entryCount(kTable), 1);
    auto one = [&](const char* field) { return entryField(kTable, field).front(); };
    EXPECT_EQ(one("name").toString(), " 第一节上课");
    EXPECT_EQ(one("filepath").toString(), kSong);
    EXPECT_EQ(one("playmodel").toString(), "单曲播放");
    EXPECT_EQ(one("dumpplay").toInt(), -1);
    EXPECT_EQ(one("playtime").toString(), "07:55:00");
    EXPECT_EQ(one("endtime").toString(), "07:55:30");
    EXPECT_EQ(one("txtplay").toInt(), 0);
    EXPECT_EQ(one("isstop").toInt(), -1);
    EXPECT_EQ(one("weather").toString(), "仅雨天");
    EXPECT_EQ(one("voice").toInt(), 60);
    EXPECT_EQ(one("Monday").toInt(), 0);
    EXPECT_EQ(one("Friday").toInt(), -1);
    EXPECT_EQ(one("Saturday").toInt(), 0);
    EXPECT_EQ(one("Sunday").toInt(), -1);
    // The grid shows the new row as the current one.
    EXPECT_EQ(editor->DBGrid1->currentIndex().row(), 0);
}

TEST_F(EntryEditor, ListAndFolderEntriesAreStoredWithoutLoop) {
    editor->chk_dump->setChecked(true);
    editor->edit1->setEditText(QStringLiteral("午间音乐"));
    editor->RB2->click();
    editor->Comb1->setCurrentIndex(1);
    editor->Btn_addClick();
    editor->RB3->click();
    prompter.queueFolder(QStringLiteral("/srv/铃声 目录"));
    editor->btn_folder->click();
    EXPECT_EQ(editor->Edit2->text(), "/srv/铃声 目录");
    editor->Comb1->setCurrentIndex(0);
    editor->TimeEdit1->setTime(QTime(10, 0, 0));
    editor->TimeEdit2->setTime(QTime(10, 5, 0));
    editor->Btn_addClick();
    ASSERT_EQ(entryCount(kTable), 2);
    QVariantList files = entryField(kTable, "filepath");
    QVariantList models = entryField(kTable, "playmodel");
    // The list entry starts at 09:45:20 (the box's default), the folder at 10:00:00.
    EXPECT_EQ(files[0].toString(), "播放列表框音乐");
    EXPECT_EQ(models[0].toString(), "随机播放");
    EXPECT_EQ(files[1].toString(), "目录/srv/铃声 目录");
    EXPECT_EQ(models[1].toString(), "顺序播放");
    for (const QVariant& loop : entryField(kTable, "dumpplay")) EXPECT_EQ(loop.toInt(), 0);
    // The loop can be ticked later in the grid.
    const int row = grid()->rowCount() - 1;
    EXPECT_TRUE(grid()->setData(cell(row, EntriesModel::ColLoop), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(entryField(kTable, "dumpplay")[1].toInt(), -1);
}

struct GridTimeCase {
    const char* label;
    int column;
    QString typed;
    QString message;  // empty: stored
};

class GridTimes : public EntryEditor, public ::testing::WithParamInterface<GridTimeCase> {};

// The stored entry 08:00:00 to 08:00:30, changed in place.
TEST_P(GridTimes, AreCheckedBeforeTheyAreStored) {
    const GridTimeCase& c = GetParam();
    editor->edit1->setEditText(QStringLiteral("上课铃"));
    editor->TimeEdit1->setTime(QTime(8, 0, 0));
    editor->TimeEdit2->setTime(QTime(8, 0, 30));
    editor->RB2->setChecked(true);
    editor->Btn_addClick();
    prompter.clearShown();
    const bool stored = grid()->setData(cell(0, c.column), c.typed);
    const QString field = EntriesModel::fieldOf(c.column);
    if (c.message.isEmpty()) {
        EXPECT_TRUE(stored);
        EXPECT_TRUE(messages().isEmpty());
        EXPECT_EQ(entryField(kTable, field).front().toString(), c.typed.trimmed());
    } else {
        EXPECT_FALSE(stored);
        EXPECT_EQ(messages(), QStringList{c.message});
        EXPECT_EQ(entryField(kTable, "playtime").front().toString(), "08:00:00");
        EXPECT_EQ(entryField(kTable, "endtime").front().toString(), "08:00:30");
        // Escape drops a change the check refused; the grid shows the stored value again.
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(editor->DBGrid1, &esc);
        EXPECT_EQ(dm->Q_mp3().state(), core::Dataset::State::Browse);
        EXPECT_EQ(cell(0, c.column).data().toString(),
                  c.column == EntriesModel::ColPlaytime ? "08:00:00" : "08:00:30");
    }
}

const QString kFormat = QStringLiteral("开始时间或结束时间格式不对! 按ESC取消");
const QString kOrder = QStringLiteral("开始时间不能大于结束时间! 按ESC取消");
INSTANTIATE_TEST_SUITE_P(
    EntryEditor, GridTimes,
    ::testing::Values(
        GridTimeCase{"Valid", EntriesModel::ColPlaytime, "07:59:00", ""},
        GridTimeCase{"EqualTimesPass", EntriesModel::ColEndtime, "08:00:00", ""},
        GridTimeCase{"BlanksAroundAreDropped", EntriesModel::ColEndtime, " 09:00:00 ", ""},
        GridTimeCase{"HourTooBig", EntriesModel::ColPlaytime, "24:00:00", kFormat},
        GridTimeCase{"MinuteTooBig", EntriesModel::ColEndtime, "08:60:00", kFormat},
        GridTimeCase{"SecondTooBig", EntriesModel::ColEndtime, "08:00:60", kFormat},
        GridTimeCase{"HalfTypedMask", EntriesModel::ColPlaytime, "08:3:", kFormat},
        GridTimeCase{"NotDigits", EntriesModel::ColPlaytime, "ab:cd:ef", kFormat},
        GridTimeCase{"WrongSeparator", EntriesModel::ColPlaytime, "08-00-00", kFormat},
        GridTimeCase{"StartAfterEnd", EntriesModel::ColPlaytime, "08:00:31", kOrder},
        GridTimeCase{"EndBeforeStart", EntriesModel::ColEndtime, "07:00:00", kOrder}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(EntryEditor, OtherColumnsAreChangedInPlace) {
    editor->setSchname(kSummer);
    editor->FormShow();
    ASSERT_GT(grid()->rowCount(), 0);
    EXPECT_TRUE(grid()->setData(cell(0, EntriesModel::ColName), QStringLiteral("起床铃")));
    EXPECT_TRUE(grid()->setData(cell(0, EntriesModel::ColWeather), QStringLiteral("仅晴天")));
    EXPECT_TRUE(grid()->setData(cell(0, EntriesModel::ColVolume), 55));
    EXPECT_TRUE(grid()->setData(cell(0, EntriesModel::ColSunday), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(entryField(kSummer, "name").front().toString(), "起床铃");
    EXPECT_EQ(entryField(kSummer, "weather").front().toString(), "仅晴天");
    EXPECT_EQ(entryField(kSummer, "voice").front().toInt(), 55);
    EXPECT_EQ(entryField(kSummer, "Sunday").front().toInt(), -1);
    EXPECT_EQ(cell(0, EntriesModel::ColSunday).data(Qt::CheckStateRole).toInt(), Qt::Checked);
    // "No" is never edited.
    EXPECT_FALSE(grid()->flags(cell(0, EntriesModel::ColNo)) & Qt::ItemIsEditable);
}

TEST_F(EntryEditor, AWeatherOutsideThePickListShowsAsTheFirstChoice) {
    editor->setSchname(kSummer);
    editor->FormShow();
    platform::Database& db = dm->conn1();
    ASSERT_TRUE(db.exec("update sch_det set weather='' where id=1"));
    timetables::getgriddata(*dm, kSummer);
    EXPECT_EQ(cell(0, EntriesModel::ColWeather).data().toString(), "全天侯");
    EXPECT_EQ(cell(0, EntriesModel::ColWeather).data(Qt::EditRole).toString(), "");
}

TEST_F(EntryEditor, FileAndModeColumnsAreLockedAndShadedUntilUnlocked) {
    editor->setSchname(kSummer);
    editor->FormShow();
    for (int column : {int(EntriesModel::ColFile), int(EntriesModel::ColPlaymodel)}) {
        EXPECT_FALSE(grid()->flags(cell(0, column)) & Qt::ItemIsEditable);
        EXPECT_EQ(cell(0, column).data(Qt::BackgroundRole).value<QColor>(),
                  QColor(0xC0, 0xDC, 0xC0));
    }
    EXPECT_FALSE(grid()->setData(cell(0, EntriesModel::ColFile), QStringLiteral("/x.wav")));
    editor->N_unlock->trigger();
    for (int column : {int(EntriesModel::ColFile), int(EntriesModel::ColPlaymodel)}) {
        EXPECT_TRUE(grid()->flags(cell(0, column)) & Qt::ItemIsEditable);
        EXPECT_FALSE(cell(0, column).data(Qt::BackgroundRole).isValid());
    }
    EXPECT_TRUE(grid()->setData(cell(0, EntriesModel::ColFile), QStringLiteral("/x.wav")));
    EXPECT_EQ(entryField(kSummer, "filepath").front().toString(), "/x.wav");
    // Every showing locks them again.
    editor->FormShow();
    EXPECT_FALSE(grid()->flags(cell(0, EntriesModel::ColFile)) & Qt::ItemIsEditable);
}

TEST_F(EntryEditor, TheFileButtonSetsTheFileOfItsRowAndKeepsTheMode) {
    editor->setSchname(kSummer);
    editor->FormShow();
    const int row = 6;  // 中午: the music list
    editor->DBGrid1->setCurrentIndex(cell(row, EntriesModel::ColFile));
    const QString mode = cell(row, EntriesModel::ColPlaymodel).data().toString();
    prompter.queueFiles({QStringLiteral("/bells/午休.wav")});
    editor->chooseRowFile();
    EXPECT_EQ(cell(row, EntriesModel::ColFile).data().toString(), "/bells/午休.wav");
    EXPECT_EQ(entryField(kSummer, "filepath")[row].toString(), "/bells/午休.wav");
    EXPECT_EQ(cell(row, EntriesModel::ColPlaymodel).data().toString(), mode);
    EXPECT_EQ(cell(row, EntriesModel::ColFile).data(Qt::ToolTipRole).toString(),
              "点击选择音乐文件");
    // Cancelled: nothing changes.
    editor->chooseRowFile();
    EXPECT_EQ(entryField(kSummer, "filepath")[row].toString(), "/bells/午休.wav");
}

TEST_F(EntryEditor, ArrowingDownFromTheLastRowAddsNoRow) {
    editor->setSchname(kSummer);
    editor->FormShow();
    const int rows = grid()->rowCount();
    editor->DBGrid1->setCurrentIndex(cell(rows - 1, 1));
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(editor->DBGrid1, &down);
    EXPECT_EQ(grid()->rowCount(), rows);
    EXPECT_EQ(editor->DBGrid1->currentIndex().row(), rows - 1);
    EXPECT_EQ(dm->Q_mp3().state(), core::Dataset::State::Browse);
}

TEST_F(EntryEditor, TheGridFollowsTheCursorAndDeletesTheCurrentEntry) {
    editor->setSchname(kSummer);
    editor->FormShow();
    const int before = entryCount(kSummer);
    editor->DBGrid1->setCurrentIndex(cell(2, 1));
    EXPECT_EQ(dm->Q_mp3().row(), 2);
    const QVariant id = dm->Q_mp3().field("id");
    editor->N_delete->trigger();
    EXPECT_EQ(messages(), QStringList{"确信要删除该记录?"});
    EXPECT_EQ(entryCount(kSummer), before - 1);
    EXPECT_FALSE(entryField(kSummer, "id").contains(id));
    EXPECT_EQ(grid()->rowCount(), before - 1);
    // The active timetable changed: the bell grid is rebuilt.
    EXPECT_EQ(page.getsgrid2data, 1);
}

TEST_F(EntryEditor, ClosingDropsAChangeTheCheckRefused) {
    editor->setSchname(kSummer);
    editor->FormShow();
    EXPECT_FALSE(grid()->setData(cell(0, EntriesModel::ColPlaytime), QStringLiteral("99:99:99")));
    editor->Btn_close->click();
    EXPECT_EQ(dm->Q_mp3().state(), core::Dataset::State::Browse);
    EXPECT_EQ(entryField(kSummer, "playtime").front().toString(), "06:30:00");
}

}  // namespace
