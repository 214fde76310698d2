#pragma once
// Keeps every utterance's samples in memory (tests, measurements). Played at once.

#include "platform/speech/speechoutput.h"

#include <mutex>
#include <vector>

namespace platform {

class CollectingSpeechOutput : public SpeechOutput {
public:
    struct Utterance {
        uint64_t id = 0;
        std::vector<int16_t> samples;
        bool ended = false;      // end() was called
        bool discarded = false;  // dropped by a purge
    };

    void begin(uint64_t id) override;
    void write(const int16_t* samples, size_t count) override;
    void end(uint64_t id) override;
    void discard(uint64_t fromId) override;

    std::vector<Utterance> utterances() const;
    size_t totalSamples() const;
    // True while an utterance has begun and not ended: begin/end must pair up.
    bool open() const;
    // Calls that broke the begin/write/end order (write outside an utterance, nested begin).
    int orderErrors() const;
    void clear();

private:
    mutable std::mutex mutex_;
    std::vector<Utterance> utterances_;
    bool open_ = false;
    int orderErrors_ = 0;
};

}  // namespace platform
