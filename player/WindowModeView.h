#pragma once
// What the always-on-top switch, the view switching and the help menu ask of
// the main window, beside MainView. The Qt window implements it; tests use a fake.

#include <cstdint>
#include <string>

namespace lirabox {

class WindowModeView {
public:
    virtual ~WindowModeView() = default;

    // The check box chkOnTop: 0 unchecked, 1 checked. Setting it raises nothing.
    virtual int chkOnTop() const = 0;
    virtual void setChkOnTop(int value) = 0;
    // The check marks of the two "常に手前に表示" menu items.
    virtual void setOnTopCheckMarks(bool checked) = 0;

    virtual void setMainWindowVisible(bool visible) = 0;

    // Creates the one-line window afresh and shows it, owned by the main
    // window; it applies the always-on-top state itself when it loads.
    virtual void loadOneLineWindow() = 0;
    // Closes and destroys the one-line window; nothing when there is none.
    virtual void unloadOneLineWindow() = 0;
    // The one-line window's native id, 0 while there is none.
    virtual std::uintptr_t oneLineWindowHandle() const = 0;

    // The path MainView::setHelpFile last set.
    virtual std::string helpFile() const = 0;
};

}  // namespace lirabox
