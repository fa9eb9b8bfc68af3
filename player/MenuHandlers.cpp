#include "MenuHandlers.h"

#include "HelpAndVersion.h"
#include "frmMain.h"
#include "support/AppPaths.h"
#include "support/clsCommonUtil.h"

#include <filesystem>

namespace lirabox {
namespace {

constexpr std::int32_t kKeyEnter = 13;
constexpr std::int32_t kAltOnly = 4;
// ASyncExecute's results up to this one are failures.
constexpr std::int32_t kOpenFailureLimit = 32;

}  // namespace

bool isViewSwitchKey(std::int32_t keyCode, std::int32_t shift) { return keyCode == kKeyEnter && shift == kAltOnly; }

MenuHandlers::MenuHandlers(frmMain& form, MainView& view, WindowModeView& window,
                           std::shared_ptr<DesktopServices> desktop)
    : mForm(form), mView(view), mWindow(window), mDesktop(std::move(desktop)) {}

void MenuHandlers::setTopMost(std::uintptr_t window, bool above) {
    clsCommonUtil util(mDesktop);
    util.setObject(window);
    util.setTopMost(above);
}

void MenuHandlers::chkOnTop_Click() {
    const bool checked = mWindow.chkOnTop() == 1;
    mWindow.setOnTopCheckMarks(checked);
    setTopMost(mView.WindowHandle(), checked);
    // X does not carry an owner's state over to the windows it owns.
    if (const std::uintptr_t oneLine = mWindow.oneLineWindowHandle(); oneLine != 0) setTopMost(oneLine, checked);
}

void MenuHandlers::mnuSetOnTop_Click() {
    mWindow.setChkOnTop(mWindow.chkOnTop() == 1 ? 0 : 1);
    chkOnTop_Click();
}

void MenuHandlers::mnuToLineMode_Click() {
    mWindow.setMainWindowVisible(false);
    mForm.setFullMode(false);
    if (mWindow.oneLineWindowHandle() == 0) mWindow.loadOneLineWindow();
}

void MenuHandlers::mnuToFullMode_Click() {
    mWindow.unloadOneLineWindow();
    mForm.setFullMode(true);
    // A window manager may drop the "above" state of a hidden window (EWMH
    // asks it to): it is asked for again before the window is mapped.
    setTopMost(mView.WindowHandle(), mWindow.chkOnTop() == 1);
    mWindow.setMainWindowVisible(true);
}

void MenuHandlers::mnuMokuji_Click() {
    const std::string executableFolder = std::filesystem::path(executablePath()).parent_path().string();
    if (const auto document = helpDocument(mWindow.helpFile(), executableFolder)) {
        clsCommonUtil util(mDesktop);
        util.setObject(mView.WindowHandle());
        if (util.ASyncExecute(*document, "", kShowDefault) <= kOpenFailureLimit) {
            mView.MsgBox(shown(kHelpNotOpened) + "\n" + *document, MessageIcon::Critical, frmMain::kTitle);
        }
        return;
    }
    mView.MsgBox(shown(kHelpMissing), MessageIcon::None, frmMain::kTitle);
}

void MenuHandlers::mnuVer_Click() {
    mView.MsgBox(VersionText(programVersion()), MessageIcon::Information, shown(kVersionTitle));
}

void MenuHandlers::mnuQuit_Click() {
    mWindow.unloadOneLineWindow();
    mView.closeMainWindow();
}

bool MenuHandlers::Form_KeyDown(std::int32_t keyCode, std::int32_t shift) {
    if (!isViewSwitchKey(keyCode, shift)) return false;
    mForm.runCommand(Command::OneLineMode);
    return true;
}

}  // namespace lirabox
