#include "Timepost.h"

#include <cerrno>
#include <cmath>

#include "PositionFile.h"

extern "C" int32_t TIMEPOST_CALL SetTime(double seconds) {
    if (!std::isfinite(seconds)) return EINVAL;
    try {
        return lirabox::timepost::writePosition(lirabox::timepost::positionFolder(),
                                                lirabox::timepost::positionLine(seconds));
    } catch (...) {
        // Nothing may escape into the caller's C frame (out of memory).
        return ENOMEM;
    }
}
