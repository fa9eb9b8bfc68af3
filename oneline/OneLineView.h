#pragma once
// What the one-line window's behaviour asks of its window. The Qt window
// implements it; tests use a fake.

#include <cstdint>
#include <string>

namespace lirabox::oneline {

// The two popup menus the window shows: the "1行モード" menu on its text, the
// main window's "表示" menu on the strip around it.
enum class OneLineMenu {
    Sub,
    ETC,
};

class OneLineView {
public:
    virtual ~OneLineView() = default;

    virtual std::string lblMain() const = 0;
    virtual void setLblMain(const std::string& text) = 0;

    // The window frame's left and top edges on the screen, in twips.
    virtual double Left() const = 0;
    virtual double Top() const = 0;
    // Moves the frame to these edges (twips); the size stays.
    virtual void Move(double left, double top) = 0;
    // Hands a drag that is starting to the desktop, where only the desktop may
    // move windows (Wayland: the compositor's interactive move). False where
    // the window moves itself.
    virtual bool startSystemMove() { return false; }

    // Shows the menu at the pointer.
    virtual void PopupMenu(OneLineMenu menu) = 0;

    // The native id of the window (the X window id on X11).
    virtual std::uintptr_t WindowHandle() const = 0;
};

}  // namespace lirabox::oneline
