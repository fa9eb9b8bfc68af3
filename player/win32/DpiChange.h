#pragma once
// A window moved to a screen of another DPI (WM_DPICHANGED).

#include <windows.h>

namespace lirabox::win32 {

// Moves the window to the place the system suggests in WM_DPICHANGED's
// lParam, keeping the size the window has given itself for the new DPI.
void moveToSuggestedPlace(HWND window, LPARAM suggestion);

}  // namespace lirabox::win32
