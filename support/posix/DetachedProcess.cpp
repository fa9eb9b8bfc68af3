#include "support/DetachedProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace lirabox {
namespace {

bool isExecutableFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

void reportAndExit(int pipeFd, int error) {
    [[maybe_unused]] const ssize_t ignored = ::write(pipeFd, &error, sizeof error);
    ::_exit(127);
}

}  // namespace

std::string findProgram(const std::string& name) {
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return isExecutableFile(name) ? name : std::string();
    const char* pathVariable = std::getenv("PATH");
    std::string_view folders = pathVariable != nullptr ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        const std::string candidate = (folder.empty() ? std::string(".") : std::string(folder)) + "/" + name;
        if (isExecutableFile(candidate)) return candidate;
        if (colon == std::string_view::npos) return {};
        folders.remove_prefix(colon + 1);
    }
}

int startDetached(const std::string& path, const std::vector<std::string>& arguments) {
    // Everything the children need is prepared here: after fork() they may only
    // make async-signal-safe calls.
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return errno;

    const pid_t middle = ::fork();
    if (middle < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return error;
    }
    if (middle == 0) {
        ::close(report[0]);
        const pid_t program = ::fork();
        if (program < 0) reportAndExit(report[1], errno);
        if (program == 0) {
            ::setsid();
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            struct sigaction byDefault {};
            byDefault.sa_handler = SIG_DFL;
            ::sigaction(SIGPIPE, &byDefault, nullptr);
            ::execve(path.c_str(), argv.data(), environ);
            reportAndExit(report[1], errno);
        }
        ::_exit(0);
    }

    ::close(report[1]);
    while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {}
    // The pipe closes unread when execve succeeds; otherwise it carries the errno.
    int error = 0;
    ssize_t got;
    while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {}
    ::close(report[0]);
    return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

}  // namespace lirabox
