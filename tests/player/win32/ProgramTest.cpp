// The real lirabox.exe under Wine: a first start with a recording and a start
// second writes its INI files, shows its window, plays from that second (the
// reference Timepost.dll hears the position advance), names the file, pauses
// on Keytap's key message, plays at the rate picked in the speed list, refuses
// a second copy with its message and ends on WM_CLOSE.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include <windows.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

fs::path besideThisProgram(const char* name) {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path() / name;
}

std::string environment(const char* name) {
    char value[32768] = {};
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
    return std::string(value, length < sizeof value ? length : 0);
}

// The seconds of the first field of the position file, when it has one.
std::optional<double> positionHeard(const fs::path& file) {
    std::ifstream in(file);
    double seconds = 0;
    if (in >> seconds) return seconds;
    return std::nullopt;
}

PROCESS_INFORMATION start(std::string command, const fs::path& folder) {
    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.string().c_str(),
                          &startup, &process)) {
        ADD_FAILURE() << "cannot start " << command;
    }
    return process;
}

// Waits for the process to end; its exit code, or -1 when it did not end in time.
long exitCodeOf(PROCESS_INFORMATION& process) {
    DWORD exitCode = STILL_ACTIVE;
    if (process.hProcess == nullptr) return -1;
    if (::WaitForSingleObject(process.hProcess, 15000) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(process.hProcess, &exitCode);
    }
    ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return exitCode == STILL_ACTIVE ? -1 : static_cast<long>(exitCode);
}

// Seconds of sound played so far: the run's capture of the sound device
// (WASAPI's float32 48 kHz stereo).
double capturedSeconds() {
    constexpr double kBytesPerSecond = 48000.0 * 2 * 4;
    std::uintmax_t bytes = 0;
    for (const auto& file : fs::directory_iterator(environment("LIRABOX_CAPTURE_FOLDER"))) bytes += file.file_size();
    return static_cast<double>(bytes) / kBytesPerSecond;
}

template <class Condition>
bool within(std::chrono::milliseconds limit, Condition condition) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(50ms);
    }
    return condition();
}

TEST(Win32Program, AFirstStartPlaysFromTheStartSecondTakesTheKeyMessageAndRefusesASecondCopy) {
    // A program folder of its own, so this is a first start.
    const fs::path folder = fs::temp_directory_path() / "lirabox-program-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const char* file : {"lirabox.exe", "Keytap.dll", "Timepost.dll"}) {
        fs::copy_file(besideThisProgram(file), folder / file);
    }
    const fs::path recording = folder / "talk.wav";
    fs::copy_file(fs::path(environment("LIRABOX_RECORDINGS")) / "tone10.wav", recording);
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    const fs::path appIni = fs::path(windows) / "Lirabox.ini";
    fs::remove(appIni);
    const fs::path position = fs::path(environment("LOCALAPPDATA")) / "lirabox" / "position";
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
        EXPECT_TRUE(within(5s, [&] {
            const std::optional<double> later = positionHeard(position);
            return later && *later >= *first + 0.5;
        })) << "the position stays at " << *first;
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
    std::this_thread::sleep_for(1s);
    const std::optional<double> paused = positionHeard(position);
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(positionHeard(position), paused);

    // Picking "2" in the speed list, as the list tells its window, and
    // playing on: the position runs twice as fast as the sound played.
    HWND speeds = ::FindWindowExW(window, nullptr, L"ComboBox", nullptr);
    const auto two =
        ::SendMessageW(speeds, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"2"));
    ASSERT_NE(two, CB_ERR);
    ::SendMessageW(speeds, CB_SETCURSEL, static_cast<WPARAM>(two), 0);
    ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(speeds), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(speeds));
    ::PostMessageW(window, keyMessage, 0, 0);
    std::this_thread::sleep_for(500ms);
    const std::optional<double> from = positionHeard(position);
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

}  // namespace
