#pragma once
// The font of the program's windows: a face that shows Japanese on every
// Windows system, at a size in tenths of a point for the window's DPI.

#include <string>

#include <windows.h>

namespace lirabox::win32 {

// The first of "Yu Gothic UI", "Meiryo UI", "MS UI Gothic" and "Noto Sans CJK
// JP" (Wine) the system has; "MS Shell Dlg 2" when it has none of them.
std::wstring japaneseFace();

// The caller deletes the font.
HFONT createUiFont(const std::wstring& face, int decipoints, UINT dpi);

}  // namespace lirabox::win32
