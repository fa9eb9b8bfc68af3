#include "frmMin.h"

#include "player/MenuHandlers.h"
#include "player/frmMain.h"
#include "support/RaisedError.h"
#include "support/VbConvert.h"
#include "support/clsCommonUtil.h"

namespace lirabox::oneline {

frmMin::frmMin(frmMain& main, const MainView& mainView, const WindowModeView& mainWindow, OneLineView& view,
               std::shared_ptr<DesktopServices> desktop)
    : mMain(main), mMainView(mainView), mMainWindow(mainWindow), mView(view), mDesktop(std::move(desktop)) {}

std::string frmMin::LabelText(const std::string& timeText, const std::string& fileText) {
    return timeText + kGap + fileText;
}

void frmMin::Form_Load() {
    clsCommonUtil util(mDesktop);
    util.setObject(mView.WindowHandle());
    util.setTopMost(mMainWindow.chkOnTop() == 1);
}

void frmMin::Timer1_Timer() { mView.setLblMain(LabelText(mMainView.lblTimeNow(), mMainView.lblFile())); }

bool frmMin::Form_KeyDown(std::int32_t keyCode, std::int32_t shift) {
    if (!isViewSwitchKey(keyCode, shift)) return false;
    mMain.runCommand(Command::FullMode);
    return true;
}

void frmMin::MouseDown(OneLineArea area, MouseButton button, double x, double y) {
    if (button == MouseButton::Right) {
        mView.PopupMenu(area == OneLineArea::Label ? OneLineMenu::Sub : OneLineMenu::ETC);
        return;
    }
    startDrag(x, y);
}

void frmMin::MouseMove(double x, double y) { doDrag(x, y); }

void frmMin::MouseUp() { endDrag(); }

void frmMin::Form_Close() { mMain.runCommand(Command::FullMode); }

void frmMin::OLEDragDrop(const std::vector<std::string>& files) { mMain.OLEDragDrop(files); }

void frmMin::startDrag(double x, double y) {
    if (mView.startSystemMove()) return;  // the desktop moves it until the button is released
    try {
        mDragX = toInt32(x);
        mDragY = toInt32(y);
        mDragging = true;
    } catch (const RaisedError&) {
        // A position beyond any screen starts no drag.
    }
}

// The grabbed point stays under the pointer.
void frmMin::doDrag(double x, double y) {
    if (!mDragging) return;
    mView.Move(mView.Left() - mDragX + x, mView.Top() - mDragY + y);
}

void frmMin::endDrag() { mDragging = false; }

}  // namespace lirabox::oneline
