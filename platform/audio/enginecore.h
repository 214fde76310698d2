#pragma once
// The stream side of the engine, shared by the PulseAudio and the null device: the handle
// table, opening, and the play controls. Backends supply the output (who calls the mixer) and
// capture.

#include "platform/audio/audioengine.h"
#include "platform/audio/mixer.h"

#include <map>
#include <mutex>

namespace platform::audio {

class EngineCore : public AudioEngine {
public:
    AudioHandle openFile(const QString& path) override;
    AudioHandle openMemory(const QByteArray& file) override;
    AudioHandle openPush(int rate, int channels) override;
    bool appendPush(AudioHandle h, const qint16* samples, std::size_t frames) override;
    bool finishPush(AudioHandle h) override;

    bool release(AudioHandle h) override;
    bool play(AudioHandle h) override;
    bool stop(AudioHandle h) override;
    bool pause(AudioHandle h) override;
    State state(AudioHandle h) const override;

    bool setVolume(AudioHandle h, float volume) override;
    float volume(AudioHandle h) const override;
    qint64 length(AudioHandle h) const override;
    qint64 position(AudioHandle h) const override;
    bool setPosition(AudioHandle h, qint64 bytes) override;
    double bytesToSeconds(AudioHandle h, qint64 bytes) const override;
    qint64 secondsToBytes(AudioHandle h, double seconds) const override;

protected:
    static constexpr int kRingBlocks = 64;  // about 1.5 s at 44.1 kHz

    // Called first by every operation; the null device renders up to the clock's time there.
    virtual void sync() const {}
    // Opens fail until an output has been reached once.
    virtual bool outputAvailable() const = 0;
    // New work for the decoding side.
    virtual void wake() {}

    // The open streams (for the decoding thread); destroys the released ones that the mixer
    // can no longer be reading.
    std::vector<std::shared_ptr<Stream>> snapshot() const;
    void reap() const;
    // Releases every stream (backends call it before their output stops).
    void releaseAll();

    mutable Mixer mixer_;  // the null device mixes from calls that only look

private:
    AudioHandle add(std::unique_ptr<Source> source, const SourceFormat& format);
    std::shared_ptr<Stream> find(AudioHandle h) const;
    qint64 frameBytes(const Stream& s) const { return 2LL * s.channels; }

    mutable std::mutex mutex_;
    std::map<AudioHandle, std::shared_ptr<Stream>> streams_;
    mutable std::vector<std::pair<std::shared_ptr<Stream>, quint64>> retired_;
    AudioHandle next_ = kFirstHandle;
};

// Selection and levels of the capture inputs, by input id, shared by both devices.
class CaptureInputs {
public:
    struct Input {
        QString id;
        QString name;
    };
    // Replaces the list; a selection whose input is gone falls back to `preferredId`.
    void setAvailable(std::vector<Input> inputs, const QString& preferredId);
    std::vector<AudioEngine::CaptureInput> list() const;
    bool setOn(int index, bool on);
    bool setLevel(int index, float level);
    QString selectedId() const;
    float selectedLevel() const;
    bool known() const;

private:
    mutable std::mutex mutex_;
    std::vector<Input> inputs_;
    std::map<QString, float> levels_;
    QString selected_;
    bool chosen_ = false;  // the user picked (or cleared) the selection
    bool known_ = false;
};

}  // namespace platform::audio
