#include "settings/KeyboardLevels.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <vector>

#include "settings/KeyLegends.h"

namespace lirabox::settings {
namespace {

Display* applicationDisplay() {
    const auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 != nullptr ? x11->display() : nullptr;
}

// The active group's name: "English (US)", "German", "Japanese", ...
std::string layoutName(Display* display) {
    XkbStateRec state {};
    if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) return {};
    XkbDescPtr keyboard = XkbGetKeyboard(display, XkbNamesMask, XkbUseCoreKbd);
    if (keyboard == nullptr) return {};
    std::string name;
    if (keyboard->names != nullptr && keyboard->names->groups[state.group] != None) {
        if (char* atom = XGetAtomName(display, keyboard->names->groups[state.group])) {
            name = atom;
            XFree(atom);
        }
    }
    XkbFreeKeyboard(keyboard, 0, True);
    return name;
}

// The plain and shifted keysyms of every key code.
std::vector<KeyLevels> keyboardLevels(Display* display) {
    int first = 0;
    int last = 0;
    XDisplayKeycodes(display, &first, &last);
    int perKeycode = 0;
    KeySym* syms = XGetKeyboardMapping(display, static_cast<KeyCode>(first), last - first + 1, &perKeycode);
    std::vector<KeyLevels> levels;
    if (syms == nullptr) return levels;
    for (int key = 0; key <= last - first && perKeycode >= 2; ++key) {
        levels.push_back({static_cast<std::uint32_t>(syms[key * perKeycode]),
                          static_cast<std::uint32_t>(syms[key * perKeycode + 1])});
    }
    XFree(syms);
    return levels;
}

}  // namespace

std::optional<KeyLevels> keyLevelsOf(std::uint32_t keycode) {
    Display* display = applicationDisplay();
    if (display == nullptr || keycode < 8 || keycode > 255) return std::nullopt;
    int perKeycode = 0;
    KeySym* syms = XGetKeyboardMapping(display, static_cast<KeyCode>(keycode), 1, &perKeycode);
    if (syms == nullptr) return std::nullopt;
    const auto level = [&](int index) {
        return index < perKeycode && syms[index] != NoSymbol ? static_cast<std::uint32_t>(syms[index]) : 0u;
    };
    const KeyLevels levels {level(0), level(1)};
    XFree(syms);
    return levels;
}

std::optional<std::string> keyLegendOf(std::int32_t virtualKey) {
    Display* display = applicationDisplay();
    if (display == nullptr) return std::nullopt;
    return keyLegend(virtualKey, layoutName(display), keyboardLevels(display));
}

}  // namespace lirabox::settings
