#include "speaker/speech/reader.h"

#include "platform/clock/clock.h"
#include "platform/speech/speechengine.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace speech {

Reader::Reader(platform::Clock& clock, platform::SpeechEngine& engine, platform::Trace* trace,
               ReadingEditor& editor, QObject* parent)
    : QObject(parent), clock_(clock), engine_(engine), trace_(trace), editor_(editor) {}

Reader::~Reader() {
    abandoned_ = true;
    state_.stopread = true;
    engine_.purge();
    for (const auto& w : workers_) {
        // The worker may be waiting for the editor (served by the posted events) or, on the
        // virtual clock, for time to move on; it ends after its current segment.
        while (!w->ended()) {
            QCoreApplication::sendPostedEvents();
            if (clock_.isVirtual())
                clock_.delayms(10);
            else
                w->wait(QDeadlineTimer(5));
        }
        w->wait();
    }
}

void Reader::getdelaystring(core::Dataset& q_delaytime) {
    marklist_ = speech::getdelaystring(q_delaytime);
}

void Reader::ttsreading() {
    state_.ttsactive = true;
    takeStopRequest();
    state_.readbusy = true;
    state_.readmode = 0;
    state_.singleread = true;
    start(Tts::Mode::Editor);
}

void Reader::readtxt() {
    state_.ttsactive = true;
    takeStopRequest();
    state_.readbusy = true;
    start(state_.readmode == 0 ? Tts::Mode::Editor : Tts::Mode::Selection);
}

void Reader::takeStopRequest() {
    // A stop asked for just before this start is meant for the running reading: it reaches
    // that worker as a newer generation, since the flag itself is cleared for the new one.
    if (state_.stopread.exchange(false)) ++state_.generation;
}

void Reader::start(Tts::Mode mode) {
    std::erase_if(workers_, [](const std::unique_ptr<Tts>& w) { return w->isFinished(); });
    ReadingSettings settings = settingsSource_ ? settingsSource_() : ReadingSettings{};
    settings.marklist = marklist_;
    auto* worker = workers_
                       .emplace_back(std::make_unique<Tts>(
                           Tts::Context{state_, engine_, clock_, trace_, editor_, abandoned_}, mode,
                           std::move(settings)))
                       .get();
    ++state_.workers;
    // Held until the worker has registered with the clock, so virtual time cannot run ahead
    // of a worker that has not begun.
    clock_.hold();
    worker->start();
}

}  // namespace speech
