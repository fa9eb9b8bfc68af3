#include "KeyCapture.h"

#include "keytap/VirtualKeys.h"

namespace lirabox::settings {

std::optional<CapturedKey> captureKey(const KeyPress& press) {
    std::int32_t keyCode = 0;
    if (press.levels) keyCode = keytap::virtualKeyForKeyLevels(press.levels->plain, press.levels->shifted);
    if (keyCode == 0) keyCode = keytap::virtualKeyForQtKey(press.qtKey);
    return captureVirtualKey(keyCode, press.shift, press.ctrl, press.alt);
}

std::optional<CapturedKey> captureVirtualKey(std::int32_t virtualKey, bool shift, bool ctrl, bool alt) {
    if (virtualKey < 1 || virtualKey > 254) return std::nullopt;
    const std::int32_t modifiers =
        (shift ? 1 : 0) | (ctrl ? 2 : 0) | (alt ? 4 : 0) | keytap::modifierBitOfVirtualKey(virtualKey);
    return CapturedKey {virtualKey, modifiers};
}

}  // namespace lirabox::settings
