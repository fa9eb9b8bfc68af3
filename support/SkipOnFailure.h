#pragma once
// Skip-on-failure mode: a sequence of steps where a step that fails is
// abandoned and the next one runs.
//
//   skipOnFailure(
//       [&] { engine.settings().rate(mPlayRate); },
//       [&] { engine.controls().play(); });
//
// A single step can be run with runStep(), which tells whether it completed.
// Every abandoned step is traced (Trace.h) with the place of the sequence,
// the step's number in it and the error that ended it.

#include <cstddef>
#include <source_location>
#include <utility>

namespace lirabox {

namespace skip_on_failure_detail {

// Traces the exception being handled as the end of step `index` of `count`
// (a count of 0: a single step). Never throws.
void traceAbandonedStep(const std::source_location& where, std::size_t index, std::size_t count) noexcept;

template <class Step>
bool runNumberedStep(Step&& step, const std::source_location& where, std::size_t index, std::size_t count) noexcept {
    try {
        std::forward<Step>(step)();
        return true;
    } catch (...) {
        traceAbandonedStep(where, index, count);
        return false;
    }
}

}  // namespace skip_on_failure_detail

template <class Step>
bool runStep(Step&& step, const std::source_location& where = std::source_location::current()) noexcept {
    return skip_on_failure_detail::runNumberedStep(std::forward<Step>(step), where, 1, 0);
}

// Used like a function; a class only so that the caller's place can follow
// the steps as a default argument.
template <class... Steps>
struct skipOnFailure {
    skipOnFailure(Steps&&... steps, const std::source_location& where = std::source_location::current()) noexcept {
        std::size_t index = 0;
        (skip_on_failure_detail::runNumberedStep(std::forward<Steps>(steps), where, ++index, sizeof...(Steps)), ...);
    }
};

template <class... Steps>
skipOnFailure(Steps&&...) -> skipOnFailure<Steps...>;

}  // namespace lirabox
