#pragma once
// Where the settings dialog's controls stand, in twips (left, top, width,
// height): 15 twips to the pixel on a 96-dpi screen.

#include "player/Twips.h"

namespace lirabox::settings::layout {

inline constexpr double kClientWidth = 7050;
inline constexpr double kClientHeight = 6180;

inline constexpr TwipsRect SSTab1 {120, 120, 6810, 5400};

// Inside the tab's page, every tab: the first line.
inline constexpr double kPageLeft = 300;
inline constexpr double kPageTop = 600;

// The playback tab: a line per step box (caption, box, unit) with its
// explanation below, then the time stamp's form the same way.
inline constexpr double kStepLineHeight = 780;
inline constexpr TwipsRect stepCaption {kPageLeft, kPageTop + 45, 2250, 300};
inline constexpr TwipsRect stepBox {2700, kPageTop, 900, 330};
inline constexpr TwipsRect stepUnit {3690, kPageTop + 45, 450, 300};
inline constexpr TwipsRect stepExplanation {kPageLeft + 240, kPageTop + 390, 6150, 285};
inline constexpr TwipsRect cboTimeStampFormat {2700, kPageTop, 1950, 330};
// The time stamp's explanation has two lines, the second of which may wrap.
inline constexpr TwipsRect timeStampExplanation {kPageLeft + 240, kPageTop + 390, 6150, 855};
// The resume box, below the time stamp's explanation.
inline constexpr TwipsRect chkResume {kPageLeft, kPageTop + 1320, 6150, 330};
// Below it: levelling's check box and its explanation.
inline constexpr TwipsRect chkEvenLoudness {kPageLeft, kPageTop + 4 * kStepLineHeight + 900, 6150, 300};
inline constexpr TwipsRect evenLoudnessExplanation {kPageLeft + 240, kPageTop + 4 * kStepLineHeight + 1200, 6150, 285};

// The shortcut-key tab: the message line, the suggested keys' button beside the discard column's header, then
// a line per row (caption, key box, discard box).
inline constexpr TwipsRect lblMessage {kPageLeft, kPageTop, 6420, 285};
inline constexpr TwipsRect cmdSuggestedKeys {kPageLeft, kPageTop + 285, 3300, 330};
inline constexpr TwipsRect Label10 {5250, kPageTop + 300, 1350, 285};
inline constexpr double kKeyLineTop = kPageTop + 630;
inline constexpr double kKeyLineHeight = 375;
inline constexpr TwipsRect keyCaption {kPageLeft, kKeyLineTop + 30, 2250, 300};
inline constexpr TwipsRect txtShortcutKey {2625, kKeyLineTop, 2550, 330};
inline constexpr TwipsRect chkDestructionKeyCode {5820, kKeyLineTop, 240, 330};

// The foot pedal tab: the explanation (two lines), then a line per pedal.
inline constexpr TwipsRect pedalExplanation {kPageLeft, kPageTop, 6420, 570};
inline constexpr double kPedalLineTop = kPageTop + 780;
inline constexpr double kPedalLineHeight = 450;
inline constexpr TwipsRect pedalName {kPageLeft, kPedalLineTop + 45, 1350, 300};
inline constexpr TwipsRect cboPedal {1725, kPedalLineTop, 3300, 330};

// Below the tabs.
inline constexpr TwipsRect chkTopMost {120, 5700, 2850, 360};
inline constexpr TwipsRect cmdOK {3285, 5670, 1140, 390};
inline constexpr TwipsRect cmdCancel {4515, 5670, 1140, 390};
inline constexpr TwipsRect cmdSave {5745, 5670, 1140, 390};

// The same place moved down by whole lines.
constexpr TwipsRect onLine(const TwipsRect& first, int line, double lineHeight) {
    return {first.left, first.top + line * lineHeight, first.width, first.height};
}

}  // namespace lirabox::settings::layout
