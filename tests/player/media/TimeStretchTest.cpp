// The time-stretch and the sample-rate converter on generated tones: lengths,
// pitch and smooth joins at the player's rates.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "PcmAnalysis.h"
#include "player/media/stretch/Resampler.h"
#include "player/media/stretch/TimeStretch.h"

namespace {

using lirabox::media::Resampler;
using lirabox::media::TimeStretch;
using lirabox::test::Pcm;

constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr double kTone = 440.0;
constexpr double kAmplitude = 0.5;

// A stereo tone, the right channel at half the level of the left.
std::vector<float> tone(double seconds, double frequency = kTone, int sampleRate = kRate) {
    const auto frames = static_cast<std::size_t>(seconds * sampleRate);
    std::vector<float> samples(frames * kChannels);
    for (std::size_t i = 0; i < frames; ++i) {
        const double value = kAmplitude * std::sin(2 * std::numbers::pi * frequency * i / sampleRate);
        samples[i * kChannels] = static_cast<float>(value);
        samples[i * kChannels + 1] = static_cast<float>(value / 2);
    }
    return samples;
}

// Feeds `input` in uneven blocks, pulling in between as a player would, and
// changes the rate to `later` halfway through the input.
std::vector<float> stretch(TimeStretch& stretcher, const std::vector<float>& input, double rate, double later) {
    stretcher.setRate(rate);
    const std::size_t frames = input.size() / kChannels;
    std::vector<float> out;
    std::vector<float> block(4096 * kChannels);
    auto drain = [&] {
        while (const std::size_t got = stretcher.pull(block.data(), 4096)) {
            out.insert(out.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(got * kChannels));
        }
    };
    std::size_t at = 0;
    for (std::size_t size = 333; at < frames; size = size * 7 % 5000 + 100) {
        const std::size_t take = std::min(size, frames - at);
        if (at < frames / 2 && at + take >= frames / 2) stretcher.setRate(later);
        stretcher.feed(input.data() + at * kChannels, take);
        at += take;
        drain();
    }
    stretcher.endOfInput();
    drain();
    return out;
}

Pcm channel(const std::vector<float>& samples, int which, int sampleRate = kRate) {
    Pcm pcm;
    pcm.sampleRate = sampleRate;
    for (std::size_t i = static_cast<std::size_t>(which); i < samples.size(); i += kChannels) {
        pcm.samples.push_back(samples[i]);
    }
    return pcm;
}

// The largest step between neighbouring samples, after the first and before
// the last 50 ms (where the sound starts and stops).
double largestStep(const Pcm& pcm) {
    const auto margin = static_cast<std::size_t>(pcm.sampleRate / 20);
    double largest = 0.0;
    for (std::size_t i = margin; i + margin < pcm.samples.size(); ++i) {
        largest = std::max(largest, std::abs(pcm.samples[i] - pcm.samples[i - 1]));
    }
    return largest;
}

// A pure tone's own largest step; a click at a join is far above it.
const double kToneStep = kAmplitude * 2 * std::numbers::pi * kTone / kRate;

TEST(TimeStretch, KeepsLengthPitchAndSmoothJoinsAtThePlayersRates) {
    const auto input = tone(6.0);
    for (double rate : {0.5, 1.0, 2.0, 3.0}) {
        SCOPED_TRACE(rate);
        TimeStretch stretcher(kChannels, kRate);
        const auto out = stretch(stretcher, input, rate, rate);
        const Pcm left = channel(out, 0);
        EXPECT_NEAR(left.seconds(), 6.0 / rate, 0.02 * 6.0 / rate);
        EXPECT_NEAR(lirabox::test::dominantFrequency(left, 300, 600), kTone, 0.02 * kTone);
        EXPECT_NEAR(lirabox::test::dominantFrequency(channel(out, 1), 300, 600), kTone, 0.02 * kTone);
        EXPECT_LT(largestStep(left), 1.2 * kToneStep);
    }
}

TEST(TimeStretch, ChangesRateMidStreamWithoutAClickAndStartsAfreshAfterAReset) {
    const auto input = tone(6.0);
    TimeStretch stretcher(kChannels, kRate);
    const auto out = stretch(stretcher, input, 0.5, 3.0);
    EXPECT_NEAR(static_cast<double>(out.size() / kChannels) / kRate, 3.0 / 0.5 + 3.0 / 3.0, 0.02 * 7.0);
    EXPECT_LT(largestStep(channel(out, 0)), 1.2 * kToneStep);

    // A seek: whatever was in flight is gone and the new input starts at 0.
    stretcher.setRate(2.0);
    stretcher.feed(input.data(), 10000);
    stretcher.reset();
    EXPECT_EQ(stretcher.ready(), 0u);
    EXPECT_EQ(stretcher.sourceFrameOfNextOutput(), 0.0);
    const auto again = stretch(stretcher, input, 2.0, 2.0);
    EXPECT_NEAR(static_cast<double>(again.size() / kChannels) / kRate, 3.0, 0.06);
}

TEST(TimeStretch, AtTheNaturalRateGivesTheInputBackAndMapsOutputToInput) {
    const auto input = tone(2.0, 1234.5);
    TimeStretch stretcher(kChannels, kRate);
    const auto out = stretch(stretcher, input, 1.0, 1.0);
    ASSERT_EQ(out.size(), input.size());
    double largestDifference = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        largestDifference = std::max(largestDifference, static_cast<double>(std::abs(out[i] - input[i])));
    }
    EXPECT_LT(largestDifference, 1e-6);

    // Half a second into the output at 2.0 comes from a second into the input.
    stretcher.reset();
    stretcher.setRate(2.0);
    stretcher.feed(input.data(), input.size() / kChannels);
    std::vector<float> skipped(kRate / 2 * kChannels);
    ASSERT_EQ(stretcher.pull(skipped.data(), kRate / 2), static_cast<std::size_t>(kRate / 2));
    EXPECT_NEAR(stretcher.sourceFrameOfNextOutput(), kRate, kRate * 0.005);
}

TEST(Resampler, ConvertsLengthAndKeepsPitchBetweenCommonRates) {
    for (const auto& [from, to] : {std::pair {44100, 48000}, std::pair {48000, 16000}, std::pair {8000, 48000}}) {
        SCOPED_TRACE(std::to_string(from) + " to " + std::to_string(to));
        const auto input = tone(3.0, kTone, from);
        Resampler resampler(kChannels, from, to);
        std::vector<float> out;
        for (std::size_t at = 0; at < input.size(); at += 1000 * kChannels) {
            resampler.process(input.data() + at, std::min<std::size_t>(1000, (input.size() - at) / kChannels), out);
        }
        resampler.finish(out);
        const Pcm left = channel(out, 0, to);
        EXPECT_NEAR(left.seconds(), 3.0, 1.0 / to + 1e-9);
        EXPECT_NEAR(lirabox::test::dominantFrequency(left, 300, 600), kTone, 1.0);
        EXPECT_NEAR(lirabox::test::rms(left), kAmplitude / std::sqrt(2.0), 0.01);
        EXPECT_LT(largestStep(left), 1.1 * kAmplitude * 2 * std::numbers::pi * kTone / to);
    }
}

}  // namespace
