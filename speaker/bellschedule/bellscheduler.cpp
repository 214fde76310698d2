#include "speaker/bellschedule/bellscheduler.h"

#include "platform/clock/clock.h"
#include "platform/prompter/prompter.h"
#include "platform/trace/trace.h"
#include "speaker/bells/channelbar.h"
#include "speaker/bells/musiclibrary.h"
#include "speaker/bells/playbackchannel.h"
#include "speaker/bellschedule/fchangtime.h"
#include "speaker/bellschedule/pictures.h"
#include "speaker/bellschedule/times.h"
#include "speaker/core/dm.h"
#include "speaker/core/services.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QSignalBlocker>
#include <QSlider>
#include <QTableView>
#include <QToolButton>

namespace bellschedule {

namespace {

const QString kOnlyRainy = QStringLiteral("仅雨天");
const QString kOnlySunny = QStringLiteral("仅晴天");
const QString kSingle = QStringLiteral("单曲播放");
const QString kSequential = QStringLiteral("顺序播放");
const QString kRandom = QStringLiteral("随机播放");
const QString kFolderPrefix = QStringLiteral("目录");
const QString kMusicList = QStringLiteral("播放列表框音乐");

QToolButton* button(QWidget* parent, const char* name, const QString& hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setIconSize(QSize(24, 24));
    return b;
}

}  // namespace

BellScheduler::BellScheduler(core::Services& services, core::DM& dm,
                             bells::PlaybackChannel& channel, bells::MusicLibrary& library,
                             BellWidgets widgets, BellState state, QObject* parent)
    : QObject(parent),
      playmp3(new platform::Timer(*services.clock, kDueIntervalMs, this)),
      Timer5(new platform::Timer(*services.clock, kLoopWatchIntervalMs, this)),
      services_(services),
      dm_(dm),
      channel_(channel),
      library_(library),
      widgets_(std::move(widgets)),
      state_(state),
      grid_(this) {
    setObjectName(QStringLiteral("BellScheduler"));
    playmp3->setObjectName(QStringLiteral("playmp3"));
    Timer5->setObjectName(QStringLiteral("Timer5"));
    connect(playmp3, &platform::Timer::timeout, this, &BellScheduler::playmp3Timer);
    connect(Timer5, &platform::Timer::timeout, this, &BellScheduler::Timer5Timer);
    channel_.setLoopEndWatch(Timer5);
    // Another command that takes or stops the channel ends the bell that had it.
    connect(&channel_, &bells::PlaybackChannel::manualModeSet, this,
            [this] { bellEnded("replaced"); });
    connect(&channel_, &bells::PlaybackChannel::stopCommand, this,
            [this] { bellEnded("stopped"); });

    // The side panel: timetable editing and the three state buttons.
    panel_ = new QWidget;
    panel_->setObjectName(QStringLiteral("BellPanel"));
    auto* row = new QHBoxLayout(panel_);
    row->setContentsMargins(0, 0, 0, 0);
    SpeedButton6 = button(panel_, "SpeedButton6", QStringLiteral("时间表编辑"));
    SpeedButton6->setText(QStringLiteral("时间表编辑"));
    SpeedButton6->setAutoRaise(false);
    ToolButton2 = button(panel_, "ToolButton2", QStringLiteral("已锁定"));
    ToolButton3 = button(panel_, "ToolButton3", QStringLiteral("天气状况，锁定状态下不能更改"));
    ToolButton5 = button(panel_, "ToolButton5", QStringLiteral("锁定状况下不能更改"));
    for (QWidget* w : {static_cast<QWidget*>(SpeedButton6), static_cast<QWidget*>(ToolButton2),
                       static_cast<QWidget*>(ToolButton3), static_cast<QWidget*>(ToolButton5)})
        row->addWidget(w);
    connect(SpeedButton6, &QToolButton::clicked, this, [this] {
        if (openTimetables) openTimetables();
    });
    connect(ToolButton2, &QToolButton::clicked, this, &BellScheduler::ToolButton2Click);
    connect(ToolButton3, &QToolButton::clicked, this, &BellScheduler::ToolButton3Click);
    connect(ToolButton5, &QToolButton::clicked, this, &BellScheduler::ToolButton5Click);

    gridMenu = new QMenu;
    gridMenu->setObjectName(QStringLiteral("PopupMenu2"));
    auto item = [this](const char* name, const QString& caption) {
        QAction* a = gridMenu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    N_addentry = item("N_addentry", QStringLiteral("增加铃声"));
    N_manualtest = item("N_manualtest", QStringLiteral("手动试听"));
    N_shifttimes = item("N_shifttimes", QStringLiteral("临时变更作息时间"));
    N_tempedit = item("N_tempedit", QStringLiteral("临时修改当前时间"));
    connect(N_addentry, &QAction::triggered, this, [this] {
        if (addEntry) addEntry();
    });
    connect(N_manualtest, &QAction::triggered, this, [this] { manualTest(currentRow()); });
    connect(N_shifttimes, &QAction::triggered, this, &BellScheduler::openShiftDialog);
    connect(N_tempedit, &QAction::triggered, this, &BellScheduler::openTempEdit);

    if (QTableView* view = widgets_.SGrid2) {
        gridMenu->setParent(view, Qt::Popup);
        view->setModel(&grid_);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->verticalHeader()->hide();
        view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
        view->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
        for (int c = 0; c < BellGrid::ColumnCount; ++c) {
            const int w = BellGrid::columnWidth(c);
            if (w == 0)
                view->setColumnHidden(c, true);
            else
                view->setColumnWidth(c, w);
        }
        // Teal with white text.
        QPalette pal = view->palette();
        pal.setColor(QPalette::Base, QColor(0, 128, 128));
        pal.setColor(QPalette::Text, Qt::white);
        view->setPalette(pal);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& at) {
            gridMenu->popup(view->viewport()->mapToGlobal(at));
        });
    }
    if (QComboBox* c = widgets_.Comb1) {
        c->setEnabled(false);
        connect(c, &QComboBox::currentIndexChanged, this, [this] { Comb1Change(); });
    }
    setLocked(true);
    showStatePictures();
    playmp3->start();
}

BellScheduler::~BellScheduler() {
    channel_.setLoopEndWatch(nullptr);
    if (panel_ && !panel_->parent()) delete panel_.data();
    if (!gridMenu->parent()) delete gridMenu;
}

void BellScheduler::status(int panel, const QString& text) {
    if (widgets_.setStatusText) widgets_.setStatusText(panel, text);
}

bool BellScheduler::playable(const QString& path) const {
    platform::AudioEngine* engine = channel_.engine();
    if (!engine) return false;
    const platform::AudioHandle handle = engine->openFile(path);
    if (handle < platform::AudioEngine::kFirstHandle) return false;
    engine->release(handle);
    return true;
}

QString BellScheduler::resolvePath(const QString& path) const {
    if (path.isEmpty() || QDir::isAbsolutePath(path)) return path;
    return services_.programDir + path;
}

// ---------------------------------------------------------------- timetable and grid

void BellScheduler::getschlist() {
    QComboBox* combo = widgets_.Comb1;
    {
        const QSignalBlocker quiet(combo);
        combo->clear();
        auto& timetables = dm_.Q_scheduling();  // in id order
        timetables.requery();
        const int column = timetables.fieldIndex(QStringLiteral("scheduling"));
        for (int row = 0; row < timetables.recordCount(); ++row) {
            const QVariant name = timetables.value(row, column);
            if (!name.isNull()) combo->addItem(name.toString());
        }
        if (state_.schindex >= combo->count() || state_.schindex < 0) state_.schindex = 0;
        combo->setCurrentIndex(state_.schindex);
    }
    state_.schname = combo->currentText();
    openEntries();
}

void BellScheduler::openEntries() {
    core::Dataset& entries = dm_.Q_mp3();
    if (entries.sql() != core::DM::mp3Sql) entries.setSql(core::DM::mp3Sql);
    // Parameter binding: blanks, quotes and any characters in a name are taken as they are.
    entries.setParam(QStringLiteral("aa"), state_.schname.trimmed());
    if (entries.isOpen())
        entries.requery();
    else
        entries.open();
}

void BellScheduler::Comb1Change() {
    state_.schindex = std::max(0, widgets_.Comb1->currentIndex());
    state_.schname = widgets_.Comb1->currentText();
    openEntries();
    getsgrid2data();
    chkhaveplayed();
}

void BellScheduler::getsgrid2data() {
    core::Dataset& entries = dm_.Q_mp3();
    const int n = entries.isOpen() ? entries.recordCount() : 0;
    grid_.setEntryRows(n);
    for (int r = 0; r < n; ++r) grid_.setRow(r + 1, BellGrid::cellsOf(entries, r));
    // A bell that plays goes on; its events keep the row it started from.
}

void BellScheduler::readClock() {
    const qint64 tick = services_.clock->tickMs();
    // The wall clock is read at most once a second (reading it costs a time-zone check);
    // in between the monotonic tick carries it on, so a clock change is seen within a second.
    if (syncTick_ < 0 || tick < syncTick_ || tick - syncTick_ >= 1000) {
        const QDateTime now = services_.clock->now();
        syncTick_ = tick;
        syncMs_ = now.time().msecsSinceStartOfDay();
        syncDay_ = now.date().dayOfWeek();
    }
    constexpr qint64 kDayMs = 24 * 60 * 60 * 1000;
    const qint64 ms = syncMs_ + (tick - syncTick_);
    nowDay_ = ms >= kDayMs ? syncDay_ % 7 + 1 : syncDay_;
    const int second = int((ms % kDayMs) / 1000);
    if (second != nowSecond_) {
        nowSecond_ = second;
        nowText_ =
            QTime::fromMSecsSinceStartOfDay(second * 1000).toString(QStringLiteral("hh:mm:ss"));
    }
}

const QString& BellScheduler::nowText() {
    readClock();
    return nowText_;
}

bool BellScheduler::insideWindow(int row, const QString& now) const {
    return grid_.cell(row, BellGrid::ColStart) < now && now < grid_.cell(row, BellGrid::ColEnd);
}

void BellScheduler::chkhaveplayed() {
    if (!state_.bellrunning || grid_.entryRows() == 0 || state_.nomusicday) return;
    const QString now = nowText();
    for (int r = 1; r <= grid_.entryRows(); ++r) {
        if (!(now > grid_.cell(r, BellGrid::ColEnd)) || !grid_.cell(r, BellGrid::ColMark).isEmpty())
            continue;
        const QString& weather = grid_.cell(r, BellGrid::ColWeather);
        const bool other = state_.sunnymode ? weather == kOnlyRainy : weather == kOnlySunny;
        grid_.setCell(r, BellGrid::ColMark, other ? BellGrid::kCross : BellGrid::kTick);
    }
}

void BellScheduler::shiftTimes(int minutes) {
    for (int r = 1; r <= grid_.entryRows(); ++r) {
        grid_.setCell(r, BellGrid::ColStart,
                      shiftTimeText(grid_.cell(r, BellGrid::ColStart), minutes));
        grid_.setCell(r, BellGrid::ColEnd, shiftTimeText(grid_.cell(r, BellGrid::ColEnd), minutes));
    }
}

// ---------------------------------------------------------------- due check and playing

void BellScheduler::playmp3Timer() {
    if (!state_.bellrunning || grid_.entryRows() == 0 || state_.nomusicday) return;
    const QString& now = nowText();
    bool open = false;
    for (int r = 1; r <= grid_.entryRows() && !open; ++r) open = insideWindow(r, now);
    if (!open) {
        // No window is open: automatic playback ends here (the entry's end time).
        if (!channel_.manualplay) stopBells("window");
        return;
    }
    const int today = BellGrid::ColMonday - 1 + nowDay_;  // as read by nowText()
    for (int r = 1; r <= grid_.entryRows(); ++r) {
        if (!insideWindow(r, now)) continue;
        if (grid_.cell(r, today) != BellGrid::kTick) continue;
        if (!grid_.cell(r, BellGrid::ColMark).isEmpty()) continue;
        const QString& weather = grid_.cell(r, BellGrid::ColWeather);
        if (state_.sunnymode ? weather == kOnlyRainy : weather == kOnlySunny) {
            grid_.setCell(r, BellGrid::ColMark, BellGrid::kCross);
            services_.trace->record(
                QStringLiteral("bell.skip"),
                {{"row", r}, {"name", grid_.cell(r, BellGrid::ColName)}, {"reason", "weather"}});
            continue;
        }
        autoplayrow(r);
    }
}

void BellScheduler::autoplayrow(int row) {
    if (row < 1 || row > grid_.entryRows()) return;
    if (platform::Timer* advance = channel_.backgroundAdvance()) advance->stop();
    // Marked before anything plays, so a failure to play still counts as played.
    grid_.setCell(row, BellGrid::ColMark, BellGrid::kTick);
    channel_.manualplay = false;
    channel_.setRunningButtons();
    status(1, QStringLiteral("自动播放"));
    services_.trace->record(QStringLiteral("bell.start"),
                            {{"row", row},
                             {"name", grid_.cell(row, BellGrid::ColName)},
                             {"file", grid_.cell(row, BellGrid::ColFile)},
                             {"mode", grid_.cell(row, BellGrid::ColModel)},
                             {"volume", grid_.cell(row, BellGrid::ColVolume).toInt()}});
    const int previous = activeRow_;
    const QString previousName = activeName_;
    activeRow_ = row;
    activeName_ = grid_.cell(row, BellGrid::ColName);
    playschrow(row);
    if (activeRow_ != row) {
        // Nothing of this entry plays: the bell that had the channel goes on.
        activeRow_ = previous;
        activeName_ = previousName;
    } else if (previous != 0) {
        services_.trace->record(
            QStringLiteral("bell.stop"),
            {{"row", previous}, {"name", previousName}, {"reason", "replaced"}});
    }
}

void BellScheduler::failed(int row, const char* reason, const QString& text) {
    if (!text.isEmpty()) status(3, text);
    services_.trace->record(QStringLiteral("bell.fail"),
                            {{"row", row},
                             {"name", grid_.cell(row, BellGrid::ColName)},
                             {"file", grid_.cell(row, BellGrid::ColFile)},
                             {"reason", reason}});
    if (activeRow_ == row) activeRow_ = 0;
}

void BellScheduler::playschrow(int row) {
    if (row < 1 || row > grid_.entryRows()) return;
    const QString file = grid_.cell(row, BellGrid::ColFile);
    const QString& model = grid_.cell(row, BellGrid::ColModel);
    const bool loop = grid_.cell(row, BellGrid::ColLoop) == BellGrid::kTick;
    const QString end = grid_.cell(row, BellGrid::ColEnd);
    const int volume = grid_.cell(row, BellGrid::ColVolume).toInt();

    if (file.startsWith(QStringLiteral("文件")) || file.startsWith(QStringLiteral("电台"))) {
        failed(row, "not-played", QString());
        return;
    }
    if (model == kSingle) {
        const QString path = resolvePath(file.trimmed());
        if (path.isEmpty() || !QFileInfo(path).isFile()) {
            failed(row, "missing", QStringLiteral("文件：") + file + QStringLiteral(" 不存在"));
            return;
        }
        // Tried first, so that a file that does not open leaves what plays alone.
        if (!playable(path)) {
            failed(row, "unplayable", QStringLiteral("不能播放:") + path);
            return;
        }
        channel_.setRunningButtons();
        channel_.bar()->Label31->setVisible(true);
        channel_.bar()->TrackBar3->setMinimum(0);
        if (loop) {
            Timer5->start();
            loopendtime = end;
            channel_.cycleplay = true;
            channel_.loopfile = path;
        } else {
            Timer5->stop();
            channel_.cycleplay = false;
        }
        library_.seqplay = library_.randplay = false;
        channel_.itemvolume = volume;
        channel_.bassplay1(path, volume);
        if (!channel_.hasStream()) {
            // A file that does not open cannot loop: no retry every second until the end.
            Timer5->stop();
            channel_.cycleplay = false;
            failed(row, "unplayable", QString());  // the channel has said why
        }
        return;
    }
    const bool sequential = model == kSequential;
    if (!sequential && model != kRandom) {
        failed(row, "not-played", QString());
        return;
    }
    if (sequential) library_.listloop = loop;
    if (file.startsWith(kFolderPrefix)) {
        const QString folder = resolvePath(bells::MusicLibrary::entryFolder(file));
        if (sequential)
            library_.startFolderSequential(folder, end, volume);
        else
            library_.startFolderRandom(folder, end, volume);
        if (library_.trackCount(bells::MusicLibrary::TimedFolder) == 0)
            failed(row, "empty-folder",
                   QStringLiteral("目录：") + folder + QStringLiteral(" 没有可播放的文件"));
        return;
    }
    if (library_.trackCount(bells::MusicLibrary::MusicList) == 0) {
        failed(row, "empty-list", QStringLiteral("播放列表框没有歌曲"));
        return;
    }
    if (sequential)
        library_.startListSequential(end, volume);
    else
        library_.startListRandom(end, volume);
}

void BellScheduler::Timer5Timer() {
    if (nowText() > loopendtime) {
        Timer5->stop();
        stopBells("loop-end");
        return;
    }
    if (channel_.trackEnded()) {
        // The file has played out: again from its beginning.
        channel_.bar()->TrackBar3->setValue(0);
        if (channel_.manualplay)
            channel_.mp3_playerClick();
        else
            channel_.replay();
    }
}

void BellScheduler::bellEnded(const char* reason) {
    if (activeRow_ == 0) return;
    const int row = activeRow_;
    activeRow_ = 0;
    services_.trace->record(QStringLiteral("bell.stop"),
                            {{"row", row}, {"name", activeName_}, {"reason", reason}});
}

void BellScheduler::stopBells(const char* reason) {
    bellEnded(reason);
    channel_.mp3_stopClick();
}

// ---------------------------------------------------------------- buttons

void BellScheduler::setLocked(bool locked) {
    bellocked = locked;
    ToolButton2->setToolTip(locked ? QStringLiteral("已锁定") : QStringLiteral("解锁状态"));
    ToolButton2->setIcon(lockPicture(locked));
    if (widgets_.Comb1) widgets_.Comb1->setEnabled(!locked);
    ToolButton3->setEnabled(!locked);
    ToolButton5->setEnabled(!locked);
}

void BellScheduler::showStatePictures() {
    ToolButton3->setIcon(
        statePicture(state_.sunnymode ? StatePicture::Sunny : StatePicture::Rainy));
    ToolButton5->setIcon(
        statePicture(state_.bellrunning ? StatePicture::Running : StatePicture::Paused));
}

void BellScheduler::ToolButton2Click() {
    if (bellocked) {
        if (!confirmPassword || !confirmPassword()) return;
        setLocked(false);
    } else {
        setLocked(true);
    }
}

void BellScheduler::ToolButton3Click() {
    if (bellocked) return;
    platform::Prompter& ask = *services_.prompter;
    if (state_.sunnymode) {
        if (!ask.askyesno(QStringLiteral("您确定要切换到雨天模式？"))) return;
        state_.sunnymode = false;
    } else {
        if (!ask.askyesno(QStringLiteral("您确定要切换到晴天模式？"))) return;
        state_.sunnymode = true;
    }
    showStatePictures();
}

void BellScheduler::ToolButton5Click() {
    if (bellocked) return;
    platform::Prompter& ask = *services_.prompter;
    if (state_.bellrunning) {
        if (!ask.askyesno(QStringLiteral("您确认要暂停打铃系统，确认后将不会自动打铃？"))) return;
        state_.bellrunning = false;  // what plays goes on playing
        showStatePictures();
    } else {
        if (!ask.askyesno(QStringLiteral("您确定要运行打铃系统？"))) return;
        state_.bellrunning = true;
        showStatePictures();
        chkhaveplayed();
    }
}

QString BellScheduler::selectedTimetable() const {
    return widgets_.Comb1 ? widgets_.Comb1->currentText() : state_.schname;
}

int BellScheduler::currentRow() const {
    if (!widgets_.SGrid2) return 0;
    const QModelIndex at = widgets_.SGrid2->currentIndex();
    return at.isValid() ? at.row() + 1 : 0;
}

void BellScheduler::manualTest(int row) {
    if (row < 1 || row > grid_.entryRows()) return;
    const QString file = grid_.cell(row, BellGrid::ColFile);
    if (file == kMusicList) {
        library_.sequentialPlay(bells::MusicLibrary::MusicList);
        return;
    }
    if (file.startsWith(kFolderPrefix)) {
        library_.setTimedFolder(resolvePath(bells::MusicLibrary::entryFolder(file)),
                                QStringLiteral("当前目录"));
        library_.sequentialPlay(bells::MusicLibrary::TimedFolder);
        return;
    }
    const QString path = resolvePath(file.trimmed());
    if (!path.isEmpty() && QFileInfo(path).isFile()) {
        library_.seqplay = library_.randplay = false;
        channel_.setmanualplay();
        channel_.bassplay(path, channel_.bar()->TrackBar4->value());
        return;
    }
    services_.prompter->showwarning(file + QStringLiteral(" 文件不存在!"));
}

void BellScheduler::openShiftDialog() {
    if (!confirmPassword || !confirmPassword()) return;
    if (!fchangtime_) fchangtime_ = std::make_unique<Tfchangtime>(services_, *this);
    services_.prompter->exec(*fchangtime_);
}

void BellScheduler::openTempEdit() {
    if (!confirmPassword || !confirmPassword()) return;
    if (QDialog* dialog = tempEditDialog ? tempEditDialog() : nullptr)
        services_.prompter->exec(*dialog);
}

}  // namespace bellschedule
