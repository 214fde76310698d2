#pragma once
#include <QLockFile>
#include <QString>

#include <memory>

namespace platform {

// A per-user lock held for the life of the process, so the program runs once per user. A lock
// left behind by a crashed process is taken over (QLockFile checks the owner's pid).
class SingleInstance {
public:
    // `dir` defaults to the user's runtime folder.
    explicit SingleInstance(const QString& name, const QString& dir = {});
    bool alreadyRunning() const { return !held_; }
    QString path() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    bool held_ = false;
};

}  // namespace platform
