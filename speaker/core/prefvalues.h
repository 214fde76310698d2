#pragma once
// The text forms of preference values as they stand in setinfo.ini.
#include <QColor>
#include <QDate>
#include <QFont>
#include <QString>
#include <QStringView>

#include <optional>

namespace core {

// Integer: optional sign and decimal digits, or "0x"/"0X" and 1..8 hexadecimal digits (taken as
// a 32-bit pattern, so "0xFFFFFFFF" is -1). Blanks around the number are ignored; anything else
// (trailing junk, out of range, empty) is not a number.
std::optional<int> parseIniInt(QStringView text);

// Bool: read as an integer, any value other than 0 is true.
std::optional<bool> parseIniBool(QStringView text);
inline QString boolText(bool value) {
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

// A colour as read from the file, with the text it was read as, so a system colour name such as
// "clWindow" is written back as that name rather than as the value it stands for.
struct PrefColor {
    QColor color;
    QString text;  // "clTeal", "clWindow", "$00BBGGRR"

    // Standard colour name when one matches, else "$00BBGGRR".
    static PrefColor fromColor(const QColor& color);
    bool operator==(const PrefColor&) const = default;
};

// Standard and system colour names (letter case ignored), "$" hexadecimal 00BBGGRR, or a decimal
// colour number; a system colour number ($800000nn) maps to its name. Anything else: nullopt.
std::optional<PrefColor> parseColor(QStringView text);

// The text to store: `text` when it still stands for `color`, else the form of fromColor.
// Empty for an invalid colour (nothing valid to store).
QString colorText(const PrefColor& value);

struct FontStyles {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    void applyTo(QFont& font) const;
    static FontStyles of(const QFont& font);
    bool operator==(const FontStyles&) const = default;
};

// Each style is set when its name ("fsBold", ...) occurs anywhere in the text.
FontStyles parseFontStyles(QStringView text);
// "[fsBold,fsItalic,fsUnderline,fsStrikeOut]" with only the set styles, "[]" for none.
QString fontStylesText(const FontStyles& styles);

// Date "yyyy-MM-dd"; nullopt for anything else.
std::optional<QDate> parseIniDate(QStringView text);
QString dateText(const QDate& date);

}  // namespace core
