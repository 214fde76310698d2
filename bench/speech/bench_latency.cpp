// Time from a reading command to the first sample reaching the audio output, as a ratio against
// the `espeak-ng` program's time to its first byte of sound on the same first segment (the
// program's own start-up included, since that is what a user of it waits for).
// The command is modelled as the reading worker does it: a new thread that asks the engine to
// speak the first segment; the clock stops when the output receives the first samples.
#include "platform/speech/speechengine.h"
#include "platform/speech/speechoutput.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>

namespace {

constexpr int kRuns = 7;
const char* const kSegment = "各位顾客，";

// Notes when the first samples of an utterance arrive.
class FirstSampleOutput : public platform::SpeechOutput {
public:
    void write(const int16_t*, size_t count) override {
        if (count == 0) return;
        std::lock_guard lk(m_);
        if (firstMs_ < 0) {
            firstMs_ = timer_.nsecsElapsed() / 1e6;
            cv_.notify_all();
        }
    }
    void arm() {
        std::lock_guard lk(m_);
        firstMs_ = -1;
        timer_.start();
    }
    double waitFirst() {
        std::unique_lock lk(m_);
        cv_.wait_for(lk, std::chrono::seconds(10), [&] { return firstMs_ >= 0; });
        return firstMs_;
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    QElapsedTimer timer_;
    double firstMs_ = -1;
};

double ourLatency(platform::SpeechEngine& engine, FirstSampleOutput& out) {
    out.arm();
    std::thread worker([&] { engine.speak(QString::fromUtf8(kSegment)); });
    const double ms = out.waitFirst();
    worker.join();
    return ms;
}

double programLatency() {
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("espeak-ng"), {QStringLiteral("-v"), QStringLiteral("cmn-latn-pinyin"),
                                          QStringLiteral("--stdout"), QString::fromUtf8(kSegment)});
    if (!p.waitForStarted(5000)) return -1;
    while (p.bytesAvailable() == 0 && p.state() != QProcess::NotRunning) p.waitForReadyRead(5);
    const double ms = t.nsecsElapsed() / 1e6;
    p.waitForFinished(10000);
    return p.exitCode() == 0 ? ms : -1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    auto out = std::make_shared<FirstSampleOutput>();
    platform::SpeechEngine engine(out);
    if (!engine.available() || engine.voices().empty()) {
        std::fprintf(stderr, "no speech engine\n");
        return 1;
    }
    engine.selectVoice(0);
    ourLatency(engine, *out);  // the voice is loaded on first use
    double ours = 1e9, theirs = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        ours = std::min(ours, ourLatency(engine, *out));
        theirs = std::min(theirs, programLatency());
    }
    if (ours < 0 || theirs < 0) {
        std::fprintf(stderr, "measurement failed\n");
        return 1;
    }
    std::printf("reading command to first sample, ours / espeak-ng program's first byte: %.2f\n",
                ours / theirs);
    std::printf("  (best of %d: ours %.1f ms, program %.1f ms)\n", kRuns, ours, theirs);
    return 0;
}
