#include "platform/clock/virtualclock.h"
#include "platform/speech/pacedoutput.h"
#include "platform/speech/speechengine.h"
#include "platform/speech/wavfileoutput.h"
#include "speechtesthelpers.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sndfile.h>

#include <atomic>
#include <map>
#include <thread>

using platform::PacedSpeechOutput;
using platform::SpeechEngine;
using platform::VirtualClock;
using platform::WavFileSpeechOutput;
using namespace speechtest;

namespace {

// Paced output that also counts each utterance's samples, to know its exact duration.
class CountingPaced : public PacedSpeechOutput {
public:
    using PacedSpeechOutput::PacedSpeechOutput;
    void begin(uint64_t id) override {
        PacedSpeechOutput::begin(id);
        std::lock_guard lk(m_);
        current_ = id;
    }
    void write(const int16_t* s, size_t n) override {
        PacedSpeechOutput::write(s, n);
        std::lock_guard lk(m_);
        samples_[current_] += n;
    }
    qint64 durationMs(uint64_t id) {
        std::lock_guard lk(m_);
        return static_cast<qint64>((samples_[id] * 1000 + 22049) / 22050);
    }
    std::vector<uint64_t> ids() {
        std::lock_guard lk(m_);
        std::vector<uint64_t> v;
        for (const auto& [id, n] : samples_) v.push_back(id);
        return v;
    }

private:
    std::mutex m_;
    uint64_t current_ = 0;
    std::map<uint64_t, size_t> samples_;
};

QDateTime morning() {
    return QDateTime(QDate(2024, 3, 4), QTime(8, 0));
}

// Runs `body` on a worker registered with `clock` while the test thread drives virtual time.
template <typename Body>
void onWorker(VirtualClock& clock, Body body) {
    std::atomic<bool> registered{false}, finished{false};
    std::thread t([&] {
        platform::ThreadScope scope(clock);
        registered = true;
        body();
        finished = true;
    });
    while (!registered) std::this_thread::yield();
    while (!finished) clock.advance(1000);
    t.join();
}

TEST(PacedSpeechOutput, ASynchronousSpeakTakesExactlyItsDurationInVirtualTime) {
    VirtualClock clock(morning());
    auto out = std::make_shared<CountingPaced>(clock);
    SpeechEngine engine(out);
    qint64 start = -1, end = -1;
    bool ok = false;
    onWorker(clock, [&] {
        start = clock.tickMs();
        ok = engine.speak(chineseSentence());
        end = clock.tickMs();
    });
    ASSERT_TRUE(ok);
    const auto ids = out->ids();
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_GT(out->durationMs(ids[0]), 1000);
    EXPECT_EQ(end - start, out->durationMs(ids[0]));
}

TEST(PacedSpeechOutput, AsyncUtterancesFollowEachOther) {
    VirtualClock clock(morning());
    auto out = std::make_shared<CountingPaced>(clock);
    SpeechEngine engine(out);
    clock.advance(250);
    const uint64_t a = engine.speakAsync(chineseSentence());
    const uint64_t b = engine.speakAsync(QStringLiteral("再见"));
    ASSERT_TRUE(engine.waitUntilDone());  // on the test thread: runs virtual time
    EXPECT_EQ(clock.tickMs(), 250 + out->durationMs(a) + out->durationMs(b));
    EXPECT_EQ(out->busyUntil(), clock.tickMs());
}

TEST(PacedSpeechOutput, PurgeEndsTheSpeakersWaitAtOnce) {
    VirtualClock clock(morning());
    auto out = std::make_shared<CountingPaced>(clock);
    SpeechEngine engine(out);
    platform::Timer::singleShot(clock, 500, nullptr, [&] { engine.purge(); });
    qint64 end = -1;
    bool ok = true;
    onWorker(clock, [&] {
        ok = engine.speak(chineseText(200));
        end = clock.tickMs();
    });
    EXPECT_FALSE(ok);
    // The speaker looks at its sound at least every 100 ms.
    EXPECT_GE(end, 500);
    EXPECT_LE(end, 600);
}

TEST(WavFileSpeechOutput, ExportWritesAWavFileOfTheEnginesFormat) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("报告.wav"));
    SpeechEngine engine;
    auto file = std::make_shared<WavFileSpeechOutput>(path);
    ASSERT_TRUE(file->isOpen());
    const auto original = engine.output();
    engine.setOutput(file);
    engine.speakAsync(chineseSentence());
    ASSERT_TRUE(engine.waitUntilDone());
    ASSERT_TRUE(file->close());
    engine.reset();
    EXPECT_EQ(engine.output(), original);

    SF_INFO info{};
    SNDFILE* f = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    ASSERT_NE(f, nullptr);
    std::vector<int16_t> samples(static_cast<size_t>(info.frames));
    const sf_count_t got = sf_read_short(f, samples.data(), info.frames);
    sf_close(f);
    EXPECT_EQ(info.samplerate, 22050);
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(static_cast<size_t>(info.frames), file->framesWritten());
    EXPECT_EQ(got, info.frames);
    EXPECT_GT(seconds(samples), 2.0);
    EXPECT_GT(peak(samples), 4000);
}

TEST(WavFileSpeechOutput, AnUnwritablePlaceIsReportedNotAnnounced) {
    QTemporaryDir dir;
    WavFileSpeechOutput file(dir.filePath(QStringLiteral("missing/folder/x.wav")));
    EXPECT_FALSE(file.isOpen());
    const int16_t s[4] = {1, 2, 3, 4};
    file.write(s, 4);
    EXPECT_FALSE(file.close());
    EXPECT_FALSE(file.errorText().isEmpty());
    EXPECT_EQ(file.framesWritten(), 0u);
}

}  // namespace
