#include "KeyCapture.h"

#include "keytap/VirtualKeys.h"

namespace lirabox::settings {

std::optional<CapturedKey> captureKey(const KeyPress& press) {
    std::int32_t keyCode = 0;
    if (press.levels) keyCode = keytap::virtualKeyForKeyLevels(press.levels->plain, press.levels->shifted);
    if (keyCode == 0) keyCode = keytap::virtualKeyForQtKey(press.qtKey);
    if (keyCode == 0) return std::nullopt;
    const std::int32_t shift =
        (press.shift ? 1 : 0) | (press.ctrl ? 2 : 0) | (press.alt ? 4 : 0) | keytap::modifierBitOfVirtualKey(keyCode);
    return CapturedKey{keyCode, shift};
}

}  // namespace lirabox::settings
