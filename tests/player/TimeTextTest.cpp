#include "player/TimeText.h"
#include "support/RaisedError.h"

#include <gtest/gtest.h>

namespace lirabox {
namespace {

TEST(TimeText, ShowsPositionAndLength) {
    EXPECT_EQ(PositionText(3725.4, 5400.6), "01:02:05 / 01:30:01");
    EXPECT_EQ(PositionText(0, 0), "00:00:00 / 00:00:00");
}

TEST(TimeText, RoundsHalvesToEven) {
    EXPECT_EQ(TimeText(2.5), "00:00:02");
    EXPECT_EQ(TimeText(3.5), "00:00:04");
    EXPECT_EQ(TimeText(59.5), "00:01:00");
}

TEST(TimeText, HoursGrowBeyondADayForAllDayRecordings) {
    EXPECT_EQ(TimeText(32767.4), "09:06:07");
    EXPECT_EQ(TimeText(32768), "09:06:08");
    EXPECT_EQ(TimeText(36000), "10:00:00");
    EXPECT_EQ(TimeText(359999), "99:59:59");
    EXPECT_EQ(TimeText(360000.4), "100:00:00");
}

TEST(TimeText, BeyondThirtyTwoBitsIsAnOverflow) {
    for (const double seconds : {2147483648.0, 1e12, -1e12}) {
        try {
            TimeText(seconds);
            ADD_FAILURE() << seconds;
        } catch (const RaisedError& error) {
            EXPECT_EQ(error.number(), kErrOverflow);
        }
    }
}

TEST(TimeText, NegativeSecondsWrapLikeATimeOfDay) {
    EXPECT_EQ(TimeText(-1), "23:59:59");
    EXPECT_EQ(TimeText(-3600), "23:00:00");
    EXPECT_EQ(TimeText(-32768), "14:53:52");
    EXPECT_EQ(TimeText(-86400), "00:00:00");
}

}  // namespace
}  // namespace lirabox
