#include "speaker/broadcast/textscheduler.h"

#include "platform/clock/clock.h"
#include "platform/prompter/prompter.h"
#include "platform/speech/speechengine.h"
#include "platform/trace/trace.h"
#include "speaker/core/dataset.h"
#include "speaker/core/dm.h"
#include "speaker/core/services.h"
#include "speaker/speech/manualreading.h"
#include "speaker/speech/readingstate.h"
#include "speaker/speech/voicepanel.h"
#include "speaker/speech/voices.h"

#include <QTableView>
#include <QTextCursor>
#include <QTextEdit>

namespace broadcast {

namespace {
using L = TodayList;
const QString kTick = QStringLiteral("√");
const QString kArrow = QStringLiteral("→");
const QString kCompleted = QStringLiteral("completed");
const QString kPlanSql = QStringLiteral(
    "select a.*,b.content as memofile from draft a left join textfile b on a.textfileid=b.id "
    "where a.id=:aa");

bool yes(const QVariant& v) {
    return v.isValid() && !v.isNull() && v.toInt() != 0;
}

QString tick(const QVariant& v) {
    return yes(v) ? kTick : QString();
}

QString textOf(const QVariant& v) {
    return v.isNull() ? QString() : v.toString();
}

// The current time of day as the "hh:mm:ss" text the cells hold, built without allocating:
// the step runs ten times a second all day.
class NowText {
public:
    explicit NowText(const QTime& t) {
        const int f[3] = {t.hour(), t.minute(), t.second()};
        for (int i = 0; i < 3; ++i) {
            c_[i * 3] = char16_t(u'0' + f[i] / 10);
            c_[i * 3 + 1] = char16_t(u'0' + f[i] % 10);
            if (i < 2) c_[i * 3 + 2] = u':';
        }
    }
    // Compared as text, as the cells are.
    bool laterThan(const QString& cell) const { return QStringView(c_, 8).compare(cell) > 0; }
    bool earlierThan(const QString& cell) const { return QStringView(c_, 8).compare(cell) < 0; }

private:
    char16_t c_[8];
};
}  // namespace

TextScheduler::TextScheduler(core::Services& services, core::DM& dm, Hooks hooks, QObject* parent)
    : QObject(parent), services_(services), dm_(dm), hooks_(std::move(hooks)) {
    if (!hooks_.reading) ownState_ = std::make_unique<speech::ReadingState>();
    playtext = new platform::Timer(*services_.clock, kIntervalMs, this);
    playtext->setObjectName(QStringLiteral("playtext"));
    connect(playtext, &platform::Timer::timeout, this, &TextScheduler::playtextTimer);
    playtext->start();
}

TextScheduler::~TextScheduler() = default;

void TextScheduler::attach(QTableView* view) {
    view_ = view;
    list_.attach(view);
}

speech::ReadingState& TextScheduler::state() {
    return hooks_.reading ? hooks_.reading->state() : *ownState_;
}

void TextScheduler::stopReading() {
    if (hooks_.reading) hooks_.reading->SB_stopClick();
}

void TextScheduler::musicStop() {
    if (hooks_.musicStop) hooks_.musicStop();
}

int TextScheduler::idOf(int row) const {
    return list_.at(row, L::ColId).toInt();
}

// ---------------------------------------------------------------- the list

void TextScheduler::gettodaydata() {
    core::Dataset& plans = dm_.Q_draft();
    // Announced as stopped: a rebuild starts every plan over.
    for (int r = 1; r <= list_.planRows() && r < int(started_.size()); ++r) complete(r, "stopped");
    started_.clear();
    reported_.clear();
    blankRow_ = 0;
    if (plans.recordCount() == 0) {
        list_.setRows({});
        return;
    }
    planrow = 1;
    planmusicon = false;

    core::Dataset& texts = dm_.Q_textfile();
    const int textId = texts.fieldIndex(QStringLiteral("ID"));
    const int textTitle = texts.fieldIndex(QStringLiteral("title"));
    const int textContent = texts.fieldIndex(QStringLiteral("content"));
    auto field = [&plans](int row, const char* name) {
        return plans.value(row, plans.fieldIndex(QString::fromLatin1(name)));
    };
    static constexpr const char* kDays[7] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                             "Friday", "Saturday", "Sunday"};
    std::vector<L::Row> rows(size_t(plans.recordCount()));
    // Read by position, so the shared dataset's current row (the plan editor's) stays.
    for (int n = 0; n < plans.recordCount(); ++n) {
        L::Row& row = rows[size_t(n)];
        row[L::ColNo] = QString::number(n + 1);
        row[L::ColStart] = textOf(field(n, "playtime"));
        row[L::ColEnd] = textOf(field(n, "endtime"));
        const QVariant textfileid = field(n, "textfileid");
        for (int t = 0; !textfileid.isNull() && t < texts.recordCount(); ++t) {
            const QVariant id = texts.value(t, textId);
            if (id.isNull() || id.toLongLong() != textfileid.toLongLong()) continue;
            row[L::ColTitle] = textOf(texts.value(t, textTitle));
            const QVariant content = texts.value(t, textContent);
            if (content.isNull() || content.toString().trimmed().isEmpty()) {
                services_.prompter->showwarning(
                    QStringLiteral("您的播音计划引用了一条空的文稿，到时不能播音，请返回修改！"));
            } else {
                row[L::ColContent] = content.toString();
            }
            break;
        }
        for (int d = 0; d < 7; ++d) row[size_t(L::ColMonday + d)] = tick(field(n, kDays[d]));
        row[L::ColTimed] = tick(field(n, "isstop"));
        row[L::ColTimes] = textOf(field(n, "txttimes"));
        row[L::ColPause] = textOf(field(n, "stoptime"));
        row[L::ColId] = textOf(field(n, "id"));
        row[L::ColMusic] = tick(field(n, "playmusic"));
        const QString model = textOf(field(n, "playmodel"));
        if (!model.trimmed().isEmpty()) row[L::ColPlayModel] = model;
        row[L::ColTtsVolume] = textOf(field(n, "ttsvolume"));
        row[L::ColMusicVolume] = textOf(field(n, "musicvolume"));
        row[L::ColRate] = textOf(field(n, "rate"));
        row[L::ColSpeaker] = textOf(field(n, "speaker"));
        row[L::ColMusicEnded] = tick(field(n, "musicended"));
    }
    started_.assign(rows.size() + 1, 0);
    reported_.assign(rows.size() + 1, 0);
    list_.setRows(std::move(rows));
}

void TextScheduler::chkhaveplayed1() {
    if (list_.planRows() == 0 || (hooks_.notextday && hooks_.notextday())) return;
    const NowText now(services_.clock->now().time());
    for (int r = 1; r <= list_.planRows(); ++r)
        if (now.laterThan(list_.at(r, L::ColEnd)) && list_.at(r, L::ColMark).isEmpty())
            list_.setCell(r, L::ColMark, kTick);
}

int TextScheduler::currentPlanId() const {
    if (!view_ || !view_->currentIndex().isValid()) return 0;
    return idOf(view_->currentIndex().row() + 1);
}

QString TextScheduler::currentPlanContent() const {
    if (!view_ || !view_->currentIndex().isValid()) return {};
    return list_.cell(view_->currentIndex().row() + 1, L::ColContent);
}

// ---------------------------------------------------------------- the step

void TextScheduler::complete(int row, const char* reason) {
    if (row < 1 || row >= int(started_.size()) || !started_[size_t(row)] || reported_[size_t(row)])
        return;
    reported_[size_t(row)] = 1;
    services_.trace->record(QStringLiteral("plan.complete"),
                            {{QStringLiteral("id"), idOf(row)},
                             {QStringLiteral("reason"), QString::fromLatin1(reason)}});
}

void TextScheduler::setVolumeFrom(int row) {
    bool ok = false;
    const int volume = list_.at(row, L::ColTtsVolume).toInt(&ok);
    // A plan without a volume keeps the engine's.
    if (ok && services_.speech) services_.speech->setVolume(std::min(volume, 100));
}

void TextScheduler::playtextTimer() {
    const int last = list_.planRows();
    // Past the last row every later step finds nothing more: the day's idle path.
    if ((hooks_.notextday && hooks_.notextday()) || last == 0 || planrow > last) return;
    // The pointer never needs to go further than one past the last row.
    auto advance = [this, last] {
        if (planrow <= last) ++planrow;
    };
    const QDateTime now = services_.clock->now();
    const int today = L::ColMonday - 1 + now.date().dayOfWeek();  // Qt: Monday 1 … Sunday 7

    if (list_.at(planrow, today).isEmpty() || list_.at(planrow, L::ColTimed).isEmpty()) advance();
    if (list_.at(planrow, L::ColStatus) == kCompleted) {
        if (list_.ticked(planrow, L::ColMusicEnded)) {
            musicStop();
            planmusicon = false;
        }
        advance();
        planplaying = false;
    }
    if (list_.at(planrow, L::ColTimed).isEmpty()) advance();
    const bool runsToday = list_.ticked(planrow, today) && list_.ticked(planrow, L::ColTimed);
    if (planrow < 1 || planrow > last) return;

    const int row = planrow;
    speech::ReadingState& s = state();
    const NowText t(now.time());
    const QString& start = list_.at(row, L::ColStart);
    const QString& end = list_.at(row, L::ColEnd);
    const QString& timesText = list_.at(row, L::ColTimes);
    bool timesOk = false;
    const int times = timesText.trimmed().toInt(&timesOk);
    const bool timesGiven = !timesText.trimmed().isEmpty();
    const bool inWindow = t.laterThan(start) && t.earlierThan(end);

    // The window closed while the plan was playing.
    if (t.laterThan(end) && planplaying) {
        stopReading();
        if (list_.ticked(row, L::ColMusicEnded)) {
            musicStop();
            planmusicon = false;
        }
        list_.setCell(row, L::ColMark, kTick);
        list_.setCell(row, L::ColStatus, kCompleted);
        planplaying = false;
        complete(row, "window");
    }
    // The window closed while it was not playing (never started, or taken over by hand).
    if (t.laterThan(end) && !planplaying && list_.at(row, L::ColStatus) != kCompleted) {
        list_.setCell(row, L::ColMark, kTick);
        list_.setCell(row, L::ColStatus, kCompleted);
        complete(row, "stopped");
    }
    // Every reading done.
    if (timesGiven && s.readcount >= times && !s.readbusy && planplaying) {
        if (!list_.ticked(row, L::ColMark)) list_.setCell(row, L::ColMark, kTick);
        stopReading();
        if (list_.ticked(row, L::ColMusicEnded)) {
            musicStop();
            planmusicon = false;
        }
        list_.setCell(row, L::ColStatus, kCompleted);
        planplaying = false;
        complete(row, "readings");
    }
    // The first reading.
    if (inWindow && list_.ticked(row, L::ColTimed) && list_.at(row, L::ColMark).isEmpty() &&
        runsToday) {
        list_.setCell(row, L::ColMark, timesText == QLatin1String("1") ? kTick : kArrow);
        s.readcount = 0;
        stopReading();
        setVolumeFrom(row);
        s.readbusy = true;
        playplan(idOf(row));
    }
    // Further readings, each its pause after the end of the one before. A plan whose text
    // was blank is not offered again.
    if (timesGiven && runsToday && inWindow && s.readcount < times && !s.isspeaking &&
        row != blankRow_ &&
        now.toMSecsSinceEpoch() >
            s.readendtime + qint64(list_.at(row, L::ColPause).toInt()) * 1000) {
        if (t.earlierThan(end)) {
            setVolumeFrom(row);
            playplan(idOf(row));
        }
    }
    // Every reading done inside the window. Only for a plan that runs today: a row skipped
    // for its weekday is never marked as read.
    if (inWindow && timesOk && times == s.readcount && !s.readbusy && runsToday) {
        const bool wasCompleted = list_.at(row, L::ColStatus) == kCompleted;
        list_.setCell(row, L::ColStatus, kCompleted);
        list_.setCell(row, L::ColMark, kTick);
        list_.setCell(row, L::ColAllRead, kTick);
        if (list_.ticked(row, L::ColMusicEnded)) {
            stopReading();
            planmusicon = false;
        }
        if (!wasCompleted) complete(row, "readings");
    }
}

// ---------------------------------------------------------------- playing a plan

void TextScheduler::selectVoiceOf(const QString& speaker) {
    speech::VoicePanel* voices = hooks_.voices ? hooks_.voices() : nullptr;
    if (!voices) return;
    int index = -1;
    if (!speaker.trimmed().isEmpty()) index = voices->findVoice(speech::descriptionOf(speaker));
    // No stored voice, or one no longer installed: the voice the window's chooser shows.
    if (index < 0) index = voices->chosenIndex();
    if (index >= 0) voices->selectvoice(index);
}

void TextScheduler::playplan(int id) {
    core::Dataset& q = dm_.q_tmp();
    q.setSql(kPlanSql);
    q.setParam(QStringLiteral("aa"), id);
    const bool found = q.open() && !q.isEmpty();
    speech::ReadingState& s = state();
    s.ttsactive = true;
    s.stopread = true;

    const QString text = found ? textOf(q.field(QStringLiteral("memofile"))) : QString();
    if (hooks_.memo) {
        hooks_.memo->clear();
        hooks_.memo->setPlainText(text);
        hooks_.memo->document()->setModified(false);
    }
    const int row = idOf(planrow) == id ? planrow : list_.rowOfId(id);
    if (text.trimmed().isEmpty() || !hooks_.reading) {
        // Nothing to read: not busy (unless a stopped reading still winds down), and not
        // offered again while the window is open.
        if (!hooks_.reading || !hooks_.reading->reader().workerRunning()) s.readbusy = false;
        blankRow_ = row;
        return;
    }
    s.isspeaking = true;
    planplaying = true;

    if (!yes(q.field(QStringLiteral("playmusic")))) {
        musicStop();
    } else if (list_.at(row, L::ColAllRead).isEmpty() && !planmusicon) {
        s.readbusy = true;
        if (hooks_.setMusicVolume)
            hooks_.setMusicVolume(q.field(QStringLiteral("musicvolume")).toInt());
        if (hooks_.musicPlay) hooks_.musicPlay();
        planmusicon = true;
    }

    selectVoiceOf(textOf(q.field(QStringLiteral("speaker"))));
    if (services_.speech) services_.speech->setRate(q.field(QStringLiteral("rate")).toInt());
    if (hooks_.memo) {
        if (!hooks_.textPageActive || hooks_.textPageActive()) hooks_.memo->setFocus();
        QTextCursor c = hooks_.memo->textCursor();
        c.setPosition(0);
        hooks_.memo->setTextCursor(c);
    }
    if (row >= 1 && row < int(started_.size())) started_[size_t(row)] = 1;
    services_.trace->record(
        QStringLiteral("plan.start"),
        {{QStringLiteral("id"), id}, {QStringLiteral("reading"), s.readcount.load() + 1}});
    hooks_.reading->reader().ttsreading();
}

}  // namespace broadcast
