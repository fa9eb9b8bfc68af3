// The seek bar's loudness envelope of one recording, measured as the player's
// worker does: CPU time to the coarse pass and to the whole envelope, how much
// of the recording was decoded, and the memory it took.
//   envelope_bench FILE [COLUMNS]

#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "player/media/LoudnessEnvelope.h"

namespace {

double cpuSeconds() {
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The resident set now and at its peak, in MiB.
double statusMiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) return std::atof(line.c_str() + std::string(field).size()) / 1024.0;
    }
    return 0.0;
}

// Counts the sound decoded on the way.
class Counting final : public lirabox::media::EnvelopeSource {
public:
    explicit Counting(std::unique_ptr<EnvelopeSource> source) : mSource(std::move(source)) {}
    double seconds() const override { return mSource->seconds(); }
    std::optional<double> meanSquare(double at, double span) override {
        decoded += span;
        return mSource->meanSquare(at, span);
    }
    double decoded = 0.0;

private:
    std::unique_ptr<EnvelopeSource> mSource;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [COLUMNS]\n", argv[0]);
        return 2;
    }
    const std::size_t columns = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 600;
    const double rssBefore = statusMiB("VmRSS:");
    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = cpuSeconds();
    auto opened = lirabox::media::openEnvelopeSource(argv[1]);
    if (!opened) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    Counting source(std::move(opened));
    lirabox::media::LoudnessEnvelope envelope(columns);
    std::atomic<bool> stop {false};
    std::size_t measured = 0;
    double coarseCpu = 0.0;
    envelope.compute(
        source,
        [] { return 0.0; },
        stop,
        [&] {
            if (++measured == columns) coarseCpu = cpuSeconds() - cpuStart;
        });
    const double cpu = cpuSeconds() - cpuStart;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    std::printf("recording            %.0f s (%.1f h), %zu columns of %.1f s\n",
                source.seconds(),
                source.seconds() / 3600,
                columns,
                source.seconds() / columns);
    std::printf("coarse pass          %.2f s CPU\n", coarseCpu);
    std::printf("whole envelope       %.2f s CPU, %.2f s wall\n", cpu, wall);
    std::printf("decoded              %.0f s of sound (%.2f %% of the recording)\n",
                source.decoded,
                100.0 * source.decoded / source.seconds());
    std::printf("memory               %.1f MiB more at the peak (RSS %.1f -> peak %.1f MiB)\n",
                statusMiB("VmHWM:") - rssBefore,
                rssBefore,
                statusMiB("VmHWM:"));
    return 0;
}
