#include "Desktop.h"

#include <array>
#include <cstdio>
#include <sstream>
#include <thread>

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

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

std::vector<XWindow> visibleWindows(pid_t pid) {
    std::istringstream lines(commandOutput("xdotool search --onlyvisible --pid " + std::to_string(pid) + " --name ."));
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

XWindow findWindow(pid_t pid, const std::string& name, bool dialog) {
    for (const XWindow window : visibleWindows(pid)) {
        if (windowName(window) == name && isDialog(window) == dialog) return window;
    }
    return 0;
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
    run("xdotool mousemove --window " + id(window) + " " + std::to_string(x) + " " + std::to_string(y) +
        " click 1");
}

void drag(XWindow window, int fromX, int fromY, int toX, int toY) {
    run("xdotool mousemove --window " + id(window) + " " + std::to_string(fromX) + " " + std::to_string(fromY) +
        " mousedown 1 sleep 0.1 mousemove --window " + id(window) + " " + std::to_string((fromX + toX) / 2) + " " +
        std::to_string(toY) + " sleep 0.1 mousemove --window " + id(window) + " " + std::to_string(toX) + " " +
        std::to_string(toY) + " sleep 0.1 mouseup 1");
}

}  // namespace lirabox::test
