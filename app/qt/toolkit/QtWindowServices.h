#pragma once
// Window services for Qt top-level widgets. A WindowHandle is the widget's
// native id (QWidget::winId()); rectangles are the frame's outer edges in Qt's
// pixel coordinates, right and bottom exclusive.

#include "support/WindowServices.h"

namespace lirabox {

class QtWindowServices final : public WindowServices {
public:
    bool GetWindowPlacement(WindowHandle window, WindowPlacement& placement) override;
    // Lands the frame's top-left corner exactly on the rectangle's; the frame
    // keeps the rectangle's size. A window not shown yet is shown by it.
    bool SetWindowPlacement(WindowHandle window, const WindowPlacement& placement) override;
    bool IsIconic(WindowHandle window) override;
    bool IsZoomed(WindowHandle window) override;
    bool GetWindowRect(WindowHandle window, PixelRect& rect) override;
    // The primary screen's available area (panels excluded), as its far edges.
    PixelRect DesktopClientRect() override;
    // The primary screen's full area, as its far edges.
    PixelRect PrimaryScreenRect() override;
};

}  // namespace lirabox
