#include "common/inifile.h"

#include "common/textcodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

// Only the narrow (UTF-8) interface is used: no wide-character converter needed.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <string>

namespace common {

namespace {

// A preferences file is a few kilobytes; anything far larger is not ours to parse.
constexpr qint64 kMaxFileSize = 8 * 1024 * 1024;

enum class Loaded { Ok, Missing, Unreadable };

// Loads the file into `ini`. Unreadable means the file exists but its contents are unknown,
// so a write must not replace it.
Loaded load(const QString& path, CSimpleIniA& ini) {
    ini.SetUnicode(true);
    ini.SetMultiKey(false);
    ini.SetMultiLine(false);
    ini.SetSpaces(false);  // "key=value", as the file has always been written
    // A value with blanks around it (a password may have them) is kept inside quotes.
    ini.SetQuotes(true);
    QFile file(path);
    if (!file.exists()) return Loaded::Missing;
    if (file.size() > kMaxFileSize || !file.open(QIODevice::ReadOnly)) return Loaded::Unreadable;
    QByteArray bytes = file.read(kMaxFileSize + 1);
    if (bytes.size() > kMaxFileSize || file.error() != QFileDevice::NoError)
        return Loaded::Unreadable;
    if (!isUtf8(bytes)) bytes = gbkToUtf8(bytes);
    if (ini.LoadData(bytes.constData(), static_cast<size_t>(bytes.size())) < 0)
        return Loaded::Unreadable;
    return Loaded::Ok;
}

std::string utf8(QStringView text) {
    return text.toUtf8().toStdString();
}

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {}

std::optional<QString> IniFile::read(QStringView section, QStringView key) const {
    const std::lock_guard lock(mutex_);
    CSimpleIniA ini;
    if (load(path_, ini) != Loaded::Ok) return std::nullopt;
    const char* value = ini.GetValue(utf8(section).c_str(), utf8(key).c_str(), nullptr);
    if (value == nullptr) return std::nullopt;
    return QString::fromUtf8(value);
}

bool IniFile::write(QStringView section, QStringView key, QStringView value) {
    const std::lock_guard lock(mutex_);
    CSimpleIniA ini;
    if (load(path_, ini) == Loaded::Unreadable) return false;
    // A read-only file stays as it is, as it would with the system's own profile functions.
    const QFileInfo info(path_);
    if (info.exists() && !info.isWritable()) return false;

    QString clean = value.toString();
    clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    // Quotes around a value are taken off when it is read, so a value that is itself quoted
    // gets one more pair (blanks around a value make the library quote it by itself).
    if (clean.size() >= 2 && clean.startsWith(QLatin1Char('"')) && clean.endsWith(QLatin1Char('"')))
        clean = QLatin1Char('"') + clean + QLatin1Char('"');
    if (ini.SetValue(utf8(section).c_str(), utf8(key).c_str(), utf8(clean).c_str()) < 0)
        return false;
    std::string data;
    if (ini.Save(data, false) < 0) return false;

    // Written beside and renamed over, so a crash or power cut never leaves half a file.
    QSaveFile out(path_);
    if (!out.open(QIODevice::WriteOnly)) return false;
    if (out.write(data.data(), static_cast<qint64>(data.size())) !=
        static_cast<qint64>(data.size())) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

}  // namespace common
