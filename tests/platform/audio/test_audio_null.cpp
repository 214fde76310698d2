// The null device on the virtual clock: positions follow virtual time, the controls behave as
// the playback channel expects, and the rendered mix is what was played.
#include "fixtures.h"
#include "platform/audio/audioengine.h"
#include "platform/clock/virtualclock.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using platform::AudioEngine;
using platform::AudioHandle;
using State = platform::AudioEngine::State;

namespace {

constexpr qint64 kBytesPerSecond = 44100 * 2 * 2;  // the default tone: 44.1 kHz stereo

class AudioNull : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        tone_ = dir_.filePath("tone.wav");
        ASSERT_TRUE(audiotest::writeTone(tone_, {}));  // 2 s, 440 Hz, amplitude 0.5
    }
    std::unique_ptr<AudioEngine> engine(const QString& wav = {}) {
        return platform::makeNullAudioEngine(clock_, wav);
    }
    AudioHandle open(AudioEngine& e, const QString& p) {
        const AudioHandle h = e.openFile(p);
        EXPECT_GE(h, AudioEngine::kFirstHandle) << p.toStdString();
        return h;
    }

    QTemporaryDir dir_;
    QString tone_;
    platform::VirtualClock clock_{QDateTime(QDate(2024, 3, 1), QTime(8, 0))};
};

TEST_F(AudioNull, PositionFollowsVirtualTimeAtTheStreamsOwnRate) {
    struct Case {
        int rate, channels;
    };
    const Case cases[] = {{44100, 2}, {22050, 1}, {48000, 2}, {8000, 1}};
    auto e = engine();
    for (const auto& c : cases) {
        const QString p = dir_.filePath(QString("r%1c%2.wav").arg(c.rate).arg(c.channels));
        ASSERT_TRUE(audiotest::writeTone(p, {3.0, c.rate, c.channels}));
        const AudioHandle h = open(*e, p);
        const qint64 perSecond = 2LL * c.rate * c.channels;
        EXPECT_EQ(e->length(h), 3 * perSecond);
        EXPECT_EQ(e->position(h), 0);
        ASSERT_TRUE(e->play(h));
        clock_.advance(1500);
        // Resampled streams run one or two frames ahead of what was heard.
        EXPECT_NEAR(double(e->position(h)), 1.5 * double(perSecond), 3.0 * 2 * c.channels)
            << c.rate;
        EXPECT_NEAR(e->bytesToSeconds(h, e->position(h)), 1.5, 0.001) << c.rate;
        EXPECT_EQ(e->secondsToBytes(h, 1.25), qint64(1.25 * c.rate) * 2 * c.channels);
        EXPECT_EQ(e->secondsToBytes(h, -3.0), 0);
        e->release(h);
    }
}

TEST_F(AudioNull, PauseStopAndPlayResumeWherePlaybackHalted) {
    auto e = engine();
    const AudioHandle h = open(*e, tone_);
    EXPECT_EQ(e->state(h), State::Stopped);
    e->play(h);
    EXPECT_EQ(e->state(h), State::Playing);
    clock_.advance(300);
    e->pause(h);
    EXPECT_EQ(e->state(h), State::Paused);
    clock_.advance(500);
    EXPECT_EQ(e->position(h), kBytesPerSecond * 3 / 10);
    e->play(h);
    e->play(h);  // playing again without restart changes nothing
    clock_.advance(200);
    EXPECT_EQ(e->position(h), kBytesPerSecond / 2);
    e->stop(h);
    EXPECT_EQ(e->state(h), State::Stopped);
    clock_.advance(400);
    EXPECT_EQ(e->position(h), kBytesPerSecond / 2);
    e->play(h);
    clock_.advance(100);
    EXPECT_EQ(e->position(h), kBytesPerSecond * 6 / 10);
}

TEST_F(AudioNull, SetPositionReadsBackAtOnceAndPlaysOnFromThere) {
    auto e = engine();
    const AudioHandle h = open(*e, tone_);
    e->play(h);
    clock_.advance(100);
    ASSERT_TRUE(e->setPosition(h, e->secondsToBytes(h, 1.5)));
    EXPECT_EQ(e->position(h), kBytesPerSecond * 3 / 2);
    clock_.advance(250);
    EXPECT_EQ(e->position(h), kBytesPerSecond * 7 / 4);
    EXPECT_FALSE(e->setPosition(h, e->length(h) + 4));
    EXPECT_FALSE(e->setPosition(h, -4));
    EXPECT_EQ(e->position(h), kBytesPerSecond * 7 / 4);
}

TEST_F(AudioNull, NaturalEndStopsAtTheLengthAndPlayStartsOver) {
    auto e = engine();
    const AudioHandle h = open(*e, tone_);
    e->play(h);
    clock_.advance(1990);
    EXPECT_EQ(e->state(h), State::Playing);
    clock_.advance(100);
    EXPECT_EQ(e->state(h), State::Stopped);
    EXPECT_EQ(e->position(h), e->length(h));
    clock_.advance(1000);
    EXPECT_EQ(e->position(h), e->length(h));  // stays at the end until replayed
    e->play(h);
    EXPECT_EQ(e->state(h), State::Playing);
    clock_.advance(100);
    EXPECT_EQ(e->position(h), kBytesPerSecond / 10);
}

TEST_F(AudioNull, TruncatedMp3EndsAtItsNominalLength) {
    // The header of a cut file still promises the whole length; when the data runs out the
    // stream ends and reports that length, so "position reached length" sees the end.
    const QString wav = dir_.filePath("long.wav"), mp3 = dir_.filePath("long.mp3");
    ASSERT_TRUE(audiotest::writeTone(wav, {10.0}));
    ASSERT_TRUE(audiotest::encodeMp3(wav, mp3));
    QFile full(mp3);
    ASSERT_TRUE(full.open(QIODevice::ReadOnly));
    const QByteArray bytes = full.readAll();
    const QString cut = dir_.filePath("cut.mp3");
    QFile out(cut);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes.left(bytes.size() / 4));
    out.close();

    auto e = engine();
    const AudioHandle h = open(*e, cut);
    e->play(h);
    clock_.advance(4000);
    EXPECT_EQ(e->state(h), State::Stopped);
    EXPECT_EQ(e->position(h), e->length(h));
}

TEST_F(AudioNull, FileDeletedWhilePlayingPlaysOut) {
    const QString p = dir_.filePath("gone.wav");
    ASSERT_TRUE(QFile::copy(tone_, p));
    auto e = engine();
    const AudioHandle h = open(*e, p);
    e->play(h);
    clock_.advance(500);
    ASSERT_TRUE(QFile::remove(p));
    clock_.advance(2000);
    EXPECT_EQ(e->state(h), State::Stopped);
    EXPECT_EQ(e->position(h), e->length(h));
}

TEST_F(AudioNull, RenderedWavHasTheToneThenSilenceForTheWholeRun) {
    const QString out = dir_.filePath("mix.wav");
    {
        auto e = engine(out);
        const AudioHandle h = open(*e, tone_);
        e->play(h);
        clock_.advance(3000);
        e->flush();
        const auto mid = audiotest::readSound(out);
        EXPECT_EQ(mid.frames(), 3 * 44100);  // readable after flush, before the end
    }
    clock_.advance(1000);  // after the device is gone nothing more is written
    const auto mix = audiotest::readSound(out);
    ASSERT_EQ(mix.rate, 44100);
    ASSERT_EQ(mix.channels, 2);
    EXPECT_EQ(mix.frames(), 3 * 44100);
    EXPECT_NEAR(audiotest::rms(mix, 0, 2 * 44100), 0.5 / std::sqrt(2.0), 0.01);
    EXPECT_EQ(audiotest::rms(mix, 2 * 44100 + 10, 3 * 44100), 0.0);
}

TEST_F(AudioNull, VolumeIsAppliedInTheMix) {
    const QString out = dir_.filePath("vol.wav");
    {
        auto e = engine(out);
        const AudioHandle h = open(*e, tone_);
        EXPECT_FLOAT_EQ(e->volume(h), 1.0f);
        e->play(h);
        clock_.advance(500);
        e->setVolume(h, 0.25f);
        EXPECT_FLOAT_EQ(e->volume(h), 0.25f);
        clock_.advance(500);
        e->setVolume(h, 7.0f);  // clamped to full
        EXPECT_FLOAT_EQ(e->volume(h), 1.0f);
        e->setVolume(h, 0.0f);
        clock_.advance(500);
    }
    const auto mix = audiotest::readSound(out);
    const double loud = audiotest::rms(mix, 0, 22050);
    const double quiet = audiotest::rms(mix, 22050, 44100);
    EXPECT_NEAR(loud / quiet, 4.0, 0.05);
    EXPECT_EQ(audiotest::rms(mix, 44100, 66150), 0.0);
}

TEST_F(AudioNull, TwoStreamsPlayMixed) {
    const QString a = dir_.filePath("a.wav"), b = dir_.filePath("b.wav");
    ASSERT_TRUE(audiotest::writeTone(a, {2.0, 44100, 2, 440, 0.2}));
    ASSERT_TRUE(audiotest::writeTone(b, {2.0, 44100, 2, 440, 0.3}));
    const QString out = dir_.filePath("two.wav");
    {
        auto e = engine(out);
        const AudioHandle ha = open(*e, a), hb = open(*e, b);
        e->play(ha);
        e->play(hb);  // same tick, same phase: the amplitudes add
        clock_.advance(1000);
        e->release(hb);
        clock_.advance(500);
        EXPECT_EQ(e->state(ha), State::Playing);
    }
    const auto mix = audiotest::readSound(out);
    EXPECT_NEAR(audiotest::rms(mix, 0, 44100), 0.5 / std::sqrt(2.0), 0.005);
    EXPECT_NEAR(audiotest::rms(mix, 44100, 66150), 0.2 / std::sqrt(2.0), 0.005);
}

TEST_F(AudioNull, PushStreamFinishesAfterItsDuration) {
    auto e = engine();
    const AudioHandle h = e->openPush(22050, 1);
    ASSERT_GE(h, AudioEngine::kFirstHandle);
    std::vector<qint16> second(22050, 1000);
    ASSERT_TRUE(e->appendPush(h, second.data(), second.size()));
    e->play(h);
    clock_.advance(600);
    ASSERT_TRUE(e->appendPush(h, second.data(), second.size() / 2));
    EXPECT_EQ(e->length(h), 2LL * 22050 * 3 / 2);
    // Not finished: the stream waits for more when it runs dry.
    clock_.advance(1400);
    EXPECT_EQ(e->state(h), State::Playing);
    EXPECT_EQ(e->position(h), e->length(h));
    ASSERT_TRUE(e->appendPush(h, second.data(), second.size()));
    ASSERT_TRUE(e->finishPush(h));
    EXPECT_FALSE(e->appendPush(h, second.data(), 10));
    clock_.advance(950);
    EXPECT_EQ(e->state(h), State::Playing);
    clock_.advance(100);
    EXPECT_EQ(e->state(h), State::Stopped);
    EXPECT_EQ(e->position(h), 2LL * 22050 * 5 / 2);
    EXPECT_FALSE(e->play(h));  // a finished push stream cannot start over
}

TEST_F(AudioNull, CaptureRecordsTheMixAtTheInputLevel) {
    auto e = engine();
    const auto inputs = e->captureInputs();
    ASSERT_EQ(inputs.size(), 1u);
    EXPECT_TRUE(inputs[0].on);
    EXPECT_FALSE(e->setCaptureInput(1, true));
    EXPECT_FALSE(e->setCaptureLevel(1, 0.5f));
    ASSERT_TRUE(e->setCaptureLevel(0, 0.5f));

    std::vector<qint16> got;
    const AudioHandle cap = e->startCapture([&](const qint16* s, std::size_t frames) {
        got.insert(got.end(), s, s + 2 * frames);
        return true;
    });
    ASSERT_GE(cap, AudioEngine::kFirstHandle);
    EXPECT_LT(e->startCapture([](const qint16*, std::size_t) { return true; }),
              AudioEngine::kFirstHandle);  // one capture at a time
    const AudioHandle h = open(*e, tone_);
    e->play(h);
    clock_.advance(1000);
    EXPECT_TRUE(e->stopCapture(cap));
    clock_.advance(500);
    ASSERT_EQ(got.size(), 2u * 44100);
    EXPECT_NEAR(audiotest::rms(got.data(), got.size()), 0.25 / std::sqrt(2.0), 0.005);

    // With the input switched off there is nothing to capture from.
    ASSERT_TRUE(e->setCaptureInput(0, false));
    EXPECT_FALSE(e->captureInputs()[0].on);
    EXPECT_LT(e->startCapture([](const qint16*, std::size_t) { return true; }),
              AudioEngine::kFirstHandle);
}

}  // namespace
