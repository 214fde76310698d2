// Shifted times wrap within the day; the temporary edit's time checks.
#include "speaker/bellschedule/times.h"

#include <gtest/gtest.h>

using bellschedule::checkTimePair;
using bellschedule::shiftTimeText;
using bellschedule::TimePairCheck;

TEST(BellTimes, ShiftMovesWithinTheDay) {
    struct Case {
        const char* in;
        int minutes;
        const char* out;
    };
    for (const Case& c :
         {Case{"08:00:00", -10, "07:50:00"}, Case{"08:00:30", 15, "08:15:30"},
          Case{"08:00:00", 0, "08:00:00"}, Case{"23:55:00", 10, "00:05:00"},
          Case{"00:03:00", -5, "23:58:00"}, Case{"not a time", 5, "not a time"}, Case{"", 5, ""}}) {
        EXPECT_EQ(shiftTimeText(QString::fromUtf8(c.in), c.minutes), QString::fromUtf8(c.out))
            << c.in << " " << c.minutes;
    }
}

TEST(BellTimes, TemporaryEditChecks) {
    struct Case {
        const char* start;
        const char* end;
        TimePairCheck result;
    };
    for (const Case& c : {Case{"08:00:00", "08:15:00", TimePairCheck::Ok},
                          Case{"08:00:00", "08:00:00", TimePairCheck::Ok},
                          Case{"08:15:00", "08:00:00", TimePairCheck::StartAfterEnd},
                          Case{"24:00:00", "24:10:00", TimePairCheck::BadForm},
                          Case{"08:60:00", "09:00:00", TimePairCheck::BadForm},
                          Case{"8 :00:00", "09:00:00", TimePairCheck::BadForm},
                          Case{"08:00:00", "09:00:001", TimePairCheck::BadForm},
                          Case{"08-00-00", "09:00:00", TimePairCheck::BadForm},
                          Case{"  :  :  ", "09:00:00", TimePairCheck::BadForm}}) {
        EXPECT_EQ(checkTimePair(QString::fromUtf8(c.start), QString::fromUtf8(c.end)), c.result)
            << c.start << " " << c.end;
    }
}
