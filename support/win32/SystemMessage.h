#pragma once
// The system's text for a Windows error code, for traces and messages.

#include <string>

#include <windows.h>

namespace lirabox {

// The text without its line end; "error N" when the system has none.
std::string systemMessage(DWORD error);

}  // namespace lirabox
