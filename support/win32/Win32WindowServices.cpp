#include "Win32WindowServices.h"

#include <windows.h>

namespace lirabox {
namespace {

static_assert(sizeof(WINDOWPLACEMENT) == kWindowPlacementLength);

HWND asWindow(WindowHandle window) { return reinterpret_cast<HWND>(window); }

PixelRect fromRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
RECT toRect(const PixelRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

bool Win32WindowServices::GetWindowPlacement(WindowHandle window, WindowPlacement& placement) {
    WINDOWPLACEMENT native {};
    native.length = sizeof native;
    if (!::GetWindowPlacement(asWindow(window), &native)) return false;
    placement.length = native.length;
    placement.flags = native.flags;
    placement.showCmd = static_cast<std::int32_t>(native.showCmd);
    placement.minPosition = {native.ptMinPosition.x, native.ptMinPosition.y};
    placement.maxPosition = {native.ptMaxPosition.x, native.ptMaxPosition.y};
    placement.normalPosition = fromRect(native.rcNormalPosition);
    return true;
}

bool Win32WindowServices::SetWindowPlacement(WindowHandle window, const WindowPlacement& placement) {
    WINDOWPLACEMENT native {};
    native.length = sizeof native;
    native.flags = placement.flags;
    native.showCmd = static_cast<UINT>(placement.showCmd);
    // A window not shown yet only takes its place: the front end shows it
    // once start-up is through, and a refused second start never does.
    const bool shows = native.showCmd == SW_SHOW || native.showCmd == SW_SHOWNORMAL;
    if (shows && !::IsWindowVisible(asWindow(window))) native.showCmd = SW_HIDE;
    native.ptMinPosition = {placement.minPosition.x, placement.minPosition.y};
    native.ptMaxPosition = {placement.maxPosition.x, placement.maxPosition.y};
    native.rcNormalPosition = toRect(placement.normalPosition);
    return ::SetWindowPlacement(asWindow(window), &native) != 0;
}

bool Win32WindowServices::IsIconic(WindowHandle window) { return ::IsIconic(asWindow(window)) != 0; }

bool Win32WindowServices::IsZoomed(WindowHandle window) { return ::IsZoomed(asWindow(window)) != 0; }

bool Win32WindowServices::GetWindowRect(WindowHandle window, PixelRect& rect) {
    RECT native {};
    if (!::GetWindowRect(asWindow(window), &native)) return false;
    rect = fromRect(native);
    return true;
}

PixelRect Win32WindowServices::DesktopClientRect() {
    RECT native {};
    if (!::GetClientRect(::GetDesktopWindow(), &native)) return {};
    return fromRect(native);
}

PixelRect Win32WindowServices::PrimaryScreenRect() {
    return {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace lirabox
