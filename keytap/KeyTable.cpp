#include "KeyTable.h"

namespace keytap {

bool KeyTable::store(const ShortcutKeyRecord& record) {
    if (!isSlot(record.ID)) return false;
    Slot& slot = mSlots[static_cast<std::size_t>(record.ID)];
    slot.id.store(record.ID, std::memory_order_relaxed);
    slot.keyCode.store(record.KeyCode, std::memory_order_relaxed);
    slot.shiftStatus.store(record.ShiftStatus, std::memory_order_relaxed);
    slot.keyDestroy.store(record.KeyDestroy, std::memory_order_relaxed);
    return true;
}

bool KeyTable::release(int32_t slot) {
    if (!isSlot(slot)) return false;
    mSlots[static_cast<std::size_t>(slot)].id.store(-1, std::memory_order_relaxed);
    return true;
}

void KeyTable::releaseAll() {
    for (Slot& slot : mSlots) slot.id.store(-1, std::memory_order_relaxed);
}

ShortcutKeyRecord KeyTable::read(int32_t index) const {
    return {id(index), keyCode(index), shiftStatus(index), keyDestroy(index)};
}

KeyMatch matchKey(const KeyTable& table, int32_t key, bool keyDown, bool shift, bool ctrl, bool alt) {
    const int32_t modifiers = modifierCode(shift, ctrl, alt);
    return matchKeyMeasuring(table, key, keyDown, [modifiers] { return modifiers; });
}

}  // namespace keytap
