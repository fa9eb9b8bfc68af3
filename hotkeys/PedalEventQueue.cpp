#include "PedalEventQueue.h"

#include <algorithm>

namespace lirabox::hotkeys {

void PedalEventQueue::run(const std::vector<PedalEvent>& events) {
    mPending.insert(mPending.end(), events.begin(), events.end());
    if (mRunning) return;
    mRunning = true;
    while (!mPending.empty()) {
        const PedalEvent event = mPending.front();
        mPending.pop_front();
        mActions.handle(event, PedalActions::Clock::now());
    }
    mRunning = false;
}

void PedalEventQueue::tick() { mActions.tick(PedalActions::Clock::now()); }

std::optional<std::chrono::milliseconds> PedalEventQueue::untilNextStep() const {
    const auto next = mActions.nextStep();
    if (!next) return std::nullopt;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*next - PedalActions::Clock::now());
    return std::max(wait, std::chrono::milliseconds::zero());
}

}  // namespace lirabox::hotkeys
