#pragma once
// Where the main window's controls stand, in twips (left, top, width, height).

#include "Twips.h"

namespace lirabox::layout {

// The client area below the menu bar.
inline constexpr double kClientWidth = 7170;
inline constexpr double kClientHeight = 1155;

inline constexpr TwipsRect lblTimeNow {120, 75, 1515, 225};
inline constexpr TwipsRect lblFile {1875, 120, 5280, 180};
inline constexpr TwipsRect seekbk {0, 360, 7185, 155};
inline constexpr TwipsRect seekpoint {180, 15, 135, 135};  // inside seekbk
inline constexpr TwipsRect cmdPlay {15, 555, 885, 600};
inline constexpr TwipsRect cmdStop {885, 555, 555, 600};
inline constexpr TwipsRect cmdOpen {1440, 555, 405, 345};
inline constexpr TwipsRect cmdRewind {1845, 555, 720, 345};
inline constexpr TwipsRect cmdForward {2565, 555, 720, 345};
inline constexpr TwipsRect volbk {1440, 900, 1830, 225};
inline constexpr TwipsRect picArrow {105, 45, 135, 135};  // inside volbk
inline constexpr TwipsRect Label2 {3420, 840, 255, 255};
inline constexpr TwipsRect Label1 {3585, 555, 810, 315};
inline constexpr TwipsRect cboSpeed {3630, 810, 735, 300};
inline constexpr TwipsRect chkUseKey {4470, 570, 2535, 210};
inline constexpr TwipsRect chkOnTop {4470, 840, 1635, 255};
inline constexpr TwipsRect StatusBar1 {0, kClientHeight - 30, kClientWidth, 30};
// Below the client area: real buttons that the window's size keeps out of sight.
inline constexpr TwipsRect cmdSpeedUp {1320, 1560, 705, 225};
inline constexpr TwipsRect cmdSpeedDown {1320, 1800, 705, 225};

// The repeat line's coordinates run from 0 to this across the seek bar.
inline constexpr double kRepeatLineSpan = 7185;

}  // namespace lirabox::layout
