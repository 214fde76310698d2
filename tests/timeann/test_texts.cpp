// The spoken texts and the chime recording.
#include "platform/audio/audioengine.h"
#include "platform/clock/virtualclock.h"
#include "speaker/timeann/timeann.h"

#include <gtest/gtest.h>

namespace {

struct TextCase {
    const char* hhnn;
    const char* text;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.hhnn;
}

class AnnouncementText : public ::testing::TestWithParam<TextCase> {};

TEST_P(AnnouncementText, FollowsTheHourAndMinuteRules) {
    EXPECT_EQ(timeann::announcementText(QString::fromUtf8(GetParam().hhnn)),
              QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Times, AnnouncementText,
    ::testing::Values(
        TextCase{"00:00", "现在是北京时间 零点正"}, TextCase{"00:30", "现在是北京时间 零点30"},
        TextCase{"08:00", "现在是北京时间08:00正"}, TextCase{"08:30", "现在是北京时间08:30"},
        TextCase{"23:30", "现在是北京时间23:30"}, TextCase{"10:00", "现在是北京时间10:00正"},
        // Hour 00 has only its two shipped times; anything else says nothing.
        TextCase{"00:15", ""}),
    [](const auto& info) {
        return "At" + QString::fromLatin1(info.param.hhnn).remove(':').toStdString();
    });

TEST(Chime, IsAStereoRecordingOfAboutTwoAndAHalfSecondsThatPlaysAndEnds) {
    const QByteArray wav = timeann::chimeWav();
    ASSERT_FALSE(wav.isEmpty());
    ASSERT_TRUE(wav.startsWith("RIFF"));
    // Channels at byte 22, sample rate at 24 of the canonical header mkchime writes.
    const auto u16 = [&](int at) { return quint8(wav[at]) | quint8(wav[at + 1]) << 8; };
    EXPECT_EQ(u16(22), 2);
    EXPECT_EQ(u16(24) | u16(26) << 16, 44100);

    platform::VirtualClock clock(QDateTime(QDate(2026, 1, 5), QTime(8, 0)));
    auto audio = platform::makeNullAudioEngine(clock);
    const platform::AudioHandle h = audio->openMemory(wav);
    ASSERT_GE(h, platform::AudioEngine::kFirstHandle);
    EXPECT_NEAR(audio->bytesToSeconds(h, audio->length(h)), 2.6, 0.05);
    ASSERT_TRUE(audio->play(h));
    clock.advance(2000);
    EXPECT_EQ(audio->state(h), platform::AudioEngine::State::Playing);
    clock.advance(700);
    EXPECT_EQ(audio->state(h), platform::AudioEngine::State::Stopped);
}

}  // namespace
