#pragma once
// A picture box as a picture slider needs it: a bar or the arrow inside it.
// Lengths are twips (1/1440 inch); the arrow's left edge is measured from the
// bar's left edge.

namespace lirabox {

class SliderPicture {
public:
    virtual ~SliderPicture() = default;

    virtual double Width() const = 0;
    virtual double Left() const = 0;
    virtual void setLeft(double twips) = 0;
    // Redraws the picture now (the bar after its arrow moved).
    virtual void Refresh() = 0;
};

}  // namespace lirabox
