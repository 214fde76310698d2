#include "fixtures.h"

#include <QFile>
#include <QProcess>

#include <sndfile.h>

#include <cmath>
#include <numbers>

namespace audiotest {

bool writeTone(const QString& path, const Tone& tone) {
    SF_INFO info{};
    info.samplerate = tone.rate;
    info.channels = tone.channels;
    info.format = tone.format ? tone.format : (SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    SNDFILE* f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f) return false;
    const long long frames = std::llround(tone.seconds * tone.rate);
    std::vector<float> buf(static_cast<std::size_t>(frames * tone.channels));
    for (long long i = 0; i < frames; ++i) {
        const float v = static_cast<float>(
            tone.amplitude * std::sin(2 * std::numbers::pi * tone.freq * double(i) / tone.rate));
        for (int c = 0; c < tone.channels; ++c)
            buf[static_cast<std::size_t>(i * tone.channels + c)] = v;
    }
    const bool ok = sf_writef_float(f, buf.data(), frames) == frames;
    sf_close(f);
    return ok;
}

bool encodeMp3(const QString& wav, const QString& mp3) {
    QProcess lame;
    lame.start("lame", {"--quiet", "-b", "128", wav, mp3});
    return lame.waitForFinished(60000) && lame.exitStatus() == QProcess::NormalExit &&
           lame.exitCode() == 0 && QFile::exists(mp3);
}

Sound readSound(const QString& path) {
    Sound s;
    SF_INFO info{};
    SNDFILE* f = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!f) return s;
    s.rate = info.samplerate;
    s.channels = info.channels;
    s.samples.resize(static_cast<std::size_t>(info.frames * info.channels));
    const sf_count_t got = sf_readf_float(f, s.samples.data(), info.frames);
    s.samples.resize(static_cast<std::size_t>(got * info.channels));
    sf_close(f);
    return s;
}

double rms(const Sound& s, long long fromFrame, long long toFrame) {
    double sum = 0;
    long long n = 0;
    for (long long i = fromFrame * s.channels; i < toFrame * s.channels; ++i, ++n) {
        const double v = s.samples[static_cast<std::size_t>(i)];
        sum += v * v;
    }
    return n ? std::sqrt(sum / double(n)) : 0.0;
}

double rms(const short* samples, std::size_t count) {
    double sum = 0;
    for (std::size_t i = 0; i < count; ++i) sum += double(samples[i]) * samples[i];
    return count ? std::sqrt(sum / double(count)) / 32768.0 : 0.0;
}

}  // namespace audiotest
