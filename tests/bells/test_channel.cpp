// The shared playback channel: opening, progress and end of a track, pause and resume,
// repeat, volume, seeking and the texts of failed opens.
#include "bellsfixture.h"

#include "platform/clock/clock.h"
#include "speaker/bells/channelbar.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QSlider>
#include <QToolButton>

#include <cmath>

namespace bellstest {
namespace {

using platform::AudioEngine;

class Channel : public BellsTest {
protected:
    bells::ChannelBar& bar() { return *channel->bar(); }
    double position() const { return channel->positionSeconds(); }
    float volume() const { return engine->volume(channel->mp3stream); }
};

TEST(ChannelText, ProgressTextHasTwoDigitsAtLeastAndBlanksAround) {
    struct Case {
        int position, length;
        const char* text;
    };
    const Case cases[] = {{7, 185, " 07 / 185 "},
                          {7, 205, " 07 / 205 "},
                          {0, 0, " 00 / 00 "},
                          {125, 9, " 125 / 09 "}};
    for (const auto& c : cases)
        EXPECT_EQ(bells::PlaybackChannel::progressText(c.position, c.length), QString(c.text));
}

TEST_F(Channel, ProgressFollowsTheClockAndTheTrackEndsAtItsLength) {
    const QString file = wav("three.wav", 3.5);
    channel->bassplay(file, 80);
    ASSERT_TRUE(channel->hasStream());
    EXPECT_EQ(channel->mp3length, 3);  // fraction dropped
    EXPECT_EQ(bar().TrackBar3->maximum(), 3);
    EXPECT_EQ(bar().TrackBar3->value(), 0);
    EXPECT_FALSE(bar().Label31->isHidden());
    EXPECT_TRUE(channel->Cycle_timer().isActive());
    EXPECT_EQ(statusPanels[2], file);
    EXPECT_EQ(statusPanels[3], QString());

    advance(1000);
    EXPECT_EQ(bar().Label31->text(), " 01 / 03 ");
    EXPECT_EQ(bar().TrackBar3->value(), 1);
    EXPECT_FALSE(channel->trackEnded());
    advance(2000);
    EXPECT_TRUE(channel->trackEnded());
    advance(2000);
    EXPECT_TRUE(channel->trackEnded());  // the ended stream stays in the channel
    EXPECT_TRUE(channel->hasStream());

    const auto plays = trace.events("channel.play");
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0].value("file").toString(), file);
    EXPECT_EQ(plays[0].value("volume").toInt(), 80);
}

TEST_F(Channel, ATrackOfLessThanOneSecondGetsAMaximumOfOne) {
    channel->bassplay(wav("short.wav", 0.4), 100);
    EXPECT_EQ(channel->mp3length, 0);
    EXPECT_EQ(bar().TrackBar3->maximum(), 1);
}

TEST_F(Channel, PauseKeepsThePositionAndPlayResumesThere) {
    channel->bassplay(wav("five.wav", 5), 100);
    channel->setmanualplay();
    advance(1500);
    channel->mp3_pauseClick();
    EXPECT_TRUE(bar().mp3_player->isEnabled());
    EXPECT_FALSE(bar().mp3_pause->isEnabled());
    EXPECT_FALSE(bar().mp3_stop->isEnabled());
    const double paused = position();
    EXPECT_NEAR(paused, 1.5, 0.05);
    advance(3000);
    EXPECT_NEAR(position(), paused, 1e-9);

    channel->mp3_playerClick();
    EXPECT_FALSE(bar().mp3_player->isEnabled());
    EXPECT_TRUE(bar().mp3_pause->isEnabled());
    EXPECT_TRUE(bar().mp3_stop->isEnabled());
    EXPECT_TRUE(channel->manualplay);
    advance(1000);
    EXPECT_NEAR(position(), paused + 1.0, 0.05);
}

TEST_F(Channel, PlayAfterTheEndStartsTheTrackAgain) {
    channel->bassplay(wav("two.wav", 2), 100);
    advance(3000);
    ASSERT_TRUE(channel->trackEnded());
    channel->mp3_playerClick();
    advance(1000);
    EXPECT_NEAR(position(), 1.0, 0.05);
    EXPECT_FALSE(channel->trackEnded());
}

TEST_F(Channel, StopReleasesTheStreamAndKeepsTheLastProgressText) {
    channel->bassplay(wav("five.wav", 5), 100);
    channel->setmanualplay();
    advance(2000);
    const QString text = bar().Label31->text();
    channel->mp3_stopClick();
    EXPECT_FALSE(channel->hasStream());
    EXPECT_EQ(channel->mp3stream, 0u);
    EXPECT_FALSE(bar().mp3_player->isEnabled());
    EXPECT_FALSE(bar().mp3_pause->isEnabled());
    EXPECT_FALSE(bar().mp3_stop->isEnabled());
    EXPECT_FALSE(channel->Cycle_timer().isActive());
    EXPECT_FALSE(channel->cycleplay);
    EXPECT_EQ(bar().Label31->text(), text);
    EXPECT_EQ(events("channel.stop"), 1);
    channel->mp3_stopClick();  // nothing left to stop
    EXPECT_EQ(events("channel.stop"), 1);
}

TEST_F(Channel, RepeatStartsTheLoopFileAgainWhenItEnds) {
    const QString file = wav("two.wav", 2);
    channel->loopfile = file;
    channel->itemvolume = 60;
    channel->bassplay1(file, 60);
    channel->cycleplay = true;
    advance(6500);
    EXPECT_GE(played().size(), 3);
    for (const auto& e : trace.events("channel.play")) EXPECT_EQ(e.value("volume").toInt(), 60);
    EXPECT_TRUE(channel->cycleplay);  // the repeat keeps itself going

    channel->bassplay(file, 60);  // an ordinary start ends the repeat
    EXPECT_FALSE(channel->cycleplay);
}

TEST_F(Channel, VolumeComesFromTheEntryOrInManualModeFromTheSlider) {
    const QString file = wav("two.wav", 2);
    bar().TrackBar4->setValue(70);
    channel->manualplay = false;
    channel->bassplay(file, 40);
    EXPECT_FLOAT_EQ(volume(), 0.40f);
    channel->manualplay = true;
    channel->bassplay(file, 40);
    EXPECT_FLOAT_EQ(volume(), 0.70f);
    // The slider changes whatever plays, at once.
    bar().TrackBar4->setValue(25);
    EXPECT_FLOAT_EQ(volume(), 0.25f);
    channel->manualplay = false;
    channel->bassplay(file, 90);
    EXPECT_FLOAT_EQ(volume(), 0.90f);
    bar().TrackBar4->setValue(10);
    EXPECT_FLOAT_EQ(volume(), 0.10f);
}

TEST_F(Channel, SeekMovesTheStreamToTheBarPosition) {
    channel->bassplay(wav("ten.wav", 10), 100);
    advance(1000);
    bar().TrackBar3->setValue(6);
    channel->TrackBar3MouseUp();
    EXPECT_NEAR(position(), 6.0, 0.01);
    EXPECT_EQ(bar().Label31->text(), " 06 / 10 ");
}

TEST_F(Channel, ReleasingTheMouseOverTheProgressBarSeeks) {
    channel->bassplay(wav("ten.wav", 10), 100);
    bar().TrackBar3->setValue(4);
    const QPointF at(2, 2);
    QMouseEvent release(QEvent::MouseButtonRelease, at, bar().TrackBar3->mapToGlobal(at),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar().TrackBar3, &release);
    QCoreApplication::processEvents();
    EXPECT_NEAR(position(), 4.0, 0.01);
}

TEST_F(Channel, FailedOpensReportInStatusPanelThreeAndLeaveNoStream) {
    QByteArray random(50000, '\0');
    QRandomGenerator gen(11);
    for (auto& c : random) c = static_cast<char>(gen.bounded(256));
    QFile good(wav("good.wav", 2));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray goodBytes = good.readAll();
    struct Case {
        QString file;
        const char* reason;
    };
    const Case cases[] = {
        {writeBytes("zero.wav", {}), "unplayable"},
        {writeBytes("zero.mp3", {}), "unplayable"},
        {writeBytes("text.mp3", "这不是音乐 not music\n"), "unplayable"},
        {writeBytes("text.wav", "just some words"), "unplayable"},
        {writeBytes("random.mp3", random), "unplayable"},
        {writeBytes("random.wav", random), "unplayable"},
        {writeBytes("truncated.wav", goodBytes.left(40)), "unplayable"},
        {path("missing.mp3"), "missing"},
        {path("缺少 的 \"文件\".wav"), "missing"},
    };
    const QString playing = wav("playing.wav", 5);
    for (const auto& c : cases) {
        channel->bassplay(playing, 100);
        ASSERT_TRUE(channel->hasStream());
        statusPanels[2] = QStringLiteral("before");
        trace.clear();
        channel->bassplay(c.file, 100);
        EXPECT_FALSE(channel->hasStream()) << c.file.toStdString();
        const QString expected = QString(c.reason) == "missing"
                                     ? QStringLiteral("文件：") + c.file + QStringLiteral(" 不存在")
                                     : QStringLiteral("不能播放:") + c.file;
        EXPECT_EQ(statusPanels[3], expected);
        EXPECT_EQ(statusPanels[2], "before");  // nothing else changes
        const auto fails = trace.events("channel.fail");
        ASSERT_EQ(fails.size(), 1u);
        EXPECT_EQ(fails[0].value("file").toString(), c.file);
        EXPECT_EQ(fails[0].value("reason").toString(), QString(c.reason));
        advance(1000);  // ticks on an empty channel show position 0 and do nothing else
        EXPECT_EQ(bar().TrackBar3->value(), 0);
    }
}

TEST_F(Channel, ABlankPathLeavesThePlaybackAlone) {
    channel->bassplay(wav("five.wav", 5), 100);
    const auto stream = channel->mp3stream;
    channel->bassplay(QStringLiteral("   "), 100);
    EXPECT_EQ(channel->mp3stream, stream);
    EXPECT_EQ(engine->state(stream), AudioEngine::State::Playing);
}

TEST_F(Channel, PathsWithBlanksQuotesAndChineseCharactersPlay) {
    const QStringList names = {"with blank.wav", "it's \"quoted\".wav", "上课铃声.wav"};
    for (const QString& name : names) {
        channel->bassplay(wav(name, 2), 100);
        EXPECT_TRUE(channel->hasStream()) << name.toStdString();
        EXPECT_EQ(statusPanels[3], QString());
    }
    channel->bassplay(mp3("下课 音乐 'a'.mp3", 2), 100);
    EXPECT_TRUE(channel->hasStream());
    EXPECT_EQ(channel->mp3length, 2);
}

TEST_F(Channel, AFileDeletedWhilePlayingStillEndsItsTrack) {
    const QString file = wav("gone.wav", 3);
    channel->bassplay(file, 100);
    advance(1000);
    ASSERT_TRUE(QFile::remove(file));
    advance(4000);
    EXPECT_TRUE(channel->trackEnded());
}

TEST_F(Channel, ManualModeResetsTheButtonsAndTheContinuationEndTime) {
    library->playendtime = QStringLiteral("08:10:00");
    channel->cycleplay = true;
    channel->setmanualplay();
    EXPECT_EQ(library->playendtime, "23:59:59");
    EXPECT_TRUE(channel->manualplay);
    EXPECT_FALSE(channel->cycleplay);
    EXPECT_FALSE(bar().mp3_player->isEnabled());
    EXPECT_TRUE(bar().mp3_stop->isEnabled());
    EXPECT_TRUE(channel->Cycle_timer().isActive());
}

TEST_F(Channel, StartUpCheckOfTheEngine) {
    EXPECT_TRUE(channel->initbass());
    EXPECT_TRUE(prompter.shown().empty());
    core::Services none = services;
    none.audio = nullptr;
    bells::PlaybackChannel silent(none, {});
    EXPECT_FALSE(silent.initbass());
    silent.bassplay(wav("two.wav", 2), 100);  // no engine: every open fails
    EXPECT_FALSE(silent.hasStream());
}

}  // namespace
}  // namespace bellstest
