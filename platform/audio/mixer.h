#pragma once
// The set of streams that the audio thread mixes. Slots are atomic pointers, so adding and
// removing a stream never blocks the audio thread; a removed stream is kept alive until the
// mixer is known not to be reading it (the epoch counter is odd while a mix runs).

#include "platform/audio/stream.h"

#include <array>
#include <atomic>
#include <memory>
#include <vector>

namespace platform::audio {

class Mixer {
public:
    static constexpr int kSlots = 256;

    // Both false when every slot is taken.
    bool add(Stream* stream);
    // Returns the epoch after which the stream may be destroyed (see safeAfter()).
    quint64 remove(Stream* stream);
    bool safeAfter(quint64 epoch) const;

    // Fills `out` (`frames` stereo float frames at `rate`) with the mix of the playing streams.
    void mix(float* out, int frames, int rate);
    // Producer pass for the null device, which decodes on the rendering thread.
    bool anyPlaying() const;
    void decodePlaying();

private:
    std::array<std::atomic<Stream*>, kSlots> slots_{};
    std::atomic<quint64> epoch_{0};
};

}  // namespace platform::audio
