// Build-time generator of the time announcement's chime: a two-tone "ding-dong" of about
// 2.6 s, 44.1 kHz stereo 16-bit PCM, bell-like partials with a soft attack and a long decay.
// Usage: mkchime OUT.wav
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kSeconds = 2.6;
constexpr double kPi = 3.14159265358979323846;

struct Partial {
    double ratio;  // of the strike's fundamental
    double level;
    double decay;  // time constant in seconds
};

// A soft bell: the octave and the twelfth ring on briefly, a slightly stretched fourth
// partial adds shimmer without sounding harsh.
constexpr Partial kPartials[] = {
    {1.0, 1.00, 0.90}, {2.0, 0.32, 0.45}, {3.0, 0.12, 0.25}, {4.17, 0.05, 0.15}};

struct Strike {
    double start;  // seconds
    double hz;
    double left;  // placement in the stereo image
    double right;
};

// E5 then C5, the second a little to the right of the first.
constexpr Strike kStrikes[] = {{0.00, 659.25, 0.95, 0.70}, {0.65, 523.25, 0.70, 0.95}};

constexpr double kAttack = 0.012;  // raised-cosine rise: no click at the strike
constexpr double kFadeOut = 0.25;  // the tail reaches silence exactly at the end
constexpr double kPeak = 0.70;     // about -3 dBFS

double strikeSample(const Strike& s, double t) {
    const double local = t - s.start;
    if (local < 0) return 0;
    const double rise = local < kAttack ? 0.5 - 0.5 * std::cos(kPi * local / kAttack) : 1.0;
    double sum = 0;
    for (const Partial& p : kPartials)
        sum += p.level * std::exp(-local / p.decay) * std::sin(2 * kPi * s.hz * p.ratio * local);
    return rise * sum;
}

struct SndfileCloser {
    void operator()(SNDFILE* f) const { sf_close(f); }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkchime OUT.wav\n");
        return 2;
    }
    const int frames = static_cast<int>(kSeconds * kRate);
    std::vector<double> mix(static_cast<size_t>(frames) * 2);
    double peak = 0;
    for (int i = 0; i < frames; ++i) {
        const double t = double(i) / kRate;
        const double tail = std::clamp((kSeconds - t) / kFadeOut, 0.0, 1.0);
        double l = 0;
        double r = 0;
        for (const Strike& s : kStrikes) {
            const double v = strikeSample(s, t);
            l += v * s.left;
            r += v * s.right;
        }
        mix[size_t(i) * 2] = l * tail;
        mix[size_t(i) * 2 + 1] = r * tail;
        peak = std::max({peak, std::abs(l), std::abs(r)});
    }
    std::vector<short> pcm(mix.size());
    const double gain = peak > 0 ? kPeak / peak : 0;
    for (size_t i = 0; i < mix.size(); ++i)
        pcm[i] = static_cast<short>(std::lround(mix[i] * gain * 32767));

    // Written beside the target and renamed, so a failed run leaves no half file behind.
    const std::string out = argv[1];
    const std::string part = out + ".part";
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    {
        std::unique_ptr<SNDFILE, SndfileCloser> file(sf_open(part.c_str(), SFM_WRITE, &info));
        if (!file) {
            std::fprintf(stderr, "mkchime: %s: %s\n", part.c_str(), sf_strerror(nullptr));
            return 1;
        }
        if (sf_writef_short(file.get(), pcm.data(), frames) != frames) {
            std::fprintf(stderr, "mkchime: %s\n", sf_strerror(file.get()));
            file.reset();
            std::remove(part.c_str());
            return 1;
        }
    }
    if (std::rename(part.c_str(), out.c_str()) != 0) {
        std::perror("mkchime");
        std::remove(part.c_str());
        return 1;
    }
    return 0;
}
