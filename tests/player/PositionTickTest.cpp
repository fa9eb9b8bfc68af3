#include "PlayerFixture.h"

namespace lirabox::test {
namespace {

class PositionTickTest : public PlayerTest {
protected:
    void playing(double length, double position) {
        restart();
        loadWithFile(length);
        form().PlayFunc();
        engine.setPosition(position);
        engine.clearCalls();
        timepost.times.clear();
    }
};

TEST_F(PositionTickTest, TickMovesTheSliderWritesTheLabelAndPublishes) {
    playing(5400.6, 3725.4);
    form().Timer2_Timer();
    EXPECT_EQ(view.timeText, "01:02:05 / 01:30:01");
    EXPECT_EQ(form().seekSlider().Value(), 3725);
    EXPECT_EQ(timepost.times, (std::vector<double> {3725.4}));
}

TEST_F(PositionTickTest, PositionIsRoundedHalvesToEven) {
    playing(60, 2.5);
    form().Timer2_Timer();
    EXPECT_EQ(view.timeText, "00:00:02 / 00:01:00");
    EXPECT_EQ(form().seekSlider().Value(), 2);
    engine.setPosition(3.5);
    form().Timer2_Timer();
    EXPECT_EQ(view.timeText, "00:00:04 / 00:01:00");
    EXPECT_EQ(form().seekSlider().Value(), 4);
}

TEST_F(PositionTickTest, LengthUpTo32767SecondsIsShown) {
    playing(32767.4, 1);
    form().Timer2_Timer();
    EXPECT_EQ(view.timeText, "00:00:01 / 09:06:07");
}

TEST_F(PositionTickTest, AnAllDayRecordingLoadsAndTicksWithoutAnError) {
    restart();
    ASSERT_TRUE(load());
    engine.setDurationFor("/rec/long.wav", 359999);
    form().fileOpen("/rec/long.wav");
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(view.timeText, "00:00:00 / 99:59:59");
    form().PlayFunc();
    engine.setPosition(40000);
    form().Timer2_Timer();
    EXPECT_EQ(view.timeText, "11:06:40 / 99:59:59");
    EXPECT_EQ(form().seekSlider().Max(), 359999);
    EXPECT_EQ(form().seekSlider().Value(), 40000);
    EXPECT_EQ(timepost.times.back(), 40000);
}

TEST_F(PositionTickTest, RepeatStretchReturnsToTheStartMark) {
    playing(600, 10);
    form().setRepeatStartFunc();
    engine.setPosition(20);
    form().setRepeatEndFunc();
    engine.setPosition(19.9);
    form().Timer2_Timer();
    EXPECT_DOUBLE_EQ(engine.position(), 19.9);
    engine.setPosition(20);
    form().Timer2_Timer();
    EXPECT_EQ(engine.position(), 10);
}

TEST_F(PositionTickTest, WithoutMarksTheRecordingPlaysToItsRealEndAndStops) {
    playing(60.3, 60);
    form().Timer2_Timer();
    EXPECT_EQ(engine.position(), 60);
    EXPECT_TRUE(view.timer2);
    engine.setPosition(60.3);
    engine.setPlayState(media::kMediaEnded);
    form().Timer2_Timer();
    EXPECT_DOUBLE_EQ(engine.position(), 60.3);
    EXPECT_FALSE(view.timer2);
    EXPECT_EQ(view.timeText, "00:01:00 / 00:01:00");
}

TEST_F(PositionTickTest, AStartMarkAloneRepeatsFromItAtTheRealEnd) {
    playing(60.3, 30);
    form().setRepeatStartFunc();
    engine.setPosition(60.3);
    engine.setPlayState(media::kMediaEnded);
    form().Timer2_Timer();
    EXPECT_EQ(engine.position(), 30);
    EXPECT_TRUE(view.timer2);
}

TEST_F(PositionTickTest, WithoutMarksALongFractionReachesTheEnd) {
    playing(60.7, 60.7);
    form().Timer2_Timer();
    EXPECT_DOUBLE_EQ(engine.position(), 60.7);
    EXPECT_TRUE(view.timer2);
}

TEST_F(PositionTickTest, EndMarkBeforeStartMarkReturnsEveryTick) {
    playing(600, 10);
    form().setRepeatEndFunc();
    engine.setPosition(20);
    form().setRepeatStartFunc();
    engine.setPosition(15);
    form().Timer2_Timer();
    EXPECT_EQ(engine.position(), 20);
    form().Timer2_Timer();
    EXPECT_EQ(engine.position(), 20);
}

TEST_F(PositionTickTest, SetTimeIsCalledAlsoWhenThePositionStands) {
    playing(60, 7.25);
    for (int i = 0; i < 3; ++i) form().Timer2_Timer();
    EXPECT_EQ(timepost.times, (std::vector<double> {7.25, 7.25, 7.25}));
}

TEST_F(PositionTickTest, DuringPlaybackTheSliderDoesNotMoveThePosition) {
    playing(60, 7.25);
    form().Timer2_Timer();
    EXPECT_EQ(engine.count("controls.currentPosition(7)"), 0);
    EXPECT_DOUBLE_EQ(engine.position(), 7.25);
}

TEST_F(PositionTickTest, FailingStepIsSkippedAndTheOthersRun) {
    playing(60, 30);
    view.timeText = "before";
    engine.failOperation("currentMedia.duration", 5);
    engine.setPosition(61);
    form().Timer2_Timer();
    EXPECT_EQ(view.timeText, "before");
    EXPECT_EQ(form().seekSlider().Value(), 60);
    EXPECT_EQ(timepost.times.back(), 61);
    EXPECT_EQ(engine.position(), 61);  // the repeat step needs the length too
}

TEST_F(PositionTickTest, TickRunsOnlyWhilePlaying) {
    restart();
    loadWithFile(60);
    EXPECT_FALSE(view.timer2);
    form().PlayFunc();
    EXPECT_TRUE(view.timer2);
    form().fileOpen("/rec/next.wav");
    EXPECT_TRUE(view.timer2);  // another file leaves the tick as it was
    form().PauseFunc();
    EXPECT_FALSE(view.timer2);
    form().PlayFunc();
    form().StopFunc();
    EXPECT_FALSE(view.timer2);
}

TEST_F(PositionTickTest, TickWithoutAFileDoesNotFail) {
    restart();
    ASSERT_TRUE(load());
    EXPECT_NO_THROW(form().Timer2_Timer());
    EXPECT_EQ(view.timeText, "00:00:00 / 00:00:00");
}

}  // namespace
}  // namespace lirabox::test
