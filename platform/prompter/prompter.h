#pragma once
// Every message box and modal dialog of the program goes through the prompter. The real one
// shows them; the scripted one answers them (tests, the rehearsal program) and both record a
// "message" trace event.

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <map>
#include <vector>

class QDialog;

namespace platform {

class Trace;

enum class MessageKind { Warning, Question, Information, Error };

struct MessageBox {
    MessageKind kind;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
};

class Prompter {
public:
    virtual ~Prompter() = default;

    void setTrace(Trace* trace) { trace_ = trace; }

    // The shared message helpers.
    void showwarning(const QString& text);  // warning icon, "Warning", OK
    bool askyesno(const QString& text);     // question icon, "Confirm", &Yes/&No; true only for Yes
    void showinfo(const QString& text);     // information icon, "Information", OK
    // A box with its own caption (for example the application's error box).
    QMessageBox::StandardButton message(const MessageBox& box);

    // Shows `dialog` modally and returns its result (QDialog::Accepted / Rejected).
    int exec(QDialog& dialog);

    // Folder chooser that may create a folder; empty when cancelled.
    virtual QString chooseFolder(const QString& caption, const QString& start) = 0;
    // Chooser of existing files (several at once) with a Qt name filter; empty when cancelled.
    virtual QStringList chooseFiles(const QString& caption, const QString& filter) = 0;
    // Chooser of a file to write, proposing `proposedName`; `defaultSuffix` is appended to a
    // name typed without one. Empty when cancelled.
    virtual QString saveFile(const QString& caption, const QString& filter,
                             const QString& proposedName, const QString& defaultSuffix) = 0;

protected:
    virtual QMessageBox::StandardButton answer(const MessageBox& box) = 0;
    virtual int execDialog(QDialog& dialog) = 0;

private:
    Trace* trace_ = nullptr;
};

// Shows real boxes and dialogs.
class WidgetPrompter : public Prompter {
public:
    QString chooseFolder(const QString& caption, const QString& start) override;
    QStringList chooseFiles(const QString& caption, const QString& filter) override;
    QString saveFile(const QString& caption, const QString& filter, const QString& proposedName,
                     const QString& defaultSuffix) override;

protected:
    QMessageBox::StandardButton answer(const MessageBox& box) override;
    int execDialog(QDialog& dialog) override;
};

// Answers without showing anything. Questions take the next queued answer, else the default.
// A dialog is handled by the script registered for its objectName; without one it is rejected.
class ScriptedPrompter : public Prompter {
public:
    using DialogScript = std::function<int(QDialog&)>;

    void setDefaultYes(bool yes) { defaultYes_ = yes; }
    void queueAnswer(bool yes) { queued_.push_back(yes); }
    void setDialogScript(const QString& objectName, DialogScript script);
    // Answers of the choosers, in order; an empty queue answers "cancelled".
    void queueFolder(const QString& folder) { folders_.push_back(folder); }
    void queueFiles(const QStringList& files) { files_.push_back(files); }
    // Answers of the save chooser, in order; an empty queue answers "cancelled".
    void queueSaveFile(const QString& file) { saveFiles_.push_back(file); }
    // The name the save chooser proposed last time.
    const QString& proposedSaveName() const { return proposedSaveName_; }
    QString chooseFolder(const QString& caption, const QString& start) override;
    QStringList chooseFiles(const QString& caption, const QString& filter) override;
    QString saveFile(const QString& caption, const QString& filter, const QString& proposedName,
                     const QString& defaultSuffix) override;

    const std::vector<MessageBox>& shown() const { return shown_; }
    void clearShown() { shown_.clear(); }

protected:
    QMessageBox::StandardButton answer(const MessageBox& box) override;
    int execDialog(QDialog& dialog) override;

private:
    bool defaultYes_ = true;
    std::deque<bool> queued_;
    std::map<QString, DialogScript> scripts_;
    std::deque<QString> folders_;
    std::deque<QStringList> files_;
    std::deque<QString> saveFiles_;
    QString proposedSaveName_;
    std::vector<MessageBox> shown_;
};

QString messageKindName(MessageKind kind);

}  // namespace platform
