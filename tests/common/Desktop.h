#pragma once
// Drives a real X desktop the way a user would, through xdotool and xprop:
// finds a program's windows, clicks into them, types keys.

#include <chrono>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace lirabox::test {

using XWindow = unsigned long;

struct WindowGeometry {
    int width = 0;
    int height = 0;
};

// Output of a shell command (stdout), or nothing when it fails.
std::string commandOutput(const std::string& command);

// Polls until the condition holds or the time is up; returns the condition.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(20));

// The process's mapped windows.
std::vector<XWindow> visibleWindows(pid_t pid);
std::string windowName(XWindow window);
// True for dialog windows (message boxes, file dialogs).
bool isDialog(XWindow window);
WindowGeometry geometry(XWindow window);

// The first visible window of the process with this name and kind, or 0.
XWindow findWindow(pid_t pid, const std::string& name, bool dialog);

// Makes the window the active one, so keys go to it.
void activate(XWindow window);
// Presses keys (xdotool names, e.g. "ctrl+q", "Return") on the active window.
void pressKeys(XWindow window, const std::string& keys);
void typeText(XWindow window, const std::string& text);
// Clicks at a point given in the window's own pixels.
void click(XWindow window, int x, int y);
// Presses the left button at one point, moves to another, releases.
void drag(XWindow window, int fromX, int fromY, int toX, int toY);

}  // namespace lirabox::test
