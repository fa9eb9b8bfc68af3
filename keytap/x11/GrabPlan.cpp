#include "GrabPlan.h"

#include <algorithm>

#include "keytap/VirtualKeys.h"

namespace keytap {
namespace {

struct Decision {
    int32_t key;
    int32_t modifiers;
    bool swallow;
};

// The first slot for each (key, modifier code) pair decides; later equal slots never fire.
std::vector<Decision> firstMatchingSlots(const KeyTable& table) {
    std::vector<Decision> decisions;
    for (int32_t slot = 0; slot < KEYTAP_SLOTS; ++slot) {
        const ShortcutKeyRecord record = table.read(slot);
        const int32_t modifiers = record.ShiftStatus & 0xff;
        if (record.ID < 0 || modifiers > (kShiftBit | kCtrlBit | kAltBit)) continue;
        const bool seen = std::any_of(decisions.begin(), decisions.end(), [&](const Decision& d) {
            return d.key == record.KeyCode && d.modifiers == modifiers;
        });
        if (!seen) decisions.push_back({record.KeyCode, modifiers, record.KeyDestroy != 0});
    }
    return decisions;
}

// The X masks of a modifier code, or false when a needed modifier has no mask.
bool maskOf(int32_t modifiers, const ModifierMasks& masks, unsigned& mask) {
    mask = 0;
    const struct {
        int32_t bit;
        unsigned mask;
    } parts[] = {{kShiftBit, masks.shift}, {kCtrlBit, masks.control}, {kAltBit, masks.alt}};
    for (const auto& part : parts) {
        if (!(modifiers & part.bit)) continue;
        if (part.mask == 0) return false;
        mask |= part.mask;
    }
    return true;
}

}  // namespace

std::vector<KeyGrab> planGrabs(const KeyTable& table, const KeycodeVirtualKeys& keycodes, const ModifierMasks& masks) {
    const unsigned lockVariants[] = {0, masks.capsLock, masks.numLock, masks.capsLock | masks.numLock};
    std::vector<KeyGrab> grabs;
    auto add = [&](int keycode, unsigned modifiers) {
        for (unsigned lock : lockVariants) {
            const KeyGrab grab {keycode, modifiers | lock};
            if (std::find(grabs.begin(), grabs.end(), grab) == grabs.end()) grabs.push_back(grab);
        }
    };
    for (const Decision& decision : firstMatchingSlots(table)) {
        if (!decision.swallow) continue;
        unsigned mask = 0;
        if (!maskOf(decision.modifiers, masks, mask)) continue;
        // A modifier key counts itself as held when it goes down, but the X
        // state of its own press does not include it yet (unless its twin on
        // the other side of the keyboard is already held).
        const int32_t ownBit = modifierBitOfVirtualKey(decision.key);
        if (ownBit != 0 && !(decision.modifiers & ownBit)) continue;
        unsigned ownMask = 0;
        if (ownBit != 0) maskOf(ownBit, masks, ownMask);
        for (int keycode = 0; keycode < kKeycodeCount; ++keycode) {
            if (keycodes[static_cast<std::size_t>(keycode)] != decision.key || decision.key == 0) continue;
            add(keycode, mask);
            if (ownMask != 0) add(keycode, mask & ~ownMask);
        }
    }
    return grabs;
}

}  // namespace keytap
