// The real lirabox.exe under Wine in its two views: the View menu's
// always-on-top item, Alt+Enter to the one-line window (the main window
// hidden) and back, the one-line window's line with the position and the file
// name as it plays, its move when dragged with the mouse, and the
// always-on-top item of its popup menu.
#include <gtest/gtest.h>

#include "ProgramDriver.h"
#include "tests/common/Polling.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

namespace {

namespace fs = std::filesystem;
using namespace lirabox::test;
using namespace std::chrono_literals;

// The input goes to the foreground window, as typed; a moment is left for it to be handled.
void send(std::vector<INPUT> inputs) {
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    std::this_thread::sleep_for(400ms);
}

INPUT key(WORD virtualKey, bool up = false) {
    INPUT input {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void press(WORD virtualKey) { send({key(virtualKey), key(virtualKey, true)}); }

// The window's thread runs a menu: keys sent before it does would not reach it.
bool inMenuMode(HWND window) {
    GUITHREADINFO info {};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) && (info.flags & GUI_INMENUMODE) != 0;
}

bool popupMenuShown() {
    const HWND popup = ::FindWindowW(L"#32768", nullptr);
    return popup != nullptr && ::IsWindowVisible(popup);
}

void altEnter() { send({key(VK_MENU), key(VK_RETURN), key(VK_RETURN, true), key(VK_MENU, true)}); }

// A mouse event at a point of the screen.
INPUT mouse(POINT at, DWORD flags) {
    INPUT input {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(at.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(at.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

bool shown(HWND window) { return window != nullptr && ::IsWindowVisible(window); }

bool topMost(HWND window) { return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

std::wstring textOf(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

RECT frameOf(HWND window) {
    RECT frame {};
    ::GetWindowRect(window, &frame);
    return frame;
}

TEST(Win32OneLine, AltEnterSwitchesToTheOneLineWindowThatPlaysOnMovesWhenDraggedAndFollowsAlwaysOnTop) {
    const fs::path folder = freshProgramFolder("lirabox-oneline-test");
    fs::copy_file(fs::path(environment("LIRABOX_RECORDINGS")) / "tone10.wav", folder / "talk.wav");
    PROCESS_INFORMATION process =
        start("\"" + (folder / "lirabox.exe").string() + "\" " + (folder / "talk.wav").string(), folder);
    ASSERT_NE(process.hProcess, nullptr);
    HWND main = nullptr;
    ASSERT_TRUE(waitUntil([&] { return shown(main = ::FindWindowW(L"LiraboxMain", L"Lirabox")); }, 20s));
    ASSERT_TRUE(waitUntil([&] { return ::FindWindowExW(main, nullptr, L"Static", L"talk.wav") != nullptr; }, 10s));

    // F10 selects the bar's first menu; going left, the window menu, then the
    // bar's last menu, "ヘルプ", and "表示", whose first item is "常に手前に表示".
    ::SetForegroundWindow(main);
    ASSERT_TRUE(waitUntil([&] { return ::GetForegroundWindow() == main; }, 5s));
    press(VK_F10);
    ASSERT_TRUE(waitUntil([&] { return inMenuMode(main); }, 10s));
    for (const WORD step : {VK_LEFT, VK_LEFT, VK_LEFT, VK_DOWN}) press(step);
    ASSERT_TRUE(waitUntil(popupMenuShown, 10s));
    press(VK_RETURN);
    EXPECT_TRUE(waitUntil([&] { return topMost(main); }, 10s));

    altEnter();
    HWND line = nullptr;
    EXPECT_TRUE(waitUntil([&] { return shown(line = ::FindWindowW(L"LiraboxOneLine", L"Lirabox")); }, 5s));
    ASSERT_NE(line, nullptr);
    EXPECT_FALSE(shown(main));
    EXPECT_TRUE(topMost(line));

    // Position and length, four spaces, the file name; the position runs on.
    HWND text = ::FindWindowExW(line, nullptr, L"Static", nullptr);
    const std::wstring first = textOf(text);
    EXPECT_EQ(first.substr(0, 6), L"00:00:");
    EXPECT_EQ(first.substr(8), L" / 00:00:10    talk.wav");
    EXPECT_TRUE(waitUntil(
        [&] {
            const std::wstring later = textOf(text);
            return later != first && later.substr(8) == first.substr(8);
        },
        3s))
        << "the line stays at " << std::string(first.begin(), first.end());

    // A long name handed over by a second start keeps the time whole and both
    // of its own ends in sight.
    const fs::path longName = folder / "2026-12-08 interview with the city council, afternoon session, complete.wav";
    fs::copy_file(folder / "talk.wav", longName);
    PROCESS_INFORMATION handing =
        start("\"" + (folder / "lirabox.exe").string() + "\" \"" + longName.string() + "\"", folder);
    EXPECT_EQ(exitCodeOf(handing), 0);
    EXPECT_TRUE(waitUntil(
        [&] {
            const std::wstring shown = textOf(text);
            return shown.find(L" / 00:00:10    2026-12-08") == 8 && shown.find(L'\u2026') != std::wstring::npos &&
                   shown.substr(shown.size() - 4) == L".wav";
        },
        10s))
        << "the handed-over name is not shown elided";

    // Dragged by its text with the left button: the grabbed point stays under the pointer.
    // The hand-over brought the player to the front; the press waits until
    // the window stands under the pointer, in front.
    ::SetForegroundWindow(line);
    ASSERT_TRUE(waitUntil([&] { return ::GetForegroundWindow() == line; }, 10s));
    const RECT before = frameOf(line);
    POINT grab {40, 8};
    ::ClientToScreen(line, &grab);
    send({mouse(grab, 0)});
    ASSERT_TRUE(waitUntil([&] { return ::GetAncestor(::WindowFromPoint(grab), GA_ROOT) == line; }, 10s));
    send({mouse(grab, MOUSEEVENTF_LEFTDOWN)});
    for (int step = 1; step <= 4; ++step) send({mouse({grab.x + 30 * step, grab.y + 20 * step}, 0)});
    send({mouse({grab.x + 120, grab.y + 80}, MOUSEEVENTF_LEFTUP)});
    RECT after {};
    EXPECT_TRUE(waitUntil(
        [&] {
            after = frameOf(line);
            return std::abs(after.left - before.left - 120) <= 3 && std::abs(after.top - before.top - 80) <= 3;
        },
        10s))
        << "moved by " << after.left - before.left << "," << after.top - before.top;

    // Its popup on the text: "フルモード", "常に手前に表示", -, "終了".
    POINT onText {40, 8};
    ::ClientToScreen(line, &onText);
    send({mouse(onText, MOUSEEVENTF_RIGHTDOWN), mouse(onText, MOUSEEVENTF_RIGHTUP)});
    ASSERT_TRUE(waitUntil(popupMenuShown, 10s));
    for (const WORD step : {VK_DOWN, VK_DOWN, VK_RETURN}) press(step);
    EXPECT_TRUE(waitUntil([&] { return !topMost(line); }, 10s));

    altEnter();
    EXPECT_TRUE(waitUntil([&] { return shown(main); }, 5s));
    EXPECT_FALSE(::IsWindow(line));
    EXPECT_FALSE(topMost(main));

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCodeOf(process), 0);
}

}  // namespace
