#pragma once
// The services of one run of the program, created in one place: the program wires the wall
// clock, real boxes and the sound server; the rehearsal the virtual clock, scripted answers and
// the null audio device.

#include "platform/audio/audioengine.h"
#include "platform/trace/trace.h"
#include "speaker/core/services.h"

#include <memory>

namespace platform {
class Clock;
class Prompter;
class SpeechEngine;
}  // namespace platform

namespace core {
class AudioSpeechOutput;
}

namespace app {

class Runtime {
public:
    // `audio` may be null (no sound at all).
    Runtime(platform::Clock& clock, platform::Prompter& prompter, const QString& programDir,
            std::unique_ptr<platform::AudioEngine> audio);
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    core::Services& services() { return services_; }
    platform::Trace& trace() { return trace_; }

private:
    void beep(int hz, int ms);

    platform::Trace trace_;
    std::unique_ptr<platform::AudioEngine> audio_;
    std::shared_ptr<core::AudioSpeechOutput> speechOutput_;
    std::unique_ptr<platform::SpeechEngine> speech_;
    platform::AudioHandle beepStream_ = 0;
    core::Services services_;
};

}  // namespace app
