#include "KeyCodeToName.h"

#include <utility>

namespace lirabox::settings {
namespace {

const char* modifierName(std::int32_t shift) {
    switch (shift) {
    case 1: return "Shift";
    case 2: return "Ctrl";
    case 3: return "Shift + Ctrl";
    case 4: return "Alt";
    case 5: return "Shift+Alt";
    case 6: return "Ctrl + Alt";
    case 7: return "Shift + Ctrl + Alt";
    default: return "";
    }
}

const char* namedKey(std::int32_t keyCode) {
    switch (keyCode) {
    case 8: return "BackSpace";
    case 9: return "Tab";
    case 13: return "Enter";
    case 16: return "Shift";
    case 17: return "CTL";
    case 18: return "Alt";
    case 19: return "Pause";
    case 20: return "CapsLock";
    case 27: return "Esc";
    case 32: return "SPACE";
    case 33: return "PageUp";
    case 34: return "PageDown";
    case 35: return "End";
    case 36: return "Home";
    case 37: return "←";
    case 38: return "↑";
    case 39: return "→";
    case 40: return "↓";
    case 45: return "Insert";
    case 46: return "Delete";
    case 91: return "WindowsKey";
    case 106: return "*";
    case 107: return "+";
    case 109: return "-";
    case 110: return ".";
    case 111: return "/";
    case 144: return "NumLock";
    case 145: return "ScrollLock";
    case 186: return ":";
    case 187: return ";";
    case 188: return ",";
    case 189: return "=";
    case 190: return ".";
    case 191: return "/";
    case 192: return "@";
    case 219: return "[";
    case 220: return "\\";
    case 221: return "]";
    case 222: return "~";
    case 226: return "＼";
    case 240: return "CapsLock";
    default: return nullptr;
    }
}

std::string keyName(std::int32_t keyCode) {
    if (const char* name = namedKey(keyCode)) return name;
    if (keyCode >= 96 && keyCode <= 105) return std::string(1, static_cast<char>('0' + keyCode - 96));
    if (keyCode >= 112 && keyCode <= 123) return "F" + std::to_string(keyCode - 111);
    // UTF-8 has no one-byte character above 127, and control codes show nothing.
    if (keyCode >= 32 && keyCode <= 126) return std::string(1, static_cast<char>(keyCode));
    return {};
}

}  // namespace

std::string KeyCodeToName(std::int32_t keyCode, std::int32_t shift) { return KeyCodeToName(keyCode, shift, {}); }

std::string KeyCodeToName(std::int32_t keyCode, std::int32_t shift, const KeyLegend& legend) {
    std::optional<std::string> legendName = legend ? legend(keyCode) : std::nullopt;
    const std::string name = legendName ? std::move(*legendName) : keyName(keyCode);
    if (shift == 0) return name;
    if (keyCode >= 16 && keyCode <= 18) return modifierName(shift);
    return std::string(modifierName(shift)) + " + " + name;
}

}  // namespace lirabox::settings
