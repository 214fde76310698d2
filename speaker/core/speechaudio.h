#pragma once
// Speech to the audio engine: each utterance plays on a push stream of its own, so speech mixes
// with music and chimes. On the virtual clock an utterance holds time still while it is being
// synthesised and then takes exactly the duration of its sound.

#include "platform/audio/audioengine.h"
#include "platform/speech/speechoutput.h"

#include <condition_variable>
#include <map>
#include <mutex>

namespace platform {
class Clock;
}

namespace core {

class AudioSpeechOutput : public platform::SpeechOutput {
public:
    AudioSpeechOutput(platform::AudioEngine& audio, platform::Clock& clock);
    ~AudioSpeechOutput() override;

    void queued(uint64_t id) override;
    void begin(uint64_t id) override;
    void write(const int16_t* samples, size_t count) override;
    void end(uint64_t id) override;
    void discard(uint64_t fromId) override;
    bool waitPlayed(uint64_t id, int timeoutMs) override;

private:
    struct Utterance {
        platform::AudioHandle stream = 0;
        bool held = false;         // the clock waits for its synthesis
        bool synthesized = false;  // all of its sound has been handed over
        bool dropped = false;
    };
    void releaseHold(Utterance& u);  // under mutex_

    platform::AudioEngine& audio_;
    platform::Clock& clock_;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::map<uint64_t, Utterance> utterances_;
    uint64_t current_ = 0;  // the utterance being synthesised
};

}  // namespace core
