#include <gtest/gtest.h>

#include <algorithm>

#include "keytap/x11/GrabPlan.h"

namespace keytap {
namespace {

constexpr unsigned kShift = 1, kLock = 2, kControl = 4, kAlt = 8, kNumLock = 16;
constexpr int kF1Keycode = 67, kF2Keycode = 68, kShiftL = 50, kShiftR = 62, kKp5 = 84, kDigit5 = 14;

class GrabPlanTest : public ::testing::Test {
protected:
    GrabPlanTest() {
        keycodes[kF1Keycode] = 112;
        keycodes[kF2Keycode] = 113;
        keycodes[kShiftL] = 16;
        keycodes[kShiftR] = 16;
        keycodes[kKp5] = 101;
        keycodes[kDigit5] = 53;
        table.releaseAll();
    }

    std::vector<KeyGrab> plan() const { return planGrabs(table, keycodes, masks); }

    static std::vector<KeyGrab> withLocks(int keycode, unsigned modifiers) {
        return {{keycode, modifiers},
                {keycode, modifiers | kLock},
                {keycode, modifiers | kNumLock},
                {keycode, modifiers | kLock | kNumLock}};
    }

    KeyTable table;
    KeycodeVirtualKeys keycodes {};
    ModifierMasks masks {kShift, kControl, kAlt, kLock, kNumLock};
};

TEST_F(GrabPlanTest, ASwallowingKeyIsGrabbedForEveryLockCombination) {
    table.store({3, 112, 2, 1});
    EXPECT_EQ(plan(), withLocks(kF1Keycode, kControl));
}

TEST_F(GrabPlanTest, APassingKeyIsNeverGrabbed) {
    table.store({3, 112, 5, 0});
    EXPECT_TRUE(plan().empty());
}

TEST_F(GrabPlanTest, TheLowerOfTwoEqualSlotsDecidesTheGrab) {
    table.store({5, 113, 0, 1});
    table.store({2, 113, 0, 0});
    table.store({6, 112, 0, 1});
    table.store({1, 112, 0, 0});
    table.store({3, 112, 2, 1});
    EXPECT_EQ(plan(), withLocks(kF1Keycode, kControl));
}

TEST_F(GrabPlanTest, FreeSlotsAndUnmeasurableCodesAreNotGrabbed) {
    table.store({0, 112, 8, 1});
    table.store({1, 113, 0, 1});
    table.release(1);
    table.store({2, 114, 0, 1});  // no keycode produces F3 here
    EXPECT_TRUE(plan().empty());
}

TEST_F(GrabPlanTest, OnlyTheLowEightBitsOfTheModifierCodeCount) {
    table.store({0, 112, 0x104, 1});
    EXPECT_EQ(plan(), withLocks(kF1Keycode, kAlt));
}

TEST_F(GrabPlanTest, WithoutAnAltModifierAltCombinationsCannotBeGrabbed) {
    masks.alt = 0;
    table.store({0, 112, 4, 1});
    table.store({1, 113, 2, 1});
    EXPECT_EQ(plan(), withLocks(kF2Keycode, kControl));
}

TEST_F(GrabPlanTest, WithoutNumLockTheLockCombinationsAreNotRepeated) {
    masks.numLock = 0;
    table.store({0, 112, 0, 1});
    const std::vector<KeyGrab> expected {{kF1Keycode, 0}, {kF1Keycode, kLock}};
    EXPECT_EQ(plan(), expected);
}

TEST_F(GrabPlanTest, AModifierKeyIsGrabbedWithAndWithoutItsOwnMask) {
    table.store({4, 16, 3, 1});  // Shift pressed while Ctrl is held
    std::vector<KeyGrab> expected;
    for (int keycode : {kShiftL, kShiftR}) {
        for (unsigned modifiers : {kControl | kShift, kControl}) {
            const auto part = withLocks(keycode, modifiers);
            expected.insert(expected.end(), part.begin(), part.end());
        }
    }
    EXPECT_EQ(plan(), expected);
}

TEST_F(GrabPlanTest, AModifierKeyWithoutItsOwnBitCanNeverFire) {
    table.store({4, 16, 2, 1});
    EXPECT_TRUE(plan().empty());
}

TEST_F(GrabPlanTest, KeypadAndMainKeyboardDigitsAreDifferentKeys) {
    table.store({0, 101, 0, 1});
    EXPECT_EQ(plan(), withLocks(kKp5, 0));
}

}  // namespace
}  // namespace keytap
