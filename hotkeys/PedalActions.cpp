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
    held = Held {true, action, {}};
    if (repeatsWhileHeld(action)) held.repeat.start(now);
    switch (action.use) {
    case PedalUse::Nothing: break;
    case PedalUse::PlayWhileHeld: mRun(Command::Play); break;
    case PedalUse::RunCommand: mRun(action.command); break;
    }
}

void PedalActions::tick(Clock::time_point now) {
    for (Held& held : mHeld) {
        if (held.repeat.step(now)) mRun(held.action.command);
    }
}

std::optional<PedalActions::Clock::time_point> PedalActions::nextStep() const {
    std::optional<Clock::time_point> next;
    for (const Held& held : mHeld) {
        const auto due = held.repeat.due();
        if (due && (!next || *due < *next)) next = due;
    }
    return next;
}

}  // namespace lirabox::hotkeys
