#include "platform/audio/stream.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace platform::audio {

Stream::Stream(std::unique_ptr<Source> source, const SourceFormat& format, int ringBlocks)
    : rate(format.rate),
      channels(format.channels),
      frames(format.frames),
      source_(std::move(source)),
      mask_(std::bit_ceil(static_cast<quint32>(std::max(ringBlocks, 2))) - 1) {
    if (source_->isPush()) push_ = static_cast<PushSource*>(source_.get());
    blocks_.resize(mask_ + 1);
    samples_.resize(static_cast<std::size_t>(mask_ + 1) * kBlockFrames *
                    static_cast<std::size_t>(channels));
}

PlayState Stream::state() const {
    return stateOf(control_.load(std::memory_order_acquire));
}

bool Stream::ended() const {
    return endedGen_.load(std::memory_order_acquire) ==
           genOf(control_.load(std::memory_order_acquire));
}

bool Stream::play() {
    if (ended()) {
        if (push_) return false;
        if (!seek(0)) return false;
    }
    quint64 w = control_.load(std::memory_order_acquire);
    while (!control_.compare_exchange_weak(w, word(genOf(w), PlayState::Playing))) {
    }
    return true;
}

void Stream::halt(PlayState to) {
    quint64 w = control_.load(std::memory_order_acquire);
    while (stateOf(w) != to && !control_.compare_exchange_weak(w, word(genOf(w), to))) {
    }
}

bool Stream::seek(qint64 frame) {
    if (push_ || frame < 0 || frame > frames) return false;
    seekTarget_.store(frame, std::memory_order_release);
    quint64 w = control_.load(std::memory_order_acquire);
    while (!control_.compare_exchange_weak(w, word(genOf(w) + 1, stateOf(w)))) {
    }
    return true;
}

qint64 Stream::position() const {
    quint32 gen = genOf(control_.load(std::memory_order_acquire));
    if (posGen_.load(std::memory_order_acquire) != gen)
        return seekTarget_.load(std::memory_order_acquire);
    return pos_.load(std::memory_order_acquire);
}

bool Stream::decodeAhead(int maxQueued, int maxNew) {
    const quint32 gen = genOf(control_.load(std::memory_order_acquire));
    if (gen != decGen_) {
        const qint64 target = seekTarget_.load(std::memory_order_acquire);
        decGen_ = gen;
        eofSent_ = false;
        // A source that cannot seek there (deleted or damaged file) simply ends.
        cursor_ = source_->seek(target) ? target : frames;
    }
    if (eofSent_) return false;
    const quint32 limit = static_cast<quint32>(std::clamp(maxQueued, 1, capacity()));
    bool produced = false;
    for (int n = 0; n < maxNew; ++n) {
        const quint32 w = write_.load(std::memory_order_relaxed);
        if (w - read_.load(std::memory_order_acquire) >= limit) break;
        Block& b = blocks_[w & mask_];
        float* dst =
            samples_.data() + static_cast<std::size_t>(w & mask_) * kBlockFrames * channels;
        long got = source_->read(dst, kBlockFrames);
        if (got == Source::kNoDataYet) break;
        if (!push_ && cursor_ >= frames) got = 0;  // never past the nominal length
        if (!push_) got = static_cast<long>(std::min<qint64>(got, frames - cursor_));
        b.gen = gen;
        b.start = cursor_;
        b.frames = static_cast<int>(got);
        b.eof = got == 0;
        cursor_ += got;
        write_.store(w + 1, std::memory_order_release);
        produced = true;
        if (b.eof) {
            eofSent_ = true;
            break;
        }
    }
    return produced;
}

bool Stream::hasQueuedAudio() const {
    const quint32 r = read_.load(std::memory_order_acquire);
    if (r == write_.load(std::memory_order_acquire)) return false;
    const Block& b = blocks_[r & mask_];
    return !b.eof && b.frames > 0;
}

Stream::Fetch Stream::fetch(float* frame) {
    const quint32 gen = genOf(control_.load(std::memory_order_acquire));
    for (;;) {
        const quint32 r = read_.load(std::memory_order_relaxed);
        if (r == write_.load(std::memory_order_acquire)) return kNoData;
        const Block& b = blocks_[r & mask_];
        if (b.gen != gen || (!b.eof && readOffset_ >= b.frames)) {
            readOffset_ = 0;
            read_.store(r + 1, std::memory_order_release);
            continue;
        }
        if (b.eof) {
            readOffset_ = 0;
            read_.store(r + 1, std::memory_order_release);
            finishAt(gen);
            return kEnd;
        }
        const float* src =
            samples_.data() +
            (static_cast<std::size_t>(r & mask_) * kBlockFrames + readOffset_) * channels;
        std::memcpy(frame, src, sizeof(float) * static_cast<std::size_t>(channels));
        ++readOffset_;
        consumed_ = b.start + readOffset_;
        consumedGen_ = gen;
        if (readOffset_ >= b.frames) {
            readOffset_ = 0;
            read_.store(r + 1, std::memory_order_release);
        }
        return kFrame;
    }
}

void Stream::dropStale() {
    const quint32 gen = genOf(control_.load(std::memory_order_acquire));
    for (;;) {
        const quint32 r = read_.load(std::memory_order_relaxed);
        if (r == write_.load(std::memory_order_acquire) || blocks_[r & mask_].gen == gen) return;
        readOffset_ = 0;
        read_.store(r + 1, std::memory_order_release);
    }
}

void Stream::finishAt(quint32 gen) {
    // A file that ends early (truncated, or cut short on disk) still reports its whole length,
    // so the caller's "position reached the length" test sees the end.
    consumed_ = push_ ? consumed_ : std::max(consumed_, frames);
    consumedGen_ = gen;
    endedGen_.store(gen, std::memory_order_release);
    quint64 expected = word(gen, PlayState::Playing);
    control_.compare_exchange_strong(expected, word(gen, PlayState::Stopped));
}

namespace {

inline void addFrame(float* out, const float* f, int channels, float vol) {
    float l = f[0], r = f[0];
    if (channels >= 2) r = f[1];
    if (channels >= 3) {  // fold the centre into both sides, drop the rest
        l += 0.7071f * f[2];
        r += 0.7071f * f[2];
    }
    out[0] += l * vol;
    out[1] += r * vol;
}

}  // namespace

void Stream::mixInto(float* out, int n, int outRate) {
    const quint32 gen = genOf(control_.load(std::memory_order_acquire));
    if (gen != mixGen_) {  // after a seek the interpolation starts afresh
        mixGen_ = gen;
        filled_ = 0;
        frac_ = 0;
    }
    const float vol = volume_.load(std::memory_order_relaxed);
    float f[kMaxChannels];
    if (rate == outRate) {
        for (int i = 0; i < n; ++i) {
            if (fetch(f) != kFrame) break;
            addFrame(out + 2 * i, f, channels, vol);
        }
    } else {
        // Linear interpolation between source frames a_ and b_; frac_ is the distance from a_.
        const double step = double(rate) / outRate;
        const std::size_t bytes = sizeof(float) * static_cast<std::size_t>(channels);
        for (int i = 0; i < n; ++i) {
            bool ready = true;
            while (ready && (filled_ < 2 || frac_ >= 1.0)) {
                if (filled_ == 2) {
                    std::memcpy(a_, b_, bytes);
                    filled_ = 1;
                    frac_ -= 1.0;
                } else {
                    ready = fetch(filled_ == 0 ? a_ : b_) == kFrame;
                    if (ready) ++filled_;
                }
            }
            if (!ready) break;
            const float t = static_cast<float>(frac_);
            for (int c = 0; c < channels; ++c) f[c] = a_[c] + (b_[c] - a_[c]) * t;
            addFrame(out + 2 * i, f, channels, vol);
            frac_ += step;
        }
    }
    if (consumedGen_ == gen) {
        pos_.store(consumed_, std::memory_order_release);
        posGen_.store(gen, std::memory_order_release);
    }
}

}  // namespace platform::audio
