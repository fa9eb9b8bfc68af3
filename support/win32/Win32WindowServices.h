#pragma once
// The window calls of the placement code, done by Windows itself. A
// WindowHandle is an HWND.

#include "support/WindowServices.h"

namespace lirabox {

class Win32WindowServices final : public WindowServices {
public:
    bool GetWindowPlacement(WindowHandle window, WindowPlacement& placement) override;
    bool SetWindowPlacement(WindowHandle window, const WindowPlacement& placement) override;
    bool IsIconic(WindowHandle window) override;
    bool IsZoomed(WindowHandle window) override;
    bool GetWindowRect(WindowHandle window, PixelRect& rect) override;
    PixelRect DesktopClientRect() override;
    PixelRect PrimaryScreenRect() override;
};

}  // namespace lirabox
