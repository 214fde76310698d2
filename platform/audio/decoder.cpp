#include "platform/audio/decoder.h"

#include <chrono>

namespace platform::audio {
namespace {
// Streams that do not play keep only a little decoded, so that opening many files (the
// unplayable-file check) stays cheap while a later play still starts at once.
constexpr int kIdleBlocks = 4;
// Blocks per stream and pass, so that one long decode does not starve the others.
constexpr int kBlocksPerPass = 8;
}  // namespace

Decoder::Decoder(Snapshot snapshot) : snapshot_(std::move(snapshot)), thread_([this] { run(); }) {}

Decoder::~Decoder() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    cv_.notify_all();
    thread_.join();
}

void Decoder::wake() {
    {
        std::lock_guard lock(mutex_);
        woken_ = true;
    }
    cv_.notify_all();
}

void Decoder::run() {
    for (;;) {
        bool busy = false;
        {
            auto streams = snapshot_();
            for (const auto& s : streams) {
                const bool playing = s->state() == PlayState::Playing;
                // Reads up to kBlocksPerPass more, never beyond the ring or the idle allowance.
                const int want = playing ? s->capacity() : kIdleBlocks;
                busy |= s->decodeAhead(want, kBlocksPerPass);
            }
        }
        std::unique_lock lock(mutex_);
        if (stop_) return;
        if (!busy)
            cv_.wait_for(lock, std::chrono::milliseconds(20), [&] { return stop_ || woken_; });
        woken_ = false;
        if (stop_) return;
    }
}

}  // namespace platform::audio
