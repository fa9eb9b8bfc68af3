// The time stamp typed with SendInput as Unicode characters
// (KEYEVENTF_UNICODE): the focused program receives the characters
// themselves, whatever its keyboard layout.
//
// The shortcut that asked for the text is usually still down when its command
// runs, and its modifiers would turn the typed characters into shortcuts of
// the focused program (Ctrl+[ and the like). The text therefore waits, polled
// every 10 ms on the UI thread's timer, until no key is down. A key held
// longer than a second that is no modifier (a foot pedal that is a keyboard,
// say) does not change the characters and is waited for no longer.
//
// Typed into the player's own window, the blank would press whichever button
// has the focus; so while one of its windows is in front (after the menu
// item, say) the text waits for the user to go to the editor. After ten
// seconds of waiting the text is dropped with a line on stderr, never typed
// wrong or into the player.

#include "player/TextTyper.h"

#include "WideText.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <vector>

#include <windows.h>

namespace lirabox::win32 {
namespace {

using Clock = std::chrono::steady_clock;
constexpr UINT kPollMilliseconds = 10;
constexpr auto kNonModifierWait = std::chrono::seconds(1);
constexpr auto kGiveUp = std::chrono::seconds(10);

void say(const char* what) {
    std::fprintf(stderr, "lirabox: the time stamp was not typed (%s)\n", what);
    std::fflush(stderr);
}

bool isDown(int virtualKey) { return (::GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

struct KeysDown {
    bool any = false;
    bool modifier = false;
};

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
        if (mPending.empty()) mWaitingSince = Clock::now();
        mPending += text;
        poll();
    }

private:
    // A thread timer has no window to find its typer by: there is one typer.
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        if (sPolled != nullptr) sPolled->poll();
    }

    void poll() {
        const KeysDown down = keysDown();
        const bool ownFront = ownWindowInFront();
        const auto waited = Clock::now() - mWaitingSince;
        if (!ownFront && (!down.any || (!down.modifier && waited >= kNonModifierWait))) {
            typeNow(toWide(mPending));
            mPending.clear();
        } else if (waited >= kGiveUp) {
            say(ownFront ? "the focus stayed in Lirabox for ten seconds" : "modifier keys were held down for ten seconds");
            mPending.clear();
        }
        if (mPending.empty() && mTimer != 0) {
            ::KillTimer(nullptr, mTimer);
            mTimer = 0;
        } else if (!mPending.empty() && mTimer == 0) {
            mTimer = ::SetTimer(nullptr, 0, kPollMilliseconds, &onTimer);
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
            say("the system refused the input");
        }
    }

    static inline SendInputTyper* sPolled = nullptr;
    std::string mPending;
    Clock::time_point mWaitingSince;
    UINT_PTR mTimer = 0;
};

}  // namespace
}  // namespace lirabox::win32

namespace lirabox {

std::unique_ptr<TextTyper> desktopTextTyper() { return std::make_unique<win32::SendInputTyper>(); }

}  // namespace lirabox
