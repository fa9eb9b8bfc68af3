#pragma once
// Small helpers for driving Qt widgets in tests without a display.

#include <chrono>
#include <functional>

class QWidget;

namespace lirabox::test {

// Runs the event loop until the condition holds or the time is up; returns the condition.
bool processEventsUntil(const std::function<bool()>& condition,
                        std::chrono::milliseconds limit = std::chrono::seconds(10));

// Calls the handler with the next modal widget (message box, file dialog) as
// soon as it shows; the handler must close it.
void whenModalShows(std::function<void(QWidget&)> handler);

}  // namespace lirabox::test
