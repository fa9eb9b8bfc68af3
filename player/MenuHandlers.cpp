#include "MenuHandlers.h"

#include "HelpAndVersion.h"
#include "frmMain.h"
#include "support/AppPaths.h"
#include "support/clsCommonUtil.h"

#include <filesystem>
#include <mutex>

namespace lirabox {
namespace {

constexpr std::int32_t kKeyEnter = 13;
constexpr std::int32_t kAltOnly = 4;
// ASyncExecute's results up to this one are failures.
constexpr std::int32_t kOpenFailureLimit = 32;

}  // namespace

// Shared with the threads that wait for an opener: `owner` is cleared when the
// handlers go, under the lock the waiting threads post under.
struct MenuHandlers::LateFailures {
    explicit LateFailures(MenuHandlers* handlers) : owner(handlers) {}

    std::mutex lock;
    MenuHandlers* owner;
    UiThreadPoster post;
};

bool isViewSwitchKey(std::int32_t keyCode, std::int32_t shift) { return keyCode == kKeyEnter && shift == kAltOnly; }

MenuHandlers::MenuHandlers(frmMain& form, MainView& view, WindowModeView& window,
                           std::shared_ptr<DesktopServices> desktop)
    : mForm(form), mView(view), mWindow(window), mDesktop(std::move(desktop)),
      mLateFailures(std::make_shared<LateFailures>(this)) {}

MenuHandlers::~MenuHandlers() {
    const std::lock_guard guard(mLateFailures->lock);
    mLateFailures->owner = nullptr;
}

void MenuHandlers::setUiThreadPoster(UiThreadPoster post) {
    const std::lock_guard guard(mLateFailures->lock);
    mLateFailures->post = std::move(post);
}

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
        auto failedLater = [late = mLateFailures, path = *document] {
            const std::lock_guard guard(late->lock);
            if (late->owner == nullptr || !late->post) return;
            // On the UI thread, where owner is cleared: it is read there unlocked.
            late->post([late, path] {
                if (late->owner != nullptr) late->owner->sayHelpNotOpened(path);
            });
        };
        if (util.ASyncExecute(*document, "", kShowDefault, std::move(failedLater)) <= kOpenFailureLimit) {
            sayHelpNotOpened(*document);
        }
        return;
    }
    mView.MsgBox(shown(kHelpMissing), MessageIcon::None, frmMain::kTitle);
}

void MenuHandlers::sayHelpNotOpened(const std::string& document) {
    mView.MsgBox(shown(kHelpNotOpened) + "\n" + document, MessageIcon::Critical, frmMain::kTitle);
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
