#include "speaker/speech/segmenter.h"

#include "common/gbktext.h"

namespace speech {

Segmenter::Segmenter(QString text, MarkList marks, int windowBytes)
    : text_(std::move(text)), marks_(std::move(marks)), windowBytes_(windowBytes) {}

std::optional<Segmenter::Piece> Segmenter::next() {
    if (atEnd()) return std::nullopt;
    Piece piece;
    piece.index = pos_;
    piece.byteOffset = bytePos_;
    const QString& text = text_;  // const access: never detaches a shared text
    qsizetype i = pos_;
    int bytes = 0;
    while (i < text.size()) {
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const int width = common::gbkWidth(text[i].unicode());
        // A character that would straddle the window's end starts the next window instead
        // (unless it is the window's first: a window always holds one whole character).
        if (bytes + width > windowBytes_ && i > pos_) break;
        bytes += width;
        ++examined_;
        const std::optional<int> pause = pair ? std::nullopt : marks_.pauseOf(text[i]);
        i += pair ? 2 : 1;
        if (pause) {
            piece.pauseMs = *pause;
            break;
        }
    }
    piece.length = i - pos_;
    piece.byteLength = bytes;
    pos_ = i;
    bytePos_ += bytes;
    return piece;
}

}  // namespace speech
