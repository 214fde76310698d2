#pragma once
// The sound files of one folder, as the folder lists of the bell page and the unplayable-file
// check show them: the files matching *.mp3 and *.wav in any letter case (Linux names are
// case-sensitive, so "Song.MP3" and "song.mp3" are two files and both count), sorted by name.

#include <QString>
#include <QStringList>

class QListWidget;

namespace bells {

class FolderList {
public:
    FolderList() = default;
    explicit FolderList(const QString& folder) { setFolder(folder); }

    // Moves to `folder` and reads it.
    void setFolder(const QString& folder);
    const QString& folder() const { return folder_; }

    // Reads the folder again; true when its file list changed.
    bool refresh();
    const QStringList& files() const { return files_; }
    int count() const { return static_cast<int>(files_.size()); }
    // Full path of file `index`; empty when out of range.
    QString path(int index) const;

    // The matching file names of `folder`, in list order.
    static QStringList matching(const QString& folder);

    // Shows the files in `view`, keeping the selected file (by name) when it is still there.
    void showIn(QListWidget* view) const;

private:
    QString folder_;
    QStringList files_;
};

}  // namespace bells
