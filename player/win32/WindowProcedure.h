#pragma once
// What the window procedures of the program's own window classes share.

#include <windows.h>

namespace lirabox::win32 {

// The object a window belongs to: passed as CreateWindowExW's last argument,
// kept in GWLP_USERDATA from WM_NCCREATE on. Null for the messages before.
template <class Owner>
Owner* windowOwner(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        return owner;
    }
    return reinterpret_cast<Owner*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

// WM_DPICHANGED, once the window has laid itself out for the new DPI: it
// moves to the place the system suggests and keeps the size it has taken.
inline void moveToSuggestedPlace(HWND window, LPARAM suggestion) {
    const auto* suggested = reinterpret_cast<const RECT*>(suggestion);
    ::SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lirabox::win32
