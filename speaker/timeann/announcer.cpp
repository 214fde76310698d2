#include "platform/audio/audioengine.h"
#include "platform/clock/clock.h"
#include "platform/prompter/prompter.h"
#include "platform/speech/speechengine.h"
#include "platform/trace/trace.h"
#include "speaker/core/dataset.h"
#include "speaker/core/services.h"
#include "speaker/timeann/timeann.h"

#include <QAction>
#include <QHeaderView>
#include <QTableView>

namespace timeann {

namespace {
const QString kOn = QStringLiteral("√");

// A clock stepped back by less than this (a time synchronisation, say) does not repeat an
// announcement; a larger step replays the day like every other schedule.
constexpr qint64 kRepeatGuardMs = 60'000;

bool isOn(const QVariant& v) {
    if (v.typeId() == QMetaType::QString)
        return v.toString().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    return v.toLongLong() != 0;
}
}  // namespace

TimeAnnouncer::TimeAnnouncer(core::Services& services, core::Dataset& table, QTableView* view,
                             QObject* parent)
    : QObject(parent), services_(services), table_(table), grid_(this) {
    setObjectName(QStringLiteral("timeannouncer"));
    N64 = new QAction(QStringLiteral("修改"), view ? static_cast<QObject*>(view) : this);
    N64->setObjectName(QStringLiteral("N64"));
    connect(N64, &QAction::triggered, this, &TimeAnnouncer::N64Click);

    if (view) {
        view->setModel(&grid_);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setWordWrap(false);
        view->verticalHeader()->hide();
        view->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
        view->setColumnWidth(TellTimeGrid::ColNo, 30);
        view->setColumnWidth(TellTimeGrid::ColTime, 88);
        view->setColumnWidth(TellTimeGrid::ColText, 500);
        view->setColumnWidth(TellTimeGrid::ColPlay, 32);
        view->setColumnHidden(TellTimeGrid::ColEngine, true);
        view->addAction(N64);
        view->setContextMenuPolicy(Qt::ActionsContextMenu);
    }

    telltime = new platform::Timer(*services_.clock, kIntervalMs, this);
    telltime->setObjectName(QStringLiteral("telltime"));
    connect(telltime, &platform::Timer::timeout, this, &TimeAnnouncer::telltimeTimer);
    telltime->start();
}

TimeAnnouncer::~TimeAnnouncer() {
    if (chimeStream_ && services_.audio) services_.audio->release(chimeStream_);
}

void TimeAnnouncer::getsgrid3data() {
    table_.requery();
    const int id = table_.fieldIndex(QStringLiteral("id"));
    const int stime = table_.fieldIndex(QStringLiteral("stime"));
    const int text = table_.fieldIndex(QStringLiteral("text"));
    const int speaker = table_.fieldIndex(QStringLiteral("speaker"));
    const int isplay = table_.fieldIndex(QStringLiteral("isplay"));
    std::vector<TellTimeGrid::Row> rows;
    rows.reserve(size_t(table_.recordCount()));
    for (int r = 0; r < table_.recordCount(); ++r) {
        rows.push_back({table_.value(r, id).toString(), table_.value(r, stime).toString(),
                        table_.value(r, text).toString(), table_.value(r, speaker).toString(),
                        isOn(table_.value(r, isplay)) ? kOn : QString()});
    }
    grid_.setRows(std::move(rows));
}

void TimeAnnouncer::telltimeTimer() {
    // The wait inside saytime keeps the event loop running; a tick that reaches us there
    // belongs to the second being announced.
    if (waiting_ || grid_.dataRows() == 0) return;
    const QDateTime now = services_.clock->now();
    const qint64 tick = services_.clock->tickMs();
    const QString second = now.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (second == lastSecond_ && tick - lastSecondTick_ < kRepeatGuardMs) return;
    const QString hms = now.toString(QStringLiteral("hh:mm:ss"));

    const QPointer<TimeAnnouncer> alive(this);
    // The grid may be refilled during a wait: its size is read afresh for every row.
    for (int row = 0; row < grid_.dataRows(); ++row) {
        if (grid_.cell(row, TellTimeGrid::ColTime) != hms ||
            grid_.cell(row, TellTimeGrid::ColPlay) != kOn)
            continue;
        lastSecond_ = second;
        lastSecondTick_ = tick;
        bool ok = false;
        const int id = grid_.cell(row, TellTimeGrid::ColNo).toInt(&ok);
        if (!ok) continue;
        saytime(id);
        if (!alive) return;
    }
}

void TimeAnnouncer::saytime(int id) {
    // The row whose "No" is the id: with the shipped table that is row id of the grid, and
    // an id outside the grid finds nothing instead of a cell that does not exist.
    int row = -1;
    for (int r = 0; r < grid_.dataRows() && row < 0; ++r) {
        bool ok = false;
        if (grid_.cell(r, TellTimeGrid::ColNo).toInt(&ok) == id && ok) row = r;
    }
    if (row < 0) return;
    const QString text = announcementText(grid_.cell(row, TellTimeGrid::ColTime).left(5));

    playChime();
    const QPointer<TimeAnnouncer> alive(this);
    const bool outer = !waiting_;
    waiting_ = true;
    services_.clock->delayms(kSpeechDelayMs);
    if (!alive) return;
    if (outer) waiting_ = false;
    if (text.isEmpty()) return;

    platform::SpeechEngine* speech = services_.speech;
    if (speech && voiceIndex) speech->selectVoice(voiceIndex());
    const bool queued = speech && speech->speakAsync(text) != 0;
    if (services_.trace) {
        if (queued) {
            services_.trace->record(QStringLiteral("announce"), {{QStringLiteral("text"), text}});
        } else {
            services_.trace->record(QStringLiteral("announce.fail"),
                                    {{QStringLiteral("text"), text},
                                     {QStringLiteral("reason"), QStringLiteral("no speech")}});
        }
    }
}

void TimeAnnouncer::playChime() {
    platform::AudioEngine* audio = services_.audio;
    if (audio && chimeStream_) {
        // A new chime replaces one still ringing, as a system sound does.
        audio->release(chimeStream_);
        chimeStream_ = 0;
    }
    QString failure;
    if (!audio) {
        failure = QStringLiteral("no output");
    } else {
        if (chime_.isEmpty()) chime_ = chimeWav();
        const platform::AudioHandle h = chime_.isEmpty() ? 0 : audio->openMemory(chime_);
        if (h < platform::AudioEngine::kFirstHandle) {
            failure = chime_.isEmpty() ? QStringLiteral("missing") : QStringLiteral("unplayable");
        } else if (!audio->play(h)) {
            audio->release(h);
            failure = QStringLiteral("unplayable");
        } else {
            chimeStream_ = h;
        }
    }
    if (!services_.trace) return;
    if (failure.isEmpty()) {
        services_.trace->record(QStringLiteral("chime"));
    } else {
        services_.trace->record(QStringLiteral("chime.fail"),
                                {{QStringLiteral("reason"), failure}});
    }
}

void TimeAnnouncer::N64Click() {
    if (!confirmPassword || !confirmPassword()) return;
    if (QDialog* dialog = editDialog ? editDialog() : nullptr) services_.prompter->exec(*dialog);
    getsgrid3data();
}

}  // namespace timeann
