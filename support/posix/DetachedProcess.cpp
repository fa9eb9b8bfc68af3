#include "support/DetachedProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string_view>
#include <thread>

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

[[noreturn]] void reportAndExit(int pipeFd, int error) {
    [[maybe_unused]] const ssize_t ignored = ::write(pipeFd, &error, sizeof error);
    ::_exit(127);
}

// Everything a child needs is prepared before fork(): after it, the child may
// only make async-signal-safe calls.
std::vector<char*> argumentVector(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    return argv;
}

// In the forked child: a session of its own, the default signal state, then
// the program; the errno of a failed exec goes to `reportFd`.
[[noreturn]] void execInNewSession(const std::string& path, char* const* argv, int reportFd) {
    ::setsid();
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    ::sigaction(SIGPIPE, &byDefault, nullptr);
    ::execve(path.c_str(), argv, environ);
    reportAndExit(reportFd, errno);
}

// The report pipe closes unread when execve succeeds; otherwise it carries
// the errno.
int readReport(int reportFd) {
    int error = 0;
    ssize_t got;
    while ((got = ::read(reportFd, &error, sizeof error)) < 0 && errno == EINTR) {}
    ::close(reportFd);
    return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

int waitFor(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Forks; the child runs `inChild` with the report pipe's write end. Returns
// the child's pid (and the pipe's read end in `reportFd`), or -errno.
template <typename InChild>
pid_t forkReporting(int& reportFd, InChild inChild) {
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return -errno;
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return -error;
    }
    if (child == 0) {
        ::close(report[0]);
        inChild(report[1]);
        ::_exit(127);
    }
    ::close(report[1]);
    reportFd = report[0];
    return child;
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
    std::vector<char*> argv = argumentVector(arguments);
    int reportFd = -1;
    // A middle child starts the program and ends at once, so the program is
    // not our child.
    const pid_t middle = forkReporting(reportFd, [&](int reportWrite) {
        const pid_t program = ::fork();
        if (program < 0) reportAndExit(reportWrite, errno);
        if (program == 0) execInNewSession(path, argv.data(), reportWrite);
        ::_exit(0);
    });
    if (middle < 0) return -middle;
    waitFor(middle);
    return readReport(reportFd);
}

int startWatched(const std::string& path, const std::vector<std::string>& arguments,
                 std::function<void(int exitStatus)> ended) {
    std::vector<char*> argv = argumentVector(arguments);
    int reportFd = -1;
    const pid_t program =
        forkReporting(reportFd, [&](int reportWrite) { execInNewSession(path, argv.data(), reportWrite); });
    if (program < 0) return -program;
    if (const int error = readReport(reportFd); error != 0) {
        waitFor(program);
        return error;
    }
    std::thread([program, ended = std::move(ended)] { ended(waitFor(program)); }).detach();
    return 0;
}

}  // namespace lirabox
