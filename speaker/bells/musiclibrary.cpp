#include "speaker/bells/musiclibrary.h"

#include "platform/clock/clock.h"
#include "platform/prompter/prompter.h"
#include "platform/trace/trace.h"
#include "speaker/bells/channelbar.h"
#include "speaker/bells/librarypages.h"
#include "speaker/bells/musicliststore.h"
#include "speaker/bells/playbackchannel.h"
#include "speaker/core/preferences.h"
#include "speaker/core/services.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QRandomGenerator>
#include <QSlider>
#include <QTreeWidget>

#include <algorithm>

namespace bells {
namespace {

bool fileExists(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isFile();
}

const char* sourceName(MusicLibrary::Source source) {
    switch (source) {
        case MusicLibrary::MusicList:
            return "音乐列表";
        case MusicLibrary::DefaultFolder:
            return "默认目录";
        case MusicLibrary::TimedFolder:
            return "指定目录";
    }
    return "";
}

}  // namespace

MusicLibrary::MusicLibrary(core::Services& services, PlaybackChannel& channel,
                           MusicListStore& store, StatusText status, QWidget* widgetParent)
    : services_(services),
      channel_(channel),
      store_(store),
      status_(std::move(status)),
      pages_(new LibraryPages(widgetParent)),
      timer2_(new platform::Timer(*services.clock, 1000, this)) {
    timer2_->setObjectName(QStringLiteral("Timer2"));
    connect(timer2_, &platform::Timer::timeout, this, &MusicLibrary::Timer2Timer);
    timer2_->start();
    connect(&channel_, &PlaybackChannel::manualModeSet, this,
            [this] { playendtime = QStringLiteral("23:59:59"); });
    connect(&channel_, &PlaybackChannel::stopCommand, this, [this] { skipping_ = false; });

    LibraryPages* p = pages_;
    auto on = [this](QAction* action, auto fn) { connect(action, &QAction::triggered, this, fn); };
    on(p->listAdd, [this] { addSongs(); });
    on(p->listSingle, [this] { singlePlay(MusicList); });
    on(p->listLoop, [this] { singleLoop(MusicList); });
    on(p->listSequential, [this] { sequentialPlay(MusicList); });
    on(p->listRandom, [this] { randomPlay(MusicList); });
    on(p->listClear, [this] { clearSong(); });
    on(p->listClearAll, [this] { clearAll(); });
    on(p->defaultSingle, [this] { singlePlay(DefaultFolder); });
    on(p->defaultLoop, [this] { singleLoop(DefaultFolder); });
    on(p->defaultSequential, [this] { sequentialPlay(DefaultFolder); });
    on(p->defaultRandom, [this] { randomPlay(DefaultFolder); });
    on(p->defaultPrevious, [this] { previousTrack(DefaultFolder); });
    on(p->defaultNext, [this] { nextTrack(DefaultFolder); });
    on(p->defaultFolder, [this] { chooseFolder(DefaultFolder); });
    on(p->timedSequential, [this] { sequentialPlay(TimedFolder); });
    on(p->timedRandom, [this] { randomPlay(TimedFolder); });
    on(p->timedPrevious, [this] { previousTrack(TimedFolder); });
    on(p->timedNext, [this] { nextTrack(TimedFolder); });
    on(p->timedFolder, [this] { chooseFolder(TimedFolder); });
    connect(p->ListView1, &QTreeWidget::itemDoubleClicked, this,
            [this] { sequentialPlay(MusicList); });
    connect(p->DefaultListBox1, &QListWidget::itemDoubleClicked, this,
            [this] { sequentialPlay(DefaultFolder); });
    connect(p->Listbox1, &QListWidget::itemDoubleClicked, this,
            [this] { sequentialPlay(TimedFolder); });
}

MusicLibrary::~MusicLibrary() {
    if (pages_ && !pages_->parent()) delete pages_.data();
}

void MusicLibrary::status(int panel, const QString& text) {
    if (status_) status_(panel, text);
}

int MusicLibrary::pick(int count) const {
    if (count <= 0) return 0;
    const int i = random_ ? random_(count) : QRandomGenerator::global()->bounded(count);
    return std::clamp(i, 0, count - 1);
}

// ---------------------------------------------------------------- folders

void MusicLibrary::setFolders(const QString& defaultFolder, const QString& timedFolder) {
    auto existing = [this](const QString& f) {
        return !f.trimmed().isEmpty() && QFileInfo(f).isDir() ? f : services_.programDir;
    };
    default_.setFolder(existing(defaultFolder));
    timed_.setFolder(existing(timedFolder));
    default_.showIn(pages_->DefaultListBox1);
    timed_.showIn(pages_->Listbox1);
    setHint(DefaultFolder, QStringLiteral("默认目录"));
    setHint(TimedFolder, QStringLiteral("当前目录"));
}

void MusicLibrary::setTimedFolder(const QString& folder, const QString& hintPrefix) {
    timed_.setFolder(folder);
    timed_.showIn(pages_->Listbox1);
    setHint(TimedFolder, hintPrefix);
}

void MusicLibrary::setHint(Source source, const QString& prefix) {
    if (QListWidget* v = viewOf(source)) v->setToolTip(prefix + folderOf(source)->folder());
}

void MusicLibrary::chooseFolder(Source source) {
    FolderList* folder = folderOf(source);
    if (!folder) return;
    const QString chosen =
        services_.prompter->chooseFolder(QStringLiteral("选择目录"), folder->folder());
    if (chosen.isEmpty()) return;
    folder->setFolder(chosen);
    folder->showIn(viewOf(source));
    core::Preferences prefs(services_.iniPath());
    if (source == DefaultFolder) {
        setHint(source, QStringLiteral("默认目录"));
        prefs.writeString(core::pref::DefaultMusicPath, chosen);
    } else {
        setHint(source, QStringLiteral("当前目录"));
        prefs.writeString(core::pref::MusicPath, chosen);
    }
}

QString MusicLibrary::entryFolder(const QString& filepath) {
    const qsizetype at = filepath.indexOf(QStringLiteral("目录"));
    if (at < 0) return {};
    return filepath.mid(at + 2, 145).trimmed();
}

// ---------------------------------------------------------------- sources

FolderList* MusicLibrary::folderOf(Source source) {
    if (source == DefaultFolder) return &default_;
    if (source == TimedFolder) return &timed_;
    return nullptr;
}

QListWidget* MusicLibrary::viewOf(Source source) const {
    if (!pages_) return nullptr;
    if (source == DefaultFolder) return pages_->DefaultListBox1;
    if (source == TimedFolder) return pages_->Listbox1;
    return nullptr;
}

int MusicLibrary::trackCount(Source source) {
    if (source == MusicList) return pages_ ? pages_->ListView1->topLevelItemCount() : 0;
    FolderList* folder = folderOf(source);
    if (!folder) return 0;
    // The folder may change while the program runs; its list follows it.
    if (folder->refresh()) folder->showIn(viewOf(source));
    return folder->count();
}

QString MusicLibrary::trackPath(Source source, int index) {
    if (source == MusicList) {
        QTreeWidgetItem* item = pages_ ? pages_->ListView1->topLevelItem(index) : nullptr;
        return item ? item->text(1) : QString();
    }
    FolderList* folder = folderOf(source);
    return folder ? folder->path(index) : QString();
}

int MusicLibrary::currentIndex(Source source) const {
    if (!pages_) return -1;
    if (source == MusicList) {
        QTreeWidgetItem* item = pages_->ListView1->currentItem();
        return item ? pages_->ListView1->indexOfTopLevelItem(item) : -1;
    }
    QListWidget* v = viewOf(source);
    return v ? v->currentRow() : -1;
}

void MusicLibrary::makeCurrent(Source source, int index) {
    if (!pages_) return;
    if (source == MusicList) {
        if (QTreeWidgetItem* item = pages_->ListView1->topLevelItem(index))
            pages_->ListView1->setCurrentItem(item);
    } else if (QListWidget* v = viewOf(source); v && index >= 0 && index < v->count()) {
        v->setCurrentRow(index);
    }
}

QString MusicLibrary::modeText(const char* mode, Source source) const {
    return QString::fromUtf8(mode) + QLatin1Char('-') + QString::fromUtf8(sourceName(source));
}

// ---------------------------------------------------------------- music list

void MusicLibrary::getfilelist() {
    QTreeWidget* view = pages_->ListView1;
    view->clear();
    for (const MusicListRow& row : store_.rows()) {
        auto* item = new QTreeWidgetItem(view);
        item->setText(0, row.filename);
        item->setText(1, row.filepath);
        item->setText(2, QString::number(row.id));
    }
}

void MusicLibrary::addSongs() {
    const QStringList files = services_.prompter->chooseFiles(
        QStringLiteral("添加歌曲"),
        QStringLiteral("音频文件(*.WAV,*.MP3,*.WMA,*.MID) (*.WAV *.MP3 *.WMA *.MID *.wav *.mp3 "
                       "*.wma *.mid)"));
    bool added = false;
    for (const QString& file : files) {
        const QString name = QFileInfo(file).fileName();
        if (name.trimmed().isEmpty()) continue;
        added |= store_.append(name, QDir::toNativeSeparators(file));
    }
    if (added) getfilelist();
}

void MusicLibrary::clearSong() {
    QTreeWidget* view = pages_->ListView1;
    QTreeWidgetItem* item = view->currentItem();
    if (!item) return;
    if (!store_.remove(item->text(2).toLongLong())) return;
    delete view->takeTopLevelItem(view->indexOfTopLevelItem(item));
}

void MusicLibrary::clearAll() {
    if (store_.rows().empty()) return;
    if (!services_.prompter->askyesno(QStringLiteral("真的要删除全部列表?"))) return;
    if (store_.removeAll()) pages_->ListView1->clear();
}

// ---------------------------------------------------------------- manual commands

QString MusicLibrary::chosenTrack(Source source) {
    if (source == MusicList) return trackPath(source, currentIndex(source));
    const int index = std::max(currentIndex(source), 0);
    makeCurrent(source, index);
    listindex = index;
    return trackPath(source, index);
}

void MusicLibrary::singlePlay(Source source) {
    if (source == TimedFolder || trackCount(source) == 0) return;
    const QString path = chosenTrack(source);
    if (source == MusicList && !fileExists(channel_.resolved(path))) {
        services_.prompter->showwarning(path + QStringLiteral(" 文件不存在!"));
        return;
    }
    seqplay = randplay = false;
    status(1, modeText("单曲播放", source));
    channel_.setmanualplay();
    channel_.bassplay(path, channel_.bar()->TrackBar4->value());
}

void MusicLibrary::singleLoop(Source source) {
    if (source == TimedFolder || trackCount(source) == 0) return;
    const QString path = chosenTrack(source);
    channel_.loopfile = path;
    if (!fileExists(channel_.resolved(path))) {
        services_.prompter->showwarning(path + QStringLiteral(" 文件不存在!"));
        return;
    }
    channel_.bar()->Label31->setVisible(true);
    if (platform::Timer* t5 = channel_.loopEndWatch()) t5->stop();
    channel_.Cycle_timer().start();
    seqplay = randplay = false;
    channel_.setmanualplay();
    status(1, modeText("单曲循环", source));
    channel_.bassplay1(path, channel_.bar()->TrackBar4->value());
    channel_.cycleplay = true;
}

void MusicLibrary::sequentialPlay(Source source) {
    const int count = trackCount(source);
    if (count == 0) return;
    int start = currentIndex(source);
    if (start < 0) start = source == MusicList ? listindex : 0;
    if (start < 0 || start >= count) start = 0;  // a remembered index the list no longer has
    channel_.manualplay = true;
    listsource = source;
    listindex = start;
    makeCurrent(source, start);
    seqplay = true;
    randplay = false;
    status(1, modeText("顺序播放", source));
    playTrack(source, start, channel_.bar()->TrackBar4->value());
    channel_.setmanualplay();
}

void MusicLibrary::randomPlay(Source source) {
    const int count = trackCount(source);
    if (count == 0) return;
    channel_.manualplay = true;
    listsource = source;
    randplay = true;
    seqplay = false;
    const int index = pick(count);
    makeCurrent(source, index);
    status(1, modeText("随机播放", source));
    playTrack(source, index, channel_.bar()->TrackBar4->value());
    channel_.setmanualplay();
}

void MusicLibrary::previousTrack(Source source) {
    if (source == MusicList) return;
    const int count = trackCount(source);
    if (count == 0) return;
    listsource = source;
    channel_.manualplay = true;
    listindex = std::clamp(listindex - 1, 0, count - 1);
    makeCurrent(source, listindex);
    seqplay = true;
    randplay = false;
    playTrack(source, listindex, channel_.bar()->TrackBar4->value());
    channel_.setmanualplay();
}

void MusicLibrary::nextTrack(Source source) {
    if (source == MusicList) return;
    const int count = trackCount(source);
    if (count == 0) return;
    listsource = source;
    channel_.manualplay = true;
    listindex = listindex >= count - 1 || listindex < 0 ? 0 : listindex + 1;
    makeCurrent(source, listindex);
    seqplay = true;
    randplay = false;
    playTrack(source, listindex, channel_.bar()->TrackBar4->value());
    channel_.setmanualplay();
}

// ---------------------------------------------------------------- timetable starts

void MusicLibrary::startListSequential(const QString& endTime, int volume) {
    if (trackCount(MusicList) == 0) return;
    listsource = MusicList;
    seqplay = true;
    randplay = false;
    makeCurrent(MusicList, 0);
    channel_.itemvolume = volume;
    playTrack(MusicList, 0, volume);
    listindex = 0;
    playendtime = endTime;
}

void MusicLibrary::startFolderSequential(const QString& folder, const QString& endTime,
                                         int volume) {
    setTimedFolder(folder, QStringLiteral("播放目录"));
    if (trackCount(TimedFolder) == 0) return;
    listsource = TimedFolder;
    seqplay = true;
    randplay = false;
    channel_.itemvolume = volume;
    makeCurrent(TimedFolder, 0);
    playTrack(TimedFolder, 0, volume);
    channel_.setRunningButtons();
    channel_.bar()->Label31->setVisible(true);
    if (platform::Timer* t5 = channel_.loopEndWatch()) t5->stop();
    channel_.cycleplay = false;
    channel_.Cycle_timer().start();
    listindex = 0;
    playendtime = endTime;
}

void MusicLibrary::startListRandom(const QString& endTime, int volume) {
    const int count = trackCount(MusicList);
    if (count == 0) return;
    listsource = MusicList;
    randplay = true;
    seqplay = false;
    const int index = pick(count);
    makeCurrent(MusicList, index);
    channel_.itemvolume = volume;
    playTrack(MusicList, index, volume);
    playendtime = endTime;
}

void MusicLibrary::startFolderRandom(const QString& folder, const QString& endTime, int volume) {
    setTimedFolder(folder, QStringLiteral("当前目录"));
    const int count = trackCount(TimedFolder);
    if (count == 0) return;
    listsource = TimedFolder;
    randplay = true;
    seqplay = false;
    const int index = pick(count);
    makeCurrent(TimedFolder, index);
    channel_.itemvolume = volume;
    playTrack(TimedFolder, index, volume);
    playendtime = endTime;
}

// ---------------------------------------------------------------- continuation

void MusicLibrary::playTrack(Source source, int index, int volume, bool continuation) {
    const QString path = trackPath(source, index);
    if (services_.trace)
        services_.trace->record(QStringLiteral("list.next"),
                                {{"source", static_cast<int>(source)}, {"index", index}});
    // A start reports a missing file through the channel; the continuation skips it silently.
    if (continuation && !fileExists(channel_.resolved(path))) {
        skipping_ = true;
        return;
    }
    channel_.bassplay(path, volume);
    skipping_ = !channel_.hasStream();
}

bool MusicLibrary::trackEnded() const {
    return channel_.trackEnded() || (skipping_ && !channel_.hasStream());
}

void MusicLibrary::endListPlay() {
    seqplay = randplay = false;
    skipping_ = false;
    channel_.mp3_stopClick();
}

void MusicLibrary::Timer2Timer() {
    const Source source = static_cast<Source>(listsource);
    const int count =
        (listsource >= MusicList && listsource <= TimedFolder) ? trackCount(source) : 0;
    const bool ended = trackEnded();
    const QString now = services_.clock->timeText();
    if (seqplay) {
        if (now > playendtime) return;
        if (!ended) return;
        if (count == 0) {
            endListPlay();  // the source has no tracks left to go on with
            return;
        }
        if (listindex < count - 1) {
            ++listindex;
            makeCurrent(source, listindex);
            playTrack(source, listindex, channel_.itemvolume, true);
        } else {
            makeCurrent(source, 0);
            if (listloop || channel_.manualplay) {
                listindex = 0;
                playTrack(source, 0, channel_.itemvolume, true);
            } else {
                channel_.mp3_stopClick();
            }
        }
    }
    if (randplay && now <= playendtime && ended) {
        if (count == 0) {
            endListPlay();
            return;
        }
        listindex = pick(count);
        makeCurrent(source, listindex);
        playTrack(source, listindex, channel_.itemvolume, true);
    }
}

}  // namespace bells
