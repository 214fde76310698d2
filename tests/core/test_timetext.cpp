// The time-of-day check that guards every stored plan and timetable entry.
#include <gtest/gtest.h>

#include "common/timetext.h"

TEST(TimeText, AcceptsOnlyTwoDigitTimesOfDay) {
    const struct {
        const char* text;
        bool valid;
    } cases[] = {
        {"08:00:00", true},
        {"00:00:00", true},
        {"23:59:59", true},
        {"  12:30:05 ", true},  // blanks around are trimmed
        {"8:00:00", false},     // seven characters
        {"24:00:00", false},
        {"10:60:00", false},
        {"10:00:60", false},
        {"1a:00:00", false},
        {"+1:00:00", false},  // a sign is not a digit
        {"-1:00:00", false},
        {" 1:00:00", false},  // trimmed to seven characters
        {"1 :00:00", false},
        {"10:0 :00", false},
        {"10-00-00", false},
        {"10:00:00:", false},  // trailing characters would break text comparison
        {"10:00:001", false},
        {"", false},
        {"        ", false},
        {"99:99:99", false},
        {"１０:００:００", false},  // full-width digits
    };
    for (const auto& c : cases)
        EXPECT_EQ(common::isTimeText(QString::fromUtf8(c.text)), c.valid) << '"' << c.text << '"';
}
