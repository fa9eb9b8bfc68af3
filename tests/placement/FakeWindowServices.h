#pragma once
// Window services over one imaginary window on an imaginary screen; records
// what was asked of it.

#include "support/WindowServices.h"

#include <optional>
#include <string>
#include <vector>

namespace lirabox::test {

class FakeWindowServices final : public WindowServices {
public:
    static constexpr WindowHandle kWindow = 0x1234;

    // The window's state (only kWindow exists).
    PixelRect windowRect {200, 100, 500, 300};      // 300 x 200 where it is now
    PixelRect normalPosition {210, 110, 510, 310};  // its restored-state rectangle
    bool iconic = false;
    bool zoomed = false;
    bool placementAvailable = true;  // false: GetWindowPlacement fails

    PixelRect desktopClient {0, 0, 1024, 768};
    PixelRect primaryScreen {0, 0, 1280, 1024};

    // Every SetWindowPlacement, in order.
    std::vector<WindowPlacement> applied;
    // Names of the calls, in order.
    std::vector<std::string> calls;

    bool GetWindowPlacement(WindowHandle window, WindowPlacement& placement) override {
        calls.emplace_back("GetWindowPlacement");
        if (window != kWindow || !placementAvailable) return false;
        placement = WindowPlacement {};
        placement.showCmd = iconic ? kShowMinimized : zoomed ? kShowMaximized : kShowNormal;
        placement.normalPosition = normalPosition;
        return true;
    }
    bool SetWindowPlacement(WindowHandle window, const WindowPlacement& placement) override {
        calls.emplace_back("SetWindowPlacement");
        if (window != kWindow) return false;
        applied.push_back(placement);
        return true;
    }
    bool IsIconic(WindowHandle window) override {
        calls.emplace_back("IsIconic");
        return window == kWindow && iconic;
    }
    bool IsZoomed(WindowHandle window) override {
        calls.emplace_back("IsZoomed");
        return window == kWindow && zoomed;
    }
    bool GetWindowRect(WindowHandle window, PixelRect& rect) override {
        calls.emplace_back("GetWindowRect");
        if (window != kWindow) return false;
        rect = windowRect;
        return true;
    }
    PixelRect DesktopClientRect() override { return desktopClient; }
    PixelRect PrimaryScreenRect() override { return primaryScreen; }
};

}  // namespace lirabox::test
