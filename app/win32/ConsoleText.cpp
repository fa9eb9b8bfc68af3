#include "ConsoleText.h"

#include "app/win32/toolkit/WideText.h"
#include "player/frmMain.h"

#include <windows.h>

namespace lirabox::win32 {
namespace {

bool writeToStandardOutput(const std::string& text) {
    HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == nullptr || output == INVALID_HANDLE_VALUE || ::GetFileType(output) == FILE_TYPE_UNKNOWN) {
        return false;
    }
    DWORD written = 0;
    return ::WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

// A console shows UTF-16 as it is, whatever its code page.
bool writeToParentConsole(const std::string& text) {
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) return false;
    HANDLE console = ::CreateFileW(L"CONOUT$",
                                   GENERIC_READ | GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr,
                                   OPEN_EXISTING,
                                   0,
                                   nullptr);
    bool written = false;
    if (console != INVALID_HANDLE_VALUE) {
        std::wstring wide;
        for (const wchar_t c : toWide(text)) {
            if (c == L'\n') wide.push_back(L'\r');
            wide.push_back(c);
        }
        DWORD count = 0;
        written = ::WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &count, nullptr) != 0;
        ::CloseHandle(console);
    }
    ::FreeConsole();
    return written;
}

}  // namespace

void tellUser(const std::string& utf8Text) {
    if (writeToStandardOutput(utf8Text) || writeToParentConsole(utf8Text)) return;
    ::MessageBoxW(nullptr, toWide(utf8Text).c_str(), toWide(frmMain::kTitle).c_str(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace lirabox::win32
