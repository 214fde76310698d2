#include "platform/system/singleinstance.h"

#include <QDir>
#include <QStandardPaths>

namespace platform {

SingleInstance::SingleInstance(const QString& name, const QString& dir) {
    QString folder = dir;
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    QDir().mkpath(folder);
    path_ = QDir(folder).filePath(name + QStringLiteral(".lock"));
    lock_ = std::make_unique<QLockFile>(path_);
    lock_->setStaleLockTime(0);  // only a dead owner makes the lock stale
    held_ = lock_->tryLock(0);
}

}  // namespace platform
