#include "TimeText.h"

#include "support/VbConvert.h"

#include <cstdio>

namespace lirabox {

std::string TimeText(double seconds) {
    constexpr int kDay = 24 * 60 * 60;
    int time = toInt16(seconds) % kDay;
    if (time < 0) time += kDay;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", time / 3600, time / 60 % 60, time % 60);
    return text;
}

std::string PositionText(double position, double length) {
    return TimeText(position) + " / " + TimeText(length);
}

}  // namespace lirabox
