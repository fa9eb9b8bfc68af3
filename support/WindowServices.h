#pragma once
// The window calls the placement code stands on: reading and applying a
// top-level window's placement, its minimised/maximised state, its outer
// rectangle and the size of the screen. All values are pixels.

#include <cstdint>

namespace lirabox {

// Native window id (the X window id on X11).
using WindowHandle = std::uintptr_t;

struct PixelPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct PixelRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// Show commands a placement carries.
inline constexpr std::int32_t kShowMinimized = 2;
inline constexpr std::int32_t kShowMaximized = 3;
inline constexpr std::int32_t kShowNormal = 5;

// Size of the placement record as the window calls know it.
inline constexpr std::uint32_t kWindowPlacementLength = 44;

struct WindowPlacement {
    std::uint32_t length = kWindowPlacementLength;
    std::uint32_t flags = 0;
    std::int32_t showCmd = kShowNormal;
    PixelPoint minPosition;
    PixelPoint maxPosition;
    // The window's rectangle in its restored (neither minimised nor maximised)
    // state: the frame's outer edges, right and bottom exclusive.
    PixelRect normalPosition;
};

class WindowServices {
public:
    virtual ~WindowServices() = default;

    // False when the window is unknown.
    virtual bool GetWindowPlacement(WindowHandle window, WindowPlacement& placement) = 0;
    virtual bool SetWindowPlacement(WindowHandle window, const WindowPlacement& placement) = 0;
    virtual bool IsIconic(WindowHandle window) = 0;
    virtual bool IsZoomed(WindowHandle window) = 0;
    // The frame's present outer rectangle.
    virtual bool GetWindowRect(WindowHandle window, PixelRect& rect) = 0;

    // The desktop's size: right = width, bottom = height (all 0 when unknown).
    virtual PixelRect DesktopClientRect() = 0;
    // The primary screen's size, likewise.
    virtual PixelRect PrimaryScreenRect() = 0;
};

}  // namespace lirabox
