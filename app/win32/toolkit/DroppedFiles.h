#pragma once
// Files dropped from the shell on a window that accepts them (WM_DROPFILES).

#include <string>
#include <vector>

#include <windows.h>
#include <shellapi.h>

namespace lirabox::win32 {

// The dropped files' paths in UTF-8, in the drop's order; the drop is finished.
std::vector<std::string> droppedFiles(HDROP drop);

}  // namespace lirabox::win32
