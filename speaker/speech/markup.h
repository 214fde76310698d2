#pragma once
// The speech markup of broadcast texts: break marks that cut a text into segments with a pause
// after each, and the marks inside a segment (rate, volume, reading role, timed pause, date).
// Pure functions: the worker applies what they return to the engine.

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>
#include <vector>

namespace core {
class Dataset;
}

namespace speech {

// The reading window: the next this many GBK bytes of the text.
inline constexpr int kWindowBytes = 500;

// Break mark characters with the pause that follows each (`marklist`).
struct MarkList {
    struct Mark {
        QChar ch;
        int pauseMs = 0;
    };
    std::vector<Mark> marks;  // first occurrence wins

    // The pause of `ch`, or nullopt when it is not a break mark.
    std::optional<int> pauseOf(QChar ch) const;
};

// Builds the list from the pause table (rows in table order; only rows whose `candelete` is
// true contribute; see the pause table rules).
MarkList getdelaystring(core::Dataset& q_delaytime);

struct Segment {
    QString text;     // the raw segment, a prefix of the window, break mark included
    int pauseMs = 0;  // `segmentpause`
};

// Cuts the next segment from `window` (at most 500 GBK bytes of the remaining text, taken by
// the caller; at most 500 characters are examined).
Segment nextsegment(QStringView window, const MarkList& marks);

// What applymarks needs to know.
struct MarkContext {
    QDateTime now;
    int datetimetype = 1;
    // Voice of reading roles 1..6 as stored (a display name) or as a description; empty: the
    // role changes nothing.
    QString roleVoices[6];
    // The description of the voice the engine is using (the current voice name).
    QString currentVoice;
    // Index in the voice list of the voice whose description equals `description` (letter
    // case ignored), or -1.
    std::function<int(const QString& description)> findVoice;
    // Simplified to traditional Chinese (for the voice rule that asks for it).
    std::function<QString(const QString&)> toTraditional;
};

// The prepared segment and what it asks of the engine, in the order rate, volume, voice.
struct PreparedSegment {
    QString text;             // to be spoken
    bool timedPause = false;  // a "※" was present: wait `starpause` before speaking
    std::optional<int> rate;
    std::optional<int> volume;
    std::optional<int> voiceIndex;
    QString currentVoice;  // the current voice name after the segment (a role may change it)
};

PreparedSegment applymarks(const QString& segment, const MarkContext& context);

// The current date or time in the format of `datetimetype` (1..8), with Chinese names;
// nullopt for any other type (the placeholder then stays in the text).
std::optional<QString> formatDate(const QDateTime& now, int datetimetype);

}  // namespace speech
