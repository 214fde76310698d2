#include "speaker/core/prefvalues.h"

#include <array>
#include <cstdint>
#include <limits>

namespace core {

namespace {

// A colour number as stored: 0x00BBGGRR for a plain colour, 0x800000nn for system colour nn.
struct NamedColor {
    const char* name;
    std::uint32_t number;
    QRgb rgb;  // what it shows as; for system colours the usual default scheme
};

constexpr std::uint32_t kSystem = 0x80000000u;

constexpr std::array<NamedColor, 49> kColors{{
    {"clBlack", 0x000000, 0x000000},
    {"clMaroon", 0x000080, 0x800000},
    {"clGreen", 0x008000, 0x008000},
    {"clOlive", 0x008080, 0x808000},
    {"clNavy", 0x800000, 0x000080},
    {"clPurple", 0x800080, 0x800080},
    {"clTeal", 0x808000, 0x008080},
    {"clGray", 0x808080, 0x808080},
    {"clSilver", 0xC0C0C0, 0xC0C0C0},
    {"clRed", 0x0000FF, 0xFF0000},
    {"clLime", 0x00FF00, 0x00FF00},
    {"clYellow", 0x00FFFF, 0xFFFF00},
    {"clBlue", 0xFF0000, 0x0000FF},
    {"clFuchsia", 0xFF00FF, 0xFF00FF},
    {"clAqua", 0xFFFF00, 0x00FFFF},
    {"clWhite", 0xFFFFFF, 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0, 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6, 0xA6CAF0},
    {"clCream", 0xF0FBFF, 0xFFFBF0},
    {"clMedGray", 0xA4A0A0, 0xA0A0A4},
    {"clScrollBar", kSystem | 0, 0xC8C8C8},
    {"clBackground", kSystem | 1, 0x000000},
    {"clActiveCaption", kSystem | 2, 0x99B4D1},
    {"clInactiveCaption", kSystem | 3, 0xBFCDDB},
    {"clMenu", kSystem | 4, 0xF0F0F0},
    {"clWindow", kSystem | 5, 0xFFFFFF},
    {"clWindowFrame", kSystem | 6, 0x646464},
    {"clMenuText", kSystem | 7, 0x000000},
    {"clWindowText", kSystem | 8, 0x000000},
    {"clCaptionText", kSystem | 9, 0x000000},
    {"clActiveBorder", kSystem | 10, 0xB4B4B4},
    {"clInactiveBorder", kSystem | 11, 0xF4F7FC},
    {"clAppWorkSpace", kSystem | 12, 0xABABAB},
    {"clHighlight", kSystem | 13, 0x3399FF},
    {"clHighlightText", kSystem | 14, 0xFFFFFF},
    {"clBtnFace", kSystem | 15, 0xF0F0F0},
    {"clBtnShadow", kSystem | 16, 0xA0A0A0},
    {"clGrayText", kSystem | 17, 0x6D6D6D},
    {"clBtnText", kSystem | 18, 0x000000},
    {"clInactiveCaptionText", kSystem | 19, 0x434E54},
    {"clBtnHighlight", kSystem | 20, 0xFFFFFF},
    {"cl3DDkShadow", kSystem | 21, 0x696969},
    {"cl3DLight", kSystem | 22, 0xE3E3E3},
    {"clInfoText", kSystem | 23, 0x000000},
    {"clInfoBk", kSystem | 24, 0xFFFFE1},
    {"clHotLight", kSystem | 26, 0x0066CC},
    {"clGradientActiveCaption", kSystem | 27, 0xB9D1EA},
    {"clGradientInactiveCaption", kSystem | 28, 0xD7E4F2},
    {"clMenuHighlight", kSystem | 29, 0x3399FF},
}};

PrefColor named(const NamedColor& entry) {
    return PrefColor{QColor::fromRgb(entry.rgb), QString::fromLatin1(entry.name)};
}

QColor fromBgr(std::uint32_t number) {
    return QColor(static_cast<int>(number & 0xFF), static_cast<int>((number >> 8) & 0xFF),
                  static_cast<int>((number >> 16) & 0xFF));
}

QString hexText(std::uint32_t number) {
    return QStringLiteral("$%1").arg(number, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<PrefColor> fromNumber(std::uint32_t number) {
    if ((number & 0xFF000000u) == 0) return PrefColor{fromBgr(number), hexText(number)};
    for (const NamedColor& entry : kColors)
        if (entry.number == number) return named(entry);
    return std::nullopt;  // palette-relative or unknown system colours: not ours to guess
}

bool hasOnly(QStringView digits, int base) {
    if (digits.isEmpty()) return false;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        const bool dec = u >= u'0' && u <= u'9';
        const bool hex = (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
        if (!(dec || (base == 16 && hex))) return false;
    }
    return true;
}

// 1..8 hexadecimal digits as a 32-bit pattern.
std::optional<std::uint32_t> parseHex32(QStringView digits) {
    if (!hasOnly(digits, 16) || digits.size() > 8) return std::nullopt;
    bool ok = false;
    const auto value = digits.toUInt(&ok, 16);
    if (!ok) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

}  // namespace

std::optional<int> parseIniInt(QStringView text) {
    text = text.trimmed();
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        const auto bits = parseHex32(text.mid(2));
        if (!bits) return std::nullopt;
        return static_cast<int>(static_cast<std::int32_t>(*bits));
    }
    QStringView digits = text;
    if (!digits.isEmpty() && (digits[0] == u'-' || digits[0] == u'+')) digits = digits.mid(1);
    if (!hasOnly(digits, 10)) return std::nullopt;
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<bool> parseIniBool(QStringView text) {
    const auto value = parseIniInt(text);
    if (!value) return std::nullopt;
    return *value != 0;
}

PrefColor PrefColor::fromColor(const QColor& color) {
    const QRgb rgb = color.rgb() & 0xFFFFFF;
    for (const NamedColor& entry : kColors)
        if ((entry.number & kSystem) == 0 && entry.rgb == rgb) return named(entry);
    const auto number = static_cast<std::uint32_t>(qRed(rgb)) |
                        (static_cast<std::uint32_t>(qGreen(rgb)) << 8) |
                        (static_cast<std::uint32_t>(qBlue(rgb)) << 16);
    return PrefColor{QColor::fromRgb(rgb), hexText(number)};
}

std::optional<PrefColor> parseColor(QStringView text) {
    text = text.trimmed();
    for (const NamedColor& entry : kColors)
        if (text.compare(QLatin1StringView(entry.name), Qt::CaseInsensitive) == 0)
            return named(entry);
    if (text.startsWith(u'$')) {
        const auto number = parseHex32(text.mid(1));
        if (!number) return std::nullopt;
        return fromNumber(*number);
    }
    // A plain colour number, as the colour conversion of older versions also accepted.
    if (const auto number = parseIniInt(text))
        return fromNumber(static_cast<std::uint32_t>(*number));
    return std::nullopt;
}

QString colorText(const PrefColor& value) {
    if (!value.color.isValid()) return {};
    if (const auto read = parseColor(value.text);
        read && (read->color.rgb() & 0xFFFFFF) == (value.color.rgb() & 0xFFFFFF))
        return read->text;
    return PrefColor::fromColor(value.color).text;
}

void FontStyles::applyTo(QFont& font) const {
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setStrikeOut(strikeOut);
}

FontStyles FontStyles::of(const QFont& font) {
    return FontStyles{font.bold(), font.italic(), font.underline(), font.strikeOut()};
}

FontStyles parseFontStyles(QStringView text) {
    return FontStyles{text.contains(u"fsBold"), text.contains(u"fsItalic"),
                      text.contains(u"fsUnderline"), text.contains(u"fsStrikeOut")};
}

QString fontStylesText(const FontStyles& styles) {
    QStringList names;
    if (styles.bold) names << QStringLiteral("fsBold");
    if (styles.italic) names << QStringLiteral("fsItalic");
    if (styles.underline) names << QStringLiteral("fsUnderline");
    if (styles.strikeOut) names << QStringLiteral("fsStrikeOut");
    return u'[' + names.join(u',') + u']';
}

std::optional<QDate> parseIniDate(QStringView text) {
    const QDate date = QDate::fromString(text.trimmed().toString(), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid()) return std::nullopt;
    return date;
}

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

}  // namespace core
