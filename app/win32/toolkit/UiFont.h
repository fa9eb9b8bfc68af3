#pragma once
// The font of the program's windows: a face that shows Japanese on every
// Windows system, at the windows' DPI.

#include <string>

#include <windows.h>

namespace lirabox::win32 {

// The size the windows' texts start from, in tenths of a point.
inline constexpr int kUiDecipoints = 90;

// The first face the system has of "Yu Gothic UI", "Meiryo UI", "MS UI Gothic"
// and "Noto Sans CJK JP" (Wine has the last); the dialog face when it has none.
std::wstring uiFontFace();

// The face at this size (tenths of a point) for a screen of this many dots
// per inch; the caller deletes it.
HFONT createUiFont(const std::wstring& face, int decipoints, UINT dpi);

}  // namespace lirabox::win32
