#include "speaker/app/runtime.h"

#include "common/paths.h"
#include "platform/audio/tone.h"
#include "platform/clock/clock.h"
#include "platform/prompter/prompter.h"
#include "platform/speech/speechengine.h"
#include "speaker/core/speechaudio.h"

namespace app {

Runtime::Runtime(platform::Clock& clock, platform::Prompter& prompter, const QString& programDir,
                 std::unique_ptr<platform::AudioEngine> audio)
    : trace_(clock), audio_(std::move(audio)) {
    prompter.setTrace(&trace_);
    if (audio_) speechOutput_ = std::make_shared<core::AudioSpeechOutput>(*audio_, clock);
    speech_ = std::make_unique<platform::SpeechEngine>(speechOutput_);
    services_.programDir = common::addbackslash(programDir);
    services_.clock = &clock;
    services_.prompter = &prompter;
    services_.trace = &trace_;
    services_.audio = audio_.get();
    services_.speech = speech_.get();
    services_.beep = [this](int hz, int ms) { beep(hz, ms); };
}

Runtime::~Runtime() {
    speech_.reset();  // before the output it speaks to
    if (audio_ && beepStream_) audio_->release(beepStream_);
}

void Runtime::beep(int hz, int ms) {
    trace_.record(QStringLiteral("beep"), {{QStringLiteral("hz"), hz}, {QStringLiteral("ms"), ms}});
    if (!audio_) return;
    // One beep at a time on a stream of its own; the previous one has long ended.
    if (beepStream_) audio_->release(beepStream_);
    beepStream_ = audio_->openMemory(platform::toneWav(hz, ms));
    if (beepStream_) audio_->play(beepStream_);
}

}  // namespace app
