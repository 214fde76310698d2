#pragma once
// Plays nothing but takes the sound's time on a Clock: an utterance starts when it was
// requested (or when the one before it ends) and lasts exactly its duration, so that on the
// virtual clock a synchronous speak takes its duration in virtual time. For tests and the
// rehearsal; the real program plays through the audio engine.

#include "platform/speech/speechoutput.h"

#include <QtGlobal>

#include <map>
#include <mutex>

namespace platform {

class Clock;

class PacedSpeechOutput : public SpeechOutput {
public:
    explicit PacedSpeechOutput(Clock& clock);

    void queued(uint64_t id) override;
    void begin(uint64_t id) override;
    void write(const int16_t* samples, size_t count) override;
    void end(uint64_t id) override;
    void discard(uint64_t fromId) override;
    bool waitPlayed(uint64_t id, int timeoutMs) override;

    // Tick at which the last utterance written ends (its start when nothing was written).
    qint64 busyUntil() const;

private:
    struct Span {
        qint64 start = 0;
        qint64 end = 0;
    };
    static qint64 durationMs(size_t samples);

    Clock& clock_;
    mutable std::mutex mutex_;
    std::map<uint64_t, qint64> requested_;  // id -> tick of the request
    std::map<uint64_t, Span> spans_;        // utterances written, until played and waited for
    qint64 busyUntil_ = 0;
    uint64_t current_ = 0;  // utterance between begin() and end(), 0 when none
    qint64 currentStart_ = 0;
    size_t currentSamples_ = 0;
    qint64 cutAt_ = -1;  // the current utterance was dropped at this tick
};

}  // namespace platform
