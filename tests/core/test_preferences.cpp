// The preferences file: typed reads and writes, the start-up and exit lists, damaged files.
#include "common/textcodec.h"
#include "speaker/core/preferencelists.h"
#include "speaker/core/preferences.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using core::PrefColor;
using core::Preferences;
namespace pref = core::pref;

class PreferencesTest : public ::testing::Test {
protected:
    QString iniPath() const { return dir_.filePath(QStringLiteral("setinfo.ini")); }
    QString folder() const { return dir_.path() + QLatin1Char('/'); }

    void writeFile(const QByteArray& bytes) const {
        QFile f(iniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    QByteArray readFile() const {
        QFile f(iniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray{};
    }

    QTemporaryDir dir_;
};

TEST_F(PreferencesTest, NoFileGivesTheDefaultsAndStartupCreatesIt) {
    Preferences prefs(iniPath());
    const QDate today(2026, 3, 14);
    const core::StartupPreferences s = core::loadStartup(prefs, today);

    EXPECT_EQ(s.editorBackground.text, "clTeal");
    EXPECT_EQ(s.editorBackground.color, QColor(0x00, 0x80, 0x80));
    EXPECT_EQ(s.gridBackground, s.editorBackground);
    EXPECT_EQ(s.editorFontColor.text, "clWindow");
    EXPECT_EQ(s.editorFontColor.color, QColor(Qt::white));
    EXPECT_EQ(s.gridFontColor, s.editorFontColor);
    EXPECT_EQ(s.editorFontSize, 12);
    EXPECT_EQ(s.editorFontName, "");
    EXPECT_EQ(s.editorFontStyle, core::FontStyles{});
    EXPECT_EQ(s.rate, 1);
    EXPECT_EQ(s.volume, 95);
    EXPECT_EQ(s.datetimetype, 1);
    EXPECT_TRUE(s.model);
    EXPECT_EQ(s.defaultVoice, 90);
    EXPECT_TRUE(s.panel1);
    EXPECT_TRUE(s.panel4);
    EXPECT_FALSE(s.rzGroup4);
    EXPECT_FALSE(s.autoshut);
    EXPECT_FALSE(s.alltimes);
    EXPECT_FALSE(s.beforetime);
    EXPECT_EQ(s.shuttime, "22:00");
    EXPECT_EQ(s.musicPath, folder());
    EXPECT_EQ(s.defaultMusicPath, folder());
    EXPECT_EQ(s.playmode, 0);
    EXPECT_EQ(s.scheduling, 0);
    EXPECT_TRUE(s.weather);
    EXPECT_TRUE(s.runplaymp3);
    EXPECT_FALSE(s.isDelay);
    EXPECT_EQ(s.delay1, 300);
    EXPECT_EQ(s.delay2, 300);
    EXPECT_EQ(s.defaultVolume, 90);
    EXPECT_EQ(s.defaultVolume1, 10);
    EXPECT_EQ(s.gridHeight, 300);
    EXPECT_EQ(s.activePageIndex, 1);
    EXPECT_EQ(s.bellVolume, 85);
    EXPECT_FALSE(s.promptTone);

    // The two writes of the list: the colour applied and today's date.
    EXPECT_EQ(prefs.readRaw("Memo", "memocolor"), "clTeal");
    EXPECT_EQ(prefs.readRaw("System", "Opendate"), "2026-03-14");
    EXPECT_EQ(prefs.readDate(pref::Opendate), today);
    EXPECT_EQ(prefs.readString(pref::Mp3bj), folder() + "mp3files");
}

TEST_F(PreferencesTest, EveryKeyIsListedOnceAndReadsItsDefaultWithoutAFile) {
    Preferences prefs(iniPath());
    const auto keys = pref::allKeys();
    EXPECT_EQ(keys.size(), 48u);
    QSet<QString> seen;
    for (const pref::KeyInfo& k : keys) {
        const QString id = QString::fromUtf8(k.section).toLower() + '/' + k.key;
        EXPECT_FALSE(seen.contains(id)) << id.toStdString();
        seen.insert(id);
        EXPECT_FALSE(prefs.readRaw(k.section, k.key).has_value());
        if (k.type == pref::Type::Color) {
            EXPECT_TRUE(core::parseColor(QString::fromUtf8(k.textDefault)).has_value()) << k.key;
        }
    }
    EXPECT_FALSE(QFile::exists(iniPath()));  // reading never creates the file
}

TEST_F(PreferencesTest, Delay2DefaultDependsOnTheReader) {
    Preferences prefs(iniPath());
    EXPECT_EQ(prefs.readInt(pref::Delay2), 300);
    EXPECT_EQ(prefs.readInt(pref::Delay2, pref::Delay2DialogDefault), 800);
    prefs.writeInt(pref::Delay2, 500);
    EXPECT_EQ(prefs.readInt(pref::Delay2), 500);
    EXPECT_EQ(prefs.readInt(pref::Delay2, pref::Delay2DialogDefault), 500);
}

TEST_F(PreferencesTest, ExitSaveThenStartupLoadRoundTrip) {
    writeFile("[System]\r\nPrompt_tone=1\r\n");
    Preferences prefs(iniPath());
    core::ExitPreferences out;
    out.editorBackground = PrefColor::fromColor(QColor(0x12, 0x34, 0x56));
    out.editorFontColor = *core::parseColor(u"clYellow");
    out.editorFontSize = 20;
    out.speaker = 3;
    out.rate = -4;
    out.volume = 40;
    out.model = false;
    out.panel1 = false;
    out.panel4 = true;
    out.scheduling = 2;
    out.weather = false;
    out.runplaymp3 = false;
    out.defaultVolume = 70;
    out.defaultVolume1 = 5;
    out.gridHeight = 410;
    out.playmode = 1;
    out.rzGroup4 = false;
    out.activePageIndex = 2;
    core::saveExit(prefs, out);

    EXPECT_EQ(prefs.readRaw("System", "Prompt_tone"), "0");
    EXPECT_EQ(prefs.readRaw("Memo", "memocolor"), "$00563412");
    EXPECT_EQ(prefs.readRaw("Speaker", "Model"), "0");
    EXPECT_EQ(prefs.readInt(pref::Speaker), 3);

    const core::StartupPreferences in = core::loadStartup(prefs, QDate(2026, 1, 2));
    EXPECT_EQ(in.editorBackground.color, QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(in.gridBackground.color, QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(in.editorFontColor.text, "clYellow");
    EXPECT_EQ(in.editorFontSize, 20);
    EXPECT_EQ(in.rate, -4);
    EXPECT_EQ(in.volume, 40);
    EXPECT_FALSE(in.model);
    EXPECT_FALSE(in.panel1);
    EXPECT_TRUE(in.panel4);
    EXPECT_FALSE(in.rzGroup4);  // the history group starts closed: RzGroup4 wins over panel4
    EXPECT_EQ(in.scheduling, 2);
    EXPECT_FALSE(in.weather);
    EXPECT_FALSE(in.runplaymp3);
    EXPECT_EQ(in.defaultVolume, 70);
    EXPECT_EQ(in.defaultVolume1, 5);
    EXPECT_EQ(in.gridHeight, 410);
    EXPECT_EQ(in.playmode, 1);
    EXPECT_EQ(in.activePageIndex, 2);

    // No cache: a change made by someone else is seen by the next read.
    writeFile(readFile().replace("Grid_Hight=410", "Grid_Hight=222"));
    EXPECT_EQ(prefs.readInt(pref::Grid_Hight), 222);
}

TEST_F(PreferencesTest, FolderKeysFallBackToTheProgramFolderWhenGone) {
    Preferences prefs(iniPath());
    const QString music = folder() + "music";
    ASSERT_TRUE(QDir().mkpath(music));
    prefs.writeString(pref::MusicPath, music);
    prefs.writeString(pref::DefaultMusicPath, folder() + "gone");
    const auto s = core::loadStartup(prefs, QDate(2026, 1, 2));
    EXPECT_EQ(s.musicPath, music);
    EXPECT_EQ(s.defaultMusicPath, folder());
}

struct IntCase {
    const char* text;
    int expected;  // with the key default 1 (pref::Rate)
};

TEST_F(PreferencesTest, IntParsing) {
    const IntCase cases[] = {
        {"12", 12},         {" 12 ", 12},
        {"-5", -5},         {"+7", 7},
        {"0x10", 16},       {"0X1f", 31},
        {"0xFFFFFFFF", -1}, {"12abc", 1},
        {"abc", 1},         {"", 1},
        {"0x", 1},          {"0xG1", 1},
        {"1.5", 1},         {"99999999999", 1},
        {"0x123456789", 1}, {"2147483647", 2147483647},
        {"-0x10", 1},       {"-2147483648", -2147483647 - 1},
    };
    Preferences prefs(iniPath());
    for (const IntCase& c : cases) {
        writeFile(QByteArray("[Speaker]\nRate=") + c.text + "\n");
        EXPECT_EQ(prefs.readInt(pref::Rate), c.expected) << '"' << c.text << '"';
    }
}

struct BoolCase {
    const char* text;
    int expected;  // 1 true, 0 false, -1 the default
};

TEST_F(PreferencesTest, BoolParsing) {
    const BoolCase cases[] = {
        {"1", 1},  {"0", 0},  {"2", 1},    {"-1", 1},    {"0x10", 1}, {"0x0", 0},
        {"00", 0}, {" 1", 1}, {"yes", -1}, {"true", -1}, {"", -1},    {"1x", -1},
    };
    Preferences prefs(iniPath());
    for (const BoolCase& c : cases) {
        writeFile(QByteArray("[System]\nautoshut=") + c.text + "\n");
        for (const bool def : {false, true}) {
            const bool want = c.expected < 0 ? def : c.expected == 1;
            EXPECT_EQ(prefs.readBool(pref::autoshut, def), want) << '"' << c.text << '"';
        }
    }
    Preferences written(iniPath());
    written.writeBool(pref::autoshut, true);
    EXPECT_EQ(written.readRaw("System", "autoshut"), "1");
    written.writeBool(pref::autoshut, false);
    EXPECT_EQ(written.readRaw("System", "autoshut"), "0");
}

struct ColorCase {
    const char* text;
    QRgb rgb;
    const char* readAs;  // nullptr: not a colour, the key default applies
};

TEST_F(PreferencesTest, ColourParsing) {
    const ColorCase cases[] = {
        {"clTeal", 0x008080, "clTeal"},
        {"CLTEAL", 0x008080, "clTeal"},
        {"clWindow", 0xFFFFFF, "clWindow"},
        {"clWindowText", 0x000000, "clWindowText"},
        {"clBtnFace", 0xF0F0F0, "clBtnFace"},
        {"clMoneyGreen", 0xC0DCC0, "clMoneyGreen"},
        {"$00FF0000", 0x0000FF, "$00FF0000"},
        {"$000000FF", 0xFF0000, "$000000FF"},
        {"$00563412", 0x123456, "$00563412"},
        {"$80000005", 0xFFFFFF, "clWindow"},
        {"8421376", 0x008080, "$00808000"},
        {"garbage", 0, nullptr},
        {"$12345678", 0, nullptr},
        {"$GG", 0, nullptr},
        {"$", 0, nullptr},
        {"$123456789", 0, nullptr},
        {"", 0, nullptr},
    };
    Preferences prefs(iniPath());
    for (const ColorCase& c : cases) {
        writeFile(QByteArray("[Memo]\nmemocolor=") + c.text + "\n");
        const PrefColor got = prefs.readColor(pref::memocolor);
        if (c.readAs == nullptr) {
            EXPECT_EQ(got.text, "clTeal") << c.text;  // the key's default
            continue;
        }
        EXPECT_EQ(got.text, c.readAs) << c.text;
        EXPECT_EQ(got.color.rgb() & 0xFFFFFF, c.rgb) << c.text;
        // Whatever was read is written back as it was read.
        EXPECT_EQ(core::colorText(got), c.readAs) << c.text;
    }
}

TEST_F(PreferencesTest, ColourWriting) {
    Preferences prefs(iniPath());
    const struct {
        PrefColor value;
        const char* written;
    } cases[] = {
        {PrefColor::fromColor(QColor(0x00, 0x80, 0x80)), "clTeal"},
        {PrefColor::fromColor(Qt::white), "clWhite"},
        {PrefColor{QColor(Qt::white), "clWindow"}, "clWindow"},  // the system name is kept
        {PrefColor{QColor(Qt::red), "clWindow"}, "clRed"},       // a stale name is not
        {PrefColor{QColor(0x12, 0x34, 0x56), ""}, "$00563412"},
    };
    for (const auto& c : cases) {
        prefs.writeColor(pref::fontcolor, c.value);
        EXPECT_EQ(prefs.readRaw("Memo", "fontcolor"), c.written);
    }
    prefs.writeColor(pref::fontcolor, PrefColor{});  // nothing valid: the key is left alone
    EXPECT_EQ(prefs.readRaw("Memo", "fontcolor"), "$00563412");
}

TEST_F(PreferencesTest, FontStyleParsingAndWriting) {
    const struct {
        const char* text;
        core::FontStyles styles;
    } reads[] = {
        {"[fsItalic]", {false, true, false, false}},
        {"[]", {}},
        {"", {}},
        {"[fsBold,fsUnderline]", {true, false, true, false}},
        {"fsStrikeOut junk fsBold", {true, false, false, true}},
        {"[fsUnderline,fsStrikeOut,fsItalic,fsBold]", {true, true, true, true}},
        {"[FSBOLD]", {}},
    };
    Preferences prefs(iniPath());
    EXPECT_EQ(prefs.readFontStyle(pref::FontStyle), core::FontStyles{});  // missing key
    for (const auto& c : reads) {
        writeFile(QByteArray("[Memo]\nFontStyle=") + c.text + "\n");
        EXPECT_EQ(prefs.readFontStyle(pref::FontStyle), c.styles) << c.text;
    }
    const struct {
        core::FontStyles styles;
        const char* text;
    } writes[] = {
        {{}, "[]"},
        {{true, false, true, false}, "[fsBold,fsUnderline]"},
        {{true, true, true, true}, "[fsBold,fsItalic,fsUnderline,fsStrikeOut]"},
        {{false, false, false, true}, "[fsStrikeOut]"},
    };
    for (const auto& c : writes) {
        prefs.writeFontStyle(pref::FontStyle, c.styles);
        EXPECT_EQ(prefs.readRaw("Memo", "FontStyle"), c.text);
    }
    QFont font;
    core::FontStyles{false, true, false, false}.applyTo(font);
    EXPECT_TRUE(font.italic());
    EXPECT_FALSE(font.bold());
    EXPECT_EQ(core::FontStyles::of(font), (core::FontStyles{false, true, false, false}));
}

TEST_F(PreferencesTest, DamagedFilesReadAsAbsentKeys) {
    const QByteArray files[] = {
        QByteArray("Rate=5\nVolume=7\n"),                   // keys outside any section
        QByteArray("[Speaker\nRate=5\n"),                   // broken section header
        QByteArray("[Speaker]\nRate\nVolume:7\n"),          // lines without "="
        QByteArray("[System]\nRate=5\n"),                   // another section
        QByteArray("\x00\xff\xfe[Speaker]\nRate=5\n", 17),  // binary junk
        QByteArray(4096, '\xff'),
        QByteArray(),
    };
    Preferences prefs(iniPath());
    for (const QByteArray& bytes : files) {
        writeFile(bytes);
        EXPECT_EQ(prefs.readInt(pref::Rate), 1);
        EXPECT_EQ(prefs.readInt(pref::Volume), 95);
        prefs.writeInt(pref::Datetimetype, 4);
        EXPECT_EQ(prefs.readInt(pref::Datetimetype), 4);
    }
}

TEST_F(PreferencesTest, SectionsAndKeysIgnoreLetterCase) {
    writeFile("[SPEAKER]\nrate=7\n");
    Preferences prefs(iniPath());
    EXPECT_EQ(prefs.readInt(pref::Rate), 7);
    prefs.writeInt(pref::Rate, 8);
    EXPECT_EQ(prefs.readInt(pref::Rate), 8);
    EXPECT_EQ(readFile().count("ate="), 1);  // updated in place, not added twice
}

TEST_F(PreferencesTest, GbkFileIsReadAndRewrittenAsUtf8) {
    // "女声 国语 - VW Hui" in GBK, as an older installation wrote it.
    const QByteArray gbkName("\xc5\xae\xc9\xf9 \xb9\xfa\xd3\xef - VW Hui");
    writeFile("; kept\r\n[character]\r\nreader1=" + gbkName + "\r\n[Speaker]\r\nRate=3\r\n");
    ASSERT_FALSE(common::isUtf8(readFile()));

    Preferences prefs(iniPath());
    const QString name = QString::fromUtf8("女声 国语 - VW Hui");
    EXPECT_EQ(prefs.readString(pref::reader1), name);
    EXPECT_EQ(prefs.readInt(pref::Rate), 3);

    prefs.writeInt(pref::Volume, 50);
    const QByteArray after = readFile();
    EXPECT_TRUE(common::isUtf8(after));
    EXPECT_TRUE(after.contains(name.toUtf8()));
    EXPECT_TRUE(after.contains("; kept"));
    EXPECT_EQ(prefs.readString(pref::readers[0]), name);
    EXPECT_EQ(prefs.readInt(pref::Volume), 50);
}

TEST_F(PreferencesTest, GbkDecoderMarksBrokenBytes) {
    EXPECT_EQ(QString::fromUtf8(common::gbkToUtf8("a\xc5\xae")), QString::fromUtf8("a女"));
    EXPECT_EQ(QString::fromUtf8(common::gbkToUtf8("a\xc5")), QString::fromUtf8("a\uFFFD"));
    EXPECT_EQ(QString::fromUtf8(common::gbkToUtf8("\xff\xffz")),
              QString::fromUtf8("\uFFFD\uFFFDz"));
}

TEST_F(PreferencesTest, LineBreaksCannotAddKeys) {
    Preferences prefs(iniPath());
    prefs.writeString(pref::Pwd, QStringLiteral("a\r\n[Speaker]\nRate=9"));
    EXPECT_EQ(prefs.readString(pref::Pwd), "a  [Speaker] Rate=9");
    EXPECT_EQ(prefs.readInt(pref::Rate), 1);
}

TEST_F(PreferencesTest, UnwritableLocationsAreIgnored) {
    // A "folder" that is a plain file cannot hold the preferences, whoever runs the test.
    const QString blocker = folder() + "blocker";
    {
        QFile f(blocker);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    Preferences prefs(blocker + "/setinfo.ini");
    core::saveExit(prefs, core::ExitPreferences{});
    const auto s = core::loadStartup(prefs, QDate(2026, 5, 1));
    EXPECT_EQ(s.rate, 1);
    EXPECT_FALSE(prefs.readDate(pref::Opendate).isValid());

    if (::geteuid() != 0) {  // permissions do not bind the superuser
        // A read-only file keeps its contents.
        writeFile("[Speaker]\nRate=4\n");
        ASSERT_EQ(::chmod(QFile::encodeName(iniPath()).constData(), 0444), 0);
        Preferences ro(iniPath());
        ro.writeInt(pref::Rate, 9);
        EXPECT_EQ(ro.readInt(pref::Rate), 4);

        const QString roDir = folder() + "ro";
        ASSERT_TRUE(QDir().mkpath(roDir));
        ASSERT_EQ(::chmod(QFile::encodeName(roDir).constData(), 0555), 0);
        Preferences inRo(roDir + "/setinfo.ini");
        inRo.writeInt(pref::Rate, 9);
        EXPECT_EQ(inRo.readInt(pref::Rate), 1);
        ::chmod(QFile::encodeName(roDir).constData(), 0755);
    }
}

TEST_F(PreferencesTest, ExitAlwaysWritesPromptToneZero) {
    writeFile("[System]\nPrompt_tone=1\n");
    Preferences prefs(iniPath());
    core::saveExit(prefs, core::ExitPreferences{});
    EXPECT_EQ(prefs.readRaw("System", "Prompt_tone"), "0");
    EXPECT_TRUE(readFile().contains("Prompt_tone=0"));
}

}  // namespace

TEST_F(PreferencesTest, StringsKeepTheirBlanksAndQuotes) {
    core::Preferences prefs(iniPath());
    for (const char* text : {" pw ", "pw", "\"q\"", "a\"b", "", "  ", "\"", "广播 "}) {
        prefs.writeString(pref::Pwd, QString::fromUtf8(text));
        EXPECT_EQ(prefs.readString(pref::Pwd), QString::fromUtf8(text)) << text;
    }
}
