#include "SliderAccessible.h"

#include <QAccessibleWidget>

#include <cmath>

#include "PictureBox.h"
#include "player/clsPicSlider.h"

namespace lirabox::qt {
namespace {

// The slider is read at every question: the interface may be made (and kept
// by Qt) before the window is connected to its sliders.
class SliderInterface final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SliderInterface(PictureBox& bar) : QAccessibleWidget(&bar, QAccessible::Slider), mBar(bar) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return read(&clsPicSlider::Value); }
    void setCurrentValue(const QVariant&) override {}  // set by dragging the arrow only
    QVariant maximumValue() const override { return read(&clsPicSlider::Max); }
    QVariant minimumValue() const override { return read(&clsPicSlider::Min); }
    QVariant minimumStepSize() const override { return 1; }

private:
    QVariant read(std::int32_t (clsPicSlider::*property)() const) const {
        const clsPicSlider* slider = mBar.slider();
        if (slider == nullptr) return 0;
        const std::int32_t value = (slider->*property)();
        if (mBar.told() == PictureBox::Told::AsValue) return value;
        const double range = static_cast<double>(slider->Max()) - slider->Min();
        return range <= 0 ? 0 : static_cast<int>(std::lround((value - slider->Min()) * 100.0 / range));
    }

    PictureBox& mBar;
};

}  // namespace

QAccessibleInterface* sliderAccessible(const QString&, QObject* object) {
    auto* box = qobject_cast<PictureBox*>(object);
    // A picture box that holds an arrow is a slider's bar.
    if (box == nullptr || box->findChild<PictureBox*>(QString(), Qt::FindDirectChildrenOnly) == nullptr) {
        return nullptr;
    }
    return new SliderInterface(*box);
}

}  // namespace lirabox::qt
