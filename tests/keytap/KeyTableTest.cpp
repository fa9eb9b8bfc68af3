#include <gtest/gtest.h>

#include "keytap/KeyTable.h"

namespace keytap {
namespace {

constexpr int32_t kF1 = 112;
constexpr int32_t kF2 = 113;
constexpr int32_t kShiftKey = 16;

class KeyTableTest : public ::testing::Test {
protected:
    void SetUp() override { table.releaseAll(); }

    KeyMatch press(int32_t key, bool shift, bool ctrl, bool alt) const {
        return matchKey(table, key, true, shift, ctrl, alt);
    }

    KeyTable table;
};

TEST_F(KeyTableTest, CtrlF1PostsItsSlotAndModifierCodeAndPassesTheKeyOn) {
    ASSERT_TRUE(table.store({3, kF1, 2, 0}));
    const KeyMatch match = press(kF1, false, true, false);
    EXPECT_EQ(match.slot, 3);
    EXPECT_EQ(match.lParam, 0x00020070);
    EXPECT_FALSE(match.swallow);
}

TEST_F(KeyTableTest, OtherModifiersAndKeyUpsPostNothing) {
    table.store({3, kF1, 2, 0});
    EXPECT_EQ(press(kF1, false, false, false).slot, kNoSlot);                  // F1 alone
    EXPECT_EQ(press(kF1, true, true, false).slot, kNoSlot);                    // Ctrl+Shift+F1
    EXPECT_EQ(press(kF1, false, true, true).slot, kNoSlot);                    // Ctrl+Alt+F1
    EXPECT_EQ(press(kF2, false, true, false).slot, kNoSlot);                   // another key
    EXPECT_EQ(matchKey(table, kF1, false, false, true, false).slot, kNoSlot);  // key-up
}

TEST_F(KeyTableTest, AnyNonZeroDiscardFlagSwallowsTheKeyDown) {
    table.store({3, kF1, 2, 1});
    EXPECT_TRUE(press(kF1, false, true, false).swallow);
    table.store({3, kF1, 2, -1});
    EXPECT_TRUE(press(kF1, false, true, false).swallow);
    EXPECT_FALSE(matchKey(table, kF1, false, false, true, false).swallow);  // its key-up passes
}

TEST_F(KeyTableTest, TheLowerOfTwoEqualSlotsWinsWithItsOwnDiscardFlag) {
    table.store({5, kF2, 0, 1});
    table.store({2, kF2, 0, 0});
    const KeyMatch match = press(kF2, false, false, false);
    EXPECT_EQ(match.slot, 2);
    EXPECT_FALSE(match.swallow);
}

TEST_F(KeyTableTest, ALaterSlotFiresWhenTheEarlierOnesDifferInModifiers) {
    table.store({0, kF2, 1, 0});
    table.store({9, kF2, 4, 1});
    const KeyMatch match = press(kF2, false, false, true);
    EXPECT_EQ(match.slot, 9);
    EXPECT_EQ(match.lParam, 0x00040071);
    EXPECT_TRUE(match.swallow);
}

TEST_F(KeyTableTest, OnlyTheLowEightBitsOfTheModifierCodeCount) {
    table.store({1, kF1, 0x102, 0});
    EXPECT_EQ(press(kF1, false, true, false).slot, 1);
    table.store({1, kF1, 8, 0});  // no measurable code is 8
    for (int code = 0; code < 8; ++code) EXPECT_EQ(press(kF1, code & 1, code & 2, code & 4).slot, kNoSlot) << code;
}

TEST_F(KeyTableTest, AFreeSlotNeverFiresWhateverItStillHolds) {
    table.store({4, kF1, 0, 1});
    ASSERT_TRUE(table.release(4));
    EXPECT_EQ(press(kF1, false, false, false).slot, kNoSlot);
    EXPECT_EQ(table.read(4).KeyCode, kF1);  // only the ID is cleared
}

TEST_F(KeyTableTest, AModifierAloneIsAShortcutWhileItIsHeld) {
    table.store({6, kShiftKey, 1, 0});
    const KeyMatch match = press(kShiftKey, true, false, false);
    EXPECT_EQ(match.slot, 6);
    EXPECT_EQ(match.lParam, 0x00010010);
}

TEST_F(KeyTableTest, TheModifiersAreMeasuredAfreshForEveryCandidateSlot) {
    table.store({0, kF1, 0, 0});
    table.store({1, kF2, 0, 0});
    table.store({2, kF1, 2, 0});
    int measured = 0;
    const KeyMatch match = matchKeyMeasuring(table, kF1, true, [&] { return ++measured == 1 ? 1 : 2; });
    EXPECT_EQ(match.slot, 2);
    EXPECT_EQ(measured, 2);  // slots 0 and 2; slot 1 holds another key
}

TEST_F(KeyTableTest, TheKeyCodeFillsTheLowHalfOfLParamOnly) {
    table.store({7, 0x12345, 0, 0});
    EXPECT_EQ(press(0x12345, false, false, false).lParam, 0x2345);
}

TEST_F(KeyTableTest, StoringRefusesSlotNumbersOutsideTheTable) {
    table.store({0, kF1, 0, 0});
    EXPECT_FALSE(table.store({16, kF2, 0, 0}));
    EXPECT_FALSE(table.store({-1, kF2, 0, 0}));
    EXPECT_FALSE(table.store({INT32_MIN, kF2, 0, 0}));
    for (int32_t slot = 1; slot < KEYTAP_SLOTS; ++slot) EXPECT_EQ(table.id(slot), -1);
    EXPECT_EQ(table.read(0).KeyCode, kF1);
    EXPECT_EQ(press(kF2, false, false, false).slot, kNoSlot);
}

TEST_F(KeyTableTest, TheLastSlotCanBeFilled) {
    ASSERT_TRUE(table.store({15, kF2, 4, 1}));
    const ShortcutKeyRecord stored = table.read(15);
    EXPECT_EQ(stored.ID, 15);
    EXPECT_EQ(stored.KeyCode, kF2);
    EXPECT_EQ(stored.ShiftStatus, 4);
    EXPECT_EQ(stored.KeyDestroy, 1);
    EXPECT_EQ(press(kF2, false, false, true).slot, 15);
}

TEST_F(KeyTableTest, ReleasingRefusesSlotNumbersOutsideTheTable) {
    table.store({15, kF2, 0, 0});
    EXPECT_FALSE(table.release(16));
    EXPECT_FALSE(table.release(-1));
    EXPECT_EQ(table.id(15), 15);
}

TEST_F(KeyTableTest, ReleasingAllFreesEverySlot) {
    for (int32_t slot = 0; slot < KEYTAP_SLOTS; ++slot) table.store({slot, kF1 + slot, 0, 1});
    table.releaseAll();
    for (int32_t slot = 0; slot < KEYTAP_SLOTS; ++slot) {
        EXPECT_EQ(table.id(slot), -1);
        EXPECT_EQ(press(kF1 + slot, false, false, false).slot, kNoSlot);
    }
}

}  // namespace
}  // namespace keytap
