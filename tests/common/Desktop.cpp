#include "Desktop.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <sstream>

namespace lirabox::test {
namespace {

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (const char c : text) {
        if (c == '\'') {
            result += "'\\''";
        } else {
            result += c;
        }
    }
    return result + "'";
}

std::string id(XWindow window) { return std::to_string(window); }

void run(const std::string& command) { commandOutput(command); }

}  // namespace

std::string commandOutput(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) return output;
    std::array<char, 4096> buffer {};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
    ::pclose(pipe);
    return output;
}

// --all: without it xdotool takes any window that matches the name, whatever its process.
std::vector<XWindow> visibleWindows(pid_t pid) {
    std::istringstream lines(
        commandOutput("xdotool search --all --onlyvisible --pid " + std::to_string(pid) + " --name ."));
    std::vector<XWindow> windows;
    for (XWindow window = 0; lines >> window;) windows.push_back(window);
    return windows;
}

std::string windowName(XWindow window) {
    std::string name = commandOutput("xdotool getwindowname " + id(window));
    while (!name.empty() && name.back() == '\n') name.pop_back();
    return name;
}

bool isDialog(XWindow window) {
    return commandOutput("xprop -id " + id(window) + " _NET_WM_WINDOW_TYPE").find("_NET_WM_WINDOW_TYPE_DIALOG") !=
           std::string::npos;
}

WindowGeometry geometry(XWindow window) {
    WindowGeometry size;
    std::istringstream lines(commandOutput("xdotool getwindowgeometry --shell " + id(window)));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("WIDTH=", 0) == 0) size.width = std::stoi(line.substr(6));
        if (line.rfind("HEIGHT=", 0) == 0) size.height = std::stoi(line.substr(7));
    }
    return size;
}

std::size_t shownWindowCount(pid_t pid) {
    std::istringstream lines(commandOutput("xdotool search --onlyvisible --pid " + std::to_string(pid)));
    std::size_t count = 0;
    for (XWindow window = 0; lines >> window;) ++count;
    return count;
}

bool opensWindow(pid_t pid, const std::function<void()>& open) {
    const std::size_t before = shownWindowCount(pid);
    open();
    return waitUntil([&] { return shownWindowCount(pid) > before; }, std::chrono::seconds(10));
}

XWindow findWindow(pid_t pid, const std::string& name, bool dialog) {
    for (const XWindow window : visibleWindows(pid)) {
        if (windowName(window) == name && isDialog(window) == dialog) return window;
    }
    return 0;
}

XWindow waitForWindow(pid_t pid, const std::string& name, bool dialog) {
    XWindow window = 0;
    waitUntil([&] { return (window = findWindow(pid, name, dialog)) != 0; });
    return window;
}

namespace {

// The number after "label" in xwininfo's output, if any.
std::optional<int> xwininfoValue(const std::string& info, const std::string& label) {
    const auto at = info.find(label);
    if (at == std::string::npos) return std::nullopt;
    std::istringstream value(info.substr(at + label.size()));
    int number = 0;
    if (value >> number) return number;
    return std::nullopt;
}

}  // namespace

std::optional<ScreenRect> frameRect(XWindow window) {
    const std::string info = commandOutput("xwininfo -id " + id(window));
    if (info.find("Map State: IsViewable") == std::string::npos) return std::nullopt;
    const auto x = xwininfoValue(info, "Absolute upper-left X:");
    const auto y = xwininfoValue(info, "Absolute upper-left Y:");
    const auto width = xwininfoValue(info, "Width:");
    const auto height = xwininfoValue(info, "Height:");
    // "_NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom"
    std::string extents = commandOutput("xprop -id " + id(window) + " _NET_FRAME_EXTENTS");
    const auto equals = extents.find('=');
    if (!x || !y || !width || !height || equals == std::string::npos) return std::nullopt;
    extents = extents.substr(equals + 1);
    std::replace(extents.begin(), extents.end(), ',', ' ');
    std::istringstream values(extents);
    int left = 0, right = 0, top = 0, bottom = 0;
    if (!(values >> left >> right >> top >> bottom)) return std::nullopt;
    return ScreenRect {*x - left, *y - top, *width + left + right, *height + top + bottom};
}

ScreenRect screenRect() {
    const std::string info = commandOutput("xwininfo -root");
    return {0, 0, xwininfoValue(info, "Width:").value_or(0), xwininfoValue(info, "Height:").value_or(0)};
}

void moveWindow(XWindow window, int x, int y) {
    run("xdotool windowmove " + id(window) + " " + std::to_string(x) + " " + std::to_string(y));
}

void activate(XWindow window) { run("timeout 5 xdotool windowactivate --sync " + id(window)); }

void pressKeys(XWindow window, const std::string& keys) {
    activate(window);
    run("xdotool key --clearmodifiers " + keys);
}

void typeText(XWindow window, const std::string& text) {
    activate(window);
    run("xdotool type --delay 5 " + quoted(text));
}

void click(XWindow window, int x, int y) {
    run("xdotool mousemove --window " + id(window) + " " + std::to_string(x) + " " + std::to_string(y) + " click 1");
}

void drag(XWindow window, int fromX, int fromY, int toX, int toY) {
    run("xdotool mousemove --window " + id(window) + " " + std::to_string(fromX) + " " + std::to_string(fromY) +
        " mousedown 1 sleep 0.1 mousemove --window " + id(window) + " " + std::to_string((fromX + toX) / 2) + " " +
        std::to_string(toY) + " sleep 0.1 mousemove --window " + id(window) + " " + std::to_string(toX) + " " +
        std::to_string(toY) + " sleep 0.1 mouseup 1");
}

}  // namespace lirabox::test
