#include "SlowOpen.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

namespace lirabox::test {
namespace {

std::filesystem::path tasksOf(pid_t process) { return "/proc/" + std::to_string(process) + "/task"; }

std::string firstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// Whether every thread of the process has a tracer.
bool allThreadsTraced(pid_t process) {
    for (const auto& task : std::filesystem::directory_iterator(tasksOf(process))) {
        std::ifstream status(task.path() / "status");
        bool traced = false;
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("TracerPid:", 0) == 0) traced = std::stol(line.substr(10)) != 0;
        }
        if (!traced) return false;
    }
    return true;
}

}  // namespace

SlowOpen::SlowOpen(const std::filesystem::path& file, std::chrono::milliseconds delay, pid_t process)
    : mProcess(process != 0 ? process : getpid()) {
    prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY);
    const std::string self = std::to_string(mProcess);
    const std::string path = file.string();
    const std::string inject = "inject=openat:delay_enter=" + std::to_string(std::chrono::microseconds(delay).count());
    mTracer = fork();
    if (mTracer == 0) {
        execlp("strace",
               "strace",
               "-f",
               "-qq",
               "-o",
               "/dev/null",
               "-p",
               self.c_str(),
               "-P",
               path.c_str(),
               "-e",
               "trace=openat",
               "-e",
               inject.c_str(),
               static_cast<char*>(nullptr));
        _exit(127);
    }
    if (mTracer < 0) throw std::runtime_error("cannot start strace");
    for (int attempt = 0; attempt < 1000 && !allThreadsTraced(mProcess); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!allThreadsTraced(mProcess)) throw std::runtime_error("strace did not attach");
}

// A thread stopped by its tracer (state "t") inside openat (257 on x86-64).
bool SlowOpen::holding() const {
    std::error_code gone;
    for (const auto& task : std::filesystem::directory_iterator(tasksOf(mProcess), gone)) {
        const std::string stat = firstLine(task.path() / "stat");
        const auto afterName = stat.rfind(") ");
        if (afterName != std::string::npos && stat.compare(afterName + 2, 1, "t") == 0 &&
            firstLine(task.path() / "syscall").rfind("257 ", 0) == 0) {
            return true;
        }
    }
    return false;
}

SlowOpen::~SlowOpen() {
    // Not SIGTERM: strace can stay stuck on a process that ended while held.
    // The kernel detaches a killed tracer's processes, and a held open goes on.
    kill(mTracer, SIGKILL);
    waitpid(mTracer, nullptr, 0);
}

}  // namespace lirabox::test
