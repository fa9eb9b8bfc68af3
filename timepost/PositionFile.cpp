#include "PositionFile.h"

#include <cmath>
#include <cstdio>

namespace lirabox::timepost {

std::string positionLine(double seconds) {
    if (!(seconds > 0)) seconds = 0;
    // Doubles throughout: no conversion to an integer type can overflow.
    const double whole = std::floor(seconds);
    const double hours = std::floor(whole / 3600);
    const double minutes = std::floor(std::fmod(whole, 3600) / 60);
    const double secs = std::fmod(whole, 60);
    // Room for the largest double in both fields.
    char buffer[720];
    const int size = std::snprintf(buffer, sizeof buffer, "%.3f %02.0f:%02.0f:%02.0f\n", seconds, hours, minutes, secs);
    return std::string(buffer, static_cast<std::size_t>(size));
}

}  // namespace lirabox::timepost
