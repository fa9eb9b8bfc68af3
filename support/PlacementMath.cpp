#include "PlacementMath.h"

#include "RaisedError.h"

namespace lirabox {
namespace {

RaisedError overflow() { return RaisedError(kErrOverflow, "Lirabox", "Overflow"); }

}  // namespace

std::int32_t checkedAdd(std::int32_t a, std::int32_t b) {
    std::int32_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) throw overflow();
    return sum;
}

std::int32_t checkedSubtract(std::int32_t a, std::int32_t b) {
    std::int32_t difference = 0;
    if (__builtin_sub_overflow(a, b, &difference)) throw overflow();
    return difference;
}

std::int32_t placementShowCommand(bool showMinimized, bool showMaximized) {
    if (showMinimized) return kShowMinimized;
    if (showMaximized) return kShowMaximized;
    return kShowNormal;
}

ScreenSize placementScreenSize(const PixelRect& desktopClient, const PixelRect& primaryScreen) {
    if (desktopClient.right == 0 || desktopClient.bottom == 0) {
        return {primaryScreen.right, primaryScreen.bottom};
    }
    return {desktopClient.right, desktopClient.bottom};
}

ScreenFit keepOnScreen(PixelRect rect, ScreenSize screen, bool safePosition) {
    ScreenFit fit {rect, false};
    PixelRect& r = fit.rect;
    if (r.right > screen.width) {
        fit.outside = true;
        if (safePosition) {
            const std::int32_t d = checkedSubtract(r.right, screen.width);
            r.left = checkedSubtract(r.left, d);
            r.right = screen.width;
        }
    }
    if (r.bottom > screen.height) {
        fit.outside = true;
        if (safePosition) {
            const std::int32_t d = checkedSubtract(r.bottom, screen.height);
            r.top = checkedSubtract(r.top, d);
            r.bottom = screen.height;
        }
    }
    if (r.left < 0) {
        fit.outside = true;
        if (safePosition) {
            const std::int32_t d = checkedSubtract(0, r.left);
            r.right = checkedAdd(r.right, d);
            r.left = 0;
        }
    }
    if (r.top < 0) {
        fit.outside = true;
        if (safePosition) {
            const std::int32_t d = checkedSubtract(0, r.top);
            r.bottom = checkedAdd(r.bottom, d);
            r.top = 0;
        }
    }
    return fit;
}

}  // namespace lirabox
