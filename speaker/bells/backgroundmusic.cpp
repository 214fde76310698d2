#include "speaker/bells/backgroundmusic.h"

#include "platform/audio/audioengine.h"
#include "platform/clock/clock.h"
#include "platform/prompter/prompter.h"
#include "platform/trace/trace.h"
#include "speaker/bells/musiclibrary.h"
#include "speaker/bells/playbackchannel.h"
#include "speaker/core/preferences.h"
#include "speaker/core/services.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace bells {

namespace {

QToolButton* button(QWidget* parent, const char* name, const QString& hint, const QString& text) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setText(text);
    b->setAutoRaise(true);
    return b;
}

QSpinBox* volumeBox(const char* name, int value) {
    auto* s = new QSpinBox;
    s->setObjectName(QString::fromLatin1(name));
    s->setRange(0, 100);
    s->setValue(value);
    return s;
}

// The background folder's tracks: "*.mp3" in any letter case, sorted by name.
QStringList mp3Files(const QString& folder) {
    if (folder.trimmed().isEmpty()) return {};
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("*.mp3")});
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    return dir.entryList();
}

}  // namespace

BackgroundMusic::BackgroundMusic(core::Services& services, PlaybackChannel& channel,
                                 MusicLibrary& library, StatusText status, Boxes boxes,
                                 QWidget* widgetParent)
    : services_(services),
      channel_(channel),
      library_(library),
      status_(std::move(status)),
      panel_(new QWidget(widgetParent)) {
    panel_->setObjectName(QStringLiteral("BJPanel"));
    auto* layout = new QVBoxLayout(panel_);
    layout->setContentsMargins(0, 0, 0, 0);
    BJListBox1 = new QListWidget(panel_);
    BJListBox1->setObjectName(QStringLiteral("BJListBox1"));
    BJListBox1->setToolTip(QStringLiteral("双击进行播放"));
    BJListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(BJListBox1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(1);
    bj_stop = button(panel_, "bj_stop", QStringLiteral("停止"), QStringLiteral("■"));
    bj_prev = button(panel_, "bj_prev", QStringLiteral("上一首"), QStringLiteral("|◀"));
    bj_play = button(panel_, "bj_play", QStringLiteral("播放"), QStringLiteral("▶"));
    bj_ok = button(panel_, "bj_ok", QStringLiteral("选择背景音乐目录"), QStringLiteral("…"));
    bj_next = button(panel_, "bj_next", QStringLiteral("下一首"), QStringLiteral("▶|"));
    for (QToolButton* b : {bj_stop, bj_prev, bj_play, bj_ok, bj_next}) buttons->addWidget(b);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    RzLEDDisplay1 = new QLabel(panel_);
    RzLEDDisplay1->setObjectName(QStringLiteral("RzLEDDisplay1"));
    layout->addWidget(RzLEDDisplay1);

    // Boxes the window did not hand over are made here, below the progress text.
    auto* form = new QFormLayout;
    ComBox1 = boxes.ComBox1;
    if (!ComBox1) {
        ComBox1 = new QComboBox(panel_);
        ComBox1->setObjectName(QStringLiteral("ComBox1"));
        ComBox1->addItems({QStringLiteral("顺序播放"), QStringLiteral("随机播放")});
        form->addRow(ComBox1);
    }
    bj_v = boxes.bj_v;
    if (!bj_v) {
        bj_v = volumeBox("bj_v", 90);
        form->addRow(QStringLiteral("音乐音量"), bj_v);
    }
    bj_v1 = boxes.bj_v1;
    if (!bj_v1) {
        bj_v1 = volumeBox("bj_v1", 10);
        form->addRow(QStringLiteral("朗读时音量"), bj_v1);
    }
    layout->addLayout(form);
    bj_v->setRange(0, 100);
    bj_v1->setRange(0, 100);
    bj_v->setToolTip(QStringLiteral("背景音量"));
    bj_v1->setToolTip(QStringLiteral("朗读时背景音量"));
    musicVolume_ = bj_v->value();
    readingVolume_ = bj_v1->value();
    // Nothing applied yet: the fader rests at the music volume until a play sets it.
    bjvolume = musicVolume_;

    listMenu = new QMenu(BJListBox1);
    listMenu->setObjectName(QStringLiteral("BJPopupMenu"));
    QAction* refreshAction = listMenu->addAction(QStringLiteral("刷新"));
    QAction* playAction = listMenu->addAction(QStringLiteral("播放音乐"));
    connect(refreshAction, &QAction::triggered, this, &BackgroundMusic::refresh);
    connect(playAction, &QAction::triggered, this, &BackgroundMusic::bj_playClick);
    connect(BJListBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { listMenu->popup(BJListBox1->viewport()->mapToGlobal(at)); });
    connect(BJListBox1, &QListWidget::itemDoubleClicked, this, &BackgroundMusic::bj_playClick);
    connect(bj_play, &QToolButton::clicked, this, &BackgroundMusic::bj_playClick);
    connect(bj_stop, &QToolButton::clicked, this, &BackgroundMusic::bj_stopClick);
    connect(bj_next, &QToolButton::clicked, this, &BackgroundMusic::bj_nextClick);
    connect(bj_prev, &QToolButton::clicked, this, &BackgroundMusic::bj_prevClick);
    connect(bj_ok, &QToolButton::clicked, this, &BackgroundMusic::bj_okClick);
    connect(bj_v, &QSpinBox::valueChanged, this, &BackgroundMusic::bj_vChange);
    connect(bj_v1, &QSpinBox::valueChanged, this, &BackgroundMusic::bj_v1Change);

    bj_timer1 = new platform::Timer(*services_.clock, 1000, this);
    bj_timer1->setObjectName(QStringLiteral("bj_timer1"));
    connect(bj_timer1, &platform::Timer::timeout, this, &BackgroundMusic::bj_timer1Timer);
    bj_timer2 = new platform::Timer(*services_.clock, 20, this);
    bj_timer2->setObjectName(QStringLiteral("bj_timer2"));
    connect(bj_timer2, &platform::Timer::timeout, this, &BackgroundMusic::bj_timer2Timer);
    // A manual or timetable start on the channel ends the advance.
    channel_.setBackgroundAdvance(bj_timer1);
    bj_timer2->start();
}

BackgroundMusic::~BackgroundMusic() {
    channel_.setBackgroundAdvance(nullptr);
    if (panel_ && !panel_->parent()) delete panel_.data();
}

// ---------------------------------------------------------------- folder and list

void BackgroundMusic::setFolder(const QString& folder) {
    folder_ =
        !folder.trimmed().isEmpty() && QFileInfo(folder).isDir() ? folder : services_.programDir;
    files_ = mp3Files(folder_);
    showFiles();
}

void BackgroundMusic::refresh() {
    QStringList now = mp3Files(folder_);
    if (now != files_) files_ = std::move(now);
    showFiles();
}

void BackgroundMusic::showFiles() {
    QStringList shown;
    shown.reserve(BJListBox1->count());
    for (int i = 0; i < BJListBox1->count(); ++i) shown << BJListBox1->item(i)->text();
    if (shown != files_) {
        const QListWidgetItem* current = BJListBox1->currentItem();
        const QString selected = current ? current->text() : QString();
        BJListBox1->clear();
        BJListBox1->addItems(files_);
        const int keep = selected.isEmpty() ? -1 : static_cast<int>(files_.indexOf(selected));
        if (keep >= 0) BJListBox1->setCurrentRow(keep);
    }
    if (files_.isEmpty()) {
        if (status_) status_(0, QString());
        RzLEDDisplay1->clear();
    }
}

void BackgroundMusic::bj_okClick() {
    const QString chosen =
        services_.prompter->chooseFolder(QStringLiteral("选择背景音乐目录"), folder_);
    if (chosen.isEmpty()) return;
    folder_ = chosen;
    files_ = mp3Files(folder_);
    showFiles();
    core::Preferences prefs(services_.iniPath());
    prefs.writeString(core::pref::Mp3bj, chosen);
}

void BackgroundMusic::select(int index) {
    if (index >= 0 && index < BJListBox1->count()) BJListBox1->setCurrentRow(index);
}

bool BackgroundMusic::random() const {
    return ComBox1->currentIndex() == 1;
}

int BackgroundMusic::pick(int count) const {
    if (count <= 0) return 0;
    const int i = random_ ? random_(count) : QRandomGenerator::global()->bounded(count);
    return std::clamp(i, 0, count - 1);
}

// ---------------------------------------------------------------- transport

void BackgroundMusic::bj_playClick() {
    const int count = static_cast<int>(files_.size());
    if (count == 0) {
        bj_timer1->stop();
        return;
    }
    const int selected = BJListBox1->currentRow();
    if (selected >= 0 && selected < count)
        bjindex = selected;
    else
        bjindex = random() ? pick(count) : 0;
    // Manual mode keeps the bell timetable from stopping the music; list play ends here and
    // the channel's progress display stands still.
    library_.seqplay = false;
    library_.randplay = false;
    channel_.manualplay = true;
    channel_.Cycle_timer().stop();
    const QString path = QDir(folder_).filePath(files_.at(bjindex));
    if (status_) status_(3, path);
    bjvolume = readingVolume_;
    stream_ = 0;
    if (!channel_.probe(path)) {
        // Nothing plays: a length of 0 lets the advance move on to the next file, so one
        // unplayable file does not end the background music for good.
        channel_.mp3length = 0;
        return;
    }
    platform::AudioEngine* engine = channel_.engine();
    const platform::AudioHandle h = channel_.mp3stream;
    // The track starts at the reading volume; while nothing is read the fader raises it.
    engine->setVolume(h, static_cast<float>(bjvolume) / 100.0f);
    const double length = engine->bytesToSeconds(h, engine->length(h));
    channel_.mp3length = length > 0 ? static_cast<int>(std::trunc(length)) : 0;
    engine->play(h);
    stream_ = h;
    bj_timer1->start();
    if (services_.trace)
        services_.trace->record(QStringLiteral("bgm.play"), {{QStringLiteral("file"), path}});
}

void BackgroundMusic::bj_stopClick() {
    // The advance stays enabled and shows a position of 0, as the description of the panel has
    // it; it moves on by itself only when the length is 0.
    if (!channel_.hasStream()) return;
    platform::AudioEngine* engine = channel_.engine();
    engine->stop(channel_.mp3stream);
    engine->release(channel_.mp3stream);
    channel_.mp3stream = 0;
    stream_ = 0;
    if (services_.trace) services_.trace->record(QStringLiteral("bgm.stop"));
}

void BackgroundMusic::bj_nextClick() {
    const int count = static_cast<int>(files_.size());
    if (count == 0) return;
    bjindex = bjindex + 1 >= count ? 0 : bjindex + 1;
    select(bjindex);
    bj_playClick();
}

void BackgroundMusic::bj_prevClick() {
    const int count = static_cast<int>(files_.size());
    if (count == 0) return;
    if (bjindex > 0) {
        // From the selected file; with nothing selected, from the current track.
        const int selected = BJListBox1->currentRow();
        bjindex = std::clamp((selected >= 0 ? selected : bjindex) - 1, 0, count - 1);
    } else {
        bjindex = 0;
    }
    select(bjindex);
    bj_playClick();
}

// ---------------------------------------------------------------- volumes

void BackgroundMusic::applyVolume(int percent) {
    if (channel_.hasStream())
        channel_.engine()->setVolume(channel_.mp3stream, static_cast<float>(percent) / 100.0f);
}

void BackgroundMusic::traceVolume() {
    if (services_.trace)
        services_.trace->record(QStringLiteral("bgm.volume"),
                                {{QStringLiteral("volume"), bjvolume}});
}

void BackgroundMusic::bj_vChange() {
    if (bj_v->value() < bj_v1->value()) {
        bj_v->setValue(bj_v1->value());  // runs this handler again with the raised value
        return;
    }
    musicVolume_ = bj_v->value();
    if (!busy()) {
        bjvolume = musicVolume_;
        applyVolume(bjvolume);
    }
}

void BackgroundMusic::bj_v1Change() {
    if (bj_v->value() < bj_v1->value()) {
        bj_v1->setValue(bj_v->value());
        return;
    }
    readingVolume_ = bj_v1->value();
    if (busy()) {
        bjvolume = readingVolume_;
        applyVolume(bjvolume);
    }
}

void BackgroundMusic::setVolumes(int music, int reading) {
    // Lower the reading volume first when the music volume goes below it, so each box takes
    // the stored value instead of being pushed by the other's old one.
    if (music < bj_v1->value()) {
        bj_v1->setValue(reading);
        bj_v->setValue(music);
    } else {
        bj_v->setValue(music);
        bj_v1->setValue(reading);
    }
}

// ---------------------------------------------------------------- timers

void BackgroundMusic::bj_timer1Timer() {
    // Another start took the channel over (a bell, list play, the file check): our music
    // ended, and its end must not start the next background track.
    if (channel_.hasStream() && channel_.mp3stream != stream_) {
        bj_timer1->stop();
        return;
    }
    const double position = channel_.positionSeconds();
    RzLEDDisplay1->setText(
        PlaybackChannel::progressText(static_cast<int>(position), channel_.mp3length));
    if (channel_.mp3length > position) return;
    const int count = static_cast<int>(files_.size());
    if (random())
        bjindex = pick(count);
    else
        bjindex = bjindex >= count - 1 ? 0 : bjindex + 1;
    select(bjindex);
    bj_playClick();
}

void BackgroundMusic::bj_timer2Timer() {
    // Runs every 20 ms all day: the idle path is a load and two compares.
    if (busy()) {
        if (!channel_.hasStream()) return;
        const int before = bjvolume;
        bjvolume =
            bjvolume <= readingVolume_ ? readingVolume_ : std::max(bjvolume - 10, readingVolume_);
        applyVolume(bjvolume);
        if (bjvolume != before && bjvolume == readingVolume_) traceVolume();
        return;
    }
    if (bjvolume >= musicVolume_ || !channel_.hasStream()) return;
    ++bjvolume;
    applyVolume(bjvolume);
    if (bjvolume == musicVolume_) traceVolume();
}

}  // namespace bells
