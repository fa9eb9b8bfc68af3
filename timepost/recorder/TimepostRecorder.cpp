// A Timepost that records every call: one line per SetTime, appended to the
// file named by LIRABOX_TIMEPOST_LOG, "<CLOCK_MONOTONIC nanoseconds> <seconds>".
// Tests and benchmarks put it beside the program under the name libtimepost.so.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace {

std::mutex gMutex;
int gFd = -1;

int logFd() {
    if (gFd >= 0) return gFd;
    const char* path = std::getenv("LIRABOX_TIMEPOST_LOG");
    if (path == nullptr || path[0] == '\0') return -1;
    gFd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    return gFd;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int32_t SetTime(double seconds) {
    timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    char line[400];
    const int size = std::snprintf(
        line, sizeof line, "%lld %.6f\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, seconds);
    if (size < 0 || static_cast<std::size_t>(size) >= sizeof line) return E2BIG;
    std::lock_guard lock(gMutex);
    const int fd = logFd();
    if (fd < 0) return EINVAL;
    // One write per line: with O_APPEND the line lands whole.
    return ::write(fd, line, static_cast<std::size_t>(size)) == size ? 0 : EIO;
}
