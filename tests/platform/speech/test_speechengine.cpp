#include "platform/speech/speechengine.h"

#include "platform/speech/collectingoutput.h"
#include "platform/speech/speechrate.h"
#include "speechtesthelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

using platform::CollectingSpeechOutput;
using platform::SpeechEngine;
using platform::SpeechEvent;
using namespace speechtest;

namespace {

struct Fixture : ::testing::Test {
    std::shared_ptr<CollectingSpeechOutput> out = std::make_shared<CollectingSpeechOutput>();
    SpeechEngine engine{out};
    std::mutex eventsMutex;
    std::vector<SpeechEvent> events;

    void SetUp() override {
        ASSERT_TRUE(engine.available()) << engine.errorText().toStdString();
        engine.setEventHandler([this](const SpeechEvent& e) {
            std::lock_guard lk(eventsMutex);
            events.push_back(e);
        });
    }
    std::vector<SpeechEvent> eventsOf(SpeechEvent::Type type) {
        std::lock_guard lk(eventsMutex);
        std::vector<SpeechEvent> list;
        for (const auto& e : events)
            if (e.type == type) list.push_back(e);
        return list;
    }
    // The sound of one synchronous speak.
    std::vector<int16_t> spoken(const QString& text) {
        out->clear();
        EXPECT_TRUE(engine.speak(text));
        const auto u = out->utterances();
        EXPECT_EQ(u.size(), 1u);
        return u.empty() ? std::vector<int16_t>{} : u.back().samples;
    }
};

using SpeechEngineTest = Fixture;

TEST_F(SpeechEngineTest, VoiceZeroSpeaksChineseAudiblyAtAPlausibleLength) {
    ASSERT_EQ(engine.voiceIndex(), 0);
    const QString text = chineseSentence();  // 16 characters and 3 punctuation marks
    const auto sound = spoken(text);
    EXPECT_GT(peak(sound), 4000);
    // Mandarin at normal speed: roughly 3 to 6 characters a second, with pauses.
    EXPECT_GT(seconds(sound), 16 / 7.0);
    EXPECT_LT(seconds(sound), 16 / 2.0);
    const auto ends = eventsOf(SpeechEvent::Type::End);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_TRUE(ends[0].completed);
}

TEST_F(SpeechEngineTest, FasterRatesGiveShorterSpeech) {
    const int rates[] = {-10, -5, 0, 5, 10, 15};
    std::vector<double> lengths;
    for (int r : rates) {
        engine.setRate(r);
        lengths.push_back(seconds(spoken(chineseSentence())));
    }
    for (size_t i = 1; i < lengths.size(); ++i)
        EXPECT_LT(lengths[i], lengths[i - 1]) << "rate " << rates[i];
    // Ten steps are a factor of 1.06^10 = 1.8 in words per minute.
    EXPECT_GT(lengths[2] / lengths[4], 1.3);
}

TEST_F(SpeechEngineTest, VolumeScalesTheSoundLinearlyAndZeroIsSilence) {
    engine.setVolume(100);
    const auto full = spoken(chineseSentence());
    engine.setVolume(50);
    const auto half = spoken(chineseSentence());
    engine.setVolume(0);
    const auto none = spoken(chineseSentence());
    // espeak-ng varies a text's length by a few samples from one run to the next.
    EXPECT_NEAR(double(half.size()) / full.size(), 1.0, 0.01);
    EXPECT_NEAR(double(none.size()) / full.size(), 1.0, 0.01);
    EXPECT_EQ(peak(none), 0);
    EXPECT_NEAR(rms(full) / rms(half), 2.0, 0.05);
}

TEST_F(SpeechEngineTest, SettingsAreClampedAndABadVoiceIsRefused) {
    struct Case {
        int set, rate, volume;
    };
    const Case cases[] = {{-20, -10, 0}, {7, 7, 7}, {200, 15, 100}};
    for (const Case& c : cases) {
        engine.setRate(c.set);
        engine.setVolume(c.set);
        EXPECT_EQ(engine.rate(), c.rate) << c.set;
        EXPECT_EQ(engine.volume(), c.volume) << c.set;
    }
    const int n = static_cast<int>(engine.voices().size());
    ASSERT_TRUE(engine.selectVoice(n - 1));
    for (int bad : {-1, n}) {
        EXPECT_FALSE(engine.selectVoice(bad));
        EXPECT_EQ(engine.voiceIndex(), n - 1);
    }
}

TEST_F(SpeechEngineTest, BlankTextSpeaksNothingAndMarkupIsReadAsText) {
    EXPECT_TRUE(engine.speak(QStringLiteral(" \n\t ")));
    EXPECT_EQ(engine.speakAsync(QString()), 0u);
    EXPECT_TRUE(out->utterances().empty());
    // No markup is interpreted, and a NUL does not cut the text short.
    const auto plain = spoken(QStringLiteral("1 2 3 4 5 6"));
    const auto odd =
        spoken(QStringLiteral("<speak>1 2 3</speak>") + QChar(0) + QStringLiteral("4 5 6"));
    EXPECT_GT(peak(odd), 4000);
    EXPECT_GT(odd.size(), plain.size());
}

TEST_F(SpeechEngineTest, WordEventsPointIntoTheText) {
    const int english = voiceOfLanguage(engine, QStringLiteral("en"));
    ASSERT_GE(english, 0);
    engine.selectVoice(english);
    // After such a text espeak-ng reports an empty word at the start of the next one.
    ASSERT_TRUE(engine.speak(QStringLiteral("<speak>1 2 3</speak> 4")));
    {
        std::lock_guard lk(eventsMutex);
        events.clear();
    }
    // A character outside the basic plane counts as two QString units.
    const QString text = QStringLiteral("hello \U0001F600 big world");
    ASSERT_TRUE(engine.speak(text));
    std::vector<QString> words;
    for (const auto& e : eventsOf(SpeechEvent::Type::Word)) {
        words.push_back(text.mid(e.position, e.length));
    }
    ASSERT_GE(words.size(), 3u);
    EXPECT_EQ(words.front(), QLatin1String("hello"));
    EXPECT_EQ(words[words.size() - 2], QLatin1String("big"));
    EXPECT_EQ(words.back(), QLatin1String("world"));
    EXPECT_EQ(eventsOf(SpeechEvent::Type::Sentence).size(), 1u);
}

TEST_F(SpeechEngineTest, AsyncSpeechIsQueuedAndSpokenInOrder) {
    const uint64_t first = engine.speakAsync(chineseText(40));
    const uint64_t second = engine.speakAsync(QStringLiteral("好"));
    ASSERT_NE(first, 0u);
    ASSERT_GT(second, first);
    ASSERT_TRUE(engine.waitUntilDone());
    EXPECT_FALSE(engine.isBusy());
    const auto u = out->utterances();
    ASSERT_EQ(u.size(), 2u);
    EXPECT_EQ(u[0].id, first);
    EXPECT_EQ(u[1].id, second);
    EXPECT_GT(u[0].samples.size(), 4 * u[1].samples.size());
    for (const auto& x : u) {
        EXPECT_TRUE(x.ended);
        EXPECT_FALSE(x.discarded);
        EXPECT_GT(peak(x.samples), 4000);
    }
    EXPECT_EQ(out->orderErrors(), 0);
}

TEST_F(SpeechEngineTest, PurgeStopsALongAsyncTextWithinAChunk) {
    auto gate = std::make_shared<GateOutput>();
    engine.setOutput(gate);
    const QString text = chineseText(20000);  // about an hour and a half of speech
    engine.speakAsync(text);
    ASSERT_TRUE(gate->waitForSound());
    engine.purge();
    const size_t atPurge = gate->totalSamples();
    ASSERT_TRUE(engine.waitUntilDone());
    // Nothing more after purge() returned, and only a small part of the text was made.
    EXPECT_EQ(gate->totalSamples(), atPurge);
    EXPECT_LT(atPurge / 22050.0, 0.05 * 20000 / 4.0);
    const auto u = gate->utterances();
    ASSERT_EQ(u.size(), 1u);
    EXPECT_TRUE(u[0].ended);
    EXPECT_TRUE(u[0].discarded);
    const auto ends = eventsOf(SpeechEvent::Type::End);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_FALSE(ends[0].completed);
    // The engine speaks normally afterwards.
    engine.setOutput(nullptr);
    EXPECT_GT(peak(spoken(QStringLiteral("好"))), 4000);
}

TEST_F(SpeechEngineTest, SpeakDiscardsWhatWasQueuedBeforeIt) {
    engine.speakAsync(chineseText(5000));
    engine.speakAsync(chineseText(5000));
    ASSERT_TRUE(engine.speak(QStringLiteral("好")));
    const auto u = out->utterances();
    ASSERT_FALSE(u.empty());
    ASSERT_LE(u.size(), 2u);  // the second text never began
    EXPECT_FALSE(u.back().discarded);
    EXPECT_GT(peak(u.back().samples), 4000);
    if (u.size() == 2) {
        EXPECT_TRUE(u[0].discarded);
    }
    const auto ends = eventsOf(SpeechEvent::Type::End);
    ASSERT_FALSE(ends.empty());
    EXPECT_TRUE(ends.back().completed);
    for (size_t i = 0; i + 1 < ends.size(); ++i) EXPECT_FALSE(ends[i].completed);
}

TEST_F(SpeechEngineTest, ResetSilencesAsyncSpeechButNotTheSpeakUnderWay) {
    auto gate = std::make_shared<GateOutput>();
    gate->holdSpeakers();
    engine.setOutput(gate);
    engine.selectVoice(1);
    engine.setRate(5);
    engine.setVolume(30);
    std::atomic<int> result{-1};
    std::thread reader([&] { result = engine.speak(QStringLiteral("第一段")) ? 1 : 0; });
    ASSERT_TRUE(gate->waitForSpeaker());
    const uint64_t later = engine.speakAsync(chineseText(3000));  // e.g. a time announcement
    engine.reset();
    EXPECT_EQ(engine.voiceIndex(), 0);
    EXPECT_EQ(engine.rate(), SpeechEngine::kDefaultRate);
    EXPECT_EQ(engine.volume(), SpeechEngine::kDefaultVolume);
    EXPECT_EQ(engine.output(), out);
    gate->release();
    reader.join();
    EXPECT_EQ(result, 1);
    ASSERT_TRUE(engine.waitUntilDone());
    for (const auto& u : gate->utterances()) EXPECT_EQ(u.discarded, u.id == later) << u.id;
    EXPECT_EQ(gate->orderErrors(), 0);
}

TEST_F(SpeechEngineTest, SpeakingFromTwoThreadsIsSerialized) {
    std::atomic<int> spokenToEnd{0};
    const auto reader = [&](int seed) {
        for (int i = 0; i < 6; ++i)
            if (engine.speak(chineseText(20 + 15 * ((seed + i) % 3)))) ++spokenToEnd;
    };
    std::thread a(reader, 0), b(reader, 1);
    a.join();
    b.join();
    ASSERT_TRUE(engine.waitUntilDone());
    EXPECT_FALSE(out->open());
    EXPECT_EQ(out->orderErrors(), 0);  // no utterance interleaved with another
    EXPECT_GE(spokenToEnd.load(), 1);
    const auto u = out->utterances();
    EXPECT_LE(u.size(), 12u);
    for (size_t i = 0; i < u.size(); ++i) {
        EXPECT_TRUE(u[i].ended);
        if (i > 0) {
            EXPECT_GT(u[i].id, u[i - 1].id);
        }
    }
}

}  // namespace
