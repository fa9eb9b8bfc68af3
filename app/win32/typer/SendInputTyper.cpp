// The time stamp typed with SendInput as Unicode characters
// (KEYEVENTF_UNICODE): the focused program receives the characters
// themselves, whatever its keyboard layout. The text is held back until the
// keyboard lets it be typed (player/HeldBackText.h).

#include "player/HeldBackText.h"
#include "player/TextTyper.h"

#include "app/win32/toolkit/WideText.h"

#include <array>
#include <vector>

#include <windows.h>

namespace lirabox::win32 {
namespace {

bool isDown(int virtualKey) { return (::GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

KeysDown keysDown() {
    static constexpr std::array<int, 5> kModifiers {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN, VK_RWIN};
    KeysDown down;
    for (const int key : kModifiers) down.modifier = down.modifier || isDown(key);
    down.any = down.modifier;
    for (int key = VK_BACK; key <= 0xFE && !down.any; ++key) down.any = isDown(key);
    return down;
}

bool ownWindowInFront() {
    DWORD process = 0;
    const HWND front = ::GetForegroundWindow();
    return front != nullptr && ::GetWindowThreadProcessId(front, &process) != 0 && process == ::GetCurrentProcessId();
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
        mHeld.add(text);
        poll();
    }

private:
    // A thread timer has no window to find its typer by: there is one typer.
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (sPolled != nullptr) sPolled->poll();
    }

    void poll() {
        if (const std::optional<std::string> text = mHeld.take(keysDown(), ownWindowInFront())) typeNow(toWide(*text));
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
