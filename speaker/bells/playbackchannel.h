#pragma once
// The one shared playback channel of the bell page. Bells, list tracks, background music and
// the unplayable-file check all open their files here, so starting any file ends whatever
// played before. It owns the channel's state and drives the widgets of a ChannelBar.

#include "platform/audio/audioengine.h"
#include "speaker/bells/channelbar.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QSlider;
class QWidget;

namespace core {
struct Services;
}
namespace platform {
class Timer;
}

namespace bells {

struct ChannelHooks {
    // Sets a panel (0..3) of the main window's status bar; may be empty.
    std::function<void(int panel, const QString& text)> setStatusText;
    // The mp3_check button: opens the unplayable-file check; may be empty.
    std::function<void()> openCheck;
};

class PlaybackChannel : public QObject {
    Q_OBJECT
public:
    // The bar is created as a child of `widgetParent` (or on its own, then owned here).
    // `services.audio` may be null: every open fails then.
    PlaybackChannel(core::Services& services, ChannelHooks hooks, QWidget* widgetParent = nullptr);
    ~PlaybackChannel() override;
    PlaybackChannel(const PlaybackChannel&) = delete;
    PlaybackChannel& operator=(const PlaybackChannel&) = delete;

    ChannelBar* bar() const { return bar_; }
    platform::AudioEngine* engine() const { return engine_; }
    platform::Timer& Cycle_timer() { return *cycleTimer_; }

    // Timers of the bell scheduler (loop-end watch) and of background music (advance); each
    // may stay null until that feature exists.
    void setLoopEndWatch(platform::Timer* timer) { Timer5_ = timer; }
    void setBackgroundAdvance(platform::Timer* timer) { bj_timer1_ = timer; }
    platform::Timer* loopEndWatch() const { return Timer5_; }
    platform::Timer* backgroundAdvance() const { return bj_timer1_; }

    // Start-up check of the audio engine; messages as the user sees them.
    bool initbass();
    // Opens `path` and plays it from the start with `volume` percent (the slider in manual
    // mode). A failure leaves no stream and reports in status panel 3.
    void bassplay(const QString& path, int volume);
    // The same for a file that is to repeat: keeps cycleplay and the loop-end watch.
    void bassplay1(const QString& path, int volume);

    // Handlers of the transport buttons; others call them "as if clicked".
    void mp3_playerClick();
    void mp3_pauseClick();
    void mp3_stopClick();
    void setmanualplay();
    // Starts the current stream again without restart (an ended one from its beginning),
    // keeping the volume and the mode: the loop-end watch of the bell scheduler.
    void replay();
    // Button enabling of a running playback (manual or timetable start).
    void setRunningButtons();

    void TrackBar4Change();
    void TrackBar3MouseUp();
    void Cycle_timerTimer();

    // Releases the current stream (if any) and opens `path` without playing it; the handle
    // lands in mp3stream. True when the file opened (the unplayable-file check).
    // A path as the channel opens it: a relative one is taken inside the program folder.
    QString resolved(const QString& path) const;
    bool probe(const QString& path);

    bool hasStream() const { return mp3stream >= platform::AudioEngine::kFirstHandle; }
    // The end-of-track test shared by list play and the bell scheduler.
    bool trackEnded() const;
    // Position of the current stream in seconds (0 with no stream).
    double positionSeconds() const;
    const QString& currentFile() const { return currentFile_; }

    // " %.2d / %.2d ": position and length in whole seconds, at least two digits each.
    static QString progressText(int position, int length);

    // The channel's state, shared with the bell scheduler, list play and background music.
    platform::AudioHandle mp3stream = 0;
    int mp3length = 0;
    bool manualplay = false;
    bool cycleplay = false;
    QString loopfile;
    int itemvolume = 100;

signals:
    // setmanualplay ran: list play resets its end time.
    void manualModeSet();
    // The stop handler ran (with or without a stream).
    void stopCommand();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void open(const QString& path, int volume, bool repeat);
    void releaseCurrent(bool traceStop);
    int lengthSeconds() const;
    void applyVolume(int percent);
    void status(int panel, const QString& text);

    core::Services& services_;
    platform::AudioEngine* engine_;
    ChannelHooks hooks_;
    QPointer<ChannelBar> bar_;
    QSlider* seekBar_ = nullptr;  // the bar's TrackBar3, watched for mouse releases
    platform::Timer* cycleTimer_;
    platform::Timer* Timer5_ = nullptr;
    platform::Timer* bj_timer1_ = nullptr;
    QString currentFile_;
    bool playing_ = false;  // we started it and have not paused or stopped it since
};

}  // namespace bells
