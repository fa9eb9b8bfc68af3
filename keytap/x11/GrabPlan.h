#pragma once
// Which key + modifier combinations the X11 watcher grabs, worked out from
// the table alone (no X calls), so that it can be checked without a display.
//
// Only combinations whose first matching slot swallows are grabbed, always
// asynchronously: the focused program never sees their key-down, and a
// stopped or busy player can never hold anyone's keyboard. Keys that are
// passed on are never grabbed; the watcher sees them through raw events.

#include <array>
#include <cstdint>
#include <vector>

#include "keytap/KeyTable.h"

namespace keytap {

inline constexpr int kKeycodeCount = 256;
using KeycodeVirtualKeys = std::array<int32_t, kKeycodeCount>;  // 0 = no virtual key

// X modifier masks as the server's modifier mapping assigns them; 0 when absent.
struct ModifierMasks {
    unsigned shift = 0;
    unsigned control = 0;
    unsigned alt = 0;
    unsigned capsLock = 0;
    unsigned numLock = 0;
};

struct KeyGrab {
    int keycode = 0;
    unsigned modifiers = 0;

    friend bool operator==(const KeyGrab&, const KeyGrab&) = default;
};

std::vector<KeyGrab> planGrabs(const KeyTable& table, const KeycodeVirtualKeys& keycodes, const ModifierMasks& masks);

}  // namespace keytap
