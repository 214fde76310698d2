#pragma once
#include <QString>
#include <QStringView>

#include <mutex>
#include <optional>

namespace common {

// One INI file, read and written at the moment a value is needed: no cache, so another writer
// (a second window, the user's editor) is always seen. Sections and keys ignore letter case.
// Files are UTF-8; a file that is not valid UTF-8 is read as GBK and rewritten as UTF-8 by the
// next write. An unreadable or damaged file reads as if the keys were absent.
class IniFile {
public:
    explicit IniFile(QString path);
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const QString& path() const { return path_; }

    // The text after "=" (blanks around it removed), or nullopt when the key is absent.
    std::optional<QString> read(QStringView section, QStringView key) const;

    // Sets a key, creating the file and section when needed. Line breaks in the value become
    // blanks (they would start new lines of the file). Returns false when the file could not be
    // written; callers that follow the "not reported" rule ignore it.
    bool write(QStringView section, QStringView key, QStringView value);

private:
    QString path_;
    mutable std::mutex mutex_;  // one load-change-save at a time through this object
};

}  // namespace common
