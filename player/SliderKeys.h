#pragma once
// The keys a picture slider takes, each standing for a press of the mouse at
// the new value's place: the arrow keys move a fiftieth of the range, Page
// Up and Page Down a tenth (at least 1 each), Home and End to the ends.

#include <optional>

namespace lirabox {

class SliderPicture;
class clsPicSlider;

enum class SliderKey { LineDown, LineUp, PageDown, PageUp, Home, End };

// Where the press goes: the arrow's middle at the new value, in twips from the
// bar's left edge. Nothing when the slider has no range to move in.
std::optional<double> sliderKeyPress(const clsPicSlider& slider, SliderKey key, const SliderPicture& bar,
                                     const SliderPicture& arrow);

}  // namespace lirabox
