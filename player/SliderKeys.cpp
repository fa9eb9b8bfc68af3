#include "SliderKeys.h"

#include "SliderPicture.h"
#include "clsPicSlider.h"

#include <algorithm>
#include <cmath>

namespace lirabox {

std::optional<double> sliderKeyPress(const clsPicSlider& slider, SliderKey key, const SliderPicture& bar,
                                     const SliderPicture& arrow) {
    if (slider.Max() <= 0) return std::nullopt;
    const double max = slider.Max();
    const double value = slider.Value();
    const double line = std::max(1.0, std::round(max / 50));
    const double page = std::max(1.0, std::round(max / 10));
    double target = value;
    switch (key) {
    case SliderKey::LineDown: target = value - line; break;
    case SliderKey::LineUp: target = value + line; break;
    case SliderKey::PageDown: target = value - page; break;
    case SliderKey::PageUp: target = value + page; break;
    case SliderKey::Home: target = slider.Min(); break;
    case SliderKey::End: target = max; break;
    }
    return target / max * bar.Width() + arrow.Width() / 2;
}

}  // namespace lirabox
