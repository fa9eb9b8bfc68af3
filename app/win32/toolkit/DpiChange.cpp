#include "DpiChange.h"

namespace lirabox::win32 {

void moveToSuggestedPlace(HWND window, LPARAM suggestion) {
    const auto* suggested = reinterpret_cast<const RECT*>(suggestion);
    ::SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void fitFrameToClient(HWND window, int width, int height, UINT dpi) {
    RECT frame {0, 0, width, height};
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
    ::AdjustWindowRectExForDpi(&frame, style, ::GetMenu(window) != nullptr, exStyle, dpi);
    ::SetWindowPos(window,
                   nullptr,
                   0,
                   0,
                   frame.right - frame.left,
                   frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lirabox::win32
