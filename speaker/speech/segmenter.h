#pragma once
// Walks a whole text segment by segment as a reading does: each window is the next 500 GBK
// bytes, each segment ends at its window's first break mark. Only the characters of each
// segment are looked at, so a text of any length is cut in time linear in its length.

#include "speaker/speech/markup.h"

#include <QString>

#include <optional>

namespace speech {

class Segmenter {
public:
    struct Piece {
        qsizetype index = 0;   // in the text, QString units
        qsizetype length = 0;  // QString units, break mark included
        int byteOffset = 0;    // GBK bytes from the text's start
        int byteLength = 0;    // GBK bytes: the highlight's length
        int pauseMs = 0;       // `segmentpause`
    };

    Segmenter(QString text, MarkList marks, int windowBytes = kWindowBytes);

    // The next segment, nullopt at the end of the text.
    std::optional<Piece> next();
    bool atEnd() const { return pos_ >= text_.size(); }
    const QString& text() const { return text_; }
    // Characters looked at so far (a measure of the work done).
    qsizetype examined() const { return examined_; }

private:
    QString text_;
    MarkList marks_;
    int windowBytes_;
    qsizetype pos_ = 0;
    int bytePos_ = 0;
    qsizetype examined_ = 0;
};

}  // namespace speech
