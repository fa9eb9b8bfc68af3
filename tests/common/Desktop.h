#pragma once
// Drives a real X desktop the way a user would, through xdotool, xprop and
// xwininfo: finds a program's windows, clicks into them, types keys, moves
// them through the window manager and reads where their frames are.

#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "Polling.h"

namespace lirabox::test {

using XWindow = unsigned long;

struct WindowGeometry {
    int width = 0;
    int height = 0;
};

// A rectangle in root-window pixels.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ScreenRect&) const = default;
};

// Output of a shell command (stdout), or nothing when it fails.
std::string commandOutput(const std::string& command);

// The process's mapped windows.
std::vector<XWindow> visibleWindows(pid_t pid);
std::string windowName(XWindow window);
// True for dialog windows (message boxes, file dialogs).
bool isDialog(XWindow window);
WindowGeometry geometry(XWindow window);

// How many windows of the process are mapped, menus and popups included
// (those do not match a search by name).
std::size_t shownWindowCount(pid_t pid);
// Runs `open` (a click or key that opens a menu or popup) and waits until
// the process shows one window more than before; false when none comes.
bool opensWindow(pid_t pid, const std::function<void()>& open);

// The first visible window of the process with this name and kind, or 0.
XWindow findWindow(pid_t pid, const std::string& name, bool dialog);
// The same, waiting for it to appear; 0 when it does not.
XWindow waitForWindow(pid_t pid, const std::string& name, bool dialog);

// The window's frame as the window manager drew it: the client's place on the
// root window widened by _NET_FRAME_EXTENTS. Nothing while the window is not
// mapped or not decorated yet.
std::optional<ScreenRect> frameRect(XWindow window);
// The whole screen.
ScreenRect screenRect();
// Asks the window manager to move the window, as a program or a user would.
void moveWindow(XWindow window, int x, int y);

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
