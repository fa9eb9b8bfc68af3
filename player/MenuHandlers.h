#pragma once
// The main window's "表示" and "ヘルプ" menus, the one-line window's popup and
// the check box chkOnTop: the always-on-top switch, the switch between the
// full window and the one-line window, help, version and quitting from
// either view. frmMain::runCommand calls these for the commands they carry out.
//
// chkOnTop is the one record of the always-on-top state: the two menu check
// marks mirror it and the windows follow it. It is never saved.

#include "MainView.h"
#include "WindowModeView.h"
#include "support/DesktopServices.h"
#include "support/UiText.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace lirabox {

class frmMain;

// Alt+Enter, with no Shift or Ctrl: the key that switches between the two
// views. keyCode is a virtual-key code, shift the modifier code (Shift 1,
// Ctrl 2, Alt 4).
bool isViewSwitchKey(std::int32_t keyCode, std::int32_t shift);

class MenuHandlers {
public:
    static constexpr UiText kHelpMissing = LIRABOX_TEXT("frmMain", "ヘルプファイルがありません。");
    // Followed by a line with the document's path.
    static constexpr UiText kHelpNotOpened = LIRABOX_TEXT("frmMain", "ヘルプファイルを開けませんでした。");
    static constexpr UiText kVersionTitle = LIRABOX_TEXT("frmMain", "バージョン情報");
    // The show mode the help document is opened with: the desktop's default.
    static constexpr std::int32_t kShowDefault = 10;

    // Runs a task on the UI thread, later; callable from any thread.
    using UiThreadPoster = std::function<void(std::function<void()> task)>;

    MenuHandlers(frmMain& form, MainView& view, WindowModeView& window,
                 std::shared_ptr<DesktopServices> desktop = systemDesktopServices());
    ~MenuHandlers();
    MenuHandlers(const MenuHandlers&) = delete;
    MenuHandlers& operator=(const MenuHandlers&) = delete;

    // How a failure the desktop tells only later (DesktopServices::open)
    // reaches the UI thread to be shown; without one it goes unreported. The
    // poster is not called once these handlers are destroyed.
    void setUiThreadPoster(UiThreadPoster post);

    // The check box was clicked: the marks and the windows follow its state.
    void chkOnTop_Click();
    // Either "常に手前に表示" item: turns the check box over.
    void mnuSetOnTop_Click();

    void mnuToLineMode_Click();
    void mnuToFullMode_Click();

    // Opens the help document (helpDocument()); says so, naming the document,
    // when the desktop could not start anything to show it, or (through the
    // UI thread poster) when what it started ends up showing nothing.
    void mnuMokuji_Click();
    void mnuVer_Click();

    // "終了" of either view: the one-line window closes, then the main window
    // (which runs the normal shut-down).
    void mnuQuit_Click();

    // A key pressed anywhere in the main window; true when it was Alt+Enter
    // and switched the view.
    bool Form_KeyDown(std::int32_t keyCode, std::int32_t shift);

private:
    // What a late failure needs: whom to tell, and how to reach its thread.
    struct LateFailures;

    void setTopMost(std::uintptr_t window, bool above);
    void sayHelpNotOpened(const std::string& document);

    frmMain& mForm;
    MainView& mView;
    WindowModeView& mWindow;
    std::shared_ptr<DesktopServices> mDesktop;
    std::shared_ptr<LateFailures> mLateFailures;
};

}  // namespace lirabox
