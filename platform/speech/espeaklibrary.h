#pragma once
// Private to the speech engine: espeak-ng in-process. The library keeps one state per process
// and is not reentrant, so every call goes through this one object under one lock; each
// SpeechEngine's thread takes turns with it.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include <espeak-ng/speak_lib.h>

namespace platform::speech_detail {

// A voice as espeak-ng lists it.
struct EspeakVoice {
    std::string name;        // e.g. "Chinese (Mandarin, latin as Pinyin)"
    std::string identifier;  // e.g. "sit/cmn-Latn-pinyin"
    std::string language;    // highest-priority language, e.g. "cmn-latn-pinyin"
    int gender = 0;          // 0 none, 1 male, 2 female
};

class EspeakLibrary {
public:
    // The process's instance; initialised on first use with the installed data.
    static EspeakLibrary& instance();

    bool ok() const { return ok_; }
    QString errorText() const { return error_; }

    std::vector<EspeakVoice> listVoices();

    // Sound of each chunk and the events that fall in it. Returning false stops the synthesis.
    using Chunk = std::function<bool(const int16_t* samples, size_t count, const espeak_EVENT* ev)>;
    enum class Result { Completed, Stopped, Failed };

    // Speaks UTF-8 `text` (plain text, no markup) with voice `voiceId` at `wpm`.
    Result synthesize(const std::string& voiceId, int wpm, const QByteArray& text,
                      const Chunk& chunk);

    // espeak-ng's phoneme transcription of the first clause of `text` with voice `voiceId`;
    // empty when the voice cannot be loaded. A change of language shows as "(en)".
    std::string phonemes(const std::string& voiceId, const QByteArray& text);

    EspeakLibrary(const EspeakLibrary&) = delete;
    EspeakLibrary& operator=(const EspeakLibrary&) = delete;

private:
    EspeakLibrary();
    ~EspeakLibrary();
    bool loadVoice(const std::string& voiceId);  // with mutex_ held

    std::mutex mutex_;
    bool ok_ = false;
    QString error_;
    std::string loadedVoice_;  // loading a voice reads its dictionary: only on a change
};

}  // namespace platform::speech_detail
