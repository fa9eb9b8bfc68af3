#pragma once
// Where the player's controls are on the screen: the window's fixed width
// tells the DPI its twips were converted with, the client area sits at the
// bottom below the menu bar.

#include <cmath>

#include "tests/common/Desktop.h"

namespace lirabox::test {

struct PlayerWindow {
    XWindow window = 0;
    double dpi = 96;
    int clientTop = 0;

    static PlayerWindow of(XWindow window) {
        const WindowGeometry size = geometry(window);
        PlayerWindow layout;
        layout.window = window;
        layout.dpi = size.width * 1440.0 / 7170.0;
        layout.clientTop = size.height - static_cast<int>(std::lround(1155 * layout.dpi / 1440));
        return layout;
    }
    // Window pixels of a client-area point given in twips.
    int x(double twips) const { return static_cast<int>(std::lround(twips * dpi / 1440)); }
    int y(double twips) const { return clientTop + x(twips); }

    void clickAt(double xTwips, double yTwips) const { click(window, x(xTwips), y(yTwips)); }
    void clickPlay() const { clickAt(15 + 885 / 2.0, 555 + 600 / 2.0); }
    void clickStop() const { clickAt(885 + 555 / 2.0, 555 + 600 / 2.0); }
};

}  // namespace lirabox::test
