#pragma once
// The tooltip window of a program window's controls. It has no owner: Wine
// does not make a window top-most while it owns a top-most one. UI thread;
// the caller destroys it with its window.

#include <windows.h>

namespace lirabox::win32 {

HWND createTooltipWindow(HINSTANCE instance);

}  // namespace lirabox::win32
