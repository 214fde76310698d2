#include "speaker/bells/playbackchannel.h"

#include "platform/clock/clock.h"
#include "platform/prompter/prompter.h"
#include "platform/trace/trace.h"
#include "speaker/bells/channelbar.h"
#include "speaker/core/services.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QJsonObject>
#include <QLabel>
#include <QSlider>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace bells {

using platform::AudioEngine;

PlaybackChannel::PlaybackChannel(core::Services& services, ChannelHooks hooks,
                                 QWidget* widgetParent)
    : services_(services),
      engine_(services.audio),
      hooks_(std::move(hooks)),
      bar_(new ChannelBar(widgetParent)),
      cycleTimer_(new platform::Timer(*services.clock, 1000, this)) {
    cycleTimer_->setObjectName(QStringLiteral("Cycle_timer"));
    connect(cycleTimer_, &platform::Timer::timeout, this, &PlaybackChannel::Cycle_timerTimer);
    connect(bar_->mp3_player, &QToolButton::clicked, this, &PlaybackChannel::mp3_playerClick);
    connect(bar_->mp3_pause, &QToolButton::clicked, this, &PlaybackChannel::mp3_pauseClick);
    connect(bar_->mp3_stop, &QToolButton::clicked, this, &PlaybackChannel::mp3_stopClick);
    connect(bar_->mp3_check, &QToolButton::clicked, this, [this] {
        if (hooks_.openCheck) hooks_.openCheck();
    });
    connect(bar_->TrackBar4, &QSlider::valueChanged, this, &PlaybackChannel::TrackBar4Change);
    // Seeking follows the mouse release, whether the handle was dragged or the groove clicked.
    seekBar_ = bar_->TrackBar3;
    seekBar_->installEventFilter(this);
}

PlaybackChannel::~PlaybackChannel() {
    if (engine_ && hasStream()) engine_->release(mp3stream);
    if (bar_) seekBar_->removeEventFilter(this);
    if (bar_ && !bar_->parent()) delete bar_.data();
}

bool PlaybackChannel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == seekBar_ && event->type() == QEvent::MouseButtonRelease) {
        // Let the slider take the click first, then seek to where it now stands.
        const bool handled = QObject::eventFilter(watched, event);
        QMetaObject::invokeMethod(this, &PlaybackChannel::TrackBar3MouseUp, Qt::QueuedConnection);
        return handled;
    }
    return QObject::eventFilter(watched, event);
}

void PlaybackChannel::status(int panel, const QString& text) {
    if (hooks_.setStatusText) hooks_.setStatusText(panel, text);
}

bool PlaybackChannel::initbass() {
    if (!engine_) return false;  // no audio device wired (tests): every open fails
    bool ok = true;
    if ((engine_->version() >> 16) != 0x0204u) {
        services_.prompter->message({platform::MessageKind::Error, QString(),
                                     QStringLiteral("\"Bass.dll\" 文件版本不合适! "),
                                     QMessageBox::Ok});
        ok = false;
    }
    if (!engine_->init()) {
        services_.prompter->message({platform::MessageKind::Error, QString(),
                                     QStringLiteral("初始化错误"), QMessageBox::Ok});
        return false;
    }
    return ok;
}

int PlaybackChannel::lengthSeconds() const {
    if (!engine_ || !hasStream()) return 0;
    const double s = engine_->bytesToSeconds(mp3stream, engine_->length(mp3stream));
    return s > 0 ? static_cast<int>(std::trunc(s)) : 0;
}

double PlaybackChannel::positionSeconds() const {
    if (!engine_ || !hasStream()) return 0.0;
    const double s = engine_->bytesToSeconds(mp3stream, engine_->position(mp3stream));
    return s > 0 ? s : 0.0;
}

void PlaybackChannel::applyVolume(int percent) {
    if (engine_ && hasStream()) engine_->setVolume(mp3stream, static_cast<float>(percent) / 100.0f);
}

void PlaybackChannel::releaseCurrent(bool traceStop) {
    if (!hasStream()) return;
    if (traceStop && playing_ && services_.trace)
        services_.trace->record(QStringLiteral("channel.stop"), {{"file", currentFile_}});
    if (engine_) engine_->release(mp3stream);
    mp3stream = 0;
    playing_ = false;
}

void PlaybackChannel::bassplay(const QString& path, int volume) {
    open(path, volume, false);
}

void PlaybackChannel::bassplay1(const QString& path, int volume) {
    open(path, volume, true);
}

QString PlaybackChannel::resolved(const QString& path) const {
    // Shipped entries name files inside the program folder ("bells/…"), whatever the
    // working directory the program was started from.
    return QDir(services_.programDir).absoluteFilePath(path);
}

void PlaybackChannel::open(const QString& given, int volume, bool repeat) {
    if (given.trimmed().isEmpty()) return;
    const QString path = resolved(given);
    releaseCurrent(false);
    mp3stream = engine_ ? engine_->openFile(path) : 0;
    if (!hasStream()) {
        mp3stream = 0;
        const bool exists = QFileInfo(path).isFile();
        status(3, exists ? QStringLiteral("不能播放:") + path
                         : QStringLiteral("文件：") + path + QStringLiteral(" 不存在"));
        if (services_.trace)
            services_.trace->record(
                QStringLiteral("channel.fail"),
                {{"file", path}, {"reason", exists ? "unplayable" : "missing"}});
        return;
    }
    currentFile_ = path;
    mp3length = lengthSeconds();
    QSlider* progress = bar_->TrackBar3;
    progress->setValue(0);
    progress->setMaximum(std::max(mp3length, progress->minimum() + 1));
    const int applied = manualplay ? bar_->TrackBar4->value() : volume;
    applyVolume(applied);
    engine_->play(mp3stream);
    playing_ = true;
    if (!repeat) cycleplay = false;
    cycleTimer_->start();
    bar_->Label31->setVisible(true);
    if (!repeat && Timer5_) Timer5_->stop();
    status(3, QString());
    status(2, path);
    if (services_.trace)
        services_.trace->record(QStringLiteral("channel.play"),
                                {{"file", path}, {"volume", applied}});
}

void PlaybackChannel::mp3_playerClick() {
    if (hasStream()) {
        mp3length = lengthSeconds();
        applyVolume(bar_->TrackBar4->value());
        engine_->play(mp3stream);
        playing_ = true;
        if (services_.trace)
            services_.trace->record(QStringLiteral("channel.play"),
                                    {{"file", currentFile_}, {"volume", bar_->TrackBar4->value()}});
    }
    manualplay = true;
    setmanualplay();
}

void PlaybackChannel::replay() {
    if (!hasStream()) return;
    mp3length = lengthSeconds();
    engine_->play(mp3stream);
    playing_ = true;
}

void PlaybackChannel::mp3_pauseClick() {
    if (!hasStream()) return;
    engine_->pause(mp3stream);
    playing_ = false;
    bar_->mp3_player->setEnabled(true);
    bar_->mp3_pause->setEnabled(false);
    bar_->mp3_stop->setEnabled(false);
}

void PlaybackChannel::mp3_stopClick() {
    emit stopCommand();
    if (!hasStream()) return;
    engine_->stop(mp3stream);
    releaseCurrent(true);
    bar_->mp3_player->setEnabled(false);
    bar_->mp3_pause->setEnabled(false);
    bar_->mp3_stop->setEnabled(false);
    if (Timer5_) Timer5_->stop();
    cycleplay = false;
    cycleTimer_->stop();
}

void PlaybackChannel::setRunningButtons() {
    bar_->mp3_player->setEnabled(false);
    bar_->mp3_stop->setEnabled(true);
    bar_->mp3_pause->setEnabled(true);
}

void PlaybackChannel::setmanualplay() {
    if (bj_timer1_) bj_timer1_->stop();
    emit manualModeSet();
    setRunningButtons();
    cycleTimer_->start();
    manualplay = true;
    cycleplay = false;
}

void PlaybackChannel::TrackBar4Change() {
    applyVolume(bar_->TrackBar4->value());
}

void PlaybackChannel::TrackBar3MouseUp() {
    if (!bar_ || !hasStream()) return;
    engine_->setPosition(mp3stream, engine_->secondsToBytes(mp3stream, bar_->TrackBar3->value()));
    bar_->Label31->setText(progressText(static_cast<int>(positionSeconds()), mp3length));
}

void PlaybackChannel::Cycle_timerTimer() {
    double pos = positionSeconds();
    // A stream we did not halt that stands still has played out, even if it ended early (a
    // file cut short while playing); count it as at its end.
    if (playing_ && hasStream() && engine_->state(mp3stream) == AudioEngine::State::Stopped)
        pos = std::max(pos, static_cast<double>(bar_->TrackBar3->maximum()));
    const int whole = static_cast<int>(std::trunc(pos));
    bar_->Label31->setText(progressText(whole, mp3length));
    bar_->TrackBar3->setValue(whole);
    if (trackEnded() && cycleplay) bassplay1(loopfile, itemvolume);
}

bool PlaybackChannel::trackEnded() const {
    return bar_ && bar_->TrackBar3->value() >= bar_->TrackBar3->maximum();
}

bool PlaybackChannel::probe(const QString& path) {
    releaseCurrent(true);
    mp3stream = engine_ ? engine_->openFile(resolved(path)) : 0;
    if (!hasStream()) mp3stream = 0;
    return hasStream();
}

QString PlaybackChannel::progressText(int position, int length) {
    return QStringLiteral(" %1 / %2 ")
        .arg(position, 2, 10, QLatin1Char('0'))
        .arg(length, 2, 10, QLatin1Char('0'));
}

}  // namespace bells
