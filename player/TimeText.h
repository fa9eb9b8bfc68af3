#pragma once
// Seconds shown as a time of day, "hh:nn:ss".

#include <string>

namespace lirabox {

// x rounded to a whole second (halves to even) as a 16-bit number, shown as the
// time x seconds after midnight (negative values wrap like a time of day).
// Raises overflow (6) above 32767 s or below -32768 s.
std::string TimeText(double seconds);

// "position / length", each as TimeText.
std::string PositionText(double position, double length);

}  // namespace lirabox
