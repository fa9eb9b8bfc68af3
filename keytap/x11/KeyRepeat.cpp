#include "x11/KeyRepeat.h"

#include <algorithm>

namespace keytap {

void KeyRepeat::start(int keycode, std::chrono::milliseconds delay, std::chrono::milliseconds interval,
                      Clock::time_point now) {
    keycode_ = keycode;
    interval_ = std::max(interval, std::chrono::milliseconds(1));
    next_ = now + delay;
}

int KeyRepeat::due(Clock::time_point now) {
    if (keycode_ == kNone || now < next_) return kNone;
    next_ += interval_;
    if (next_ <= now) next_ = now + interval_;
    return keycode_;
}

int KeyRepeat::timeout(Clock::time_point now) const {
    if (keycode_ == kNone) return -1;
    if (now >= next_) return 0;
    // Rounded up, so that poll() never wakes just before the deadline.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(next_ - now);
    return static_cast<int>(left.count());
}

}  // namespace keytap
