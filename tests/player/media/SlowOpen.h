#pragma once
// Makes every open of one file in this process slow, as on a disk that spins
// up or a network share: strace, attached to the test process, delays each
// openat() of that path. Detaches when destroyed.

#include <chrono>
#include <filesystem>

#include <sys/types.h>

namespace lirabox::test {

class SlowOpen {
public:
    SlowOpen(const std::filesystem::path& file, std::chrono::milliseconds delay);
    ~SlowOpen();
    SlowOpen(const SlowOpen&) = delete;
    SlowOpen& operator=(const SlowOpen&) = delete;

private:
    pid_t mTracer = -1;
};

}  // namespace lirabox::test
