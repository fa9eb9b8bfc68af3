// A program that stands for the user's editor: one edit box with the focus,
// and every character it is given appended to the file named on the command
// line, the moment it arrives.
#include <cstdio>
#include <string>

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const std::string logPath(commandLine);
    const HWND window = ::CreateWindowExA(0,
                                          "STATIC",
                                          "Keytap target",
                                          WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                          100,
                                          100,
                                          400,
                                          200,
                                          nullptr,
                                          nullptr,
                                          instance,
                                          nullptr);
    const HWND edit = ::CreateWindowExA(
        0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 360, 30, window, nullptr, instance, nullptr);
    ::SetFocus(edit);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_CHAR) {
            if (std::FILE* log = std::fopen(logPath.c_str(), "ab")) {
                std::fputc(static_cast<int>(message.wParam), log);
                std::fclose(log);
            }
        }
        if (message.message == WM_CLOSE) break;  // posted by the test when it is done
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return 0;
}
