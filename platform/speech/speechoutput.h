#pragma once
// Where the speech engine sends its sound: 22050 Hz, mono, signed 16-bit PCM, one utterance
// (one speak request) at a time. The program connects it to a stream of the audio engine,
// the export to a WAV file, tests to a collecting or clock-paced output.

#include <cstddef>
#include <cstdint>

namespace platform {

inline constexpr int kSpeechSampleRate = 22050;

class SpeechOutput {
public:
    virtual ~SpeechOutput() = default;

    // On the requesting thread, when utterance `id` is queued (ids rise in queue order).
    virtual void queued(uint64_t id) { (void)id; }
    // On the engine's thread: the sound of utterance `id`, in order. end() follows every
    // begin(), also when the utterance was purged half-way.
    virtual void begin(uint64_t id) { (void)id; }
    virtual void write(const int16_t* samples, size_t count) = 0;
    virtual void end(uint64_t id) { (void)id; }

    // Drops what is not yet played of utterance `fromId` and every later one (0: everything)
    // and wakes waitPlayed(). Any thread; an output that cannot tell utterances apart may
    // drop everything.
    virtual void discard(uint64_t fromId) { (void)fromId; }

    // Blocks the speaking thread until utterance `id` has been played (or dropped); false
    // when `timeoutMs` (-1: none) passed first.
    virtual bool waitPlayed(uint64_t id, int timeoutMs) {
        (void)id;
        (void)timeoutMs;
        return true;
    }
};

// Drops the sound; speaking takes only the time of synthesis.
class NullSpeechOutput : public SpeechOutput {
public:
    void write(const int16_t*, size_t) override {}
};

}  // namespace platform
