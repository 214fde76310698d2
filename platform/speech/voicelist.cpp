#include "platform/speech/voicelist.h"

#include <QSet>

#include <algorithm>
#include <cstdlib>

namespace platform::speech_detail {

namespace {

// The voices a school or shop in a Chinese-speaking place needs first, with their short
// names; each listed with `female` also gets espeak-ng's female variant.
struct Featured {
    const char* identifier;
    const char* stem;
    bool female;
};
constexpr Featured kFeatured[] = {
    {"sit/cmn-Latn-pinyin", "Mandarin", true},
    {"sit/cmn", "Mandarin (latin as English)", true},
    {"sit/yue", "Cantonese", true},
    {"sit/yue-Latn-jyutping", "Cantonese (Jyutping)", false},
    {"gmw/en", "English (Great Britain)", true},
    {"gmw/en-US", "English (America)", true},
};
constexpr const char* kFemaleVariant = "+f2";

// Voices are grouped by language: Mandarin, Cantonese, English, then all others.
int languageGroup(const std::string& language) {
    const auto starts = [&](const char* p) { return language.rfind(p, 0) == 0; };
    if (starts("cmn") || language == "zh" || starts("zh-cmn")) return 0;
    if (starts("yue") || starts("zh-yue")) return 1;
    if (starts("en")) return 2;
    return 3;
}

bool isChinese(const std::string& language) {
    const auto starts = [&](const char* p) { return language.rfind(p, 0) == 0; };
    return starts("cmn") || starts("yue") || starts("zh") || starts("hak") || starts("nan");
}

int featuredIndex(const std::string& identifier) {
    const QString id = QString::fromStdString(identifier);
    for (size_t i = 0; i < std::size(kFeatured); ++i)
        if (id.compare(QLatin1String(kFeatured[i].identifier), Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

QString withQualifier(const QString& stem, const QString& qualifier) {
    if (qualifier.isEmpty()) return stem;
    if (stem.endsWith(QLatin1Char(')')))
        return stem.chopped(1) + QStringLiteral(", ") + qualifier + QLatin1Char(')');
    return stem + QStringLiteral(" (") + qualifier + QLatin1Char(')');
}

QString genderWord(VoiceGender g) {
    switch (g) {
        case VoiceGender::Male:
            return QStringLiteral("male");
        case VoiceGender::Female:
            return QStringLiteral("female");
        case VoiceGender::Unspecified:
            break;
    }
    return {};
}

VoiceGender genderOf(int espeakGender) {
    return espeakGender == 1   ? VoiceGender::Male
           : espeakGender == 2 ? VoiceGender::Female
                               : VoiceGender::Unspecified;
}

// Sound of `text` that a listener would hear: at least 0.1 s, not near silence.
bool audible(EspeakLibrary& library, const std::string& id, const QByteArray& text) {
    size_t count = 0;
    int peak = 0;
    const auto result =
        library.synthesize(id, 175, text, [&](const int16_t* s, size_t n, const espeak_EVENT*) {
            count += n;
            for (size_t i = 0; i < n; ++i) peak = std::max(peak, std::abs(int{s[i]}));
            return true;
        });
    return result == EspeakLibrary::Result::Completed && count >= 2205 && peak >= 1000;
}

bool works(EspeakLibrary& library, const EspeakVoice& v) {
    if (v.identifier.rfind("mb/", 0) == 0) return false;  // MBROLA voices need extra data
    if (isChinese(v.language)) {
        const QByteArray sentence = QStringLiteral("今天星期一").toUtf8();
        const std::string ph = library.phonemes(v.identifier, sentence);
        // A switch to another language means the characters are spelt out, not read.
        if (ph.empty() || ph.find('(') != std::string::npos) return false;
        return audible(library, v.identifier, sentence);
    }
    return audible(library, v.identifier, QByteArrayLiteral("123"));
}

}  // namespace

QString asciiName(const std::string& utf8) {
    const QString decomposed =
        QString::fromStdString(utf8).normalized(QString::NormalizationForm_D);
    QString out;
    for (QChar c : decomposed) {
        if (c == QLatin1Char('_') || c.isSpace()) c = QLatin1Char(' ');
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f) out += c;
    }
    return out.simplified();
}

std::vector<Voice> arrangeVoices(const std::vector<EspeakVoice>& working) {
    struct Entry {
        int group, featured, order;
        const EspeakVoice* v;
    };
    std::vector<Entry> entries;
    for (size_t i = 0; i < working.size(); ++i) {
        const int f = featuredIndex(working[i].identifier);
        entries.push_back({languageGroup(working[i].language), f < 0 ? 1000 : f,
                           static_cast<int>(i), &working[i]});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.group != b.group) return a.group < b.group;
        if (a.featured != b.featured) return a.featured < b.featured;
        return a.order < b.order;
    });

    std::vector<Voice> voices;
    QSet<QString> taken;
    const auto add = [&](const QString& id, const QString& stem, const std::string& language,
                         VoiceGender gender) {
        QString description = withQualifier(stem, genderWord(gender));
        for (int n = 2; taken.contains(description.toLower()); ++n)
            description = withQualifier(stem, genderWord(gender)) + QStringLiteral(" %1").arg(n);
        taken.insert(description.toLower());
        voices.push_back({id, description, QString::fromStdString(language), gender});
    };
    for (const Entry& e : entries) {
        const QString id = QString::fromStdString(e.v->identifier);
        const bool featured = e.featured < 1000;
        const QString stem =
            featured ? QString::fromLatin1(kFeatured[e.featured].stem) : asciiName(e.v->name);
        if (featured && kFeatured[e.featured].female)
            add(id + QLatin1String(kFemaleVariant), stem, e.v->language, VoiceGender::Female);
        add(id, stem.isEmpty() ? asciiName(e.v->identifier) : stem, e.v->language,
            genderOf(e.v->gender));
    }
    return voices;
}

std::vector<Voice> workingVoices(EspeakLibrary& library) {
    std::vector<EspeakVoice> working;
    for (const EspeakVoice& v : library.listVoices())
        if (works(library, v)) working.push_back(v);
    return arrangeVoices(working);
}

}  // namespace platform::speech_detail
