#include "support/AppPaths.h"

#include "support/AtomicFile.h"
#include "support/ConfigFiles.h"
#include "support/PrivateProfile.h"
#include "support/SystemProgramFolder.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace lirabox {
namespace {

namespace fs = std::filesystem;

std::mutex gFolderMutex;
std::string gProgramFolderOverride;

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string configHome() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') return withoutTrailingSlash(xdg);
    const char* home = std::getenv("HOME");
    return withoutTrailingSlash(std::string(home != nullptr && home[0] != '\0' ? home : "/tmp") + "/.config");
}

std::string ensureFolder(const std::string& folder) {
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    return folder;
}

// access() asks as the real user; for root it says yes to nearly anything, so
// the test is a real file created and removed in the folder.
bool folderIsWritable(const std::string& folder) {
    const std::string probe = folder + "/.lirabox-write-test-" + std::to_string(::getpid());
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

// A program folder that cannot be written may still hold the user's settings
// (a packaged or read-only install): each INI file the fallback folder lacks
// is copied there once, before anything reads it.
void adoptSettings(const std::string& from, const std::string& to) {
    for (const std::string_view name :
         {config::kConfigFile, config::kUserFile, config::kPositionFile, config::kHistoryFile}) {
        const std::string target = to + "/" + std::string(name);
        std::error_code missing;
        if (fs::symlink_status(target, missing).type() != fs::file_type::not_found) continue;
        const std::optional<std::string> content = readSmallFile(from + "/" + std::string(name), kMaxProfileFileSize);
        if (!content) continue;
        // Another instance may have made the file meanwhile: its content stays.
        updateFileAtomically(target, kMaxProfileFileSize, [&](std::string_view current) {
            return current.empty() ? *content : std::string(current);
        });
    }
}

}  // namespace

std::string executablePath() {
    std::error_code error;
    const fs::path path = fs::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string programFolder() {
    {
        std::lock_guard lock(gFolderMutex);
        if (!gProgramFolderOverride.empty()) return gProgramFolderOverride;
    }
    static const std::string folder = [] {
        const std::string exeFolder = fs::path(executablePath()).parent_path().string();
        const bool installed = isSystemProgramFolder(exeFolder);
        if (!exeFolder.empty() && !installed && folderIsWritable(exeFolder)) return exeFolder;
        const std::string fallback = ensureFolder(configHome() + "/lirabox");
        if (!exeFolder.empty() && !installed) adoptSettings(exeFolder, fallback);
        return fallback;
    }();
    return folder;
}

void setProgramFolder(const std::string& folder) {
    std::lock_guard lock(gFolderMutex);
    gProgramFolderOverride = withoutTrailingSlash(folder);
}

std::string windowsDirectory() { return ensureFolder(configHome()); }

}  // namespace lirabox
