// Build-time generator of the sounds the installation carries: a bell or chime recording for
// each bell of the initial timetables (bells/*.wav), a sample piece (music/sample.wav) and a few
// tracks for the background-music folder (mp3files/*.wav), all 44.1 kHz stereo 16-bit WAV.
// The build encodes the pieces to MP3 with the lame program (libsndfile's own MP3 writer starts
// its files with a frame that decodes as a click). Everything is synthesised here from short
// melodies, so the program folder holds nothing we did not make ourselves.
// Usage: mksounds OUTDIR
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

struct Partial {
    double ratio;  // of the note's fundamental
    double level;
    double decay;  // time constant in seconds; 0 = sustained until the release
};

// A timbre: partials, a raised-cosine attack and a release after the note's length.
struct Timbre {
    std::vector<Partial> partials;
    double attack;
    double release;
    double vibrato = 0;  // depth in semitones, at 5 Hz
};

// A struck bell: the octave and the twelfth ring briefly, a stretched partial for shimmer.
const Timbre kBell{
    {{1.0, 1.0, 1.1}, {2.0, 0.35, 0.5}, {3.0, 0.12, 0.28}, {4.17, 0.06, 0.16}}, 0.008, 0.6};
// A small glass-like chime: brighter, shorter.
const Timbre kChime{{{1.0, 1.0, 0.55}, {2.76, 0.3, 0.18}, {5.4, 0.08, 0.06}}, 0.004, 0.3};
// A mellow marimba bar.
const Timbre kMarimba{{{1.0, 1.0, 0.45}, {4.0, 0.18, 0.07}, {9.9, 0.04, 0.02}}, 0.004, 0.15};
// A soft bugle: sustained harmonics, gentle rise.
const Timbre kBugle{
    {{1, 1.0, 0}, {2, 0.5, 0}, {3, 0.3, 0}, {4, 0.16, 0}, {5, 0.08, 0}}, 0.035, 0.09, 0.08};
// A flute-like lead and a warm pad for the music.
const Timbre kFlute{{{1, 1.0, 0}, {2, 0.18, 0}, {3, 0.07, 0}}, 0.05, 0.18, 0.12};
const Timbre kPad{{{1, 1.0, 0}, {2, 0.3, 0}, {3, 0.12, 0}, {4, 0.05, 0}}, 0.25, 0.5};
const Timbre kPluck{{{1, 1.0, 0.6}, {2, 0.45, 0.3}, {3, 0.2, 0.15}, {5, 0.06, 0.05}}, 0.003, 0.2};

struct Note {
    double start;  // seconds
    int midi;
    double length;  // seconds, before the release
    double level;
    double pan;  // -1 left .. 1 right
};

double hz(int midi) {
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

class Track {
public:
    explicit Track(double seconds)
        : frames_(static_cast<size_t>(seconds * kRate)), left_(frames_), right_(frames_) {}

    void add(const Timbre& timbre, const Note& n) {
        const double f0 = hz(n.midi);
        const double tail = n.length + timbre.release;
        const size_t from = static_cast<size_t>(n.start * kRate);
        const size_t count = static_cast<size_t>(tail * kRate);
        const double gl = n.level * std::sqrt(0.5 * (1 - n.pan));
        const double gr = n.level * std::sqrt(0.5 * (1 + n.pan));
        std::vector<double> phase(timbre.partials.size(), 0.0);
        for (size_t i = 0; i < count && from + i < frames_; ++i) {
            const double t = double(i) / kRate;
            double env = t < timbre.attack ? 0.5 - 0.5 * std::cos(kPi * t / timbre.attack) : 1.0;
            if (t > n.length)
                env *= 0.5 + 0.5 * std::cos(kPi * std::min(1.0, (t - n.length) / timbre.release));
            const double bend =
                timbre.vibrato > 0 && t > 0.15
                    ? std::pow(2.0, timbre.vibrato / 12.0 * std::sin(2 * kPi * 5.0 * t))
                    : 1.0;
            double v = 0;
            for (size_t p = 0; p < timbre.partials.size(); ++p) {
                const Partial& part = timbre.partials[p];
                const double freq = f0 * part.ratio * bend;
                if (freq >= kRate / 2.0) continue;
                phase[p] += 2 * kPi * freq / kRate;
                const double decay = part.decay > 0 ? std::exp(-t / part.decay) : 1.0;
                v += part.level * decay * std::sin(phase[p]);
            }
            left_[from + i] += v * env * gl;
            right_[from + i] += v * env * gr;
        }
    }

    // Normalised to `peak`, with short fades at both ends so no click is heard.
    std::vector<short> pcm(double peak) const {
        double top = 0;
        for (size_t i = 0; i < frames_; ++i)
            top = std::max({top, std::abs(left_[i]), std::abs(right_[i])});
        const double gain = top > 0 ? peak / top : 0;
        const size_t fade = std::min<size_t>(frames_ / 4, kRate / 4);
        std::vector<short> out(frames_ * 2);
        for (size_t i = 0; i < frames_; ++i) {
            double g = gain;
            if (i < kRate / 200) g *= double(i) / (kRate / 200);
            if (frames_ - i < fade) g *= double(frames_ - i) / fade;
            out[2 * i] = static_cast<short>(std::lround(left_[i] * g * 32767));
            out[2 * i + 1] = static_cast<short>(std::lround(right_[i] * g * 32767));
        }
        return out;
    }

    size_t frames() const { return frames_; }

private:
    size_t frames_;
    std::vector<double> left_;
    std::vector<double> right_;
};

struct SndfileCloser {
    void operator()(SNDFILE* f) const { sf_close(f); }
};

// Written beside the target and renamed, so a failed run leaves no half file behind.
bool write(const std::filesystem::path& out, const Track& track) {
    const std::vector<short> pcm = track.pcm(0.7);  // about -3 dBFS
    const std::string part = out.string() + ".part";
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    {
        std::unique_ptr<SNDFILE, SndfileCloser> file(sf_open(part.c_str(), SFM_WRITE, &info));
        if (!file) {
            std::fprintf(stderr, "mksounds: %s: %s\n", part.c_str(), sf_strerror(nullptr));
            return false;
        }
        const auto frames = static_cast<sf_count_t>(track.frames());
        if (sf_writef_short(file.get(), pcm.data(), frames) != frames) {
            std::fprintf(stderr, "mksounds: %s: %s\n", part.c_str(), sf_strerror(file.get()));
            file.reset();
            std::remove(part.c_str());
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(part, out, ec);
    if (ec) {
        std::fprintf(stderr, "mksounds: %s: %s\n", out.c_str(), ec.message().c_str());
        std::remove(part.c_str());
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- bells

struct Step {
    double beat;  // in beats from the start
    int midi;
    double beats;  // length in beats
};

// A melody of `steps` at `bpm`, each note struck with `timbre`, panned gently left to right
// with pitch so the chime seems to move.
Track melody(const Timbre& timbre, double bpm, const std::vector<Step>& steps, double level = 0.8) {
    const double beat = 60.0 / bpm;
    double end = 0;
    for (const Step& s : steps) end = std::max(end, (s.beat + s.beats) * beat);
    Track t(end + timbre.release + 1.2);
    for (const Step& s : steps) {
        const double pan = std::clamp((s.midi - 72) / 18.0, -0.6, 0.6);
        t.add(timbre, {s.beat * beat, s.midi, s.beats * beat, level, pan});
    }
    return t;
}

// Repeats `pattern` `times`, `every` beats apart.
std::vector<Step> repeat(const std::vector<Step>& pattern, int times, double every) {
    std::vector<Step> out;
    for (int i = 0; i < times; ++i)
        for (Step s : pattern) {
            s.beat += i * every;
            out.push_back(s);
        }
    return out;
}

// Note numbers: C4 = 60.
enum : int { G3 = 55, A3 = 57, B3 = 59, C4 = 60, D4 = 62, E4 = 64, F4 = 65, G4 = 67, A4 = 69 };
enum : int { B4 = 71, C5 = 72, D5 = 74, E5 = 76, F5 = 77, G5 = 79, A5 = 81, B5 = 83, C6 = 84 };

struct Bell {
    const char* name;
    Track track;
};

std::vector<Bell> bells() {
    std::vector<Bell> out;
    // 起床号: a bugle call rising through the major triad.
    out.push_back({"qichuang", melody(kBugle, 132,
                                      {{0, G4, 0.45},
                                       {0.5, C5, 0.45},
                                       {1, E5, 0.45},
                                       {1.5, G5, 0.9},
                                       {2.5, E5, 0.45},
                                       {3, G5, 0.45},
                                       {3.5, C6, 1.8}})});
    // 上课铃: four bells, answered by the same four reordered.
    out.push_back({"shangke", melody(kBell, 84,
                                     {{0, E5, 1},
                                      {1, C5, 1},
                                      {2, D5, 1},
                                      {3, G4, 1.8},
                                      {5, G4, 1},
                                      {6, D5, 1},
                                      {7, E5, 1},
                                      {8, C5, 2}})});
    // 下课铃: a light rising and falling marimba phrase.
    out.push_back({"xiake", melody(kMarimba, 150,
                                   {{0, C5, 0.5},
                                    {0.5, E5, 0.5},
                                    {1, G5, 0.5},
                                    {1.5, A5, 0.5},
                                    {2, G5, 0.5},
                                    {2.5, E5, 0.5},
                                    {3, D5, 0.5},
                                    {3.5, E5, 0.5},
                                    {4, C5, 1.5},
                                    {4.05, G4, 1.5}})});
    // 眼保健操: a calm pentatonic chime.
    out.push_back({"yanbao", melody(kChime, 90,
                                    {{0, G5, 1},
                                     {1, E5, 1},
                                     {2, D5, 1},
                                     {3, C5, 1},
                                     {4, D5, 0.5},
                                     {4.5, E5, 0.5},
                                     {5, G5, 1},
                                     {6, A5, 2}})});
    // 午休: a slow lullaby falling to rest.
    out.push_back(
        {"wuxiu",
         melody(kBell, 66, {{0, A4, 1}, {1, G4, 1}, {2, E4, 1}, {3, D4, 1}, {4, C4, 2.5}}, 0.6)});
    // 放学: a cheerful run up and a bright finish.
    out.push_back({"fangxue", melody(kMarimba, 168,
                                     {{0, C5, 0.5},
                                      {0.5, D5, 0.5},
                                      {1, E5, 0.5},
                                      {1.5, F5, 0.5},
                                      {2, G5, 0.5},
                                      {2.5, A5, 0.5},
                                      {3, B5, 0.5},
                                      {3.5, C6, 1},
                                      {4.5, G5, 0.5},
                                      {5, C6, 2},
                                      {5, E5, 2},
                                      {5, C5, 2}})});
    // 预备铃: a two-tone ding-dong, three times.
    out.push_back({"yubei", melody(kChime, 100, repeat({{0, A5, 0.9}, {1, F5, 0.9}}, 3, 2.5))});
    // 开考铃: three firm strikes of one bell, then its octave.
    out.push_back(
        {"kaikao",
         melody(kBell, 72, {{0, C5, 0.9}, {1, C5, 0.9}, {2, C5, 0.9}, {3, C4, 2}, {3, C5, 2}})});
    // 考试结束前十五分钟: a quick double chime, repeated: a reminder, not an alarm.
    out.push_back({"tixing", melody(kChime, 140, repeat({{0, E5, 0.4}, {0.5, B5, 0.8}}, 3, 2))});
    // 收卷铃: a falling triad, twice, ending low.
    out.push_back(
        {"shoujuan",
         melody(
             kBell, 96,
             {{0, G5, 0.9}, {1, E5, 0.9}, {2, C5, 1.5}, {4, G4, 0.9}, {5, E4, 0.9}, {6, C4, 2}})});
    return out;
}

// ---------------------------------------------------------------- music

struct Piece {
    double bpm;
    int key;                             // added to every note
    std::vector<std::vector<int>> bars;  // chord tones (root first) of each bar, in C
    std::vector<int> tune;               // scale steps of the melody, 8 per bar (-99 = rest)
    const Timbre* lead;
    const Timbre* accompaniment;
    int repeats;
};

// Degrees of the C major scale from C4, for steps 0..14 (negative goes below C4).
int degree(int step) {
    static const int scale[] = {0, 2, 4, 5, 7, 9, 11};
    const int octave = step >= 0 ? step / 7 : -((-step + 6) / 7);
    const int index = step - octave * 7;
    return 60 + 12 * octave + scale[index];
}

Track render(const Piece& p) {
    const double beat = 60.0 / p.bpm;
    const double bar = 4 * beat;
    const size_t bars = p.bars.size();
    const double seconds = bar * double(bars * size_t(p.repeats)) + 2.5;
    Track t(seconds);
    for (int r = 0; r < p.repeats; ++r) {
        for (size_t b = 0; b < bars; ++b) {
            const double at = (double(r) * double(bars) + double(b)) * bar;
            const std::vector<int>& chord = p.bars[b];
            // Bass on beats 1 and 3; the chord as a soft pad; a broken chord in eighths.
            t.add(*p.accompaniment, {at, chord[0] - 24 + p.key, 1.8 * beat, 0.45, 0.0});
            t.add(*p.accompaniment, {at + 2 * beat, chord[0] - 24 + p.key, 1.8 * beat, 0.4, 0.0});
            for (size_t c = 0; c < chord.size(); ++c)
                t.add(kPad, {at, chord[c] - 12 + p.key, 3.8 * beat, 0.12, -0.4 + 0.4 * double(c)});
            for (int e = 0; e < 8; ++e) {
                const int tone = chord[size_t(e) % chord.size()] + (e >= 4 ? 12 : 0);
                t.add(kPluck, {at + e * beat / 2, tone - 12 + p.key, beat / 2, 0.16, 0.5});
            }
            // The melody; its last pass is an octave higher for a lift at the end.
            for (int e = 0; e < 8; ++e) {
                const int step = p.tune[(b * 8 + size_t(e)) % p.tune.size()];
                if (step == -99) continue;
                int length = 1;
                while (e + length < 8 &&
                       p.tune[(b * 8 + size_t(e + length)) % p.tune.size()] == -98)
                    ++length;
                if (step == -98) continue;  // held from the note before
                const int lift = r == p.repeats - 1 && p.repeats > 1 ? 12 : 0;
                t.add(*p.lead, {at + e * beat / 2, degree(step) + p.key + lift,
                                length * beat / 2 * 0.92, 0.5, -0.2});
            }
        }
    }
    return t;
}

// Chords in C: I, vi, IV, V and friends, root first.
const std::vector<int> I{60, 64, 67}, ii{62, 65, 69}, iii{64, 67, 71}, IV{65, 69, 72},
    V{67, 71, 74}, vi{69, 72, 76};
constexpr int H = -98;  // hold
constexpr int R = -99;  // rest

std::vector<std::pair<std::string, Piece>> pieces() {
    std::vector<std::pair<std::string, Piece>> out;
    // The sample of the plans: a gentle tune over I-vi-IV-V, about 40 s.
    out.push_back({"music/sample.wav",
                   {96,
                    0,
                    {I, vi, IV, V, I, vi, ii, V},
                    {4, H, 5, 4, 2, H, 0, H, 2, H, 4, 2, 0, H, R, R,  //
                     3, H, 4, 5, 7, H, 5, 4, 4, H, H, H, 1, H, R, R,  //
                     4, H, 5, 4, 2, H, 0, H, 5, H, 4, 2, 0, H, 2, H,  //
                     3, H, 2, 1, 1, H, 4, H, 0, H, H, H, H, H, R, R},
                    &kFlute,
                    &kPluck,
                    2}});
    // Background music: three short pieces of different colour and pace.
    out.push_back({"mp3files/morning.wav",
                   {108,
                    2,
                    {I, IV, V, I, vi, IV, V, V},
                    {0, 2, 4, 7, 4, H, 2, H, 3, 5, 7, 5, 3, H, R, R,  //
                     4, 6, 8, 6, 4, H, 1, H, 0, 2, 4, H, 7, H, R, R,  //
                     2, 4, 7, 9, 7, H, 5, H, 3, 5, 7, 5, 3, H, R, R,  //
                     4, H, 6, H, 8, H, 6, 4, 1, H, H, H, R, R, R, R},
                    &kMarimba,
                    &kPluck,
                    2}});
    out.push_back({"mp3files/breeze.wav",
                   {80,
                    -3,
                    {vi, IV, I, V, vi, IV, ii, V},
                    {5, H, H, 4, 2, H, H, H, 3, H, 4, H, 5, H, H, H,  //
                     4, H, 2, H, 0, H, H, H, 1, H, 2, H, 4, H, H, H,  //
                     5, H, H, 7, 5, H, 4, H, 3, H, H, H, R, R, R, R,  //
                     1, H, 3, H, 5, H, 4, H, 4, H, H, H, H, H, R, R},
                    &kFlute,
                    &kPad,
                    1}});
    out.push_back({"mp3files/stroll.wav",
                   {120,
                    5,
                    {I, iii, IV, V, I, vi, IV, V},
                    {0, R, 4, R, 7, R, 4, R, 2, R, 5, R, 7, H, R, R,  //
                     3, R, 5, R, 8, R, 7, R, 4, H, 2, H, 1, H, R, R,  //
                     0, 2, 4, 2, 0, R, 7, R, 5, 4, 5, 7, 9, H, R, R,  //
                     5, 4, 3, 2, 1, H, 4, H, 0, H, H, H, R, R, R, R},
                    &kChime,
                    &kPluck,
                    2}});
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mksounds OUTDIR\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    std::error_code ec;
    for (const char* sub : {"bells", "music", "mp3files"}) {
        std::filesystem::create_directories(root / sub, ec);
        if (ec) {
            std::fprintf(stderr, "mksounds: %s: %s\n", (root / sub).c_str(), ec.message().c_str());
            return 1;
        }
    }
    for (const Bell& b : bells())
        if (!write(root / "bells" / (std::string(b.name) + ".wav"), b.track)) return 1;
    for (const auto& [name, piece] : pieces())
        if (!write(root / name, render(piece))) return 1;
    return 0;
}
