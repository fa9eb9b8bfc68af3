#include "KeyLegends.h"

#include "keytap/VirtualKeys.h"

namespace lirabox::settings {
namespace {

bool isPunctuation(std::int32_t virtualKey) {
    return (virtualKey >= keytap::vk::kOem1 && virtualKey <= keytap::vk::kOem3) ||
           (virtualKey >= keytap::vk::kOem4 && virtualKey <= keytap::vk::kOem7) || virtualKey == keytap::vk::kOem102;
}

// The character of a keysym: Latin-1 keysyms are their code, Unicode ones
// carry it under 0x01000000; a dead key is its accent.
std::uint32_t characterOf(std::uint32_t keysym) {
    if ((keysym >= 0x21 && keysym <= 0x7e) || (keysym >= 0xa1 && keysym <= 0xff)) return keysym;
    if ((keysym & 0xff000000u) == 0x01000000u) return keysym & 0xffffffu;
    switch (keysym) {
    case 0xfe50: return '`';   // dead_grave
    case 0xfe51: return 0xb4;  // dead_acute
    case 0xfe52: return '^';   // dead_circumflex
    case 0xfe53: return '~';   // dead_tilde
    case 0xfe57: return 0xa8;  // dead_diaeresis
    default: return 0;
    }
}

std::string utf8(std::uint32_t code) {
    std::string text;
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xc0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3f));
    } else {
        text += static_cast<char>(0xe0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        text += static_cast<char>(0x80 | (code & 0x3f));
    }
    return text;
}

}  // namespace

std::optional<std::string> keyLegend(std::int32_t virtualKey, std::string_view layoutName,
                                     const std::vector<KeyLevels>& keys) {
    std::uint32_t character = 0;
    for (const KeyLevels& key : keys) {
        if (keytap::virtualKeyForKeyLevels(key.plain, key.shifted) != virtualKey) continue;
        character = characterOf(key.plain);
        if (character != 0) break;
    }
    return keyLegend(virtualKey, layoutName.starts_with("Japanese"), character);
}

std::optional<std::string> keyLegend(std::int32_t virtualKey, bool japaneseLayout, std::uint32_t character) {
    if (japaneseLayout) return std::nullopt;
    if (virtualKey == keytap::vk::kApps) return "Menu";
    if (!isPunctuation(virtualKey) || character < 0x21 || character > 0xffff) return std::nullopt;
    return utf8(character);
}

}  // namespace lirabox::settings
