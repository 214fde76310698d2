#include "appfixture.h"

#include "speaker/app/mainwindow.h"

#include <QSlider>
#include <QTextEdit>

namespace {
struct ExitCase {
    const char* stored;  // nullptr: no Pwd key; blanks around a value are kept inside quotes
    const char* typed;
    bool exits;
};
}  // namespace

class ExitTest : public AppTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(ExitTest, ExitNeedsTheStoredPassword) {
    const ExitCase c = GetParam();
    installDatabase();
    if (c.stored) writeIni(QStringLiteral("[System]\nPwd=%1\n").arg(QString::fromUtf8(c.stored)));
    typeAtPasswordDialog(QString::fromUtf8(c.typed));
    auto& w = start();
    w.f_speaker->SB_closeClick();
    EXPECT_EQ(quitCalls, c.exits ? 1 : 0);
    EXPECT_EQ(trace.events(QStringLiteral("exit")).size(), c.exits ? 1u : 0u);
    // A wrong entry beeps (440 Hz, 200 ms) and the program keeps running.
    EXPECT_EQ(beeps.empty(), c.exits);
    if (!c.exits) {
        EXPECT_EQ(beeps.front(), (std::pair<int, int>{440, 200}));
    }
    EXPECT_EQ(readIni().contains(QStringLiteral("Prompt_tone=0")), c.exits);
}

INSTANTIATE_TEST_SUITE_P(
    Passwords, ExitTest,
    ::testing::Values(ExitCase{nullptr, "", true}, ExitCase{"", "", true},
                      ExitCase{"Abc", "Abc", true}, ExitCase{"Abc", "abc", false},
                      ExitCase{"Abc", " Abc", false}, ExitCase{"\" Abc \"", " Abc ", true},
                      ExitCase{"广播", "广播", true}, ExitCase{nullptr, "x", false}));

using ExitFlowTest = AppTest;

TEST_F(ExitFlowTest, ModifiedTextAsksToSaveAndNoStillExits) {
    installDatabase();
    auto& w = start();
    w.f_speaker->Memo1->setPlainText(QStringLiteral("上课了"));
    w.f_speaker->Memo1->document()->setModified(true);
    bool saved = false;
    w.f_speaker->saveDocument = [&] { saved = true; };
    prompter.queueAnswer(false);
    w.f_speaker->SB_closeClick();
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, QStringLiteral("文章已被修改，要保存吗？"));
    EXPECT_EQ(prompter.shown()[0].caption, QStringLiteral("Confirm"));
    EXPECT_FALSE(saved);
    EXPECT_EQ(quitCalls, 1);
}

TEST_F(ExitFlowTest, YesRunsTheSaveCommandBeforeLeaving) {
    installDatabase();
    auto& w = start();
    w.f_speaker->Memo1->document()->setModified(true);
    bool saved = false;
    w.f_speaker->saveDocument = [&] { saved = true; };
    prompter.queueAnswer(true);
    w.f_speaker->SB_closeClick();
    EXPECT_TRUE(saved);
    EXPECT_EQ(quitCalls, 1);
}

TEST_F(ExitFlowTest, ExitSavesTheExitListAndTheNextStartLoadsIt) {
    installDatabase();
    auto& w = start();
    w.f_speaker->TrackBar2->setValue(5);
    w.f_speaker->TrackBar1->setValue(60);
    w.f_speaker->SB_closeClick();
    const QString ini = readIni();
    EXPECT_TRUE(ini.contains(QStringLiteral("Rate=5"))) << ini.toStdString();
    EXPECT_TRUE(ini.contains(QStringLiteral("Volume=60")));
    EXPECT_TRUE(ini.contains(QStringLiteral("Grid_Hight=300")));
    windows.reset();
    auto& again = start();
    EXPECT_EQ(again.f_speaker->TrackBar2->value(), 5);
    EXPECT_EQ(again.f_speaker->TrackBar1->value(), 60);
}
