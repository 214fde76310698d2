#include "speaker/core/speechaudio.h"

#include "platform/clock/clock.h"

#include <chrono>

namespace core {

AudioSpeechOutput::AudioSpeechOutput(platform::AudioEngine& audio, platform::Clock& clock)
    : audio_(audio), clock_(clock) {}

AudioSpeechOutput::~AudioSpeechOutput() {
    std::lock_guard lk(mutex_);
    for (auto& [id, u] : utterances_) {
        releaseHold(u);
        if (u.stream) audio_.release(u.stream);
    }
}

void AudioSpeechOutput::releaseHold(Utterance& u) {
    if (!u.held) return;
    u.held = false;
    clock_.release();
}

void AudioSpeechOutput::queued(uint64_t id) {
    std::lock_guard lk(mutex_);
    Utterance& u = utterances_[id];
    if (!u.held) {
        u.held = true;
        clock_.hold();
    }
}

void AudioSpeechOutput::begin(uint64_t id) {
    std::lock_guard lk(mutex_);
    current_ = id;
    Utterance& u = utterances_[id];
    if (u.dropped) return;
    u.stream = audio_.openPush(platform::kSpeechSampleRate, 1);
    if (u.stream) audio_.play(u.stream);
}

void AudioSpeechOutput::write(const int16_t* samples, size_t count) {
    platform::AudioHandle stream = 0;
    {
        std::lock_guard lk(mutex_);
        auto it = utterances_.find(current_);
        if (it == utterances_.end() || it->second.dropped) return;
        stream = it->second.stream;
    }
    if (stream) audio_.appendPush(stream, samples, count);
}

void AudioSpeechOutput::end(uint64_t id) {
    std::lock_guard lk(mutex_);
    auto it = utterances_.find(id);
    if (it == utterances_.end()) return;
    Utterance& u = it->second;
    if (u.stream) audio_.finishPush(u.stream);
    u.synthesized = true;
    releaseHold(u);
    cv_.notify_all();
}

void AudioSpeechOutput::discard(uint64_t fromId) {
    std::lock_guard lk(mutex_);
    for (auto& [id, u] : utterances_) {
        if (id < fromId) continue;
        u.dropped = true;
        releaseHold(u);
        if (u.stream) {
            audio_.release(u.stream);
            u.stream = 0;
        }
    }
    cv_.notify_all();
}

bool AudioSpeechOutput::waitPlayed(uint64_t id, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    platform::AudioHandle stream = 0;
    {
        // Synthesis takes real time but no virtual time: wait for it without the clock.
        std::unique_lock lk(mutex_);
        auto ready = [&] {
            auto it = utterances_.find(id);
            return it == utterances_.end() || it->second.synthesized || it->second.dropped;
        };
        if (timeoutMs < 0) {
            cv_.wait(lk, ready);
        } else if (!cv_.wait_until(lk, deadline, ready)) {
            return false;
        }
        auto it = utterances_.find(id);
        if (it == utterances_.end() || it->second.dropped) {
            if (it != utterances_.end()) utterances_.erase(it);
            return true;
        }
        stream = it->second.stream;
    }
    // Then the sound plays out on the clock.
    auto played = [&] {
        std::lock_guard lk(mutex_);
        auto it = utterances_.find(id);
        return it == utterances_.end() || it->second.dropped || !it->second.stream ||
               audio_.state(stream) == platform::AudioEngine::State::Stopped;
    };
    bool done = true;
    if (timeoutMs < 0) {
        while (!clock_.waitFor(60000, played)) {
        }
    } else {
        done = clock_.waitFor(timeoutMs, played);  // the time of the clock the sound plays on
    }
    if (done) {
        std::lock_guard lk(mutex_);
        auto it = utterances_.find(id);
        if (it != utterances_.end()) {
            if (it->second.stream) audio_.release(it->second.stream);
            utterances_.erase(it);
        }
    }
    return done;
}

}  // namespace core
