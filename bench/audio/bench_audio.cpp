// Figures of the audio engine, each as a ratio measured in this run:
//  - opening a stream against `sox --i` reading the same file's header;
//  - the engine's CPU (mixer and decoder threads) while one MP3 plays on the server, as a
//    fraction of one core.
#include "platform/audio/audioengine.h"
#include "platform/clock/realclock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <sys/resource.h>

#include <cstdio>

namespace {

bool run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(300000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Mean milliseconds of `fn` over `n` runs.
template <typename Fn>
double meanMs(int n, Fn fn) {
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < n; ++i) fn();
    return double(t.nsecsElapsed()) / 1e6 / n;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString wav = dir.filePath("music.wav"), mp3 = dir.filePath("music.mp3");
    // Ten minutes of music-like sound: a chord with a slow tremolo.
    if (!run("sox", {"-n", "-r", "44100", "-c", "2", wav, "synth", "600", "sine", "220", "sine",
                     "330", "tremolo", "3", "40", "vol", "0.4"}) ||
        !run("lame", {"--quiet", "-b", "192", wav, mp3})) {
        std::fprintf(stderr, "cannot make the test music (sox, lame)\n");
        return 1;
    }

    platform::RealClock clock;
    auto null = platform::makeNullAudioEngine(clock);
    constexpr int kRuns = 20;
    for (const QString& file : {mp3, wav}) {
        const double ours = meanMs(kRuns, [&] { null->release(null->openFile(file)); });
        const double soxi = meanMs(kRuns, [&] { run("sox", {"--i", file}); });
        std::printf("open %s (10 min): engine / sox --i = %.4f\n",
                    qPrintable(file.section('.', -1)), ours / soxi);
    }

    if (!run("bash", {QStringLiteral(SOURCE_DIR "/scripts/start-test-pulse.sh")})) {
        std::printf("mixer CPU: skipped, no PulseAudio server\n");
        return 0;
    }
    auto engine = platform::makePulseAudioEngine(clock);
    if (!engine->init()) {
        std::printf("mixer CPU: skipped, the engine could not connect\n");
        return 0;
    }
    const platform::AudioHandle h = engine->openFile(mp3);
    engine->play(h);
    QThread::msleep(500);  // past the start-up fill
    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QThread::msleep(5000);
    const double fraction = (cpuSeconds() - cpu0) / (double(wall.nsecsElapsed()) / 1e9);
    std::printf("mixer CPU while one MP3 plays: %.4f of one core (position %.1f s)\n", fraction,
                engine->bytesToSeconds(h, engine->position(h)));
    return 0;
}
