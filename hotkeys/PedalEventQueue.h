#pragma once
// Carries pedal events out through the PedalActions in the order they were
// read, also when a command lets a later read run inside it (that inner call
// only queues), and says when the next repeated step is due. The system
// backends (FootPedals) feed it from their readers and run its timer.

#include "PedalActions.h"

#include <chrono>
#include <deque>
#include <optional>
#include <vector>

namespace lirabox::hotkeys {

class PedalEventQueue {
public:
    explicit PedalEventQueue(PedalActions& actions) : mActions(actions) {}

    void run(const std::vector<PedalEvent>& events);
    // Runs the repeated steps that are due.
    void tick();
    // How long until the next repeated step (zero when one is overdue); nothing when none is due.
    std::optional<std::chrono::milliseconds> untilNextStep() const;

private:
    PedalActions& mActions;
    std::deque<PedalEvent> mPending;
    bool mRunning = false;
};

}  // namespace lirabox::hotkeys
