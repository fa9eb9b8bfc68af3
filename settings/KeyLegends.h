#pragma once
// The names a keyboard layout's own legends give keys, for KeyCodeToName
// (a KeyLegend): the stored virtual-key codes follow the Japanese keyboard's
// names, which on a US or German keyboard would call the ";" key ":".

#include "KeyCapture.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lirabox::settings {

// The legend of the key the hook library gives virtualKey on a layout: the
// character of the plain level of a punctuation key (a dead key shows its
// accent), "Menu" for the Menu key. Nothing on a Japanese layout (layoutName
// starting "Japanese": the table's names are its legends), for other keys,
// or when no key of the layout gives that code.
// keys: the plain and shifted keysyms of every key of the layout.
std::optional<std::string> keyLegend(std::int32_t virtualKey, std::string_view layoutName,
                                     const std::vector<KeyLevels>& keys);

// The same where the platform tells the key's character itself (Windows'
// MapVirtualKey): character is the plain level's code point, 0 for none.
std::optional<std::string> keyLegend(std::int32_t virtualKey, bool japaneseLayout, std::uint32_t character);

}  // namespace lirabox::settings
