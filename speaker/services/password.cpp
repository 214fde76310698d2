#include "speaker/services/password.h"

#include "platform/prompter/prompter.h"
#include "speaker/core/preferences.h"
#include "speaker/core/services.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace services {

Tf_password::Tf_password(core::Services& services, QWidget* parent)
    : QDialog(parent), services_(services) {
    setObjectName(QStringLiteral("f_password"));
    setWindowTitle(QStringLiteral("请输入密码"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);

    Label1 = new QLabel(QStringLiteral("初始密码为空"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setStyleSheet(QStringLiteral("color: blue;"));

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setEchoMode(QLineEdit::Password);
    Edit1->setToolTip(QStringLiteral("输完密码后按Enter"));

    Button1 = new QPushButton(QStringLiteral("确认"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button2 = new QPushButton(QStringLiteral("退出"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Edit1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Button1, &QPushButton::clicked, this, &Tf_password::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    // Enter in the box performs 确认.
    connect(Edit1, &QLineEdit::returnPressed, this, &Tf_password::Button1Click);
}

void Tf_password::showEvent(QShowEvent* event) {
    Label1->setText(QStringLiteral("初始密码为空"));
    pwdok = false;
    Edit1->clear();
    Edit1->setFocus();
    QDialog::showEvent(event);
}

void Tf_password::keyPressEvent(QKeyEvent* event) {
    // Enter must not close the dialog through a default button: only a right password does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) return;
    QDialog::keyPressEvent(event);
}

void Tf_password::Button1Click() {
    if (Edit1->text() != storedPassword(services_)) {
        if (services_.beep) services_.beep(440, 200);
        Label1->setText(QStringLiteral("密码错误 !!!"));
        Edit1->clear();
        Edit1->setFocus();
        return;
    }
    pwdok = true;
    accept();
}

bool askPassword(core::Services& services, Tf_password& dialog) {
    dialog.pwdok = false;
    services.prompter->exec(dialog);
    return dialog.pwdok;
}

QString storedPassword(const core::Services& services) {
    return core::Preferences(services.iniPath()).readString(core::pref::Pwd);
}

PasswordChange changePassword(core::Services& services, const QString& oldText,
                              const QString& newText, const QString& confirmText) {
    core::Preferences prefs(services.iniPath());
    if (prefs.readString(core::pref::Pwd) != oldText.trimmed()) {
        services.prompter->showwarning(QStringLiteral("旧密码不对"));
        return PasswordChange::WrongOld;
    }
    if (confirmText.trimmed() != newText.trimmed()) {
        services.prompter->showwarning(QStringLiteral("两次密码不同"));
        return PasswordChange::Mismatch;
    }
    prefs.writeString(core::pref::Pwd, newText);
    services.prompter->showinfo(QStringLiteral("密码修改成功!"));
    return PasswordChange::Changed;
}

int typePassword(Tf_password& dialog, const QString& text) {
    dialog.show();
    dialog.Edit1->setText(text);
    dialog.Button1->click();
    if (dialog.isVisible()) dialog.Button2->click();
    return dialog.result();
}

}  // namespace services
