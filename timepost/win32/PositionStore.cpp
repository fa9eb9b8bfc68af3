#include "timepost/PositionFile.h"

#include <cerrno>
#include <mutex>

#include <windows.h>

namespace lirabox::timepost {
namespace {

std::mutex gWriteMutex;

int errnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: return EACCES;
    case ERROR_DISK_FULL: return ENOSPC;
    default: return EIO;
    }
}

// A folder that is a link (junction) could send the file elsewhere.
int checkOrCreateFolder(const std::string& folder) {
    if (!::CreateDirectoryA(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
        return errnoOf(::GetLastError());
    }
    const DWORD attributes = ::GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return errnoOf(::GetLastError());
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return EPERM;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return ENOTDIR;
    return 0;
}

}  // namespace

std::string positionFolder() {
    char buffer[MAX_PATH + 1] = {};
    DWORD length = ::GetEnvironmentVariableA("LOCALAPPDATA", buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) length = ::GetTempPathA(MAX_PATH, buffer);
    std::string folder(buffer, length < MAX_PATH ? length : 0);
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder + "\\lirabox";
}

int writePosition(const std::string& folder, const std::string& line) {
    std::lock_guard lock(gWriteMutex);
    if (const int error = checkOrCreateFolder(folder)) return error;

    const std::string target = folder + "\\position";
    const std::string temporary = folder + "\\.position." + std::to_string(::GetCurrentProcessId());
    const HANDLE file =
        ::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return errnoOf(::GetLastError());
    DWORD written = 0;
    int error = 0;
    if (!::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) || written != line.size()) {
        error = errnoOf(::GetLastError());
    }
    ::CloseHandle(file);
    if (error == 0 && !::MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        error = errnoOf(::GetLastError());
    }
    if (error != 0) ::DeleteFileA(temporary.c_str());
    return error;
}

}  // namespace lirabox::timepost
