#include "platform/audio/enginecore.h"

#include <algorithm>
#include <cmath>

namespace platform::audio {

AudioHandle EngineCore::openFile(const QString& path) {
    sync();
    if (!outputAvailable()) return 0;
    SourceFormat format;
    auto source = openSoundFile(path, format);
    return source ? add(std::move(source), format) : 0;
}

AudioHandle EngineCore::openMemory(const QByteArray& file) {
    sync();
    if (!outputAvailable()) return 0;
    SourceFormat format;
    auto source = openSoundMemory(file, format);
    return source ? add(std::move(source), format) : 0;
}

AudioHandle EngineCore::openPush(int rate, int channels) {
    sync();
    if (!outputAvailable() || rate < 1 || rate > 384000 || channels < 1 || channels > kMaxChannels)
        return 0;
    return add(std::make_unique<PushSource>(channels), SourceFormat{rate, channels, 0});
}

AudioHandle EngineCore::add(std::unique_ptr<Source> source, const SourceFormat& format) {
    const bool push = source->isPush();
    auto stream = std::make_shared<Stream>(std::move(source), format, kRingBlocks);
    // A file counts as playable only when its first block decodes to real samples; this also
    // primes the stream so that it starts at once.
    if (!push && (!stream->decodeAhead(1) || !stream->hasQueuedAudio())) return 0;
    std::lock_guard lock(mutex_);
    if (!mixer_.add(stream.get())) return 0;
    while (next_ < kFirstHandle || streams_.contains(next_)) ++next_;
    const AudioHandle h = next_++;
    streams_.emplace(h, std::move(stream));
    return h;
}

std::shared_ptr<Stream> EngineCore::find(AudioHandle h) const {
    if (h < kFirstHandle) return nullptr;
    std::lock_guard lock(mutex_);
    auto it = streams_.find(h);
    return it == streams_.end() ? nullptr : it->second;
}

bool EngineCore::appendPush(AudioHandle h, const qint16* samples, std::size_t frames) {
    sync();
    auto s = find(h);
    if (!s || !s->push() || (frames > 0 && !samples)) return false;
    const bool ok = s->push()->append(samples, frames);
    wake();
    return ok;
}

bool EngineCore::finishPush(AudioHandle h) {
    sync();
    auto s = find(h);
    if (!s || !s->push()) return false;
    s->push()->finish();
    wake();
    return true;
}

bool EngineCore::release(AudioHandle h) {
    sync();
    if (h < kFirstHandle) return false;
    std::lock_guard lock(mutex_);
    auto it = streams_.find(h);
    if (it == streams_.end()) return false;
    it->second->halt(PlayState::Stopped);
    const quint64 epoch = mixer_.remove(it->second.get());
    retired_.emplace_back(std::move(it->second), epoch);
    streams_.erase(it);
    return true;
}

void EngineCore::releaseAll() {
    std::vector<AudioHandle> handles;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [h, s] : streams_) handles.push_back(h);
    }
    for (AudioHandle h : handles) release(h);
}

bool EngineCore::play(AudioHandle h) {
    sync();
    auto s = find(h);
    if (!s) return false;
    bool ok;
    {
        std::lock_guard lock(mutex_);
        ok = s->play();
    }
    wake();
    return ok;
}

bool EngineCore::stop(AudioHandle h) {
    sync();
    auto s = find(h);
    if (!s) return false;
    std::lock_guard lock(mutex_);
    s->halt(PlayState::Stopped);
    return true;
}

bool EngineCore::pause(AudioHandle h) {
    sync();
    auto s = find(h);
    if (!s) return false;
    std::lock_guard lock(mutex_);
    // Only a playing stream pauses; a stopped or ended one stays stopped.
    if (s->state() == PlayState::Playing) s->halt(PlayState::Paused);
    return true;
}

AudioEngine::State EngineCore::state(AudioHandle h) const {
    sync();
    auto s = find(h);
    if (!s) return State::Stopped;
    switch (s->state()) {
        case PlayState::Playing:
            return State::Playing;
        case PlayState::Paused:
            return State::Paused;
        case PlayState::Stopped:
            break;
    }
    return State::Stopped;
}

bool EngineCore::setVolume(AudioHandle h, float volume) {
    sync();
    auto s = find(h);
    if (!s || std::isnan(volume)) return false;
    s->setVolume(std::clamp(volume, 0.0f, 1.0f));
    return true;
}

float EngineCore::volume(AudioHandle h) const {
    sync();
    auto s = find(h);
    return s ? s->volume() : -1.0f;
}

qint64 EngineCore::length(AudioHandle h) const {
    sync();
    auto s = find(h);
    if (!s) return -1;
    return (s->push() ? s->push()->appendedFrames() : s->frames) * frameBytes(*s);
}

qint64 EngineCore::position(AudioHandle h) const {
    sync();
    auto s = find(h);
    return s ? s->position() * frameBytes(*s) : -1;
}

bool EngineCore::setPosition(AudioHandle h, qint64 bytes) {
    sync();
    auto s = find(h);
    if (!s || bytes < 0) return false;
    bool ok;
    {
        std::lock_guard lock(mutex_);
        ok = s->seek(bytes / frameBytes(*s));
    }
    wake();
    return ok;
}

double EngineCore::bytesToSeconds(AudioHandle h, qint64 bytes) const {
    auto s = find(h);
    if (!s) return -1.0;
    return double(bytes) / (double(s->rate) * double(frameBytes(*s)));
}

qint64 EngineCore::secondsToBytes(AudioHandle h, double seconds) const {
    auto s = find(h);
    if (!s || std::isnan(seconds)) return -1;
    const double frames = std::floor(std::max(seconds, 0.0) * s->rate);
    return static_cast<qint64>(std::min(frames, 9.0e15)) * frameBytes(*s);
}

std::vector<std::shared_ptr<Stream>> EngineCore::snapshot() const {
    reap();
    std::lock_guard lock(mutex_);
    std::vector<std::shared_ptr<Stream>> out;
    out.reserve(streams_.size());
    for (const auto& [h, s] : streams_) out.push_back(s);
    return out;
}

void EngineCore::reap() const {
    std::vector<std::shared_ptr<Stream>> dead;  // destroyed outside the lock
    std::lock_guard lock(mutex_);
    auto keep = std::partition(retired_.begin(), retired_.end(),
                               [&](const auto& r) { return !mixer_.safeAfter(r.second); });
    for (auto it = keep; it != retired_.end(); ++it) dead.push_back(std::move(it->first));
    retired_.erase(keep, retired_.end());
}

// ---- capture inputs ----

void CaptureInputs::setAvailable(std::vector<Input> inputs, const QString& preferredId) {
    std::lock_guard lock(mutex_);
    inputs_ = std::move(inputs);
    known_ = true;
    const bool present = std::any_of(inputs_.begin(), inputs_.end(),
                                     [&](const Input& i) { return i.id == selected_; });
    if (!chosen_ || (!selected_.isEmpty() && !present)) selected_ = preferredId;
}

std::vector<AudioEngine::CaptureInput> CaptureInputs::list() const {
    std::lock_guard lock(mutex_);
    std::vector<AudioEngine::CaptureInput> out;
    for (const Input& i : inputs_) out.push_back({i.name, i.id == selected_});
    return out;
}

bool CaptureInputs::setOn(int index, bool on) {
    std::lock_guard lock(mutex_);
    if (index < 0 || index >= static_cast<int>(inputs_.size())) return false;
    const QString& id = inputs_[static_cast<std::size_t>(index)].id;
    if (on) {
        selected_ = id;
    } else if (selected_ == id) {
        selected_.clear();
    }
    chosen_ = true;
    return true;
}

bool CaptureInputs::setLevel(int index, float level) {
    std::lock_guard lock(mutex_);
    if (index < 0 || index >= static_cast<int>(inputs_.size()) || std::isnan(level)) return false;
    levels_[inputs_[static_cast<std::size_t>(index)].id] = std::clamp(level, 0.0f, 1.0f);
    return true;
}

QString CaptureInputs::selectedId() const {
    std::lock_guard lock(mutex_);
    return selected_;
}

float CaptureInputs::selectedLevel() const {
    std::lock_guard lock(mutex_);
    auto it = levels_.find(selected_);
    return it == levels_.end() ? 1.0f : it->second;
}

bool CaptureInputs::known() const {
    std::lock_guard lock(mutex_);
    return known_;
}

}  // namespace platform::audio
