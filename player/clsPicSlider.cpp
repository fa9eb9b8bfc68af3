#include "clsPicSlider.h"

#include "support/VbConvert.h"

namespace lirabox {

void clsPicSlider::setValue(std::int32_t value) {
    mValue = value;
    if (mMax < mValue) mValue = mMax;
    if (mValue < mMin) mValue = mMin;
    UpdateArrow();
    for (const auto& handler : mChange) handler();
}

void clsPicSlider::UpdateArrow() {
    if (mMainPicture == nullptr || mArrowPicture == nullptr) return;
    const double arrowWidth = roundHalfEven(mArrowPicture->Width());
    const double barWidth = roundHalfEven(mMainPicture->Width());
    // A range of 0 has no proportion: the arrow rests at the left end.
    double left = mMax == 0 ? 0.0 : roundHalfEven(barWidth * (static_cast<double>(mValue) / mMax));
    if (left < 0) left = 0;
    if (left > barWidth - arrowWidth) left = barWidth - arrowWidth;
    // The position tick sets the value ten times a second, mostly to where it
    // is: an arrow that stays puts nothing on the screen.
    if (left == mArrowPicture->Left()) return;
    mArrowPicture->setLeft(left);
    mMainPicture->Refresh();
}

}  // namespace lirabox
