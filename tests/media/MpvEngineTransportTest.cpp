// Play, pause, stop and positions on the real libmpv engine (silent output).

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "EngineProbe.h"
#include "MpvEngine.h"
#include "RaisedError.h"
#include "Recordings.h"
#include "TempFolder.h"

namespace {

using namespace lirabox::media;
using lirabox::test::TempFolder;
using lirabox::test::waitUntil;

class MpvEngineTransport : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<TempFolder>();
        lirabox::test::writeSineWav(folder_->file("tone.wav"), 6.0, 440.0, 44100, 1);
        lirabox::test::makeMp3(folder_->file("tone.wav"));
    }
    static void TearDownTestSuite() { folder_.reset(); }

    void SetUp() override { load("tone.wav"); }

    void load(const std::string& name) {
        engine_.settings().autoStart(false);
        engine_.URL(folder_->fileText(name));
    }
    double position() { return engine_.controls().currentPosition(); }
    // Gives libmpv time to carry out what was asked; the answers must not change by it.
    void settle() { waitUntil(engine_, [] { return false; }, std::chrono::milliseconds(300)); }

    static std::unique_ptr<TempFolder> folder_;
    MpvEngine engine_{{{"ao", "null"}}};
};

std::unique_ptr<TempFolder> MpvEngineTransport::folder_;

TEST_F(MpvEngineTransport, PlayPauseAndStopReportTheirStates) {
    EXPECT_EQ(engine_.playState(), kReady);
    engine_.controls().play();
    EXPECT_EQ(engine_.playState(), kPlaying);
    ASSERT_TRUE(waitUntil(engine_, [&] { return position() > 0.3; }));
    EXPECT_EQ(engine_.playState(), kPlaying);

    engine_.controls().pause();
    EXPECT_EQ(engine_.playState(), kPaused);
    const double held = position();
    settle();
    EXPECT_NEAR(position(), held, 0.02);
    EXPECT_EQ(engine_.playState(), kPaused);

    engine_.controls().play();
    EXPECT_EQ(engine_.playState(), kPlaying);
    engine_.controls().stop();
    EXPECT_EQ(engine_.playState(), kStopped);
    EXPECT_EQ(position(), 0.0);
    EXPECT_EQ(engine_.currentMedia().name(), "tone.wav");
    EXPECT_NEAR(engine_.currentMedia().duration(), 6.0, 0.05);
}

TEST_F(MpvEngineTransport, StopThenPlayStartsFromTheBeginning) {
    engine_.controls().play();
    ASSERT_TRUE(waitUntil(engine_, [&] { return position() > 1.0; }));
    engine_.controls().stop();
    settle();
    EXPECT_EQ(position(), 0.0);
    EXPECT_EQ(engine_.playState(), kStopped);
    engine_.controls().play();
    EXPECT_LT(position(), 0.5);
    EXPECT_EQ(engine_.playState(), kPlaying);
    ASSERT_TRUE(waitUntil(engine_, [&] { return position() > 0.2; }));
    EXPECT_LT(position(), 1.0);
}

TEST_F(MpvEngineTransport, PositionSetWhilePausedIsReadBackAtOnceAndKept) {
    engine_.controls().play();
    ASSERT_TRUE(waitUntil(engine_, [&] { return position() > 0.2; }));
    engine_.controls().pause();
    engine_.controls().currentPosition(4.25);
    EXPECT_EQ(position(), 4.25);
    settle();
    EXPECT_NEAR(position(), 4.25, 0.01);
    EXPECT_EQ(engine_.playState(), kPaused);

    engine_.controls().play();
    ASSERT_TRUE(waitUntil(engine_, [&] { return position() > 4.4; }));
    EXPECT_LT(position(), 5.5);
}

TEST_F(MpvEngineTransport, PositionSetBeforePlayingAndWhileStopped) {
    engine_.controls().currentPosition(2.0);
    EXPECT_EQ(position(), 2.0);
    EXPECT_EQ(engine_.playState(), kReady);
    engine_.controls().stop();
    engine_.controls().currentPosition(3.5);
    EXPECT_EQ(position(), 3.5);
    settle();
    EXPECT_NEAR(position(), 3.5, 0.01);
    EXPECT_EQ(engine_.playState(), kStopped);
}

TEST_F(MpvEngineTransport, PositionSetWhilePlayingIsReadBackAtOnce) {
    engine_.controls().play();
    ASSERT_TRUE(waitUntil(engine_, [&] { return position() > 0.2; }));
    // Many sets in a row, as a drag of the seek bar makes them.
    for (double seconds : {5.0, 1.0, 3.0, 2.0}) {
        engine_.controls().currentPosition(seconds);
        // The new position (libmpv may already be playing on from it).
        EXPECT_NEAR(position(), seconds, 0.05);
    }
    ASSERT_TRUE(waitUntil(engine_, [&] { return position() > 2.1; }));
    EXPECT_LT(position(), 3.5);
    EXPECT_EQ(engine_.playState(), kPlaying);
}

TEST_F(MpvEngineTransport, NegativePositionPlaysFromTheBeginning) {
    engine_.controls().currentPosition(3.0);
    engine_.controls().currentPosition(-2.0);
    EXPECT_EQ(position(), 0.0);
    settle();
    EXPECT_NEAR(position(), 0.0, 0.01);
    engine_.controls().play();
    EXPECT_EQ(engine_.playState(), kPlaying);
    ASSERT_TRUE(waitUntil(engine_, [&] { return position() > 0.2; }));
    EXPECT_LT(position(), 1.5);
}

TEST_F(MpvEngineTransport, PositionPastTheEndEndsTheMediaAndPlayStartsAgain) {
    engine_.controls().play();
    engine_.controls().currentPosition(9.0);
    ASSERT_TRUE(waitUntil(engine_, [&] { return engine_.playState() == kMediaEnded; }));
    EXPECT_NEAR(position(), 6.0, 0.1);
    EXPECT_EQ(engine_.currentMedia().name(), "tone.wav");

    // The media stays loaded: a position set moves back into it and it plays on.
    engine_.controls().currentPosition(4.0);
    EXPECT_NEAR(position(), 4.0, 0.05);
    EXPECT_EQ(engine_.playState(), kPlaying);
    ASSERT_TRUE(waitUntil(engine_, [&] { return position() > 4.2; }));
    EXPECT_EQ(engine_.playState(), kPlaying);

    // Play at the end starts from the beginning.
    engine_.controls().currentPosition(7.0);
    ASSERT_TRUE(waitUntil(engine_, [&] { return engine_.playState() == kMediaEnded; }));
    engine_.controls().play();
    EXPECT_EQ(engine_.playState(), kPlaying);
    EXPECT_LT(position(), 0.5);
}

TEST_F(MpvEngineTransport, PlayingToTheEndReportsMediaEnded) {
    load("tone.mp3");
    engine_.controls().currentPosition(5.5);
    engine_.controls().play();
    ASSERT_TRUE(waitUntil(engine_, [&] { return engine_.playState() == kMediaEnded; }));
    EXPECT_NEAR(position(), engine_.currentMedia().duration(), 0.1);
    engine_.controls().pause();
    EXPECT_EQ(engine_.playState(), kPaused);
    engine_.controls().stop();
    EXPECT_EQ(engine_.playState(), kStopped);
    EXPECT_EQ(position(), 0.0);
}

TEST_F(MpvEngineTransport, PauseOrStopBeforePlayingKeepTheRecording) {
    engine_.controls().pause();
    EXPECT_EQ(engine_.playState(), kReady);
    engine_.controls().stop();
    EXPECT_EQ(engine_.playState(), kStopped);
    engine_.controls().play();
    EXPECT_EQ(engine_.playState(), kPlaying);
}

TEST_F(MpvEngineTransport, RateAndVolumeAreCheckedAndApplied) {
    engine_.settings().volume(0);
    engine_.settings().volume(50);
    engine_.settings().volume(100);
    for (double rate : {0.5, 1.7, 3.0, 1.0}) engine_.settings().rate(rate);
    EXPECT_THROW(engine_.settings().rate(0.0), lirabox::RaisedError);
    EXPECT_THROW(engine_.settings().rate(std::nan("")), lirabox::RaisedError);
    EXPECT_THROW(engine_.settings().volume(-1), lirabox::RaisedError);
    EXPECT_THROW(engine_.settings().volume(101), lirabox::RaisedError);
    EXPECT_THROW(engine_.controls().currentPosition(std::nan("")), lirabox::RaisedError);
    engine_.controls().play();
    EXPECT_EQ(engine_.playState(), kPlaying);
}

}  // namespace
