// The desktop services on Linux: EWMH for the "above" state, fork/exec for
// programs and xdg-open (or gio) for everything else, gethostname.

#include "support/DesktopServices.h"

#include "X11WindowState.h"
#include "support/CommandLineWords.h"
#include "support/DetachedProcess.h"

#include <cerrno>
#include <climits>
#include <functional>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace lirabox {
namespace {

bool looksLikeUrl(const std::string& text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon < 2) return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = text[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!letter && !(i > 0 && other)) return false;
    }
    return true;
}

std::int32_t resultOf(int error) {
    switch (error) {
    case 0: return kOpenSucceeded;
    case ENOENT: return kOpenFileNotFound;
    case ENOTDIR: return kOpenPathNotFound;
    case EACCES:
    case EPERM: return kOpenAccessDenied;
    case ENOEXEC: return kOpenBadFormat;
    default: return kOpenOutOfResources;
    }
}

// Starts the desktop's opener; when the caller wants to hear of a late
// failure, waits for it on a thread of its own (it ends with a non-zero status
// when it found nothing to show the target with).
std::int32_t startOpener(const std::vector<std::string>& arguments, std::function<void()> failedLater) {
    if (!failedLater) return resultOf(startDetached(arguments.front(), arguments));
    return resultOf(startWatched(arguments.front(), arguments, [failedLater = std::move(failedLater)](int status) {
        if (status > 0) failedLater();
    }));
}

// Hands a document, folder or URL to the desktop's own opener.
std::int32_t openWithDesktop(const std::string& target, std::function<void()> failedLater) {
    if (const std::string xdgOpen = findProgram("xdg-open"); !xdgOpen.empty()) {
        return startOpener({xdgOpen, target}, std::move(failedLater));
    }
    if (const std::string gio = findProgram("gio"); !gio.empty()) {
        return startOpener({gio, "open", target}, std::move(failedLater));
    }
    return kOpenNoAssociation;
}

class LinuxDesktopServices final : public DesktopServices {
public:
    void setWindowAbove(std::uintptr_t window, bool above) override {
        x11::setWindowAbove(static_cast<unsigned long>(window), above);
    }

    // The window placement wish (showMode) has no say on X11: the started
    // program's own window manager hints decide.
    std::int32_t open(const std::string& file, const std::string& parameters, std::int32_t,
                      std::function<void()> failedLater) override {
        const std::string name = file.substr(0, file.find('\0'));
        if (name.empty()) return kOpenFileNotFound;
        struct stat status {};
        if (::stat(name.c_str(), &status) != 0) {
            const int error = errno;
            if (looksLikeUrl(name)) return openWithDesktop(name, std::move(failedLater));
            if (name.find('/') == std::string::npos) {  // a bare program name, looked up in $PATH
                const std::string program = findProgram(name);
                return program.empty() ? kOpenFileNotFound : start(program, parameters);
            }
            return resultOf(error == ENOENT && !parentExists(name) ? ENOTDIR : error);
        }
        if (S_ISREG(status.st_mode) && ::access(name.c_str(), X_OK) == 0) {
            // Files on some mounted file systems all carry the execute bit:
            // what the kernel cannot run is a document after all.
            const std::int32_t started = start(name, parameters);
            if (started != kOpenBadFormat) return started;
        }
        return openWithDesktop(name, std::move(failedLater));
    }

    std::string hostName() override {
        char name[HOST_NAME_MAX + 2] = {};
        if (::gethostname(name, HOST_NAME_MAX + 1) != 0) return {};
        return std::string(name);
    }

private:
    static std::int32_t start(const std::string& program, const std::string& parameters) {
        std::vector<std::string> arguments {program};
        for (std::string& word : splitCommandLine(parameters)) arguments.push_back(std::move(word));
        return resultOf(startDetached(program, arguments));
    }

    static bool parentExists(const std::string& path) {
        const std::size_t slash = path.rfind('/');
        if (slash == std::string::npos || slash == 0) return true;
        struct stat status {};
        return ::stat(path.substr(0, slash).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
    }
};

}  // namespace

std::shared_ptr<DesktopServices> systemDesktopServices() {
    static const std::shared_ptr<DesktopServices> services = std::make_shared<LinuxDesktopServices>();
    return services;
}

}  // namespace lirabox
