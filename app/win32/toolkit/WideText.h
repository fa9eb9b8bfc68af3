#pragma once
// The program keeps its text in UTF-8; the system's wide-character calls take
// UTF-16. Invalid sequences become U+FFFD.

#include <string>
#include <string_view>

#include <windows.h>

namespace lirabox::win32 {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);

// A control's text, as UTF-16 and as UTF-8.
std::wstring windowTextW(HWND window);
std::string windowText(HWND window);

}  // namespace lirabox::win32
