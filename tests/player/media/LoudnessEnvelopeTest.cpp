// The loudness envelope, measured through the Linux reader (libavformat /
// libavcodec) on generated two-speaker recordings: short ones read whole,
// column by column from the playing position on; long columns probed, the
// coarse pass nearest the playing position first, decoding a fraction of the
// recording.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

#include "player/media/LoudnessEnvelope.h"
#include "tests/common/Recordings.h"
#include "tests/common/TempFolder.h"

namespace {

using lirabox::media::EnvelopeSource;
using lirabox::media::LoudnessEnvelope;
using lirabox::test::kTwoSpeakerRound;

// Counts what is asked of the real reader.
class CountingSource final : public EnvelopeSource {
public:
    explicit CountingSource(const std::filesystem::path& path)
        : mSource(lirabox::media::openEnvelopeSource(path.string())) {
        if (!mSource) throw std::runtime_error("cannot read " + path.string());
    }
    double seconds() const override { return mSource->seconds(); }
    std::optional<double> meanSquare(double at, double span) override {
        decoded += span;
        ++reads;
        return mSource->meanSquare(at, span);
    }
    double decoded = 0.0;
    int reads = 0;

private:
    std::unique_ptr<EnvelopeSource> mSource;
};

class LoudnessEnvelopeTest : public ::testing::Test {
protected:
    lirabox::test::TempFolder folder;
    std::atomic<bool> stop {false};
};

// 4 rounds at 2 columns a second: each column is 0.5 s, read whole.
TEST_F(LoudnessEnvelopeTest, ShortRecordingShowsSpeechDarkAndPausesLightFromThePlayingPositionOn) {
    constexpr int kRounds = 4;
    lirabox::test::writeTwoSpeakerWav(folder.file("speakers.wav"), kRounds);
    CountingSource source(folder.file("speakers.wav"));
    const std::size_t columns = 2 * static_cast<std::size_t>(kRounds * kTwoSpeakerRound);
    LoudnessEnvelope envelope(columns);

    // Stopped after ten columns: those measured are the ten from 20 s on.
    int measured = 0;
    EXPECT_FALSE(envelope.compute(
        source, [] { return 20.2; }, stop, [&] { stop = ++measured == 10; }));
    std::vector<float> levels = envelope.levels();
    for (std::size_t column = 0; column < columns; ++column) {
        EXPECT_EQ(levels[column] != LoudnessEnvelope::kUnknown, column >= 40 && column < 50) << column;
    }
    EXPECT_FALSE(envelope.complete());

    stop = false;
    ASSERT_TRUE(envelope.compute(
        source, [] { return 0.0; }, stop));
    EXPECT_TRUE(envelope.complete());
    levels = envelope.levels();
    for (int round = 0; round < kRounds; ++round) {
        const auto at = [&](double seconds) {
            return levels[static_cast<std::size_t>(2 * (round * kTwoSpeakerRound + seconds))];
        };
        EXPECT_NEAR(at(1.0), LoudnessEnvelope::levelOf(0.001), 0.05);  // the quiet voice, -30 dBFS
        EXPECT_GT(at(5.0), 0.9f);                                      // the loud one
        EXPECT_LT(at(3.5), 0.05f);                                     // pauses
        EXPECT_LT(at(7.5), 0.05f);
    }
    // Every column once, plus the one seek back for the first ten.
    EXPECT_NEAR(source.decoded, kRounds * kTwoSpeakerRound, 1.0);
}

// As MP3, 4 s a column (a voice and its pause): probed, the loud speaker's
// columns come out darker than the quiet one's, from a fraction decoded. A
// minute and a half is sought by its timestamps, 21 minutes by bytes.
class ProbedMp3 : public LoudnessEnvelopeTest, public ::testing::WithParamInterface<int> {};

TEST_P(ProbedMp3, LongColumnsAreProbedNearestThePlayingPositionFirst) {
    const int rounds = GetParam();
    lirabox::test::writeTwoSpeakerWav(folder.file("speakers.wav"), rounds, 16000);
    const auto mp3 = lirabox::test::makeMp3(folder.file("speakers.wav"));
    std::filesystem::remove(folder.file("speakers.wav"));
    CountingSource source(mp3);
    const auto columns = static_cast<std::size_t>(2 * rounds);
    LoudnessEnvelope envelope(columns);

    // The coarse pass starts at the column of 50 s and goes outward.
    int measured = 0;
    EXPECT_FALSE(envelope.compute(
        source, [] { return 50.0; }, stop, [&] { stop = ++measured == 5; }));
    std::vector<float> levels = envelope.levels();
    for (std::size_t column = 0; column < columns; ++column) {
        EXPECT_EQ(levels[column] != LoudnessEnvelope::kUnknown, column >= 10 && column <= 14) << column;
    }

    stop = false;
    LoudnessEnvelope whole(columns);
    CountingSource fresh(mp3);
    ASSERT_TRUE(whole.compute(
        fresh, [] { return 0.0; }, stop));
    levels = whole.levels();
    for (std::size_t column = 0; column + 1 < columns; column += 2) {
        EXPECT_GT(levels[column], 0.45f) << column;                      // quiet voice
        EXPECT_GT(levels[column + 1], levels[column] + 0.3f) << column;  // loud voice
    }
    EXPECT_EQ(fresh.reads, static_cast<int>(columns) * LoudnessEnvelope::kProbes);
    EXPECT_LT(fresh.decoded, 0.5 * rounds * kTwoSpeakerRound);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ProbedMp3, ::testing::Values(12, 158), [](const auto& test) {
    return test.param == 12 ? std::string("SoughtByTime") : std::string("SoughtByBytes");
});

TEST_F(LoudnessEnvelopeTest, WhatCannotBeReadHasNoSource) {
    lirabox::test::writeSineWav(folder.file("tone.wav"), 1.0);
    std::filesystem::resize_file(folder.file("tone.wav"), 20);
    EXPECT_EQ(lirabox::media::openEnvelopeSource(folder.file("tone.wav").string()), nullptr);
    EXPECT_EQ(lirabox::media::openEnvelopeSource(folder.file("missing.mp3").string()), nullptr);
}

}  // namespace
