// The seek bar's envelope after a load: measured on the worker while the
// caller goes on, told through the changed callback; a recording opened
// again is shown whole at once, unless its file changed; nothing without a
// recording.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>

#include "player/SeekEnvelope.h"
#include "player/media/fake/FakeMediaEngine.h"
#include "tests/common/Polling.h"
#include "tests/common/Recordings.h"
#include "tests/common/TempFolder.h"

namespace lirabox::test {
namespace {

class SeekEnvelopeTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeTwoSpeakerWav(folder.file("speakers.wav"), 2);
        envelope.setChangedCallback([this] { ++changes; });
        envelope.setColumns(64);
    }
    void load(const std::filesystem::path& path) {
        engine.URL(path.string());
        envelope.recordingLoaded(path.filename().string(), engine.currentMedia().duration());
    }

    TempFolder folder;
    FakeMediaEngine engine;
    std::atomic<int> changes {0};
    SeekEnvelope envelope {engine};
};

TEST_F(SeekEnvelopeTest, IsMeasuredAfterALoadAndShownWholeAtOnceWhenOpenedAgain) {
    EXPECT_TRUE(envelope.levels().empty());
    load(folder.file("speakers.wav"));
    ASSERT_TRUE(waitUntil([&] { return envelope.complete(); }));
    EXPECT_GT(changes.load(), 0);
    const std::vector<float> first = envelope.levels();
    ASSERT_EQ(first.size(), 64u);
    EXPECT_GT(*std::max_element(first.begin(), first.end()), 0.9f);
    EXPECT_LT(*std::min_element(first.begin(), first.end()), 0.05f);

    writeSineWav(folder.file("tone.wav"), 3.0);
    load(folder.file("tone.wav"));
    ASSERT_TRUE(waitUntil([&] { return envelope.complete(); }));
    // The worker's last call comes just after the envelope is whole.
    ASSERT_TRUE(waitStable([&] { return changes.load(); }, std::chrono::milliseconds(200)));
    int before = changes;
    load(folder.file("speakers.wav"));
    EXPECT_TRUE(envelope.complete());
    EXPECT_EQ(envelope.levels(), first);
    EXPECT_EQ(changes - before, 1);  // no worker: only the load's own

    // Written anew, the file is measured anew.
    std::filesystem::last_write_time(
        folder.file("speakers.wav"),
        std::filesystem::last_write_time(folder.file("speakers.wav")) + std::chrono::seconds(5));
    before = changes;
    load(folder.file("speakers.wav"));
    ASSERT_TRUE(waitUntil([&] { return envelope.complete(); }));
    EXPECT_GE(changes - before, 2);  // the load's, then the worker's

    envelope.recordingUnloaded();
    EXPECT_TRUE(envelope.levels().empty());
}

// A new width is a new measurement; a file the reader cannot read shows none.
TEST_F(SeekEnvelopeTest, FollowsTheBarsWidthAndLeavesUnreadableFilesBlank) {
    load(folder.file("speakers.wav"));
    envelope.setColumns(10);
    ASSERT_TRUE(waitUntil([&] { return envelope.complete(); }));
    EXPECT_EQ(envelope.levels().size(), 10u);

    std::filesystem::copy_file(folder.file("speakers.wav"), folder.file("cut.wav"));
    std::filesystem::resize_file(folder.file("cut.wav"), 30);
    load(folder.file("cut.wav"));
    const auto levels = waitStable([&] { return envelope.levels(); }, std::chrono::milliseconds(300));
    ASSERT_TRUE(levels);
    EXPECT_TRUE(std::all_of(
        levels->begin(), levels->end(), [](float level) { return level == media::LoudnessEnvelope::kUnknown; }));
    EXPECT_FALSE(envelope.complete());
}

}  // namespace
}  // namespace lirabox::test
