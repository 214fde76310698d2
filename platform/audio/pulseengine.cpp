// Output and capture through the session's PulseAudio server (PipeWire's pulse server too).
// Everything that talks to the server runs on libpulse's own thread; the calls of the API only
// touch atomics and the stream table, so a lost server never blocks the caller. When the server
// goes away (restart, crash) or our output stream is killed (device removed), the engine
// reconnects by itself every second.

#include "platform/audio/decoder.h"
#include "platform/audio/enginecore.h"

#include <pulse/pulseaudio.h>

#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>

namespace platform {
namespace {

using audio::CaptureInputs;
using audio::Decoder;
using audio::EngineCore;

constexpr int kRetryMs = 1000;
constexpr int kInitWaitMs = 3000;
constexpr AudioHandle kCaptureBase = 0x40000000u;  // apart from stream handles
constexpr std::size_t kCaptureScratchFrames = 8192;

struct LoopDeleter {
    void operator()(pa_threaded_mainloop* m) const {
        pa_threaded_mainloop_stop(m);
        pa_threaded_mainloop_free(m);
    }
};

// Holds the threaded main loop's lock for a scope.
class LoopLock {
public:
    explicit LoopLock(pa_threaded_mainloop* m) : m_(m) { pa_threaded_mainloop_lock(m_); }
    ~LoopLock() { pa_threaded_mainloop_unlock(m_); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

private:
    pa_threaded_mainloop* m_;
};

class PulseEngine final : public EngineCore {
public:
    explicit PulseEngine(Clock&)
        : loop_(pa_threaded_mainloop_new()),
          decoder_([this] { return snapshot(); }),
          scratch_(kCaptureScratchFrames * kMixChannels) {}

    ~PulseEngine() override {
        if (started_) {
            LoopLock lock(loop_.get());
            if (retry_) api()->time_free(retry_);
            retry_ = nullptr;
            closing_ = true;
            dropContext();
        }
        loop_.reset();  // joins the loop thread; the mixer runs no more
        releaseAll();
    }

    bool init() override {
        if (!loop_) return false;
        if (!started_.exchange(true)) {
            if (pa_threaded_mainloop_start(loop_.get()) < 0) return false;
            LoopLock lock(loop_.get());
            connect();
        }
        // Wait for the first answer from the server (connected or refused) and its input list.
        std::unique_lock lock(waitMutex_);
        waitCv_.wait_for(lock, std::chrono::milliseconds(kInitWaitMs),
                         [&] { return (answered_ && !ready_) || (ready_ && inputs_.known()); });
        return ready_;
    }

    bool isReady() const override { return ready_; }

    std::vector<CaptureInput> captureInputs() const override { return inputs_.list(); }

    bool setCaptureInput(int index, bool on) override {
        const bool ok = inputs_.setOn(index, on);
        gain_ = inputs_.selectedLevel();
        return ok;
    }

    bool setCaptureLevel(int index, float level) override {
        const bool ok = inputs_.setLevel(index, level);
        gain_ = inputs_.selectedLevel();
        return ok;
    }

    AudioHandle startCapture(CaptureCallback callback) override {
        const QString source = inputs_.selectedId();
        if (!callback || source.isEmpty() || !ready_ || !started_) return 0;
        LoopLock lock(loop_.get());
        if (captureWanted_) return 0;
        captureWanted_ = true;
        captureSource_ = source.toUtf8();
        callback_ = std::move(callback);
        gain_ = inputs_.selectedLevel();
        captureHandle_ = kCaptureBase + (++captureSeq_ & 0xffffff);
        openCapture();
        return captureHandle_;
    }

    bool stopCapture(AudioHandle h) override {
        if (!started_) return false;
        LoopLock lock(loop_.get());
        if (!captureWanted_ || h != captureHandle_) return false;
        captureWanted_ = false;
        closeCapture();
        callback_ = nullptr;
        return true;
    }

protected:
    bool outputAvailable() const override { return everReady_; }
    void wake() override { decoder_.wake(); }

private:
    pa_mainloop_api* api() const { return pa_threaded_mainloop_get_api(loop_.get()); }

    // ---- everything below runs on the loop thread (or under its lock) ----

    void connect() {
        pa_proplist* props = pa_proplist_new();
        pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, "speaker");
        pa_proplist_sets(props, PA_PROP_MEDIA_ROLE, "music");
        ctx_ = pa_context_new_with_proplist(api(), "speaker", props);
        pa_proplist_free(props);
        if (!ctx_) return scheduleRetry();
        pa_context_set_state_callback(ctx_, &PulseEngine::onContextState, this);
        // No autospawn: the desktop session owns the server.
        if (pa_context_connect(ctx_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
            dropContext();
            answer(false);
            scheduleRetry();
        }
    }

    void dropContext() {
        closeCapture();
        if (out_) {
            pa_stream_set_state_callback(out_, nullptr, nullptr);
            pa_stream_set_write_callback(out_, nullptr, nullptr);
            pa_stream_disconnect(out_);
            pa_stream_unref(out_);
            out_ = nullptr;
        }
        if (ctx_) {
            pa_context_set_state_callback(ctx_, nullptr, nullptr);
            pa_context_set_subscribe_callback(ctx_, nullptr, nullptr);
            pa_context_disconnect(ctx_);
            pa_context_unref(ctx_);
            ctx_ = nullptr;
        }
        ready_ = false;
    }

    void scheduleRetry() {
        if (closing_) return;
        timeval tv;
        pa_timeval_add(pa_gettimeofday(&tv), pa_usec_t(kRetryMs) * PA_USEC_PER_MSEC);
        if (retry_) {
            api()->time_restart(retry_, &tv);
        } else {
            retry_ = api()->time_new(api(), &tv, &PulseEngine::onRetry, this);
        }
    }

    static void onRetry(pa_mainloop_api* a, pa_time_event* e, const timeval*, void* self) {
        auto* me = static_cast<PulseEngine*>(self);
        a->time_free(e);
        me->retry_ = nullptr;
        if (!me->ctx_) {
            me->connect();
        } else if (me->ready_) {
            if (!me->out_) me->openOutput();
            if (me->captureWanted_ && !me->rec_) me->openCapture();
        }
    }

    void answer(bool ready) {
        {
            std::lock_guard lock(waitMutex_);
            ready_ = ready;
            answered_ = true;
            if (ready) everReady_ = true;
        }
        waitCv_.notify_all();
    }

    static void onContextState(pa_context* c, void* self) {
        auto* me = static_cast<PulseEngine*>(self);
        switch (pa_context_get_state(c)) {
            case PA_CONTEXT_READY:
                me->answer(true);
                pa_context_set_subscribe_callback(c, &PulseEngine::onServerEvent, me);
                pa_operation_unref(
                    pa_context_subscribe(c,
                                         pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SOURCE |
                                                                PA_SUBSCRIPTION_MASK_SERVER),
                                         nullptr, nullptr));
                me->refreshInputs();
                me->openOutput();
                if (me->captureWanted_) me->openCapture();
                break;
            case PA_CONTEXT_FAILED:
            case PA_CONTEXT_TERMINATED:
                // Unreferencing the context inside its own callback is not allowed: drop it
                // from the retry timer instead.
                me->ready_ = false;
                me->answer(false);
                me->scheduleDrop();
                break;
            default:
                break;
        }
    }

    void scheduleDrop() {
        if (closing_) return;
        api()->defer_new(
            api(),
            [](pa_mainloop_api* a, pa_defer_event* e, void* self) {
                a->defer_free(e);
                auto* me = static_cast<PulseEngine*>(self);
                me->dropContext();
                me->scheduleRetry();
            },
            this);
    }

    // -- output --

    void openOutput() {
        if (!ctx_ || out_) return;
        const pa_sample_spec spec{PA_SAMPLE_FLOAT32LE, kMixRate, kMixChannels};
        out_ = pa_stream_new(ctx_, "playback", &spec, nullptr);
        if (!out_) return scheduleRetry();
        pa_stream_set_state_callback(out_, &PulseEngine::onOutputState, this);
        pa_stream_set_write_callback(out_, &PulseEngine::onWrite, this);
        // About 250 ms queued at the server: a start is heard that soon, and a busy machine
        // (measured: load 7 on two cores) does not make it stutter.
        const std::uint32_t frameBytes = sizeof(float) * kMixChannels;
        pa_buffer_attr attr{};
        attr.maxlength = std::uint32_t(-1);
        attr.tlength = kMixRate / 4 * frameBytes;
        attr.prebuf = std::uint32_t(-1);
        attr.minreq = kMixRate / 20 * frameBytes;
        attr.fragsize = std::uint32_t(-1);
        if (pa_stream_connect_playback(out_, nullptr, &attr, PA_STREAM_ADJUST_LATENCY, nullptr,
                                       nullptr) < 0) {
            pa_stream_unref(out_);
            out_ = nullptr;
            scheduleRetry();
        }
    }

    static void onOutputState(pa_stream* s, void* self) {
        auto* me = static_cast<PulseEngine*>(self);
        const auto st = pa_stream_get_state(s);
        if (st != PA_STREAM_FAILED && st != PA_STREAM_TERMINATED) return;
        if (s != me->out_) return;
        // The device went away and the server could not move us: make a new stream later.
        me->api()->defer_new(
            me->api(),
            [](pa_mainloop_api* a, pa_defer_event* e, void* p) {
                a->defer_free(e);
                auto* m = static_cast<PulseEngine*>(p);
                if (m->out_ && pa_stream_get_state(m->out_) != PA_STREAM_READY &&
                    pa_stream_get_state(m->out_) != PA_STREAM_CREATING) {
                    pa_stream_set_state_callback(m->out_, nullptr, nullptr);
                    pa_stream_set_write_callback(m->out_, nullptr, nullptr);
                    pa_stream_unref(m->out_);
                    m->out_ = nullptr;
                    m->scheduleRetry();
                }
            },
            me);
    }

    // The audio callback: mixes straight into the server's buffer.
    static void onWrite(pa_stream* s, size_t nbytes, void* self) {
        auto* me = static_cast<PulseEngine*>(self);
        constexpr size_t frameBytes = sizeof(float) * kMixChannels;
        while (nbytes >= frameBytes) {
            void* data = nullptr;
            size_t n = nbytes;
            if (pa_stream_begin_write(s, &data, &n) < 0 || !data) return;
            n -= n % frameBytes;
            if (n == 0) {
                pa_stream_cancel_write(s);
                return;
            }
            me->mixer_.mix(static_cast<float*>(data), static_cast<int>(n / frameBytes), kMixRate);
            pa_stream_write(s, data, n, nullptr, 0, PA_SEEK_RELATIVE);
            nbytes -= std::min(n, nbytes);
        }
    }

    // -- capture inputs --

    static void onServerEvent(pa_context*, pa_subscription_event_type_t, uint32_t, void* self) {
        static_cast<PulseEngine*>(self)->refreshInputs();
    }

    void refreshInputs() {
        if (!ctx_) return;
        pa_operation_unref(pa_context_get_server_info(ctx_, &PulseEngine::onServerInfo, this));
    }

    static void onServerInfo(pa_context* c, const pa_server_info* info, void* self) {
        auto* me = static_cast<PulseEngine*>(self);
        if (info) {
            me->defaultSink_ = info->default_sink_name ? info->default_sink_name : "";
            me->defaultSource_ = info->default_source_name ? info->default_source_name : "";
        }
        me->pending_.clear();
        pa_operation_unref(pa_context_get_source_info_list(c, &PulseEngine::onSource, me));
    }

    static void onSource(pa_context*, const pa_source_info* info, int eol, void* self) {
        auto* me = static_cast<PulseEngine*>(self);
        if (eol == 0 && info) {
            me->pending_.push_back(
                {QString::fromUtf8(info->name),
                 QString::fromUtf8(info->description ? info->description : info->name)});
            return;
        }
        if (eol < 0) return;
        // What the computer itself plays is what the recorder is for: prefer the monitor of the
        // default output, then the default input.
        const QString monitor = QString::fromUtf8(me->defaultSink_) + ".monitor";
        QString preferred = QString::fromUtf8(me->defaultSource_);
        for (const auto& in : me->pending_)
            if (in.id == monitor) preferred = monitor;
        me->inputs_.setAvailable(std::move(me->pending_), preferred);
        me->pending_.clear();
        {
            // Taking the lock orders this with init()'s check, so the wake-up is not lost.
            std::lock_guard lock(me->waitMutex_);
        }
        me->waitCv_.notify_all();
    }

    // -- capture --

    void openCapture() {
        if (!ctx_ || !ready_ || rec_) return;
        const pa_sample_spec spec{PA_SAMPLE_S16LE, kMixRate, kMixChannels};
        rec_ = pa_stream_new(ctx_, "capture", &spec, nullptr);
        if (!rec_) return scheduleRetry();
        pa_stream_set_read_callback(rec_, &PulseEngine::onRead, this);
        pa_buffer_attr attr{};
        attr.maxlength = std::uint32_t(-1);
        attr.fragsize = kMixRate / 25 * sizeof(qint16) * kMixChannels;  // 40 ms blocks
        if (pa_stream_connect_record(rec_, captureSource_.constData(), &attr,
                                     PA_STREAM_ADJUST_LATENCY) < 0) {
            pa_stream_unref(rec_);
            rec_ = nullptr;
            scheduleRetry();
        }
    }

    void closeCapture() {
        if (!rec_) return;
        pa_stream_set_read_callback(rec_, nullptr, nullptr);
        pa_stream_disconnect(rec_);
        pa_stream_unref(rec_);
        rec_ = nullptr;
    }

    static void onRead(pa_stream* s, size_t, void* self) {
        auto* me = static_cast<PulseEngine*>(self);
        const void* data = nullptr;
        size_t n = 0;
        while (pa_stream_readable_size(s) > 0 && me->rec_ == s) {
            if (pa_stream_peek(s, &data, &n) < 0 || n == 0) return;
            if (data) me->deliver(static_cast<const qint16*>(data), n / (2 * kMixChannels));
            pa_stream_drop(s);
        }
    }

    void deliver(const qint16* in, size_t frames) {
        const float gain = gain_;
        while (frames > 0 && callback_) {
            const size_t n = std::min(frames, kCaptureScratchFrames);
            for (size_t i = 0; i < n * kMixChannels; ++i)
                scratch_[i] =
                    static_cast<qint16>(std::clamp(std::lrintf(in[i] * gain), -32768L, 32767L));
            if (!callback_(scratch_.data(), n)) {
                // Ending from inside the read callback: stop reading, free the stream later.
                captureWanted_ = false;
                callback_ = nullptr;
                api()->defer_new(
                    api(),
                    [](pa_mainloop_api* a, pa_defer_event* e, void* p) {
                        a->defer_free(e);
                        auto* m = static_cast<PulseEngine*>(p);
                        if (!m->captureWanted_) m->closeCapture();
                    },
                    this);
                return;
            }
            in += n * kMixChannels;
            frames -= n;
        }
    }

    std::unique_ptr<pa_threaded_mainloop, LoopDeleter> loop_;
    std::atomic<bool> started_{false};
    std::atomic<bool> ready_{false};
    std::atomic<bool> everReady_{false};
    bool answered_ = false;
    bool closing_ = false;
    std::mutex waitMutex_;
    std::condition_variable waitCv_;

    pa_context* ctx_ = nullptr;
    pa_stream* out_ = nullptr;
    pa_stream* rec_ = nullptr;
    pa_time_event* retry_ = nullptr;

    CaptureInputs inputs_;
    std::vector<CaptureInputs::Input> pending_;
    QByteArray defaultSink_, defaultSource_;

    bool captureWanted_ = false;
    QByteArray captureSource_;
    CaptureCallback callback_;
    AudioHandle captureHandle_ = 0;
    quint32 captureSeq_ = 0;
    std::atomic<float> gain_{1.0f};

    Decoder decoder_;
    std::vector<qint16> scratch_;
};

}  // namespace

std::unique_ptr<AudioEngine> makePulseAudioEngine(Clock& clock) {
    return std::make_unique<PulseEngine>(clock);
}

}  // namespace platform
