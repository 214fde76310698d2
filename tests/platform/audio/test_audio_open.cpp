// Opening streams: which files open, which fail (below the first valid handle), and the
// formats and file names that must work.
#include "fixtures.h"
#include "platform/audio/audioengine.h"
#include "platform/clock/virtualclock.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sndfile.h>

using platform::AudioEngine;
using platform::AudioHandle;

namespace {

class AudioOpen : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        wav_ = dir_.filePath("tone.wav");
        ASSERT_TRUE(audiotest::writeTone(wav_, {}));
        mp3_ = dir_.filePath("tone.mp3");
        ASSERT_TRUE(audiotest::encodeMp3(wav_, mp3_));
    }
    QString path(const QString& name) const { return dir_.filePath(name); }
    static void write(const QString& p, const QByteArray& bytes) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray head(const QString& p, qint64 n) {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.read(n) : QByteArray();
    }

    QTemporaryDir dir_;
    QString wav_, mp3_;
    platform::VirtualClock clock_{QDateTime(QDate(2024, 3, 1), QTime(8, 0))};
    std::unique_ptr<AudioEngine> engine_ = platform::makeNullAudioEngine(clock_);
};

TEST_F(AudioOpen, VersionCarriesInterfaceLevelInHighWord) {
    EXPECT_EQ(engine_->version() >> 16, 0x0204u);
    EXPECT_TRUE(engine_->init());
}

TEST_F(AudioOpen, DamagedOrMissingFilesFailBelowFirstHandle) {
    QByteArray random(200000, '\0');
    QRandomGenerator gen(7);
    for (auto& c : random) c = static_cast<char>(gen.bounded(256));
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty.wav", {}},
        {"empty.mp3", {}},
        {"text.mp3", "this is not music\n"},
        {"text.wav", "RIFF but nothing after it"},
        {"random.mp3", random},
        {"random.wav", random},
        {"header-only.wav", head(wav_, 44)},
        {"truncated.wav", head(wav_, 40)},
        {"truncated.mp3", head(mp3_, 300)},
    };
    for (const auto& c : cases) {
        write(path(c.name), c.bytes);
        EXPECT_LT(engine_->openFile(path(c.name)), AudioEngine::kFirstHandle) << c.name;
        EXPECT_LT(engine_->openMemory(c.bytes), AudioEngine::kFirstHandle) << c.name;
    }
    EXPECT_LT(engine_->openFile(path("missing.mp3")), AudioEngine::kFirstHandle);
    EXPECT_LT(engine_->openFile(dir_.path()), AudioEngine::kFirstHandle);  // a folder
    EXPECT_LT(engine_->openFile(""), AudioEngine::kFirstHandle);
}

TEST_F(AudioOpen, FormatsOpenWithTheirOwnRateAndChannels) {
    struct Case {
        const char* name;
        audiotest::Tone tone;
    };
    const Case cases[] = {
        {"s16.wav", {1.0, 44100, 2, 440, 0.5, SF_FORMAT_WAV | SF_FORMAT_PCM_16}},
        {"float.wav", {1.0, 48000, 2, 440, 0.5, SF_FORMAT_WAV | SF_FORMAT_FLOAT}},
        {"mono22k.wav", {1.0, 22050, 1, 440, 0.5, SF_FORMAT_WAV | SF_FORMAT_PCM_16}},
        {"tone.flac", {1.0, 44100, 2, 440, 0.5, SF_FORMAT_FLAC | SF_FORMAT_PCM_16}},
        {"tone.ogg", {1.0, 44100, 2, 440, 0.5, SF_FORMAT_OGG | SF_FORMAT_VORBIS}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(audiotest::writeTone(path(c.name), c.tone)) << c.name;
        const AudioHandle h = engine_->openFile(path(c.name));
        ASSERT_GE(h, AudioEngine::kFirstHandle) << c.name;
        EXPECT_NEAR(engine_->bytesToSeconds(h, engine_->length(h)), 1.0, 0.01) << c.name;
        // One second is rate x channels x 2 bytes, in the file's own format.
        EXPECT_EQ(engine_->secondsToBytes(h, 1.0), 2LL * c.tone.rate * c.tone.channels) << c.name;
        EXPECT_TRUE(engine_->release(h));
    }
    const AudioHandle mp3 = engine_->openFile(mp3_);
    ASSERT_GE(mp3, AudioEngine::kFirstHandle);
    EXPECT_NEAR(engine_->bytesToSeconds(mp3, engine_->length(mp3)), 2.0, 0.06);
}

TEST_F(AudioOpen, PathsWithBlanksQuotesAndChineseOpen) {
    const QString names[] = {"with blank.mp3", "it's \"quoted\".wav", "上课铃声.mp3",
                             "目录 一/下课 音乐.wav"};
    QDir(dir_.path()).mkpath("目录 一");
    for (const QString& name : names) {
        ASSERT_TRUE(QFile::copy(name.endsWith(".mp3") ? mp3_ : wav_, path(name)));
        const AudioHandle h = engine_->openFile(path(name));
        EXPECT_GE(h, AudioEngine::kFirstHandle) << name.toStdString();
    }
}

TEST_F(AudioOpen, MemoryStreamOfACompleteWavFile) {
    QFile f(wav_);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const AudioHandle h = engine_->openMemory(f.readAll());
    ASSERT_GE(h, AudioEngine::kFirstHandle);
    EXPECT_EQ(engine_->length(h), 2LL * 44100 * 2 * 2);
}

TEST_F(AudioOpen, HandlesAreNeverReusedAndDieWithRelease) {
    const AudioHandle a = engine_->openFile(wav_);
    const AudioHandle b = engine_->openFile(wav_);
    ASSERT_GE(a, AudioEngine::kFirstHandle);
    ASSERT_GE(b, AudioEngine::kFirstHandle);
    EXPECT_NE(a, b);
    EXPECT_TRUE(engine_->release(a));
    EXPECT_FALSE(engine_->release(a));
    EXPECT_FALSE(engine_->play(a));
    EXPECT_EQ(engine_->length(a), -1);
    EXPECT_EQ(engine_->position(a), -1);
    EXPECT_EQ(engine_->state(a), AudioEngine::State::Stopped);
    const AudioHandle c = engine_->openFile(wav_);
    EXPECT_NE(c, a);
    // Below the first handle nothing is ever valid.
    EXPECT_FALSE(engine_->play(0));
    EXPECT_FALSE(engine_->setVolume(44, 0.5f));
}

TEST_F(AudioOpen, PushStreamFormatIsChecked) {
    EXPECT_LT(engine_->openPush(0, 1), AudioEngine::kFirstHandle);
    EXPECT_LT(engine_->openPush(22050, 0), AudioEngine::kFirstHandle);
    EXPECT_LT(engine_->openPush(22050, 9), AudioEngine::kFirstHandle);
    const AudioHandle h = engine_->openPush(22050, 1);
    ASSERT_GE(h, AudioEngine::kFirstHandle);
    EXPECT_FALSE(engine_->setPosition(h, 0));
    // Appending to a file stream is refused.
    const AudioHandle file = engine_->openFile(wav_);
    const qint16 pcm[4] = {};
    EXPECT_FALSE(engine_->appendPush(file, pcm, 2));
}

}  // namespace
