#pragma once
// One playing stream: a source decoded ahead into a ring of blocks by one producer (the decoding
// thread, or the null device's render), consumed by one mixer. The two sides share only atomics,
// so the mixer never waits on disk, on a lock or on allocation. A seek bumps a generation number
// kept in the same word as the play state; blocks of an older generation are dropped unplayed.

#include "platform/audio/source.h"

#include <atomic>
#include <memory>
#include <vector>

namespace platform::audio {

constexpr int kBlockFrames = 1024;
constexpr int kMaxChannels = 8;

enum class PlayState : quint32 { Stopped = 0, Playing = 1, Paused = 2 };

class Stream {
public:
    Stream(std::unique_ptr<Source> source, const SourceFormat& format, int ringBlocks);

    const int rate;
    const int channels;
    const qint64 frames;  // nominal length; 0 for a push stream
    PushSource* push() const { return push_; }

    // ---- control side (API threads, serialised by the engine) ----
    PlayState state() const;
    // Play without restart: resumes, or starts over after a natural end. False when a finished
    // push stream would have to start over.
    bool play();
    void halt(PlayState to);  // Stopped or Paused; keeps the position
    bool seek(qint64 frame);
    qint64 position() const;  // frames
    void setVolume(float v) { volume_.store(v, std::memory_order_relaxed); }
    float volume() const { return volume_.load(std::memory_order_relaxed); }
    bool ended() const;

    // ---- producer side ----
    // Decodes up to `maxNew` blocks, keeping at most `maxQueued` queued. True when it produced
    // any.
    bool decodeAhead(int maxQueued, int maxNew = 1 << 30);
    int capacity() const { return static_cast<int>(mask_ + 1); }
    // The oldest queued block holds samples (not the end mark); checked right after opening.
    bool hasQueuedAudio() const;

    // ---- consumer side ----
    // Drops the blocks decoded before the last seek, making room for the new position (the
    // null device, which is producer and consumer at once, calls it before decoding).
    void dropStale();
    // Adds up to `n` stereo frames at `outRate`, scaled by the volume, into `out`.
    void mixInto(float* out, int n, int outRate);

private:
    struct Block {
        quint32 gen = 0;
        int frames = 0;
        qint64 start = 0;
        bool eof = false;
    };
    enum Fetch { kFrame, kNoData, kEnd };

    static quint64 word(quint32 gen, PlayState s) {
        return (quint64(gen) << 32) | static_cast<quint32>(s);
    }
    static quint32 genOf(quint64 w) { return quint32(w >> 32); }
    static PlayState stateOf(quint64 w) { return static_cast<PlayState>(quint32(w)); }

    Fetch fetch(float* frame);
    void finishAt(quint32 gen);

    std::unique_ptr<Source> source_;
    PushSource* push_ = nullptr;
    std::vector<Block> blocks_;
    std::vector<float> samples_;
    quint32 mask_;

    std::atomic<quint64> control_{0};  // seek generation (high) and PlayState (low)
    std::atomic<qint64> seekTarget_{0};
    std::atomic<float> volume_{1.0f};
    std::atomic<quint32> write_{0}, read_{0};
    std::atomic<qint64> pos_{0};
    std::atomic<quint32> posGen_{0};
    std::atomic<qint64> endedGen_{-1};

    // Producer-only.
    quint32 decGen_ = 0;
    qint64 cursor_ = 0;
    bool eofSent_ = false;

    // Consumer-only.
    int readOffset_ = 0;
    quint32 mixGen_ = 0;
    quint32 consumedGen_ = 0;
    qint64 consumed_ = 0;
    float a_[kMaxChannels] = {}, b_[kMaxChannels] = {};
    int filled_ = 0;
    double frac_ = 0;
};

}  // namespace platform::audio
