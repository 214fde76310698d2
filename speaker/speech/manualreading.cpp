#include "speaker/speech/manualreading.h"

#include "common/gbktext.h"
#include "platform/clock/clock.h"
#include "platform/prompter/prompter.h"
#include "platform/speech/speechengine.h"
#include "platform/trace/trace.h"
#include "speaker/core/preferences.h"
#include "speaker/core/services.h"
#include "speaker/speech/fcycleread.h"
#include "speaker/speech/memoeditor.h"
#include "speaker/speech/readers.h"
#include "speaker/speech/traditional.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>

namespace speech {

namespace {
// The toolbar buttons a reading disables (Stop stays usable).
constexpr const char* kReadingButtons[] = {
    "SB_new",     "SB_open", "SB_save", "SB_outwav", "SB_music", "sb_jexu", "SB_repeat",
    "SB_repeat1", "SB_top",  "SB_bott", "SB_time",   "SB_read",  "sb_delay"};
// The voice whose texts are read in traditional characters.
const QString kCantonese = QStringLiteral("Sin-Ji_Full_22kHz");
constexpr int kLoopTickMs = 300;
}  // namespace

ManualReading::ManualReading(core::Services& services, const Widgets& widgets, QObject* parent)
    : QObject(parent), services_(services), w_(widgets) {
    traditional_ = std::make_shared<Traditional>();
    editor_ = std::make_unique<MemoEditor>(w_.memo, w_.textPageActive, [this] { btn_enable(); });
    reader_ =
        std::make_unique<Reader>(*services_.clock, *services_.speech, services_.trace, *editor_);
    reader_->setSettingsSource([this] { return settings(); });
    selectvoice = [this](int index) { services_.speech->selectVoice(index); };

    readcycled = new platform::Timer(*services_.clock, kLoopTickMs, this);
    readcycled->setObjectName(QStringLiteral("readcycled"));
    connect(readcycled, &platform::Timer::timeout, this, &ManualReading::readcycledTimer);

    const core::Preferences prefs(services_.iniPath());
    looptimes = prefs.readInt(core::pref::Readtimes);
    loopinterval = prefs.readInt(core::pref::Intervaltime);

    const std::pair<const char*, void (ManualReading::*)()> commands[] = {
        {"sb_jexu", &ManualReading::sb_jexuClick},
        {"SB_read", &ManualReading::SB_readClick},
        {"SB_stop", &ManualReading::SB_stopClick},
        {"SB_repeat1", &ManualReading::SB_repeat1Click},
        {"SB_repeat", &ManualReading::SB_repeatClick}};
    for (const auto& [name, handler] : commands) {
        if (QToolButton* b = button(name)) {
            b->setEnabled(true);
            connect(b, &QToolButton::clicked, this, handler);
        }
    }
    buildContextMenu();
    w_.memo->installEventFilter(this);
    w_.memo->viewport()->installEventFilter(this);
}

ManualReading::~ManualReading() {
    readcycled->stop();
    // The workers end before the editor view they use goes.
    reader_.reset();
    editor_.reset();
}

void ManualReading::setLoopDialog(TFcycleread* dialog) { loopDialog_ = dialog; }

QToolButton* ManualReading::button(const char* name) const {
    return w_.toolbar ? w_.toolbar->findChild<QToolButton*>(QString::fromLatin1(name)) : nullptr;
}

void ManualReading::buildContextMenu() {
    menu_ = new QMenu(w_.memo);
    menu_->setObjectName(QStringLiteral("PopupMenu1"));
    const std::pair<const char*, std::pair<const char*, void (ManualReading::*)()>> items[] = {
        {"N1", {"从此处开始朗读 (&M)", &ManualReading::SB_readClick}},
        {"N41", {"从上次位置朗读 (&R)", &ManualReading::N41Click}},
        {"N3", {"记录书签位置   (&B)", &ManualReading::N3Click}},
        {"L1", {"朗读当前行     (&L)", &ManualReading::L1Click}},
        {"N2", {"朗读所选范围   (&S)", &ManualReading::N2Click}},
        {"N36", {"范围循环朗读   (&W)", &ManualReading::N36Click}},
        {"T1", {"全文循环朗读   (&T)", &ManualReading::T1Click}}};
    for (const auto& [name, item] : items) {
        QAction* a = menu_->addAction(QString::fromUtf8(item.first));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, item.second);
    }
    w_.memo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w_.memo, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { menu_->popup(w_.memo->viewport()->mapToGlobal(at)); });
}

ReadingSettings ManualReading::settings() {
    const core::Preferences prefs(services_.iniPath());
    ReadingSettings s;
    s.starpause = prefs.readInt(core::pref::Delay2);
    s.datetimetype = datetimetype ? datetimetype() : prefs.readInt(core::pref::Datetimetype);
    const Readers readers = getreader(prefs);
    for (int i = 0; i < 6; ++i) s.roleVoices[i] = readers.displayNames[i];
    s.toTraditional = [t = traditional_](const QString& text) { return t->convert(text); };
    return s;
}

bool ManualReading::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == w_.memo && event->type() == QEvent::KeyRelease) ||
        (watched == w_.memo->viewport() && event->type() == QEvent::MouseButtonRelease))
        showcaretpos();
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------- helpers

bool ManualReading::voiceMissing() {
    if (!w_.chooser->currentText().trimmed().isEmpty()) return false;
    services_.prompter->showwarning(QStringLiteral("请选择语音引擎!"));
    return true;
}

bool ManualReading::textBlank() const {
    return w_.memo->toPlainText().trimmed().isEmpty();
}

void ManualReading::selectChosenVoice() {
    if (selectvoice) selectvoice(w_.chooser->currentIndex());
}

void ManualReading::btn_disable() {
    for (const char* name : kReadingButtons) {
        QToolButton* b = button(name);
        // Only what was usable comes back at the end: commands not yet available stay off.
        if (b && b->isEnabled()) {
            b->setEnabled(false);
            disabledByReading_.insert(b);
        }
    }
}

void ManualReading::btn_enable() {
    for (QToolButton* b : disabledByReading_) b->setEnabled(true);
    disabledByReading_.clear();
}

void ManualReading::showcaretpos() {
    const QTextCursor c = w_.memo->textCursor();
    const QTextBlock block = c.block();
    const int column = common::gbkOffset(block.text(), c.positionInBlock()) + 1;
    if (w_.setStatusText)
        w_.setStatusText(0, QStringLiteral(" %1:%2").arg(block.blockNumber() + 1).arg(column));
}

void ManualReading::gundong1() {
    if (textBlank()) return;
    selectChosenVoice();
    if (!w_.textPageActive || w_.textPageActive()) w_.memo->setFocus();
    reader_->ttsreading();
}

// ---------------------------------------------------------------- reading commands

void ManualReading::SB_readClick() {
    if (textBlank()) return;
    if (voiceMissing()) return;
    btn_disable();
    gundong1();
}

void ManualReading::sb_jexuClick() {
    QTextCursor c = w_.memo->textCursor();
    c.setPosition(0);
    w_.memo->setTextCursor(c);
    SB_readClick();
}

void ManualReading::N3Click() {
    const QTextCursor c = w_.memo->textCursor();
    core::Preferences prefs(services_.iniPath());
    // Stored in bytes of the text measure, the unit older settings files hold.
    prefs.writeInt(core::pref::Lastposi, common::gbkOffset(w_.memo->toPlainText(), c.position()));
    bool ok = false;
    const QString shown = w_.statusText ? w_.statusText(0) : QString();
    const int line = shown.section(QLatin1Char(':'), 0, 0).trimmed().toInt(&ok);
    prefs.writeInt(core::pref::Line, ok ? line - 1 : c.blockNumber());
}

void ManualReading::N41Click() {
    if (voiceMissing()) return;
    const core::Preferences prefs(services_.iniPath());
    const int stored = prefs.readInt(core::pref::Lastposi);
    if (stored != 0) {
        QTextCursor c = w_.memo->textCursor();
        const QString text = w_.memo->toPlainText();
        c.setPosition(static_cast<int>(common::gbkIndex(text, stored)));
        w_.memo->setTextCursor(c);
    }
    gundong1();
}

void ManualReading::speakOnce(QString text) {
    if (w_.chooser->currentText().contains(kCantonese)) text = traditional_->convert(text);
    selectChosenVoice();
    platform::SpeechEngine& engine = *services_.speech;
    if (text.trimmed().isEmpty()) return;
    if (services_.trace)
        services_.trace->record(QStringLiteral("speech.say"),
                                {{QStringLiteral("text"), text},
                                 {QStringLiteral("rate"), engine.rate()},
                                 {QStringLiteral("volume"), engine.volume()}});
    engine.speakAsync(text);
}

void ManualReading::L1Click() {
    if (voiceMissing()) return;
    if (state().readbusy) return;
    if (clearPlanPlaying) clearPlanPlaying();
    // The line shown in status panel 0; before anything was shown there, the caret's line.
    bool ok = false;
    const QString shown = w_.statusText ? w_.statusText(0) : QString();
    int line = shown.section(QLatin1Char(':'), 0, 0).trimmed().toInt(&ok) - 1;
    if (!ok) line = w_.memo->textCursor().blockNumber();
    const QTextBlock block = w_.memo->document()->findBlockByNumber(line);
    if (!block.isValid() || block.text().trimmed().isEmpty()) return;
    state().ttsactive = false;
    speakOnce(block.text());
}

void ManualReading::N2Click() {
    if (voiceMissing()) return;
    if (state().readbusy) return;
    const QTextCursor c = w_.memo->textCursor();
    speakOnce(
        w_.memo->toPlainText().mid(c.selectionStart(), c.selectionEnd() - c.selectionStart()));
}

// ---------------------------------------------------------------- loops

void ManualReading::startLoop(bool wholeText, QToolButton* askFrom) {
    if (wholeText) {
        if (textBlank()) return;
        w_.memo->selectAll();
    } else {
        if (!w_.memo->textCursor().hasSelection()) {
            services_.prompter->showinfo(QStringLiteral("请选择所要朗读的内容!"));
            return;
        }
        if (textBlank()) return;
    }
    if (voiceMissing()) return;
    if (loopDialog_) {
        if (askFrom) {
            const QPoint at(askFrom->mapTo(askFrom->window(), QPoint(0, 0)).x() + 8,
                            w_.memo->mapTo(w_.memo->window(), QPoint(0, 0)).y() + 83);
            loopDialog_->move(w_.memo->window()->mapToGlobal(at));
            if (services_.prompter->exec(*loopDialog_) != QDialog::Accepted) return;
        }
        looptimes = loopDialog_->readtimes();
        loopinterval = loopDialog_->intervaltime();
    }
    ReadingState& s = state();
    loopcount = 0;
    s.readbusy = true;
    s.readmode = 1;
    s.singleread = false;
    const QTextCursor c = w_.memo->textCursor();
    savedselstart = c.selectionStart();
    savedsellength = c.selectionEnd() - c.selectionStart();
    if (clearPlanPlaying) clearPlanPlaying();
    readcycled->start();
}

void ManualReading::SB_repeatClick() {
    startLoop(false, button("SB_repeat"));
}
void ManualReading::N36Click() {
    startLoop(false, nullptr);
}
void ManualReading::SB_repeat1Click() {
    startLoop(true, button("SB_repeat1"));
}
void ManualReading::T1Click() {
    startLoop(true, nullptr);
}

void ManualReading::readcycledTimer() {
    ReadingState& s = state();
    if (loopcount == 0 && s.readbusy && loopcount <= looptimes) {
        btn_disable();
        loopcount = 1;
        selectChosenVoice();
        reader_->readtxt();
        return;
    }
    if (!s.readbusy && loopcount >= looptimes) {
        readcycled->stop();
        s.singleread = true;
        btn_enable();
        return;
    }
    // The interval runs on the monotonic tick, so midnight or a clock step changes nothing.
    if (!s.readbusy && loopcount > 0 && loopcount < looptimes &&
        services_.clock->tickMs() - s.lastreadtick >= qint64(loopinterval) * 1000) {
        ++loopcount;
        QTextCursor c = w_.memo->textCursor();
        c.setPosition(savedselstart);
        c.setPosition(savedselstart + savedsellength, QTextCursor::KeepAnchor);
        w_.memo->setTextCursor(c);
        s.readbusy = true;
        selectChosenVoice();
        reader_->readtxt();
    }
}

// ---------------------------------------------------------------- stop

void ManualReading::SB_stopClick() {
    ReadingState& s = state();
    btn_enable();
    if (s.ttsactive)
        reader_->requestStop();
    else
        services_.speech->purge();
    readcycled->stop();
    s.singleread = true;
    // A loop stopped before its first pass has no worker to clear `readbusy`.
    if (!reader_->workerRunning()) s.readbusy = false;
    services_.speech->reset();
    if (services_.trace) services_.trace->record(QStringLiteral("reading.stop"));
}

}  // namespace speech
