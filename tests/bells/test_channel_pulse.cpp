// End to end: music started on the playback channel reaches the sound server; what the null
// sink's monitor records while it plays is not silent.
#include "platform/audio/audioengine.h"
#include "platform/clock/realclock.h"
#include "platform/prompter/prompter.h"
#include "platform/trace/trace.h"
#include "speaker/bells/playbackchannel.h"
#include "speaker/core/services.h"
#include "tests/platform/audio/fixtures.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <mutex>

namespace {
bool serverReachable() {
    QProcess script;
    script.start(QStringLiteral("bash"), {QStringLiteral(START_TEST_PULSE)});
    return script.waitForFinished(20000) && script.exitStatus() == QProcess::NormalExit &&
           script.exitCode() == 0;
}
}  // namespace

TEST(ChannelOnTheServer, MusicPlayedOnTheChannelIsRecordedFromTheMonitor) {
    if (!serverReachable()) GTEST_SKIP() << "no PulseAudio server could be reached or started";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString wav = dir.filePath(QStringLiteral("tone.wav"));
    const QString mp3 = dir.filePath(QStringLiteral("下课 \"铃\".mp3"));
    ASSERT_TRUE(audiotest::writeTone(wav, {3.0, 44100, 2, 523, 0.5}));
    ASSERT_TRUE(audiotest::encodeMp3(wav, mp3));

    platform::RealClock clock;
    platform::Trace trace(clock);
    platform::ScriptedPrompter prompter;
    auto engine = platform::makePulseAudioEngine(clock);
    core::Services services;
    services.programDir = dir.path() + QLatin1Char('/');
    services.clock = &clock;
    services.prompter = &prompter;
    services.trace = &trace;
    services.audio = engine.get();
    QString panel3;
    bells::ChannelHooks hooks;
    hooks.setStatusText = [&](int panel, const QString& text) {
        if (panel == 3) panel3 = text;
    };
    bells::PlaybackChannel channel(services, hooks);
    ASSERT_TRUE(channel.initbass());

    ASSERT_FALSE(engine->captureInputs().empty());  // the monitor of the output is on
    std::mutex m;
    std::vector<qint16> got;
    const auto cap = engine->startCapture([&](const qint16* s, std::size_t frames) {
        std::lock_guard lock(m);
        got.insert(got.end(), s, s + 2 * frames);
        return true;
    });
    ASSERT_GE(cap, platform::AudioEngine::kFirstHandle);

    channel.bassplay(mp3, 100);
    ASSERT_GE(channel.mp3stream, platform::AudioEngine::kFirstHandle) << panel3.toStdString();
    // The server plays and records in real time.
    for (int i = 0; i < 30 && channel.positionSeconds() < 1.5; ++i) QThread::msleep(100);
    QThread::msleep(300);
    EXPECT_TRUE(engine->stopCapture(cap));
    channel.mp3_stopClick();
    std::lock_guard lock(m);
    ASSERT_GT(got.size(), 2u * 44100 / 2);
    EXPECT_GT(audiotest::rms(got.data(), got.size()), 0.05);
}
