#pragma once
// The one-line window's behaviour: one line with the main window's time and
// file-name texts, refreshed every 50 ms, that the user drags anywhere with
// the mouse. It has a popup menu on its text and another on the strip around
// it, takes file drops and switches back to the full window on Alt+Enter.
// The Qt window only forwards its events and timer here.

#include "OneLineView.h"
#include "player/MainView.h"
#include "player/Twips.h"
#include "player/WindowModeView.h"
#include "support/DesktopServices.h"
#include "support/UiText.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lirabox {
class frmMain;
}

namespace lirabox::oneline {

// Where a mouse button went down: on the text lblMain or on the window's
// background, the thin strip at its right and bottom edges.
enum class OneLineArea {
    Label,
    Background,
};

enum class MouseButton {
    Left,
    Right,
    Middle,
};

class frmMin {
public:
    static constexpr const char* kTitle = "Lirabox";
    // Between the time text and the file name.
    static constexpr const char* kGap = "    ";
    // The label's text until the first refresh.
    static constexpr UiText kDesignText = LIRABOX_TEXT("frmMin", "00:00:00 / 00:00:00    ファイルがありません");
    // The client area, and the label's place in it (all but a strip at the
    // right and bottom edges), in twips.
    static constexpr double kClientWidth = 4545;
    static constexpr double kClientHeight = 255;
    static constexpr TwipsRect kLblMain {0, 0, 4530, 240};
    // Timer1's interval in milliseconds.
    static constexpr int kTimer1Interval = 50;

    frmMin(frmMain& main, const MainView& mainView, const WindowModeView& mainWindow, OneLineView& view,
           std::shared_ptr<DesktopServices> desktop = systemDesktopServices());

    // The text the label shows for these main-window texts.
    static std::string LabelText(const std::string& timeText, const std::string& fileText);

    // Applies the main window's always-on-top state to this window.
    void Form_Load();
    // The 50 ms refresh.
    void Timer1_Timer();
    // A key pressed in the window; true when it was Alt+Enter and switched back.
    bool Form_KeyDown(std::int32_t keyCode, std::int32_t shift);

    // Pointer positions in twips, relative to the control that reports them
    // (the label stands at the window's origin, so both report alike).
    void MouseDown(OneLineArea area, MouseButton button, double x, double y);
    void MouseMove(double x, double y);
    void MouseUp();

    // The window's close button: back to the full window, as closing this
    // window alone would leave the program running with no window at all.
    void Form_Close();

    // Files dropped on the label or the window: the first is opened.
    void OLEDragDrop(const std::vector<std::string>& files);

    bool dragging() const { return mDragging; }

private:
    void startDrag(double x, double y);
    void doDrag(double x, double y);
    void endDrag();

    frmMain& mMain;
    const MainView& mMainView;
    const WindowModeView& mMainWindow;
    OneLineView& mView;
    std::shared_ptr<DesktopServices> mDesktop;
    std::int32_t mDragX = 0;
    std::int32_t mDragY = 0;
    bool mDragging = false;
};

}  // namespace lirabox::oneline
