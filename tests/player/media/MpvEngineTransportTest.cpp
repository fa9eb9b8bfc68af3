// Play, pause, stop and positions on the real libmpv engine (silent output).

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "EngineProbe.h"
#include "player/media/mpv/MpvEngine.h"
#include "support/RaisedError.h"
#include "tests/common/Recordings.h"
#include "tests/common/TempFolder.h"

namespace {

using namespace lirabox::media;
using lirabox::test::TempFolder;
using lirabox::test::waitUntil;

class MpvEngineTransport : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sFolder = std::make_unique<TempFolder>();
        lirabox::test::writeSineWav(sFolder->file("tone.wav"), 6.0, 440.0, 44100, 1);
        lirabox::test::makeMp3(sFolder->file("tone.wav"));
    }
    static void TearDownTestSuite() { sFolder.reset(); }

    void SetUp() override { load("tone.wav"); }

    void load(const std::string& name) {
        mEngine.settings().autoStart(false);
        mEngine.URL(sFolder->fileText(name));
    }
    double position() { return mEngine.controls().currentPosition(); }
    // Gives libmpv time to carry out what was asked; the answers must not change by it.
    void settle() {
        waitUntil(
            mEngine, [] { return false; }, std::chrono::milliseconds(300));
    }

    static std::unique_ptr<TempFolder> sFolder;
    MpvEngine mEngine {{{"ao", "null"}}};
};

std::unique_ptr<TempFolder> MpvEngineTransport::sFolder;

TEST_F(MpvEngineTransport, PlayPauseAndStopReportTheirStates) {
    EXPECT_EQ(mEngine.playState(), kReady);
    mEngine.controls().play();
    EXPECT_EQ(mEngine.playState(), kPlaying);
    ASSERT_TRUE(waitUntil(mEngine, [&] { return position() > 0.3; }));
    EXPECT_EQ(mEngine.playState(), kPlaying);

    mEngine.controls().pause();
    EXPECT_EQ(mEngine.playState(), kPaused);
    const double held = position();
    settle();
    EXPECT_NEAR(position(), held, 0.02);
    EXPECT_EQ(mEngine.playState(), kPaused);

    mEngine.controls().play();
    EXPECT_EQ(mEngine.playState(), kPlaying);
    mEngine.controls().stop();
    EXPECT_EQ(mEngine.playState(), kStopped);
    EXPECT_EQ(position(), 0.0);
    EXPECT_EQ(mEngine.currentMedia().name(), "tone.wav");
    EXPECT_NEAR(mEngine.currentMedia().duration(), 6.0, 0.05);
}

TEST_F(MpvEngineTransport, StopThenPlayStartsFromTheBeginning) {
    mEngine.controls().play();
    ASSERT_TRUE(waitUntil(mEngine, [&] { return position() > 1.0; }));
    mEngine.controls().stop();
    settle();
    EXPECT_EQ(position(), 0.0);
    EXPECT_EQ(mEngine.playState(), kStopped);
    mEngine.controls().play();
    EXPECT_LT(position(), 0.5);
    EXPECT_EQ(mEngine.playState(), kPlaying);
    ASSERT_TRUE(waitUntil(mEngine, [&] { return position() > 0.2; }));
    EXPECT_LT(position(), 1.0);
}

TEST_F(MpvEngineTransport, PositionSetWhilePausedIsReadBackAtOnceAndKept) {
    mEngine.controls().play();
    ASSERT_TRUE(waitUntil(mEngine, [&] { return position() > 0.2; }));
    mEngine.controls().pause();
    mEngine.controls().currentPosition(4.25);
    EXPECT_EQ(position(), 4.25);
    settle();
    EXPECT_NEAR(position(), 4.25, 0.01);
    EXPECT_EQ(mEngine.playState(), kPaused);

    mEngine.controls().play();
    ASSERT_TRUE(waitUntil(mEngine, [&] { return position() > 4.4; }));
    EXPECT_LT(position(), 5.5);
}

TEST_F(MpvEngineTransport, PositionSetBeforePlayingAndWhileStopped) {
    mEngine.controls().currentPosition(2.0);
    EXPECT_EQ(position(), 2.0);
    EXPECT_EQ(mEngine.playState(), kReady);
    mEngine.controls().stop();
    mEngine.controls().currentPosition(3.5);
    EXPECT_EQ(position(), 3.5);
    settle();
    EXPECT_NEAR(position(), 3.5, 0.01);
    EXPECT_EQ(mEngine.playState(), kStopped);
}

TEST_F(MpvEngineTransport, PositionSetWhilePlayingIsReadBackAtOnce) {
    mEngine.controls().play();
    ASSERT_TRUE(waitUntil(mEngine, [&] { return position() > 0.2; }));
    // Many sets in a row, as a drag of the seek bar makes them.
    for (double seconds : {5.0, 1.0, 3.0, 2.0}) {
        mEngine.controls().currentPosition(seconds);
        // The new position (libmpv may already be playing on from it).
        EXPECT_NEAR(position(), seconds, 0.05);
    }
    ASSERT_TRUE(waitUntil(mEngine, [&] { return position() > 2.1; }));
    EXPECT_LT(position(), 3.5);
    EXPECT_EQ(mEngine.playState(), kPlaying);
}

TEST_F(MpvEngineTransport, NegativePositionPlaysFromTheBeginning) {
    mEngine.controls().currentPosition(3.0);
    mEngine.controls().currentPosition(-2.0);
    EXPECT_EQ(position(), 0.0);
    settle();
    EXPECT_NEAR(position(), 0.0, 0.01);
    mEngine.controls().play();
    EXPECT_EQ(mEngine.playState(), kPlaying);
    ASSERT_TRUE(waitUntil(mEngine, [&] { return position() > 0.2; }));
    EXPECT_LT(position(), 1.5);
}

TEST_F(MpvEngineTransport, PositionPastTheEndEndsTheMediaAndPlayStartsAgain) {
    mEngine.controls().play();
    mEngine.controls().currentPosition(9.0);
    ASSERT_TRUE(waitUntil(mEngine, [&] { return mEngine.playState() == kMediaEnded; }));
    EXPECT_NEAR(position(), 6.0, 0.1);
    EXPECT_EQ(mEngine.currentMedia().name(), "tone.wav");

    // The media stays loaded: a position set moves back into it and it plays on.
    mEngine.controls().currentPosition(4.0);
    EXPECT_NEAR(position(), 4.0, 0.05);
    EXPECT_EQ(mEngine.playState(), kPlaying);
    ASSERT_TRUE(waitUntil(mEngine, [&] { return position() > 4.2; }));
    EXPECT_EQ(mEngine.playState(), kPlaying);

    // Play at the end starts from the beginning.
    mEngine.controls().currentPosition(7.0);
    ASSERT_TRUE(waitUntil(mEngine, [&] { return mEngine.playState() == kMediaEnded; }));
    mEngine.controls().play();
    EXPECT_EQ(mEngine.playState(), kPlaying);
    EXPECT_LT(position(), 0.5);
}

TEST_F(MpvEngineTransport, PlayingToTheEndReportsMediaEnded) {
    load("tone.mp3");
    mEngine.controls().currentPosition(5.5);
    mEngine.controls().play();
    ASSERT_TRUE(waitUntil(mEngine, [&] { return mEngine.playState() == kMediaEnded; }));
    EXPECT_NEAR(position(), mEngine.currentMedia().duration(), 0.1);
    mEngine.controls().pause();
    EXPECT_EQ(mEngine.playState(), kPaused);
    mEngine.controls().stop();
    EXPECT_EQ(mEngine.playState(), kStopped);
    EXPECT_EQ(position(), 0.0);
}

TEST_F(MpvEngineTransport, PauseOrStopBeforePlayingKeepTheRecording) {
    mEngine.controls().pause();
    EXPECT_EQ(mEngine.playState(), kReady);
    mEngine.controls().stop();
    EXPECT_EQ(mEngine.playState(), kStopped);
    mEngine.controls().play();
    EXPECT_EQ(mEngine.playState(), kPlaying);
}

TEST_F(MpvEngineTransport, RateAndVolumeAreCheckedAndApplied) {
    mEngine.settings().volume(0);
    mEngine.settings().volume(50);
    mEngine.settings().volume(100);
    for (double rate : {0.5, 1.7, 3.0, 1.0}) mEngine.settings().rate(rate);
    EXPECT_THROW(mEngine.settings().rate(0.0), lirabox::RaisedError);
    EXPECT_THROW(mEngine.settings().rate(std::nan("")), lirabox::RaisedError);
    EXPECT_THROW(mEngine.settings().volume(-1), lirabox::RaisedError);
    EXPECT_THROW(mEngine.settings().volume(101), lirabox::RaisedError);
    EXPECT_THROW(mEngine.controls().currentPosition(std::nan("")), lirabox::RaisedError);
    mEngine.controls().play();
    EXPECT_EQ(mEngine.playState(), kPlaying);
}

}  // namespace
