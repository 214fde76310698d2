// The timetable editors in the whole program: reached from the bell page after the password,
// and the bell page's selector and today's bell grid afterwards.
#include "appfixture.h"

#include "speaker/app/mainwindow.h"
#include "speaker/bellschedule/bellgrid.h"
#include "speaker/bellschedule/bellscheduler.h"
#include "speaker/timetables/timetables.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QToolButton>

namespace {

class TimetableEditing : public AppTest {
protected:
    TimetableEditing() : AppTest(QDateTime(QDate(2026, 12, 14), QTime(9, 15, 0))) {}
    ~TimetableEditing() override { windows.reset(); }

    app::Tf_speaker& main() { return *windows->f_speaker; }
    bellschedule::BellScheduler& bells() { return *main().bellScheduler(); }
    timetables::TFscheduling& list() {
        return static_cast<timetables::TFscheduling&>(*windows->Fscheduling);
    }
    QStringList selectorItems() {
        QStringList items;
        for (int i = 0; i < main().Comb1->count(); ++i) items << main().Comb1->itemText(i);
        return items;
    }
    // Fscheduling runs `work` while it is open.
    void scriptList(std::function<void(timetables::TFscheduling&)> work) {
        prompter.setDialogScript(QStringLiteral("Fscheduling"), [work](QDialog& dialog) {
            auto& d = static_cast<timetables::TFscheduling&>(dialog);
            d.show();
            work(d);
            d.Btn_close->click();
            return d.result();
        });
    }
};

TEST_F(TimetableEditing, TheButtonAsksForThePasswordThenANewTimetableReachesTheSelector) {
    installDatabase();
    writeIni(QStringLiteral("[System]\nPwd=secret\n"));
    start();
    ASSERT_NE(main().bellScheduler(), nullptr);
    int opened = 0;
    scriptList([&](timetables::TFscheduling& d) {
        ++opened;
        prompter.setDialogScript(QStringLiteral("Fschedul_add"), [](QDialog& dialog) {
            auto& add = static_cast<timetables::TFschedul_add&>(dialog);
            add.show();
            add.Edit1->setText(QStringLiteral("夏季 '副本'"));
            add.Button1->click();
            add.Button2->click();
            return add.result();
        });
        d.copyClick();
    });
    typeAtPasswordDialog(QStringLiteral("wrong"));
    bells().SpeedButton6->click();
    EXPECT_EQ(opened, 0);

    typeAtPasswordDialog(QStringLiteral("secret"));
    bells().SpeedButton6->click();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(selectorItems(),
              (QStringList{"夏季作息时间", "冬季作息时间", "考试时间表", "夏季 '副本'"}));
    // The active timetable stays; choosing the copy shows the same bells.
    EXPECT_EQ(main().Comb1->currentText(), "夏季作息时间");
    const int summer = bells().grid().entryRows();
    main().Comb1->setCurrentIndex(3);
    EXPECT_EQ(bells().grid().entryRows(), summer);
    EXPECT_EQ(bells().grid().cell(1, 3), "起床号");
}

TEST_F(TimetableEditing, DeletingATimetableBeforeTheActiveOneMovesTheBellGridToTheShownName) {
    installDatabase();
    writeIni(QStringLiteral("[System]\nScheduling=1\n"));
    start();
    ASSERT_EQ(main().Comb1->currentText(), "冬季作息时间");
    ASSERT_EQ(bells().grid().entryRows(), 9);
    scriptList([](timetables::TFscheduling& d) {
        d.Comb1->setCurrentIndex(0);  // 夏季作息时间
        d.deleteClick();
    });
    bells().SpeedButton6->click();
    EXPECT_EQ(selectorItems(), (QStringList{"冬季作息时间", "考试时间表"}));
    // Position 1 now names the exam timetable, and today's grid is that timetable.
    EXPECT_EQ(main().Comb1->currentText(), "考试时间表");
    EXPECT_EQ(main().schindex, 1);
    EXPECT_EQ(bells().grid().entryRows(), 4);
    EXPECT_EQ(bells().grid().cell(1, 3), "预备铃");
}

TEST_F(TimetableEditing, ABellAddedFromTheGridMenuIsInTodaysGridAndPassedBellsStayMarked) {
    installDatabase();
    start();
    const int before = bells().grid().entryRows();
    // 06:30 起床号 is over at 09:15: marked.
    ASSERT_EQ(bells().grid().cell(1, 0), "√");
    int opened = 0;
    prompter.setDialogScript(QStringLiteral("fschplaymp3"), [&](QDialog& dialog) {
        auto& d = static_cast<timetables::Tfschplaymp3&>(dialog);
        ++opened;
        d.show();
        EXPECT_EQ(d.windowTitle(), "夏季作息时间");
        d.edit1->setEditText(QStringLiteral("第二节上课"));
        d.RB2->click();
        d.Btn_add->click();
        d.Btn_close->click();
        return d.result();
    });
    bells().N_addentry->trigger();
    EXPECT_EQ(opened, 1);
    ASSERT_EQ(bells().grid().entryRows(), before + 1);
    bool found = false;
    for (int row = 1; row <= bells().grid().entryRows(); ++row)
        if (bells().grid().cell(row, 3) == "第二节上课") {
            found = true;
            EXPECT_EQ(bells().grid().cell(row, 1), "09:45:00");
            EXPECT_EQ(bells().grid().cell(row, 4), "播放列表框音乐");
        }
    EXPECT_TRUE(found);
    EXPECT_EQ(bells().grid().cell(1, 0), "√");
}

}  // namespace
