// The speaking worker and manual reading on the virtual clock: speech takes its duration in
// virtual time (paced output), the editor is a real QTextEdit, answers are scripted.
#include "platform/clock/virtualclock.h"
#include "platform/prompter/prompter.h"
#include "platform/speech/pacedoutput.h"
#include "platform/speech/speechengine.h"
#include "platform/trace/trace.h"
#include "speaker/core/services.h"
#include "speaker/speech/fcycleread.h"
#include "speaker/speech/manualreading.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QJsonObject>
#include <QKeyEvent>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <mutex>

namespace {

using speech::ManualReading;

// Paced output that also counts each utterance's samples, so a test knows its duration.
class CountingPaced : public platform::PacedSpeechOutput {
public:
    using PacedSpeechOutput::PacedSpeechOutput;
    void begin(uint64_t id) override {
        PacedSpeechOutput::begin(id);
        std::lock_guard lk(m_);
        current_ = id;
        order_.push_back(id);
    }
    void write(const int16_t* s, size_t n) override {
        PacedSpeechOutput::write(s, n);
        std::lock_guard lk(m_);
        samples_[current_] += n;
    }
    // Duration of the n-th utterance synthesised, in ms.
    qint64 durationMs(size_t n) {
        std::lock_guard lk(m_);
        const size_t samples = samples_[order_.at(n)];
        return static_cast<qint64>((samples * 1000 + platform::kSpeechSampleRate - 1) /
                                   platform::kSpeechSampleRate);
    }

private:
    std::mutex m_;
    uint64_t current_ = 0;
    std::vector<uint64_t> order_;
    std::map<uint64_t, size_t> samples_;
};

qint64 msOf(const QJsonObject& ev) {
    return QDateTime::fromString(ev.value(QStringLiteral("t")).toString(),
                                 QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"))
        .toMSecsSinceEpoch();
}

class ReadingTest : public ::testing::Test {
protected:
    ReadingTest() {
        trace.setKeep(true);
        services.programDir = dir.path() + QLatin1Char('/');
        services.clock = &clock;
        services.prompter = &prompter;
        services.trace = &trace;
        services.speech = &engine;
        auto* row = new QHBoxLayout(&toolbar);
        for (const char* name : {"SB_new", "sb_jexu", "SB_read", "SB_stop", "SB_repeat1",
                                 "SB_repeat", "SB_top", "SB_bott"}) {
            auto* b = new QToolButton(&toolbar);
            b->setObjectName(QString::fromLatin1(name));
            b->setEnabled(false);
            row->addWidget(b);
        }
        chooser.addItem(QStringLiteral("女声 国语 - Mandarin"));
        ManualReading::Widgets w;
        w.memo = &memo;
        w.chooser = &chooser;
        w.toolbar = &toolbar;
        w.textPageActive = [] { return true; };
        w.setStatusText = [this](int i, const QString& t) { status[i] = t; };
        w.statusText = [this](int i) { return status[i]; };
        reading = std::make_unique<ManualReading>(services, w);
        speech::MarkList marks;
        marks.marks = {{QChar(u'。'), 300}, {QChar(u'，'), 0}};
        reading->reader().setMarklist(marks);
    }

    void setText(const QString& text) {
        memo.setPlainText(text);
        QTextCursor c = memo.textCursor();
        c.setPosition(0);
        memo.setTextCursor(c);
    }
    // Runs virtual time until no reading and no loop is under way.
    void runIdle() {
        for (int i = 0; i < 100000; ++i) {
            if (!state().readbusy && !reading->reader().workerRunning() &&
                !reading->readcycled->isActive())
                return;
            clock.advance(100);
        }
        FAIL() << "the reading did not end";
    }
    speech::ReadingState& state() { return reading->state(); }
    std::vector<QJsonObject> events(const char* ev) const { return trace.events(ev); }
    QStringList spoken() const {
        QStringList texts;
        for (const auto& e : trace.events(QStringLiteral("speech.segment")))
            texts << e.value(QStringLiteral("text")).toString();
        return texts;
    }
    QToolButton* button(const char* name) {
        return toolbar.findChild<QToolButton*>(QString::fromLatin1(name));
    }

    QTemporaryDir dir;
    platform::VirtualClock clock{QDateTime(QDate(2026, 12, 14), QTime(9, 0, 0))};
    platform::Trace trace{clock};
    platform::ScriptedPrompter prompter;
    std::shared_ptr<CountingPaced> output = std::make_shared<CountingPaced>(clock);
    platform::SpeechEngine engine{output};
    core::Services services;
    QTextEdit memo;
    QComboBox chooser;
    QWidget toolbar;
    std::map<int, QString> status;
    std::unique_ptr<ManualReading> reading;
};

TEST_F(ReadingTest, SegmentsAreSpokenWithThePauseOfTheirBreakMark) {
    ASSERT_FALSE(engine.voices().empty());
    setText(QStringLiteral("第一句。第二句，第三句"));
    reading->SB_readClick();
    EXPECT_FALSE(button("SB_read")->isEnabled());  // the toolbar is off while reading
    EXPECT_TRUE(button("SB_stop")->isEnabled());
    runIdle();

    const auto segs = events("speech.segment");
    ASSERT_EQ(segs.size(), 3u);
    const QStringList texts{QStringLiteral("第一句。"), QStringLiteral("第二句，"),
                            QStringLiteral("第三句")};
    const int pauses[] = {300, 0, 0};
    for (size_t i = 0; i < segs.size(); ++i) {
        EXPECT_EQ(segs[i].value(QStringLiteral("text")).toString(), texts[int(i)]);
        EXPECT_EQ(segs[i].value(QStringLiteral("pause")).toInt(), pauses[i]);
        EXPECT_EQ(segs[i].value(QStringLiteral("voice")).toString(),
                  engine.voices()[0].description);
    }
    // Each segment starts when the one before has been played and its pause waited.
    const auto end = events("reading.end");
    ASSERT_EQ(end.size(), 1u);
    EXPECT_TRUE(end[0].value(QStringLiteral("completed")).toBool());
    EXPECT_EQ(msOf(segs[1]) - msOf(segs[0]), output->durationMs(0) + 300);
    EXPECT_EQ(msOf(segs[2]) - msOf(segs[1]), output->durationMs(1));
    EXPECT_EQ(msOf(end[0]) - msOf(segs[2]), output->durationMs(2));
    EXPECT_EQ(state().readcount, 1);
    EXPECT_FALSE(state().isspeaking);
    EXPECT_EQ(state().readendtime, msOf(end[0]));
    EXPECT_TRUE(button("SB_read")->isEnabled());
    EXPECT_FALSE(button("SB_new")->isEnabled());  // not usable before, not enabled after
}

TEST_F(ReadingTest, StopInTheMiddleOfASegmentEndsAfterItAndItsPause) {
    setText(QStringLiteral("这是一段比较长的句子，要读上好几秒钟才能读完。后面的一句不会读到。"));
    reading->SB_readClick();
    while (events("speech.segment").empty()) clock.advance(10);
    const qint64 started = msOf(events("speech.segment")[0]);
    clock.advance(500);
    ASSERT_LT(clock.now().toMSecsSinceEpoch(), started + output->durationMs(0));
    reading->SB_stopClick();
    EXPECT_TRUE(button("SB_read")->isEnabled());
    runIdle();

    EXPECT_EQ(spoken(), QStringList{QStringLiteral("这是一段比较长的句子，")});
    const auto end = events("reading.end");
    ASSERT_EQ(end.size(), 1u);
    EXPECT_FALSE(end[0].value(QStringLiteral("completed")).toBool());
    EXPECT_EQ(msOf(end[0]), started + output->durationMs(0));  // "，" pauses 0
    EXPECT_FALSE(state().readbusy);
    EXPECT_TRUE(state().isspeaking);
    EXPECT_EQ(state().readcount, 0);
}

TEST_F(ReadingTest, NormalCompletionCountsAndClearsIsspeaking) {
    struct Case {
        QString text;
        int segments;
    };
    const Case cases[] = {{QStringLiteral("你好。"), 1},
                          {QStringLiteral("你好。\n\n\n"), 1},
                          {QStringLiteral("  \n  "), 0},
                          {QStringLiteral("甲，\n乙。\n"), 2}};
    int count = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        trace.clear();
        setText(c.text);
        reading->reader().ttsreading();
        runIdle();
        EXPECT_EQ(state().readcount, ++count);
        EXPECT_FALSE(state().isspeaking);
        EXPECT_EQ(static_cast<int>(spoken().size()), c.segments);
        EXPECT_EQ(memo.textCursor().position(), static_cast<int>(c.text.size()));
    }
}

TEST_F(ReadingTest, ASecondReadingWaitsForTheFirstAndStartsWhereItLeftTheCaret) {
    setText(QStringLiteral("第一句。第二句。"));
    reading->reader().ttsreading();
    reading->reader().ttsreading();
    runIdle();
    EXPECT_EQ(spoken().size(), 2);
    QStringList order;
    for (const auto& e : trace.events())
        if (e.value(QStringLiteral("ev")).toString().startsWith(QLatin1String("reading.")))
            order << e.value(QStringLiteral("ev")).toString();
    EXPECT_EQ(order, (QStringList{QStringLiteral("reading.start"), QStringLiteral("reading.end"),
                                  QStringLiteral("reading.start"), QStringLiteral("reading.end")}));
    EXPECT_EQ(state().readcount, 2);
}

TEST_F(ReadingTest, ALoopReadsTheSelectionThreeTimesSixtySecondsApart) {
    speech::TFcycleread dialog(services.iniPath());
    reading->setLoopDialog(&dialog);
    prompter.setDialogScript(QStringLiteral("Fcycleread"), [](QDialog& d) {
        auto& loop = static_cast<speech::TFcycleread&>(d);
        loop.SpinEdit1->setValue(3);
        loop.SpinEdit2->setValue(60);
        return int(QDialog::Accepted);
    });
    setText(QStringLiteral("开头不读。甲乙。丙丁，结尾不读。"));
    QTextCursor c = memo.textCursor();
    c.setPosition(5);
    c.setPosition(11, QTextCursor::KeepAnchor);  // "甲乙。丙丁，"
    memo.setTextCursor(c);
    reading->SB_repeatClick();
    EXPECT_TRUE(reading->readcycled->isActive());
    runIdle();

    const QString a = QStringLiteral("甲乙。"), b = QStringLiteral("丙丁，");
    EXPECT_EQ(spoken(), (QStringList{a, b, a, b, a, b}));
    const auto starts = events("reading.start");
    const auto ends = events("reading.end");
    ASSERT_EQ(starts.size(), 3u);
    ASSERT_EQ(ends.size(), 3u);
    for (size_t i = 1; i < starts.size(); ++i) {
        const qint64 gap = msOf(starts[i]) - msOf(ends[i - 1]);
        EXPECT_GE(gap, 60000);
        EXPECT_LT(gap, 60000 + 300);  // the next tick of the loop timer
        EXPECT_EQ(starts[i].value(QStringLiteral("mode")).toString(), QStringLiteral("selection"));
    }
    EXPECT_EQ(reading->loopcount, 3);
    EXPECT_EQ(state().readcount, 0);  // passes are not editor readings
    EXPECT_TRUE(state().singleread);
    EXPECT_TRUE(button("SB_read")->isEnabled());
    // The highlight ends on the last segment read.
    EXPECT_EQ(memo.textCursor().selectedText(), b);
}

TEST_F(ReadingTest, StopDuringALoopIntervalEndsTheLoop) {
    setText(QStringLiteral("甲乙。"));
    reading->T1Click();
    while (events("reading.end").empty()) clock.advance(100);
    clock.advance(10000);
    reading->SB_stopClick();
    runIdle();
    clock.advance(120000);
    EXPECT_EQ(events("reading.start").size(), 1u);
    EXPECT_FALSE(state().readbusy);
    EXPECT_FALSE(reading->readcycled->isActive());
}

TEST_F(ReadingTest, StopBeforeTheFirstPassLeavesNoReadingBusy) {
    setText(QStringLiteral("甲乙。"));
    reading->T1Click();
    reading->SB_stopClick();
    clock.advance(5000);
    EXPECT_FALSE(state().readbusy);
    EXPECT_TRUE(spoken().isEmpty());
}

TEST_F(ReadingTest, CommandsRefuseWithTheirMessages) {
    struct Case {
        const char* what;
        bool selection;
        bool voice;
        void (ManualReading::*command)();
        QString message;  // empty: nothing shown
    };
    const QString noVoice = QStringLiteral("请选择语音引擎!");
    const QString noSelection = QStringLiteral("请选择所要朗读的内容!");
    const Case cases[] = {
        {"read without a voice", false, false, &ManualReading::SB_readClick, noVoice},
        {"bookmark without a voice", false, false, &ManualReading::N41Click, noVoice},
        {"line without a voice", false, false, &ManualReading::L1Click, noVoice},
        {"whole loop without a voice", false, false, &ManualReading::T1Click, noVoice},
        {"selection loop without a selection", false, true, &ManualReading::N36Click, noSelection},
        {"selection loop without a voice", true, false, &ManualReading::N36Click, noVoice},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompter.clearShown();
        setText(QStringLiteral("你好。"));
        if (c.selection) memo.selectAll();
        chooser.clear();
        if (c.voice) chooser.addItem(QStringLiteral("Mandarin"));
        (reading.get()->*c.command)();
        ASSERT_EQ(prompter.shown().size(), 1u);
        EXPECT_EQ(prompter.shown()[0].text, c.message);
        EXPECT_FALSE(state().readbusy);
    }
    EXPECT_TRUE(events("reading.start").empty());
}

TEST_F(ReadingTest, CaretReadOutAndBookmark) {
    setText(QStringLiteral("ab\nx中文y"));
    QTextCursor c = memo.textCursor();
    c.setPosition(6);  // line 2, after "x中文": 1 + 2 + 2 bytes
    memo.setTextCursor(c);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
    QCoreApplication::sendEvent(&memo, &release);
    EXPECT_EQ(status[0], QStringLiteral(" 2:6"));

    reading->N3Click();
    c.setPosition(0);
    memo.setTextCursor(c);
    reading->N41Click();
    runIdle();
    EXPECT_EQ(spoken(), QStringList{QStringLiteral("y")});
}

}  // namespace
