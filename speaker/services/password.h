#pragma once
// The program password: the dialog that asks for it before protected actions and the change
// of the password on the settings tab. The password lives in setinfo.ini (System/Pwd), plain
// text, and is read fresh at every check; no entry is remembered.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace core {
struct Services;
}

namespace services {

class Tf_password : public QDialog {
    Q_OBJECT
public:
    explicit Tf_password(core::Services& services, QWidget* parent = nullptr);

    bool pwdok = false;  // result of the last showing

    QLabel* Label1;
    QLineEdit* Edit1;
    QPushButton* Button1;  // 确认
    QPushButton* Button2;  // 退出

    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    core::Services& services_;
};

// Shows the dialog modally through the prompter; true only when the stored password was typed.
bool askPassword(core::Services& services, Tf_password& dialog);

// The stored password (empty when none is set).
QString storedPassword(const core::Services& services);

enum class PasswordChange { Changed, WrongOld, Mismatch };

// Checks and stores a new password: the old and the confirmation are compared trimmed, the new
// one is stored as typed. Shows the result through the prompter.
PasswordChange changePassword(core::Services& services, const QString& oldText,
                              const QString& newText, const QString& confirmText);

// Answers the password dialog in scripted runs: types `text` and confirms; when the dialog is
// still open (wrong password) it leaves with 退出.
int typePassword(Tf_password& dialog, const QString& text);

}  // namespace services
