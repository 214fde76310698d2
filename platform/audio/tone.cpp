#include "platform/audio/tone.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>

namespace platform {

namespace {
void put32(QByteArray& out, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}
void put16(QByteArray& out, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}
}  // namespace

QByteArray toneWav(int hz, int ms, int rate) {
    const int frames = std::max(1, rate * std::max(ms, 1) / 1000);
    const int fade = std::min(frames / 4, rate / 200);  // 5 ms
    const quint32 dataBytes = quint32(frames) * 2;
    QByteArray out;
    out.reserve(int(44 + dataBytes));
    out.append("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.append("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, quint32(rate));
    put32(out, quint32(rate) * 2);
    put16(out, 2);
    put16(out, 16);
    out.append("data", 4);
    put32(out, dataBytes);
    constexpr double kTwoPi = 6.283185307179586;
    for (int i = 0; i < frames; ++i) {
        double gain = 0.5;
        if (fade > 0 && i < fade) gain *= double(i) / fade;
        if (fade > 0 && frames - i < fade) gain *= double(frames - i) / fade;
        const auto s = qint16(std::lround(32767.0 * gain * std::sin(kTwoPi * hz * i / rate)));
        put16(out, quint16(s));
    }
    return out;
}

}  // namespace platform
