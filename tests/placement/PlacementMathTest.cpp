// Keep-on-screen rules, screen size choice, show command and the
// overflow-checked edge arithmetic.

#include "support/PlacementMath.h"
#include "support/RaisedError.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace lirabox {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr ScreenSize kScreen {1024, 768};

void expectRect(const PixelRect& r, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

void expectOverflow(auto&& call) {
    try {
        call();
        ADD_FAILURE() << "no overflow raised";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.number(), kErrOverflow);
    }
}

TEST(KeepOnScreen, RectangleInsideStaysAndIsNoError) {
    const ScreenFit fit = keepOnScreen({100, 50, 400, 250}, kScreen, true);
    expectRect(fit.rect, 100, 50, 400, 250);
    EXPECT_FALSE(fit.outside);
}

TEST(KeepOnScreen, EdgesOnTheScreenBorderPass) {
    const ScreenFit farCorner = keepOnScreen({724, 568, 1024, 768}, kScreen, true);
    expectRect(farCorner.rect, 724, 568, 1024, 768);
    EXPECT_FALSE(farCorner.outside);
    const ScreenFit origin = keepOnScreen({0, 0, 300, 200}, kScreen, true);
    expectRect(origin.rect, 0, 0, 300, 200);
    EXPECT_FALSE(origin.outside);
}

TEST(KeepOnScreen, BeyondTheRightEdgeMovesLeftKeepingTheWidth) {
    const ScreenFit fit = keepOnScreen({900, 50, 1200, 250}, kScreen, true);
    expectRect(fit.rect, 724, 50, 1024, 250);
    EXPECT_TRUE(fit.outside);
}

TEST(KeepOnScreen, BeyondTheBottomEdgeMovesUpKeepingTheHeight) {
    const ScreenFit fit = keepOnScreen({100, 700, 400, 900}, kScreen, true);
    expectRect(fit.rect, 100, 568, 400, 768);
    EXPECT_TRUE(fit.outside);
}

TEST(KeepOnScreen, NegativeEdgesMoveToTheOriginKeepingTheSize) {
    const ScreenFit fit = keepOnScreen({-50, -20, 250, 180}, kScreen, true);
    expectRect(fit.rect, 0, 0, 300, 200);
    EXPECT_TRUE(fit.outside);
}

TEST(KeepOnScreen, WithoutSafePositionNothingMovesButTheFlagIsSet) {
    const ScreenFit fit = keepOnScreen({-50, -20, 250, 180}, kScreen, false);
    expectRect(fit.rect, -50, -20, 250, 180);
    EXPECT_TRUE(fit.outside);
    const ScreenFit farOut = keepOnScreen({900, 700, 1200, 900}, kScreen, false);
    expectRect(farOut.rect, 900, 700, 1200, 900);
    EXPECT_TRUE(farOut.outside);
}

TEST(KeepOnScreen, OneSideOutsideIsEnoughForTheFlag) {
    EXPECT_TRUE(keepOnScreen({100, 50, 1025, 250}, kScreen, false).outside);
    EXPECT_TRUE(keepOnScreen({100, 50, 400, 769}, kScreen, false).outside);
    EXPECT_TRUE(keepOnScreen({-1, 50, 400, 250}, kScreen, false).outside);
    EXPECT_TRUE(keepOnScreen({100, -1, 400, 250}, kScreen, false).outside);
}

TEST(KeepOnScreen, WiderAndTallerThanTheScreenEndsAtTheOriginReachingBeyond) {
    // Right check first pulls it to left -176, then the left check pushes it back.
    const ScreenFit fit = keepOnScreen({100, 100, 1300, 1000}, kScreen, true);
    expectRect(fit.rect, 0, 0, 1200, 900);
    EXPECT_TRUE(fit.outside);
}

TEST(KeepOnScreen, ChecksSeeTheEdgesThePreviousChecksLeft) {
    // Moving left by the right-edge overshoot makes the left edge negative,
    // which the left check then repairs.
    const ScreenFit fit = keepOnScreen({10, 10, 1100, 100}, kScreen, true);
    expectRect(fit.rect, 0, 10, 1090, 100);
    EXPECT_TRUE(fit.outside);
}

TEST(KeepOnScreen, ArithmeticThatLeaves32BitsRaisesOverflow) {
    // left - d below the smallest edge.
    expectOverflow([] { keepOnScreen({kMin, 0, kMax, 10}, kScreen, true); });
    // -left does not fit.
    expectOverflow([] { keepOnScreen({kMin, 0, 0, 10}, kScreen, true); });
    // right + d beyond the largest edge.
    expectOverflow([] { keepOnScreen({-10, 0, kMax - 5, 10}, ScreenSize {kMax, 768}, true); });
    // top - d and bottom + d likewise.
    expectOverflow([] { keepOnScreen({0, kMin, 10, kMax}, kScreen, true); });
    expectOverflow([] { keepOnScreen({0, -10, 10, kMax - 5}, ScreenSize {1024, kMax}, true); });
}

TEST(KeepOnScreen, ExtremeEdgesWithoutSafePositionNeedNoArithmetic) {
    const ScreenFit fit = keepOnScreen({kMin, kMin, kMax, kMax}, kScreen, false);
    expectRect(fit.rect, kMin, kMin, kMax, kMax);
    EXPECT_TRUE(fit.outside);
}

TEST(CheckedArithmetic, InRangeResultsAndOverflow) {
    EXPECT_EQ(checkedAdd(kMax - 1, 1), kMax);
    EXPECT_EQ(checkedSubtract(kMin + 1, 1), kMin);
    EXPECT_EQ(checkedSubtract(-5, -7), 2);
    expectOverflow([] { checkedAdd(kMax, 1); });
    expectOverflow([] { checkedAdd(kMin, -1); });
    expectOverflow([] { checkedSubtract(kMin, 1); });
    expectOverflow([] { checkedSubtract(0, kMin); });
}

TEST(PlacementScreenSize, DesktopSizeUnlessEitherSideIsZero) {
    const PixelRect primary {0, 0, 1280, 1024};
    const ScreenSize desktop = placementScreenSize({0, 0, 1024, 768}, primary);
    EXPECT_EQ(desktop.width, 1024);
    EXPECT_EQ(desktop.height, 768);
    for (const PixelRect unknown : {PixelRect {0, 0, 0, 768}, PixelRect {0, 0, 1024, 0}, PixelRect {}}) {
        const ScreenSize size = placementScreenSize(unknown, primary);
        EXPECT_EQ(size.width, 1280);
        EXPECT_EQ(size.height, 1024);
    }
}

TEST(PlacementShowCommand, MinimizedBeforeMaximizedBeforeNormal) {
    EXPECT_EQ(placementShowCommand(true, true), 2);
    EXPECT_EQ(placementShowCommand(true, false), 2);
    EXPECT_EQ(placementShowCommand(false, true), 3);
    EXPECT_EQ(placementShowCommand(false, false), 5);
}

}  // namespace
}  // namespace lirabox
