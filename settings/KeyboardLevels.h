#pragma once
// The keysyms of a key code's plain and shifted levels, read from the
// application's own X connection: the same levels the hook library turns into
// virtual-key codes.

#include "KeyCapture.h"

#include <cstdint>
#include <optional>

namespace lirabox::settings {

// Nothing when the application does not run on X11 or the key code is unknown.
std::optional<KeyLevels> keyLevelsOf(std::uint32_t keycode);

}  // namespace lirabox::settings
