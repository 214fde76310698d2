#include "speaker/speech/voices.h"

#include "common/gbktext.h"
#include "platform/speech/voice.h"

#include <array>

namespace speech {

namespace {

constexpr int kLabelBytes = 10;
const QString kSeparator = QStringLiteral("- ");

constexpr std::array<const char16_t*, 38> kKnownVoices = {
    u"女声 微软  =Microsoft Lili",
    u"女声 国语  =VW Lily",
    u"女声 国语  =Mei-Ling",
    u"女声 微软  =Huihui",
    u"男声 微软  =Kangkang",
    u"女声 微软  =Yaoyao ",
    u"女声 微软  =Hongyu",
    u"女声 国语  =VW Hui",
    u"女声 国语  =IQ Cherry",
    u"女声 国语  =IQ Annie",
    u"女声 国语  =KiaoKun",
    u"女声 粤语  =Sin-Ji_Full_22kHz",
    u"女声 粤语  =HunYee",
    u"女声 台语  =HanHan",
    u"男声 国语  =Liang",
    u"男声 国语  =Wang",
    u"男声 微软  =Microsoft Simplified ",
    u"Chinese",
    u"男声 国语  =IQ John",
    u"女声 美英  =VW Kate",
    u"女声 美英  =Microsoft Anna",
    u"女声 美英  =Microsoft Mary",
    u"女声 美英  =Julie",
    u"女声 美英  =Kimberly",
    u"女声 美英  =Kendra",
    u"女声 美英  =Jennifer",
    u"女声 英国  =Amy",
    u"女声 英国  =Emma",
    u"男声 美英  =Microsoft Mike",
    u"男声 美英  =Microsoft Sam",
    u"男声 美英  =Paul",
    u"男声 美英  =Eric",
    u"男声 美英  =Joey",
    u"男声 美英  =Brian",
    u"男声 韩语  =Junwoo",
    u"男声 日语  =Show",
    u"女声 日语  =Misaki",
    u"女声 日语  =Kyoko",
};

// The label as it stands in a display name: always 10 bytes, so every display name with a
// label has the same 12-byte prefix (the short row would otherwise break that rule).
QString paddedLabel(QStringView row) {
    QString label = knownVoiceLabel(row);
    return label + QString(kLabelBytes - common::gbkLength(label), QLatin1Char(' '));
}

}  // namespace

std::span<const char16_t* const> knownvoices() {
    return kKnownVoices;
}

QString knownVoiceLabel(QStringView row) {
    return common::gbkTake(row, kLabelBytes).toString();
}

QString knownVoiceName(QStringView row) {
    const qsizetype eq = row.indexOf(QLatin1Char('='));
    return (eq < 0 ? row : row.sliced(eq + 1)).trimmed().toString();
}

QString displayName(const QString& description) {
    for (const char16_t* row : kKnownVoices) {
        const QString name = knownVoiceName(row);
        if (!name.isEmpty() && description.contains(name, Qt::CaseSensitive))
            return paddedLabel(row) + kSeparator + description;
    }
    return description;
}

QString descriptionOf(const QString& displayName) {
    for (const char16_t* row : kKnownVoices) {
        for (const QString& label : {paddedLabel(row), knownVoiceLabel(row)}) {
            const QString prefix = label + kSeparator;
            if (displayName.startsWith(prefix)) return displayName.sliced(prefix.size()).trimmed();
        }
    }
    return displayName.trimmed();
}

int VoiceList::find(const QString& description) const {
    const QString wanted = description.trimmed();
    if (wanted.isEmpty()) return -1;
    for (qsizetype i = 0; i < descriptions.size(); ++i)
        if (descriptions[i].compare(wanted, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

VoiceList voicelist(const std::vector<platform::Voice>& voices) {
    VoiceList list;
    for (const platform::Voice& v : voices) {
        list.descriptions << v.description;
        list.displayNames << displayName(v.description);
    }
    return list;
}

}  // namespace speech
