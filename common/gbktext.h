#pragma once
// Text positions in GBK bytes (code page 936), the unit in which reading windows, segment
// lengths and highlights are counted: an ASCII character is 1 byte, any other character 2.
// A character is a code point, so a surrogate pair counts 2 and is never cut in two.
#include <QStringView>

#include <algorithm>

namespace common {

// GBK bytes of one code point.
constexpr int gbkWidth(char32_t codePoint) {
    return codePoint < 0x80 ? 1 : 2;
}

// GBK bytes of `text`.
int gbkLength(QStringView text);

// GBK byte offset of the QString index `index` (clamped to the text).
int gbkOffset(QStringView text, qsizetype index);

// QString index of the byte offset `bytes`. An offset inside a character rounds down to that
// character's start (`roundUp` false) or up to its end; offsets past the end give the length.
qsizetype gbkIndex(QStringView text, int bytes, bool roundUp = false);

// The longest prefix of `text` of at most `maxBytes` bytes; when the first character alone is
// wider, that character, so a caller that advances by the result always moves on.
QStringView gbkTake(QStringView text, int maxBytes);

}  // namespace common
