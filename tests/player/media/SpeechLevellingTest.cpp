// Levelling on a recording of a quiet and a loud speaker taking turns (-30 and
// -6 dBFS): through libmpv, and through the leveller the Windows engine plays
// through, the two voices come out within 3 dB of each other and the noise of
// the pauses stays down; without levelling they stay 24 dB apart.

#include <gtest/gtest.h>

#include <cmath>

#include "EngineProbe.h"
#include "PcmAnalysis.h"
#include "player/media/stretch/SpeechLeveller.h"
#include "tests/common/Recordings.h"
#include "tests/common/TempFolder.h"

namespace {

using lirabox::test::TempFolder;
using lirabox::test::TwoSpeakerLevels;

constexpr int kRounds = 3;

void expectEvenedOut(const TwoSpeakerLevels& levels) {
    EXPECT_LE(std::abs(levels.loud - levels.quiet), 3.0) << "quiet " << levels.quiet << ", loud " << levels.loud;
    // The quiet voice is raised, not the loud one brought down to it.
    EXPECT_GT(levels.quiet, -26.0);
    // The pauses' noise (-60 dBFS) is not pumped up toward the voices.
    EXPECT_LT(levels.loudestPause, -45.0);
}

class SpeechLevelling : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sFolder = new TempFolder;
        lirabox::test::writeTwoSpeakerWav(sFolder->file("speakers.wav"), kRounds);
    }
    static void TearDownTestSuite() {
        delete sFolder;
        sFolder = nullptr;
    }
    static TwoSpeakerLevels rendered(bool evenLoudness) {
        const auto out = sFolder->file(evenLoudness ? "levelled.wav" : "plain.wav");
        lirabox::test::renderAtRate(sFolder->file("speakers.wav"), 1.0, out, 100, evenLoudness);
        return lirabox::test::twoSpeakerLevels(lirabox::test::readPcmWav(out), kRounds);
    }

    static TempFolder* sFolder;
};

TempFolder* SpeechLevelling::sFolder = nullptr;

TEST_F(SpeechLevelling, TheMpvEngineEvensOutTheTwoVoicesOnlyWhenAsked) {
    const TwoSpeakerLevels plain = rendered(false);
    EXPECT_NEAR(plain.quiet, -30.0, 1.0);
    EXPECT_NEAR(plain.loud, -6.0, 1.0);
    expectEvenedOut(rendered(true));
}

// In uneven pieces, as an output asks for them; stereo, as most devices play.
TEST_F(SpeechLevelling, TheLevellerEvensOutTheTwoVoices) {
    const lirabox::test::Pcm mono = lirabox::test::readPcmWav(sFolder->file("speakers.wav"));
    std::vector<float> stereo;
    for (const double sample : mono.samples) stereo.insert(stereo.end(), 2, static_cast<float>(sample));
    lirabox::media::SpeechLeveller leveller(2, mono.sampleRate);
    for (std::size_t frame = 0, piece = 1; frame < mono.samples.size(); piece = piece * 7 % 1999 + 1) {
        const std::size_t frames = std::min(piece, mono.samples.size() - frame);
        leveller.process(stereo.data() + 2 * frame, frames);
        frame += frames;
    }
    lirabox::test::Pcm left {mono.sampleRate, {}};
    for (std::size_t i = 0; i < stereo.size(); i += 2) {
        left.samples.push_back(stereo[i]);
        ASSERT_EQ(stereo[i], stereo[i + 1]);
        ASSERT_LE(std::abs(stereo[i]), 0.9f);
    }
    expectEvenedOut(lirabox::test::twoSpeakerLevels(left, kRounds));
}

}  // namespace
