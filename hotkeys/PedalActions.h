#pragma once
// What pedal events do to the player: each pedal's action as the mapping says
// when the pedal goes down, the end of "play while held" when it comes up, and
// rewind or fast-forward repeated while their pedal is held (the first step at
// once, then as RepeatWhileHeld says). The clock is the caller's: tick() runs the
// steps that are due, nextStep() says when the next one is.

#include "PedalReader.h"
#include "RepeatWhileHeld.h"
#include "player/PedalMapping.h"

#include <array>
#include <chrono>
#include <functional>
#include <optional>

namespace lirabox::hotkeys {

class PedalActions {
public:
    using Clock = RepeatWhileHeld::Clock;

    // `mapping` is asked at each press; `run` carries a command out. A command
    // may let other events run inside it, this object's own included.
    PedalActions(std::function<PedalMapping()> mapping, std::function<void(Command)> run);

    void handle(const PedalEvent& event, Clock::time_point now);
    void tick(Clock::time_point now);
    std::optional<Clock::time_point> nextStep() const;

private:
    struct Held {
        bool down = false;
        PedalAction action;  // as the mapping said at the press
        RepeatWhileHeld repeat;
    };

    std::function<PedalMapping()> mMapping;
    std::function<void(Command)> mRun;
    std::array<Held, kPedalCount> mHeld {};
};

}  // namespace lirabox::hotkeys
