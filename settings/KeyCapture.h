#pragma once
// A key pressed in a key box as the hook library will match it: a virtual-key
// code and the modifier code (Shift 1 + Ctrl 2 + Alt 4), both through the one
// key table of keytap/VirtualKeys.h.

#include <cstdint>
#include <optional>

namespace lirabox::settings {

struct CapturedKey {
    std::int32_t keyCode = 0;
    std::int32_t shift = 0;
    bool operator==(const CapturedKey&) const = default;
};

// The keysyms of the pressed physical key's plain and shifted levels.
struct KeyLevels {
    std::uint32_t plain = 0;
    std::uint32_t shifted = 0;
};

struct KeyPress {
    // From the platform's keyboard map when it can tell them: then the key is
    // named exactly as the hook library names it (keypad 5 is not main-row 5,
    // Shift+1 is still the 1 key).
    std::optional<KeyLevels> levels;
    // Otherwise the toolkit's key value, with its keypad bit for keypad keys.
    std::int32_t qtKey = 0;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// The key and modifier code of a press; a modifier key pressed alone counts
// as held. Nothing for a key the table has no virtual-key code for.
std::optional<CapturedKey> captureKey(const KeyPress& press);

// The same for a virtual-key code the platform reports itself (Windows'
// key-down message); nothing for a code outside 1..254.
std::optional<CapturedKey> captureVirtualKey(std::int32_t virtualKey, bool shift, bool ctrl, bool alt);

}  // namespace lirabox::settings
