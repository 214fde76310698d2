#include "common/textcodec.h"

#include <QStringDecoder>

#include <iconv.h>
#include <cerrno>
#include <memory>

namespace common {

namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle openGbkDecoder() {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) return IconvHandle{};
    return IconvHandle{cd};
}

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

}  // namespace

bool isUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = decoder(bytes);  // the decoder is lazy: convert to run it
    return !decoder.hasError();
}

QByteArray gbkToUtf8(QByteArrayView bytes) {
    QByteArray out;
    const IconvHandle cd = openGbkDecoder();
    if (!cd) {
        // No GBK converter installed: keep the ASCII, mark the rest as undecodable.
        for (const char c : bytes) {
            if (static_cast<unsigned char>(c) < 0x80)
                out.append(c);
            else
                out.append(kReplacement);
        }
        return out;
    }
    // A GBK character pair becomes at most 3 UTF-8 bytes, so twice the input always fits.
    out.reserve(bytes.size() * 2 + 16);
    char* in = const_cast<char*>(bytes.data());  // iconv's signature; it does not write input
    size_t inLeft = static_cast<size_t>(bytes.size());
    char buffer[1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(static_cast<iconv_t>(cd.get()), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<qsizetype>(outPtr - buffer));
        if (rc != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // EILSEQ: an invalid byte; EINVAL: a lead byte cut off at the end. Skip one byte.
        out.append(kReplacement);
        ++in;
        --inLeft;
        iconv(static_cast<iconv_t>(cd.get()), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

}  // namespace common
