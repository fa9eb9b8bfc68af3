#include "KeyBox.h"

#include <commctrl.h>
#include <imm.h>

namespace lirabox::settings::win32 {
namespace {

bool isDown(int virtualKey) { return ::GetKeyState(virtualKey) < 0; }

// How the focus is leaving: Tab or Shift+Tab when that key is down with no
// other modifier, otherwise a click or a move by the dialog.
LeftBy leftBy() {
    if (!isDown(VK_TAB) || isDown(VK_MENU) || isDown(VK_CONTROL)) return LeftBy::Other;
    return isDown(VK_SHIFT) ? LeftBy::ShiftTab : LeftBy::Tab;
}

// Tab and Shift+Tab belong to the dialog; every other key to the box.
bool isNavigation(const MSG* message) {
    return message != nullptr && message->message == WM_KEYDOWN && message->wParam == VK_TAB && !isDown(VK_MENU) &&
           !isDown(VK_CONTROL);
}

// The key-down of an input method or of typed text (SendInput's characters) names no key.
bool namesAKey(WPARAM virtualKey) { return virtualKey != VK_PROCESSKEY && virtualKey != VK_PACKET; }

LRESULT CALLBACK keyBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR row, DWORD_PTR data) {
    auto& listener = *reinterpret_cast<KeyBoxListener*>(data);
    const int index = static_cast<int>(row);
    switch (message) {
    case WM_GETDLGCODE:
        if (isNavigation(reinterpret_cast<const MSG*>(lParam))) {
            return ::DefSubclassProc(box, message, wParam, lParam) & ~(DLGC_WANTTAB | DLGC_WANTALLKEYS);
        }
        return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const bool repeated = (lParam & (LPARAM {1} << 30)) != 0;
        if (repeated || !namesAKey(wParam)) return 0;
        const std::optional<CapturedKey> key =
            captureVirtualKey(static_cast<std::int32_t>(wParam), isDown(VK_SHIFT), isDown(VK_CONTROL), isDown(VK_MENU));
        if (key) listener.keyBoxKeyDown(index, *key);
        return 0;
    }
    // Nothing typed reaches the text, and Alt released alone does not open the system menu.
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_DEADCHAR:
    case WM_SYSDEADCHAR:
    case WM_CONTEXTMENU: return 0;
    case WM_SETFOCUS: {
        const LRESULT result = ::DefSubclassProc(box, message, wParam, lParam);
        listener.keyBoxGotFocus(index);
        return result;
    }
    case WM_KILLFOCUS: {
        const LeftBy how = leftBy();
        const LRESULT result = ::DefSubclassProc(box, message, wParam, lParam);
        listener.keyBoxLostFocus(index, how, reinterpret_cast<HWND>(wParam));
        return result;
    }
    case WM_NCDESTROY: ::RemoveWindowSubclass(box, &keyBoxProc, row); break;
    default: break;
    }
    return ::DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace

void makeKeyBox(HWND edit, int row, KeyBoxListener& listener) {
    ::SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
    // Keys, not an input method's composition.
    ::ImmAssociateContextEx(edit, nullptr, 0);
    ::SetWindowSubclass(edit, &keyBoxProc, static_cast<UINT_PTR>(row), reinterpret_cast<DWORD_PTR>(&listener));
}

}  // namespace lirabox::settings::win32
