#include "speaker/speech/tts.h"

#include "common/gbktext.h"
#include "platform/clock/clock.h"
#include "platform/speech/speechengine.h"
#include "platform/trace/trace.h"
#include "speaker/speech/readingeditor.h"
#include "speaker/speech/readingstate.h"

#include <QJsonObject>

namespace speech {

namespace {
// How often a worker waiting for `ttslock` looks again.
constexpr int kLockPollMs = 10;

bool blank(const QString& s) {
    return s.trimmed().isEmpty();
}

QString modeName(Tts::Mode mode) {
    return mode == Tts::Mode::Editor ? QStringLiteral("editor") : QStringLiteral("selection");
}
}  // namespace

Tts::Tts(const Context& context, Mode mode, ReadingSettings settings, QObject* parent)
    : QThread(parent),
      ctx_(context),
      mode_(mode),
      generation_(context.state.generation.load()),
      settings_(std::move(settings)) {}

bool Tts::stopping() const {
    return ctx_.state.stopread || ctx_.abandoned || ctx_.state.generation != generation_;
}

void Tts::run() {
    {
        platform::ThreadScope scope(ctx_.clock);
        ctx_.clock.release();  // the starter's hold: from now on the scope counts for us
        body();
    }
    ended_ = true;
}

bool Tts::acquireLock() {
    // Polled through the clock rather than blocking on the mutex, so that on the virtual clock
    // time moves on while we wait and the running worker can finish its pauses.
    while (!ctx_.state.ttslock.try_lock()) {
        if (ctx_.abandoned) return false;
        ctx_.clock.sleepFor(kLockPollMs);
    }
    return true;
}

void Tts::body() {
    if (!acquireLock()) {
        // Owner gone before our turn came: end as a stopped reading would.
        ctx_.state.lastreadtime = ctx_.clock.now().toMSecsSinceEpoch();
        ctx_.state.lastreadtick = ctx_.clock.tickMs();
        if (--ctx_.state.workers == 0) ctx_.state.readbusy = false;
        return;
    }
    if (ctx_.trace)
        ctx_.trace->record(QStringLiteral("reading.start"),
                           {{QStringLiteral("mode"), modeName(mode_)}});
    try {
        if (mode_ == Mode::Selection) {
            const ReadingEditor::Selection sel = ctx_.editor.selection();
            selBase_ = sel.start;
            selText_ = sel.text;
        }
        while (!stopping()) {
            if (!(mode_ == Mode::Editor ? editorStep() : selectionStep())) break;
        }
    } catch (...) {
        // A malformed mark or an engine failure ends the reading; the flags below stay right.
    }
    finish(completed_);
    ctx_.state.ttslock.unlock();
    if (ctx_.state.singleread && !ctx_.abandoned) ctx_.editor.enableToolbar();
}

void Tts::finish(bool completedNormally) {
    ReadingState& s = ctx_.state;
    // The exit time is set before `readbusy` falls, so a loop that sees the reading over
    // always measures its interval from this exit, not from the previous one.
    s.lastreadtime = ctx_.clock.now().toMSecsSinceEpoch();
    s.lastreadtick = ctx_.clock.tickMs();
    if (ctx_.trace)
        ctx_.trace->record(QStringLiteral("reading.end"),
                           {{QStringLiteral("completed"), completedNormally}});
    // A worker already started behind us keeps the reading busy.
    if (--s.workers == 0) s.readbusy = false;
}

QString Tts::currentVoice() const {
    const auto& voices = ctx_.engine.voices();
    const int i = ctx_.engine.voiceIndex();
    return i >= 0 && static_cast<size_t>(i) < voices.size() ? voices[i].description : QString();
}

void Tts::pause(int ms) {
    if (ms <= 0 || ctx_.abandoned) return;
    // The virtual clock runs every wait to its end deterministically; on the wall clock a
    // departing owner must not wait for a long pause.
    if (ctx_.clock.isVirtual())
        ctx_.clock.sleepFor(ms);
    else
        ctx_.clock.waitFor(ms, [this] { return ctx_.abandoned.load(); });
}

void Tts::completed() {
    ctx_.state.readendtime = ctx_.clock.now().toMSecsSinceEpoch();
    ctx_.state.isspeaking = false;
    ++ctx_.state.readcount;
    completed_ = true;
}

bool Tts::editorStep() {
    ReadingEditor& ed = ctx_.editor;
    ctx_.state.isspeaking = true;
    const ReadingEditor::Window w = ed.windowAtCaret(kWindowBytes);
    const int p = w.caret;
    if (blank(w.text)) {
        ed.setCaret(p + static_cast<int>(w.text.size()));
        if (ed.caretOnLastLine()) {
            completed();
            return false;
        }
        return true;
    }
    const Segment seg = nextsegment(w.text, settings_.marklist);
    const int length = static_cast<int>(seg.text.size());
    ed.highlight(p, length, false);
    if (curline_ != scrolledLine_) {
        ed.scrollOneLine();
        scrolledLine_ = curline_;
    }
    if (stopping()) return false;
    if (!speakSegment(seg.text, seg.pauseMs, false)) return false;
    // Replaced meanwhile: the editor holds the next reading's text and caret, leave them.
    if (ctx_.state.generation != generation_) return false;
    // The text was shortened during the reading.
    if (ed.lineCount() < curline_) {
        completed();
        return false;
    }
    curline_ = ed.lineOf(p);
    // On the last line one more, so that reading it still scrolls once.
    if (curline_ == ed.lineCount() - 1) ++curline_;
    ed.setCaret(p + length);
    return true;
}

bool Tts::selectionStep() {
    const QString window =
        common::gbkTake(QStringView(selText_).mid(selOffset_), kWindowBytes).toString();
    if (window.isEmpty()) return false;
    const Segment seg = nextsegment(window, settings_.marklist);
    const int length = static_cast<int>(seg.text.size());
    if (stopping()) return false;
    ctx_.editor.highlight(selBase_ + selOffset_, length, true);
    selOffset_ += length;
    return speakSegment(seg.text, seg.pauseMs, true);
}

bool Tts::speakSegment(const QString& raw, int pauseMs, bool speakBlank) {
    platform::SpeechEngine& engine = ctx_.engine;
    MarkContext mc;
    mc.now = ctx_.clock.now();
    mc.datetimetype = settings_.datetimetype;
    for (int i = 0; i < 6; ++i) mc.roleVoices[i] = settings_.roleVoices[i];
    mc.currentVoice = currentVoice();
    mc.findVoice = [&engine](const QString& description) {
        const auto& voices = engine.voices();
        for (size_t i = 0; i < voices.size(); ++i)
            if (voices[i].description.compare(description, Qt::CaseInsensitive) == 0)
                return static_cast<int>(i);
        return -1;
    };
    mc.toTraditional = settings_.toTraditional;
    const PreparedSegment prepared = applymarks(raw, mc);
    if (prepared.rate) engine.setRate(*prepared.rate);
    if (prepared.volume) engine.setVolume(*prepared.volume);
    if (prepared.voiceIndex) engine.selectVoice(*prepared.voiceIndex);

    if (blank(prepared.text) && !speakBlank) return true;
    if (prepared.timedPause) pause(settings_.starpause);
    if (!blank(prepared.text)) {
        if (ctx_.abandoned) return false;
        if (ctx_.trace)
            ctx_.trace->record(QStringLiteral("speech.segment"),
                               {{QStringLiteral("text"), prepared.text},
                                {QStringLiteral("voice"), currentVoice()},
                                {QStringLiteral("rate"), engine.rate()},
                                {QStringLiteral("volume"), engine.volume()},
                                {QStringLiteral("pause"), pauseMs}});
        // False also when Stop purged it; only a missing engine ends the reading.
        if (!engine.speak(prepared.text) && !engine.available()) return false;
    }
    pause(pauseMs);
    return true;
}

}  // namespace speech
