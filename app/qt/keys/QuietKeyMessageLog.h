#pragma once
// Qt's X platform warns on stderr about every client message it has no use
// for, and the hook library sends one for each shortcut key pressed. This
// drops exactly that warning for "KVL_MESSAGE_PROC"; every other message goes
// on to the handler installed before. Installing a second time does nothing.

namespace lirabox::hotkeys {

void quietKeyMessageWarnings();

}  // namespace lirabox::hotkeys
