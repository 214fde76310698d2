#include "platform/speech/speechengine.h"

#include "platform/speech/espeaklibrary.h"
#include "platform/speech/speechrate.h"
#include "platform/speech/voicelist.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <thread>

namespace platform {

using speech_detail::EspeakLibrary;

namespace {

const std::vector<Voice>& installedVoices() {
    // Probing speaks a little with every installed voice; the installed voices do not change
    // while the program runs, so it is done once.
    static const std::vector<Voice> voices =
        speech_detail::workingVoices(EspeakLibrary::instance());
    return voices;
}

// espeak-ng counts positions in characters from 1; the program counts QString units from 0.
std::vector<int> characterStarts(const QString& text) {
    std::vector<int> starts;
    starts.reserve(static_cast<size_t>(text.size()) + 1);
    for (int i = 0; i < text.size(); ++i) {
        starts.push_back(i);
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    }
    starts.push_back(static_cast<int>(text.size()));
    return starts;
}

}  // namespace

struct Job {
    uint64_t id = 0;
    bool sync = false;
    QByteArray utf8;
    std::vector<int> starts;
    std::string voiceId;
    int wpm = kNormalWordsPerMinute;
    int volume = SpeechEngine::kDefaultVolume;
    std::shared_ptr<SpeechOutput> output;
    std::shared_ptr<const SpeechEngine::EventHandler> handler;

    // Held while sound is written, and while the job is cancelled: once cancel() returns,
    // nothing more of this job reaches the output.
    std::mutex writeMutex;
    std::atomic<bool> cancelled{false};
    // Guarded by the engine's mutex.
    bool done = false;
    bool completed = false;

    void cancel() {
        std::lock_guard lk(writeMutex);
        cancelled = true;
    }
    int position(int espeakPosition) const {
        const int i = std::clamp(espeakPosition - 1, 0, static_cast<int>(starts.size()) - 1);
        return starts[static_cast<size_t>(i)];
    }
};

struct SpeechEngine::Impl {
    EspeakLibrary& library = EspeakLibrary::instance();
    std::shared_ptr<SpeechOutput> defaultOutput;

    mutable std::mutex mutex;
    std::condition_variable wake;      // the engine's thread: work or stop
    std::condition_variable finished;  // speakers: a job is done or the queue ran empty
    std::shared_ptr<SpeechOutput> output;
    int voiceIndex = 0;
    int rate = kDefaultRate;
    int volume = kDefaultVolume;
    std::shared_ptr<const EventHandler> handler;
    std::deque<std::shared_ptr<Job>> queue;
    std::shared_ptr<Job> running;
    std::vector<std::shared_ptr<Job>> speakers;  // synchronous jobs until speak() returns
    std::shared_ptr<Job> last;
    uint64_t nextId = 1;
    bool stopping = false;
    std::thread thread;

    std::shared_ptr<Job> enqueueLocked(const QString& text, bool sync);
    void run();
    void synthesize(Job& job);
    void report(const Job& job, const espeak_EVENT* ev) const;
    static void finishLocked(Job& job) {
        job.cancel();
        job.done = true;
    }
};

std::shared_ptr<Job> SpeechEngine::Impl::enqueueLocked(const QString& text, bool sync) {
    auto job = std::make_shared<Job>();
    job->id = nextId++;
    job->sync = sync;
    QString clean = text;
    clean.replace(QChar(0), QLatin1Char(' '));  // espeak-ng would stop at a NUL
    job->utf8 = clean.toUtf8();
    job->starts = characterStarts(clean);
    const auto& list = installedVoices();
    if (voiceIndex >= 0 && static_cast<size_t>(voiceIndex) < list.size())
        job->voiceId = list[static_cast<size_t>(voiceIndex)].id.toStdString();
    job->wpm = wordsPerMinute(rate);
    job->volume = volume;
    job->output = output;
    job->handler = handler;
    job->output->queued(job->id);
    queue.push_back(job);
    last = job;
    wake.notify_one();
    return job;
}

void SpeechEngine::Impl::run() {
    std::unique_lock lk(mutex);
    for (;;) {
        wake.wait(lk, [&] { return stopping || !queue.empty(); });
        if (stopping) return;
        auto job = queue.front();
        queue.pop_front();
        running = job;
        lk.unlock();
        synthesize(*job);
        lk.lock();
        running.reset();
        job->done = true;
        finished.notify_all();
    }
}

void SpeechEngine::Impl::report(const Job& job, const espeak_EVENT* ev) const {
    if (!job.handler || !*job.handler) return;
    for (; ev && ev->type != espeakEVENT_LIST_TERMINATED; ++ev) {
        SpeechEvent e;
        e.utterance = job.id;
        if (ev->type == espeakEVENT_WORD) {
            // After some texts espeak-ng adds an empty word at position 0: not a word.
            if (ev->text_position < 1 || ev->length < 1) continue;
            e.type = SpeechEvent::Type::Word;
            e.position = job.position(ev->text_position);
            e.length = job.position(ev->text_position + ev->length) - e.position;
        } else if (ev->type == espeakEVENT_SENTENCE) {
            e.type = SpeechEvent::Type::Sentence;
            e.position = job.position(ev->text_position);
        } else {
            continue;
        }
        e.audioMs = ev->audio_position;
        (*job.handler)(e);
    }
}

void SpeechEngine::Impl::synthesize(Job& job) {
    bool began = false;
    {
        std::lock_guard lk(job.writeMutex);
        if (!job.cancelled) {
            job.output->begin(job.id);
            began = true;
        }
    }
    auto result = EspeakLibrary::Result::Stopped;
    if (began) {
        std::vector<int16_t> scaled;
        result = library.synthesize(
            job.voiceId, job.wpm, job.utf8,
            [&](const int16_t* samples, size_t count, const espeak_EVENT* ev) {
                report(job, ev);
                // Volume is applied here rather than in espeak-ng: exact, linear, and 0 is
                // true silence.
                const int16_t* sound = samples;
                if (job.volume < 100) {
                    scaled.resize(count);
                    for (size_t i = 0; i < count; ++i)
                        scaled[i] = static_cast<int16_t>(samples[i] * job.volume / 100);
                    sound = scaled.data();
                }
                std::lock_guard lk(job.writeMutex);
                if (job.cancelled) return false;
                if (count > 0) job.output->write(sound, count);
                return true;
            });
        job.output->end(job.id);
    }
    const bool completed = result == EspeakLibrary::Result::Completed && !job.cancelled;
    {
        std::lock_guard lk(mutex);
        job.completed = completed;
    }
    if (job.handler && *job.handler) {
        SpeechEvent e;
        e.type = SpeechEvent::Type::End;
        e.utterance = job.id;
        e.completed = completed;
        (*job.handler)(e);
    }
}

SpeechEngine::SpeechEngine(std::shared_ptr<SpeechOutput> output) : d_(std::make_unique<Impl>()) {
    d_->defaultOutput = output ? std::move(output) : std::make_shared<NullSpeechOutput>();
    d_->output = d_->defaultOutput;
    if (d_->library.ok()) installedVoices();  // probe now rather than on the first speak
    d_->thread = std::thread([this] { d_->run(); });
}

SpeechEngine::~SpeechEngine() {
    {
        std::lock_guard lk(d_->mutex);
        d_->stopping = true;
        for (auto& job : d_->queue) Impl::finishLocked(*job);
        d_->queue.clear();
        if (d_->running) d_->running->cancel();
        d_->wake.notify_all();
        d_->finished.notify_all();
    }
    d_->thread.join();
}

bool SpeechEngine::available() const {
    return d_->library.ok();
}

QString SpeechEngine::errorText() const {
    return d_->library.errorText();
}

const std::vector<Voice>& SpeechEngine::voices() const {
    static const std::vector<Voice> none;
    return d_->library.ok() ? installedVoices() : none;
}

bool SpeechEngine::selectVoice(int index) {
    if (index < 0 || static_cast<size_t>(index) >= voices().size()) return false;
    std::lock_guard lk(d_->mutex);
    d_->voiceIndex = index;
    return true;
}

int SpeechEngine::voiceIndex() const {
    std::lock_guard lk(d_->mutex);
    return d_->voiceIndex;
}

void SpeechEngine::setRate(int rate) {
    std::lock_guard lk(d_->mutex);
    d_->rate = std::clamp(rate, kMinSpeechRate, kMaxSpeechRate);
}

int SpeechEngine::rate() const {
    std::lock_guard lk(d_->mutex);
    return d_->rate;
}

void SpeechEngine::setVolume(int volume) {
    std::lock_guard lk(d_->mutex);
    d_->volume = std::clamp(volume, 0, 100);
}

int SpeechEngine::volume() const {
    std::lock_guard lk(d_->mutex);
    return d_->volume;
}

bool SpeechEngine::speak(const QString& text) {
    purge();
    if (text.trimmed().isEmpty()) return true;
    if (!available()) return false;
    std::shared_ptr<Job> job;
    {
        std::unique_lock lk(d_->mutex);
        job = d_->enqueueLocked(text, true);
        d_->speakers.push_back(job);
        d_->finished.wait(lk, [&] { return job->done; });
    }
    // Played on this thread: on the virtual clock the speaker's wait is virtual time.
    bool ok = job->completed && job->output->waitPlayed(job->id, -1);
    std::lock_guard lk(d_->mutex);
    std::erase(d_->speakers, job);
    return ok && !job->cancelled;
}

uint64_t SpeechEngine::speakAsync(const QString& text) {
    if (text.trimmed().isEmpty() || !available()) return 0;
    std::lock_guard lk(d_->mutex);
    return d_->enqueueLocked(text, false)->id;
}

void SpeechEngine::purge() {
    std::lock_guard lk(d_->mutex);
    std::set<SpeechOutput*> outputs{d_->output.get()};
    for (auto& job : d_->queue) {
        Impl::finishLocked(*job);
        outputs.insert(job->output.get());
    }
    d_->queue.clear();
    for (auto& job : d_->speakers) {
        job->cancel();
        outputs.insert(job->output.get());
    }
    if (d_->running) {
        d_->running->cancel();
        outputs.insert(d_->running->output.get());
    }
    // Under the engine's lock, so that speech queued by another thread meanwhile is not lost.
    for (SpeechOutput* out : outputs) out->discard(0);
    d_->finished.notify_all();
}

bool SpeechEngine::waitUntilDone(int timeoutMs) {
    std::shared_ptr<Job> last;
    const auto start = std::chrono::steady_clock::now();
    {
        std::unique_lock lk(d_->mutex);
        const auto idle = [&] { return d_->queue.empty() && !d_->running; };
        if (timeoutMs < 0)
            d_->finished.wait(lk, idle);
        else if (!d_->finished.wait_for(lk, std::chrono::milliseconds(timeoutMs), idle))
            return false;
        last = d_->last;
    }
    if (!last) return true;
    int left = -1;
    if (timeoutMs >= 0) {
        const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        left = std::max(0, timeoutMs - static_cast<int>(spent.count()));
    }
    return last->output->waitPlayed(last->id, left);
}

bool SpeechEngine::isBusy() const {
    std::lock_guard lk(d_->mutex);
    return !d_->queue.empty() || d_->running != nullptr;
}

void SpeechEngine::setOutput(std::shared_ptr<SpeechOutput> output) {
    std::lock_guard lk(d_->mutex);
    d_->output = output ? std::move(output) : d_->defaultOutput;
}

std::shared_ptr<SpeechOutput> SpeechEngine::output() const {
    std::lock_guard lk(d_->mutex);
    return d_->output;
}

void SpeechEngine::reset() {
    std::lock_guard lk(d_->mutex);
    // A synchronous speak under way belongs to a reading that is spoken to its end; every
    // utterance after it is asynchronous (its purge discarded those before it).
    uint64_t keepUpTo = 0;
    for (const auto& job : d_->speakers)
        if (!job->cancelled) keepUpTo = std::max(keepUpTo, job->id);
    std::set<SpeechOutput*> outputs{d_->output.get()};
    std::deque<std::shared_ptr<Job>> kept;
    for (auto& job : d_->queue) {
        if (job->sync) {
            kept.push_back(job);
            continue;
        }
        Impl::finishLocked(*job);
        outputs.insert(job->output.get());
    }
    d_->queue.swap(kept);
    if (d_->running && !d_->running->sync) {
        d_->running->cancel();
        outputs.insert(d_->running->output.get());
    }
    for (SpeechOutput* out : outputs) out->discard(keepUpTo == 0 ? 0 : keepUpTo + 1);
    d_->finished.notify_all();

    d_->voiceIndex = 0;
    d_->rate = kDefaultRate;
    d_->volume = kDefaultVolume;
    d_->output = d_->defaultOutput;
}

void SpeechEngine::setEventHandler(EventHandler handler) {
    std::lock_guard lk(d_->mutex);
    d_->handler = handler ? std::make_shared<const EventHandler>(std::move(handler)) : nullptr;
}

}  // namespace platform
