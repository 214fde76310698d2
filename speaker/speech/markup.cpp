#include "speaker/speech/markup.h"

#include "speaker/core/dataset.h"
#include "speaker/speech/voices.h"

#include <algorithm>

namespace speech {

namespace {

constexpr qsizetype kMaxExamined = 500;

const QString kDate = QStringLiteral("%Date%");
const QString kRate = QStringLiteral("【语速");
const QString kVolume = QStringLiteral("【音量");
const QString kRole = QStringLiteral("【角色");
const QChar kClose = QChar(u'】');
const QChar kStar = QChar(u'※');
const QString kCantonese = QStringLiteral("Sin-Ji_Full_22kHz");

// Blanks as the pause table's editor leaves them: control characters and the space.
QStringView trimBlanks(QStringView s) {
    while (!s.isEmpty() && s.front().unicode() <= 0x20) s = s.sliced(1);
    while (!s.isEmpty() && s.back().unicode() <= 0x20) s.chop(1);
    return s;
}

// A mark's value: an optional sign and up to nine ASCII digits, blanks around allowed.
std::optional<int> parseValue(QStringView text) {
    text = trimBlanks(text);
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text = text.sliced(1);
    }
    if (text.isEmpty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return negative ? -value : value;
}

// Cuts the first `opener` ... "】" mark out of `text` and returns its value. A mark without
// its closing bracket or with a value that is not a number stays in the text as it is.
std::optional<int> takeValueMark(QString& text, const QString& opener) {
    const qsizetype start = text.indexOf(opener);
    if (start < 0) return std::nullopt;
    const qsizetype valueAt = start + opener.size();
    const qsizetype close = text.indexOf(kClose, valueAt);
    if (close < 0) return std::nullopt;
    const std::optional<int> value = parseValue(QStringView(text).sliced(valueAt, close - valueAt));
    if (value) text.remove(start, close + 1 - start);
    return value;
}

}  // namespace

std::optional<int> MarkList::pauseOf(QChar ch) const {
    for (const Mark& m : marks)
        if (m.ch == ch) return m.pauseMs;
    return std::nullopt;
}

MarkList getdelaystring(core::Dataset& q_delaytime) {
    MarkList list;
    const int descript = q_delaytime.fieldIndex(QStringLiteral("descript"));
    const int delay = q_delaytime.fieldIndex(QStringLiteral("delaytime"));
    const int enabled = q_delaytime.fieldIndex(QStringLiteral("candelete"));
    if (descript < 0 || delay < 0 || enabled < 0) return list;
    // Every row counts, not only the first thirty: a mark the user adds must take effect.
    for (int row = 0; row < q_delaytime.recordCount(); ++row) {
        if (!q_delaytime.value(row, enabled).toBool()) continue;
        const QString chars = q_delaytime.value(row, descript).toString();
        const int pause = q_delaytime.value(row, delay).toInt();
        for (QChar c : trimBlanks(chars)) {
            // Half of a surrogate pair would cut a character in two.
            if (c.isSurrogate() || list.pauseOf(c)) continue;
            list.marks.push_back({c, pause});
        }
    }
    return list;
}

Segment nextsegment(QStringView window, const MarkList& marks) {
    qsizetype limit = std::min(window.size(), kMaxExamined);
    if (limit < window.size() && window[limit].isLowSurrogate()) --limit;
    for (qsizetype i = 0; i < limit; ++i) {
        if (const std::optional<int> pause = marks.pauseOf(window[i]))
            return {window.first(i + 1).toString(), *pause};
    }
    // A full window without a break mark: no pause, the next window follows at once.
    return {window.first(limit).toString(), 0};
}

PreparedSegment applymarks(const QString& segment, const MarkContext& context) {
    PreparedSegment out;
    out.currentVoice = context.currentVoice;
    QString text = segment;

    if (text.contains(kDate, Qt::CaseSensitive)) {
        if (const std::optional<QString> date = formatDate(context.now, context.datetimetype))
            text.replace(kDate, *date, Qt::CaseInsensitive);
    }

    out.rate = takeValueMark(text, kRate);
    out.volume = takeValueMark(text, kVolume);

    // Only the first role mark names the role; a malformed one changes nothing.
    const qsizetype role = text.indexOf(kRole);
    if (role >= 0 && role + kRole.size() + 1 < text.size()) {
        const QChar digit = text[role + kRole.size()];
        if (digit >= u'1' && digit <= u'6' && text[role + kRole.size() + 1] == kClose) {
            text.remove(kRole + digit + kClose, Qt::CaseSensitive);
            const QString voice = descriptionOf(context.roleVoices[digit.unicode() - u'1']);
            // A role whose voice is not installed keeps the current voice.
            const int index = voice.isEmpty() || !context.findVoice ? -1 : context.findVoice(voice);
            if (index >= 0) {
                out.voiceIndex = index;
                out.currentVoice = voice;
            }
        }
    }

    if (out.currentVoice.contains(kCantonese) && context.toTraditional)
        text = context.toTraditional(text);

    if (text.contains(kStar)) {
        out.timedPause = true;
        text.remove(kStar);
    }
    out.text = std::move(text);
    return out;
}

}  // namespace speech
