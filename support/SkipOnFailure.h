#pragma once
// Skip-on-failure mode: a sequence of steps where a step that fails is
// abandoned silently and the next one runs.
//
//   skipOnFailure(
//       [&] { engine.settings().rate(mPlayRate); },
//       [&] { engine.controls().play(); });
//
// A single step can be run with runStep(), which tells whether it completed.

#include <exception>
#include <utility>

namespace lirabox {

template <class Step>
bool runStep(Step&& step) noexcept {
    try {
        std::forward<Step>(step)();
        return true;
    } catch (...) {
        return false;
    }
}

template <class... Steps>
void skipOnFailure(Steps&&... steps) noexcept {
    (runStep(std::forward<Steps>(steps)), ...);
}

}  // namespace lirabox
