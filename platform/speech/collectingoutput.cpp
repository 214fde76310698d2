#include "platform/speech/collectingoutput.h"

namespace platform {

void CollectingSpeechOutput::begin(uint64_t id) {
    std::lock_guard lk(mutex_);
    if (open_) ++orderErrors_;
    open_ = true;
    utterances_.push_back({id, {}, false, false});
}

void CollectingSpeechOutput::write(const int16_t* samples, size_t count) {
    std::lock_guard lk(mutex_);
    if (!open_) {
        ++orderErrors_;
        return;
    }
    auto& s = utterances_.back().samples;
    s.insert(s.end(), samples, samples + count);
}

void CollectingSpeechOutput::end(uint64_t id) {
    std::lock_guard lk(mutex_);
    if (!open_ || utterances_.back().id != id) ++orderErrors_;
    open_ = false;
    if (!utterances_.empty()) utterances_.back().ended = true;
}

void CollectingSpeechOutput::discard(uint64_t fromId) {
    std::lock_guard lk(mutex_);
    for (auto& u : utterances_)
        if (u.id >= fromId) u.discarded = true;
}

std::vector<CollectingSpeechOutput::Utterance> CollectingSpeechOutput::utterances() const {
    std::lock_guard lk(mutex_);
    return utterances_;
}

size_t CollectingSpeechOutput::totalSamples() const {
    std::lock_guard lk(mutex_);
    size_t n = 0;
    for (const auto& u : utterances_) n += u.samples.size();
    return n;
}

bool CollectingSpeechOutput::open() const {
    std::lock_guard lk(mutex_);
    return open_;
}

int CollectingSpeechOutput::orderErrors() const {
    std::lock_guard lk(mutex_);
    return orderErrors_;
}

void CollectingSpeechOutput::clear() {
    std::lock_guard lk(mutex_);
    utterances_.clear();
    orderErrors_ = 0;
}

}  // namespace platform
