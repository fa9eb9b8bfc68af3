#pragma once
// The sixteen shortcut-key slots and the matching of one key event against
// them. The table is written by the player's thread and read by the thread
// that watches the keyboard, without a lock: every field is a relaxed atomic
// 32-bit value, and a record is written field by field. A reader may thus see
// a record while it is being replaced; the next key event sees it whole.

#include <array>
#include <atomic>
#include <cstdint>

#include "Keytap.h"

namespace keytap {

inline constexpr int32_t kNoSlot = -1;
inline constexpr int32_t kShiftBit = 1;
inline constexpr int32_t kCtrlBit = 2;
inline constexpr int32_t kAltBit = 4;

struct KeyMatch {
    int32_t slot = kNoSlot;  // the slot to post as wParam, or kNoSlot
    bool swallow = false;    // whether the key-down must be kept from the focused program
    int32_t lParam = 0;      // modifier code << 16 | virtual-key code
};

constexpr int32_t modifierCode(bool shift, bool ctrl, bool alt) {
    return (shift ? kShiftBit : 0) | (ctrl ? kCtrlBit : 0) | (alt ? kAltBit : 0);
}

class KeyTable {
public:
    constexpr KeyTable() = default;
    KeyTable(const KeyTable&) = delete;
    KeyTable& operator=(const KeyTable&) = delete;

    // Copies the record into slot record.ID; false (nothing stored) when the ID is not 0..15.
    bool store(const ShortcutKeyRecord& record);
    // Marks slot n free; false when n is not 0..15.
    bool release(int32_t slot);
    // Marks every slot free; the other fields stay.
    void releaseAll();
    // The record in slot index (0..15).
    ShortcutKeyRecord read(int32_t index) const;

    static constexpr bool isSlot(int32_t n) { return n >= 0 && n < KEYTAP_SLOTS; }

    int32_t id(int32_t index) const { return mSlots[index].id.load(std::memory_order_relaxed); }
    int32_t keyCode(int32_t index) const { return mSlots[index].keyCode.load(std::memory_order_relaxed); }
    int32_t shiftStatus(int32_t index) const { return mSlots[index].shiftStatus.load(std::memory_order_relaxed); }
    int32_t keyDestroy(int32_t index) const { return mSlots[index].keyDestroy.load(std::memory_order_relaxed); }

private:
    struct Slot {
        std::atomic<int32_t> id {-1};
        std::atomic<int32_t> keyCode {0};
        std::atomic<int32_t> shiftStatus {0};
        std::atomic<int32_t> keyDestroy {0};
    };
    std::array<Slot, KEYTAP_SLOTS> mSlots {};
};

// Matches one key event. measureModifiers() returns the modifier code (Shift 1
// + Ctrl 2 + Alt 4) as it is now; it is asked afresh for every slot whose key
// matches. Lower slots win; the first slot matching key and modifiers decides
// alone. Allocates nothing and takes no lock.
template <class MeasureModifiers>
KeyMatch matchKeyMeasuring(const KeyTable& table, int32_t key, bool keyDown, MeasureModifiers&& measureModifiers) {
    if (!keyDown) return {};
    for (int32_t slot = 0; slot < KEYTAP_SLOTS; ++slot) {
        if (table.id(slot) < 0 || table.keyCode(slot) != key) continue;
        const int32_t modifiers = measureModifiers();
        if (modifiers != (table.shiftStatus(slot) & 0xff)) continue;
        const auto lParam = (static_cast<uint32_t>(modifiers) << 16) | (static_cast<uint32_t>(key) & 0xffffu);
        return {slot, table.keyDestroy(slot) != 0, static_cast<int32_t>(lParam)};
    }
    return {};
}

// The same with the three modifier states given.
KeyMatch matchKey(const KeyTable& table, int32_t key, bool keyDown, bool shift, bool ctrl, bool alt);

}  // namespace keytap
