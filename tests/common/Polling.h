#pragma once
// Waiting, bounded, for something another process or the X server does.
// Called on the test's own thread; the functions handed in run on it too.

#include <chrono>
#include <functional>
#include <optional>
#include <utility>

namespace lirabox::test {

// Polls until the condition holds or the time is up; returns the condition.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(30));

// Polls `changed` (true when what it watches differs from its last look)
// until it has reported no change for `quiet`; false when the limit passes
// first. waitStable is the form tests use.
bool waitQuiet(const std::function<bool()>& changed, std::chrono::milliseconds quiet, std::chrono::milliseconds limit);

// Reads the value again and again until it has stayed the same for `quiet`,
// and returns it; nothing when it still changed after `limit`. For checks
// that something stops, or that nothing arrives.
template <class Read>
auto waitStable(Read read, std::chrono::milliseconds quiet, std::chrono::milliseconds limit = std::chrono::seconds(30))
    -> std::optional<decltype(read())> {
    auto last = read();
    const bool settled = waitQuiet(
        [&] {
            auto now = read();
            if (now == last) return false;
            last = std::move(now);
            return true;
        },
        quiet,
        limit);
    if (!settled) return std::nullopt;
    return last;
}

}  // namespace lirabox::test
