#include "platform/speech/pacedoutput.h"

#include "platform/clock/clock.h"

#include <algorithm>

namespace platform {

namespace {
// A waiting speaker looks at least this often whether its sound was dropped (purge).
constexpr qint64 kWaitStepMs = 100;
}  // namespace

PacedSpeechOutput::PacedSpeechOutput(Clock& clock) : clock_(clock) {}

qint64 PacedSpeechOutput::durationMs(size_t samples) {
    return static_cast<qint64>((samples * 1000 + kSpeechSampleRate - 1) / kSpeechSampleRate);
}

void PacedSpeechOutput::queued(uint64_t id) {
    std::lock_guard lk(mutex_);
    requested_[id] = clock_.tickMs();
}

void PacedSpeechOutput::begin(uint64_t id) {
    std::lock_guard lk(mutex_);
    const qint64 now = clock_.tickMs();
    auto it = requested_.find(id);
    // Synthesis costs no time: the sound starts when it was asked for, unless the device is
    // still busy with earlier sound.
    const qint64 requested = it != requested_.end() ? it->second : now;
    if (it != requested_.end()) requested_.erase(it);
    current_ = id;
    currentStart_ = std::max(requested, busyUntil_);
    currentSamples_ = 0;
    cutAt_ = -1;
}

void PacedSpeechOutput::write(const int16_t*, size_t count) {
    std::lock_guard lk(mutex_);
    currentSamples_ += count;
}

void PacedSpeechOutput::end(uint64_t id) {
    std::lock_guard lk(mutex_);
    const qint64 now = clock_.tickMs();
    Span span{currentStart_, currentStart_ + durationMs(currentSamples_)};
    if (cutAt_ >= 0) span.end = std::clamp(cutAt_, span.start, span.end);
    current_ = 0;
    busyUntil_ = std::max(busyUntil_, span.end);
    // Forget what has been played long ago: an unknown id counts as played.
    for (auto it = spans_.begin(); it != spans_.end();)
        it = it->second.end < now ? spans_.erase(it) : std::next(it);
    spans_[id] = span;
}

void PacedSpeechOutput::discard(uint64_t fromId) {
    std::lock_guard lk(mutex_);
    const qint64 now = clock_.tickMs();
    qint64 busy = 0;
    for (auto& [id, span] : spans_) {
        if (id >= fromId) {
            span.start = std::min(span.start, now);
            span.end = std::min(span.end, now);
        }
        busy = std::max(busy, span.end);
    }
    busyUntil_ = std::min(busyUntil_, std::max(busy, now));
    if (current_ != 0 && current_ >= fromId) cutAt_ = now;
    requested_.erase(requested_.lower_bound(fromId), requested_.end());
}

bool PacedSpeechOutput::waitPlayed(uint64_t id, int timeoutMs) {
    const qint64 deadline = timeoutMs < 0 ? -1 : clock_.tickMs() + timeoutMs;
    for (;;) {
        qint64 remaining = 0;
        const qint64 now = clock_.tickMs();
        {
            std::lock_guard lk(mutex_);
            auto it = spans_.find(id);
            if (it == spans_.end()) return true;
            remaining = it->second.end - now;
            if (remaining <= 0) {
                spans_.erase(it);
                return true;
            }
        }
        if (deadline >= 0) {
            if (now >= deadline) return false;
            remaining = std::min(remaining, deadline - now);
        }
        clock_.sleepFor(static_cast<int>(std::min(remaining, kWaitStepMs)));
    }
}

qint64 PacedSpeechOutput::busyUntil() const {
    std::lock_guard lk(mutex_);
    return busyUntil_;
}

}  // namespace platform
