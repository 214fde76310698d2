// Known voices, display names and their way back to descriptions, the voice list, the
// reading roles and the voice controls of the text page.
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "common/gbktext.h"
#include "platform/speech/speechengine.h"
#include "platform/speech/voice.h"
#include "speaker/core/preferences.h"
#include "speaker/speech/readers.h"
#include "speaker/speech/voicepanel.h"
#include "speaker/speech/voices.h"

namespace {
QString q(const char16_t* s) {
    return QString::fromUtf16(s);
}
}  // namespace

TEST(KnownVoices, ThirtyEightRowsWithTenByteLabelsExceptTheShortRow) {
    const auto rows = speech::knownvoices();
    ASSERT_EQ(rows.size(), 38u);
    struct Case {
        size_t number;  // 1-based, as listed
        const char16_t* row;
        const char16_t* label;
        const char16_t* name;
    };
    const Case cases[] = {
        {1, u"女声 微软  =Microsoft Lili", u"女声 微软 ", u"Microsoft Lili"},
        {6, u"女声 微软  =Yaoyao ", u"女声 微软 ", u"Yaoyao"},
        {12, u"女声 粤语  =Sin-Ji_Full_22kHz", u"女声 粤语 ", u"Sin-Ji_Full_22kHz"},
        {17, u"男声 微软  =Microsoft Simplified ", u"男声 微软 ", u"Microsoft Simplified"},
        {18, u"Chinese", u"Chinese", u"Chinese"},
        {38, u"女声 日语  =Kyoko", u"女声 日语 ", u"Kyoko"},
    };
    for (const Case& c : cases) {
        const QString row = q(rows[c.number - 1]);
        EXPECT_EQ(row, q(c.row)) << c.number;
        EXPECT_EQ(speech::knownVoiceLabel(row), q(c.label)) << c.number;
        EXPECT_EQ(speech::knownVoiceName(row), q(c.name)) << c.number;
    }
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i == 17) continue;
        EXPECT_EQ(common::gbkLength(speech::knownVoiceLabel(q(rows[i]))), 10) << i + 1;
        EXPECT_TRUE(q(rows[i]).contains(QStringLiteral("  ="))) << i + 1;
    }
}

TEST(KnownVoices, DisplayNamesAndTheirDescriptions) {
    struct Case {
        const char16_t* description;
        const char16_t* display;
    };
    const Case cases[] = {
        {u"VW Lily", u"女声 国语 - VW Lily"},
        {u"VW Hui", u"女声 国语 - VW Hui"},
        {u"Microsoft Simplified Chinese", u"男声 微软 - Microsoft Simplified Chinese"},
        {u"ScanSoft Sin-Ji_Full_22kHz", u"女声 粤语 - ScanSoft Sin-Ji_Full_22kHz"},
        {u"Hakka Chinese", u"Chinese   - Hakka Chinese"},  // the short label padded
        {u"Mandarin (female)", u"Mandarin (female)"},
        {u"vw lily", u"vw lily"},  // names match with their letter case
        {u"", u""},
    };
    for (const Case& c : cases) {
        const QString d = q(c.description), display = q(c.display);
        EXPECT_EQ(speech::displayName(d), display) << d.toStdString();
        EXPECT_EQ(speech::descriptionOf(display), d) << d.toStdString();
        EXPECT_EQ(speech::descriptionOf(d), d) << d.toStdString();  // safe on descriptions
        // Every labelled display name keeps the 12-byte prefix other readers drop.
        if (display != d) {
            EXPECT_EQ(display.sliced(common::gbkIndex(display, 12)), d) << d.toStdString();
        }
    }
    struct Stored {
        const char16_t* stored;
        const char16_t* description;
    };
    const Stored stored[] = {
        {u"Chinese- Hakka Chinese", u"Hakka Chinese"},  // as an older file may hold it
        {u"  女声 国语 - VW Hui  ", u"  女声 国语 - VW Hui"},
        {u" VW Hui ", u"VW Hui"},
        {u"女声 国语 -VW Hui", u"女声 国语 -VW Hui"},
    };
    for (const Stored& s : stored)
        EXPECT_EQ(speech::descriptionOf(q(s.stored)), q(s.description).trimmed())
            << q(s.stored).toStdString();
}

TEST(KnownVoices, VoiceListFindsByDescriptionIgnoringCase) {
    const std::vector<platform::Voice> voices = {
        {QStringLiteral("a"), QStringLiteral("Mandarin (female)"), QStringLiteral("cmn"), {}},
        {QStringLiteral("b"), QStringLiteral("VW Hui"), QStringLiteral("cmn"), {}},
        {QStringLiteral("c"), QStringLiteral("Hakka Chinese"), QStringLiteral("hak"), {}},
    };
    const speech::VoiceList list = speech::voicelist(voices);
    EXPECT_EQ(list.descriptions,
              QStringList({QStringLiteral("Mandarin (female)"), QStringLiteral("VW Hui"),
                           QStringLiteral("Hakka Chinese")}));
    EXPECT_EQ(list.displayNames,
              QStringList({QStringLiteral("Mandarin (female)"), q(u"女声 国语 - VW Hui"),
                           q(u"Chinese   - Hakka Chinese")}));
    struct Case {
        const char* description;
        int index;
    };
    for (const Case c : {Case{"vw hui", 1}, Case{"MANDARIN (FEMALE)", 0}, Case{" VW Hui ", 1},
                         Case{"VW", -1}, Case{"", -1}, Case{"Cantonese", -1}})
        EXPECT_EQ(list.find(QString::fromUtf8(c.description)), c.index) << c.description;
}

TEST(Readers, RolesResolveToDescriptionsWithTheirMenuCaptions) {
    QTemporaryDir dir;
    core::Preferences prefs(dir.filePath(QStringLiteral("setinfo.ini")));
    prefs.writeString(core::pref::reader1, q(u"女声 国语 - VW Hui"));
    prefs.writeString(core::pref::reader3, QStringLiteral("Mandarin (female)"));
    prefs.writeString(core::pref::reader6, q(u"Chinese   - Hakka Chinese"));
    const speech::Readers r = speech::getreader(prefs);
    const char16_t* voices[] = {u"VW Hui", u"", u"Mandarin (female)", u"", u"", u"Hakka Chinese"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(r.roleVoices[i], q(voices[i])) << i + 1;
    EXPECT_EQ(r.captions[0], q(u"[角色&1]女声 国语 - VW Hui"));
    EXPECT_EQ(r.captions[1], q(u"[角色&2]"));
    EXPECT_EQ(r.displayNames[5], q(u"Chinese   - Hakka Chinese"));
}

namespace {

struct PanelWidgets {
    QComboBox chooser;
    QSlider volume{Qt::Horizontal};
    QSlider rate{Qt::Horizontal};
    QLabel volumeNumber, rateNumber;
    PanelWidgets() {
        volume.setRange(0, 100);
        volume.setValue(95);
        rate.setRange(-10, 15);
        rate.setValue(1);
        for (QWidget* w : {static_cast<QWidget*>(&chooser), static_cast<QWidget*>(&volume),
                           static_cast<QWidget*>(&rate)})
            w->setEnabled(false);
    }
    speech::VoicePanel::Widgets widgets() {
        return {&chooser, &volume, &rate, &volumeNumber, &rateNumber};
    }
};

}  // namespace

TEST(VoicePanel, FillsTheChooserSelectsTheStoredVoiceAndDrivesTheEngine) {
    platform::SpeechEngine engine;
    ASSERT_TRUE(engine.available()) << engine.errorText().toStdString();
    ASSERT_GE(engine.voices().size(), 2u);
    PanelWidgets w;
    w.rate.setValue(7);  // the stored rate, set before the lists are filled
    speech::VoicePanel panel(&engine, w.widgets());
    int changes = 0;
    panel.setAfterChange([&] { ++changes; });
    panel.fill(1);

    ASSERT_EQ(w.chooser.count(), int(engine.voices().size()));
    for (int i = 0; i < w.chooser.count(); ++i)
        EXPECT_EQ(w.chooser.itemText(i), speech::displayName(engine.voices()[i].description));
    EXPECT_EQ(w.chooser.currentIndex(), 1);
    EXPECT_EQ(panel.currentVoiceName(), engine.voices()[1].description);
    EXPECT_EQ(engine.voiceIndex(), 1);
    EXPECT_TRUE(w.chooser.isEnabled() && w.volume.isEnabled() && w.rate.isEnabled());
    EXPECT_EQ(engine.rate(), 7);
    EXPECT_EQ(engine.volume(), 95);  // the bar's initial position reaches the engine too

    w.rate.setValue(-4);
    w.volume.setValue(40);
    EXPECT_EQ(engine.rate(), -4);
    EXPECT_EQ(engine.volume(), 40);
    EXPECT_EQ(w.rateNumber.text(), QStringLiteral("-4"));
    EXPECT_EQ(w.volumeNumber.text(), QStringLiteral("40"));
    EXPECT_EQ(changes, 2);

    EXPECT_TRUE(panel.selectvoice(0));
    EXPECT_EQ(engine.voiceIndex(), 0);
    EXPECT_EQ(panel.currentVoiceName(), engine.voices()[0].description);
    EXPECT_FALSE(panel.selectvoice(int(engine.voices().size())));
    EXPECT_FALSE(panel.selectvoice(-1));
    EXPECT_EQ(panel.currentVoiceName(), engine.voices()[0].description);
    EXPECT_EQ(panel.findVoice(engine.voices()[1].description.toUpper()), 1);
}

TEST(VoicePanel, AStoredIndexOutOfRangeOrNoEngineLeavesAUsableChooser) {
    platform::SpeechEngine engine;
    PanelWidgets w;
    speech::VoicePanel panel(&engine, w.widgets());
    panel.fill(999);
    EXPECT_EQ(w.chooser.currentIndex(), engine.voices().empty() ? -1 : 0);

    PanelWidgets none;
    speech::VoicePanel silent(nullptr, none.widgets());
    silent.fill(3);
    EXPECT_EQ(none.chooser.count(), 0);
    EXPECT_TRUE(none.chooser.currentText().isEmpty());
    EXPECT_TRUE(silent.currentVoiceName().isEmpty());
    EXPECT_EQ(silent.findVoice(QStringLiteral("Mandarin")), -1);
    none.rate.setValue(3);  // no engine: nothing to set, nothing breaks
    EXPECT_EQ(none.rateNumber.text(), QStringLiteral("3"));
}
