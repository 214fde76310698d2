#include "platform/speech/wavfileoutput.h"

#include <QFile>

#include <sndfile.h>

namespace platform {

WavFileSpeechOutput::WavFileSpeechOutput(const QString& path) {
    SF_INFO info{};
    info.samplerate = kSpeechSampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    file_ = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file_) {
        failed_ = true;
        error_ = QString::fromLocal8Bit(sf_strerror(nullptr));
    }
}

WavFileSpeechOutput::~WavFileSpeechOutput() {
    close();
}

bool WavFileSpeechOutput::isOpen() const {
    std::lock_guard lk(mutex_);
    return file_ != nullptr;
}

void WavFileSpeechOutput::write(const int16_t* samples, size_t count) {
    std::lock_guard lk(mutex_);
    if (!file_ || failed_ || count == 0) return;
    const sf_count_t n = sf_write_short(file_, samples, static_cast<sf_count_t>(count));
    frames_ += n > 0 ? static_cast<size_t>(n) : 0;
    if (n != static_cast<sf_count_t>(count)) {
        failed_ = true;
        error_ = QString::fromLocal8Bit(sf_strerror(file_));
    }
}

bool WavFileSpeechOutput::close() {
    std::lock_guard lk(mutex_);
    if (file_) {
        sf_write_sync(file_);
        if (sf_close(file_) != 0 && !failed_) {
            failed_ = true;
            error_ = QStringLiteral("the file could not be completed");
        }
        file_ = nullptr;
    }
    return !failed_;
}

QString WavFileSpeechOutput::errorText() const {
    std::lock_guard lk(mutex_);
    return error_;
}

size_t WavFileSpeechOutput::framesWritten() const {
    std::lock_guard lk(mutex_);
    return frames_;
}

}  // namespace platform
