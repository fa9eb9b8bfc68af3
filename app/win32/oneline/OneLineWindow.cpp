#include "OneLineWindow.h"

#include "app/win32/toolkit/DpiChange.h"
#include "app/win32/toolkit/DroppedFiles.h"
#include "app/win32/toolkit/ElidedText.h"
#include "app/win32/toolkit/ModifierKeys.h"
#include "app/win32/toolkit/Tooltips.h"
#include "app/win32/toolkit/UiFont.h"
#include "app/win32/toolkit/WideText.h"
#include "player/Twips.h"

#include <windowsx.h>

namespace lirabox::oneline::win32 {
namespace {

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
                                 WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                 0,
                                 0,
                                 0,
                                 0,
                                 mWindow,
                                 nullptr,
                                 instance,
                                 nullptr);
    // The label's tooltip belongs to the window, which the mouse over the label reaches.
    mTooltips = lirabox::win32::createTooltipWindow(instance);
    TTTOOLINFOW tool = labelTool();
    tool.uFlags = TTF_SUBCLASS;
    tool.lpszText = const_cast<wchar_t*>(L"");
    ::SendMessageW(mTooltips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    mLine = shown(frmMin::kDesignText);
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
    if (mTooltips != nullptr) ::DestroyWindow(mTooltips);
    mTooltips = nullptr;
    if (mWindow != nullptr) ::DestroyWindow(mWindow);
}

TTTOOLINFOW OneLineWindow::labelTool() const {
    TTTOOLINFOW tool {};
    tool.cbSize = sizeof tool;
    tool.hwnd = mWindow;
    tool.uId = 1;
    const PixelBox label = toPixelBox(frmMin::kLblMain, mDpi);
    tool.rect = {label.left, label.top, label.left + label.width, label.top + label.height};
    return tool;
}

// The time before the gap stays whole; a long file name after it is elided,
// and is then the tooltip.
void OneLineWindow::showLine() {
    const std::wstring line = toWide(mLine);
    const std::wstring gap = toWide(frmMin::kGap);
    const std::size_t lead = line.find(gap);
    const std::size_t nameStart = lead == std::wstring::npos ? 0 : lead + gap.size();
    const std::wstring name = line.substr(nameStart);
    const std::wstring shown = lirabox::win32::elidedLine(mLblMain, line.substr(0, nameStart), name);
    if (shown != windowText(mLblMain)) ::SetWindowTextW(mLblMain, shown.c_str());
    std::wstring tip = shown == line ? std::wstring() : name;
    TTTOOLINFOW tool = labelTool();
    tool.lpszText = tip.data();
    ::SendMessageW(mTooltips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
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
    const TTTOOLINFOW tool = labelTool();
    ::SendMessageW(mTooltips, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    showLine();
}

std::string OneLineWindow::lblMain() const { return mLine; }

// The timer writes the same text twenty times a second; only a new one is drawn.
void OneLineWindow::setLblMain(const std::string& text) {
    if (text == mLine) return;
    mLine = text;
    showLine();
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
    // The media keys' commands are the main window's, as its menus are.
    case WM_APPCOMMAND: return ::SendMessageW(mCommandWindow, message, wParam, lParam);
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
