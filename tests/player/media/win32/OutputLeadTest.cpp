// The output's lead: short while the feeds come in time, a period longer for
// each late one up to the longest, a period shorter after a calm stretch.

#include <gtest/gtest.h>

#include "player/media/win32/OutputLead.h"

namespace {

using lirabox::media::OutputLead;

// 48 kHz: 40 ms shortest, 70 ms longest, 10 ms periods, 1 s calm.
OutputLead lead() { return OutputLead(1920, 3360, 480, 48000); }

TEST(OutputLead, StaysShortWhileFeedsComeInTime) {
    OutputLead subject = lead();
    EXPECT_EQ(subject.frames(), 1920u);
    for (std::uint64_t played = 0; played < 96000; played += 480) EXPECT_EQ(subject.atFeed(1440, played), 1920u);
}

TEST(OutputLead, GrowsByAPeriodForEachLateFeedUpToTheLongest) {
    OutputLead subject = lead();
    EXPECT_EQ(subject.atFeed(479, 1000), 2400u);
    EXPECT_EQ(subject.atFeed(0, 2000), 2880u);
    EXPECT_EQ(subject.atFeed(100, 3000), 3360u);
    EXPECT_EQ(subject.atFeed(0, 4000), 3360u);
}

TEST(OutputLead, ShrinksAfterACalmStretchDownToTheShortest) {
    OutputLead subject = lead();
    subject.atFeed(0, 1000);
    subject.atFeed(0, 1000);
    EXPECT_EQ(subject.atFeed(2000, 48999), 2880u);
    EXPECT_EQ(subject.atFeed(2000, 49000), 2400u);
    EXPECT_EQ(subject.atFeed(2000, 96999), 2400u);
    EXPECT_EQ(subject.atFeed(2000, 97000), 1920u);
    EXPECT_EQ(subject.atFeed(2000, 1000000), 1920u);
}

TEST(OutputLead, AResetOutputCountsItsCalmFromItsNewStart) {
    OutputLead subject = lead();
    subject.atFeed(0, 90000);
    EXPECT_EQ(subject.atFeed(2000, 100), 2400u);
    EXPECT_EQ(subject.atFeed(2000, 48099), 2400u);
    EXPECT_EQ(subject.atFeed(2000, 48100), 1920u);
}

}  // namespace
