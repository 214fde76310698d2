#pragma once
// The text-to-speech engine every path that speaks shares: espeak-ng in-process, synthesis on
// the engine's own thread, the sound to a SpeechOutput. Voice, rate and volume apply to what
// is requested after they are set. Safe to call from any thread.

#include "platform/speech/speechoutput.h"
#include "platform/speech/voice.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

struct SpeechEvent {
    enum class Type { Sentence, Word, End };
    Type type = Type::End;
    uint64_t utterance = 0;
    int position = 0;        // Sentence, Word: index in the utterance's text (QString units)
    int length = 0;          // Word: its length
    int audioMs = 0;         // Sentence, Word: where it falls in the utterance's sound
    bool completed = false;  // End: spoken to its end (not purged, no engine error)
};

class SpeechEngine {
public:
    using EventHandler = std::function<void(const SpeechEvent&)>;

    inline static constexpr int kDefaultRate = 0;
    inline static constexpr int kDefaultVolume = 100;

    // `output` is where speech goes by default (and again after reset()); none: dropped.
    explicit SpeechEngine(std::shared_ptr<SpeechOutput> output = {});
    ~SpeechEngine();
    SpeechEngine(const SpeechEngine&) = delete;
    SpeechEngine& operator=(const SpeechEngine&) = delete;

    // False when espeak-ng could not start; then there are no voices and nothing is spoken.
    bool available() const;
    QString errorText() const;

    // The voices that work, a Mandarin voice first; index i is voice i everywhere.
    const std::vector<Voice>& voices() const;
    // False (and the voice unchanged) for an index outside the list.
    bool selectVoice(int index);
    int voiceIndex() const;

    // -10..15, see wordsPerMinute(); outside values are clamped.
    void setRate(int rate);
    int rate() const;
    // 0..100 (100: the engine's full level); outside values are clamped.
    void setVolume(int volume);
    int volume() const;

    // Purges, then speaks `text` and returns once it has been played. False when it was
    // purged meanwhile (from another thread or by reset-free purge) or could not be spoken.
    bool speak(const QString& text);
    // Queues `text` behind what is being said and returns at once; the utterance's id (0 when
    // nothing was queued: blank text, no engine).
    uint64_t speakAsync(const QString& text);
    // Discards queued speech and stops what is being said within one short chunk; nothing of
    // it reaches the output after purge() returns.
    void purge();
    // Waits until everything queued has been spoken and played; false on time-out (-1: none).
    bool waitUntilDone(int timeoutMs = -1);
    bool isBusy() const;

    // Output for speech requested from now on (the export's file); reset() restores the
    // default output.
    void setOutput(std::shared_ptr<SpeechOutput> output);
    std::shared_ptr<SpeechOutput> output() const;

    // Back to the engine's defaults: voice 0, rate 0, volume 100, the default output.
    // Asynchronous speech is silenced; a synchronous speak under way is spoken to its end.
    void reset();

    // Called on the engine's thread for each utterance's sentences, words and end. Keep it
    // short and do not call back into the engine from it.
    void setEventHandler(EventHandler handler);

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace platform
