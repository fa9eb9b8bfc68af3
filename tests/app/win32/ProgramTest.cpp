// The real lirabox.exe under Wine: a first start with a recording and a start
// second writes its INI files, shows its window, plays from that second (the
// reference Timepost.dll hears the position advance), names the file, pauses
// on Keytap's key message, steps on the media keys, plays at the rate picked
// in the speed list, refuses a second copy with its message alone, takes the
// recording a second start hands over and ends on WM_CLOSE; on a slow disk its
// window goes on answering and Ctrl+Q or WM_CLOSE ends it at once.
#include "ProgramDriver.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <windows.h>

namespace {

using namespace lirabox::test;
using namespace std::chrono_literals;

// Seconds of sound played so far: the run's capture of the sound device
// (WASAPI's float32 48 kHz stereo).
double capturedSeconds() {
    constexpr double kBytesPerSecond = 48000.0 * 2 * 4;
    std::uintmax_t bytes = 0;
    for (const auto& file : fs::directory_iterator(environment("LIRABOX_CAPTURE_FOLDER"))) bytes += file.file_size();
    return static_cast<double>(bytes) / kBytesPerSecond;
}

// The name the Unix side of Wine gives a file (Wine's own export; these tests run under Wine).
std::string unixNameOf(const fs::path& file) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    const FARPROC address = ::GetProcAddress(::GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name");
    UnixName toUnix = nullptr;
    std::memcpy(&toUnix, &address, sizeof toUnix);
    char* name = toUnix != nullptr ? toUnix(file.wstring().c_str()) : nullptr;
    const std::string text = name != nullptr ? name : "";
    ::HeapFree(::GetProcessHeap(), 0, name);
    return text;
}

TEST(Win32Program, AFirstStartPlaysFromTheStartSecondTakesTheKeyMessageAndRefusesASecondCopy) {
    // A program folder of its own, so this is a first start.
    const fs::path folder = freshProgramFolder("lirabox-program-test");
    const fs::path recording = folder / "talk.wav";
    fs::copy_file(fs::path(environment("LIRABOX_RECORDINGS")) / "tone10.wav", recording);
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    const fs::path appIni = fs::path(windows) / "Lirabox.ini";
    fs::remove(appIni);
    const fs::path position = timepostPositionFile();
    fs::remove(position);

    const std::string program = "\"" + (folder / "lirabox.exe").string() + "\"";
    PROCESS_INFORMATION process = start(program + " " + recording.string() + "/t=5", folder);

    HWND window = nullptr;
    EXPECT_TRUE(within(20s, [&] {
        window = ::FindWindowW(L"LiraboxMain", L"Lirabox");
        return window != nullptr && ::IsWindowVisible(window);
    }));

    std::optional<double> first;
    EXPECT_TRUE(within(10s, [&] { return (first = positionHeard(position)).has_value(); }));
    if (first) {
        EXPECT_GE(*first, 4.9);
        EXPECT_LT(*first, 7.0);
        EXPECT_TRUE(within(5s,
                           [&] {
                               const std::optional<double> later = positionHeard(position);
                               return later && *later >= *first + 0.5;
                           }))
            << "the position stays at " << *first;
    }

    // Its start-up is over by now (the window may show while it still loads).
    for (const char* file : {"config.ini", "UserCfg.ini", "position.ini"}) {
        EXPECT_TRUE(fs::exists(folder / file)) << file;
    }
    EXPECT_TRUE(fs::exists(appIni));

    // Keytap's message for slot 0 (play/pause) reaches the subclassed window: the position stops.
    const UINT keyMessage = ::RegisterWindowMessageA("KVL_MESSAGE_PROC");
    ASSERT_NE(window, nullptr);
    ::PostMessageW(window, keyMessage, 0, 0);
    const std::optional<double> paused = positionOnceStill(position, 2s, 15s);
    ASSERT_TRUE(paused) << "the position does not stop";

    // The track keys step by the step lengths (2 s), as a key or as a command,
    // and Timepost hears the new position while nothing plays.
    ::PostMessageW(window, WM_KEYDOWN, VK_MEDIA_NEXT_TRACK, 0);
    EXPECT_TRUE(within(10s, [&] { return positionHeard(position) >= *paused + 2 - 0.01; }));
    ::SendMessageW(window, WM_APPCOMMAND, 0, MAKELPARAM(0, APPCOMMAND_MEDIA_PREVIOUSTRACK));
    EXPECT_TRUE(within(10s, [&] { return positionHeard(position) <= *paused + 0.01; }));

    // Picking "2" in the speed list, as the list tells its window, and
    // playing on: the position runs twice as fast as the sound played.
    HWND speeds = ::FindWindowExW(window, nullptr, L"ComboBox", nullptr);
    const auto two =
        ::SendMessageW(speeds, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"2"));
    ASSERT_NE(two, CB_ERR);
    ::SendMessageW(speeds, CB_SETCURSEL, static_cast<WPARAM>(two), 0);
    ::SendMessageW(
        window, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(speeds), CBN_SELCHANGE), reinterpret_cast<LPARAM>(speeds));
    ::PostMessageW(window, keyMessage, 0, 0);
    std::optional<double> from;
    EXPECT_TRUE(within(10s, [&] { return (from = positionHeard(position)) > *paused; })) << "it does not play on";
    const double playedFrom = capturedSeconds();
    EXPECT_TRUE(within(15s, [&] { return capturedSeconds() - playedFrom >= 1.5; }));
    const std::optional<double> to = positionHeard(position);
    const double played = capturedSeconds() - playedFrom;
    ASSERT_TRUE(from && to);
    EXPECT_NEAR((*to - *from) / played, 2.0, 0.4) << *from << " .. " << *to << " in " << played << " s of sound";

    // The file name label shows the name alone.
    EXPECT_NE(::FindWindowExW(window, nullptr, L"Static", L"talk.wav"), nullptr);

    // A second copy says that one runs, and ends once the message is dismissed.
    PROCESS_INFORMATION second = start(program, folder);
    HWND message = nullptr;
    EXPECT_TRUE(within(15s, [&] { return (message = ::FindWindowW(L"#32770", L"Lirabox")) != nullptr; }));
    wchar_t messageText[256] = {};
    ::GetDlgItemTextW(message, 0xFFFF, messageText, 256);
    EXPECT_STREQ(messageText, L"Lirabox is already running.");
    // Nothing but the message: no empty main window behind it.
    for (HWND other = nullptr; (other = ::FindWindowExW(nullptr, other, L"LiraboxMain", nullptr)) != nullptr;) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(other, &owner);
        EXPECT_FALSE(owner == second.dwProcessId && ::IsWindowVisible(other)) << "the second copy shows a window";
    }
    ::PostMessageW(message, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(exitCodeOf(second), 1);

    // A second start with a recording hands it over and ends at once; the
    // running copy shows its long name elided in the middle.
    const fs::path longName = folder / "2026-12-08 interview with the city council, afternoon session, complete.wav";
    fs::copy_file(recording, longName);
    PROCESS_INFORMATION handing = start(program + " \"" + longName.string() + "/t=3\"", folder);
    EXPECT_EQ(exitCodeOf(handing), 0);
    EXPECT_EQ(::FindWindowW(L"#32770", L"Lirabox"), nullptr) << "the second start showed a message";
    const auto elidedName = [&] {
        for (HWND label = nullptr; (label = ::FindWindowExW(window, label, L"Static", nullptr)) != nullptr;) {
            wchar_t text[512] = {};
            ::GetWindowTextW(label, text, 512);
            const std::wstring shown = text;
            if (shown.rfind(L"2026-12-08", 0) == 0 && shown.find(L'\u2026') != std::wstring::npos && shown.size() > 4 &&
                shown.substr(shown.size() - 4) == L".wav") {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(within(15s, elidedName)) << "the running copy does not show the handed-over recording";

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCodeOf(process), 0);
}

// A copy of the program of `folder` started on `recording` on a slow disk:
// strace, around the program as Wine starts it, holds back each read of the
// recording (or only the first, as a disk that spins up) for `delay`. Its
// main window once shown, and its process (to be closed).
struct SlowStart {
    HWND window = nullptr;
    HANDLE process = nullptr;
};
SlowStart startOnSlowDisk(const fs::path& folder, const fs::path& recording, std::chrono::seconds delay,
                          bool firstReadOnly) {
    // A spun-up disk answers at once: only the first plain read of the first
    // thread that reads (the program's own check) is held back then.
    const std::string injected = firstReadOnly ? "read" : "read,pread64";
    const std::string held =
        std::to_string(std::chrono::microseconds(delay).count()) + (firstReadOnly ? ":when=1" : "");
    start("Z:\\usr\\bin\\strace -f -qq -o /dev/null -P \"" + unixNameOf(recording) + "\" -e trace=" + injected +
              " -e inject=" + injected + ":delay_enter=" + held + " /usr/bin/wine \"" +
              unixNameOf(folder / "lirabox.exe") + "\" \"" + recording.string() + "\"",
          folder);
    SlowStart started;
    // Wine starts slowly under strace on a busy machine: a generous bound.
    if (!within(60s, [&] {
            started.window = ::FindWindowW(L"LiraboxMain", L"Lirabox");
            return started.window != nullptr && ::IsWindowVisible(started.window);
        })) {
        return started;
    }
    DWORD processId = 0;
    ::GetWindowThreadProcessId(started.window, &processId);
    started.process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    return started;
}

// Keys typed into the foreground window, as a user types them.
void type(HWND window, const std::vector<std::pair<WORD, bool>>& keys) {
    ::SetForegroundWindow(window);
    EXPECT_TRUE(within(5s, [&] { return ::GetForegroundWindow() == window; }));
    std::vector<INPUT> inputs;
    for (const auto& [key, up] : keys) {
        INPUT input {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::wstring textOf(HWND window) {
    wchar_t text[256] = {};
    ::GetWindowTextW(window, text, 256);
    return text;
}

long exitCodeOf(HANDLE process) {
    DWORD exitCode = STILL_ACTIVE;
    EXPECT_EQ(::WaitForSingleObject(process, 10000), WAIT_OBJECT_0) << "the program still runs";
    ::GetExitCodeProcess(process, &exitCode);
    ::TerminateProcess(process, 1);
    ::CloseHandle(process);
    return static_cast<long>(exitCode);
}

// While every read of the recording is held back 20 s, the window shows and
// answers, and Ctrl+Q or a WM_CLOSE ends the program at once.
TEST(Win32Program, OnASlowDiskTheWindowAnswersAndCtrlQOrClosingEndsTheProgramAtOnce) {
    const fs::path folder = freshProgramFolder("lirabox-slow-disk-test");
    const fs::path recording = folder / "far.wav";
    fs::copy_file(fs::path(environment("LIRABOX_RECORDINGS")) / "tone10.wav", recording);
    const auto pressCtrlQ = [](HWND window) {
        type(window, {{VK_CONTROL, false}, {'Q', false}, {'Q', true}, {VK_CONTROL, true}});
    };
    const auto postClose = [](HWND window) { ::PostMessageW(window, WM_CLOSE, 0, 0); };
    for (const auto& [how, quit] : {std::pair {"Ctrl+Q", +pressCtrlQ}, std::pair {"WM_CLOSE", +postClose}}) {
        SCOPED_TRACE(how);
        const SlowStart started = startOnSlowDisk(folder, recording, 20s, false);
        ASSERT_NE(started.process, nullptr);
        DWORD_PTR answer = 0;
        EXPECT_NE(::SendMessageTimeoutW(started.window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0u);
        EXPECT_NE(::FindWindowExW(started.window, nullptr, L"Static", L"00:00:00 / 00:00:00"), nullptr)
            << "the recording was read already";
        quit(started.window);
        EXPECT_EQ(exitCodeOf(started.process), 0);
    }
}

// Keys typed while the disk spins up (its first read held back 4 s) count
// once the recording is loaded, with the modifiers they were typed with:
// Alt+Enter then switches to the one-line window, which shows the recording.
TEST(Win32Program, KeysTypedWhileTheDiskSpinsUpCountAfterTheLoadWithTheirModifiers) {
    const fs::path folder = freshProgramFolder("lirabox-spin-up-test");
    const fs::path recording = folder / "far.wav";
    fs::copy_file(fs::path(environment("LIRABOX_RECORDINGS")) / "tone10.wav", recording);
    const SlowStart started = startOnSlowDisk(folder, recording, 4s, true);
    ASSERT_NE(started.process, nullptr);
    type(started.window, {{VK_MENU, false}, {VK_RETURN, false}, {VK_RETURN, true}, {VK_MENU, true}});
    HWND line = nullptr;
    ASSERT_TRUE(within(30s, [&] {
        line = ::FindWindowW(L"LiraboxOneLine", L"Lirabox");
        return line != nullptr && ::IsWindowVisible(line);
    }));
    // By the switch, the main window's time label had the length: the load was over.
    EXPECT_TRUE(textOf(::FindWindowExW(started.window, nullptr, L"Static", nullptr)).ends_with(L" / 00:00:10"));
    HWND text = ::FindWindowExW(line, nullptr, L"Static", nullptr);
    EXPECT_TRUE(within(5s, [&] { return textOf(text).ends_with(L" / 00:00:10    far.wav"); }))
        << std::string(textOf(text).begin(), textOf(text).end());
    ::PostMessageW(started.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCodeOf(started.process), 0);
}

}  // namespace
