#pragma once
// Texts longer than their control: a lead text kept whole (the one-line
// window's time), then a text elided in the middle with "…" so that both
// ends of a long file name stay in sight. Measured in the control's font.

#include <string>

#include <windows.h>

namespace lirabox::win32 {

// lead + text, with text elided in the middle where the line would be wider
// than the control's client area; never cuts a character in two.
std::wstring elidedLine(HWND control, const std::wstring& lead, const std::wstring& text);

}  // namespace lirabox::win32
