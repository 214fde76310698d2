// The PulseAudio device: what it plays reaches the server (recorded back from the null sink's
// monitor), and without a server it fails fast and never hangs.
#include "fixtures.h"
#include "platform/audio/audioengine.h"
#include "platform/clock/realclock.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

using platform::AudioEngine;
using platform::AudioHandle;

namespace {

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() { had_ ? (void)qputenv(name_, old_) : (void)qunsetenv(name_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

bool serverReachable() {
    QProcess script;
    script.start("bash", {START_TEST_PULSE});
    return script.waitForFinished(20000) && script.exitStatus() == QProcess::NormalExit &&
           script.exitCode() == 0;
}

TEST(AudioPulse, WithoutServerInitFailsQuicklyAndOpensFail) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString tone = dir.filePath("tone.wav");
    ASSERT_TRUE(audiotest::writeTone(tone, {0.5}));
    ScopedEnv server("PULSE_SERVER", "unix:" + dir.filePath("no-server-here").toUtf8());

    platform::RealClock clock;
    auto engine = platform::makePulseAudioEngine(clock);
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(engine->init());
    EXPECT_FALSE(engine->isReady());
    // Every call after that returns without waiting for a server.
    EXPECT_LT(engine->openFile(tone), AudioEngine::kFirstHandle);
    EXPECT_LT(engine->openPush(22050, 1), AudioEngine::kFirstHandle);
    EXPECT_TRUE(engine->captureInputs().empty());
    EXPECT_LT(engine->startCapture([](const qint16*, std::size_t) { return true; }),
              AudioEngine::kFirstHandle);
    EXPECT_LT(t.elapsed(), 2500);  // a refused connection is answered at once, not timed out
}

TEST(AudioPulse, PlayedToneIsHeardOnTheSinkMonitor) {
    if (!serverReachable()) GTEST_SKIP() << "no PulseAudio server could be reached or started";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString wav = dir.filePath("tone.wav"), mp3 = dir.filePath("上课 铃.mp3");
    ASSERT_TRUE(audiotest::writeTone(wav, {3.0, 44100, 2, 440, 0.5}));
    ASSERT_TRUE(audiotest::encodeMp3(wav, mp3));

    platform::RealClock clock;
    auto engine = platform::makePulseAudioEngine(clock);
    ASSERT_TRUE(engine->init());
    const auto inputs = engine->captureInputs();
    ASSERT_FALSE(inputs.empty());
    int on = -1;
    for (std::size_t i = 0; i < inputs.size(); ++i)
        if (inputs[i].on) on = static_cast<int>(i);
    ASSERT_GE(on, 0) << "one input is on after start";

    std::mutex m;
    std::vector<qint16> got;
    const AudioHandle cap = engine->startCapture([&](const qint16* s, std::size_t frames) {
        std::lock_guard lock(m);
        got.insert(got.end(), s, s + 2 * frames);
        return true;
    });
    ASSERT_GE(cap, AudioEngine::kFirstHandle);

    const AudioHandle h = engine->openFile(mp3);
    ASSERT_GE(h, AudioEngine::kFirstHandle);
    ASSERT_TRUE(engine->play(h));
    // Real time passes here: the server plays and records at its own pace.
    for (int i = 0; i < 30 && engine->bytesToSeconds(h, engine->position(h)) < 1.5; ++i)
        QThread::msleep(100);
    QThread::msleep(300);
    EXPECT_EQ(engine->state(h), AudioEngine::State::Playing);
    EXPECT_GT(engine->bytesToSeconds(h, engine->position(h)), 1.0);
    EXPECT_TRUE(engine->stopCapture(cap));
    std::lock_guard lock(m);
    ASSERT_GT(got.size(), 2u * 44100 / 2);
    EXPECT_GT(audiotest::rms(got.data(), got.size()), 0.05);
}

// A private server on a socket of its own, which the test can take away and bring back.
class PrivateServer {
public:
    explicit PrivateServer(const QString& dir) : dir_(dir) {}
    ~PrivateServer() { stop(); }
    QByteArray address() const { return "unix:" + (dir_ + "/native").toUtf8(); }

    bool start() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("PULSE_RUNTIME_PATH", dir_);
        env.insert("PULSE_STATE_PATH", dir_);
        env.insert("HOME", dir_);
        env.remove("PULSE_SERVER");
        process_.setProcessEnvironment(env);
        process_.start(
            "pulseaudio",
            {"--daemonize=no", "--use-pid-file=false", "-n", "--exit-idle-time=-1",
             "--load=module-null-sink sink_name=priv",
             "--load=module-native-protocol-unix socket=" + dir_ + "/native auth-anonymous=1"});
        if (!process_.waitForStarted(5000)) return false;
        for (int i = 0; i < 50; ++i) {
            QProcess info;
            QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
            e.insert("PULSE_SERVER", QString::fromUtf8(address()));
            info.setProcessEnvironment(e);
            info.start("pactl", {"info"});
            if (info.waitForFinished(2000) && info.exitCode() == 0) return true;
            QThread::msleep(100);
        }
        return false;
    }
    void stop() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.kill();  // as a crash would: no goodbye to the clients
        process_.waitForFinished(5000);
    }

private:
    QString dir_;
    QProcess process_;
};

// Waits up to `ms` of real time for `done`.
template <typename Fn>
bool waitUntil(int ms, Fn done) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QThread::msleep(50);
    }
    return true;
}

TEST(AudioPulse, ReconnectsAfterTheServerRestartsAndPlaysOn) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    PrivateServer server(dir.path());
    if (!server.start()) GTEST_SKIP() << "cannot start a private PulseAudio server";
    const QString tone = dir.filePath("tone.wav");
    ASSERT_TRUE(audiotest::writeTone(tone, {20.0}));
    ScopedEnv env("PULSE_SERVER", server.address());

    platform::RealClock clock;
    auto engine = platform::makePulseAudioEngine(clock);
    ASSERT_TRUE(engine->init());
    const AudioHandle h = engine->openFile(tone);
    ASSERT_GE(h, AudioEngine::kFirstHandle);
    engine->play(h);
    auto seconds = [&] { return engine->bytesToSeconds(h, engine->position(h)); };
    ASSERT_TRUE(waitUntil(5000, [&] { return seconds() > 0.3; }));

    server.stop();
    ASSERT_TRUE(waitUntil(5000, [&] { return !engine->isReady(); }));
    // While the server is away the calls answer at once and files still open.
    QElapsedTimer t;
    t.start();
    const AudioHandle other = engine->openFile(tone);
    EXPECT_GE(other, AudioEngine::kFirstHandle);
    EXPECT_EQ(engine->state(h), AudioEngine::State::Playing);
    EXPECT_LT(t.elapsed(), 1000);
    const double halted = seconds();

    ASSERT_TRUE(server.start());
    EXPECT_TRUE(waitUntil(10000, [&] { return engine->isReady(); }));
    EXPECT_TRUE(waitUntil(5000, [&] { return seconds() > halted + 0.3; }));
}

}  // namespace
