// The real lirabox.exe's main window under Wine, used with the mouse as a
// user uses it: --help and --version answer on the standard output; the
// program file carries the program's icon (Wine does not answer WM_GETICON
// across processes, so the window's is seen on the screenshot only); the time
// stamp command types the position into another program's edit box, the same
// with Shift held, and nowhere once that window has lost the front; a click on
// the drawn seek bar moves the position there; dragging the volume arrow out
// past the bar's right end (the mouse captured) turns the volume up to the
// top, which the program saves on closing.
#include <gtest/gtest.h>

#include "tests/common/Polling.h"
#include "tests/common/Recordings.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>
#include <shellapi.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

fs::path programFolder() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path();
}

std::string fileText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The seconds the reference Timepost.dll last wrote, when it has written any.
std::optional<double> timepostSeconds() {
    wchar_t local[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
    std::istringstream in(fileText(fs::path(local) / "lirabox" / "position"));
    double seconds = 0;
    if (in >> seconds) return seconds;
    return std::nullopt;
}

template <class Condition>
bool eventually(std::chrono::milliseconds limit, Condition condition) {
    for (const auto end = Clock::now() + limit; Clock::now() < end; std::this_thread::sleep_for(50ms)) {
        if (condition()) return true;
    }
    return condition();
}

struct Started {
    PROCESS_INFORMATION process {};
    std::string output;  // what it wrote to its standard output, when that was asked for
};

// Runs `arguments` with `program`; with `readOutput` waits for its end and
// collects its standard output through a pipe.
Started start(const fs::path& program, const std::wstring& arguments, bool readOutput = false) {
    Started started;
    SECURITY_ATTRIBUTES inherited {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE reading = nullptr;
    HANDLE writing = nullptr;
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    if (readOutput && ::CreatePipe(&reading, &writing, &inherited, 0)) {
        ::SetHandleInformation(reading, HANDLE_FLAG_INHERIT, 0);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writing;
    }
    std::wstring command = L"\"" + program.wstring() + L"\" " + arguments;
    if (!::CreateProcessW(nullptr,
                          command.data(),
                          nullptr,
                          nullptr,
                          readOutput,
                          0,
                          nullptr,
                          program.parent_path().wstring().c_str(),
                          &startup,
                          &started.process)) {
        ADD_FAILURE() << "cannot start " << program;
    }
    if (writing != nullptr) ::CloseHandle(writing);
    if (reading != nullptr) {
        char buffer[4096];
        DWORD count = 0;
        while (::ReadFile(reading, buffer, sizeof buffer, &count, nullptr) && count > 0) {
            started.output.append(buffer, count);
        }
        ::CloseHandle(reading);
    }
    return started;
}

long exitCode(Started& started) {
    DWORD code = STILL_ACTIVE;
    if (started.process.hProcess == nullptr) return -1;
    if (::WaitForSingleObject(started.process.hProcess, 15000) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(started.process.hProcess, &code);
    }
    ::TerminateProcess(started.process.hProcess, 1);
    ::CloseHandle(started.process.hThread);
    ::CloseHandle(started.process.hProcess);
    return code == STILL_ACTIVE ? -1 : static_cast<long>(code);
}

// The mouse as the user moves it: absolute screen pixels, then the buttons.
void mouse(POINT at, DWORD buttons = 0) {
    INPUT input {};
    input.type = INPUT_MOUSE;
    input.mi.dx = at.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = at.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    ::SendInput(1, &input, sizeof input);
    std::this_thread::sleep_for(150ms);
}

// A key of the user's keyboard going down or up.
void key(WORD virtualKey, bool up) {
    INPUT input {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof input);
}

// The drawn sliders, seek bar first (it is the wider one), in screen pixels.
std::vector<RECT> sliders(HWND window) {
    std::vector<RECT> found;
    for (HWND child = nullptr; (child = ::FindWindowExW(window, child, L"LiraboxSlider", nullptr)) != nullptr;) {
        RECT place {};
        ::GetWindowRect(child, &place);
        found.push_back(place);
    }
    std::sort(
        found.begin(), found.end(), [](const RECT& a, const RECT& b) { return a.right - a.left > b.right - b.left; });
    return found;
}

TEST(Win32MainWindow, SlidersIconTimeStampAndCommandLineAnswersWorkOnTheRealProgram) {
    const fs::path folder = fs::temp_directory_path() / "lirabox-main-window-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const char* file : {"lirabox.exe", "Keytap.dll", "Timepost.dll"}) {
        fs::copy_file(programFolder() / file, folder / file);
    }
    const fs::path program = folder / "lirabox.exe";
    const fs::path recording = folder / "talk.wav";
    lirabox::test::writeSineWav(recording, 60, 440, 8000);

    // Without a console of its own, the answers go to the standard output it was given.
    Started version = start(program, L"--version", true);
    EXPECT_EQ(exitCode(version), 0);
    EXPECT_EQ(version.output, std::string("lirabox ") + LIRABOX_VERSION + "\n");
    Started help = start(program, L"--help", true);
    EXPECT_EQ(exitCode(help), 0);
    EXPECT_EQ(help.output.rfind("Usage: lirabox [RECORDING[/t=SECONDS]]\n", 0), 0u) << help.output;
    EXPECT_NE(help.output.find("--version"), std::string::npos);
    EXPECT_EQ(help.output.find("--verbose"), std::string::npos);

    EXPECT_GE(::ExtractIconExW(program.wstring().c_str(), -1, nullptr, nullptr, 0), 1u);

    Started player = start(program, recording.wstring());
    HWND window = nullptr;
    ASSERT_TRUE(eventually(20s, [&] {
        window = ::FindWindowW(L"LiraboxMain", L"Lirabox");
        return window != nullptr && ::IsWindowVisible(window) && timepostSeconds().has_value();
    }));

    // The time stamp key (slot 8) while another program is in front: its edit box gets the position.
    const fs::path typed = folder / "typed.txt";
    Started editor = start(programFolder() / "keytap_target.exe", typed.wstring());
    HWND editorWindow = nullptr;
    EXPECT_TRUE(eventually(10s, [&] {
        editorWindow = ::FindWindowW(nullptr, L"Keytap target");
        return editorWindow != nullptr && ::GetForegroundWindow() == editorWindow;
    }));
    const UINT keyMessage = ::RegisterWindowMessageA("KVL_MESSAGE_PROC");
    ::PostMessageW(window, keyMessage, 8, 0);
    EXPECT_TRUE(eventually(5s, [&] { return fileText(typed).find(' ') != std::string::npos; }));
    EXPECT_TRUE(std::regex_match(fileText(typed), std::regex(R"(\[00:00:0\d\] )"))) << fileText(typed);
    // With Shift held the characters are the same. A stamp waiting for Ctrl
    // to go up goes nowhere once another window (the player's) is in front;
    // the next one, with the editor in front again, arrives alone.
    key(VK_SHIFT, false);
    ::SendMessageW(window, keyMessage, 8, 0);
    EXPECT_TRUE(eventually(5s, [&] { return std::ranges::count(fileText(typed), ' ') == 2; }));
    key(VK_SHIFT, true);
    key(VK_CONTROL, false);
    ::SendMessageW(window, keyMessage, 8, 0);
    ::SetForegroundWindow(window);
    EXPECT_TRUE(eventually(5s, [&] { return ::GetForegroundWindow() == window; }));
    key(VK_CONTROL, true);
    // The player has dealt with the held stamp once the editor's text stays as it is.
    EXPECT_TRUE(lirabox::test::waitStable([&] { return fileText(typed); }, 1000ms).has_value());
    ::SetForegroundWindow(editorWindow);
    EXPECT_TRUE(eventually(5s, [&] { return ::GetForegroundWindow() == editorWindow; }));
    ::SendMessageW(window, keyMessage, 8, 0);
    EXPECT_TRUE(eventually(5s, [&] { return std::ranges::count(fileText(typed), ' ') >= 3; }));
    EXPECT_TRUE(std::regex_match(fileText(typed), std::regex(R"((\[00:00:\d\d\] ){3})"))) << fileText(typed);
    ::PostMessageW(editorWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(editor), 0);

    const std::vector<RECT> bars = sliders(window);
    ASSERT_EQ(bars.size(), 2u);
    const RECT seek = bars[0];
    const RECT volume = bars[1];

    // A click three quarters along the seek bar: playing goes on from about 45 s
    // (less the second the play command steps back).
    const POINT threeQuarters {seek.left + (seek.right - seek.left) * 3 / 4, (seek.top + seek.bottom) / 2};
    mouse(threeQuarters);
    mouse(threeQuarters, MOUSEEVENTF_LEFTDOWN);
    mouse(threeQuarters, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(eventually(5s,
                           [] {
                               const std::optional<double> seconds = timepostSeconds();
                               return seconds && *seconds > 42 && *seconds < 48;
                           }))
        << "the position is " << timepostSeconds().value_or(-1);

    // The volume arrow stands in the middle (2500 of 0..5000): dragged out past
    // the right end, where only a captured mouse still reaches it.
    const POINT arrow {(volume.left + volume.right) / 2 + 2, (volume.top + volume.bottom) / 2};
    const POINT pastTheEnd {volume.right + 40, volume.bottom + 20};
    mouse(arrow);
    mouse(arrow, MOUSEEVENTF_LEFTDOWN);
    mouse({volume.left + (volume.right - volume.left) / 5, arrow.y});
    mouse(pastTheEnd);
    mouse(pastTheEnd, MOUSEEVENTF_LEFTUP);

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(exitCode(player), 0);
    char saved[32] = {};
    ::GetPrivateProfileStringA("Volume", "value", "", saved, sizeof saved, (folder / "position.ini").string().c_str());
    EXPECT_STREQ(saved, "5000");
}

}  // namespace
