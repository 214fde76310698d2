// The timetable list Fscheduling and the naming dialog Fschedul_add: create, copy, delete,
// the refusals and their messages, odd names end to end, and the main tab's rebuilds.
#include "timetablesfixture.h"

#include "speaker/timetables/entriesmodel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTimeEdit>

namespace {

const QString kSummer = QStringLiteral("夏季作息时间");
const QString kWinter = QStringLiteral("冬季作息时间");
const QString kExam = QStringLiteral("考试时间表");

TEST_F(TimetablesTest, ShowingListsTheTimetablesAndTheEntriesOfTheSelectedOne) {
    page.schindex = 1;
    list->FormShow();
    ASSERT_EQ(list->Comb1->count(), 3);
    EXPECT_EQ(list->Comb1->currentText(), kWinter);
    EXPECT_EQ(list->windowTitle(), "作息时间表编辑");
    QAbstractItemModel* grid = list->DBGrid1->model();
    ASSERT_EQ(grid->rowCount(), entryCount(kWinter));
    // "No" counts rows; the entries come in playtime order.
    EXPECT_EQ(grid->index(0, 0).data().toInt(), 1);
    EXPECT_EQ(grid->index(grid->rowCount() - 1, 0).data().toInt(), grid->rowCount());
    EXPECT_EQ(grid->index(0, timetables::EntriesModel::ColPlaytime).data().toString(), "06:50:00");
    EXPECT_EQ(grid->headerData(4, Qt::Horizontal).toString(), "歌曲或列表");
    EXPECT_FALSE(grid->flags(grid->index(0, 1)) & Qt::ItemIsEditable);
    // Changing the selector shows that timetable's entries.
    selectInList(kExam);
    EXPECT_EQ(grid->rowCount(), entryCount(kExam));
}

struct NameCase {
    const char* label;
    QString typed;
};

class OddNames : public TimetablesTest, public ::testing::WithParamInterface<NameCase> {};

// A new timetable with an odd name is stored as typed; an entry added to it carries the name
// without surrounding blanks and is found again by every lookup.
TEST_P(OddNames, WorkEndToEnd) {
    const QString typed = GetParam().typed;
    list->FormShow();
    scriptAddDialog(typed);
    list->newClick();
    EXPECT_EQ(add->windowTitle(), "建立新的作息时间表");
    EXPECT_EQ(messages(), QStringList{"新建成功!"});
    EXPECT_EQ(timetableNames().last(), typed);
    ASSERT_GE(list->Comb1->findText(typed), 0);

    selectInList(typed);
    EXPECT_EQ(list->DBGrid1->model()->rowCount(), 0);
    scriptEntryEditor([](timetables::Tfschplaymp3& d) {
        d.edit1->setEditText(QStringLiteral("上课铃"));
        d.RB2->click();  // the music list: no file needed
        d.Btn_addClick();
    });
    list->editClick();
    EXPECT_EQ(editor->windowTitle(), typed);
    EXPECT_EQ(page.schname, typed);
    EXPECT_EQ(entryCount(typed.trimmed()), 1);
    list->FormShow();
    selectInList(typed);
    EXPECT_EQ(list->DBGrid1->model()->rowCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(Timetables, OddNames,
                         ::testing::Values(NameCase{"BlankInside", QStringLiteral("夏令 时间")},
                                           NameCase{"BlanksAround", QStringLiteral("  期末考试 ")},
                                           NameCase{"Quotes",
                                                    QStringLiteral("O'Brien \"课表\"; --")},
                                           NameCase{"FiftyChinese", QString(50, QChar(0x94C3))}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(TimetablesTest, AnExistingNameIsRefusedButWithAnExtraBlankItIsNew) {
    list->FormShow();
    const QStringList before = timetableNames();
    scriptAddDialog(kSummer);
    list->newClick();
    EXPECT_EQ(messages(), QStringList{"该作息时间表已存在!"});
    EXPECT_EQ(prompter.shown().front().kind, platform::MessageKind::Warning);
    EXPECT_EQ(timetableNames(), before);

    prompter.clearShown();
    scriptAddDialog(kSummer + " ");
    list->newClick();
    EXPECT_EQ(messages(), QStringList{"新建成功!"});
    EXPECT_EQ(timetableNames().size(), before.size() + 1);
}

TEST_F(TimetablesTest, ABlankNameDoesNothing) {
    list->FormShow();
    const QStringList before = timetableNames();
    for (const QString& name : {QString(), QStringLiteral("   ")}) {
        scriptAddDialog(name);
        list->newClick();
    }
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(timetableNames(), before);
}

TEST_F(TimetablesTest, ANameLongerThanTheColumnIsCutAtFiftyCharacters) {
    list->FormShow();
    scriptAddDialog(QString(60, QChar(0x4E0A)));
    list->newClick();
    EXPECT_EQ(timetableNames().last(), QString(50, QChar(0x4E0A)));
}

TEST_F(TimetablesTest, CopyingStoresTheListedEntriesUnderTheNewName) {
    list->FormShow();
    selectInList(kWinter);
    const QString copy = QStringLiteral(" 冬季副本 ");
    scriptAddDialog(copy);
    list->copyClick();
    EXPECT_EQ(add->windowTitle(), "复制新的作息时间表");
    EXPECT_EQ(messages(), QStringList{"复制成功!"});
    EXPECT_EQ(timetableNames().last(), copy);
    // The copies carry the trimmed name and new ids; everything else is the same.
    const QString stored = copy.trimmed();
    ASSERT_EQ(entryCount(stored), entryCount(kWinter));
    for (const char* field : {"name", "playtime", "endtime", "filepath", "Monday", "Sunday",
                              "playmodel", "dumpplay", "isstop", "weather", "voice"})
        EXPECT_EQ(entryField(stored, field), entryField(kWinter, field)) << field;
    for (const QVariant& v : entryField(stored, "txtplay")) EXPECT_EQ(v.toInt(), 0);
    QVariantList ids = entryField(stored, "id");
    for (const QVariant& id : entryField(kWinter, "id")) EXPECT_FALSE(ids.contains(id));
    // The original is untouched.
    EXPECT_EQ(entryCount(kWinter), 9);
}

TEST_F(TimetablesTest, CopyingAnExistingNameCopiesNothing) {
    list->FormShow();
    selectInList(kWinter);
    const int summer = entryCount(kSummer);
    scriptAddDialog(kSummer);
    list->copyClick();
    EXPECT_EQ(messages(), QStringList{"该作息时间表已存在!"});
    EXPECT_EQ(entryCount(kSummer), summer);
}

TEST_F(TimetablesTest, DeletingATimetableAsksThenRemovesItAndItsEntries) {
    list->FormShow();
    selectInList(kWinter);
    prompter.queueAnswer(false);
    list->deleteClick();
    EXPECT_EQ(messages(), QStringList{"真的要删除 冬季作息时间 作息时间表吗？"});
    EXPECT_EQ(prompter.shown().front().kind, platform::MessageKind::Question);
    EXPECT_TRUE(timetableNames().contains(kWinter));

    prompter.clearShown();
    prompter.queueAnswer(true);
    list->deleteClick();
    EXPECT_EQ(messages(),
              (QStringList{"真的要删除 冬季作息时间 作息时间表吗？", "作息时间表已删除!"}));
    EXPECT_EQ(prompter.shown().back().kind, platform::MessageKind::Information);
    EXPECT_EQ(timetableNames(), (QStringList{kSummer, kExam}));
    EXPECT_EQ(entryCount(kWinter), 0);
    // The first timetable is selected and listed.
    EXPECT_EQ(list->Comb1->currentIndex(), 0);
    EXPECT_EQ(list->DBGrid1->model()->rowCount(), entryCount(kSummer));
}

TEST_F(TimetablesTest, ATimetableWhoseNameHasBlanksAroundItIsDeletedToo) {
    list->FormShow();
    const QString name = QStringLiteral(" 周末 ");
    scriptAddDialog(name);
    list->newClick();
    selectInList(name);
    prompter.clearShown();
    list->deleteClick();  // the default answer is Yes
    EXPECT_EQ(messages(), (QStringList{"真的要删除 周末 作息时间表吗？", "作息时间表已删除!"}));
    EXPECT_FALSE(timetableNames().contains(name));
}

TEST_F(TimetablesTest, DeletingOneOfTwoNamesThatTrimAlikeKeepsTheSharedEntries) {
    list->FormShow();
    scriptAddDialog(kExam + "  ");
    list->newClick();
    selectInList(kExam + "  ");
    // Both list the same entries, linked by the trimmed name.
    EXPECT_EQ(list->DBGrid1->model()->rowCount(), entryCount(kExam));
    const int entries = entryCount(kExam);
    list->deleteClick();
    EXPECT_EQ(entryCount(kExam), entries);
    selectInList(kExam);
    list->deleteClick();
    EXPECT_EQ(entryCount(kExam), 0);
}

TEST_F(TimetablesTest, NewTimetablesRefillTheListAtTheActivePosition) {
    page.schindex = 2;
    list->FormShow();
    selectInList(kSummer);
    scriptAddDialog(QStringLiteral("新表"));
    list->newClick();
    EXPECT_EQ(list->Comb1->count(), 4);
    EXPECT_EQ(list->Comb1->currentIndex(), 2);
    EXPECT_EQ(list->DBGrid1->model()->rowCount(), entryCount(kExam));
}

// ---------------------------------------------------------------- ways in from the bell page

TEST_F(TimetablesTest, TheListNeedsThePasswordAndRefillsTheMainSelectorAfterwards) {
    int shown = 0;
    prompter.setDialogScript(QStringLiteral("Fscheduling"), [&](QDialog&) {
        ++shown;
        return int(QDialog::Accepted);
    });
    page.password = false;
    editors->openTimetables();
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(page.getschlist, 0);

    page.password = true;
    editors->openTimetables();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(page.getschlist, 1);
    // The selector still names the same timetable: the bell grid is left alone.
    EXPECT_EQ(page.comb1Change, 0);
    EXPECT_EQ(page.getsgrid2data, 0);
}

TEST_F(TimetablesTest, WhenTheActivePositionNamesAnotherTimetableTheBellGridFollows) {
    page.schindex = 1;
    page.active = kWinter;
    prompter.setDialogScript(QStringLiteral("Fscheduling"), [this](QDialog&) {
        selectInList(kSummer);
        list->deleteClick();
        page.active = kExam;  // what the main tab's getschlist now selects at position 1
        return int(QDialog::Accepted);
    });
    editors->openTimetables();
    EXPECT_EQ(page.getschlist, 1);
    EXPECT_EQ(page.comb1Change, 1);
}

TEST_F(TimetablesTest, EditingTheActiveTimetableRebuildsTheBellGrid) {
    list->FormShow();
    selectInList(kSummer);
    scriptEntryEditor([](timetables::Tfschplaymp3& d) {
        QAbstractItemModel* grid = d.DBGrid1->model();
        grid->setData(grid->index(0, timetables::EntriesModel::ColName), QStringLiteral("起床"));
    });
    list->editClick();
    EXPECT_EQ(entryField(kSummer, "name").front().toString(), "起床");
    EXPECT_EQ(page.getsgrid2data, 1);
    EXPECT_EQ(page.chkhaveplayed, 1);

    // Another timetable's changes do not touch today's bell grid.
    selectInList(kWinter);
    list->editClick();
    EXPECT_EQ(page.getsgrid2data, 1);
}

TEST_F(TimetablesTest, AddingABellNeedsThePasswordAndRebuildsAfterAChange) {
    int opened = 0;
    scriptEntryEditor([&](timetables::Tfschplaymp3& d) {
        ++opened;
        EXPECT_EQ(d.windowTitle(), kSummer);
        d.edit1->setEditText(QStringLiteral("眼保健操"));
        d.RB2->click();
        d.Btn_addClick();
    });
    page.password = false;
    editors->addEntry();
    EXPECT_EQ(opened, 0);

    page.password = true;
    const int before = entryCount(kSummer);
    editors->addEntry();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(page.schname, kSummer);
    EXPECT_EQ(entryCount(kSummer), before + 1);
    EXPECT_EQ(page.getsgrid2data, 1);
    EXPECT_EQ(page.chkhaveplayed, 1);
}

TEST_F(TimetablesTest, DeletingAnEntryOfTheActiveTimetableRebuildsTheBellGrid) {
    list->FormShow();
    selectInList(kSummer);
    const int before = entryCount(kSummer);
    prompter.queueAnswer(false);
    list->deleteRowClick();
    EXPECT_EQ(messages(), QStringList{"确信要删除该记录?"});
    EXPECT_EQ(entryCount(kSummer), before);
    EXPECT_EQ(page.getsgrid2data, 0);

    list->deleteRowClick();
    EXPECT_EQ(entryCount(kSummer), before - 1);
    EXPECT_EQ(page.getsgrid2data, 1);
    EXPECT_EQ(page.chkhaveplayed, 1);

    selectInList(kExam);
    list->deleteRowClick();
    EXPECT_EQ(entryCount(kExam), 3);
    EXPECT_EQ(page.getsgrid2data, 1);
}

TEST_F(TimetablesTest, AnEmptyListAsksNothingWhenARowIsDeleted) {
    list->FormShow();
    scriptAddDialog(QStringLiteral("空表"));
    list->newClick();
    selectInList(QStringLiteral("空表"));
    prompter.clearShown();
    list->deleteRowClick();
    EXPECT_TRUE(messages().isEmpty());
}

}  // namespace
