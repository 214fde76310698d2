#include "appfixture.h"

#include "speaker/app/mainwindow.h"
#include "speaker/services/password.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

using PasswordTest = AppTest;

TEST_F(PasswordTest, DialogRejectsUntilTheStoredTextIsTypedExactly) {
    writeIni(QStringLiteral("[System]\nPwd=Secret\n"));
    services::Tf_password dialog(services);
    dialog.show();
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("初始密码为空"));
    for (const char* wrong : {"secret", "Secret ", " Secret", ""}) {
        dialog.Edit1->setText(QString::fromUtf8(wrong));
        dialog.Button1->click();
        EXPECT_FALSE(dialog.pwdok) << wrong;
        EXPECT_TRUE(dialog.isVisible()) << wrong;
        EXPECT_EQ(dialog.Label1->text(), QStringLiteral("密码错误 !!!"));
        EXPECT_TRUE(dialog.Edit1->text().isEmpty());
    }
    EXPECT_EQ(beeps.size(), 4u);
    dialog.Edit1->setText(QStringLiteral("Secret"));
    dialog.Button1->click();
    EXPECT_TRUE(dialog.pwdok);
    EXPECT_FALSE(dialog.isVisible());
    // Showing it again starts over.
    dialog.show();
    EXPECT_FALSE(dialog.pwdok);
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("初始密码为空"));
    dialog.Button2->click();
    EXPECT_FALSE(dialog.pwdok);
}

TEST_F(PasswordTest, EnterInTheBoxConfirms) {
    services::Tf_password dialog(services);
    dialog.show();
    QMetaObject::invokeMethod(dialog.Edit1, "returnPressed");
    EXPECT_TRUE(dialog.pwdok);
}

namespace {
struct ChangeCase {
    const char* stored;
    const char* oldText;
    const char* newText;
    const char* confirm;
    services::PasswordChange result;
    const char* message;
    const char* storedAfter;
};
}  // namespace

class PasswordChangeTest : public AppTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(PasswordChangeTest, ChangeFollowsTheRules) {
    const ChangeCase c = GetParam();
    if (c.stored) {
        writeIni(QString());
        ASSERT_EQ(services::changePassword(services, QString(), QString::fromUtf8(c.stored),
                                           QString::fromUtf8(c.stored)),
                  services::PasswordChange::Changed);
        prompter.clearShown();
    }
    EXPECT_EQ(services::changePassword(services, QString::fromUtf8(c.oldText),
                                       QString::fromUtf8(c.newText), QString::fromUtf8(c.confirm)),
              c.result);
    ASSERT_EQ(prompter.shown().size(), 1u);
    EXPECT_EQ(prompter.shown()[0].text, QString::fromUtf8(c.message));
    EXPECT_EQ(services::storedPassword(services), QString::fromUtf8(c.storedAfter));
}

using services::PasswordChange;
INSTANTIATE_TEST_SUITE_P(
    Cases, PasswordChangeTest,
    ::testing::Values(
        ChangeCase{nullptr, "", "abc", "abc", PasswordChange::Changed, "密码修改成功!", "abc"},
        ChangeCase{"abc", "abc ", "xyz", "xyz", PasswordChange::Changed, "密码修改成功!", "xyz"},
        ChangeCase{"abc", "ABC", "xyz", "xyz", PasswordChange::WrongOld, "旧密码不对", "abc"},
        ChangeCase{"abc", "abc", "xyz", "xy", PasswordChange::Mismatch, "两次密码不同", "abc"},
        ChangeCase{"abc", "abc", " x y ", "x y", PasswordChange::Changed, "密码修改成功!", " x y "},
        ChangeCase{"abc", "abc", "", "", PasswordChange::Changed, "密码修改成功!", ""}));

TEST_F(PasswordTest, PasswordWithBlanksPassesOnlyWhenTypedWithThem) {
    writeIni(QString());
    ASSERT_EQ(services::changePassword(services, QString(), QStringLiteral(" pw "),
                                       QStringLiteral("pw")),
              services::PasswordChange::Changed);
    services::Tf_password dialog(services);
    dialog.show();
    dialog.Edit1->setText(QStringLiteral("pw"));
    dialog.Button1->click();
    EXPECT_FALSE(dialog.pwdok);
    dialog.Edit1->setText(QStringLiteral(" pw "));
    dialog.Button1->click();
    EXPECT_TRUE(dialog.pwdok);
}

TEST_F(PasswordTest, SettingsTabClearsTheThreeBoxes) {
    installDatabase();
    auto& w = start();
    w.f_speaker->Edit1->setText(QStringLiteral("a"));
    w.f_speaker->Edit2->setText(QStringLiteral("b"));
    w.f_speaker->Edit3->setText(QStringLiteral("c"));
    w.f_speaker->RzPageControl1->setCurrentWidget(w.f_speaker->TabSheet3);
    EXPECT_TRUE(w.f_speaker->Edit1->text().isEmpty());
    EXPECT_TRUE(w.f_speaker->Edit2->text().isEmpty());
    EXPECT_TRUE(w.f_speaker->Edit3->text().isEmpty());
}
