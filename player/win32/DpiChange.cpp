#include "DpiChange.h"

namespace lirabox::win32 {

void moveToSuggestedPlace(HWND window, LPARAM suggestion) {
    const auto* suggested = reinterpret_cast<const RECT*>(suggestion);
    ::SetWindowPos(window, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lirabox::win32
