#pragma once
// A window moved to a screen of another DPI (WM_DPICHANGED), and its frame
// sized for the client area its layout asks at a DPI.

#include <windows.h>

namespace lirabox::win32 {

// Moves the window to the place the system suggests in WM_DPICHANGED's
// lParam, keeping the size the window has given itself for the new DPI.
void moveToSuggestedPlace(HWND window, LPARAM suggestion);

// Gives the window the frame that holds a client area of this many pixels at
// this DPI, with its menu bar when it has one; its place stays.
void fitFrameToClient(HWND window, int width, int height, UINT dpi);

}  // namespace lirabox::win32
