#pragma once
// A horizontal slider drawn from two pictures: a bar and an arrow inside it.
// It keeps an integer value between bounds, places the arrow for it and raises
// Change after every set of Value, also when the value did not change.

#include "SliderPicture.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace lirabox {

class clsPicSlider {
public:
    using ChangeHandler = std::function<void()>;

    // Setting the pictures, Min or Max only stores them.
    SliderPicture* MainPicture() const { return mMainPicture; }
    void setMainPicture(SliderPicture* picture) { mMainPicture = picture; }
    SliderPicture* ArrowPicture() const { return mArrowPicture; }
    void setArrowPicture(SliderPicture* picture) { mArrowPicture = picture; }
    std::int32_t Min() const { return mMin; }
    void setMin(std::int32_t value) { mMin = value; }
    std::int32_t Max() const { return mMax; }
    void setMax(std::int32_t value) { mMax = value; }
    bool MouseDown() const { return mMouseDown; }
    void setMouseDown(bool value) { mMouseDown = value; }

    std::int32_t Value() const { return mValue; }
    // Clamps to Max, then to Min (Min wins when above Max), places the arrow,
    // raises Change.
    void setValue(std::int32_t value);

    void onChange(ChangeHandler handler) { mChange.push_back(std::move(handler)); }

private:
    void UpdateArrow();

    SliderPicture* mMainPicture = nullptr;
    SliderPicture* mArrowPicture = nullptr;
    std::int32_t mMin = 0;
    std::int32_t mMax = 100;
    std::int32_t mValue = 0;
    bool mMouseDown = false;
    std::vector<ChangeHandler> mChange;
};

}  // namespace lirabox
