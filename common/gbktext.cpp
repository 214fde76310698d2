#include "common/gbktext.h"

namespace common {

namespace {

// Length in QChars of the code point starting at `i`.
qsizetype unitsAt(QStringView text, qsizetype i) {
    return (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2
                                                                                              : 1;
}

int widthAt(QStringView text, qsizetype i) {
    return text[i].unicode() < 0x80 ? 1 : 2;
}

}  // namespace

int gbkLength(QStringView text) {
    return gbkOffset(text, text.size());
}

int gbkOffset(QStringView text, qsizetype index) {
    index = std::clamp<qsizetype>(index, 0, text.size());
    int bytes = 0;
    for (qsizetype i = 0; i < index; i += unitsAt(text, i)) bytes += widthAt(text, i);
    return bytes;
}

qsizetype gbkIndex(QStringView text, int bytes, bool roundUp) {
    int at = 0;
    qsizetype i = 0;
    while (i < text.size() && at < bytes) {
        const int w = widthAt(text, i);
        if (at + w > bytes && !roundUp) break;
        at += w;
        i += unitsAt(text, i);
    }
    return i;
}

QStringView gbkTake(QStringView text, int maxBytes) {
    if (text.isEmpty() || maxBytes <= 0) return text.first(0);
    const qsizetype n = gbkIndex(text, maxBytes);
    return text.first(n > 0 ? n : unitsAt(text, 0));
}

}  // namespace common
