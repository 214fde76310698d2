#include "appfixture.h"

#include "controls/ledfont.h"
#include "platform/system/meminfo.h"
#include "platform/system/singleinstance.h"
#include "speaker/app/aboutwindow.h"
#include "speaker/app/mainwindow.h"
#include "speaker/app/startup.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTextEdit>

using StartupTest = AppTest;

TEST_F(StartupTest, FirstStartWithoutPreferencesUsesDefaultsAndWritesOpendate) {
    installDatabase();
    auto& w = start();
    auto* main = w.f_speaker.get();
    EXPECT_TRUE(readIni().contains(QStringLiteral("Opendate=2026-12-14"))) << readIni().toStdString();
    EXPECT_EQ(main->TrackBar2->value(), 1);
    EXPECT_EQ(main->TrackBar1->value(), 95);
    EXPECT_EQ(main->TrackBar4->value(), 85);
    EXPECT_EQ(main->bj_v->value(), 90);
    EXPECT_EQ(main->bj_v1->value(), 10);
    EXPECT_EQ(main->SGrid1->height(), 300);
    EXPECT_EQ(main->Memo1->palette().color(QPalette::Base), QColor(0, 128, 128));
    EXPECT_EQ(main->statusText(1), QStringLiteral("2026-12-14 星期一"));
    EXPECT_EQ(main->StaticText12->text(), QStringLiteral("2026-12-14 星期一"));
    EXPECT_EQ(main->LED1->text(), QStringLiteral("07"));
    EXPECT_EQ(main->LED2->text(), QStringLiteral("59"));
    ASSERT_EQ(trace.events(QStringLiteral("start")).size(), 1u);

    // The four pages in their order, the shipped timetables in id order.
    ASSERT_EQ(main->RzPageControl1->count(), 4);
    EXPECT_EQ(main->RzPageControl1->tabText(0), QStringLiteral("文稿播音"));
    EXPECT_EQ(main->RzPageControl1->tabText(1), QStringLiteral("定时铃声"));
    EXPECT_EQ(main->RzPageControl1->tabText(2), QStringLiteral("整点报时"));
    EXPECT_EQ(main->RzPageControl1->tabText(3), QStringLiteral("系统设置"));
    ASSERT_EQ(main->Comb1->count(), 3);
    EXPECT_EQ(main->Comb1->itemText(0), QStringLiteral("夏季作息时间"));
    EXPECT_EQ(main->schname, QStringLiteral("夏季作息时间"));
}

TEST_F(StartupTest, WindowsAreCreatedInOrderWithTheirCaptions) {
    installDatabase();
    auto& w = start();
    const auto all = w.all();
    ASSERT_EQ(all.size(), 22u);
    EXPECT_EQ(all[0]->objectName(), QStringLiteral("f_speaker"));
    EXPECT_EQ(all[6]->objectName(), QStringLiteral("f_password"));
    EXPECT_EQ(all[6]->windowTitle(), QStringLiteral("请输入密码"));
    EXPECT_EQ(all[21]->objectName(), QStringLiteral("Finsertvoice"));
    EXPECT_EQ(all[21]->windowTitle(), QStringLiteral("插入音量"));
    for (size_t i = 1; i < all.size(); ++i) EXPECT_FALSE(all[i]->isVisible()) << i;
}

TEST_F(StartupTest, MissingDatabaseEndsTheStartWithTheConnectionMessage) {
    windows = app::createWindows(services);
    EXPECT_FALSE(windows);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, QStringLiteral("数据连接失败!"));
    EXPECT_FALSE(QFile::exists(services.programFile(QStringLiteral("draft.dat"))));
}

TEST_F(StartupTest, StoredTimetableIndexBeyondTheListSelectsTheFirst) {
    installDatabase();
    writeIni(QStringLiteral("[System]\nScheduling=7\n"));
    auto& w = start();
    EXPECT_EQ(w.f_speaker->Comb1->currentIndex(), 0);
    writeIni(QStringLiteral("[System]\nScheduling=2\n"));
    windows.reset();
    auto& again = start();
    EXPECT_EQ(again.f_speaker->Comb1->currentIndex(), 2);
    EXPECT_EQ(again.f_speaker->schname, QStringLiteral("考试时间表"));
}

TEST_F(StartupTest, CloseBoxMinimisesAndTheClockKeepsRunning) {
    installDatabase();
    auto& w = start();
    EXPECT_FALSE(w.f_speaker->close());
    clock.advance(2000);
    EXPECT_TRUE(w.f_speaker->isMinimized());
    EXPECT_TRUE(w.f_speaker->Timer1->isActive());
    EXPECT_EQ(w.f_speaker->LED3->text(), QStringLiteral("02"));
    EXPECT_EQ(quitCalls, 0);
}

TEST_F(StartupTest, LaterCommandsArePresentButDisabled) {
    installDatabase();
    auto& w = start();
    for (const char* name : {"N35", "N47", "N63", "N65", "N46", "WAV1"}) {
        auto* action = w.f_speaker->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_TRUE(action) << name;
        EXPECT_FALSE(action->isEnabled()) << name;
    }
    for (const char* name : {"C1", "N31", "N32"}) {
        auto* action = w.f_speaker->findChild<QAction*>(QString::fromLatin1(name));
        ASSERT_TRUE(action) << name;
        EXPECT_TRUE(action->isEnabled()) << name;
    }
}

TEST_F(StartupTest, HelpOpensTheHelpPageOnlyWhenItExists) {
    installDatabase();
    auto& w = start();
    w.f_speaker->N31Click();
    EXPECT_TRUE(trace.events(QStringLiteral("open")).empty());
    QFile help(services.programFile(QStringLiteral("speaker.html")));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    w.f_speaker->N31Click();
    ASSERT_EQ(trace.events(QStringLiteral("open")).size(), 1u);
}

TEST(SingleInstance, SecondStartIsRefusedWithTheMessage) {
    QTemporaryDir dir;
    platform::SingleInstance first(QStringLiteral("Quilla"), dir.path());
    ASSERT_FALSE(first.alreadyRunning());
    platform::ScriptedPrompter prompter;
    EXPECT_TRUE(app::checkSingleInstance(first, prompter));
    platform::SingleInstance second(QStringLiteral("Quilla"), dir.path());
    EXPECT_TRUE(second.alreadyRunning());
    EXPECT_FALSE(app::checkSingleInstance(second, prompter));
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].caption, QStringLiteral("Quilla! !"));
    EXPECT_EQ(prompter.shown()[0].text, QStringLiteral("程序已经在运行中!"));
    EXPECT_EQ(prompter.shown()[0].kind, platform::MessageKind::Error);
}

TEST(About, MemoryFigures) {
    EXPECT_EQ(app::memoryText(16777216), QStringLiteral("16,777,216 KB"));
    EXPECT_EQ(app::memoryText(512), QStringLiteral("512 KB"));
    const auto s = platform::parseMeminfo(
        QStringLiteral("MemTotal:        1000000 kB\nMemFree:  100000 kB\nMemAvailable:   250000 kB\n"));
    EXPECT_EQ(s.totalKb, 1000000);
    EXPECT_EQ(s.loadPercent, 75);
    app::Tf_about about;
    EXPECT_TRUE(about.memoryLabel->text().startsWith(QStringLiteral("物理内存:")));
    EXPECT_TRUE(about.loadLabel->text().endsWith(QStringLiteral(" %")));
}
