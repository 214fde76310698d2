#include "platform/speech/speechrate.h"

#include <gtest/gtest.h>

#include <espeak-ng/speak_lib.h>

using platform::wordsPerMinute;

TEST(SpeechRate, ZeroIsTheEnginesNormalSpeed) {
    EXPECT_EQ(wordsPerMinute(0), espeakRATE_NORMAL);
}

TEST(SpeechRate, EveryStepIsTheSameFactorAndStaysInTheEnginesRange) {
    for (int r = platform::kMinSpeechRate; r <= platform::kMaxSpeechRate; ++r) {
        SCOPED_TRACE(r);
        EXPECT_GE(wordsPerMinute(r), espeakRATE_MINIMUM);
        EXPECT_LE(wordsPerMinute(r), espeakRATE_MAXIMUM);
        if (r == platform::kMinSpeechRate) continue;
        const double step = double(wordsPerMinute(r)) / wordsPerMinute(r - 1);
        EXPECT_GT(step, 1.0);  // monotonic
        // The same factor up to the rounding to whole words per minute.
        EXPECT_NEAR(step, platform::kSpeechRateStep, 0.6 / wordsPerMinute(r - 1) * 2);
    }
}

TEST(SpeechRate, ValuesOutsideTheScaleAreClamped) {
    struct Case {
        int rate, same;
    };
    const Case cases[] = {{-11, -10}, {-100, -10}, {16, 15}, {1000, 15}};
    for (const Case& c : cases) EXPECT_EQ(wordsPerMinute(c.rate), wordsPerMinute(c.same)) << c.rate;
}
