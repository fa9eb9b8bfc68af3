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

// Whether every thread of this process has a tracer.
bool allThreadsTraced() {
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
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

SlowOpen::SlowOpen(const std::filesystem::path& file, std::chrono::milliseconds delay) {
    prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY);
    const std::string self = std::to_string(getpid());
    const std::string path = file.string();
    const std::string inject =
        "inject=openat:delay_enter=" + std::to_string(std::chrono::microseconds(delay).count());
    mTracer = fork();
    if (mTracer == 0) {
        execlp("strace", "strace", "-f", "-qq", "-o", "/dev/null", "-p", self.c_str(), "-P", path.c_str(), "-e",
               "trace=openat", "-e", inject.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (mTracer < 0) throw std::runtime_error("cannot start strace");
    for (int attempt = 0; attempt < 1000 && !allThreadsTraced(); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!allThreadsTraced()) throw std::runtime_error("strace did not attach");
}

SlowOpen::~SlowOpen() {
    kill(mTracer, SIGTERM);  // strace detaches and ends
    waitpid(mTracer, nullptr, 0);
}

}  // namespace lirabox::test
