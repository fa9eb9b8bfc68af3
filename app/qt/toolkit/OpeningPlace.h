#pragma once
// Where a top-level window opens when nothing says otherwise: its frame
// centred on the primary screen's available area (panels excluded), or at
// that area's top-left corner when the frame is larger.

class QWidget;

namespace lirabox {

// Creates the window's native window (so the window manager can estimate its
// decoration) and moves the hidden window there, without showing it. Give the
// window its final size first.
void giveOpeningPlace(QWidget& window);

}  // namespace lirabox
