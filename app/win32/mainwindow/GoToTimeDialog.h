#pragma once
// The go-to-time dialog: a prompt, one line of text, OK and Cancel, built
// from an in-memory template and run modally on the calling (UI) thread.

#include <optional>
#include <string>

#include <windows.h>

namespace lirabox::win32 {

// The text the user confirmed with OK (UTF-8), or nothing for Cancel, Esc or
// a dialog the system could not make.
std::optional<std::string> runGoToTimeDialog(HWND owner, HINSTANCE instance, const std::string& text);

}  // namespace lirabox::win32
