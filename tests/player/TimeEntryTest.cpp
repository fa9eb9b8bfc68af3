#include "player/TimeEntry.h"
#include "player/TimeStamp.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace lirabox::test {
namespace {

TEST(TimeEntry, TakesHoursMinutesSecondsAndTenths) {
    EXPECT_EQ(parseTimeEntry("1:02:03"), 3723.0);
    EXPECT_EQ(parseTimeEntry("01:02:03"), 3723.0);
    EXPECT_EQ(parseTimeEntry("12:34"), 754.0);
    EXPECT_EQ(parseTimeEntry("75"), 75.0);
    EXPECT_EQ(parseTimeEntry(" 00:00:42 "), 42.0);
    EXPECT_EQ(parseTimeEntry("150:00:00"), 540000.0);
    EXPECT_DOUBLE_EQ(parseTimeEntry("00:01:15.5").value_or(-1), 75.5);
    EXPECT_DOUBLE_EQ(parseTimeEntry("2.25").value_or(-1), 2.25);
}

TEST(TimeEntry, RefusesAnythingElse) {
    for (const char* text : {"",
                             " ",
                             "abc",
                             "1:2:3",
                             "1:60",
                             "1:02:60",
                             "1:02:03:04",
                             ":10",
                             "10:",
                             "1::02",
                             "1:02.",
                             "1.5:02",
                             "-1",
                             "+5",
                             "1:02:03x",
                             "[00:00:42]",
                             "1234567890",
                             "1,5",
                             "１:02"}) {
        EXPECT_EQ(parseTimeEntry(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(TimeEntry, FindsEveryTimeStampFormTheStampCommandTypes) {
    for (const TimeStampFormat format : kTimeStampFormats) {
        const std::string stamp = TimeStampText(3723.4, format);
        const auto found = findTimeStamp("said so " + stamp + "and then");
        ASSERT_TRUE(found) << stamp;
        EXPECT_NEAR(*found, format == TimeStampFormat::BracketedTenths ? 3723.4 : 3723.0, 1e-9) << stamp;
    }
    EXPECT_EQ(findTimeStamp("[00:00:42]"), 42.0);
    EXPECT_EQ(findTimeStamp("00:00:42"), 42.0);
    EXPECT_EQ(findTimeStamp("at 10:00 and 99:99:99, then 01:00:00"), 3600.0);
}

TEST(TimeEntry, FindsNoTimeStampWhereThereIsNone) {
    for (const char* text : {"", "hello", "12:34", "1:02:3", "00:00:4", "100:00:000", "00:61:00"}) {
        EXPECT_EQ(findTimeStamp(text), std::nullopt) << '"' << text << '"';
    }
    // Only the first stretch is searched: a huge selection costs no more than that.
    EXPECT_EQ(findTimeStamp(std::string(kTimeStampSearchSpan, 'x') + "[00:00:42]"), std::nullopt);
}

}  // namespace
}  // namespace lirabox::test
