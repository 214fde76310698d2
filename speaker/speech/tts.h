#pragma once
// The speaking worker: one reading of the editor text on a thread of its own. Editor mode
// reads from the caret to the end, following the caret and the text as they are now;
// selection mode reads the text selected when the worker began. Each segment is cut at the
// break marks, prepared (marks, date) and spoken synchronously, then its pause is waited.

#include "speaker/speech/markup.h"

#include <QThread>

#include <atomic>
#include <functional>

namespace platform {
class Clock;
class SpeechEngine;
class Trace;
}  // namespace platform

namespace speech {

class ReadingEditor;
struct ReadingState;

// What a reading takes from the settings when it starts.
struct ReadingSettings {
    MarkList marklist;
    int starpause = 300;  // before a segment that holds "※"
    int datetimetype = 1;
    QString roleVoices[6];  // display names of the reading roles, empty: unset
    std::function<QString(const QString&)> toTraditional;
};

class Tts : public QThread {
    Q_OBJECT
public:
    enum class Mode { Editor = 0, Selection = 1 };

    struct Context {
        ReadingState& state;
        platform::SpeechEngine& engine;
        platform::Clock& clock;
        platform::Trace* trace;
        ReadingEditor& editor;
        // Raised when the owner goes away: waits end early, nothing more is spoken.
        const std::atomic<bool>& abandoned;
    };

    // Before start(), the starter holds the clock (so virtual time waits for the worker to
    // register); the worker releases that hold once it runs.
    Tts(const Context& context, Mode mode, ReadingSettings settings, QObject* parent = nullptr);

    // True once the body has returned (the thread may still be winding down).
    bool ended() const { return ended_.load(); }

protected:
    void run() override;

private:
    bool acquireLock();
    void body();
    bool editorStep();     // false: the reading ends
    bool selectionStep();  // false: the reading ends
    // Prepares and speaks one raw segment with its pauses; false when the engine failed.
    bool speakSegment(const QString& raw, int pauseMs, bool speakBlank);
    void completed();
    void pause(int ms);
    QString currentVoice() const;
    void finish(bool completedNormally);
    // A stop was asked for, the owner left, or a later reading has replaced this one.
    bool stopping() const;

    Context ctx_;
    Mode mode_;
    unsigned generation_;
    ReadingSettings settings_;
    std::atomic<bool> ended_{false};
    bool completed_ = false;

    // Editor mode: the line on which the previous segment began and the line of the last
    // scroll. Selection mode: the captured selection and how far it has been read.
    int curline_ = 0;
    int scrolledLine_ = 0;
    int selBase_ = 0;
    QString selText_;
    int selOffset_ = 0;
};

}  // namespace speech
