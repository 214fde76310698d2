#pragma once
// Sound files made by the tests themselves: tones written with libsndfile, MP3 through lame.

#include <QString>

#include <vector>

namespace audiotest {

struct Tone {
    double seconds = 2.0;
    int rate = 44100;
    int channels = 2;
    double freq = 440.0;
    double amplitude = 0.5;
    int format = 0;  // libsndfile format; 0 means 16-bit WAV
};

// Writes the tone to `path`; false when it cannot.
bool writeTone(const QString& path, const Tone& tone);
// Encodes `wav` to `mp3` with the lame program.
bool encodeMp3(const QString& wav, const QString& mp3);

struct Sound {
    int rate = 0;
    int channels = 0;
    std::vector<float> samples;  // interleaved
    long long frames() const { return channels ? (long long)samples.size() / channels : 0; }
};
Sound readSound(const QString& path);

// Root mean square of samples [from, to) (frames), all channels.
double rms(const Sound& s, long long fromFrame, long long toFrame);
double rms(const short* samples, std::size_t count);

}  // namespace audiotest
