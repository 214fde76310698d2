// The GBK byte measure of texts and its inverse.
#include <QString>

#include <gtest/gtest.h>

#include "common/gbktext.h"

namespace {

struct Measured {
    const char16_t* text;
    int bytes;
};

const Measured kMeasured[] = {
    {u"", 0},          {u"abc", 3}, {u"你好", 4},   {u"a你b", 4},  {u"，,", 3},
    {u"【语速5】", 9}, {u"😀x", 3},  {u"\u00e9", 2}, {u" \t\n", 3}, {u"第一句，第二句。", 16},
};

}  // namespace

TEST(GbkText, MeasuresAsciiOneAndEveryOtherCharacterTwo) {
    for (const auto& [text, bytes] : kMeasured)
        EXPECT_EQ(common::gbkLength(QString::fromUtf16(text)), bytes)
            << QString::fromUtf16(text).toStdString();
}

TEST(GbkText, OffsetsAndIndicesRoundTripAtEveryCharacterBoundary) {
    for (const auto& m : kMeasured) {
        const QString text = QString::fromUtf16(m.text);
        for (qsizetype i = 0; i <= text.size(); ++i) {
            if (i < text.size() && text[i].isLowSurrogate()) continue;  // inside a pair
            const int offset = common::gbkOffset(text, i);
            EXPECT_EQ(common::gbkIndex(text, offset), i) << text.toStdString() << " " << i;
            EXPECT_EQ(common::gbkIndex(text, offset, true), i) << text.toStdString() << " " << i;
        }
        EXPECT_EQ(common::gbkIndex(text, m.bytes + 10), text.size());
    }
}

TEST(GbkText, AnOffsetInsideACharacterRoundsToOneOfItsEnds) {
    const QString text = QStringLiteral("a你😀b");
    struct Case {
        int bytes;
        qsizetype down, up;
    };
    // a = byte 0, 你 = bytes 1-2, 😀 (two QChars) = bytes 3-4, b = byte 5.
    for (const Case c : {Case{2, 1, 2}, Case{4, 2, 4}, Case{0, 0, 0}, Case{5, 4, 4}}) {
        EXPECT_EQ(common::gbkIndex(text, c.bytes), c.down) << c.bytes;
        EXPECT_EQ(common::gbkIndex(text, c.bytes, true), c.up) << c.bytes;
    }
}

TEST(GbkText, TakeNeverCutsACharacterAndAlwaysMovesOn) {
    struct Case {
        const char16_t* text;
        int maxBytes;
        const char16_t* taken;
    };
    const Case cases[] = {
        {u"你好世界", 5, u"你好"},
        {u"你好世界", 4, u"你好"},
        {u"a你", 2, u"a"},
        {u"你", 1, u"你"},
        {u"😀a", 1, u"😀"},
        {u"abc", 0, u""},
        {u"", 10, u""},
        {u"ab你", 500, u"ab你"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(common::gbkTake(QString::fromUtf16(c.text), c.maxBytes).toString(),
                  QString::fromUtf16(c.taken))
            << QString::fromUtf16(c.text).toStdString() << " " << c.maxBytes;
}
