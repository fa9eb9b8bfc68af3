#include "PlayerFixture.h"

namespace lirabox::test {
namespace {

class SlidersTest : public PlayerTest {
protected:
    void SetUp() override { ASSERT_TRUE(load()); }
    // Moves the pointer to `bar` twips from the bar's left edge, as the arrow sees it.
    static double within(const FakePicture& arrow, double bar) { return bar - arrow.Left(); }
};

TEST_F(SlidersTest, VolumeAboveTheRangeIsFullVolume) {
    form().volumeSlider().setValue(6000);
    EXPECT_EQ(form().volumeSlider().Value(), 5000);
    EXPECT_EQ(pictures.picArrow.Left(), 1695);
    EXPECT_EQ(engine.volume(), 50);
    form().volumeSlider().setValue(-10);
    EXPECT_EQ(form().volumeSlider().Value(), 0);
    EXPECT_EQ(engine.volume(), 0);
}

TEST_F(SlidersTest, VolumeIsTheValueByAHundredHalvesToEven) {
    const std::vector<std::pair<int, int>> cases = {{2450, 24}, {2550, 26}, {2449, 24}, {2551, 26}, {2500, 25}};
    for (const auto& [value, volume] : cases) {
        form().volumeSlider().setValue(value);
        EXPECT_EQ(engine.volume(), volume) << value;
    }
}

TEST_F(SlidersTest, DraggingTheVolumeArrowSetsTheVolume) {
    form().picArrow_MouseDown();
    form().picArrow_MouseMove(within(pictures.picArrow, 1830.0 / 4 + 67.5));
    EXPECT_EQ(form().volumeSlider().Value(), 1250);
    EXPECT_EQ(engine.volume(), 12);
    form().picArrow_MouseUp();
    form().picArrow_MouseMove(within(pictures.picArrow, 1830));
    EXPECT_EQ(form().volumeSlider().Value(), 1250);
}

TEST_F(SlidersTest, MovingWithoutAPressedButtonDoesNothing) {
    form().picArrow_MouseMove(500);
    form().seekpoint_MouseMove(500);
    EXPECT_EQ(form().volumeSlider().Value(), 2500);
    EXPECT_EQ(form().seekSlider().Value(), 0);
}

TEST_F(SlidersTest, DraggingPastTheEndsClamps) {
    form().picArrow_MouseDown();
    form().picArrow_MouseMove(5000);
    EXPECT_EQ(form().volumeSlider().Value(), 5000);
    form().picArrow_MouseMove(-5000);
    EXPECT_EQ(form().volumeSlider().Value(), 0);
}

TEST_F(SlidersTest, SeekDragAtTheBarsMiddleOfA120SecondFile) {
    engine.setDurationFor("/rec/a.wav", 120);
    form().fileOpen("/rec/a.wav");
    form().seekpoint_MouseDown();
    form().seekpoint_MouseMove(within(pictures.seekpoint, 3592.5));
    EXPECT_EQ(form().seekSlider().Value(), 59);
    // Stopped before: the move seeks, plays for the moment and ends paused there.
    EXPECT_EQ(engine.state(), media::kPaused);
    EXPECT_EQ(engine.position(), 59);
    EXPECT_FALSE(view.timer2);
    form().seekpoint_MouseUp();
    EXPECT_FALSE(form().seekSlider().MouseDown());
}

TEST_F(SlidersTest, SeekDragWhilePlayingPausesJumpsAndResumes) {
    engine.setDurationFor("/rec/a.wav", 120);
    form().fileOpen("/rec/a.wav");
    form().PlayFunc();
    engine.setPosition(10);
    engine.clearCalls();
    form().seekpoint_MouseDown();
    form().seekpoint_MouseMove(within(pictures.seekpoint, 3592.5));
    EXPECT_EQ(engine.commands(),
              (std::vector<std::string> {"settings.rate(1)",
                                         "controls.pause()",
                                         "controls.currentPosition(59)",
                                         "settings.rate(1)",
                                         "controls.currentPosition(58)",
                                         "controls.play()"}));
    EXPECT_EQ(engine.state(), media::kPlaying);
    EXPECT_TRUE(view.timer2);
}

TEST_F(SlidersTest, SeekSliderChangeMovesThePositionOnlyWhenNotPlaying) {
    form().fileOpen("/rec/a.wav");
    form().seekSlider().setValue(12);
    EXPECT_EQ(engine.position(), 12);
    form().PlayFunc();
    engine.setPosition(30);
    form().seekSlider().setValue(40);
    EXPECT_EQ(engine.position(), 30);
}

TEST_F(SlidersTest, SeekDragWithoutAFileDoesNotPlay) {
    form().seekpoint_MouseDown();
    form().seekpoint_MouseMove(within(pictures.seekpoint, 3592.5));
    EXPECT_NE(engine.state(), media::kPlaying);
    EXPECT_FALSE(view.timer2);
}

TEST_F(SlidersTest, VeryShortRecordingGivesARangeOfZeroWithoutFailing) {
    engine.setDurationFor("/rec/blip.wav", 0.4);
    form().fileOpen("/rec/blip.wav");
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(form().seekSlider().Max(), 0);
    form().seekpoint_MouseDown();
    EXPECT_NO_THROW(form().seekpoint_MouseMove(3000));
    EXPECT_EQ(form().seekSlider().Value(), 0);
    EXPECT_EQ(pictures.seekpoint.Left(), 0);
    EXPECT_NO_THROW(form().Timer2_Timer());
}

TEST_F(SlidersTest, FailingVolumeCallDoesNotReachTheWindow) {
    engine.failOperation("settings.volume", 5);
    form().picArrow_MouseDown();
    EXPECT_NO_THROW(form().picArrow_MouseMove(100));
}

}  // namespace
}  // namespace lirabox::test
