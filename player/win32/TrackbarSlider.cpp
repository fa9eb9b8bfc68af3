#include "TrackbarSlider.h"

#include <algorithm>
#include <cmath>

#include <commctrl.h>

namespace lirabox::win32 {

TrackbarSlider::TrackbarSlider(double barWidth, const TwipsRect& arrow)
    : mBar(*this, barWidth), mArrow(*this, arrow.left, arrow.width) {}

void TrackbarSlider::attach(HWND trackbar) {
    mTrackbar = trackbar;
    ::SendMessageW(trackbar, TBM_SETRANGE, FALSE, MAKELPARAM(0, kRange));
    ::SendMessageW(trackbar, TBM_SETPAGESIZE, 0, kRange / 20);
    show();
}

double TrackbarSlider::pointerAt(int position) const {
    return position * mBar.Width() / kRange + mArrow.Width() / 2;
}

int TrackbarSlider::positionOf(double arrowLeft) const {
    if (!(mBar.Width() > 0)) return 0;
    const double fraction = arrowLeft / mBar.Width();
    return std::clamp(static_cast<int>(std::lround(fraction * kRange)), 0, kRange);
}

void TrackbarSlider::showSelection(double from, double to, double span) {
    if (mTrackbar == nullptr || !(span > 0)) return;
    const auto at = [span](double twips) {
        return std::clamp(static_cast<int>(std::lround(twips / span * kRange)), 0, kRange);
    };
    ::SendMessageW(mTrackbar, TBM_SETSEL, TRUE, MAKELPARAM(at(std::min(from, to)), at(std::max(from, to))));
}

void TrackbarSlider::show() {
    if (mTrackbar != nullptr) ::SendMessageW(mTrackbar, TBM_SETPOS, TRUE, positionOf(mArrow.Left()));
}

}  // namespace lirabox::win32
