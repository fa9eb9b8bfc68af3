#include "PlayerFakes.h"
#include "player/clsPicSlider.h"

#include <gtest/gtest.h>

namespace lirabox::test {
namespace {

class PicSliderTest : public ::testing::Test {
protected:
    PicSliderTest() {
        volume.setArrowPicture(&arrow);
        volume.setMainPicture(&bar);
        volume.setMin(0);
        volume.setMax(5000);
        volume.onChange([this] { ++changes; });
    }

    FakePicture bar {1440, 1830};
    FakePicture arrow {105, 135};
    clsPicSlider volume;
    int changes = 0;
};

TEST_F(PicSliderTest, StartsWithTheClassDefaults) {
    clsPicSlider slider;
    EXPECT_EQ(slider.Min(), 0);
    EXPECT_EQ(slider.Max(), 100);
    EXPECT_EQ(slider.Value(), 0);
    EXPECT_FALSE(slider.MouseDown());
    EXPECT_EQ(slider.MainPicture(), nullptr);
    EXPECT_EQ(slider.ArrowPicture(), nullptr);
}

TEST_F(PicSliderTest, ValueAboveMaxIsClampedAndTheArrowStopsAtTheRightEnd) {
    volume.setValue(6000);
    EXPECT_EQ(volume.Value(), 5000);
    EXPECT_EQ(arrow.Left(), 1695);
}

TEST_F(PicSliderTest, ValueBelowMinIsClampedToMin) {
    volume.setValue(-10);
    EXPECT_EQ(volume.Value(), 0);
    EXPECT_EQ(arrow.Left(), 0);
}

TEST_F(PicSliderTest, ArrowIsPlacedInProportionWithHalvesToEven) {
    volume.setValue(2500);
    EXPECT_EQ(arrow.Left(), 915);  // 1830 * 0.5

    FakePicture seekBar {0, 7185};
    FakePicture seekArrow {180, 135};
    clsPicSlider seek;
    seek.setMainPicture(&seekBar);
    seek.setArrowPicture(&seekArrow);
    seek.setMax(2);
    seek.setValue(1);
    EXPECT_EQ(seekArrow.Left(), 3592);  // 3592.5 goes to the even neighbour
    seek.setMax(120);
    seek.setValue(59);
    EXPECT_EQ(seekArrow.Left(), 3533);  // 3532.5625
    seek.setMax(32767);
    seek.setValue(32767);
    EXPECT_EQ(seekArrow.Left(), 7050);
}

TEST_F(PicSliderTest, BarIsRepaintedAfterTheArrowMovesOnly) {
    volume.setValue(100);
    EXPECT_EQ(bar.refreshes, 1);
    volume.setValue(100);
    EXPECT_EQ(bar.refreshes, 1);
}

TEST_F(PicSliderTest, ChangeIsRaisedOnEverySetAlsoWithTheSameValue) {
    volume.setValue(1200);
    volume.setValue(1200);
    EXPECT_EQ(changes, 2);
}

TEST_F(PicSliderTest, ChangeSeesTheClampedValue) {
    int seen = -1;
    volume.onChange([&] { seen = volume.Value(); });
    volume.setValue(9000);
    EXPECT_EQ(seen, 5000);
}

TEST_F(PicSliderTest, SettingMaxAloneLeavesValueArrowAndListenersAlone) {
    volume.setValue(5000);
    volume.setMax(10000);
    EXPECT_EQ(volume.Value(), 5000);
    EXPECT_EQ(arrow.Left(), 1695);
    EXPECT_EQ(changes, 1);
    volume.setValue(5000);
    EXPECT_EQ(arrow.Left(), 915);
}

TEST_F(PicSliderTest, SettingMinAboveValueDoesNotClampUntilTheNextSet) {
    volume.setValue(100);
    volume.setMin(200);
    EXPECT_EQ(volume.Value(), 100);
}

TEST_F(PicSliderTest, MinAboveMaxWins) {
    volume.setMin(10);
    volume.setMax(5);
    volume.setValue(0);
    EXPECT_EQ(volume.Value(), 10);
    volume.setValue(7);
    EXPECT_EQ(volume.Value(), 10);
    volume.setValue(100);
    EXPECT_EQ(volume.Value(), 10);
}

TEST_F(PicSliderTest, ZeroRangePutsTheArrowAtTheLeftEndWithoutFailing) {
    volume.setValue(2000);
    volume.setMax(0);
    volume.setValue(7);
    EXPECT_EQ(volume.Value(), 0);
    EXPECT_EQ(arrow.Left(), 0);
    EXPECT_EQ(changes, 2);

    volume.setMin(3);  // a value above a zero Max
    volume.setValue(3);
    EXPECT_EQ(volume.Value(), 3);
    EXPECT_EQ(arrow.Left(), 0);
}

TEST_F(PicSliderTest, WithoutPicturesTheValueIsStillStoredAndAnnounced) {
    clsPicSlider slider;
    int raised = 0;
    slider.onChange([&] { ++raised; });
    slider.setValue(50);
    EXPECT_EQ(slider.Value(), 50);
    EXPECT_EQ(raised, 1);
}

}  // namespace
}  // namespace lirabox::test
