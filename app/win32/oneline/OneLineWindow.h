#pragma once
// The one-line window frmMin as a native Win32 window: the label lblMain over
// a client area of 4545 x 255 twips, the refresh timer Timer1, dragging with
// the mouse, the two popup menus, file drops, Alt+Enter and the close button.
// What they do is frmMin's: this class only shows what it asks and forwards
// the window's messages.

#include "app/win32/toolkit/WindowProcedure.h"
#include "oneline/OneLineView.h"
#include "oneline/frmMin.h"

#include <string>

#include <windows.h>
#include <commctrl.h>

namespace lirabox::oneline::win32 {

class OneLineWindow final : public OneLineView {
public:
    // Tests find the window by it.
    static constexpr const wchar_t* kClassName = L"LiraboxOneLine";

    // The window reads the main window's labels and check box and runs its
    // commands through `main`; the items chosen in the popup menus mnuSub and
    // mnuETC go to `commandWindow` (the main window) as WM_COMMAND. It
    // applies the always-on-top state at once; show() shows it.
    OneLineWindow(frmMain& main, const MainView& mainView, const WindowModeView& mainWindow, HWND commandWindow,
                  HMENU mnuSub, HMENU mnuETC);
    ~OneLineWindow() override;
    OneLineWindow(const OneLineWindow&) = delete;
    OneLineWindow& operator=(const OneLineWindow&) = delete;

    void show();
    // Destroys the window. It may be the one whose message is being handled:
    // this object is deleted only once that message is done.
    void close();

    // OneLineView
    std::string lblMain() const override;
    void setLblMain(const std::string& text) override;
    double Left() const override;
    double Top() const override;
    void Move(double left, double top) override;
    void PopupMenu(OneLineMenu menu) override;
    std::uintptr_t WindowHandle() const override { return reinterpret_cast<std::uintptr_t>(mWindow); }

private:
    friend LRESULT CALLBACK lirabox::win32::windowProcedure<OneLineWindow>(HWND, UINT, WPARAM, LPARAM);
    void attach(HWND window) { mWindow = window; }
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void applyDpi(UINT dpi);
    void showLine();
    // The tooltip's tool: the label's place in the window.
    TTTOOLINFOW labelTool() const;
    void mouseDown(MouseButton button, LPARAM lParam);
    double twips(int pixels) const;

    frmMin mForm;
    HWND mCommandWindow;
    HMENU mMnuSub;
    HMENU mMnuETC;
    HWND mWindow = nullptr;
    HWND mLblMain = nullptr;
    std::string mLine;  // the label's whole text
    HWND mTooltips = nullptr;
    HFONT mFont = nullptr;
    std::wstring mFace;
    UINT mDpi = USER_DEFAULT_SCREEN_DPI;
};

}  // namespace lirabox::oneline::win32
