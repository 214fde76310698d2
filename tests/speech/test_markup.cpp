// Break marks, segmenting and the preparation of a segment's marks, on the initial pause
// table and on hostile texts.
#include <QDateTime>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "common/gbktext.h"
#include "platform/store/store.h"
#include "speaker/core/dataset.h"
#include "speaker/speech/markup.h"
#include "speaker/speech/segmenter.h"
#include "speaker/speech/traditional.h"

using speech::MarkList;

namespace {

QString q(const char16_t* s) {
    return QString::fromUtf16(s);
}

// The pause table as a new installation holds it, plus what a test appends.
class PauseTable : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.create(dir.filePath("d.dat"), "k"));
        ASSERT_TRUE(db.exec(
            "CREATE TABLE delaytime (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT,"
            " descript TEXT, delaytime INTEGER, ename TEXT, candelete INTEGER);"
            "INSERT INTO delaytime (id, name, descript, delaytime, ename, candelete) VALUES"
            " (1, '句号', '。', 300, 'juhao', -1), (2, '逗号(全角)', '，', 0, 'douhao', -1),"
            " (3, '逗号(半角)', ',', 0, 'douhao', -1), (4, '分号(全角)', '；', 0, 'fenhao', -1),"
            " (5, '分号(半角)', ';', 0, 'fenhao', -1), (6, '问号(全角)', '？', 0, 'wenhao', -1),"
            " (7, '问号(半角)', '?', 0, 'wenhao', -1), (8, '叹号(全角)', '！', 0, 'tanhao', -1),"
            " (9, '叹号(半角)', '!', 0, 'tanhao', -1), (16, '顿号', '、', 0, NULL, 0);"))
            << db.errorText().toStdString();
    }
    MarkList marks() {
        core::Dataset ds(db, "q_delaytime");
        ds.setTable("delaytime");
        EXPECT_TRUE(ds.open()) << ds.errorText().toStdString();
        return speech::getdelaystring(ds);
    }
    QTemporaryDir dir;
    platform::Database db;
};

QString chars(int n, QChar c) {
    return QString(n, c);
}

}  // namespace

TEST_F(PauseTable, InitialTableGivesTheEnabledMarksWithTheirPauses) {
    const MarkList m = marks();
    struct Case {
        char16_t ch;
        std::optional<int> pause;
    };
    for (const Case c : {Case{u'。', 300}, Case{u'，', 0}, Case{u',', 0}, Case{u'；', 0},
                         Case{u'?', 0}, Case{u'！', 0}, Case{u'、', std::nullopt},
                         Case{u'.', std::nullopt}, Case{u'【', std::nullopt}})
        EXPECT_EQ(m.pauseOf(QChar(c.ch)), c.pause) << QString(QChar(c.ch)).toStdString();
    EXPECT_EQ(m.marks.size(), 9u);
}

TEST_F(PauseTable, FirstEnabledRowWinsBlanksAreTrimmedAndRowsBeyondThirtyCount) {
    ASSERT_TRUE(
        db.exec("UPDATE delaytime SET delaytime = 250 WHERE descript = '，';"
                "INSERT INTO delaytime (descript, delaytime, candelete) VALUES"
                " (' 。: ', 900, -1), ('、', 40, -1);"));
    for (int i = 0; i < 25; ++i)
        ASSERT_TRUE(
            db.exec("INSERT INTO delaytime (descript, delaytime, candelete) VALUES"
                    " ('x', 1, 0);"));
    ASSERT_TRUE(
        db.exec("INSERT INTO delaytime (descript, delaytime, candelete) VALUES"
                " ('#', 70, -1);"));
    const MarkList m = marks();
    EXPECT_EQ(m.pauseOf(u'，'), 250);
    EXPECT_EQ(m.pauseOf(u'。'), 300);  // the first row keeps it
    EXPECT_EQ(m.pauseOf(u':'), 900);
    EXPECT_EQ(m.pauseOf(u' '), std::nullopt);  // trimmed away
    EXPECT_EQ(m.pauseOf(u'、'), 40);           // the enabled row counts, the disabled not
    EXPECT_EQ(m.pauseOf(u'x'), std::nullopt);
    EXPECT_EQ(m.pauseOf(u'#'), 70);  // row 38
}

TEST_F(PauseTable, NextSegmentEndsAtTheFirstBreakMark) {
    const MarkList m = marks();
    struct Case {
        const char16_t* window;
        const char16_t* segment;
        int pause;
    };
    const Case cases[] = {
        {u"第一句，第二句。", u"第一句，", 0},
        {u"第二句。", u"第二句。", 300},
        {u"你好、世界", u"你好、世界", 0},  // a disabled row's mark does not end a segment
        {u"Mr. Li is here", u"Mr. Li is here", 0},
        {u"【语速5】你好【语速3】世界。", u"【语速5】你好【语速3】世界。", 300},
        {u"。。", u"。", 300},
        {u"", u"", 0},
        {u"Hi! 你好", u"Hi!", 0},
    };
    for (const auto& c : cases) {
        const speech::Segment s = speech::nextsegment(q(c.window), m);
        EXPECT_EQ(s.text, q(c.segment)) << q(c.window).toStdString();
        EXPECT_EQ(s.pauseMs, c.pause) << q(c.window).toStdString();
    }
}

TEST_F(PauseTable, NextSegmentExaminesAtMostFiveHundredCharacters) {
    const QString window = chars(499, u'a') + QStringLiteral("😀。");
    // The pair at 499..500 is not cut; the mark beyond the limit is not seen.
    EXPECT_EQ(speech::nextsegment(window, marks()).text, chars(499, u'a'));
    EXPECT_EQ(speech::nextsegment(chars(600, u'a') + u'。', marks()).text.size(), 500);
}

TEST_F(PauseTable, SegmenterCutsLikeTheWindowsOfAReading) {
    const MarkList m = marks();
    const QString texts[] = {
        chars(600, u'字'),                                      // 250, 250, 100 characters
        QStringLiteral("a") + chars(300, u'字'),                // straddles byte 500
        QStringLiteral("第一句，第二句。 Hello, world! 😀😀。"),  // mixed
        chars(1200, u' '),
        QStringLiteral("ab") + chars(260, u'字') + QStringLiteral("。end"),
    };
    for (const QString& text : texts) {
        speech::Segmenter cutter(text, m);
        qsizetype at = 0;
        while (auto piece = cutter.next()) {
            const QStringView rest = QStringView(text).sliced(at);
            const speech::Segment expected =
                speech::nextsegment(common::gbkTake(rest, speech::kWindowBytes), m);
            ASSERT_EQ(piece->index, at);
            EXPECT_EQ(text.sliced(piece->index, piece->length), expected.text);
            EXPECT_EQ(piece->pauseMs, expected.pauseMs);
            EXPECT_EQ(piece->byteOffset, common::gbkOffset(text, at));
            EXPECT_EQ(piece->byteLength, common::gbkLength(expected.text));
            EXPECT_LE(piece->byteLength, speech::kWindowBytes);
            at += piece->length;
        }
        EXPECT_EQ(at, text.size());
    }
    speech::Segmenter six(chars(600, u'字'), m);
    for (const int length : {250, 250, 100}) EXPECT_EQ(six.next()->length, length);
    EXPECT_FALSE(six.next());
}

TEST_F(PauseTable, HostileTextsAreCutInLinearWork) {
    const MarkList m = marks();
    struct Case {
        QString text;
        qsizetype pieces;  // -1: not checked
    };
    QString mixed;
    while (mixed.size() < 1024 * 1024) mixed += QStringLiteral("混合 Chinese 和 English 文本");
    const Case cases[] = {
        {chars(10000, u'。'), 10000},
        {chars(1024 * 1024, u'，'), 1024 * 1024},
        {mixed, -1},
        {chars(1024 * 1024, u' '), 1024 * 1024 / 500 + 1},
        {QStringLiteral("【角色1】").repeated(200000), -1},
    };
    for (const Case& c : cases) {
        speech::Segmenter cutter(c.text, m);
        qsizetype pieces = 0, covered = 0;
        while (auto piece = cutter.next()) {
            ++pieces;
            covered += piece->length;
        }
        EXPECT_EQ(covered, c.text.size());
        if (c.pieces >= 0) {
            EXPECT_EQ(pieces, c.pieces);
        }
        // Every character is looked at once.
        EXPECT_EQ(cutter.examined(), c.text.size());
    }
    speech::Segmenter marksOnly(chars(10000, u'。'), m);
    while (auto piece = marksOnly.next()) ASSERT_EQ(piece->pauseMs, 300);
}

namespace {

const QDateTime kMonday(QDate(2014, 4, 7), QTime(8, 5, 9));

struct Prepared {
    const char16_t* segment;
    const char16_t* text;
    std::optional<int> rate = std::nullopt;
    std::optional<int> volume = std::nullopt;
    std::optional<int> voice = std::nullopt;
    bool timed = false;
    int datetimetype = 1;
};

speech::MarkContext context(int datetimetype = 1) {
    speech::MarkContext c;
    c.now = kMonday;
    c.datetimetype = datetimetype;
    c.currentVoice = QStringLiteral("Mandarin (female)");
    c.roleVoices[0] = QStringLiteral("女声 国语 - VW Hui");
    c.roleVoices[2] = QStringLiteral("English (America)");
    c.roleVoices[3] = QStringLiteral("男声 国语 - Not Installed");
    c.roleVoices[4] = QStringLiteral("女声 粤语 - Sin-Ji_Full_22kHz");
    const QStringList installed = {QStringLiteral("Mandarin (female)"), QStringLiteral("Mandarin"),
                                   QStringLiteral("vw hui"), QStringLiteral("English (America)"),
                                   QStringLiteral("Sin-Ji_Full_22kHz")};
    c.findVoice = [installed](const QString& d) {
        for (int i = 0; i < installed.size(); ++i)
            if (installed[i].compare(d, Qt::CaseInsensitive) == 0) return i;
        return -1;
    };
    c.toTraditional = [](const QString& s) { return QStringLiteral("T[") + s + u']'; };
    return c;
}

}  // namespace

TEST(ApplyMarks, PreparesEachSegmentInTheFixedOrder) {
    const Prepared cases[] = {
        // The edge cases of the markup.
        {u"【语速5】你好【语速3】世界。", u"你好【语速3】世界。", 5},
        {u"今天%Date%。", u"今天2014-04-07。"},
        {u"今天%date%。", u"今天%date%。"},
        {u"今天%Date%。", u"今天%Date%。", {}, {}, {}, false, 0},
        {u"%Date%与%DATE%", u"2014-04-07与2014-04-07"},
        {u"时间%Date%", u"时间04月07日", {}, {}, {}, false, 4},
        {u"你好※世界。", u"你好世界。", {}, {}, {}, true},
        {u"※※a※", u"a", {}, {}, {}, true},
        {u"【角色7】欢迎。", u"【角色7】欢迎。"},
        {u"【角色0】欢迎。", u"【角色0】欢迎。"},
        {u"【角色2】欢迎。", u"欢迎。"},  // role 2 has no voice
        {u"【角色1】欢迎【角色1】。【角色3】", u"欢迎。【角色3】", {}, {}, 2},
        {u"【角色4】欢迎", u"欢迎"},  // its voice is not installed
        {u"【音量80】大家好", u"大家好", {}, 80},
        {u"前【语速-3】中【音量0】后", u"前中后", -3, 0},
        {u"【音量 50 】x", u"x", {}, 50},
        {u"【语速5】【语速6】x", u"【语速6】x", 5},
        {u"【角色3】Hello, 【语速2】world", u"Hello, world", 2, {}, 3},
        // Malformed marks are spoken as text and change nothing.
        {u"【语速5你好", u"【语速5你好"},
        {u"【语速abc】你好", u"【语速abc】你好"},
        {u"【语速】你好", u"【语速】你好"},
        {u"【语速99999999999】x", u"【语速99999999999】x"},
        {u"【语速５】x", u"【语速５】x"},  // full-width digit
        {u"【语速5【音量80】", u"【语速5", {}, 80},
        {u"【角色】", u"【角色】"},
        {u"x【角色", u"x【角色"},
        {u"【角色2欢迎", u"【角色2欢迎"},
        {u"【角色x】【角色1】", u"【角色x】【角色1】"},  // only the first role mark counts
        // Only blanks or only marks.
        {u"   ", u"   "},
        {u"【语速5】【音量60】【角色2】※", u"", 5, 60, {}, true},
    };
    for (const Prepared& c : cases) {
        const speech::PreparedSegment p = speech::applymarks(q(c.segment), context(c.datetimetype));
        const std::string at = q(c.segment).toStdString();
        EXPECT_EQ(p.text, q(c.text)) << at;
        EXPECT_EQ(p.rate, c.rate) << at;
        EXPECT_EQ(p.volume, c.volume) << at;
        EXPECT_EQ(p.voiceIndex, c.voice) << at;
        EXPECT_EQ(p.timedPause, c.timed) << at;
    }
}

TEST(ApplyMarks, ARoleChangesTheCurrentVoiceAndTheCantoneseVoiceReadsTraditional) {
    speech::MarkContext c = context();
    speech::PreparedSegment p = speech::applymarks(q(u"【角色1】你好"), c);
    EXPECT_EQ(p.currentVoice, QStringLiteral("VW Hui"));

    // The conversion sees the text with its marks already removed, before the ※ goes.
    p = speech::applymarks(q(u"【语速3】【角色5】国家※"), c);
    EXPECT_EQ(p.voiceIndex, 4);
    EXPECT_EQ(p.currentVoice, QStringLiteral("Sin-Ji_Full_22kHz"));
    EXPECT_EQ(p.text, q(u"T[国家]"));
    EXPECT_TRUE(p.timedPause);

    c.currentVoice = QStringLiteral("Sin-Ji_Full_22kHz");
    EXPECT_EQ(speech::applymarks(q(u"学习"), c).text, q(u"T[学习]"));
    c.toTraditional = nullptr;
    EXPECT_EQ(speech::applymarks(q(u"学习"), c).text, q(u"学习"));
}

TEST(ApplyMarks, OneMegabyteOfMarksCompletes) {
    const QString text = QStringLiteral("【角色1】【语速5】%Date%※").repeated(60000);
    const speech::PreparedSegment p = speech::applymarks(text, context());
    EXPECT_EQ(p.rate, 5);
    EXPECT_EQ(p.voiceIndex, 2);
    EXPECT_FALSE(p.text.contains(QStringLiteral("【角色1】")));
    EXPECT_FALSE(p.text.contains(u'※'));
}

TEST(Traditional, ConvertsSimplifiedCharactersThroughOpenCC) {
    speech::Traditional t;
    ASSERT_TRUE(t.available()) << t.errorText().toStdString();
    EXPECT_EQ(t.convert(q(u"国家学习这个, ok")), q(u"國家學習這個, ok"));
    EXPECT_EQ(t.convert(QString()), QString());
    speech::Traditional missing(QStringLiteral("/nonexistent/none.json"));
    EXPECT_EQ(missing.convert(q(u"国家")), q(u"国家"));
    EXPECT_FALSE(missing.available());
    EXPECT_FALSE(missing.errorText().isEmpty());
}

TEST(DateFormats, EveryTypeWithChineseNames) {
    struct Case {
        int type;
        std::optional<QString> text;
    };
    const Case cases[] = {
        {1, QStringLiteral("2014-04-07")},
        {2, QStringLiteral("8:05:09")},
        {3, QStringLiteral("8:05")},
        {4, q(u"04月07日")},
        {5, QStringLiteral("2014-04-07 08:05")},
        {6, q(u"周一")},
        {7, q(u"四月")},
        {8, q(u"2014年04月07日 星期一")},
        {0, std::nullopt},
        {9, std::nullopt},
        {-1, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(speech::formatDate(kMonday, c.type), c.text) << c.type;
    // Afternoon and a two-digit hour.
    const QDateTime evening(QDate(2014, 12, 28), QTime(21, 0, 0));
    EXPECT_EQ(speech::formatDate(evening, 2), QStringLiteral("21:00:00"));
    EXPECT_EQ(speech::formatDate(evening, 7), q(u"十二月"));
    EXPECT_EQ(speech::formatDate(evening, 8), q(u"2014年12月28日 星期日"));
}
