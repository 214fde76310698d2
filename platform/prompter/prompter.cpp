#include "platform/prompter/prompter.h"

#include "platform/trace/trace.h"

#include <QDialog>
#include <QFileDialog>
#include <QJsonObject>
#include <QPushButton>

namespace platform {

QString messageKindName(MessageKind kind) {
    switch (kind) {
        case MessageKind::Warning: return QStringLiteral("warning");
        case MessageKind::Question: return QStringLiteral("question");
        case MessageKind::Information: return QStringLiteral("info");
        case MessageKind::Error: return QStringLiteral("error");
    }
    return {};
}

namespace {
QString buttonName(QMessageBox::StandardButton b) {
    switch (b) {
        case QMessageBox::Yes: return QStringLiteral("yes");
        case QMessageBox::No: return QStringLiteral("no");
        case QMessageBox::Ok: return QStringLiteral("ok");
        case QMessageBox::Cancel: return QStringLiteral("cancel");
        default: return QStringLiteral("none");
    }
}
}  // namespace

QMessageBox::StandardButton Prompter::message(const MessageBox& box) {
    const auto result = answer(box);
    if (trace_) {
        trace_->record(QStringLiteral("message"),
                       {{QStringLiteral("kind"), messageKindName(box.kind)},
                        {QStringLiteral("caption"), box.caption},
                        {QStringLiteral("text"), box.text},
                        {QStringLiteral("answer"), buttonName(result)}});
    }
    return result;
}

void Prompter::showwarning(const QString& text) {
    message({MessageKind::Warning, QStringLiteral("Warning"), text, QMessageBox::Ok});
}

bool Prompter::askyesno(const QString& text) {
    return message({MessageKind::Question, QStringLiteral("Confirm"), text,
                    QMessageBox::Yes | QMessageBox::No}) == QMessageBox::Yes;
}

void Prompter::showinfo(const QString& text) {
    message({MessageKind::Information, QStringLiteral("Information"), text, QMessageBox::Ok});
}

int Prompter::exec(QDialog& dialog) { return execDialog(dialog); }

QMessageBox::StandardButton WidgetPrompter::answer(const MessageBox& box) {
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (box.kind) {
        case MessageKind::Warning: icon = QMessageBox::Warning; break;
        case MessageKind::Question: icon = QMessageBox::Question; break;
        case MessageKind::Information: icon = QMessageBox::Information; break;
        case MessageKind::Error: icon = QMessageBox::Critical; break;
    }
    QMessageBox mb(icon, box.caption, box.text, box.buttons);
    if (auto* yes = mb.button(QMessageBox::Yes)) yes->setText(QStringLiteral("&Yes"));
    if (auto* no = mb.button(QMessageBox::No)) no->setText(QStringLiteral("&No"));
    if (auto* ok = mb.button(QMessageBox::Ok)) ok->setText(QStringLiteral("OK"));
    const int r = mb.exec();
    // Closing a Yes/No box counts as No.
    if (r != QMessageBox::Yes && (box.buttons & QMessageBox::No)) return QMessageBox::No;
    return static_cast<QMessageBox::StandardButton>(r);
}

int WidgetPrompter::execDialog(QDialog& dialog) { return dialog.exec(); }

QString WidgetPrompter::chooseFolder(const QString& caption, const QString& start) {
    // Qt's own dialog has a "new folder" button, so a missing folder can be made here.
    return QFileDialog::getExistingDirectory(
        nullptr, caption, start, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

QStringList WidgetPrompter::chooseFiles(const QString& caption, const QString& filter) {
    return QFileDialog::getOpenFileNames(nullptr, caption, QString(), filter);
}

QString WidgetPrompter::saveFile(const QString& caption, const QString& filter,
                                 const QString& proposedName, const QString& defaultSuffix) {
    QFileDialog dialog(nullptr, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QString ScriptedPrompter::saveFile(const QString&, const QString&, const QString& proposedName,
                                   const QString&) {
    proposedSaveName_ = proposedName;
    if (saveFiles_.empty()) return {};
    QString f = saveFiles_.front();
    saveFiles_.pop_front();
    return f;
}

QString ScriptedPrompter::chooseFolder(const QString&, const QString&) {
    if (folders_.empty()) return {};
    QString f = folders_.front();
    folders_.pop_front();
    return f;
}

QStringList ScriptedPrompter::chooseFiles(const QString&, const QString&) {
    if (files_.empty()) return {};
    QStringList f = files_.front();
    files_.pop_front();
    return f;
}

void ScriptedPrompter::setDialogScript(const QString& objectName, DialogScript script) {
    scripts_[objectName] = std::move(script);
}

QMessageBox::StandardButton ScriptedPrompter::answer(const MessageBox& box) {
    shown_.push_back(box);
    if (!(box.buttons & QMessageBox::Yes)) {
        return (box.buttons & QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::NoButton;
    }
    bool yes = defaultYes_;
    if (!queued_.empty()) {
        yes = queued_.front();
        queued_.pop_front();
    }
    return yes ? QMessageBox::Yes : QMessageBox::No;
}

int ScriptedPrompter::execDialog(QDialog& dialog) {
    auto it = scripts_.find(dialog.objectName());
    if (it == scripts_.end()) return QDialog::Rejected;
    return it->second(dialog);
}

}  // namespace platform
