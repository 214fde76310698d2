#include "platform/audio/mixer.h"

#include <algorithm>

namespace platform::audio {

bool Mixer::add(Stream* stream) {
    for (auto& slot : slots_) {
        Stream* empty = nullptr;
        if (slot.compare_exchange_strong(empty, stream)) return true;
    }
    return false;
}

quint64 Mixer::remove(Stream* stream) {
    for (auto& slot : slots_) {
        Stream* s = stream;
        if (slot.compare_exchange_strong(s, nullptr)) break;
    }
    return epoch_.load();
}

bool Mixer::safeAfter(quint64 epoch) const {
    // Removed outside a mix (even), or the mix that might have seen it has finished.
    return epoch % 2 == 0 || epoch_.load() > epoch;
}

void Mixer::mix(float* out, int frames, int rate) {
    epoch_.fetch_add(1);
    std::fill(out, out + 2 * static_cast<std::ptrdiff_t>(frames), 0.0f);
    for (auto& slot : slots_) {
        Stream* s = slot.load();
        if (s && s->state() == PlayState::Playing) s->mixInto(out, frames, rate);
    }
    epoch_.fetch_add(1);
}

bool Mixer::anyPlaying() const {
    return std::any_of(slots_.begin(), slots_.end(), [](const auto& slot) {
        Stream* s = slot.load();
        return s && s->state() == PlayState::Playing;
    });
}

void Mixer::decodePlaying() {
    for (auto& slot : slots_) {
        Stream* s = slot.load();
        if (s && s->state() == PlayState::Playing) {
            s->dropStale();
            s->decodeAhead(s->capacity());
        }
    }
}

}  // namespace platform::audio
