#pragma once
// A picture slider of the main window as one child window of our own: the
// bar with its arrow inside, drawn double-buffered (SliderArt) at the twips
// places scaled to the DPI. A press on the arrow, the moves while a button is
// held (the window captures the mouse) and the release go to frmMain's
// handlers of that arrow; a press beside the arrow goes to the bar's handlers
// when it has any. The arrow keys, Page Up/Down, Home and End move the value
// as a press at the new place would.

#include "SliderArt.h"
#include "app/win32/toolkit/WindowProcedure.h"
#include "player/SliderPicture.h"
#include "player/Twips.h"

#include <functional>
#include <string>
#include <vector>

#include <windows.h>

namespace lirabox {
class clsPicSlider;
}

namespace lirabox::win32 {

class DrawnSlider {
public:
    static constexpr const wchar_t* kClassName = L"LiraboxSlider";

    // Horizontal places are twips: within the arrow for the arrow's moves,
    // from the bar's left edge for the bar's.
    struct Mouse {
        std::function<void()> arrowDown;
        std::function<void(double x)> arrowMove;
        std::function<void()> arrowUp;
        // Empty: a press beside the arrow does nothing.
        std::function<void(double x)> barDown;
        std::function<void(double x)> barMove;
        std::function<void()> barUp;
    };

    // The bar's place in the window and the arrow's inside the bar, in twips.
    DrawnSlider(const TwipsRect& bar, const TwipsRect& arrow, art::Painter track);
    DrawnSlider(const DrawnSlider&) = delete;
    DrawnSlider& operator=(const DrawnSlider&) = delete;

    // The window, named for assistive technology and tooltips.
    void create(HWND parent, HINSTANCE instance, const std::wstring& name);
    HWND window() const { return mWindow; }
    void applyDpi(UINT dpi);
    // The mouse goes to these handlers from now on; the keys read the slider's value and range.
    void connect(Mouse mouse, const clsPicSlider& slider);

    SliderPicture& bar() { return mBar; }
    SliderPicture& arrow() { return mArrow; }

    // The repeat line from x1 to x2 in the bar's 0 .. kRepeatLineSpan coordinates.
    void showRepeatLine(double x1, double x2);
    // The loudness envelope over the groove, a level a pixel column; empty draws none.
    void showEnvelope(std::vector<float> levels);
    // The bar's width in pixels.
    int pixelWidth() const;

private:
    // The bar or the arrow: a place in twips; a move calls `moved` on the slider.
    class Picture final : public SliderPicture {
    public:
        Picture(DrawnSlider& owner, const TwipsRect& place, void (DrawnSlider::*moved)())
            : mOwner(owner), mPlace(place), mMoved(moved) {}
        double Width() const override { return mPlace.width; }
        double Left() const override { return mPlace.left; }
        void setLeft(double twips) override {
            mPlace.left = twips;
            (mOwner.*mMoved)();
        }
        void Refresh() override { mOwner.redraw(); }
        const TwipsRect& place() const { return mPlace; }

    private:
        DrawnSlider& mOwner;
        TwipsRect mPlace;
        void (DrawnSlider::*mMoved)();
    };
    enum class Drag { None, Arrow, Bar };

    friend LRESULT CALLBACK windowProcedure<DrawnSlider>(HWND, UINT, WPARAM, LPARAM);
    void attach(HWND window) { mWindow = window; }
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void place();
    void redraw();
    void paint();
    void press(int x, int y);
    void move(int x);
    void release();
    void key(WPARAM virtualKey);

    Picture mBar;
    Picture mArrow;
    art::Painter mTrack;
    HWND mWindow = nullptr;
    double mDpi = 96;
    Mouse mMouse;
    const clsPicSlider* mSlider = nullptr;
    Drag mDrag = Drag::None;
    bool mRepeatLine = false;
    double mRepeatX1 = 0;
    double mRepeatX2 = 0;
    std::vector<float> mEnvelope;
};

}  // namespace lirabox::win32
