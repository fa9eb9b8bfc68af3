#pragma once
// When a command held down (a pedal, a desktop shortcut) runs again: the first
// repeat kRepeatInterval after the press, then every kRepeatInterval, with at
// most one step due at a time, so that after a long stall the steps do not
// come in a burst. Plain state on the caller's clock; UI thread only.

#include <chrono>
#include <optional>

namespace lirabox::hotkeys {

class RepeatWhileHeld {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kRepeatInterval {300};

    void start(Clock::time_point now) { mDue = now + kRepeatInterval; }
    void stop() { mDue.reset(); }
    // True when a step is due at `now`; the next one is then scheduled.
    bool step(Clock::time_point now) {
        if (!mDue || *mDue > now) return false;
        *mDue += kRepeatInterval;
        if (*mDue <= now) mDue = now + kRepeatInterval;
        return true;
    }
    std::optional<Clock::time_point> due() const { return mDue; }

private:
    std::optional<Clock::time_point> mDue;
};

}  // namespace lirabox::hotkeys
