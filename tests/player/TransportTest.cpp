#include "PlayerFixture.h"
#include "support/RaisedError.h"
#include "support/clsIniFile.h"

#include <algorithm>

namespace lirabox::test {
namespace {

class TransportTest : public PlayerTest {
protected:
    void SetUp() override { loadWithFile(600); }
    void pausedAt(double seconds) {
        engine.setPlayState(media::kPaused);
        engine.setPosition(seconds);
        engine.clearCalls();
    }
    void playingAt(double seconds) {
        engine.setPlayState(media::kPlaying);
        engine.setPosition(seconds);
        engine.clearCalls();
    }
};

// --- play, pause, stop --------------------------------------------------------

TEST_F(TransportTest, PlayStepsBackByTheAutomaticRewind) {
    pausedAt(10.4);
    form().PlayFunc();
    EXPECT_DOUBLE_EQ(engine.position(), 9.4);
    EXPECT_EQ(engine.state(), media::kPlaying);
    EXPECT_TRUE(view.timer2);
}

TEST_F(TransportTest, PlayBelowOneSecondStartsAtZero) {
    pausedAt(0.8);
    form().PlayFunc();
    EXPECT_EQ(engine.position(), 0);
}

TEST_F(TransportTest, PlayWhilePlayingJumpsBackEachTime) {
    playingAt(30);
    form().runCommand(Command::Play);
    EXPECT_EQ(engine.position(), 29);
    form().runCommand(Command::Play);
    EXPECT_EQ(engine.position(), 28);
}

TEST_F(TransportTest, NoAutomaticRewindResumesWherePaused) {
    form().set_autorev_time(0);
    pausedAt(10.4);
    form().PlayFunc();
    EXPECT_DOUBLE_EQ(engine.position(), 10.4);
}

TEST_F(TransportTest, PlayAppliesTheRateBeforeMovingAndPlaying) {
    form().SpeedFunc(0);
    pausedAt(5);
    form().PlayFunc();
    EXPECT_EQ(engine.commands(),
              (std::vector<std::string> {"settings.rate(1.1)", "controls.currentPosition(4)", "controls.play()"}));
}

TEST_F(TransportTest, PauseStopsTheTickAndKeepsThePosition) {
    form().PlayFunc();
    engine.setPosition(42.5);
    form().PauseFunc();
    EXPECT_FALSE(view.timer2);
    EXPECT_EQ(engine.state(), media::kPaused);
    EXPECT_EQ(engine.position(), 42.5);
}

TEST_F(TransportTest, StopReturnsToZeroAndShowsIt) {
    form().PlayFunc();
    engine.setPosition(42);
    form().Timer2_Timer();
    const std::string label = view.timeText;
    form().StopFunc();
    EXPECT_FALSE(view.timer2);
    EXPECT_EQ(engine.state(), media::kStopped);
    EXPECT_EQ(engine.position(), 0);
    EXPECT_NE(view.timeText, label);
    EXPECT_EQ(view.timeText, "00:00:00 / 00:10:00");
    EXPECT_EQ(form().seekSlider().Value(), 0);
}

TEST_F(TransportTest, ToggleFollowsThePlayState) {
    pausedAt(10);
    form().runCommand(Command::PlayPause);
    EXPECT_EQ(engine.state(), media::kPlaying);
    form().runCommand(Command::PlayPause);
    EXPECT_EQ(engine.state(), media::kPaused);
}

TEST_F(TransportTest, ToggleFailureReachesItsCallerButNotTheWindow) {
    engine.failOperation("playState", 5);
    EXPECT_THROW(form().PPFunc(), RaisedError);
    EXPECT_NO_THROW(form().runCommand(Command::PlayPause));
    EXPECT_NO_THROW(form().KeyMessage(0));
}

TEST_F(TransportTest, FailingStepsOfACommandAreSkipped) {
    engine.failOperation("settings.rate", 5);
    pausedAt(10);
    form().PlayFunc();
    EXPECT_EQ(engine.state(), media::kPlaying);
    EXPECT_EQ(engine.position(), 9);
    form().PauseFunc();
    EXPECT_EQ(engine.state(), media::kPaused);
    engine.failOperation("controls.stop", 5);
    form().StopFunc();
    EXPECT_EQ(engine.position(), 0);
    EXPECT_FALSE(view.timer2);
}

TEST_F(TransportTest, EachPlaybackCommandLetsPendingEventsRunOnce) {
    pausedAt(10);
    const std::vector<std::pair<const char*, std::function<void()>>> commands = {
        {"play", [&] { form().PlayFunc(); }},
        {"pause", [&] { form().PauseFunc(); }},
        {"stop", [&] { form().StopFunc(); }},
        {"rewind", [&] { form().RewindFunc(); }},
        {"forward", [&] { form().ForwardFunc(); }},
    };
    for (const auto& [name, command] : commands) {
        int ticks = 0;
        view.pendingEvent = [&] { ++ticks; };
        const int before = view.doEvents;
        command();
        EXPECT_EQ(view.doEvents - before, 1) << name;
        EXPECT_EQ(ticks, 1) << name;
    }
}

TEST_F(TransportTest, TickCanRunInsideAPlaybackCommand) {
    pausedAt(10);
    view.pendingEvent = [&] { form().Timer2_Timer(); };
    form().PlayFunc();
    EXPECT_EQ(view.timeText, "00:00:09 / 00:10:00");
}

TEST_F(TransportTest, SpeedAndMarksDoNotRunPendingEvents) {
    const int before = view.doEvents;
    form().SpeedFunc(0);
    form().setRepeatStartFunc();
    form().setRepeatEndFunc();
    form().cboSpeed_Click();
    EXPECT_EQ(view.doEvents, before);
}

// --- rewind and fast-forward -----------------------------------------------------

TEST_F(TransportTest, RewindBelowTwoSecondsGoesToZero) {
    pausedAt(1.9);
    form().RewindFunc();
    EXPECT_EQ(engine.position(), 0);
}

TEST_F(TransportTest, RewindIsNotClampedAtZero) {
    form().set_rewind_time(5);
    pausedAt(3);
    form().RewindFunc();
    EXPECT_EQ(engine.count("controls.currentPosition(-2)"), 1);
}

TEST_F(TransportTest, ForwardIsNotClampedAtTheLength) {
    form().set_forward_time(5);
    pausedAt(598);
    form().ForwardFunc();
    EXPECT_EQ(engine.count("controls.currentPosition(603)"), 1);
}

TEST_F(TransportTest, NegativeRewindFromTheFileMovesForward) {
    store("UserCfg.ini", "Config", "Rewind", "-3");
    restart();
    loadWithFile(600);
    pausedAt(10);
    form().RewindFunc();
    EXPECT_EQ(engine.position(), 13);
}

TEST_F(TransportTest, RewindAndForwardApplyTheRateAndKeepThePlayState) {
    form().SpeedFunc(1);
    playingAt(100);
    form().runCommand(Command::Rewind);
    form().runCommand(Command::FastForward);
    EXPECT_EQ(engine.commands(),
              (std::vector<std::string> {"settings.rate(0.9)",
                                         "controls.currentPosition(98)",
                                         "settings.rate(0.9)",
                                         "controls.currentPosition(100)"}));
    EXPECT_EQ(engine.state(), media::kPlaying);
}

// --- speed -------------------------------------------------------------------------

TEST_F(TransportTest, FasterStopsAtThree) {
    view.speedText = "2.9";
    form().cboSpeed_Click();
    form().SpeedFunc(0);
    EXPECT_DOUBLE_EQ(form().playRate(), 3);
    EXPECT_EQ(view.speedText, "3");
    form().SpeedFunc(0);
    EXPECT_DOUBLE_EQ(form().playRate(), 3);
    EXPECT_DOUBLE_EQ(engine.rate(), 3);
}

TEST_F(TransportTest, SlowerStopsAtHalf) {
    view.speedText = "0.6";
    form().cboSpeed_Click();
    form().SpeedFunc(1);
    EXPECT_DOUBLE_EQ(form().playRate(), 0.5);
    EXPECT_EQ(view.speedText, "0.5");
    form().SpeedFunc(1);
    EXPECT_DOUBLE_EQ(form().playRate(), 0.5);
}

TEST_F(TransportTest, TenStepsFasterFromOneShowTwo) {
    for (int i = 0; i < 10; ++i) form().SpeedFunc(0);
    EXPECT_EQ(view.speedText, "2");
    EXPECT_NEAR(form().playRate(), 2, 1e-9);
}

TEST_F(TransportTest, SpeedStepsStayOnTheListsItems) {
    const auto listed = [&] {
        return std::find(view.speedItems.begin(), view.speedItems.end(), view.speedText) != view.speedItems.end();
    };
    for (const std::int16_t direction : {0, 1}) {
        for (int i = 0; i < 30; ++i) {
            form().SpeedFunc(direction);
            ASSERT_TRUE(listed()) << view.speedText;
        }
    }
    for (int i = 0; i < 5; ++i) form().SpeedFunc(0);
    EXPECT_EQ(view.speedText, "1");
    EXPECT_EQ(form().playRate(), 1.0);
}

TEST_F(TransportTest, OtherDirectionsOnlyApplyTheRate) {
    form().SpeedFunc(7);
    EXPECT_DOUBLE_EQ(form().playRate(), 1);
    EXPECT_EQ(engine.commands(), (std::vector<std::string> {"settings.rate(1)"}));
    EXPECT_EQ(view.speedText, "1");
}

TEST_F(TransportTest, SpeedButtonsAndMenusChangeTheRate) {
    form().runCommand(Command::Faster);
    form().runCommand(Command::Faster);
    EXPECT_EQ(view.speedText, "1.2");
    form().runCommand(Command::Slower);
    form().runCommand(Command::Slower);
    form().runCommand(Command::Slower);
    EXPECT_EQ(view.speedText, "0.9");
}

TEST_F(TransportTest, SelectingASpeedAppliesItAtOnce) {
    view.cboSpeedSetListIndex(5);
    form().cboSpeed_Click();
    EXPECT_DOUBLE_EQ(form().playRate(), 2.5);
    EXPECT_DOUBLE_EQ(engine.rate(), 2.5);
}

TEST_F(TransportTest, SpeedTextThatIsNotANumberKeepsTheRate) {
    form().SpeedFunc(0);
    view.speedText = "fast";
    form().cboSpeed_Click();
    EXPECT_DOUBLE_EQ(form().playRate(), 1.1);
}

TEST_F(TransportTest, OpeningAFileKeepsTheSpeedAndThePlayAppliesItAgain) {
    form().SpeedFunc(0);
    form().fileOpen("/rec/other.wav");
    EXPECT_DOUBLE_EQ(engine.rate(), 1.0);
    EXPECT_EQ(view.speedText, "1.1");
    form().PlayFunc();
    EXPECT_DOUBLE_EQ(engine.rate(), 1.1);
}

// --- repeat marks ----------------------------------------------------------------

TEST_F(TransportTest, StartMarkIsRoundedHalvesToEven) {
    pausedAt(12.5);
    form().setRepeatStartFunc();
    EXPECT_EQ(form().repeatStart(), 12);
    form().setRepeatStartFunc();
    pausedAt(13.5);
    form().setRepeatStartFunc();
    EXPECT_EQ(form().repeatStart(), 14);
}

TEST_F(TransportTest, StartMarkAtZeroCountsAsNoMark) {
    pausedAt(0.3);
    form().setRepeatStartFunc();
    EXPECT_EQ(form().repeatStart(), 0);
    pausedAt(7);
    form().setRepeatStartFunc();
    EXPECT_EQ(form().repeatStart(), 7);
}

TEST_F(TransportTest, StartMarkUsedTwiceIsCleared) {
    pausedAt(150);
    form().setRepeatStartFunc();
    EXPECT_DOUBLE_EQ(view.x1, 1796.25);
    form().setRepeatStartFunc();
    EXPECT_EQ(form().repeatStart(), 0);
    EXPECT_EQ(view.x1, 0);
}

TEST_F(TransportTest, EndMarkIsSetThenCleared) {
    EXPECT_EQ(form().repeatEnd(), 600);
    pausedAt(300.4);
    form().setRepeatEndFunc();
    EXPECT_EQ(form().repeatEnd(), 300);
    EXPECT_DOUBLE_EQ(view.x2, 3592.5);
    form().setRepeatEndFunc();
    EXPECT_EQ(form().repeatEnd(), 600);
    EXPECT_EQ(view.x2, 7185);
}

TEST_F(TransportTest, EndMarkLineUsesTheUnroundedLength) {
    restart();
    loadWithFile(600.4);
    pausedAt(300);
    form().setRepeatEndFunc();
    EXPECT_DOUBLE_EQ(view.x2, 300 * 7185 / 600.4);
}

TEST_F(TransportTest, MarksAreNotComparedWithEachOther) {
    pausedAt(20);
    form().setRepeatEndFunc();
    pausedAt(30);
    form().setRepeatStartFunc();
    EXPECT_EQ(form().repeatStart(), 30);
    EXPECT_EQ(form().repeatEnd(), 20);
}

TEST_F(TransportTest, MarksOnAFileOfLengthZeroKeepTheLineAtItsEnds) {
    restart();
    loadWithFile(0);
    pausedAt(5);
    form().setRepeatStartFunc();
    EXPECT_EQ(form().repeatStart(), 5);
    EXPECT_EQ(view.x1, 0);
    form().setRepeatEndFunc();
    EXPECT_EQ(form().repeatEnd(), 5);
    EXPECT_EQ(view.x2, 7185);
}

TEST_F(TransportTest, MarksOnVeryLongRecordingsDoNotOverflow) {
    engine.setDurationFor("/rec/long.wav", 400000);
    form().fileOpen("/rec/long.wav");  // too long for the time text, loaded all the same
    pausedAt(300000);
    form().setRepeatStartFunc();
    EXPECT_EQ(form().repeatStart(), 300000);
    EXPECT_DOUBLE_EQ(view.x1, 5388.75);
    form().setRepeatEndFunc();
    EXPECT_EQ(form().repeatEnd(), 300000);
    EXPECT_DOUBLE_EQ(view.x2, 5388.75);
    form().setRepeatEndFunc();
    EXPECT_EQ(form().repeatEnd(), 400000);
}

// --- step lengths ----------------------------------------------------------------

TEST_F(TransportTest, SettingAStepLengthSavesItAtOnce) {
    form().set_rewind_time(5);
    form().set_forward_time(-4);
    form().set_autorev_time(32767);
    EXPECT_EQ(stored("UserCfg.ini", "Config", "Rewind"), "5");
    EXPECT_EQ(stored("UserCfg.ini", "Config", "Forward"), "-4");
    EXPECT_EQ(stored("UserCfg.ini", "Config", "Autorev"), "32767");
    EXPECT_EQ(form().rewind_time(), 5);
    EXPECT_EQ(form().forward_time(), -4);
    EXPECT_EQ(form().autorev_time(), 32767);
}

}  // namespace
}  // namespace lirabox::test
