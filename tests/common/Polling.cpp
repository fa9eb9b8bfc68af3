#include "Polling.h"

#include <thread>

namespace lirabox::test {

namespace {
constexpr std::chrono::milliseconds kPollEvery(50);
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(kPollEvery);
    }
    return true;
}

bool waitQuiet(const std::function<bool()>& changed, std::chrono::milliseconds quiet, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    auto quietSince = std::chrono::steady_clock::now();
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (changed()) {
            quietSince = now;
        } else if (now - quietSince >= quiet) {
            return true;
        }
        if (now >= end) return false;
        std::this_thread::sleep_for(kPollEvery);
    }
}

}  // namespace lirabox::test
