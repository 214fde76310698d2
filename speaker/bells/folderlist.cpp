#include "speaker/bells/folderlist.h"

#include <QDir>
#include <QListWidget>

namespace bells {

void FolderList::setFolder(const QString& folder) {
    folder_ = folder;
    files_ = matching(folder_);
}

bool FolderList::refresh() {
    QStringList now = matching(folder_);
    if (now == files_) return false;
    files_ = std::move(now);
    return true;
}

QString FolderList::path(int index) const {
    if (index < 0 || index >= count()) return {};
    return QDir(folder_).filePath(files_.at(index));
}

QStringList FolderList::matching(const QString& folder) {
    if (folder.trimmed().isEmpty()) return {};
    QDir dir(folder);
    // Name filters of QDir ignore letter case unless told otherwise.
    dir.setNameFilters({QStringLiteral("*.mp3"), QStringLiteral("*.wav")});
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    return dir.entryList();
}

void FolderList::showIn(QListWidget* view) const {
    if (!view) return;
    QStringList shown;
    for (int i = 0; i < view->count(); ++i) shown << view->item(i)->text();
    if (shown == files_) return;
    const QListWidgetItem* current = view->currentItem();
    const QString selected = current ? current->text() : QString();
    view->clear();
    view->addItems(files_);
    const int keep = selected.isEmpty() ? -1 : static_cast<int>(files_.indexOf(selected));
    if (keep >= 0) view->setCurrentRow(keep);
}

}  // namespace bells
