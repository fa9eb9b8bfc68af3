#pragma once
// Driving the real lirabox.exe under Wine from a test: its own program folder,
// starting and ending it, waiting for a condition, and what the reference
// Timepost.dll heard.

#include <gtest/gtest.h>

#include "tests/common/Polling.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <windows.h>

namespace lirabox::test {

namespace fs = std::filesystem;

inline fs::path besideThisProgram(const char* name) {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    return fs::path(self).parent_path() / name;
}

inline std::string environment(const char* name) {
    char value[32768] = {};
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
    return std::string(value, length < sizeof value ? length : 0);
}

// A fresh folder in the temporary folder holding lirabox.exe, Keytap.dll and
// Timepost.dll, as a user unpacks them: the program's first start.
inline fs::path freshProgramFolder(const char* name) {
    const fs::path folder = fs::temp_directory_path() / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const char* file : {"lirabox.exe", "Keytap.dll", "Timepost.dll"}) {
        fs::copy_file(besideThisProgram(file), folder / file);
    }
    return folder;
}

// Where the reference Timepost.dll writes the position it is given.
inline fs::path timepostPositionFile() { return fs::path(environment("LOCALAPPDATA")) / "lirabox" / "position"; }

// The seconds of the first field of the position file, when it has one.
inline std::optional<double> positionHeard(const fs::path& file) {
    std::ifstream in(file);
    double seconds = 0;
    if (in >> seconds) return seconds;
    return std::nullopt;
}

inline PROCESS_INFORMATION start(std::string command, const fs::path& folder) {
    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    if (!::CreateProcessA(nullptr,
                          command.data(),
                          nullptr,
                          nullptr,
                          FALSE,
                          0,
                          nullptr,
                          folder.string().c_str(),
                          &startup,
                          &process)) {
        ADD_FAILURE() << "cannot start " << command;
    }
    return process;
}

// Waits for the process to end; its exit code, or -1 when it did not end in time.
inline long exitCodeOf(PROCESS_INFORMATION& process) {
    DWORD exitCode = STILL_ACTIVE;
    if (process.hProcess == nullptr) return -1;
    if (::WaitForSingleObject(process.hProcess, 15000) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(process.hProcess, &exitCode);
    }
    ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    process = {};
    return exitCode == STILL_ACTIVE ? -1 : static_cast<long>(exitCode);
}

// The position the reference Timepost.dll heard once it has stayed put for
// `quiet` (as it does while paused or stopped); nothing when none was heard
// or it still moves after `limit`.
inline std::optional<double> positionOnceStill(const fs::path& file, std::chrono::milliseconds quiet,
                                               std::chrono::milliseconds limit) {
    const auto still = waitStable([&] { return positionHeard(file); }, quiet, limit);
    if (!still) return std::nullopt;
    return *still;
}

// waitUntil with the limit first, as these tests read best.
template <class Condition>
bool within(std::chrono::milliseconds limit, Condition condition) {
    return waitUntil(condition, limit);
}

}  // namespace lirabox::test
