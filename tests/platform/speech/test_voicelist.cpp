#include "platform/speech/speechengine.h"
#include "platform/speech/voicelist.h"

#include <QSet>

#include <gtest/gtest.h>

using platform::Voice;
using platform::VoiceGender;
using platform::speech_detail::arrangeVoices;
using platform::speech_detail::asciiName;
using platform::speech_detail::EspeakVoice;

TEST(VoiceList, MandarinCantoneseEnglishFirstWithFemaleVariantsThenTheRestInOrder) {
    const std::vector<EspeakVoice> working = {
        {"Afrikaans", "gmw/af", "af", 1},
        {"English (Great Britain)", "gmw/en", "en-gb", 1},
        {"Chinese (Cantonese)", "sit/yue", "yue", 1},
        {"Chinese (Mandarin, latin as Pinyin)", "sit/cmn-Latn-pinyin", "cmn-latn-pinyin", 1},
        {"M\u0101ori", "poz/mi", "mi", 1},
        {"Afrikaans", "gmw/af-x", "af", 1},
        {"Robot", "art/robot", "robot", 0},
    };
    struct Expected {
        const char* id;
        const char* description;
        VoiceGender gender;
    };
    const Expected expected[] = {
        {"sit/cmn-Latn-pinyin+f2", "Mandarin (female)", VoiceGender::Female},
        {"sit/cmn-Latn-pinyin", "Mandarin (male)", VoiceGender::Male},
        {"sit/yue+f2", "Cantonese (female)", VoiceGender::Female},
        {"sit/yue", "Cantonese (male)", VoiceGender::Male},
        {"gmw/en+f2", "English (Great Britain, female)", VoiceGender::Female},
        {"gmw/en", "English (Great Britain, male)", VoiceGender::Male},
        {"gmw/af", "Afrikaans (male)", VoiceGender::Male},
        {"poz/mi", "Maori (male)", VoiceGender::Male},
        {"gmw/af-x", "Afrikaans (male) 2", VoiceGender::Male},
        {"art/robot", "Robot", VoiceGender::Unspecified},
    };
    const std::vector<Voice> voices = arrangeVoices(working);
    ASSERT_EQ(voices.size(), std::size(expected));
    for (size_t i = 0; i < voices.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(voices[i].id, QLatin1String(expected[i].id));
        EXPECT_EQ(voices[i].description, QLatin1String(expected[i].description));
        EXPECT_EQ(voices[i].gender, expected[i].gender);
    }
}

TEST(VoiceList, NamesBecomePrintableAscii) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"Norwegian_Bokm\u00e5l", "Norwegian Bokmal"},
        {"M\u0101ori", "Maori"},
        {"Chinese (Mandarin, latin as Pinyin)", "Chinese (Mandarin, latin as Pinyin)"},
        {"\u4e2d\u6587 x\ty", "x y"},
    };
    for (const Case& c : cases) EXPECT_EQ(asciiName(c.in), QLatin1String(c.out)) << c.in;
}

TEST(VoiceList, InstalledVoicesWorkAndAreDescribedUniquely) {
    platform::SpeechEngine engine;
    ASSERT_TRUE(engine.available()) << engine.errorText().toStdString();
    const auto& voices = engine.voices();
    ASSERT_FALSE(voices.empty());
    // Index 0 reads Chinese characters in Mandarin (Debian's "cmn" spells them in English and
    // must not be offered).
    EXPECT_TRUE(voices[0].language.startsWith(QLatin1String("cmn"))) << voices[0].id.toStdString();
    EXPECT_EQ(voices[0].description, QLatin1String("Mandarin (female)"));
    QSet<QString> descriptions, ids;
    bool cantonese = false, english = false;
    for (const Voice& v : voices) {
        SCOPED_TRACE(v.id.toStdString());
        EXPECT_NE(v.id, QLatin1String("sit/cmn"));
        EXPECT_FALSE(descriptions.contains(v.description.toLower()));
        descriptions.insert(v.description.toLower());
        ids.insert(v.id);
        EXPECT_FALSE(v.description.isEmpty());
        EXPECT_LE(v.description.size(), 48);
        for (QChar c : v.description) EXPECT_TRUE(c.unicode() >= 0x20 && c.unicode() < 0x7f);
        cantonese = cantonese || v.language == QLatin1String("yue");
        english = english || v.language.startsWith(QLatin1String("en"));
    }
    EXPECT_EQ(ids.size(), static_cast<qsizetype>(voices.size()));
    EXPECT_TRUE(cantonese);
    EXPECT_TRUE(english);
}
