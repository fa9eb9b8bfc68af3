#pragma once
// The window procedure of a window class whose windows are C++ objects: the
// object given as CreateWindowExW's last argument is told its window's handle
// (attach) on WM_NCCREATE and gets the window's messages from then on
// (handle); messages before it, or after the object has let go of the window
// (GWLP_USERDATA set to 0), get the system's default handling.

#include "app/win32/Resources.h"

#include <windows.h>

namespace lirabox::win32 {

template <class Window>
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->attach(window);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

// Registers the class whose windows are Window objects, with the arrow cursor
// and the program's icon; registering it again does nothing.
template <class Window>
void registerWindowClass(HINSTANCE instance, const wchar_t* className, HBRUSH background = nullptr) {
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &windowProcedure<Window>;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_LIRABOX));
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    ::RegisterClassExW(&windowClass);
}

// The dialog colour, as a class background.
inline HBRUSH dialogBackground() { return reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1); }

}  // namespace lirabox::win32
