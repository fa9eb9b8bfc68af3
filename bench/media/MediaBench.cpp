// Benchmarks of the libmpv engine:
//   media_bench open FILE...          time to open each file (median of 5 loads)
//   media_bench compare FILE SECONDS  CPU seconds per minute of playback at rate
//                                     1.0 and 2.0, the engine against the plain
//                                     `mpv --no-video` player, plus peak RSS
//   media_bench play FILE RATE SECONDS  (used by compare) plays for SECONDS

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "player/media/mpv/MpvEngine.h"

namespace {

using Clock = std::chrono::steady_clock;
using lirabox::media::MpvEngine;

int openTimes(const std::vector<std::string>& files) {
    for (const auto& file : files) {
        std::vector<double> times;
        for (int round = 0; round < 5; ++round) {
            MpvEngine engine;
            engine.settings().autoStart(false);
            const auto start = Clock::now();
            engine.URL(file);
            times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        std::sort(times.begin(), times.end());
        MpvEngine engine;
        engine.settings().autoStart(false);
        engine.URL(file);
        std::printf("open %-40s %8.1f ms (median of 5; length %.1f s)\n",
                    file.c_str(),
                    times[2],
                    engine.currentMedia().duration());
    }
    return 0;
}

int play(const std::string& file, double rate, double seconds) {
    MpvEngine engine;
    engine.settings().autoStart(false);
    engine.URL(file);
    engine.settings().rate(rate);
    engine.controls().play();
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < end) {
        // The player polls ten times a second while playing.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        engine.controls().currentPosition();
        engine.currentMedia().duration();
        engine.playState();
    }
    return 0;
}

struct Usage {
    double cpuSeconds = 0;
    long peakKiB = 0;
};

Usage runChild(std::vector<std::string> command) {
    std::vector<char*> argv;
    for (auto& word : command) argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage {};
    if (child < 0 || wait4(child, &status, 0, &usage) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "failed: %s\n", command[0].c_str());
        std::exit(1);
    }
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return {seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss};
}

int compare(const std::string& self, const std::string& file, double seconds) {
    for (double rate : {1.0, 2.0}) {
        char rateText[16], secondsText[16], endText[16];
        std::snprintf(rateText, sizeof rateText, "%.1f", rate);
        std::snprintf(secondsText, sizeof secondsText, "%.1f", seconds);
        std::snprintf(endText, sizeof endText, "%.1f", seconds * rate);
        const Usage ours = runChild({self, "play", file, rateText, secondsText});
        const Usage plain = runChild({"mpv",
                                      "--no-config",
                                      "--no-video",
                                      "--really-quiet",
                                      "--no-terminal",
                                      "--audio-fallback-to-null=yes",
                                      "--speed=" + std::string(rateText),
                                      "--end=" + std::string(endText),
                                      file});
        const double perMinute = 60.0 / seconds;
        std::printf(
            "rate %.1f  engine %.3f CPU s/min, peak RSS %ld KiB | mpv --no-video %.3f CPU s/min, "
            "peak RSS %ld KiB | ratio %.2f\n",
            rate,
            ours.cpuSeconds * perMinute,
            ours.peakKiB,
            plain.cpuSeconds * perMinute,
            plain.peakKiB,
            plain.cpuSeconds > 0 ? ours.cpuSeconds / plain.cpuSeconds : 0.0);
    }
    return 0;
}

int usage() {
    std::fprintf(stderr, "usage: media_bench open FILE... | compare FILE SECONDS | play FILE RATE SECONDS\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == "open") return openTimes({args.begin() + 1, args.end()});
    if (args.size() == 3 && args[0] == "compare") return compare(argv[0], args[1], std::atof(args[2].c_str()));
    if (args.size() == 4 && args[0] == "play") {
        return play(args[1], std::atof(args[2].c_str()), std::atof(args[3].c_str()));
    }
    return usage();
}
