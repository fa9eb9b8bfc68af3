// Speed changes keep the pitch: each format is rendered through libmpv's PCM
// output at half and at double speed, then its length and tone are measured.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "EngineProbe.h"
#include "tests/common/Recordings.h"
#include "tests/common/TempFolder.h"

namespace {

using lirabox::test::TempFolder;

constexpr double kSeconds = 4.0;
constexpr double kTone = 440.0;

class MpvEngineRate : public ::testing::TestWithParam<std::tuple<std::string, double>> {
protected:
    static void SetUpTestSuite() {
        sFolder = std::make_unique<TempFolder>();
        lirabox::test::writeSineWav(sFolder->file("tone.wav"), kSeconds, kTone, 44100, 1);
        lirabox::test::makeMp3(sFolder->file("tone.wav"));
        lirabox::test::makeWma(sFolder->file("tone.wav"));
    }
    static void TearDownTestSuite() { sFolder.reset(); }

    static std::unique_ptr<TempFolder> sFolder;
};

std::unique_ptr<TempFolder> MpvEngineRate::sFolder;

TEST_P(MpvEngineRate, LengthFollowsTheRateAndThePitchStays) {
    const auto& [format, rate] = GetParam();
    const auto rendered = sFolder->file("rendered-" + format + "-" + std::to_string(rate) + ".wav");
    lirabox::test::renderAtRate(sFolder->file("tone." + format), rate, rendered);

    const auto pcm = lirabox::test::readPcmWav(rendered);
    EXPECT_NEAR(pcm.seconds(), kSeconds / rate, 0.03 * kSeconds / rate);
    EXPECT_NEAR(lirabox::test::dominantFrequency(pcm, 150.0, 1000.0), kTone, 0.02 * kTone);
}

TEST(MpvEngineRateReference, UnchangedRateRendersTheRecordingAsItIs) {
    TempFolder folder;
    lirabox::test::writeSineWav(folder.file("tone.wav"), 2.0, 523.0, 44100, 1);
    lirabox::test::renderAtRate(folder.file("tone.wav"), 1.0, folder.file("out.wav"));
    const auto pcm = lirabox::test::readPcmWav(folder.file("out.wav"));
    EXPECT_NEAR(pcm.seconds(), 2.0, 0.03 * 2.0);
    EXPECT_NEAR(lirabox::test::dominantFrequency(pcm, 150.0, 1200.0), 523.0, 0.02 * 523.0);
}

// The engine's volume is the amplitude in percent: 50 is half the recording's
// level (-6 dB), 25 a quarter (-12 dB), 0 silence.
TEST(MpvEngineVolume, VolumeIsTheAmplitudeInPercent) {
    TempFolder folder;
    lirabox::test::writeSineWav(folder.file("tone.wav"), 2.0, kTone, 44100, 1);
    const double source = 0.5 / std::sqrt(2.0);  // a sine at half of full scale
    for (const int volume : {100, 50, 25, 0}) {
        const auto rendered = folder.file("volume-" + std::to_string(volume) + ".wav");
        lirabox::test::renderAtRate(folder.file("tone.wav"), 1.0, rendered, volume);
        EXPECT_NEAR(lirabox::test::rms(lirabox::test::readPcmWav(rendered)), source * volume / 100, 0.005)
            << "volume " << volume;
    }
}

class MpvEngineRateChange : public ::testing::TestWithParam<lirabox::test::RateChange> {};

TEST_P(MpvEngineRateChange, NewRateTakesOverInTheMiddle) {
    constexpr double kLength = 12.0;
    constexpr double kBefore = 3.0;
    TempFolder folder;
    lirabox::test::writeSineWav(folder.file("tone.wav"), kLength, kTone, 44100, 1);
    const auto pcm = lirabox::test::readPcmWav(
        lirabox::test::renderWithRateChange(folder.file("tone.wav"), kBefore, 2.0, GetParam()));

    // At least kBefore seconds went at rate 1, so the output is no shorter
    // than that plus the rest at rate 2; libmpv's output buffers keep a few
    // seconds more at rate 1, yet it is clearly shorter than at rate 1 alone.
    EXPECT_GE(pcm.seconds(), kBefore + (kLength - kBefore) / 2.0 - 0.1);
    EXPECT_LT(pcm.seconds(), kLength - 1.0);
    // The last seconds, played at the new rate, still have the same tone.
    lirabox::test::Pcm tail = pcm;
    tail.samples.erase(tail.samples.begin(), tail.samples.end() - 2 * pcm.sampleRate);
    EXPECT_NEAR(lirabox::test::dominantFrequency(tail, 150.0, 1000.0), kTone, 0.02 * kTone);
}

INSTANTIATE_TEST_SUITE_P(Moments, MpvEngineRateChange,
                         ::testing::Values(lirabox::test::RateChange::WhilePlaying,
                                           lirabox::test::RateChange::WhilePaused),
                         [](const auto& test) {
                             return test.param == lirabox::test::RateChange::WhilePlaying ? "WhilePlaying"
                                                                                          : "WhilePaused";
                         });

INSTANTIATE_TEST_SUITE_P(Formats, MpvEngineRate,
                         ::testing::Combine(::testing::Values("wav", "mp3", "wma"), ::testing::Values(0.5, 2.0)),
                         [](const auto& test) {
                             return std::get<0>(test.param) + (std::get<1>(test.param) < 1 ? "_half" : "_double");
                         });

}  // namespace
