#include "KeysDuringLoad.h"

#include "MainWindow.h"

namespace lirabox::win32 {
namespace {

bool down(int key) { return ::GetKeyState(key) < 0; }

// Asked with the keyboard state of the message just taken.
bool closesTheWindow(const MSG& message) {
    if (message.message == WM_KEYDOWN && message.wParam == 'Q') {
        return down(VK_CONTROL) && !down(VK_MENU) && !down(VK_SHIFT);
    }
    return message.message == WM_SYSKEYDOWN && message.wParam == VK_F4 && down(VK_MENU) && !down(VK_CONTROL);
}

}  // namespace

KeysDuringLoad::~KeysDuringLoad() {
    if (!mHeld.empty() && !mWindow.closeRequested()) mWindow.handOnKeys(std::move(mHeld));
}

void KeysDuringLoad::take() {
    MSG message {};
    while (::PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        if (closesTheWindow(message)) {
            mWindow.closeMainWindow();
            continue;
        }
        HeldKey key {message, {}};
        ::GetKeyboardState(key.keyboard.data());
        mHeld.push_back(key);
    }
}

}  // namespace lirabox::win32
