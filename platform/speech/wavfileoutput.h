#pragma once
// Writes the speech into a WAV file (22050 Hz, mono, 16-bit PCM): the export of a text to a
// sound file. Every utterance spoken while it is the engine's output is appended.

#include "platform/speech/speechoutput.h"

#include <QString>

#include <mutex>

struct sf_private_tag;

namespace platform {

class WavFileSpeechOutput : public SpeechOutput {
public:
    // Creates (or truncates) `path`; check isOpen().
    explicit WavFileSpeechOutput(const QString& path);
    ~WavFileSpeechOutput() override;
    WavFileSpeechOutput(const WavFileSpeechOutput&) = delete;
    WavFileSpeechOutput& operator=(const WavFileSpeechOutput&) = delete;

    bool isOpen() const;
    // Completes the file. False when it could not be created or a write failed (disk full),
    // so that the export does not announce a file it has not written.
    bool close();
    QString errorText() const;
    size_t framesWritten() const;

    void write(const int16_t* samples, size_t count) override;

private:
    mutable std::mutex mutex_;
    sf_private_tag* file_ = nullptr;
    bool failed_ = false;
    QString error_;
    size_t frames_ = 0;
};

}  // namespace platform
