#include "hotkeys/HookRefusal.h"

namespace lirabox::hotkeys {

// SetWindowsHookEx failed: a security program, or a policy, may keep
// programs from watching other programs' keys.
UiText hookRefusalReason() { return LIRABOX_TEXT("main", "Windows がキーボードフックの設定を拒否しました"); }

}  // namespace lirabox::hotkeys
