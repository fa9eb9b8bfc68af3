#pragma once
// The program holds paths as UTF-8 text. The standard library reads a narrow
// string as text of the system's code page, which on Windows is not UTF-8
// unless the system honours the program's manifest: paths go through these.

#include <filesystem>
#include <string>
#include <string_view>

namespace lirabox {

std::filesystem::path pathFromUtf8(std::string_view text);
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace lirabox
