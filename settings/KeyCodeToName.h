#pragma once
// The name a key box shows for a virtual-key code and a modifier code
// (Shift 1 + Ctrl 2 + Alt 4).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace lirabox::settings {

// Modifier name, " + ", key name; the key name alone without modifiers, the
// modifier name alone for a modifier key (16, 17, 18) pressed with modifiers.
// The punctuation names are the legends of the Japanese keyboard. A code the
// table does not name is shown as its printable ASCII character (A-Z, 0-9,
// ...); a code with no such character (0 among them) has an empty name.
std::string KeyCodeToName(std::int32_t keyCode, std::int32_t shift);

// The name the active keyboard layout gives a key: the legend of a
// punctuation key (and "Menu" for the Menu key) on a layout other than the
// Japanese one; nothing where the table's name stands.
using KeyLegend = std::function<std::optional<std::string>(std::int32_t keyCode)>;

// The same with the key name taken from the legend where it gives one; the
// stored codes are the same whatever the name.
std::string KeyCodeToName(std::int32_t keyCode, std::int32_t shift, const KeyLegend& legend);

}  // namespace lirabox::settings
