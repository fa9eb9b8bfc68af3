#include "settings/KeyboardLevels.h"

#include <QGuiApplication>

#include <X11/Xlib.h>

namespace lirabox::settings {

std::optional<KeyLevels> keyLevelsOf(std::uint32_t keycode) {
    const auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr || keycode < 8 || keycode > 255) return std::nullopt;
    int perKeycode = 0;
    KeySym* syms = XGetKeyboardMapping(display, static_cast<KeyCode>(keycode), 1, &perKeycode);
    if (syms == nullptr) return std::nullopt;
    const auto level = [&](int index) {
        return index < perKeycode && syms[index] != NoSymbol ? static_cast<std::uint32_t>(syms[index]) : 0u;
    };
    const KeyLevels levels{level(0), level(1)};
    XFree(syms);
    return levels;
}

}  // namespace lirabox::settings
