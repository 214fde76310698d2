// The null device: consumes audio on the program's clock instead of a sound card. Nothing runs
// in the background; every call first renders the mix from where the last one stopped up to
// the clock's current tick, so positions are a function of the time since play and the same
// inputs give the same result every time.

#include "platform/audio/enginecore.h"
#include "platform/clock/clock.h"

#include <QFile>
#include <QtGlobal>

#include <sndfile.h>

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

using audio::CaptureInputs;
using audio::EngineCore;

constexpr int kChunk = 1024;
constexpr AudioHandle kCaptureHandle = 0x40000000u;  // apart from stream handles

struct SndCloser {
    void operator()(SNDFILE* f) const { sf_close(f); }
};

class NullEngine final : public EngineCore {
public:
    NullEngine(Clock& clock, const QString& wavPath) : clock_(clock), base_(clock.tickMs()) {
        inputs_.setAvailable({{"null.monitor", "Monitor of Null Output"}}, "null.monitor");
        if (wavPath.isEmpty()) return;
        SF_INFO info{};
        info.samplerate = kMixRate;
        info.channels = kMixChannels;
        info.format = SF_FORMAT_RF64 | SF_FORMAT_PCM_16;  // becomes plain WAV below 4 GB
        r_.wav.reset(sf_open(QFile::encodeName(wavPath).constData(), SFM_WRITE, &info));
        if (!r_.wav) {
            qWarning("audio: cannot write %s: %s", qPrintable(wavPath), sf_strerror(nullptr));
            return;
        }
        sf_command(r_.wav.get(), SFC_RF64_AUTO_DOWNGRADE, nullptr, SF_TRUE);
        sf_command(r_.wav.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
    }

    ~NullEngine() override {
        flush();
        releaseAll();
        reap();
    }

    bool init() override { return true; }
    bool isReady() const override { return true; }

    std::vector<CaptureInput> captureInputs() const override {
        sync();
        return inputs_.list();
    }
    bool setCaptureInput(int index, bool on) override {
        sync();
        return inputs_.setOn(index, on);
    }
    bool setCaptureLevel(int index, float level) override {
        sync();
        return inputs_.setLevel(index, level);
    }

    AudioHandle startCapture(CaptureCallback callback) override {
        sync();
        if (!callback || inputs_.selectedId().isEmpty()) return 0;
        std::lock_guard lock(r_.mutex);
        if (r_.capture) return 0;
        r_.capture = std::move(callback);
        return kCaptureHandle;
    }

    bool stopCapture(AudioHandle h) override {
        sync();
        std::lock_guard lock(r_.mutex);
        if (h != kCaptureHandle || !r_.capture) return false;
        r_.capture = nullptr;
        return true;
    }

    void flush() override {
        sync();
        std::lock_guard lock(r_.mutex);
        if (r_.wav) sf_command(r_.wav.get(), SFC_UPDATE_HEADER_NOW, nullptr, 0);
    }

protected:
    bool outputAvailable() const override { return true; }

    void sync() const override {
        std::lock_guard lock(r_.mutex);
        const qint64 target = (clock_.tickMs() - base_) * kMixRate / 1000;
        auto& mixer = mixer_;
        while (r_.done < target) {
            const int n = static_cast<int>(std::min<qint64>(kChunk, target - r_.done));
            const bool playing = mixer.anyPlaying();
            if (!playing && !r_.wav && !r_.capture) {
                r_.done = target;  // nothing audible or recorded: skip ahead
                break;
            }
            if (playing) mixer.decodePlaying();
            mixer.mix(r_.mix.data(), n, kMixRate);
            if (r_.wav) sf_writef_float(r_.wav.get(), r_.mix.data(), n);
            if (r_.capture) deliver(n);
            r_.done += n;
        }
        reap();
    }

private:
    void deliver(int n) const {
        const float gain = inputs_.selectedLevel();
        for (int i = 0; i < 2 * n; ++i) {
            const float v = std::clamp(r_.mix[static_cast<std::size_t>(i)] * gain, -1.0f, 1.0f);
            r_.pcm[static_cast<std::size_t>(i)] = static_cast<qint16>(std::lrintf(v * 32767.0f));
        }
        if (!r_.capture(r_.pcm.data(), static_cast<std::size_t>(n))) r_.capture = nullptr;
    }

    // What rendering changes; calls that only look (const) render too.
    struct Render {
        std::mutex mutex;
        qint64 done = 0;  // frames rendered since the device was made
        std::unique_ptr<SNDFILE, SndCloser> wav;
        CaptureCallback capture;
        std::vector<float> mix = std::vector<float>(2 * kChunk);
        std::vector<qint16> pcm = std::vector<qint16>(2 * kChunk);
    };

    Clock& clock_;
    const qint64 base_;
    mutable Render r_;
    CaptureInputs inputs_;
};

}  // namespace

std::unique_ptr<AudioEngine> makeNullAudioEngine(Clock& clock, const QString& wavPath) {
    return std::make_unique<NullEngine>(clock, wavPath);
}

}  // namespace platform
