#pragma once
// A key box of the shortcut-key tab: an edit control made read-only and
// subclassed (SetWindowSubclass). Every key pressed in it is reported with the
// virtual-key code its key-down message carries (Enter, Esc, F10 and Alt
// combinations included, so they are captured rather than acting on the
// dialog); a held key is reported once. Tab and Shift+Tab still move the focus
// (the dialog's IsDialogMessage does it): the box tells them apart from a
// click by the keys' states when it loses the focus.

#include "settings/KeyCapture.h"
#include "settings/frmSettings.h"

#include <windows.h>

namespace lirabox::settings::win32 {

class KeyBoxListener {
public:
    virtual ~KeyBoxListener() = default;
    virtual void keyBoxKeyDown(int row, CapturedKey key) = 0;
    virtual void keyBoxGotFocus(int row) = 0;
    // next: the window that receives the focus, if any.
    virtual void keyBoxLostFocus(int row, LeftBy how, HWND next) = 0;
};

// Makes the edit control the key box of the row; the subclass goes with the control.
void makeKeyBox(HWND edit, int row, KeyBoxListener& listener);

}  // namespace lirabox::settings::win32
