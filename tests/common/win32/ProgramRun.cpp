#include "ProgramRun.h"

#include <gtest/gtest.h>

#include <fstream>

namespace lirabox::test {

namespace fs = std::filesystem;

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

fs::path freshProgramFolder(const char* name) {
    const fs::path folder = fs::temp_directory_path() / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const char* file : {"lirabox.exe", "Keytap.dll", "Timepost.dll"}) {
        fs::copy_file(besideThisProgram(file), folder / file);
    }
    return folder;
}

fs::path clearedPositionFile() {
    const fs::path position = fs::path(environment("LOCALAPPDATA")) / "lirabox" / "position";
    fs::remove(position);
    return position;
}

std::optional<double> positionHeard(const fs::path& file) {
    std::ifstream in(file);
    double seconds = 0;
    if (in >> seconds) return seconds;
    return std::nullopt;
}

PROCESS_INFORMATION startProcess(std::string commandLine, const fs::path& folder) {
    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.string().c_str(),
                          &startup, &process)) {
        ADD_FAILURE() << "cannot start " << commandLine;
    }
    return process;
}

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

}  // namespace lirabox::test
