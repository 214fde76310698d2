#pragma once
#include <QByteArray>
#include <QByteArrayView>

namespace common {

// True when the bytes are well-formed UTF-8 (a leading byte-order mark is allowed).
bool isUtf8(QByteArrayView bytes);

// Decodes GBK (code page 936, what older installations wrote) to UTF-8. A byte sequence that is
// not GBK becomes U+FFFD, so damaged files still load.
QByteArray gbkToUtf8(QByteArrayView bytes);

}  // namespace common
