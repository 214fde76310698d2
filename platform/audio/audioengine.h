#pragma once
// Sound output and capture of the program. Files (WAV, FLAC, OGG, MP3) and in-memory sound files
// are opened as streams, several of which play mixed at once; raw PCM produced by the program
// (speech) is played through push streams. Handles of 45 and above are valid; an open that fails
// returns a value below 45 (0). Every call is thread-safe and never waits on the audio server.
//
// Units: lengths and positions are bytes of 16-bit PCM at the stream's own sample rate and
// channel count (so one second of a 44100 Hz stereo file is 176400 bytes, whatever the file's
// own sample format). Volumes are linear factors, 1.0 being the file's own level.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

class Clock;

using AudioHandle = quint32;

class AudioEngine {
public:
    // The first valid handle; anything below is a failed open.
    static constexpr AudioHandle kFirstHandle = 45;
    // Interface level 2.4 in the high 16 bits; the start-up check compares it.
    static constexpr quint32 kVersion = 0x02040000u;
    // Format of the mix and of captured blocks: 44.1 kHz, stereo, 16-bit interleaved.
    static constexpr int kMixRate = 44100;
    static constexpr int kMixChannels = 2;

    // Stopped also covers a stream that has played to its end.
    enum class State { Stopped, Playing, Paused };

    struct CaptureInput {
        QString name;
        bool on = false;  // the input a capture records from
    };
    // Receives each captured block (`frames` stereo frames, 16-bit interleaved). It runs on the
    // audio thread: keep it short and do not call the engine from it. Return false to end the
    // capture.
    using CaptureCallback = std::function<bool(const qint16* samples, std::size_t frames)>;

    virtual ~AudioEngine() = default;

    quint32 version() const { return kVersion; }

    // Start-up check: connects to the output. False when no output can be reached (opens fail
    // then); the engine keeps trying in the background and works once the output appears.
    // Waits at most a few seconds, once.
    virtual bool init() = 0;
    // The output is connected right now.
    virtual bool isReady() const = 0;

    // Opens a sound file for playing, streamed (not decoded up front). 0 when it cannot be
    // decoded or no output has ever been reached.
    virtual AudioHandle openFile(const QString& path) = 0;
    // Opens a complete sound file held in memory (for example a WAV recording).
    virtual AudioHandle openMemory(const QByteArray& file) = 0;
    // Opens a stream fed with 16-bit interleaved PCM by appendPush(); after finishPush() it
    // plays out what it holds and then stops (state() becomes Stopped).
    virtual AudioHandle openPush(int rate, int channels) = 0;
    virtual bool appendPush(AudioHandle h, const qint16* samples, std::size_t frames) = 0;
    virtual bool finishPush(AudioHandle h) = 0;

    // Stops and forgets the stream; its handle is never valid again.
    virtual bool release(AudioHandle h) = 0;
    // Starts without restart: a paused or stopped stream resumes where it was; one that has
    // played to its end starts again from the beginning.
    virtual bool play(AudioHandle h) = 0;
    // Halts the stream, keeping its position; state() becomes Stopped.
    virtual bool stop(AudioHandle h) = 0;
    // Halts the stream, keeping its position; state() becomes Paused.
    virtual bool pause(AudioHandle h) = 0;
    virtual State state(AudioHandle h) const = 0;

    // Linear volume 0..1 (values outside are clamped).
    virtual bool setVolume(AudioHandle h, float volume) = 0;
    virtual float volume(AudioHandle h) const = 0;

    // In bytes (see above); -1 for an invalid handle. A push stream's length is what it was
    // given so far.
    virtual qint64 length(AudioHandle h) const = 0;
    // Bytes played so far; after a natural end, the length.
    virtual qint64 position(AudioHandle h) const = 0;
    // False beyond the end, for push streams and for invalid handles.
    virtual bool setPosition(AudioHandle h, qint64 bytes) = 0;
    // Conversions with the stream's own rate and channel count; -1 for an invalid handle.
    virtual double bytesToSeconds(AudioHandle h, qint64 bytes) const = 0;
    virtual qint64 secondsToBytes(AudioHandle h, double seconds) const = 0;

    // Capture inputs by name, in the order of the output's source list. Exactly one input is
    // on at a time (or none); selecting only affects this engine, never the system's settings.
    virtual std::vector<CaptureInput> captureInputs() const = 0;
    // Switches input `index` on (it becomes the capture input) or off; false when out of range.
    virtual bool setCaptureInput(int index, bool on) = 0;
    // Level 0..1 applied to what is captured from input `index`; false when out of range.
    virtual bool setCaptureLevel(int index, float level) = 0;
    // Starts capturing from the input that is on; 0 when none is on, no output is connected
    // or a capture is already running.
    virtual AudioHandle startCapture(CaptureCallback callback) = 0;
    virtual bool stopCapture(AudioHandle h) = 0;

    // Null device: renders the mix up to the clock's current time and completes the WAV file.
    virtual void flush() {}
};

// Output and capture through the PulseAudio server of the session (PipeWire's too). The
// device plays on the machine's own time; `clock` is kept for symmetry with the null device.
std::unique_ptr<AudioEngine> makePulseAudioEngine(Clock& clock);

// A device that consumes audio on `clock`: a stream's position follows the clock's tick since
// it started, so with the virtual clock a test advances time and the track progresses and ends.
// With `wavPath`, the mix of everything played is written there (44.1 kHz stereo 16-bit), up
// to the clock's current time on every call and on flush(). Its one capture input records that
// same mix. It works without init().
std::unique_ptr<AudioEngine> makeNullAudioEngine(Clock& clock, const QString& wavPath = {});

}  // namespace platform
