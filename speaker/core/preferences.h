#pragma once
// The user preferences in setinfo.ini. Nothing is cached: each read opens the file and each
// write loads, changes and saves it, at the moment the feature needs the value. A missing file,
// section or key, or a value that does not parse, gives the default. Failed writes are silent.
#include "common/inifile.h"
#include "speaker/core/prefkeys.h"
#include "speaker/core/prefvalues.h"

#include <QDate>
#include <QString>

#include <optional>

namespace core {

class Preferences {
public:
    // `iniPath` is setinfo.ini; its folder is the program folder of the folder defaults.
    explicit Preferences(const QString& iniPath);

    const QString& path() const { return file_.path(); }
    // With a trailing "/".
    const QString& programFolder() const { return programFolder_; }

    bool readBool(const pref::BoolKey& key) const { return readBool(key, key.def); }
    bool readBool(const pref::BoolKey& key, bool def) const;
    int readInt(const pref::IntKey& key) const { return readInt(key, key.def); }
    int readInt(const pref::IntKey& key, int def) const;
    QString readString(const pref::StringKey& key) const;
    QString readString(const pref::StringKey& key, const QString& def) const;
    // A colour text that is neither a known name nor a colour number gives the key's default.
    PrefColor readColor(const pref::ColorKey& key) const;
    FontStyles readFontStyle(const pref::FontStyleKey& key) const;
    // A null date when absent or not "yyyy-MM-dd".
    QDate readDate(const pref::DateKey& key) const;

    void writeBool(const pref::BoolKey& key, bool value);
    void writeInt(const pref::IntKey& key, int value);
    void writeString(const pref::StringKey& key, const QString& value);
    void writeColor(const pref::ColorKey& key, const PrefColor& value);  // invalid: not written
    void writeFontStyle(const pref::FontStyleKey& key, const FontStyles& value);
    void writeDate(const pref::DateKey& key, const QDate& value);  // null date: not written

    // The default of a string key, the program folder resolved.
    QString defaultString(const pref::StringKey& key) const;
    // The raw text of any key, nullopt when absent.
    std::optional<QString> readRaw(const char* section, const char* key) const;

private:
    void writeRaw(const char* section, const char* key, const QString& value);

    common::IniFile file_;
    QString programFolder_;
};

}  // namespace core
