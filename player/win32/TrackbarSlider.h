#pragma once
// A picture slider's bar and arrow shown by a plain trackbar: the arrow's
// place within the bar becomes the trackbar's position, and a position the
// user drags to becomes the pointer place (twips from the bar's left edge)
// that frmMain's mouse handlers expect.

#include "player/SliderPicture.h"
#include "player/Twips.h"

#include <windows.h>

namespace lirabox::win32 {

class TrackbarSlider {
public:
    static constexpr int kRange = 1000;

    // The bar's width and the arrow's place inside it, in twips.
    TrackbarSlider(double barWidth, const TwipsRect& arrow);

    void attach(HWND trackbar);
    SliderPicture& bar() { return mBar; }
    SliderPicture& arrow() { return mArrow; }

    // Where the pointer stands, from the bar's left edge, when the arrow sits at this position.
    double pointerAt(int position) const;
    // Where the arrow at this place shows on the trackbar.
    int positionOf(double arrowLeft) const;
    // A mark from..to on the bar (0..span twips), shown as the trackbar's selection.
    void showSelection(double from, double to, double span);

private:
    class Bar final : public SliderPicture {
    public:
        Bar(TrackbarSlider& owner, double width) : mOwner(owner), mWidth(width) {}
        double Width() const override { return mWidth; }
        double Left() const override { return 0; }
        void setLeft(double) override {}
        void Refresh() override { mOwner.show(); }

    private:
        TrackbarSlider& mOwner;
        double mWidth;
    };
    class Arrow final : public SliderPicture {
    public:
        Arrow(TrackbarSlider& owner, double left, double width) : mOwner(owner), mLeft(left), mWidth(width) {}
        double Width() const override { return mWidth; }
        double Left() const override { return mLeft; }
        void setLeft(double twips) override {
            mLeft = twips;
            mOwner.show();
        }
        void Refresh() override { mOwner.show(); }

    private:
        TrackbarSlider& mOwner;
        double mLeft;
        double mWidth;
    };

    void show();

    Bar mBar;
    Arrow mArrow;
    HWND mTrackbar = nullptr;
};

}  // namespace lirabox::win32
