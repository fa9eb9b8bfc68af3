// The real lirabox.exe under Wine: a first start with a recording and a start
// second writes its INI files, shows its window, plays from that second (the
// reference Timepost.dll hears the position advance), names the file, pauses
// on Keytap's key message, plays at the rate picked in the speed list, refuses
// a second copy with its message and ends on WM_CLOSE; on a slow disk its
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
    ::PostMessageW(message, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(exitCodeOf(second), 1);

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCodeOf(process), 0);
}

// Started on a recording on a slow disk (every read of it held back 20 s by
// strace, around the program as Wine starts it): the window shows and answers
// while the recording is read, and Ctrl+Q or a WM_CLOSE ends the program at once.
TEST(Win32Program, OnASlowDiskTheWindowAnswersAndCtrlQOrClosingEndsTheProgramAtOnce) {
    const fs::path folder = freshProgramFolder("lirabox-slow-disk-test");
    const fs::path recording = folder / "far.wav";
    fs::copy_file(fs::path(environment("LIRABOX_RECORDINGS")) / "tone10.wav", recording);
    const std::string unixRecording = unixNameOf(recording);
    const std::string unixProgram = unixNameOf(folder / "lirabox.exe");
    ASSERT_FALSE(unixRecording.empty() || unixProgram.empty());

    const auto pressCtrlQ = [](HWND window) {
        ::SetForegroundWindow(window);
        EXPECT_TRUE(within(5s, [&] { return ::GetForegroundWindow() == window; }));
        std::array<INPUT, 4> keys {};
        for (std::size_t i = 0; i < keys.size(); ++i) {
            keys[i].type = INPUT_KEYBOARD;
            keys[i].ki.wVk = i == 0 || i == 3 ? VK_CONTROL : 'Q';
            keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
        }
        ::SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    };
    const auto postClose = [](HWND window) { ::PostMessageW(window, WM_CLOSE, 0, 0); };
    for (const auto& [how, quit] : {std::pair {"Ctrl+Q", +pressCtrlQ}, std::pair {"WM_CLOSE", +postClose}}) {
        SCOPED_TRACE(how);
        start("Z:\\usr\\bin\\strace -f -qq -o /dev/null -P \"" + unixRecording +
                  "\" -e trace=read,pread64 -e inject=read,pread64:delay_enter=20000000 /usr/bin/wine \"" +
                  unixProgram + "\" \"" + recording.string() + "\"",
              folder);
        HWND window = nullptr;
        ASSERT_TRUE(within(20s, [&] {
            window = ::FindWindowW(L"LiraboxMain", L"Lirabox");
            return window != nullptr && ::IsWindowVisible(window);
        }));
        DWORD processId = 0;
        ::GetWindowThreadProcessId(window, &processId);
        const HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
        ASSERT_NE(process, nullptr);
        DWORD_PTR answer = 0;
        EXPECT_NE(::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0u);
        EXPECT_NE(::FindWindowExW(window, nullptr, L"Static", L"00:00:00 / 00:00:00"), nullptr)
            << "the recording was read already";

        quit(window);
        EXPECT_EQ(::WaitForSingleObject(process, 10000), WAIT_OBJECT_0) << "the program still runs";
        DWORD exitCode = STILL_ACTIVE;
        ::GetExitCodeProcess(process, &exitCode);
        EXPECT_EQ(exitCode, 0u);
        ::TerminateProcess(process, 1);
        ::CloseHandle(process);
    }
}

}  // namespace
