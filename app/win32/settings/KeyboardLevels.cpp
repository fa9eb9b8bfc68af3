#include "settings/KeyboardLevels.h"

#include "settings/KeyLegends.h"

#include <windows.h>

namespace lirabox::settings {

// The keyboard layout of the dialog's thread; a dead key's character comes with the high bit set.
std::optional<std::string> keyLegendOf(std::int32_t virtualKey) {
    const auto layout = reinterpret_cast<UINT_PTR>(::GetKeyboardLayout(0));
    const bool japanese = PRIMARYLANGID(LOWORD(layout)) == LANG_JAPANESE;
    const UINT character = ::MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_CHAR) & 0x7fffffffu;
    return keyLegend(virtualKey, japanese, character);
}

}  // namespace lirabox::settings
