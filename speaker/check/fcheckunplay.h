#pragma once
// The unplayable-file check: opens every WAV and MP3 file of a folder on the shared channel,
// without playing it, and lists those that cannot be opened so the user can delete them
// before a bell or a piece of music fails at its time.

#include "speaker/bells/folderlist.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class Prompter;
}
namespace bells {
class PlaybackChannel;
}

namespace check {

class TFcheckunplay : public QDialog {
    Q_OBJECT
public:
    TFcheckunplay(bells::PlaybackChannel& channel, platform::Prompter& prompter,
                  QWidget* parent = nullptr);

    void FormShow();
    void Button8Click();  // choose the folder
    void Button9Click();  // check

    // Moves the hidden folder list (DF_DirectoryListBox) to `folder`.
    void setFolder(const QString& folder);
    const QString& folder() const { return folder_.folder(); }

    QLabel* Panel1;
    QPushButton* Button8;
    QPushButton* Button9;
    QLineEdit* Edit1;
    QListWidget* DefaultListBox1;
    QPlainTextEdit* Memo1;
    QLabel* Label1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bells::PlaybackChannel& channel_;
    platform::Prompter& prompter_;
    bells::FolderList folder_;
};

}  // namespace check
