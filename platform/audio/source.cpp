#include "platform/audio/source.h"

#include <QFile>

#include <sndfile.h>

#include <algorithm>
#include <cstring>

namespace platform::audio {
namespace {

constexpr int kMaxChannels = 8;
constexpr int kMaxRate = 384000;

struct SndCloser {
    void operator()(SNDFILE* f) const { sf_close(f); }
};
using SndPtr = std::unique_ptr<SNDFILE, SndCloser>;

// A complete sound file in memory, read through libsndfile's virtual I/O.
struct MemoryFile {
    QByteArray data;
    sf_count_t pos = 0;
    SF_VIRTUAL_IO io{&length, &seek, &read, &write, &tell};

    static sf_count_t length(void* user) { return static_cast<MemoryFile*>(user)->data.size(); }
    static sf_count_t seek(sf_count_t offset, int whence, void* user) {
        auto* m = static_cast<MemoryFile*>(user);
        sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? m->pos : m->data.size();
        sf_count_t to = base + offset;
        if (to < 0 || to > m->data.size()) return -1;
        m->pos = to;
        return m->pos;
    }
    static sf_count_t read(void* ptr, sf_count_t count, void* user) {
        auto* m = static_cast<MemoryFile*>(user);
        sf_count_t n = std::clamp<sf_count_t>(m->data.size() - m->pos, 0, count);
        std::memcpy(ptr, m->data.constData() + m->pos, static_cast<std::size_t>(n));
        m->pos += n;
        return n;
    }
    static sf_count_t write(const void*, sf_count_t, void*) { return 0; }
    static sf_count_t tell(void* user) { return static_cast<MemoryFile*>(user)->pos; }
};

class SndSource final : public Source {
public:
    SndSource(SndPtr file, std::unique_ptr<MemoryFile> memory)
        : memory_(std::move(memory)), file_(std::move(file)) {}
    long read(float* dst, long frames) override {
        sf_count_t n = sf_readf_float(file_.get(), dst, frames);
        return n > 0 ? static_cast<long>(n) : 0;  // a read error ends the stream
    }
    bool seek(qint64 frame) override { return sf_seek(file_.get(), frame, SEEK_SET) >= 0; }

private:
    std::unique_ptr<MemoryFile> memory_;  // outlives file_, which reads through it
    SndPtr file_;
};

bool acceptable(const SF_INFO& info) {
    return info.channels >= 1 && info.channels <= kMaxChannels && info.samplerate >= 1 &&
           info.samplerate <= kMaxRate && info.frames > 0;
}

}  // namespace

std::unique_ptr<Source> openSoundFile(const QString& path, SourceFormat& format) {
    SF_INFO info{};
    SndPtr file(sf_open(QFile::encodeName(path).constData(), SFM_READ, &info));
    if (!file || !acceptable(info)) return nullptr;
    format = {info.samplerate, info.channels, info.frames};
    return std::make_unique<SndSource>(std::move(file), nullptr);
}

std::unique_ptr<Source> openSoundMemory(const QByteArray& data, SourceFormat& format) {
    if (data.isEmpty()) return nullptr;
    auto memory = std::make_unique<MemoryFile>();
    memory->data = data;
    SF_INFO info{};
    SndPtr file(sf_open_virtual(&memory->io, SFM_READ, &info, memory.get()));
    if (!file || !acceptable(info)) return nullptr;
    format = {info.samplerate, info.channels, info.frames};
    return std::make_unique<SndSource>(std::move(file), std::move(memory));
}

long PushSource::read(float* dst, long frames) {
    std::lock_guard lock(mutex_);
    const std::size_t frameBytes = sizeof(qint16) * static_cast<std::size_t>(channels_);
    long done = 0;
    while (done < frames && !queue_.empty()) {
        const QByteArray& front = queue_.front();
        std::size_t avail = (static_cast<std::size_t>(front.size()) - offset_) / frameBytes;
        std::size_t take = std::min<std::size_t>(avail, static_cast<std::size_t>(frames - done));
        const auto* src = reinterpret_cast<const qint16*>(front.constData() + offset_);
        for (std::size_t i = 0; i < take * static_cast<std::size_t>(channels_); ++i)
            dst[static_cast<std::size_t>(done * channels_) + i] = src[i] / 32768.0f;
        done += static_cast<long>(take);
        offset_ += take * frameBytes;
        if (offset_ >= static_cast<std::size_t>(front.size())) {
            queue_.pop_front();
            offset_ = 0;
        }
    }
    if (done > 0) return done;
    return finished_ ? 0 : kNoDataYet;
}

bool PushSource::append(const qint16* samples, std::size_t frames) {
    if (frames == 0) return true;
    QByteArray block(
        reinterpret_cast<const char*>(samples),
        static_cast<qsizetype>(frames * sizeof(qint16) * static_cast<std::size_t>(channels_)));
    std::lock_guard lock(mutex_);
    if (finished_) return false;
    queue_.push_back(std::move(block));
    appended_ += static_cast<qint64>(frames);
    return true;
}

void PushSource::finish() {
    std::lock_guard lock(mutex_);
    finished_ = true;
}

qint64 PushSource::appendedFrames() const {
    std::lock_guard lock(mutex_);
    return appended_;
}

}  // namespace platform::audio
