// The time stamp typed with SendInput as Unicode characters
// (KEYEVENTF_UNICODE): the focused program receives the characters
// themselves, whatever its keyboard layout and whatever Shift or another key
// of the user's is down meanwhile. The text is held back until the keyboard
// lets it be typed (player/HeldBackText.h): Shift does not hold it back;
// Ctrl, Alt (AltGr is Ctrl+Alt here) and the Windows keys do.

#include "player/HeldBackText.h"
#include "player/TextTyper.h"

#include "app/win32/toolkit/WideText.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include <windows.h>

namespace lirabox::win32 {
namespace {

bool isDown(int virtualKey) { return (::GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

DesktopLook look() {
    static constexpr std::array<int, 4> kModifiers {VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN};
    DesktopLook look;
    look.modifierDown = std::ranges::any_of(kModifiers, isDown);
    const HWND front = ::GetForegroundWindow();
    DWORD process = 0;
    look.ownWindowInFront =
        front != nullptr && ::GetWindowThreadProcessId(front, &process) != 0 && process == ::GetCurrentProcessId();
    look.frontWindow = reinterpret_cast<std::uintptr_t>(front);
    return look;
}

class SendInputTyper final : public TextTyper {
public:
    SendInputTyper() { sPolled = this; }
    ~SendInputTyper() override {
        if (mTimer != 0) ::KillTimer(nullptr, mTimer);
        sPolled = nullptr;
    }
    SendInputTyper(const SendInputTyper&) = delete;
    SendInputTyper& operator=(const SendInputTyper&) = delete;

    void type(const std::string& text) override {
        mHeld.add(text, look());
        poll();
    }

private:
    // A thread timer has no window to find its typer by: there is one typer.
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (sPolled != nullptr) sPolled->poll();
    }

    void poll() {
        if (const std::optional<std::string> text = mHeld.take(look())) typeNow(toWide(*text));
        if (mHeld.empty() && mTimer != 0) {
            ::KillTimer(nullptr, mTimer);
            mTimer = 0;
        } else if (!mHeld.empty() && mTimer == 0) {
            mTimer = ::SetTimer(nullptr, 0, static_cast<UINT>(HeldBackText::kPollInterval.count()), &onTimer);
        }
    }

    static void typeNow(const std::wstring& text) {
        std::vector<INPUT> strokes;
        for (const wchar_t unit : text) {
            for (const DWORD up : {DWORD {0}, DWORD {KEYEVENTF_KEYUP}}) {
                INPUT stroke {};
                stroke.type = INPUT_KEYBOARD;
                stroke.ki.wScan = unit;
                stroke.ki.dwFlags = KEYEVENTF_UNICODE | up;
                strokes.push_back(stroke);
            }
        }
        if (strokes.empty()) return;
        if (::SendInput(static_cast<UINT>(strokes.size()), strokes.data(), sizeof(INPUT)) != strokes.size()) {
            HeldBackText::notTyped("the system refused the input");
        }
    }

    static inline SendInputTyper* sPolled = nullptr;
    HeldBackText mHeld;
    UINT_PTR mTimer = 0;
};

}  // namespace
}  // namespace lirabox::win32

namespace lirabox {

std::unique_ptr<TextTyper> desktopTextTyper() { return std::make_unique<win32::SendInputTyper>(); }

}  // namespace lirabox
