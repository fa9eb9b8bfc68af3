#include "KeyRepeat.h"

#include <algorithm>

namespace keytap {

void KeyRepeat::start(int keycode, std::chrono::milliseconds delay, std::chrono::milliseconds interval,
                      Clock::time_point now) {
    mKeycode = keycode;
    mInterval = std::max(interval, std::chrono::milliseconds(1));
    mNext = now + delay;
}

int KeyRepeat::due(Clock::time_point now) {
    if (mKeycode == kNone || now < mNext) return kNone;
    mNext += mInterval;
    if (mNext <= now) mNext = now + mInterval;
    return mKeycode;
}

int KeyRepeat::timeout(Clock::time_point now) const {
    if (mKeycode == kNone) return -1;
    if (now >= mNext) return 0;
    // Rounded up, so that poll() never wakes just before the deadline.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(mNext - now);
    return static_cast<int>(left.count());
}

}  // namespace keytap
