#include "TimeText.h"

#include "support/VbConvert.h"

#include <cstdint>
#include <cstdio>

namespace lirabox {

std::string TimeText(double seconds) {
    constexpr std::int64_t kDay = 24 * 60 * 60;
    std::int64_t time = toInt32(seconds);
    if (time < 0) time = (time % kDay + kDay) % kDay;
    char text[32];
    std::snprintf(text,
                  sizeof text,
                  "%02lld:%02lld:%02lld",
                  static_cast<long long>(time / 3600),
                  static_cast<long long>(time / 60 % 60),
                  static_cast<long long>(time % 60));
    return text;
}

std::string PositionText(double position, double length) { return TimeText(position) + " / " + TimeText(length); }

}  // namespace lirabox
