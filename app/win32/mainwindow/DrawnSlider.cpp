#include "DrawnSlider.h"

#include "player/FormLayout.h"
#include "player/SliderKeys.h"
#include "player/clsPicSlider.h"

#include <algorithm>
#include <cmath>

#include <windowsx.h>

namespace lirabox::win32 {
namespace {

RECT toRect(const PixelBox& box) { return {box.left, box.top, box.left + box.width, box.top + box.height}; }

}  // namespace

DrawnSlider::DrawnSlider(const TwipsRect& bar, const TwipsRect& arrow, art::Painter track)
    : mBar(*this, bar, &DrawnSlider::place), mArrow(*this, arrow, &DrawnSlider::redraw), mTrack(track) {}

void DrawnSlider::create(HWND parent, HINSTANCE instance, const std::wstring& name) {
    registerWindowClass<DrawnSlider>(instance, kClassName);
    mWindow = ::CreateWindowExW(
        0, kClassName, name.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0, parent, nullptr, instance, this);
}

void DrawnSlider::applyDpi(UINT dpi) {
    mDpi = dpi;
    place();
}

void DrawnSlider::place() {
    if (mWindow == nullptr) return;
    const PixelBox box = toPixelBox(mBar.place(), mDpi);
    ::SetWindowPos(mWindow, nullptr, box.left, box.top, box.width, box.height, SWP_NOZORDER | SWP_NOACTIVATE);
    redraw();
}

void DrawnSlider::connect(Mouse mouse, const clsPicSlider& slider) {
    mMouse = std::move(mouse);
    mSlider = &slider;
}

void DrawnSlider::showRepeatLine(double x1, double x2) {
    mRepeatLine = std::isfinite(x1) && std::isfinite(x2);
    mRepeatX1 = x1;
    mRepeatX2 = x2;
    redraw();
}

void DrawnSlider::showEnvelope(std::vector<float> levels) {
    mEnvelope = std::move(levels);
    redraw();
}

int DrawnSlider::pixelWidth() const {
    RECT area {};
    if (mWindow != nullptr) ::GetClientRect(mWindow, &area);
    return area.right;
}

void DrawnSlider::redraw() {
    if (mWindow != nullptr) ::InvalidateRect(mWindow, nullptr, FALSE);
}

LRESULT DrawnSlider::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1;  // the whole window is painted in WM_PAINT
    case WM_PAINT: paint(); return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        ::SetFocus(mWindow);
        press(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE: move(GET_X_LPARAM(lParam)); return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (mDrag != Drag::None) ::ReleaseCapture();  // WM_CAPTURECHANGED ends the drag
        return 0;
    case WM_CAPTURECHANGED: release(); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_KEYDOWN: key(wParam); return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: redraw(); return 0;
    case WM_DESTROY: mWindow = nullptr; return 0;
    default: return ::DefWindowProcW(mWindow, message, wParam, lParam);
    }
}

void DrawnSlider::paint() {
    PAINTSTRUCT painting {};
    HDC screen = ::BeginPaint(mWindow, &painting);
    RECT area {};
    ::GetClientRect(mWindow, &area);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP picture = ::CreateCompatibleBitmap(screen, std::max(1L, area.right), std::max(1L, area.bottom));
    const HGDIOBJ previous = ::SelectObject(memory, picture);

    ::FillRect(memory, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    mTrack(memory, area);
    if (!mEnvelope.empty()) art::paintEnvelope(memory, area, mEnvelope);
    if (mRepeatLine) {
        const double scale = area.right / layout::kRepeatLineSpan;
        art::paintRepeatLine(memory,
                             area,
                             static_cast<int>(std::lround(mRepeatX1 * scale)),
                             static_cast<int>(std::lround(mRepeatX2 * scale)));
    }
    art::paintArrow(memory, toRect(toPixelBox(mArrow.place(), mDpi)));
    if (::GetFocus() == mWindow) ::DrawFocusRect(memory, &area);

    ::BitBlt(screen, 0, 0, area.right, area.bottom, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, previous);
    ::DeleteObject(picture);
    ::DeleteDC(memory);
    ::EndPaint(mWindow, &painting);
}

// The drag is recorded and the mouse captured before a handler runs: the seek
// handlers let waiting messages run, the release among them.
void DrawnSlider::press(int x, int y) {
    if (mDrag != Drag::None || mSlider == nullptr) return;
    const RECT arrow = toRect(toPixelBox(mArrow.place(), mDpi));
    const POINT at {x, y};
    if (::PtInRect(&arrow, at)) {
        mDrag = Drag::Arrow;
        ::SetCapture(mWindow);
        mMouse.arrowDown();
    } else if (mMouse.barDown) {
        mDrag = Drag::Bar;
        ::SetCapture(mWindow);
        mMouse.barDown(pixelsToTwips(x, mDpi));
    }
}

void DrawnSlider::move(int x) {
    const double twips = pixelsToTwips(x, mDpi);
    if (mDrag == Drag::Arrow) mMouse.arrowMove(twips - mArrow.Left());
    if (mDrag == Drag::Bar) mMouse.barMove(twips);
}

void DrawnSlider::release() {
    const Drag drag = mDrag;
    mDrag = Drag::None;
    if (drag == Drag::Arrow) mMouse.arrowUp();
    if (drag == Drag::Bar) mMouse.barUp();
}

// A key is a press and release with the arrow's middle at the new value's place.
void DrawnSlider::key(WPARAM virtualKey) {
    if (mSlider == nullptr || mDrag != Drag::None) return;
    SliderKey which = SliderKey::Home;
    switch (virtualKey) {
    case VK_LEFT:
    case VK_DOWN: which = SliderKey::LineDown; break;
    case VK_RIGHT:
    case VK_UP: which = SliderKey::LineUp; break;
    case VK_NEXT: which = SliderKey::PageDown; break;
    case VK_PRIOR: which = SliderKey::PageUp; break;
    case VK_HOME: which = SliderKey::Home; break;
    case VK_END: which = SliderKey::End; break;
    default: return;
    }
    const std::optional<double> x = sliderKeyPress(*mSlider, which, mBar, mArrow);
    if (!x) return;
    if (mMouse.barDown) {
        mMouse.barDown(*x);
        mMouse.barUp();
    } else {
        mMouse.arrowDown();
        mMouse.arrowMove(*x - mArrow.Left());
        mMouse.arrowUp();
    }
}

}  // namespace lirabox::win32
