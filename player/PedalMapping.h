#pragma once
// What each pedal of a foot pedal does: nothing, "play while held" (pressing
// plays, releasing pauses), or one of the player's commands. Rewind and
// fast-forward repeat while their pedal is held; other commands run once per press.

#include "Command.h"

#include <array>
#include <cstddef>
#include <span>

namespace lirabox {

class clsIniFile;

enum class Pedal { Left, Middle, Right };
inline constexpr std::size_t kPedalCount = 3;

enum class PedalUse { Nothing, PlayWhileHeld, RunCommand };

struct PedalAction {
    PedalUse use = PedalUse::Nothing;
    Command command = Command::PlayPause;  // for RunCommand only
    bool operator==(const PedalAction&) const = default;
};

// Indexed by Pedal.
using PedalMapping = std::array<PedalAction, kPedalCount>;

// Middle held plays, left rewinds and right fast-forwards while held.
PedalMapping defaultPedalMapping();

// Every action a pedal can be given, in the order a choice list shows them.
inline constexpr std::size_t kPedalChoiceCount = 12;
std::span<const PedalAction, kPedalChoiceCount> pedalChoices();

// Whether the action's command repeats while its pedal is held.
bool repeatsWhileHeld(const PedalAction& action);

// "UserCfg.ini": a missing or unknown value reads as the pedal's default. A
// missing key is not written back, so a file that never had the pedals' keys
// stays as it was until they are set. The three keys are written in one
// replacement of the file; false when that failed.
PedalMapping readPedalMapping(clsIniFile& userIni);
bool writePedalMapping(clsIniFile& userIni, const PedalMapping& mapping);

}  // namespace lirabox
