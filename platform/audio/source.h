#pragma once
// Where a stream's samples come from: a sound file (on disk or in memory) decoded with
// libsndfile, or PCM pushed by a producer. Read only by the decoding side of a stream.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>

namespace platform::audio {

class Source {
public:
    static constexpr long kNoDataYet = -1;

    virtual ~Source() = default;
    // Reads up to `frames` interleaved float frames; 0 at the end, kNoDataYet when a producer
    // has not delivered more yet.
    virtual long read(float* dst, long frames) = 0;
    virtual bool seek(qint64 frame) = 0;
    virtual bool isPush() const { return false; }
};

struct SourceFormat {
    int rate = 0;
    int channels = 0;
    qint64 frames = 0;
};

// Opens a file or an in-memory file; null when libsndfile cannot decode it.
std::unique_ptr<Source> openSoundFile(const QString& path, SourceFormat& format);
std::unique_ptr<Source> openSoundMemory(const QByteArray& data, SourceFormat& format);

// PCM appended by a producer thread, 16-bit interleaved.
class PushSource final : public Source {
public:
    explicit PushSource(int channels) : channels_(channels) {}
    long read(float* dst, long frames) override;
    bool seek(qint64) override { return false; }
    bool isPush() const override { return true; }

    bool append(const qint16* samples, std::size_t frames);
    void finish();
    qint64 appendedFrames() const;

private:
    const int channels_;
    mutable std::mutex mutex_;
    std::deque<QByteArray> queue_;
    std::size_t offset_ = 0;  // bytes of queue_.front() already read
    qint64 appended_ = 0;
    bool finished_ = false;
};

}  // namespace platform::audio
