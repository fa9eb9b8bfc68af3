// A stand-in Timepost for tests: it counts the calls and keeps the last time.
#include <cstdint>

namespace {
int gCalls = 0;
double gLast = 0;
}  // namespace

extern "C" {
__attribute__((visibility("default"))) std::int32_t SetTime(double seconds) {
    ++gCalls;
    gLast = seconds;
    return 1;
}
__attribute__((visibility("default"))) int ProbeCalls() { return gCalls; }
__attribute__((visibility("default"))) double ProbeLastTime() { return gLast; }
}
