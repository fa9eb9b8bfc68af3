#pragma once
// A picture box of the main window: a bar of a picture slider or the arrow
// inside it. It keeps its place in twips, paints one of our pictures over its
// whole area, and reports the mouse with horizontal coordinates in twips
// measured from its own left edge.

#include <QWidget>

#include <vector>

#include "Twips.h"
#include "player/SliderKeys.h"
#include "player/SliderPicture.h"

namespace lirabox {
class clsPicSlider;
}

class QPainter;

namespace lirabox::qt {

class PictureBox : public QWidget, public SliderPicture {
    Q_OBJECT
public:
    using Painter = void (*)(QPainter&, const QRectF&);

    PictureBox(const TwipsRect& place, Painter painter, QWidget* parent);

    // Puts the box where its twips say, for a screen of this many dots per inch.
    void applyDpi(double dpi);

    double Width() const override { return mPlace.width; }
    double Left() const override { return mPlace.left; }
    void setLeft(double twips) override;
    void Refresh() override;

    // The slider this box is the bar of, for assistive technology; null for
    // arrows. A slider told as a percentage reports 0..100 of its range.
    // A bar with a slider takes the focus and the slider's keys.
    enum class Told { AsValue, AsPercentage };
    const clsPicSlider* slider() const { return mSlider; }
    Told told() const { return mTold; }
    void setSlider(const clsPicSlider* slider, Told told = Told::AsValue);

signals:
    void mouseDown(double xTwips);
    void mouseMove(double xTwips);
    void mouseUp();
    // A slider's key pressed while the bar has the focus.
    void keyPressed(lirabox::SliderKey key);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    double dpi() const { return mDpi; }

private:
    TwipsRect mPlace;
    Painter mPainter;
    double mDpi = 96;
    const clsPicSlider* mSlider = nullptr;
    Told mTold = Told::AsValue;
};

// The seek bar: the track picture with the repeat line along its bottom edge.
class SeekBarPicture : public PictureBox {
    Q_OBJECT
public:
    SeekBarPicture(const TwipsRect& place, Painter painter, QWidget* parent);

    // The line's ends in the bar's 0 .. kRepeatLineSpan coordinates.
    void setRepeatX1(double twips);
    void setRepeatX2(double twips);
    double repeatX1() const { return mX1; }
    double repeatX2() const { return mX2; }

    // The loudness envelope drawn over the groove, one level a pixel column
    // (slider_look::envelopeLine); empty draws none.
    void setEnvelope(std::vector<float> levels);
    // The bar's width in device pixels: the envelope's columns.
    int pixelWidth() const;

signals:
    void pixelWidthChanged(int columns);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    double mX1;
    double mX2;
    std::vector<float> mEnvelope;
};

}  // namespace lirabox::qt
