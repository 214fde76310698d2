// The texts of the plan editor: adding, saving, importing, deleting with the reference check,
// the spreadsheet export, and the marks inserted into Memo2.
#include "plansfixture.h"

#include "speaker/core/dataset.h"
#include "speaker/plans/fieldcolumns.h"
#include "speaker/plans/textimport.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>

namespace {

// Chooses text `id` in the text list as a click would.
void chooseText(plans::Tfschreader& e, core::DM& dm, int id) {
    ASSERT_TRUE(dm.Q_textfile().locate(QStringLiteral("ID"), id));
    emit e.DBGridEh2->clicked(e.textsModel()->index(dm.Q_textfile().row(), 1));
}

QString unzip(const QString& file, const QString& member) {
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, member});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST_F(PlansTest, ANewTextNeedsATitleAndHasNoContentUntilSaved) {
    auto& e = editor();
    e.Edit1->setText(QStringLiteral("   "));
    e.BitBtn1->click();
    EXPECT_EQ(messages(), QStringList{QStringLiteral("请输入主题内容!")});
    EXPECT_EQ(count(QStringLiteral("textfile")), 7);

    e.Edit1->setText(QStringLiteral(" 午间广播 "));
    e.BitBtn1->click();
    ASSERT_EQ(count(QStringLiteral("textfile")), 8);
    EXPECT_EQ(scalar(QStringLiteral("select title from textfile where ID=8")).toString(),
              QStringLiteral("午间广播"));
    EXPECT_TRUE(scalar(QStringLiteral("select content from textfile where ID=8")).isNull());
    EXPECT_EQ(e.comb_title->itemText(7), QStringLiteral("8.午间广播"));
    EXPECT_TRUE(e.Memo2->toPlainText().isEmpty());

    // Saving an empty content is refused; a content goes to the new text.
    e.Memo2->setPlainText(QStringLiteral("  \n "));
    e.savetext();
    EXPECT_EQ(messages(), QStringList{QStringLiteral("请输入播音内容!")});
    e.Memo2->setPlainText(QStringLiteral("各位同学，午休时间到了。"));
    EXPECT_TRUE(e.btn_save->isEnabled());
    dm->datachanged = false;
    e.btn_save->click();
    EXPECT_TRUE(dm->datachanged);
    EXPECT_FALSE(e.btn_save->isEnabled());
    EXPECT_EQ(scalar(QStringLiteral("select content from textfile where ID=8")).toString(),
              QStringLiteral("各位同学，午休时间到了。"));
}

TEST_F(PlansTest, SavingGoesToTheTextShownEvenWhenTheListMovedSince) {
    auto& e = editor();
    chooseText(e, *dm, 3);
    EXPECT_TRUE(e.Memo2->toPlainText().startsWith(QStringLiteral("顾客朋友们请注意")));
    EXPECT_FALSE(e.btn_save->isEnabled());
    const QString other =
        scalar(QStringLiteral("select content from textfile where ID=5")).toString();
    dm->Q_textfile().locate(QStringLiteral("ID"), 5);  // someone else moved the list
    e.Memo2->setPlainText(QStringLiteral("新的特价内容"));
    e.savetext();
    EXPECT_EQ(scalar(QStringLiteral("select content from textfile where ID=3")).toString(),
              QStringLiteral("新的特价内容"));
    EXPECT_EQ(scalar(QStringLiteral("select content from textfile where ID=5")).toString(), other);

    // The text is deleted behind the editor's back: the save is refused, nothing else changes.
    ASSERT_TRUE(dm->conn1().exec(QStringLiteral("delete from textfile where ID=3")));
    dm->Q_textfile().requery();
    e.Memo2->setPlainText(QStringLiteral("再改一次"));
    e.savetext();
    EXPECT_EQ(messages(), QStringList{QStringLiteral("该稿件已被删除，不能保存!")});
    EXPECT_EQ(
        scalar(QStringLiteral("select count(*) from textfile where content='再改一次'")).toInt(),
        0);
}

TEST_F(PlansTest, ATextUsedByAPlanIsNotDeleted) {
    auto& e = editor();
    chooseText(e, *dm, 2);
    e.deletetext();
    EXPECT_EQ(messages(), QStringList{QStringLiteral("该稿件已被引用播放计划，不能删除!")});
    EXPECT_EQ(count(QStringLiteral("textfile")), 7);

    chooseText(e, *dm, 6);
    prompter.queueAnswer(false);
    e.deletetext();
    EXPECT_EQ(count(QStringLiteral("textfile")), 7);
    prompter.queueAnswer(true);
    e.deletetext();
    EXPECT_EQ(messages(), (QStringList{QStringLiteral("真的要删除该记录吗？"),
                                       QStringLiteral("真的要删除该记录吗？")}));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from textfile where ID=6")).toInt(), 0);
    EXPECT_EQ(e.comb_title->count(), 6);
    // Memo2 no longer offers the deleted text: it shows the text now current.
    EXPECT_EQ(e.memoTextId(), dm->Q_textfile().field(QStringLiteral("ID")).toInt());
}

struct Encoded {
    const char* name;
    QByteArray bytes;
};

class ImportTest : public PlansTest, public ::testing::WithParamInterface<Encoded> {};

TEST_P(ImportTest, TheFileReplacesMemo2AndIsStoredOnlyBySaving) {
    const QString path = dir.filePath(QStringLiteral("稿件.txt"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(GetParam().bytes);
    f.close();
    auto& e = editor();
    chooseText(e, *dm, 6);
    const QString stored =
        scalar(QStringLiteral("select content from textfile where ID=6")).toString();
    e.opentext();  // cancelled
    EXPECT_EQ(e.Memo2->toPlainText(), stored);
    prompter.queueFiles({path});
    e.opentext();
    EXPECT_EQ(e.Memo2->toPlainText(), QStringLiteral("中文 test\n第二行"));
    EXPECT_TRUE(e.btn_save->isEnabled());
    EXPECT_EQ(scalar(QStringLiteral("select content from textfile where ID=6")).toString(), stored);
    e.savetext();
    EXPECT_EQ(scalar(QStringLiteral("select content from textfile where ID=6")).toString(),
              QStringLiteral("中文 test\n第二行"));
}

// "中文" is D6D0 CEC4 in GBK; "第二行" is B5DA B6FE D0D0.
INSTANTIATE_TEST_SUITE_P(
    Plans, ImportTest,
    ::testing::Values(
        Encoded{"Utf8", QStringLiteral("中文 test\n第二行").toUtf8()},
        Encoded{"Utf8WithMarkAndCrLf",
                QByteArray("\xEF\xBB\xBF") + QStringLiteral("中文 test\r\n第二行").toUtf8()},
        Encoded{"Gbk", QByteArray("\xD6\xD0\xCE\xC4 test\r\n\xB5\xDA\xB6\xFE\xD0\xD0")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextImport, AnUnreadableFileIsNoText) {
    EXPECT_FALSE(plans::readTextFile(QStringLiteral("/nonexistent/稿件.txt")));
}

TEST_F(PlansTest, TheTextListIsExportedAsASpreadsheet) {
    auto& e = editor();
    e.exportlist();  // cancelled
    EXPECT_EQ(prompter.proposedSaveName(), QStringLiteral("导出数据.xlsx"));
    EXPECT_TRUE(messages().isEmpty());

    const QString file = dir.filePath(QStringLiteral("导出数据.xlsx"));
    prompter.queueSaveFile(file);
    e.exportlist();
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].caption, QStringLiteral("恭喜"));
    EXPECT_EQ(messages(),
              QStringList{QStringLiteral("成功输出数据到") + file + QStringLiteral("!")});

    const QString strings = unzip(file, QStringLiteral("xl/sharedStrings.xml"));
    const QString sheet = unzip(file, QStringLiteral("xl/worksheets/sheet1.xml"));
    for (const char* s : {"ID", "主题", "营业准备词", "角色朗读示例"})
        EXPECT_TRUE(strings.contains(QString::fromUtf8(s))) << s;
    // Eight rows (the header and seven texts); A8 holds the number 7.
    EXPECT_TRUE(sheet.contains(QStringLiteral("<row r=\"8\"")));
    EXPECT_FALSE(sheet.contains(QStringLiteral("<row r=\"9\"")));
    EXPECT_TRUE(sheet.contains(QStringLiteral("<c r=\"A8\" s=\"0\"><v>7</v></c>")) ||
                sheet.contains(QStringLiteral("<c r=\"A8\"><v>7</v></c>")))
        << sheet.toStdString();
}

TEST_F(PlansTest, AFailedExportSaysSoInsteadOfSuccess) {
    auto& e = editor();
    const QString file = dir.filePath(QStringLiteral("missing/导出数据.xlsx"));
    prompter.queueSaveFile(file);
    e.exportlist();
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].kind, platform::MessageKind::Warning);
    EXPECT_EQ(messages(), QStringList{QStringLiteral("不能写入文件") + file + QStringLiteral("!")});
    EXPECT_FALSE(QFile::exists(file));
}

struct Mark {
    const char* name;
    const char* item;  // objectName of the menu item
    std::optional<int> answer;
    const char* expected;
};

class MarkTest : public PlansTest, public ::testing::WithParamInterface<Mark> {};

TEST_P(MarkTest, IsInsertedAtTheCaret) {
    const Mark& m = GetParam();
    auto& e = editor();
    rateAnswer = m.answer;
    volumeAnswer = m.answer;
    e.Memo2->setPlainText(QStringLiteral("前文后文"));
    QTextCursor c = e.Memo2->textCursor();
    c.setPosition(2);
    e.Memo2->setTextCursor(c);
    auto* item = e.PopupMenu3->findChild<QAction*>(QString::fromLatin1(m.item));
    ASSERT_TRUE(item);
    item->trigger();
    EXPECT_EQ(e.Memo2->toPlainText(), QString::fromUtf8(m.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Plans, MarkTest,
    ::testing::Values(Mark{"Pause", "N14", std::nullopt, "前文※后文"},
                      Mark{"Role3", "Nreader3", std::nullopt, "前文【角色3】后文"},
                      Mark{"Rate", "N16", -3, "前文【语速-3】后文"},
                      Mark{"RateNotConfirmed", "N16", std::nullopt, "前文后文"},
                      Mark{"Volume", "N17", 95, "前文【音量95】后文"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PlansTest, TheMenusCarryTheirItems) {
    auto& e = editor();
    auto captions = [](QMenu* m) {
        QStringList list;
        for (QAction* a : m->actions())
            if (!a->isSeparator() && a->isVisible()) list << a->text();
        return list;
    };
    EXPECT_EQ(captions(e.PopupMenu1),
              (QStringList{QStringLiteral("刷新"), QStringLiteral("粘贴"),
                           QStringLiteral("粘贴全部"), QStringLiteral("删除记录")}));
    EXPECT_EQ(captions(e.PopupMenu2),
              (QStringList{QStringLiteral("删除记录"), QStringLiteral("导出列表")}));
    EXPECT_EQ(captions(e.PopupMenu3),
              (QStringList{QStringLiteral("保存稿件"), QStringLiteral("导入文件"),
                           QStringLiteral("全选"), QStringLiteral("复制"), QStringLiteral("粘贴"),
                           QStringLiteral("插入延时符号"), QStringLiteral("插入朗读角角"),
                           QStringLiteral("插入语速"), QStringLiteral("插入音量")}));
}

}  // namespace
