#pragma once
// Seconds shown as "hh:nn:ss".

#include <string>

namespace lirabox {

// x rounded to a whole second (halves to even). From 0 up the hours simply
// grow ("99:59:59", "100:00:00"), so an all-day recording shows its length;
// negative values wrap like a time of day. Raises overflow (6) outside the
// 32-bit range of seconds.
std::string TimeText(double seconds);

// "position / length", each as TimeText.
std::string PositionText(double position, double length);

}  // namespace lirabox
