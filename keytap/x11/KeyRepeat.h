#pragma once
// The auto-repeat of a key the watcher does not grab: the X server sends no
// raw events for repeated key-downs, so the watcher repeats the key's command
// itself, at the server's delay and interval, until the key's raw release.
// Like the server, it repeats only the key pressed last.

#include <chrono>

namespace keytap {

class KeyRepeat {
public:
    using Clock = std::chrono::steady_clock;

    void start(int keycode, std::chrono::milliseconds delay, std::chrono::milliseconds interval, Clock::time_point now);
    void stop() { mKeycode = kNone; }
    void released(int keycode) {
        if (keycode == mKeycode) stop();
    }

    // The key to repeat now, or -1; a repeat that fell behind (a stopped
    // process) fires once and goes on from now, never in a burst.
    int due(Clock::time_point now);
    // Milliseconds until the next repeat, for poll(); -1 while nothing repeats.
    int timeout(Clock::time_point now) const;

private:
    static constexpr int kNone = -1;
    int mKeycode = kNone;
    Clock::time_point mNext {};
    std::chrono::milliseconds mInterval {};
};

}  // namespace keytap
