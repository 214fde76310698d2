#pragma once
#include <QByteArray>

namespace platform {

// A complete mono 16-bit WAV file in memory holding a sine tone of `hz` for `ms`, with short
// fades so it does not click; for openMemory() (the beep of a wrong password, for example).
QByteArray toneWav(int hz, int ms, int rate = 44100);

}  // namespace platform
