#pragma once
// The program keeps its text in UTF-8; the system's wide-character calls take
// UTF-16. Invalid sequences become U+FFFD.

#include <string>
#include <string_view>

namespace lirabox::win32 {

std::wstring toWide(std::string_view utf8);
std::string toUtf8(std::wstring_view utf16);

}  // namespace lirabox::win32
