#pragma once
// What every media engine does, as a suite of typed tests each engine's test
// instantiates with a subject of its own:
//
//   struct Subject {
//       static constexpr const char* kName = "Mpv";
//       SomeEngine engine;                                          // a MediaEngine
//       void makeRecording(const std::string& path, double seconds);  // a playable tone
//       void makeUnopenable(const std::string& path);                 // URL(path) fails to open
//       bool playTo(double seconds);            // the playing engine reaches `seconds` (false: it does not)
//       void expectHeardFromTheStart(int returns);  // what was heard went back to 0 `returns` times
//   };
//
// A subject that cannot hear its engine leaves the sound to the position the
// contract checks.
//   INSTANTIATE_TYPED_TEST_SUITE_P(Engines, MediaEngineContract,
//                                  ::testing::Types<Subject...>, EngineName);

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "player/media/MediaEngine.h"
#include "support/RaisedError.h"
#include "tests/common/TempFolder.h"

namespace lirabox::test {

using namespace lirabox::media;
using lirabox::RaisedError;

constexpr double kContractLength = 3.0;

template <class Subject>
class MediaEngineContract : public ::testing::Test {
protected:
    void SetUp() override { mSubject.makeRecording(tone(), kContractLength); }

    std::string tone() const { return mFolder.fileText("tone.wav"); }
    MediaEngine& engine() { return mSubject.engine; }
    void load(bool autoStart = false) {
        engine().settings().autoStart(autoStart);
        engine().URL(tone());
    }
    double position() { return engine().controls().currentPosition(); }

    void expectNothingLoaded() {
        EXPECT_EQ(engine().currentMedia().name(), "");
        EXPECT_EQ(engine().currentMedia().duration(), 0.0);
        EXPECT_EQ(engine().playState(), kUndefined);
        EXPECT_EQ(position(), 0.0);
    }

    // The number a call raised, or 0 when it raised nothing.
    template <class Call>
    static std::int32_t raisedNumber(Call&& call) {
        try {
            call();
        } catch (const RaisedError& error) {
            return error.number();
        }
        return 0;
    }

    lirabox::test::TempFolder mFolder;
    Subject mSubject;
};

struct EngineName {
    template <class Subject>
    static std::string GetName(int) {
        return Subject::kName;
    }
};

TYPED_TEST_SUITE_P(MediaEngineContract);

TYPED_TEST_P(MediaEngineContract, NothingIsLoadedAtFirst) { this->expectNothingLoaded(); }

TYPED_TEST_P(MediaEngineContract, ALoadIsReadyAtTheStartWithItsNameLengthAndSource) {
    this->load();
    EXPECT_EQ(this->engine().playState(), kReady);
    EXPECT_EQ(this->engine().currentMedia().name(), "tone.wav");
    EXPECT_NEAR(this->engine().currentMedia().duration(), kContractLength, 0.05);
    EXPECT_EQ(this->engine().currentMedia().sourceURL(), this->tone());
    EXPECT_EQ(this->position(), 0.0);
}

TYPED_TEST_P(MediaEngineContract, ALoadWithAutoStartPlays) {
    this->load(true);
    EXPECT_EQ(this->engine().playState(), kPlaying);
}

TYPED_TEST_P(MediaEngineContract, PlayPauseAndStopReportTheirStatesAndStopGoesBackToTheStart) {
    this->load();
    this->engine().controls().pause();
    EXPECT_EQ(this->engine().playState(), kReady);  // nothing was playing
    this->engine().controls().currentPosition(1.0);
    this->engine().controls().play();
    EXPECT_EQ(this->engine().playState(), kPlaying);
    this->engine().controls().pause();
    EXPECT_EQ(this->engine().playState(), kPaused);
    this->engine().controls().stop();
    EXPECT_EQ(this->engine().playState(), kStopped);
    EXPECT_EQ(this->position(), 0.0);
    EXPECT_EQ(this->engine().currentMedia().name(), "tone.wav");
}

TYPED_TEST_P(MediaEngineContract, APositionSetIsReadBackAtOnceAndANegativeOneIsTheStart) {
    this->load();
    this->engine().controls().currentPosition(1.5);
    EXPECT_NEAR(this->position(), 1.5, 0.02);
    this->engine().controls().currentPosition(-2.0);
    EXPECT_EQ(this->position(), 0.0);
}

TYPED_TEST_P(MediaEngineContract, ValuesOutOfRangeAreRefusedAndValidOnesTaken) {
    this->load();
    const std::int32_t badValue = lirabox::kObjectErrorBase + kErrBadValue;
    auto& settings = this->engine().settings();
    EXPECT_EQ(this->raisedNumber([&] { settings.rate(0.0); }), badValue);
    EXPECT_EQ(this->raisedNumber([&] { settings.rate(101.0); }), badValue);
    EXPECT_EQ(this->raisedNumber([&] { settings.rate(std::nan("")); }), badValue);
    EXPECT_EQ(this->raisedNumber([&] { settings.volume(-1); }), badValue);
    EXPECT_EQ(this->raisedNumber([&] { settings.volume(101); }), badValue);
    EXPECT_EQ(this->raisedNumber([&] { this->engine().controls().currentPosition(std::nan("")); }), badValue);
    EXPECT_EQ(this->raisedNumber([&] {
        settings.rate(0.5);
        settings.rate(3.0);
        settings.volume(0);
        settings.volume(100);
    }),
              0);
}

TYPED_TEST_P(MediaEngineContract, AFileThatCannotBeOpenedRaisesCannotOpenAndLeavesTheLoadedRecording) {
    this->load();
    const std::string missing = this->mFolder.fileText("missing.wav");
    this->mSubject.makeUnopenable(missing);
    EXPECT_EQ(this->raisedNumber([&] { this->engine().URL(missing); }), lirabox::kObjectErrorBase + kErrCannotOpen);
    EXPECT_EQ(this->engine().playState(), kReady);
    EXPECT_EQ(this->engine().currentMedia().name(), "tone.wav");
}

// The position must be where the sound is: Timepost and the typed time stamps
// publish it.
TYPED_TEST_P(MediaEngineContract, AfterPlayingStopThenPlayAndASeekToTheStartAreHeardFromTheStart) {
    this->load(true);
    auto& controls = this->engine().controls();
    ASSERT_TRUE(this->mSubject.playTo(1.0));
    controls.stop();
    controls.play();
    EXPECT_LT(this->position(), 0.1);
    ASSERT_TRUE(this->mSubject.playTo(1.0));
    controls.currentPosition(0.0);
    EXPECT_LT(this->position(), 0.1);
    ASSERT_TRUE(this->mSubject.playTo(0.5));
    this->mSubject.expectHeardFromTheStart(2);
}

REGISTER_TYPED_TEST_SUITE_P(MediaEngineContract, NothingIsLoadedAtFirst,
                            ALoadIsReadyAtTheStartWithItsNameLengthAndSource, ALoadWithAutoStartPlays,
                            PlayPauseAndStopReportTheirStatesAndStopGoesBackToTheStart,
                            APositionSetIsReadBackAtOnceAndANegativeOneIsTheStart,
                            ValuesOutOfRangeAreRefusedAndValidOnesTaken,
                            AFileThatCannotBeOpenedRaisesCannotOpenAndLeavesTheLoadedRecording,
                            AfterPlayingStopThenPlayAndASeekToTheStartAreHeardFromTheStart);

}  // namespace lirabox::test
