#include "PedalActions.h"

#include <utility>

namespace lirabox::hotkeys {

PedalActions::PedalActions(std::function<PedalMapping()> mapping, std::function<void(Command)> run)
    : mMapping(std::move(mapping)), mRun(std::move(run)) {}

// The state changes before the command runs, so an event handled inside the
// command finds it as it should be.
void PedalActions::handle(const PedalEvent& event, Clock::time_point now) {
    Held& held = mHeld[static_cast<std::size_t>(event.pedal)];
    if (held.down == event.down) return;
    if (!event.down) {
        const PedalAction action = held.action;
        held = Held {};
        if (action.use == PedalUse::PlayWhileHeld) mRun(Command::Pause);
        return;
    }
    const PedalAction action = mMapping()[static_cast<std::size_t>(event.pedal)];
    held = Held {true, action, std::nullopt};
    if (repeatsWhileHeld(action)) held.due = now + kRepeatInterval;
    switch (action.use) {
    case PedalUse::Nothing: break;
    case PedalUse::PlayWhileHeld: mRun(Command::Play); break;
    case PedalUse::RunCommand: mRun(action.command); break;
    }
}

// One step per pedal at most: after a long stall the steps do not come in a burst.
void PedalActions::tick(Clock::time_point now) {
    for (Held& held : mHeld) {
        if (!held.due || *held.due > now) continue;
        *held.due += kRepeatInterval;
        if (*held.due <= now) held.due = now + kRepeatInterval;
        mRun(held.action.command);
    }
}

std::optional<PedalActions::Clock::time_point> PedalActions::nextStep() const {
    std::optional<Clock::time_point> next;
    for (const Held& held : mHeld) {
        if (held.due && (!next || *held.due < *next)) next = held.due;
    }
    return next;
}

}  // namespace lirabox::hotkeys
