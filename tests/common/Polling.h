#pragma once
// Waiting, bounded, for something another process or the X server does.

#include <chrono>
#include <functional>

namespace lirabox::test {

// Polls until the condition holds or the time is up; returns the condition.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(30));

}  // namespace lirabox::test
