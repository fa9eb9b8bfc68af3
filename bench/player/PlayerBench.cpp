// The program's start and its quiet when paused, measured on a real X display:
//   player_bench RECORDING
// 1. Time from starting `lirabox RECORDING` to its first SetTime, against the
//    time from starting `mpv --no-video RECORDING` to its first audio bytes
//    (PCM output into a pipe; there is no sound device here), as a ratio of
//    the medians of a few runs each.
// 2. SetTime calls per second while playing.
// 3. CPU used while playing and while paused (no timer should run then).

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "tests/app/qt/PlayerWindow.h"
#include "tests/common/Desktop.h"
#include "tests/common/InstalledPlayer.h"
#include "tests/common/TempFolder.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace lirabox::test;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 5;

long long monotonicNow() {
    timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// CPU seconds the process has used so far (user + system).
double cpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stoll(field);
        if (i == 15) stime = std::stoll(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double cpuPercentOver(pid_t pid, std::chrono::seconds span) {
    const double before = cpuSeconds(pid);
    std::this_thread::sleep_for(span);
    return 100.0 * (cpuSeconds(pid) - before) / static_cast<double>(span.count());
}

void stop(InstalledPlayer& install, pid_t pid) {
    ::kill(pid, SIGTERM);
    install.waitForExit(pid);
}

// Milliseconds from start to the first SetTime.
double playerStartup(InstalledPlayer& install, const fs::path& recording) {
    const std::size_t before = install.publishedCalls().size();
    const long long start = monotonicNow();
    const pid_t pid = install.start({recording.string()});
    waitUntil([&] { return install.publishedCalls().size() > before; }, std::chrono::seconds(30));
    const auto calls = install.publishedCalls();
    stop(install, pid);
    return calls.size() > before ? static_cast<double>(calls[before].stamp - start) / 1e6 : -1;
}

// Milliseconds from start to mpv's first audio bytes.
double mpvStartup(const fs::path& recording, const fs::path& scratch) {
    const fs::path pipe = scratch / "mpv-audio";
    fs::remove(pipe);
    ::mkfifo(pipe.c_str(), 0600);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    const std::string output = "--ao-pcm-file=" + pipe.string();
    const std::string file = recording.string();
    std::vector<const char*> argv {"mpv",
                                   "--no-config",
                                   "--no-video",
                                   "--no-terminal",
                                   "--ao=pcm",
                                   "--ao-pcm-waveheader=no",
                                   output.c_str(),
                                   file.c_str(),
                                   nullptr};
    const long long start = monotonicNow();
    pid_t pid = 0;
    if (::posix_spawnp(&pid, "mpv", nullptr, nullptr, const_cast<char**>(argv.data()), environ) != 0) return -1;
    long long first = -1;
    const auto end = Clock::now() + std::chrono::seconds(30);
    char byte = 0;
    while (first < 0 && Clock::now() < end) {
        pollfd ready {reader, POLLIN, 0};
        if (::poll(&ready, 1, 100) > 0 && ::read(reader, &byte, 1) == 1) first = monotonicNow();
    }
    ::kill(pid, SIGTERM);
    ::close(reader);
    ::waitpid(pid, nullptr, 0);
    return first < 0 ? -1 : static_cast<double>(first - start) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: player_bench RECORDING\n", stderr);
        return 2;
    }
    const fs::path recording = fs::absolute(argv[1]);
    InstalledPlayer install;
    TempFolder scratch;

    std::vector<double> player, mpv;
    for (int run = 0; run < kRuns; ++run) {
        player.push_back(playerStartup(install, recording));
        mpv.push_back(mpvStartup(recording, scratch.path()));
    }
    std::printf("start to first SetTime, lirabox:      %8.1f ms (median of %d)\n", median(player), kRuns);
    std::printf("start to first audio, mpv --no-video: %8.1f ms (median of %d)\n", median(mpv), kRuns);
    std::printf("ratio lirabox / mpv:                  %8.2f\n", median(player) / median(mpv));

    // Playing, then paused with the play button.
    const std::size_t earlier = install.publishedCalls().size();
    const pid_t pid = install.start({recording.string()});
    const XWindow window = waitForWindow(pid, "Lirabox", false);
    waitUntil([&] { return install.publishedCalls().size() > earlier; });
    const std::size_t first = install.publishedCalls().size();
    const double playing = cpuPercentOver(pid, std::chrono::seconds(5));
    const auto calls = install.publishedCalls();
    const double span = static_cast<double>(calls.back().stamp - calls[first - 1].stamp) / 1e9;
    std::printf("SetTime calls per second while playing: %6.2f\n", static_cast<double>(calls.size() - first) / span);
    std::printf("CPU while playing:                      %6.2f %%\n", playing);

    PlayerWindow::of(window).clickPlay();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const std::size_t pausedCalls = install.publishedCalls().size();
    const double paused = cpuPercentOver(pid, std::chrono::seconds(10));
    std::printf("CPU while paused:                       %6.2f %% (SetTime calls meanwhile: %zu)\n",
                paused,
                install.publishedCalls().size() - pausedCalls);
    stop(install, pid);
    return 0;
}
