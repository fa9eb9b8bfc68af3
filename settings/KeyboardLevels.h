#pragma once
// The keysyms of a key code's plain and shifted levels, read from the
// application's own X connection: the same levels the hook library turns into
// virtual-key codes (X11 only); and the legends of the active layout's keys
// (X11: the XKB group and keyboard map; Windows: the thread's keyboard
// layout and MapVirtualKey). UI thread.

#include "KeyCapture.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lirabox::settings {

// Nothing when the application does not run on X11 or the key code is unknown.
std::optional<KeyLevels> keyLevelsOf(std::uint32_t keycode);

// keyLegend (settings/KeyLegends.h) on the active layout: a KeyLegend for
// KeyCodeToName. Nothing on Linux when the program does not run on X11.
std::optional<std::string> keyLegendOf(std::int32_t virtualKey);

}  // namespace lirabox::settings
