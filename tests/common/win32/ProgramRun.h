#pragma once
// What tests of the real lirabox.exe under Wine share: the files beside the
// test program, the run's environment, starting and ending a process, waiting
// for a condition, and the position the reference Timepost.dll heard.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include <windows.h>

namespace lirabox::test {

std::filesystem::path besideThisProgram(const char* name);

// The environment variable's value; empty when it is not set.
std::string environment(const char* name);

// A fresh program folder of that name in the temporary folder, holding
// lirabox.exe, Keytap.dll and Timepost.dll.
std::filesystem::path freshProgramFolder(const char* name);

// The file the reference Timepost.dll writes the position to, removed.
std::filesystem::path clearedPositionFile();

// The seconds of the position file's first field, when it has one.
std::optional<double> positionHeard(const std::filesystem::path& file);

// Starts the command line in the folder; a failure is reported to the test.
PROCESS_INFORMATION startProcess(std::string commandLine, const std::filesystem::path& folder);

// Waits for the process to end; its exit code, or -1 when it did not end in time.
long exitCodeOf(PROCESS_INFORMATION& process);

template <class Condition>
bool within(std::chrono::milliseconds limit, Condition condition) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

}  // namespace lirabox::test
