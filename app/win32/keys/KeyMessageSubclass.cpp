#include "KeyMessageSubclass.h"

#include "keytap/Keytap.h"
#include "player/Command.h"

#include <windows.h>
#include <commctrl.h>

namespace lirabox::hotkeys {
namespace {

constexpr UINT_PTR kSubclassId = 0x4b56;  // "KV"

HWND toHwnd(std::uintptr_t window) { return reinterpret_cast<HWND>(window); }

LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    const LRESULT result = ::DefSubclassProc(window, message, wParam, lParam);
    reinterpret_cast<KeyMessageSubclass*>(self)->KeyMessageWindowProc(message, wParam);
    return result;
}

}  // namespace

KeyMessageSubclass::KeyMessageSubclass() : mKeyMessageId(::RegisterWindowMessageA(KEYTAP_MESSAGE_NAME)) {}

KeyMessageSubclass::~KeyMessageSubclass() {
    if (mWindow != 0) RestoreMainWindowProc(mWindow);
}

void KeyMessageSubclass::SubclassMainWindow(std::uintptr_t window) {
    if (mWindow == window) return;
    if (mWindow != 0) RestoreMainWindowProc(mWindow);
    if (::SetWindowSubclass(toHwnd(window), &subclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        mWindow = window;
    }
}

void KeyMessageSubclass::RestoreMainWindowProc(std::uintptr_t window) {
    if (mWindow == 0 || window != mWindow) return;
    ::RemoveWindowSubclass(toHwnd(window), &subclassProc, kSubclassId);
    mWindow = 0;
}

void KeyMessageSubclass::KeyMessageWindowProc(unsigned message, std::uintptr_t wParam) {
    if (message == 0 || message != mKeyMessageId || !mHandler) return;
    const auto slot = static_cast<std::int32_t>(wParam);
    if (commandForSlot(slot)) mHandler(slot);
}

}  // namespace lirabox::hotkeys
