// The main window's part in the always-on-top switch and the view switching:
// the check box, the menus' check marks, hiding and showing, and the one-line
// window's lifetime.

#include <QAction>
#include <QCheckBox>
#include <QSignalBlocker>

#include "KeyPreview.h"
#include "MainWindow.h"
#include "app/qt/toolkit/AboveState.h"
#include "player/MenuHandlers.h"

namespace lirabox::qt {

void MainWindow::connectMenus(MenuHandlers& menus) {
    connectViewMenus(mViewMenu, mOneLinePopup, *mForm);
    connectHelpMenu(mHelpMenu, *mForm);
    // Every change by the user (a click, Space, a screen reader's toggle) is
    // the click; the window's own changes block the signal.
    connect(mChkOnTop, &QCheckBox::toggled, this, [&menus] { menus.chkOnTop_Click(); });
    if (!desktopKeepsWindowsAbove()) {
        markAboveUnavailable(*mChkOnTop);
        markAboveUnavailable(*mViewMenu.mnuSetOnTop);
        markAboveUnavailable(*mOneLinePopup.mnuSetOnTopSub);
    }
    new KeyPreview(*this,
                   [&menus](std::int32_t keyCode, std::int32_t shift) { return menus.Form_KeyDown(keyCode, shift); });
    // The handlers go before this window does (see PlayerAssembly), so a task
    // is never posted to a window that is gone.
    menus.setUiThreadPoster(
        [this](std::function<void()> task) { QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection); });
}

int MainWindow::chkOnTop() const { return mChkOnTop->isChecked() ? 1 : 0; }
void MainWindow::setChkOnTop(int value) {
    const QSignalBlocker quiet(mChkOnTop);
    mChkOnTop->setChecked(value == 1);
}

void MainWindow::setOnTopCheckMarks(bool checked) {
    mViewMenu.mnuSetOnTop->setChecked(checked);
    mOneLinePopup.mnuSetOnTopSub->setChecked(checked);
}

void MainWindow::setMainWindowVisible(bool visible) { setVisible(visible); }

void MainWindow::loadOneLineWindow() {
    if (mOneLineWindow || !mOneLineFactory) return;
    mOneLineWindow = mOneLineFactory(*this);
    if (mOneLineWindow) mOneLineWindow->show();
}

// The window may be the one whose event is being handled: it goes once that is done.
void MainWindow::unloadOneLineWindow() {
    if (!mOneLineWindow) return;
    QWidget* window = mOneLineWindow;
    mOneLineWindow = nullptr;
    window->hide();
    window->deleteLater();
}

std::uintptr_t MainWindow::oneLineWindowHandle() const {
    return mOneLineWindow ? static_cast<std::uintptr_t>(mOneLineWindow->winId()) : 0;
}

}  // namespace lirabox::qt
