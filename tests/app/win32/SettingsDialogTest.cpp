// The settings dialog of the real lirabox.exe under Wine, driven as a user
// drives it: opened from the settings menu on its shortcut-key tab, keys
// typed into the key boxes (SendInput), OK clicked. Tab and Shift+Tab are
// captured while they move between rows, F9 is captured into row 0, OK writes
// the rows to config.ini and F9 typed afterwards plays and pauses at once.
// A fresh dialog shows no duplicate, a click on a tab captures no Tab, and
// the suggested keys, once OK is clicked, work at once.
#include <gtest/gtest.h>

#include "ProgramDriver.h"
#include "player/Command.h"

#include <filesystem>
#include <string>

#include <windows.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace lirabox::test;

// The dialog's window class and control ids (settings/win32/SettingsDialog.h).
constexpr const wchar_t* kDialogClass = L"LiraboxSettings";
constexpr int kRow0 = 300;
constexpr int kRow1 = 301;
constexpr int kOk = 401;
constexpr int kSuggestedKeys = 404;
constexpr int kMessage = 310;
constexpr int kTabs = 200;
// The main window's menu items carry 1000 plus their command's number.
constexpr WORD kShortcutKeySettingsItem = 1000 + static_cast<WORD>(lirabox::Command::ShortcutKeySettings);

void sendKey(WORD virtualKey, bool down) {
    INPUT input {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ::SendInput(1, &input, sizeof input);
}

void typeKey(WORD virtualKey, WORD modifier = 0) {
    if (modifier != 0) sendKey(modifier, true);
    sendKey(virtualKey, true);
    sendKey(virtualKey, false);
    if (modifier != 0) sendKey(modifier, false);
}

void click(HWND control) {
    RECT box {};
    ::GetWindowRect(control, &box);
    ::SetCursorPos((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    std::this_thread::sleep_for(100ms);
    INPUT press[2] {};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, press, sizeof press[0]);
}

HWND focusIn(HWND window) {
    GUITHREADINFO info {};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// What a control shows (asked of its own process).
std::wstring shownBy(HWND control) {
    wchar_t text[256] = {};
    ::SendMessageW(control, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

int iniNumber(const fs::path& file, const char* section, const char* key) {
    return static_cast<int>(::GetPrivateProfileIntA(section, key, -1, file.string().c_str()));
}

// Whether playing starts within a few seconds: the position moves on from where it stands.
bool startsPlaying(const fs::path& position) {
    const std::optional<double> from = positionHeard(position);
    return from && within(5s, [&] {
               const std::optional<double> now = positionHeard(position);
               return now && *now > *from + 0.5;
           });
}

// lirabox.exe started in a fresh program folder on a ten-second tone and
// paused at once, so that the recording is not over by the time keys are tried.
struct PausedProgram {
    fs::path folder;
    fs::path position;
    PROCESS_INFORMATION process {};
    HWND main = nullptr;
};

void startPaused(const char* folderName, PausedProgram& program) {
    program.folder = freshProgramFolder(folderName);
    const fs::path recording = program.folder / "talk.wav";
    fs::copy_file(fs::path(environment("LIRABOX_RECORDINGS")) / "tone10.wav", recording);
    program.position = timepostPositionFile();
    fs::remove(program.position);
    program.process =
        start("\"" + (program.folder / "lirabox.exe").string() + "\" " + recording.string(), program.folder);
    ASSERT_TRUE(within(20s, [&] {
        program.main = ::FindWindowW(L"LiraboxMain", L"Lirabox");
        return program.main != nullptr && ::IsWindowVisible(program.main);
    }));
    ASSERT_TRUE(within(10s, [&] { return positionHeard(program.position).has_value(); }));
    ::PostMessageW(program.main, ::RegisterWindowMessageA("KVL_MESSAGE_PROC"), 0, 0);
    ASSERT_TRUE(positionOnceStill(program.position, 700ms, 5s));
}

TEST(Win32SettingsDialog, CapturesTabShiftTabAndF9AndTheSavedKeyWorksAtOnce) {
    PausedProgram program;
    ASSERT_NO_FATAL_FAILURE(startPaused("lirabox-settings-test", program));
    const fs::path& folder = program.folder;
    const fs::path& position = program.position;
    PROCESS_INFORMATION& process = program.process;
    HWND main = program.main;

    // The settings menu's item for the shortcut-key tab, as the menu sends it.
    ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(kShortcutKeySettingsItem, 0), 0);
    HWND dialog = nullptr;
    ASSERT_TRUE(within(10s, [&] {
        dialog = ::FindWindowW(kDialogClass, nullptr);
        return dialog != nullptr && ::IsWindowVisible(dialog);
    }));
    HWND row0 = ::GetDlgItem(dialog, kRow0);
    HWND row1 = ::GetDlgItem(dialog, kRow1);
    ASSERT_TRUE(::IsWindowVisible(row0));
    click(row0);
    ASSERT_TRUE(within(5s, [&] { return focusIn(dialog) == row0; }));

    // Tab is captured into the row and moves on; Shift+Tab too, and goes back.
    typeKey(VK_TAB);
    EXPECT_TRUE(within(5s, [&] { return focusIn(dialog) == row1; }));
    EXPECT_EQ(shownBy(row0), L"Tab");
    typeKey(VK_TAB, VK_SHIFT);
    EXPECT_TRUE(within(5s, [&] { return focusIn(dialog) == row0; }));
    EXPECT_EQ(shownBy(row1), L"Shift + Tab");

    typeKey(VK_F9);
    EXPECT_TRUE(within(5s, [&] { return shownBy(row0) == L"F9"; }));
    EXPECT_TRUE(within(5s, [&] { return focusIn(dialog) == row1; }));

    click(::GetDlgItem(dialog, kOk));
    ASSERT_TRUE(within(5s, [&] { return !::IsWindowVisible(dialog); }));
    const fs::path config = folder / "config.ini";
    EXPECT_EQ(iniNumber(config, "ID00", "KeyCode"), VK_F9);
    EXPECT_EQ(iniNumber(config, "ID00", "ShiftStatus"), 0);
    EXPECT_EQ(iniNumber(config, "ID01", "KeyCode"), VK_TAB);
    EXPECT_EQ(iniNumber(config, "ID01", "ShiftStatus"), 1);

    // F9 now plays and pauses, typed into the main window.
    ::SetForegroundWindow(main);
    EXPECT_TRUE(within(5s, [&] { return ::GetForegroundWindow() == main; }));
    typeKey(VK_F9);
    EXPECT_TRUE(startsPlaying(position));
    typeKey(VK_F9);
    EXPECT_TRUE(positionOnceStill(position, 700ms, 5s));

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCodeOf(process), 0);
}

TEST(Win32SettingsDialog, AFreshDialogWarnsOfNothingATabClickCapturesNothingAndSuggestedKeysWorkAtOnce) {
    PausedProgram program;
    ASSERT_NO_FATAL_FAILURE(startPaused("lirabox-settings-fresh-test", program));
    const fs::path& folder = program.folder;
    const fs::path& position = program.position;
    PROCESS_INFORMATION& process = program.process;
    HWND main = program.main;

    const auto openDialog = [&] {
        ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(kShortcutKeySettingsItem, 0), 0);
        HWND dialog = nullptr;
        EXPECT_TRUE(within(10s, [&] {
            dialog = ::FindWindowW(kDialogClass, nullptr);
            return dialog != nullptr && ::IsWindowVisible(dialog);
        }));
        return dialog;
    };
    HWND dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    // Empty rows are no duplicates: the line asks for a key, in the language of the system.
    const std::wstring message = shownBy(::GetDlgItem(dialog, kMessage));
    EXPECT_TRUE(message == L"＊テキストボックスを選んで，任意のキーを入力してください。" ||
                message == L"* Click a box and press the key you want.");

    // Row 1 has the focus; the first tab is clicked, the keys' tab chosen again.
    HWND row1 = ::GetDlgItem(dialog, kRow1);
    click(row1);
    ASSERT_TRUE(within(5s, [&] { return focusIn(dialog) == row1; }));
    HWND tabs = ::GetDlgItem(dialog, kTabs);
    RECT tabsPlace {};
    ::GetWindowRect(tabs, &tabsPlace);
    ::SetCursorPos(tabsPlace.left + 20, tabsPlace.top + 10);
    INPUT press[2] {};
    press[0].type = press[1].type = INPUT_MOUSE;
    press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, press, sizeof press[0]);
    ASSERT_TRUE(within(5s, [&] { return !::IsWindowVisible(row1); }));
    typeKey(VK_RIGHT);
    ASSERT_TRUE(within(5s, [&] { return ::IsWindowVisible(row1); }));
    click(::GetDlgItem(dialog, kOk));
    ASSERT_TRUE(within(5s, [&] { return !::IsWindowVisible(dialog); }));
    const fs::path config = folder / "config.ini";
    EXPECT_EQ(iniNumber(config, "ID01", "KeyCode"), 0);

    dialog = openDialog();
    ASSERT_NE(dialog, nullptr);
    // The key names are the legends of Wine's US keyboard: VK_OEM_1 is the ";" key there.
    HWND row2 = ::GetDlgItem(dialog, kRow1 + 1);
    click(row2);
    ASSERT_TRUE(within(5s, [&] { return focusIn(dialog) == row2; }));
    typeKey(VK_OEM_1);
    EXPECT_TRUE(within(5s, [&] { return shownBy(row2) == L";"; }));
    click(::GetDlgItem(dialog, kSuggestedKeys));
    EXPECT_TRUE(within(5s, [&] { return shownBy(::GetDlgItem(dialog, kRow0)) == L"F9"; }));
    click(::GetDlgItem(dialog, kOk));
    ASSERT_TRUE(within(5s, [&] { return !::IsWindowVisible(dialog); }));
    EXPECT_EQ(iniNumber(config, "ID00", "KeyCode"), VK_F9);
    EXPECT_EQ(iniNumber(config, "ID00", "KeyDestroy"), 1);
    EXPECT_EQ(iniNumber(config, "ID01", "KeyCode"), VK_F4);
    EXPECT_EQ(iniNumber(config, "ID02", "KeyCode"), VK_OEM_1);

    ::SetForegroundWindow(main);
    EXPECT_TRUE(within(5s, [&] { return ::GetForegroundWindow() == main; }));
    typeKey(VK_F9);
    EXPECT_TRUE(startsPlaying(position));

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCodeOf(process), 0);
}

}  // namespace
