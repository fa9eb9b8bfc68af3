#pragma once
// The program's modeless dialogs: the one message loop lets each of them
// handle the keys that move between its controls (IsDialogMessage) before the
// main window's accelerators see them.

#include <windows.h>

namespace lirabox::win32 {

void addModelessDialog(HWND dialog);
void removeModelessDialog(HWND dialog);

// True when the message went to one of the dialogs and it has handled it.
bool isModelessDialogMessage(MSG& message);

}  // namespace lirabox::win32
