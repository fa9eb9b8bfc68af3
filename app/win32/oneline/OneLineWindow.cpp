#include "OneLineWindow.h"

#include "app/win32/toolkit/DpiChange.h"
#include "app/win32/toolkit/DroppedFiles.h"
#include "app/win32/toolkit/ModifierKeys.h"
#include "app/win32/toolkit/UiFont.h"
#include "app/win32/toolkit/WideText.h"
#include "player/Twips.h"

#include <windowsx.h>

namespace lirabox::oneline::win32 {
namespace {

using lirabox::win32::toUtf8;
using lirabox::win32::toWide;

constexpr UINT_PTR kTimer1 = 1;

std::wstring windowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

}  // namespace

OneLineWindow::OneLineWindow(frmMain& main, const MainView& mainView, const WindowModeView& mainWindow,
                             HWND commandWindow, HMENU mnuSub, HMENU mnuETC)
    : mForm(main, mainView, mainWindow, *this), mCommandWindow(commandWindow), mMnuSub(mnuSub), mMnuETC(mnuETC),
      mFace(lirabox::win32::uiFontFace()) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    lirabox::win32::registerWindowClass<OneLineWindow>(instance, kClassName, lirabox::win32::dialogBackground());

    // No owner: Wine keeps an owned window top-most once it is, whatever it is
    // told, and this window stands for the program in the taskbar while the
    // main window is hidden.
    mWindow = ::CreateWindowExW(WS_EX_ACCEPTFILES,
                                kClassName,
                                toWide(frmMin::kTitle).c_str(),
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                CW_USEDEFAULT,
                                CW_USEDEFAULT,
                                100,
                                100,
                                nullptr,
                                nullptr,
                                instance,
                                this);
    // Without SS_NOTIFY the label lets the mouse through to the window.
    mLblMain = ::CreateWindowExW(0,
                                 L"Static",
                                 toWide(shown(frmMin::kDesignText)).c_str(),
                                 WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS,
                                 0,
                                 0,
                                 0,
                                 0,
                                 mWindow,
                                 nullptr,
                                 instance,
                                 nullptr);
    applyDpi(::GetDpiForWindow(mWindow));
    ::SetTimer(mWindow, kTimer1, frmMin::kTimer1Interval, nullptr);
    mForm.Form_Load();
}

OneLineWindow::~OneLineWindow() {
    close();
    if (mFont != nullptr) ::DeleteObject(mFont);
}

void OneLineWindow::show() {
    ::ShowWindow(mWindow, SW_SHOWNORMAL);
    ::SetForegroundWindow(mWindow);
}

void OneLineWindow::close() {
    if (mWindow != nullptr) ::DestroyWindow(mWindow);
}

void OneLineWindow::applyDpi(UINT dpi) {
    mDpi = dpi;
    lirabox::win32::fitFrameToClient(
        mWindow, twipsToPixels(frmMin::kClientWidth, dpi), twipsToPixels(frmMin::kClientHeight, dpi), dpi);
    const PixelBox label = toPixelBox(frmMin::kLblMain, dpi);
    ::SetWindowPos(mLblMain, nullptr, label.left, label.top, label.width, label.height, SWP_NOZORDER | SWP_NOACTIVATE);
    const HFONT font = lirabox::win32::createUiFont(mFace, lirabox::win32::kUiDecipoints, dpi);
    ::SendMessageW(mLblMain, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (mFont != nullptr) ::DeleteObject(mFont);
    mFont = font;
}

std::string OneLineWindow::lblMain() const { return toUtf8(windowText(mLblMain)); }

// The timer writes the same text twenty times a second; only a new one is drawn.
void OneLineWindow::setLblMain(const std::string& text) {
    const std::wstring wide = toWide(text);
    if (wide != windowText(mLblMain)) ::SetWindowTextW(mLblMain, wide.c_str());
}

double OneLineWindow::twips(int pixels) const { return pixelsToTwips(pixels, mDpi); }

double OneLineWindow::Left() const {
    RECT frame {};
    ::GetWindowRect(mWindow, &frame);
    return twips(frame.left);
}

double OneLineWindow::Top() const {
    RECT frame {};
    ::GetWindowRect(mWindow, &frame);
    return twips(frame.top);
}

void OneLineWindow::Move(double left, double top) {
    ::SetWindowPos(mWindow,
                   nullptr,
                   twipsToPixels(left, mDpi),
                   twipsToPixels(top, mDpi),
                   0,
                   0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OneLineWindow::PopupMenu(OneLineMenu menu) {
    POINT pointer {};
    ::GetCursorPos(&pointer);
    const auto item = static_cast<UINT>(::TrackPopupMenu(menu == OneLineMenu::Sub ? mMnuSub : mMnuETC,
                                                         TPM_RETURNCMD | TPM_NONOTIFY,
                                                         pointer.x,
                                                         pointer.y,
                                                         0,
                                                         mWindow,
                                                         nullptr));
    // The item runs once this message is done: it may close this window.
    if (item != 0) ::PostMessageW(mCommandWindow, WM_COMMAND, MAKEWPARAM(item, 0), 0);
}

// The label stands at the client area's origin: a press inside its box is on
// the text, one on the strip around it on the window's background.
void OneLineWindow::mouseDown(MouseButton button, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    const PixelBox label = toPixelBox(frmMin::kLblMain, mDpi);
    const bool onLabel = x < label.left + label.width && y < label.top + label.height;
    // The window keeps the pointer's moves while the button is held, wherever the pointer goes.
    if (button != MouseButton::Right) ::SetCapture(mWindow);
    mForm.MouseDown(onLabel ? OneLineArea::Label : OneLineArea::Background, button, twips(x), twips(y));
}

LRESULT OneLineWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        if (wParam == kTimer1) mForm.Timer1_Timer();
        return 0;
    case WM_LBUTTONDOWN: mouseDown(MouseButton::Left, lParam); return 0;
    case WM_MBUTTONDOWN: mouseDown(MouseButton::Middle, lParam); return 0;
    case WM_RBUTTONDOWN: mouseDown(MouseButton::Right, lParam); return 0;
    case WM_MOUSEMOVE: mForm.MouseMove(twips(GET_X_LPARAM(lParam)), twips(GET_Y_LPARAM(lParam))); return 0;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
        mForm.MouseUp();
        if (::GetCapture() == mWindow) ::ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away (another window, a popup): the drag ends as on a release.
        mForm.MouseUp();
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (mForm.Form_KeyDown(static_cast<std::int32_t>(wParam), lirabox::win32::modifierKeys())) return 0;
        break;
    case WM_DROPFILES: mForm.OLEDragDrop(lirabox::win32::droppedFiles(reinterpret_cast<HDROP>(wParam))); return 0;
    case WM_CLOSE: mForm.Form_Close(); return 0;
    case WM_DPICHANGED:
        applyDpi(HIWORD(wParam));
        lirabox::win32::moveToSuggestedPlace(mWindow, lParam);
        return 0;
    case WM_DESTROY: {
        ::KillTimer(mWindow, kTimer1);
        // The rest of the window's messages go past this object.
        ::SetWindowLongPtrW(mWindow, GWLP_USERDATA, 0);
        const HWND window = mWindow;
        mWindow = nullptr;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    default: break;
    }
    return ::DefWindowProcW(mWindow, message, wParam, lParam);
}

}  // namespace lirabox::oneline::win32
