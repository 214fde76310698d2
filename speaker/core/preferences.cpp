#include "speaker/core/preferences.h"

#include "common/paths.h"

#include <QFileInfo>

namespace core {

Preferences::Preferences(const QString& iniPath)
    : file_(iniPath), programFolder_(common::addbackslash(QFileInfo(iniPath).absolutePath())) {}

std::optional<QString> Preferences::readRaw(const char* section, const char* key) const {
    return file_.read(QString::fromUtf8(section), QString::fromUtf8(key));
}

void Preferences::writeRaw(const char* section, const char* key, const QString& value) {
    (void)file_.write(QString::fromUtf8(section), QString::fromUtf8(key), value);
}

bool Preferences::readBool(const pref::BoolKey& key, bool def) const {
    const auto text = readRaw(key.section, key.key);
    if (!text) return def;
    return parseIniBool(*text).value_or(def);
}

int Preferences::readInt(const pref::IntKey& key, int def) const {
    const auto text = readRaw(key.section, key.key);
    if (!text) return def;
    return parseIniInt(*text).value_or(def);
}

QString Preferences::defaultString(const pref::StringKey& key) const {
    const QString tail = QString::fromUtf8(key.def);
    return key.base == pref::Base::ProgramFolder ? programFolder_ + tail : tail;
}

QString Preferences::readString(const pref::StringKey& key) const {
    return readString(key, defaultString(key));
}

QString Preferences::readString(const pref::StringKey& key, const QString& def) const {
    return readRaw(key.section, key.key).value_or(def);
}

PrefColor Preferences::readColor(const pref::ColorKey& key) const {
    if (const auto text = readRaw(key.section, key.key))
        if (auto color = parseColor(*text)) return *color;
    // The defaults are names from the colour table, so this always parses.
    return parseColor(QString::fromUtf8(key.def)).value_or(PrefColor{});
}

FontStyles Preferences::readFontStyle(const pref::FontStyleKey& key) const {
    return parseFontStyles(readRaw(key.section, key.key).value_or(QString::fromUtf8(key.def)));
}

QDate Preferences::readDate(const pref::DateKey& key) const {
    const auto text = readRaw(key.section, key.key);
    if (!text) return {};
    return parseIniDate(*text).value_or(QDate{});
}

void Preferences::writeBool(const pref::BoolKey& key, bool value) {
    writeRaw(key.section, key.key, boolText(value));
}

void Preferences::writeInt(const pref::IntKey& key, int value) {
    writeRaw(key.section, key.key, QString::number(value));
}

void Preferences::writeString(const pref::StringKey& key, const QString& value) {
    writeRaw(key.section, key.key, value);
}

void Preferences::writeColor(const pref::ColorKey& key, const PrefColor& value) {
    const QString text = colorText(value);
    if (!text.isEmpty()) writeRaw(key.section, key.key, text);
}

void Preferences::writeFontStyle(const pref::FontStyleKey& key, const FontStyles& value) {
    writeRaw(key.section, key.key, fontStylesText(value));
}

void Preferences::writeDate(const pref::DateKey& key, const QDate& value) {
    if (value.isValid()) writeRaw(key.section, key.key, dateText(value));
}

}  // namespace core
