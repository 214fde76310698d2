// The main window's plan commands on a today list: open the editor, delete, find, open text.
#include "plansfixture.h"

#include "speaker/core/dataset.h"
#include "speaker/plans/plancommands.h"
#include "speaker/plans/smalldialogs.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTextEdit>

namespace {

class CommandsTest : public PlansTest {
protected:
    void SetUp() override {
        PlansTest::SetUp();
        // A today list of three plans: title in column 4, text in column 5, id in column 16.
        const QStringList titles{QStringLiteral("营业准备词"), QStringLiteral("欢迎广播"),
                                 QStringLiteral("特价商品")};
        const int ids[] = {2, 3, 6};
        list.setColumnCount(26);
        for (int r = 0; r < 3; ++r) {
            QList<QStandardItem*> row;
            for (int c = 0; c < 26; ++c) row << new QStandardItem;
            row[4]->setText(titles[r]);
            row[5]->setText(QStringLiteral("内容") + QString::number(r));
            row[16]->setText(QString::number(ids[r]));
            list.appendRow(row);
        }
        grid.setModel(&list);
        memo.setPlainText(QStringLiteral("编辑器原文"));
        memo.document()->setModified(false);

        plans::PlanCommands::Hooks h;
        h.askPassword = [this] {
            calls << QStringLiteral("password");
            return passwordOk;
        };
        h.showEditor = [this] {
            calls << QStringLiteral("editor");
            if (editorChanges) dm->Q_draft().moveTo(1);
        };
        h.askFindText = [this]() -> std::optional<QString> { return findText; };
        h.currentPlanId = [this] {
            const QModelIndex cur = grid.currentIndex();
            return cur.isValid() ? list.item(cur.row(), 16)->text().toInt() : 0;
        };
        h.currentPlanContent = [this] {
            const QModelIndex cur = grid.currentIndex();
            return cur.isValid() ? list.item(cur.row(), 5)->text() : QString();
        };
        h.setPlanTimer = [this](bool on) {
            calls << (on ? QStringLiteral("timer on") : QStringLiteral("timer off"));
        };
        h.stopReading = [this] { calls << QStringLiteral("stop"); };
        h.requestStop = [this] { calls << QStringLiteral("stopread"); };
        h.saveDocument = [this] { calls << QStringLiteral("save"); };
        h.gettodaydata = [this] { calls << QStringLiteral("gettodaydata"); };
        h.chkhaveplayed1 = [this] { calls << QStringLiteral("chkhaveplayed1"); };
        commands = std::make_unique<plans::PlanCommands>(prompter, *dm, &grid, &memo, h);
    }

    QStandardItemModel list;
    QTableView grid;
    QTextEdit memo;
    std::unique_ptr<plans::PlanCommands> commands;
    QStringList calls;
    bool passwordOk = true;
    bool editorChanges = false;
    std::optional<QString> findText;
};

TEST_F(CommandsTest, TheEditorRebuildsTheTodayListOnlyAfterAChange) {
    commands->E1Click();
    EXPECT_EQ(calls, (QStringList{QStringLiteral("password"), QStringLiteral("editor")}));
    calls.clear();
    editorChanges = true;
    commands->E1->trigger();
    EXPECT_EQ(calls, (QStringList{QStringLiteral("password"), QStringLiteral("editor"),
                                  QStringLiteral("timer off"), QStringLiteral("stop"),
                                  QStringLiteral("gettodaydata"), QStringLiteral("chkhaveplayed1"),
                                  QStringLiteral("timer on")}));
    EXPECT_EQ(dm->Q_draft().row(), 0);  // re-queried from its first row
    calls.clear();
    passwordOk = false;
    commands->E1Click();
    EXPECT_EQ(calls, QStringList{QStringLiteral("password")});
}

TEST_F(CommandsTest, DeleteRemovesTheSelectedPlanAfterPasswordAndQuestion) {
    const int before = count(QStringLiteral("draft"));
    grid.setCurrentIndex(list.index(1, 2));  // plan 3
    prompter.queueAnswer(false);
    commands->D1Click();
    EXPECT_EQ(count(QStringLiteral("draft")), before);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("确信要删除该记录?")});
    calls.clear();
    commands->D1->trigger();
    EXPECT_EQ(count(QStringLiteral("draft")), before - 1);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from draft where id=3")).toInt(), 0);
    EXPECT_EQ(dm->Q_draft().recordCount(), before - 1);
    // The plan timer keeps running.
    EXPECT_EQ(calls, (QStringList{QStringLiteral("password"), QStringLiteral("gettodaydata"),
                                  QStringLiteral("chkhaveplayed1")}));
}

TEST_F(CommandsTest, DeleteOfAPlanAlreadyGoneDoesNothing) {
    grid.setCurrentIndex(list.index(2, 2));  // plan 6
    ASSERT_TRUE(dm->conn1().exec(QStringLiteral("delete from draft where id=6")));
    dm->Q_draft().requery();
    const int before = count(QStringLiteral("draft"));
    commands->D1Click();
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(count(QStringLiteral("draft")), before);
    EXPECT_EQ(calls, QStringList{QStringLiteral("password")});
}

TEST_F(CommandsTest, DeleteWithoutPlanRowsAsksNothing) {
    list.setRowCount(0);
    commands->D1Click();
    EXPECT_TRUE(calls.isEmpty());
}

TEST_F(CommandsTest, FindSelectsTheFirstRowWhoseTitleContainsTheText) {
    grid.setCurrentIndex(list.index(0, 0));
    findText = QStringLiteral("商品");
    commands->F1Click();
    EXPECT_EQ(grid.currentIndex().row(), 2);
    findText = QStringLiteral("广播");
    commands->F1->trigger();
    EXPECT_EQ(grid.currentIndex().row(), 1);
    findText = QStringLiteral("没有这个");
    commands->F1Click();
    EXPECT_EQ(grid.currentIndex().row(), 1);
    findText.reset();
    commands->F1Click();
    EXPECT_EQ(grid.currentIndex().row(), 1);
}

TEST_F(CommandsTest, TheFindDialogTrimsAndRefusesAnEmptyText) {
    plans::TFfindtxt dialog(prompter);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("定时主题内容"));
    dialog.open();
    dialog.Edit1->setText(QStringLiteral("   "));
    dialog.Button1->click();
    EXPECT_EQ(messages(), QStringList{QStringLiteral("请输入要查内容!")});
    EXPECT_TRUE(dialog.isVisible());
    dialog.Edit1->setText(QStringLiteral("  欢迎 "));
    dialog.Button1->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.text(), QStringLiteral("欢迎"));
}

TEST_F(CommandsTest, OpenPutsThePlansTextIntoTheEditorWithoutReading) {
    grid.setCurrentIndex(list.index(1, 0));
    memo.document()->setModified(true);
    prompter.queueAnswer(true);
    commands->N1Click();
    EXPECT_EQ(messages(), QStringList{QStringLiteral("文章已被修改，要保存吗？")});
    EXPECT_EQ(calls, (QStringList{QStringLiteral("save"), QStringLiteral("stopread")}));
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("内容1"));
    EXPECT_FALSE(memo.document()->isModified());
}

TEST_F(CommandsTest, EnterSpaceAndDoubleClickOpenTheText) {
    const std::pair<int, QString> keys[] = {{Qt::Key_Return, QStringLiteral("内容0")},
                                            {Qt::Key_Space, QStringLiteral("内容1")},
                                            {Qt::Key_Enter, QStringLiteral("内容2")}};
    for (int r = 0; r < 3; ++r) {
        grid.setCurrentIndex(list.index(r, 0));
        QKeyEvent press(QEvent::KeyPress, keys[r].first, Qt::NoModifier);
        QCoreApplication::sendEvent(&grid, &press);
        EXPECT_EQ(memo.toPlainText(), keys[r].second);
    }
    grid.setCurrentIndex(list.index(0, 0));
    emit grid.doubleClicked(list.index(0, 0));
    EXPECT_EQ(memo.toPlainText(), QStringLiteral("内容0"));
    EXPECT_TRUE(messages().isEmpty());  // an unmodified editor is not asked about
}

}  // namespace
