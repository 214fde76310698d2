#pragma once
// Starts the speaking workers and owns the reading state they share with the timers: the
// one place the reading state lives. `ttsreading` starts an editor reading, `readtxt` one
// pass of a loop over the selection; a stop request ends the running worker after its
// current segment.

#include "speaker/speech/readingstate.h"
#include "speaker/speech/tts.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace core {
class Dataset;
}

namespace speech {

class Reader : public QObject {
    Q_OBJECT
public:
    Reader(platform::Clock& clock, platform::SpeechEngine& engine, platform::Trace* trace,
           ReadingEditor& editor, QObject* parent = nullptr);
    // Ends every worker: each stops after its current segment (speech is purged).
    ~Reader() override;

    ReadingState& state() { return state_; }
    platform::SpeechEngine& engine() { return engine_; }

    // `marklist`: rebuilt from the pause table at start-up and when its page is saved.
    void getdelaystring(core::Dataset& q_delaytime);
    void setMarklist(MarkList marks) { marklist_ = std::move(marks); }
    const MarkList& marklist() const { return marklist_; }
    // The other settings a reading takes when it starts (※ pause, date format, roles);
    // `marklist` is filled in here.
    void setSettingsSource(std::function<ReadingSettings()> source) {
        settingsSource_ = std::move(source);
    }

    // Editor reading from the caret (callers select the voice and place the caret first).
    void ttsreading();
    // One selection pass of a loop (the loop starter set `readmode` and `singleread`).
    void readtxt();
    // Asks the running worker to stop after its current segment and pauses.
    void requestStop() { state_.stopread = true; }
    // A worker has been started and has not ended yet.
    bool workerRunning() const { return state_.workers.load() > 0; }

private:
    void takeStopRequest();
    void start(Tts::Mode mode);

    platform::Clock& clock_;
    platform::SpeechEngine& engine_;
    platform::Trace* trace_;
    ReadingEditor& editor_;
    ReadingState state_;
    std::atomic<bool> abandoned_{false};
    MarkList marklist_;
    std::function<ReadingSettings()> settingsSource_;
    // Owned here and reaped once their body has ended (never deleted by the event loop, so
    // a wait in the destructor cannot lose one under its feet).
    std::vector<std::unique_ptr<Tts>> workers_;
};

}  // namespace speech
