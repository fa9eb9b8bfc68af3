#include "ModifierKeys.h"

#include <windows.h>

namespace lirabox::win32 {

std::int32_t modifierKeys() {
    const auto held = [](int key) { return ::GetKeyState(key) < 0; };
    return (held(VK_SHIFT) ? 1 : 0) | (held(VK_CONTROL) ? 2 : 0) | (held(VK_MENU) ? 4 : 0);
}

}  // namespace lirabox::win32
