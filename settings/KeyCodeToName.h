#pragma once
// The name a key box shows for a virtual-key code and a modifier code
// (Shift 1 + Ctrl 2 + Alt 4).

#include <cstdint>
#include <string>

namespace lirabox::settings {

// Modifier name, " + ", key name; the key name alone without modifiers, the
// modifier name alone for a modifier key (16, 17, 18) pressed with modifiers.
// The punctuation names are the legends of the Japanese keyboard. A code the
// table does not name is shown as its printable ASCII character (A-Z, 0-9,
// ...); a code with no such character (0 among them) has an empty name.
std::string KeyCodeToName(std::int32_t keyCode, std::int32_t shift);

}  // namespace lirabox::settings
