// The Windows backends of support/ on the system's own calls: where the
// settings go, the common utilities, window placement and library loading.
#include "support/AppPaths.h"
#include "support/LibraryLoader.h"
#include "support/PrivateProfile.h"
#include "support/RaisedError.h"
#include "support/clsCommonUtil.h"
#include "support/clsIniFile.h"
#include "support/clsWinPlacement.h"
#include "support/win32/Win32WindowServices.h"
#include "tests/common/TempFolder.h"
#include "tests/common/win32/LinuxProgram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

namespace lirabox {
namespace {

namespace fs = std::filesystem;

// A plain top-level window at a known place, shown unless asked not to be.
struct TestWindow {
    TestWindow(int x, int y, bool shown = true) {
        handle = ::CreateWindowExA(0,
                                   "STATIC",
                                   "Lirabox test window",
                                   WS_OVERLAPPEDWINDOW | (shown ? WS_VISIBLE : 0),
                                   x,
                                   y,
                                   300,
                                   200,
                                   nullptr,
                                   nullptr,
                                   ::GetModuleHandleA(nullptr),
                                   nullptr);
        pump();
    }
    ~TestWindow() { ::DestroyWindow(handle); }
    static void pump() {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
    }
    RECT rect() const {
        RECT r {};
        ::GetWindowRect(handle, &r);
        return r;
    }
    std::uintptr_t id() const { return reinterpret_cast<std::uintptr_t>(handle); }
    HWND handle;
};

// Wine hands window changes to the X server and the window manager, which
// answer in their own time: waits, pumping messages, up to tries x 20 ms.
template <class Condition>
bool eventually(Condition condition, int tries = 250) {
    for (int i = 0; i < tries; ++i) {
        TestWindow::pump();
        if (condition()) return true;
        ::Sleep(20);
    }
    return false;
}

// Whether the system gives the window's place as its normal place: under Wine
// it learns it from the window manager a moment after the window has moved.
bool knowsNormalPlace(const TestWindow& window) {
    WINDOWPLACEMENT known {};
    known.length = sizeof known;
    const RECT place = window.rect();
    return ::GetWindowPlacement(window.handle, &known) && known.rcNormalPosition.left == place.left &&
           known.rcNormalPosition.top == place.top;
}

std::string systemWindowsDirectory() {
    char buffer[MAX_PATH] = {};
    ::GetWindowsDirectoryA(buffer, MAX_PATH);
    return buffer;
}

TEST(Win32Paths, ProgramFolderIsTheExecutablesAndLiraboxIniGoesToTheWindowsDirectory) {
    char module[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, module, MAX_PATH);
    EXPECT_EQ(executablePath(), module);
    EXPECT_EQ(fs::path(executablePath()).filename().string(), "support_win32_test.exe");
    EXPECT_EQ(programFolder(), fs::path(module).parent_path().string());
    // The private Wine prefix lets its Windows directory be written.
    EXPECT_EQ(windowsDirectory(), systemWindowsDirectory());

    clsIniFile app;
    app.setFilePathMode(2);
    app.setFileName("Lirabox.ini");
    ASSERT_TRUE(app.WriteString("config", "AppName", executablePath()));
    const std::string written = systemWindowsDirectory() + "\\Lirabox.ini";
    char value[MAX_PATH] = {};
    ::GetPrivateProfileStringA("config", "AppName", "", value, MAX_PATH, written.c_str());
    EXPECT_EQ(std::string(value), executablePath());
    EXPECT_EQ(readPrivateProfileString("config", "AppName", "", 1024, "Lirabox.ini"), executablePath());
    ::DeleteFileA(written.c_str());
}

// Even root cannot write into an immutable folder.
void chattr(const std::string& flag, const std::string& unixPath) {
    ASSERT_TRUE(test::runLinuxProgram("/usr/bin/chattr " + flag + " \"" + unixPath + "\""));
}

// chattr runs while Wine goes on, so a lock can land between a probe's
// creation and its removal and keep it: every probe has a name of its own,
// and the ones kept are removed once the folder is unlocked.
bool canCreateFileIn(const std::string& folder) {
    static int probes = 0;
    const std::string probe = folder + "\\lirabox-probe" + std::to_string(++probes) + ".tmp";
    const HANDLE file = ::CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    ::DeleteFileA(probe.c_str());
    return true;
}

void removeKeptProbes(const std::string& folder) {
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().starts_with("lirabox-probe")) fs::remove(entry.path());
}

// Where settings go that cannot stay beside the program: %APPDATA%\\lirabox.
std::string appDataSettings() {
    char appData[MAX_PATH] = {};
    ::GetEnvironmentVariableA("APPDATA", appData, MAX_PATH);
    return std::string(appData) + "\\lirabox";
}

// Runs the program (this test program or a copy of it) with the test filter
// and the variable set to 1; its exit code.
DWORD runCopy(const std::string& program, const std::string& filter, const char* variable) {
    std::string command = "\"" + program + "\" --gtest_filter=" + filter;
    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    DWORD exitCode = 1;
    ::SetEnvironmentVariableA(variable, "1");
    if (::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, 60000);
        ::GetExitCodeProcess(process.hProcess, &exitCode);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::SetEnvironmentVariableA(variable, nullptr);
    return exitCode;
}

// The folders are found once per process: a copy of this program, started
// while the Windows directory cannot be written, checks where the settings go.
TEST(Win32Paths, UnwritableWindowsDirectoryGivesWayToTheUsersAppDataFolder) {
    const std::string prefix = std::getenv("WINEPREFIX") != nullptr ? std::getenv("WINEPREFIX") : "";
    if (prefix.empty()) GTEST_SKIP() << "needs the Wine prefix of tests/with-wine.sh";
    const std::string unixWindows = prefix + "/drive_c/windows";
    ASSERT_NO_FATAL_FAILURE(chattr("+i", unixWindows));
    const bool locked = eventually([] { return !canCreateFileIn(systemWindowsDirectory()); });
    const DWORD exitCode = locked ? runCopy(executablePath(), "Win32PathsUnwritable.*", "LIRABOX_WINDOWS_LOCKED") : 1;
    // Wine starts a Linux program without waiting for it, and on a busy
    // machine late: ask again whenever the folder is still locked a while
    // after, rather than queueing an unlock every few milliseconds.
    bool unlocked = false;
    for (int round = 0; round < 30 && !unlocked; ++round) {
        test::runLinuxProgram("/usr/bin/chattr -i \"" + unixWindows + "\"");
        unlocked = eventually([] { return canCreateFileIn(systemWindowsDirectory()); }, 100);
    }
    EXPECT_TRUE(unlocked);
    if (unlocked) removeKeptProbes(systemWindowsDirectory());
    ASSERT_TRUE(locked) << "chattr +i did not lock " << unixWindows;
    EXPECT_EQ(exitCode, 0u);
}

TEST(Win32PathsUnwritable, LiraboxIniGoesToAppData) {
    if (::GetEnvironmentVariableA("LIRABOX_WINDOWS_LOCKED", nullptr, 0) == 0)
        GTEST_SKIP() << "started by the test above";
    const std::string expected = appDataSettings();
    EXPECT_EQ(windowsDirectory(), expected);
    clsIniFile app;
    app.setFilePathMode(2);
    app.setFileName("Lirabox.ini");
    ASSERT_TRUE(app.WriteString("config", "AppName", executablePath()));
    EXPECT_TRUE(fs::exists(expected + "\\Lirabox.ini"));
}

// An installed copy under "Program Files", whose folder Wine lets it write
// (as Windows lets an administrator): the settings go to %APPDATA%\lirabox
// all the same, taking along the ones set beside the program.
TEST(Win32Paths, AProgramUnderProgramFilesKeepsItsSettingsInAppData) {
    char programFiles[MAX_PATH] = {};
    ASSERT_GT(::GetEnvironmentVariableA("ProgramFiles", programFiles, MAX_PATH), 0u);
    const fs::path folder = fs::path(programFiles) / "Lirabox Paths Test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path copy = folder / "support_win32_test.exe";
    fs::copy_file(executablePath(), copy);
    std::ofstream(folder / "UserCfg.ini") << "[Config]\nRewind=7\n";
    const fs::path settings = appDataSettings();
    for (const char* file : {"UserCfg.ini", "config.ini"}) fs::remove(settings / file);
    EXPECT_EQ(runCopy(copy.string(), "Win32PathsInProgramFiles.*", "LIRABOX_IN_PROGRAM_FILES"), 0u);
    std::vector<std::string> beside;
    for (const auto& entry : fs::directory_iterator(folder)) beside.push_back(entry.path().filename().string());
    std::sort(beside.begin(), beside.end());
    EXPECT_EQ(beside, (std::vector<std::string> {"UserCfg.ini", "support_win32_test.exe"}));
    fs::remove_all(folder);
    for (const char* file : {"UserCfg.ini", "config.ini"}) fs::remove(settings / file);
}

TEST(Win32PathsInProgramFiles, SettingsGoToAppData) {
    if (::GetEnvironmentVariableA("LIRABOX_IN_PROGRAM_FILES", nullptr, 0) == 0)
        GTEST_SKIP() << "started by the test above";
    const std::string expected = appDataSettings();
    EXPECT_EQ(programFolder(), expected);
    clsIniFile config;
    config.setFileName("config.ini");
    ASSERT_TRUE(config.WriteString("Key", "Key0", "120"));
    EXPECT_TRUE(fs::exists(expected + "\\config.ini"));
    clsIniFile user;
    user.setFileName("UserCfg.ini");
    EXPECT_EQ(user.ReadString("Config", "Rewind", "5"), "7");
}

TEST(Win32CommonUtil, TopMostIsTheSystemsStateAndNeitherMovesNorActivates) {
    const TestWindow other(50, 50);
    const TestWindow window(200, 150);
    // The window manager may still be giving the new windows the focus: the
    // foreground is taken once it has stayed the same for 200 ms.
    const auto settledForeground = [] {
        HWND seen = ::GetForegroundWindow();
        int steady = 0;
        eventually([&] {
            const HWND now = ::GetForegroundWindow();
            steady = now == seen ? steady + 1 : 0;
            seen = now;
            return steady >= 10;
        });
        return seen;
    };
    settledForeground();
    ::SetForegroundWindow(other.handle);
    eventually([&] { return ::GetForegroundWindow() == other.handle; });
    const HWND foreground = settledForeground();
    const RECT before = window.rect();

    clsCommonUtil util;
    util.setObject(window.id());
    util.setTopMost(true);
    EXPECT_TRUE(util.TopMost());
    EXPECT_NE(::GetWindowLongA(window.handle, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_FALSE(eventually([&] { return ::GetForegroundWindow() != foreground; }, 25));
    const RECT after = window.rect();
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);

    util.setTopMost(false);
    EXPECT_FALSE(util.TopMost());
    EXPECT_EQ(::GetWindowLongA(window.handle, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST(Win32CommonUtil, ShellStartsWithoutWaitingAndReportsMissingFiles) {
    const test::TempFolder folder;
    const TestWindow window(100, 100);
    clsCommonUtil util;
    EXPECT_THROW(util.ASyncExecute("cmd.exe", "/c exit", SW_HIDE), RaisedError);
    util.setObject(window.id());

    EXPECT_LE(util.ASyncExecute(folder.fileText("missing.txt"), "", SW_SHOWNORMAL), 32);
    const std::string marker = folder.fileText("started.txt");
    EXPECT_GT(util.ASyncExecute("cmd.exe", "/c echo started> \"" + marker + "\"", SW_HIDE), 32);
    for (int i = 0; i < 100 && !fs::exists(marker); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(fs::exists(marker));

    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    ASSERT_TRUE(::GetComputerNameA(name, &size));
    EXPECT_EQ(util.ComputerName(), name);
}

TEST(Win32Placement, SavedPlaceIsRestoredOnARealWindowAndMaximisedKeepsTheNormalPlace) {
    const test::TempFolder folder;
    auto ini = std::make_shared<clsIniFile>();
    ini->setFilePath(folder.path().string());
    ini->setFileName("position.ini");
    Win32WindowServices services;
    const auto placement = [&](const TestWindow& window) {
        auto p = std::make_unique<clsWinPlacement>(services);
        p->setTagetWnd(window.id());
        p->setSectionName("FormPosition");
        p->setIniFile(ini);
        p->setMaximized(true);
        return p;
    };

    TestWindow window(120, 90);
    // The window manager now and then places a new window itself (at the
    // screen's corner): the window is put back until it stands where it was made.
    ASSERT_TRUE(eventually([&] {
        if (window.rect().left == 120 && window.rect().top == 90) return knowsNormalPlace(window);
        ::SetWindowPos(window.handle, nullptr, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return false;
    }));
    const RECT saved = window.rect();
    placement(window)->Save();
    EXPECT_EQ(ini->ReadString("FormPosition", "Left", "x"), std::to_string(saved.left));
    EXPECT_EQ(ini->ReadString("FormPosition", "Top", "x"), std::to_string(saved.top));
    EXPECT_EQ(ini->ReadString("FormPosition", "Maximized", "x"), "0");

    // Restored, as at the program's start, on a window not shown yet: it takes
    // the place at once. (A window on screen moved by calls could go back
    // under Wine: Wine takes the window manager's late answer to an earlier
    // move for a move by the manager.)
    TestWindow restored(400, 300, false);
    bool failed = false;
    placement(restored)->Restore(failed);
    EXPECT_FALSE(failed);
    EXPECT_EQ(restored.rect().left, saved.left);
    EXPECT_EQ(restored.rect().top, saved.top);
    EXPECT_EQ(::IsWindowVisible(restored.handle), FALSE);

    // Shown maximised, as the front end shows a window restored maximised. (A
    // window on screen maximised by a call could lose its normal place under
    // Wine: Wine takes the manager's answer to the resize, when it comes before
    // the manager has marked the window maximised, for a restore, and
    // maximises once more from where the manager put the window.)
    ::ShowWindow(restored.handle, SW_SHOWMAXIMIZED);
    ASSERT_TRUE(eventually([&] { return ::IsZoomed(restored.handle) != 0; }));
    placement(restored)->Save();
    EXPECT_EQ(ini->ReadString("FormPosition", "Maximized", "x"), "1");
    EXPECT_EQ(ini->ReadString("FormPosition", "Left", "x"), std::to_string(saved.left));
    EXPECT_EQ(ini->ReadString("FormPosition", "Top", "x"), std::to_string(saved.top));
    ::ShowWindow(restored.handle, SW_RESTORE);
    ASSERT_TRUE(eventually([&] { return ::IsZoomed(restored.handle) == 0; }));
    placement(restored)->Restore(failed);
    EXPECT_TRUE(eventually([&] { return ::IsZoomed(restored.handle) != 0; }));
}

TEST(Win32Libraries, KeytapAndTimepostLoadFromBesideTheProgram) {
    const auto exports = [](const char* name) {
        return [name](void* handle) { return librarySymbol(handle, name) ? std::string() : std::string("no ") + name; };
    };
    const std::vector<std::string> keytap = libraryCandidates(libraryFileName("Keytap"));
    EXPECT_EQ(keytap.front(), (fs::path(executablePath()).parent_path() / "Keytap.dll").string());
    const LoadedLibrary loaded = loadFirstLibrary(keytap, exports("GetMessageID_KeyBoard"));
    ASSERT_NE(loaded.handle, nullptr) << loaded.reasons;
    using MessageId = std::uint32_t(__stdcall*)();
    EXPECT_EQ(libraryFunction<MessageId>(loaded.handle, "GetMessageID_KeyBoard")(),
              ::RegisterWindowMessageA("KVL_MESSAGE_PROC"));
    closeLibrary(loaded.handle);

    const LoadedLibrary timepost = loadFirstLibrary(libraryCandidates("Timepost.dll"), exports("SetTime"));
    ASSERT_NE(timepost.handle, nullptr) << timepost.reasons;
    const LoadedLibrary refused = loadFirstLibrary(libraryCandidates("Timepost.dll"), exports("NoSuchFunction"));
    EXPECT_EQ(refused.handle, nullptr);
    EXPECT_NE(refused.reasons.find("no NoSuchFunction"), std::string::npos) << refused.reasons;
    closeLibrary(timepost.handle);

    const LoadedLibrary missing = loadFirstLibrary({"C:\\nowhere\\Missing.dll"}, exports("SetTime"));
    EXPECT_EQ(missing.handle, nullptr);
    EXPECT_EQ(missing.reasons.rfind("C:\\nowhere\\Missing.dll: ", 0), 0u) << missing.reasons;
}

}  // namespace
}  // namespace lirabox
