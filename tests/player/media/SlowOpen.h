#pragma once
// Makes every open of one file in a process (this one unless told otherwise)
// slow, as on a disk that spins up or a network share: strace, attached to the
// process, delays each openat() of that path. Detaches when destroyed.

#include <chrono>
#include <filesystem>

#include <sys/types.h>

namespace lirabox::test {

class SlowOpen {
public:
    SlowOpen(const std::filesystem::path& file, std::chrono::milliseconds delay, pid_t process = 0);
    ~SlowOpen();
    SlowOpen(const SlowOpen&) = delete;
    SlowOpen& operator=(const SlowOpen&) = delete;

    // Whether a thread of the process is held in the open right now.
    bool holding() const;

private:
    pid_t mProcess = 0;
    pid_t mTracer = -1;
};

}  // namespace lirabox::test
