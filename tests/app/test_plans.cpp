// The plan commands in the whole program: the editor opened from the today list or the
// toolbar rebuilds the list after a change, delete, find and open on SGrid1.
#include "appfixture.h"

#include "platform/clock/clock.h"
#include "speaker/app/mainwindow.h"
#include "speaker/broadcast/textscheduler.h"
#include "speaker/core/dataset.h"
#include "speaker/core/dm.h"
#include "speaker/plans/fieldcolumns.h"
#include "speaker/plans/fschreader.h"
#include "speaker/plans/plancommands.h"
#include "speaker/plans/smalldialogs.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>

namespace {

using broadcast::TodayList;

class PlanCommandsTest : public AppTest {
protected:
    void SetUp() override {
        installDatabase();
        start();
        speaker = windows->f_speaker.get();
        ASSERT_TRUE(speaker->textScheduler());
        ASSERT_TRUE(speaker->planCommands());
    }
    TodayList& list() { return speaker->textScheduler()->list(); }
    // The today-list row (1-based) of plan `id`, 0 when absent.
    int rowOf(int id) {
        for (int r = 1; r <= list().planRows(); ++r)
            if (list().cell(r, TodayList::ColId).toInt() == id) return r;
        return 0;
    }
    void select(int row) { speaker->SGrid1->setCurrentIndex(list().index(row - 1, 2)); }
    // The editor is answered by `edit`, which returns the dialog's result.
    void whenEditorOpens(std::function<int(plans::Tfschreader&)> edit) {
        prompter.setDialogScript(QStringLiteral("fschreader"), [edit](QDialog& d) {
            auto& editor = static_cast<plans::Tfschreader&>(d);
            editor.show();  // its showing steps
            const int r = edit(editor);
            editor.hide();
            return r;
        });
    }

    app::Tf_speaker* speaker = nullptr;
};

TEST_F(PlanCommandsTest, TheTodayListMenuAndTheToolbarButtonAreWired) {
    QStringList captions;
    for (QAction* a : speaker->planCommands()->menu()->actions()) captions << a->text();
    EXPECT_EQ(captions,
              (QStringList{QStringLiteral("修改列表 (&E)"), QStringLiteral("删除列表 (&D) "),
                           QStringLiteral("主题定位 (&F)"), QStringLiteral("打开播放内容 (&N)")}));
    auto* add = speaker->findChild<QToolButton*>(QStringLiteral("SB_addrecord"));
    ASSERT_TRUE(add);
    EXPECT_TRUE(add->isEnabled());
    EXPECT_EQ(add->toolTip(), QStringLiteral("修改播放列表"));
}

TEST_F(PlanCommandsTest, AnEditRebuildsTheTodayListAndClosingWithoutOneDoesNot) {
    const int row = rowOf(3);
    ASSERT_GT(row, 0);
    list().setCell(row, TodayList::ColMark, QStringLiteral("√"));  // as if read today
    int shown = 0;
    whenEditorOpens([&shown](plans::Tfschreader&) {
        ++shown;
        return int(QDialog::Rejected);
    });
    auto* add = speaker->findChild<QToolButton*>(QStringLiteral("SB_addrecord"));
    add->click();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(list().cell(row, TodayList::ColMark), QStringLiteral("√"));

    whenEditorOpens([this](plans::Tfschreader& e) {
        core::Dataset& q = windows->DM->Q_draft();
        EXPECT_TRUE(q.locate(QStringLiteral("id"), 3));
        const int col = e.plansModel()->columnOf(QStringLiteral("endtime"));
        EXPECT_TRUE(e.plansModel()->store(q.row(), col, QStringLiteral("10:40:00")));
        return int(QDialog::Accepted);
    });
    speaker->planCommands()->E1->trigger();
    const int after = rowOf(3);
    EXPECT_EQ(list().cell(after, TodayList::ColEnd), QStringLiteral("10:40:00"));
    EXPECT_TRUE(list().cell(after, TodayList::ColMark).isEmpty());  // rebuilt: marks cleared
    EXPECT_TRUE(speaker->textScheduler()->playtext->isActive());
    EXPECT_EQ(speaker->textScheduler()->planrow, 1);
}

TEST_F(PlanCommandsTest, AWrongPasswordOpensNothing) {
    writeIni(QStringLiteral("[System]\nPwd=Secret\n"));
    typeAtPasswordDialog(QStringLiteral("secret"));
    int shown = 0;
    whenEditorOpens([&shown](plans::Tfschreader&) {
        ++shown;
        return int(QDialog::Rejected);
    });
    speaker->planCommands()->E1Click();
    select(rowOf(47));
    speaker->planCommands()->D1Click();
    EXPECT_EQ(shown, 0);
    EXPECT_GT(rowOf(47), 0);
}

TEST_F(PlanCommandsTest, DeleteRemovesTheSelectedPlanFromTheDatabaseAndTheList) {
    const int plans = list().planRows();
    select(rowOf(47));
    speaker->planCommands()->D1Click();  // the question is answered Yes
    EXPECT_EQ(list().planRows(), plans - 1);
    EXPECT_EQ(rowOf(47), 0);
    EXPECT_FALSE(windows->DM->Q_draft().locate(QStringLiteral("id"), 47));
    prompter.clearShown();
}

TEST_F(PlanCommandsTest, FindSelectsByTitleAndEnterOpensTheText) {
    prompter.setDialogScript(QStringLiteral("Ffindtxt"), [](QDialog& d) {
        auto& find = static_cast<plans::TFfindtxt&>(d);
        find.Edit1->setText(QStringLiteral(" 结束 "));
        find.Button1Click();
        return find.result();
    });
    speaker->planCommands()->F1->trigger();
    const int row = speaker->SGrid1->currentIndex().row() + 1;
    EXPECT_EQ(list().cell(row, TodayList::ColTitle), QStringLiteral("结束语"));

    speaker->Memo1->setPlainText(QStringLiteral("原来的文章"));
    speaker->Memo1->document()->setModified(false);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(speaker->SGrid1, &enter);
    EXPECT_EQ(speaker->Memo1->toPlainText(), list().cell(row, TodayList::ColContent));
    EXPECT_TRUE(speaker->Memo1->toPlainText().startsWith(QStringLiteral("顾客朋友们")));
    EXPECT_FALSE(speaker->Memo1->document()->isModified());
}

TEST_F(PlanCommandsTest, TheEditorCopiesTheMainVoiceListAndItsDialogsAreReal) {
    auto* editor = qobject_cast<plans::Tfschreader*>(windows->fschreader.get());
    ASSERT_TRUE(editor);
    EXPECT_EQ(qobject_cast<plans::TValueDialog*>(windows->Finsertrate.get())->value(), 0);
    EXPECT_EQ(qobject_cast<plans::TValueDialog*>(windows->Finsertvoice.get())->value(), 95);
    EXPECT_TRUE(qobject_cast<plans::TFfindtxt*>(windows->Ffindtxt.get()));
    // "插入语速" through the real dialog, confirmed at -3.
    prompter.setDialogScript(QStringLiteral("Finsertrate"), [](QDialog& d) {
        static_cast<plans::TValueDialog&>(d).setValue(-3);
        return int(QDialog::Accepted);
    });
    editor->Memo2->setPlainText(QString());
    editor->insertrate();
    EXPECT_EQ(editor->Memo2->toPlainText(), QStringLiteral("【语速-3】"));
}

}  // namespace
