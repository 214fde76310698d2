// "修改": the password guard, the edit dialog on table telltime, the grid refilled after it.
#include "speaker/services/password.h"
#include "timeannfixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTableView>

using timeann::TellTimeGrid;
using timeann::TFmodifytelltime;

namespace {

constexpr int kRow0800 = 16;  // 08:00:00 in the shipped table
constexpr int kPlayColumn = 3;

class EditingTest : public TimeAnnTest {
protected:
    void SetUp() override {
        TimeAnnTest::SetUp();
        password = std::make_unique<services::Tf_password>(services);
        editor = std::make_unique<TFmodifytelltime>(dm->Q_telltime());
        announcer().confirmPassword = [this] { return services::askPassword(services, *password); };
        announcer().editDialog = [this] { return editor.get(); };
        // The dialog switches 08:00 on and is closed.
        prompter.setDialogScript(QStringLiteral("Fmodifytelltime"), [this](QDialog& d) {
            ++editorShown;
            auto& dialog = static_cast<TFmodifytelltime&>(d);
            QAbstractItemModel* m = dialog.DBGrid1->model();
            EXPECT_TRUE(
                m->setData(m->index(kRow0800, kPlayColumn), Qt::Checked, Qt::CheckStateRole));
            return int(QDialog::Accepted);
        });
    }
    void answerPassword(const QString& text) {
        prompter.setDialogScript(QStringLiteral("f_password"), [text](QDialog& d) {
            return services::typePassword(static_cast<services::Tf_password&>(d), text);
        });
    }

    std::unique_ptr<services::Tf_password> password;
    std::unique_ptr<TFmodifytelltime> editor;
    int editorShown = 0;
};

TEST_F(EditingTest, CancelledPasswordOpensNothingAndLeavesTheGrid) {
    answerPassword(QStringLiteral("not the password"));  // wrong, then 退出
    announcer().N64->trigger();
    EXPECT_EQ(editorShown, 0);
    EXPECT_EQ(announcer().grid().cell(kRow0800, TellTimeGrid::ColPlay), QString());
    EXPECT_EQ(dm->Q_telltime().value(kRow0800, dm->Q_telltime().fieldIndex("isplay")).toInt(), 0);
}

TEST_F(EditingTest, ConfirmedPasswordEditsTheTableAndTheAnnouncerFollowsAtOnce) {
    answerPassword(QString());  // a fresh installation has the empty password
    announcer().N64->trigger();
    EXPECT_EQ(editorShown, 1);
    EXPECT_EQ(dm->Q_telltime().value(kRow0800, dm->Q_telltime().fieldIndex("isplay")).toInt(), -1);
    EXPECT_EQ(announcer().grid().cell(kRow0800, TellTimeGrid::ColPlay), QStringLiteral("√"));
    clock.runUntil(QDateTime(QDate(2026, 12, 14), QTime(8, 0, 2)));
    EXPECT_EQ(
        events(QStringLiteral("announce")),
        (std::vector<std::pair<QString, QString>>{{"08:00:01.300", "现在是北京时间08:00正"}}));
}

TEST_F(EditingTest, DialogOffersOnlyTheSwitchForEditing) {
    EXPECT_EQ(editor->objectName(), QStringLiteral("Fmodifytelltime"));
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("修改定时播放语音报时"));
    QAbstractItemModel* m = editor->DBGrid1->model();
    ASSERT_EQ(m->rowCount(), 48);
    const QStringList titles{"No", "时间", "播放内容", "是否播放"};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(m->headerData(c, Qt::Horizontal).toString(), titles[c]);
        const Qt::ItemFlags f = m->flags(m->index(0, c));
        EXPECT_FALSE(f & Qt::ItemIsEditable);
        EXPECT_EQ(bool(f & Qt::ItemIsUserCheckable), c == kPlayColumn);
        EXPECT_EQ(m->setData(m->index(0, c), "x", Qt::EditRole), false);
    }
    EXPECT_EQ(m->data(m->index(kRow0800, 1)).toString(), QStringLiteral("08:00:00"));
    EXPECT_EQ(m->data(m->index(kRow0800, kPlayColumn), Qt::CheckStateRole).toInt(), Qt::Unchecked);
}

TEST_F(EditingTest, DownArrowOnTheLastRowGoesBackOneRow) {
    editor->show();
    QTableView* grid = editor->DBGrid1;
    QAbstractItemModel* m = grid->model();
    // From the row before the last the arrow moves down as usual; from the last it goes up.
    const std::pair<int, int> moves[] = {{46, 47}, {47, 46}, {0, 1}};
    for (auto [from, to] : moves) {
        grid->setCurrentIndex(m->index(from, kPlayColumn));
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(grid, &down);
        EXPECT_EQ(grid->currentIndex().row(), to) << "from row " << from;
    }
    EXPECT_EQ(m->rowCount(), 48);
    editor->hide();
}

}  // namespace
