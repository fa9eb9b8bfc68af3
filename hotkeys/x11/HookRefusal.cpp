#include "hotkeys/HookRefusal.h"

namespace lirabox::hotkeys {

// Keytap watches the keyboard through XInput 2 on the X display: a Wayland
// session without X, or an X server without the extension, has none.
UiText hookRefusalReason() {
    return LIRABOX_TEXT("main", "there is no X display with XInput 2 to watch the keyboard on");
}

}  // namespace lirabox::hotkeys
