// The seek bar's envelope after a load: measured on the worker while the
// caller goes on, told through the changed callback; a recording opened
// again is shown whole at once, unless its file changed; nothing without a
// recording.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <list>
#include <memory>

#include "player/EnvelopeStore.h"
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

// The program keeps its envelopes in a store file: a later start shows a
// recording's envelope at once; a store it cannot write costs nothing but
// the keeping, and one it cannot read is measured past and written anew.
TEST_F(SeekEnvelopeTest, IsKeptAcrossStartsInTheStoreFile) {
    const std::filesystem::path store = folder.file("envelopes.dat");
    std::vector<float> measured;
    {
        SeekEnvelope first(engine, store);
        first.setColumns(64);
        engine.URL(folder.fileText("speakers.wav"));
        first.recordingLoaded("speakers.wav", 2.0);
        ASSERT_TRUE(waitUntil([&] { return readKeptEnvelopes(store, SeekEnvelope::kKept).size() == 1; }));
        measured = first.levels();
    }
    const auto reopened = [&](const std::filesystem::path& file) {
        auto again = std::make_unique<SeekEnvelope>(engine, file);
        again->setColumns(64);
        again->recordingLoaded("speakers.wav", 2.0);
        return again;
    };
    {
        const auto again = reopened(store);
        EXPECT_TRUE(again->complete());
        EXPECT_EQ(again->levels(), measured);
    }

    std::filesystem::resize_file(store, std::filesystem::file_size(store) - 1);
    {
        const auto again = reopened(store);
        EXPECT_FALSE(again->complete());
        ASSERT_TRUE(waitUntil([&] { return readKeptEnvelopes(store, SeekEnvelope::kKept).size() == 1; }));
    }

    std::ofstream(folder.file("plain")) << "a file, not a folder";
    const auto unwritable = reopened(folder.file("plain") / "envelopes.dat");
    ASSERT_TRUE(waitUntil([&] { return unwritable->complete(); }));
    EXPECT_EQ(unwritable->levels(), measured);
}

// Whatever lies in a store file, a read gives back what was written whole or
// nothing: cut short anywhere, another format, a level out of range, a file
// too big, a folder.
TEST(EnvelopeStore, GivesBackWhatWasWrittenOrNothing) {
    TempFolder folder;
    const std::filesystem::path store = folder.file("envelopes.dat");
    const std::list<KeptEnvelope> written {
        {{"/a/talk.mp3", 1234, std::filesystem::file_time_type::clock::now(), 3}, {0.0f, 0.5f, 1.0f}},
        {{"/b/\xe4\xbc\x9a\xe8\xad\xb0.wav", 99, {}, 2}, {-1.0f, 0.25f}},
        {{std::string(70 * 1024, 'x'), 1, {}, 1}, {0.5f}},  // a path too long to keep
    };
    ASSERT_TRUE(writeKeptEnvelopes(store, written));
    std::list<KeptEnvelope> read = readKeptEnvelopes(store, 16);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read.front().key, written.front().key);
    EXPECT_EQ(read.back().levels, (std::vector<float> {-1.0f, 0.25f}));
    EXPECT_EQ(readKeptEnvelopes(store, 1).size(), 1u);

    std::ifstream in(store, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto readWith = [&](const std::string& content) {
        std::ofstream(store, std::ios::binary | std::ios::trunc) << content;
        return readKeptEnvelopes(store, 16).size();
    };
    for (std::size_t length = 0; length < bytes.size(); ++length) ASSERT_EQ(readWith(bytes.substr(0, length)), 0u);
    EXPECT_EQ(readWith(bytes + "x"), 0u);
    EXPECT_EQ(readWith("X" + bytes.substr(1)), 0u);
    std::string outOfRange = bytes;
    const float tooLoud = 2.0f;
    outOfRange.replace(
        outOfRange.size() - sizeof tooLoud, sizeof tooLoud, reinterpret_cast<const char*>(&tooLoud), sizeof tooLoud);
    EXPECT_EQ(readWith(outOfRange), 0u);
    EXPECT_EQ(readWith(bytes), 2u);
    std::filesystem::resize_file(store, kMaxEnvelopeFileSize + 1);
    EXPECT_TRUE(readKeptEnvelopes(store, 16).empty());
    std::filesystem::remove(store);
    std::filesystem::create_directory(store);
    EXPECT_TRUE(readKeptEnvelopes(store, 16).empty());
    EXPECT_FALSE(writeKeptEnvelopes(store, written));
}

}  // namespace
}  // namespace lirabox::test
