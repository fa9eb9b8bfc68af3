#include "support/AppPaths.h"

#include "support/ConfigFiles.h"

#include <mutex>
#include <string_view>

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

namespace lirabox {
namespace {

std::mutex gFolderMutex;
std::string gProgramFolderOverride;

template <typename Text>
Text withoutTrailingSeparator(Text path) {
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

std::string narrow(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string result(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.resize(static_cast<std::size_t>(size - 1));
    return result;
}

std::wstring widen(const std::string& text) {
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (size <= 1) return {};
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, result.data(), size);
    result.resize(static_cast<std::size_t>(size - 1));
    return result;
}

// A known folder's path; empty when the system has none.
std::wstring knownFolder(REFKNOWNFOLDERID id, DWORD flags = 0) {
    PWSTR known = nullptr;
    std::wstring folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(id, flags, nullptr, &known))) folder = known;
    ::CoTaskMemFree(known);
    return folder;
}

// The user's roaming AppData folder + "\lirabox", created when missing.
std::string appDataFolder() {
    const std::wstring appData = knownFolder(FOLDERID_RoamingAppData, KF_FLAG_CREATE);
    const std::string folder = appData.empty() ? std::string() : narrow(appData.c_str()) + "\\lirabox";
    if (!folder.empty()) ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// Whether the folder lies in one where Windows installs programs for every
// user ("Program Files" and its 32-bit twin). A program there never keeps
// settings beside itself, even where it may write (run as administrator, or
// under Wine): they would be every user's.
bool isInProgramFiles(const std::string& folder) {
    const std::wstring path = widen(folder);
    for (const KNOWNFOLDERID& id : {FOLDERID_ProgramFiles, FOLDERID_ProgramFilesX86}) {
        const std::wstring root = withoutTrailingSeparator(knownFolder(id));
        if (root.empty() || path.size() <= root.size() || (path[root.size()] != L'\\' && path[root.size()] != L'/')) {
            continue;
        }
        if (::CompareStringOrdinal(path.c_str(), static_cast<int>(root.size()), root.c_str(), -1, TRUE) == CSTR_EQUAL) {
            return true;
        }
    }
    return false;
}

// Asked by creating a file: the folder's attributes and access lists do not tell.
bool folderIsWritable(const std::string& folder) {
    const std::string probe = folder + "\\.lirabox-write-test-" + std::to_string(::GetCurrentProcessId());
    const HANDLE file = ::CreateFileA(probe.c_str(),
                                      GENERIC_WRITE,
                                      0,
                                      nullptr,
                                      CREATE_NEW,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                      nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(file);
    return true;
}

// Settings beside a program that cannot keep its own (under "Program Files",
// or in a folder the user cannot write) are copied once into the stand-in folder.
void adoptSettings(const std::string& from, const std::string& to) {
    for (const std::string_view name :
         {config::kConfigFile, config::kUserFile, config::kPositionFile, config::kHistoryFile}) {
        const std::string file(name);
        ::CopyFileA((from + "\\" + file).c_str(), (to + "\\" + file).c_str(), TRUE);  // never over the user's
    }
}

std::string folderOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : withoutTrailingSeparator(path.substr(0, separator + 1));
}

}  // namespace

std::string executablePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string programFolder() {
    {
        std::lock_guard lock(gFolderMutex);
        if (!gProgramFolderOverride.empty()) return gProgramFolderOverride;
    }
    static const std::string folder = [] {
        const std::string exeFolder = folderOf(executablePath());
        if (!exeFolder.empty() && !isInProgramFiles(exeFolder) && folderIsWritable(exeFolder)) return exeFolder;
        const std::string fallback = appDataFolder();
        if (!exeFolder.empty() && !fallback.empty()) adoptSettings(exeFolder, fallback);
        return fallback.empty() ? exeFolder : fallback;
    }();
    return folder;
}

void setProgramFolder(const std::string& folder) {
    std::lock_guard lock(gFolderMutex);
    gProgramFolderOverride = withoutTrailingSeparator(folder);
}

// The system's Windows directory is writable only for administrators on
// current Windows: "Lirabox.ini" then goes to the user's AppData folder.
std::string windowsDirectory() {
    static const std::string folder = [] {
        char buffer[MAX_PATH + 1] = {};
        const UINT length = ::GetWindowsDirectoryA(buffer, MAX_PATH);
        const std::string system =
            length > 0 && length < MAX_PATH ? withoutTrailingSeparator(std::string(buffer)) : std::string();
        if (!system.empty() && folderIsWritable(system)) return system;
        const std::string fallback = appDataFolder();
        return fallback.empty() ? system : fallback;
    }();
    return folder;
}

}  // namespace lirabox
