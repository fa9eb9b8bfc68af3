#pragma once
// The errors every engine raises (traced as they are raised), the checks of
// the values callers hand an engine, and how a load waits for its answer.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "support/RaisedError.h"

namespace lirabox::media {

// The longest URL() waits: long enough for a disk that spins up or a slow
// network share.
inline constexpr std::chrono::milliseconds kLoadWait {30000};

// How URL() waits for the engine's answer. The waiter is handed `waitBriefly`,
// which waits for at most about 50 ms and tells whether the load is decided
// (open, failed or out of time); the waiter calls it until it says so and may
// run the GUI's event loop in between. A waiter that returns before that gives
// the load up (the user quits): URL() then throws kErrLoadGivenUp. While a load waits, a second URL() is
// refused (kErrLoadBusy); the other calls work on the loaded recording until
// the new file has been opened and checked, then on the empty engine. A file
// that fails those checks leaves the loaded recording as it was. An empty
// function goes back to a plain wait.
using LoadWaiter = std::function<void(const std::function<bool()>& waitBriefly)>;

// RaisedError kObjectErrorBase + `code`, source "MediaEngine".
RaisedError engineError(std::int32_t code, const std::string& description);

// The shortest text that reads back as `value`.
std::string numberText(double value);

// Each throws kErrBadValue for a value out of range.
void requireValidRate(double rate);            // 0.01 .. 100
void requireValidVolume(std::int32_t volume);  // 0 .. 100
void requireValidPosition(double seconds);     // any number but NaN

}  // namespace lirabox::media
