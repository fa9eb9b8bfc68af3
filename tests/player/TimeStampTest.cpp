#include "player/HeldBackText.h"
#include "player/TimeStamp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace lirabox {
namespace {

TEST(TimeStamp, EachFormEndsWithOneBlankAndRoundsToItsLastDigit) {
    EXPECT_EQ(TimeStampText(75.2, TimeStampFormat::Bracketed), "[00:01:15] ");
    EXPECT_EQ(TimeStampText(75.26, TimeStampFormat::BracketedTenths), "[00:01:15.3] ");
    EXPECT_EQ(TimeStampText(3725.6, TimeStampFormat::Plain), "01:02:06 ");
    EXPECT_EQ(TimeStampText(59.96, TimeStampFormat::Hashed), "#00:01:00# ");
    EXPECT_EQ(TimeStampText(59.96, TimeStampFormat::BracketedTenths), "[00:01:00.0] ");
    // Halves to even, as the time label rounds.
    EXPECT_EQ(TimeStampText(2.5, TimeStampFormat::Plain), "00:00:02 ");
    EXPECT_EQ(TimeStampText(3.5, TimeStampFormat::Plain), "00:00:04 ");
}

TEST(TimeStamp, LongNegativeAndUndefinedPositions) {
    // Beyond the time label's 32767 s and beyond a day: hours simply grow.
    EXPECT_EQ(TimeStampText(100 * 3600 + 1, TimeStampFormat::Bracketed), "[100:00:01] ");
    EXPECT_EQ(TimeStampText(-3, TimeStampFormat::Bracketed), "[00:00:00] ");
    EXPECT_EQ(TimeStampText(std::nan(""), TimeStampFormat::Hashed), "#00:00:00# ");
    EXPECT_EQ(TimeStampText(std::numeric_limits<double>::infinity(), TimeStampFormat::Plain).back(), ' ');
}

TEST(TimeStamp, StoredPatternsNameTheirFormAndAnythingElseIsTheDefault) {
    for (const TimeStampFormat format : kTimeStampFormats) {
        EXPECT_EQ(timeStampFormatNamed(timeStampPattern(format)), format);
    }
    EXPECT_EQ(timeStampPattern(TimeStampFormat::BracketedTenths), "[hh:mm:ss.d]");
    for (const char* garbage : {"", "[HH:MM:SS]", "1", "[hh:mm:ss] "}) {
        EXPECT_EQ(timeStampFormatNamed(garbage), TimeStampFormat::Bracketed) << garbage;
    }
}

TEST(HeldBackText, GoesOnlyIntoTheWindowThatWasInFrontWhenItsCommandRan) {
    HeldBackText held;
    // Ctrl of the shortcut still down: held; typed once it is up.
    held.add("[00:00:01] ", {.modifierDown = true, .frontWindow = 7});
    EXPECT_EQ(held.take({.modifierDown = true, .frontWindow = 7}), std::nullopt);
    EXPECT_EQ(held.take({.frontWindow = 7}), "[00:00:01] ");
    EXPECT_TRUE(held.empty());

    // Another window came to the front meanwhile: dropped, with one line.
    testing::internal::CaptureStderr();
    held.add("[00:00:02] ", {.modifierDown = true, .frontWindow = 7});
    EXPECT_EQ(held.take({.frontWindow = 8}), std::nullopt);
    EXPECT_TRUE(held.empty());
    held.add("[00:00:03] ", {.modifierDown = true, .frontWindow = 7});
    held.add("[00:00:04] ", {.frontWindow = 8});
    EXPECT_EQ(held.take({.frontWindow = 8}), "[00:00:04] ");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "lirabox: the time stamp was not typed (the focus moved to another window)\n"
              "lirabox: the time stamp was not typed (the focus moved to another window)\n");

    // Asked for in the player's own window (its menu): the next other window takes it.
    held.add("[00:00:05] ", {.ownWindowInFront = true, .frontWindow = 3});
    EXPECT_EQ(held.take({.ownWindowInFront = true, .frontWindow = 3}), std::nullopt);
    EXPECT_EQ(held.take({.frontWindow = 9}), "[00:00:05] ");
}

}  // namespace
}  // namespace lirabox
