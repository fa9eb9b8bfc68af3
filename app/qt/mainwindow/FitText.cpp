#include "FitText.h"

#include <algorithm>

#include <QWidget>

namespace lirabox::qt {
namespace {

constexpr double kSmallestPointSize = 6;

}  // namespace

void shrinkToFit(QWidget& widget, double pointSize) {
    QFont font = widget.font();
    for (double size = pointSize; size >= kSmallestPointSize; size -= 0.5) {
        font.setPointSizeF(size);
        widget.setFont(font);
        if (widget.sizeHint().width() <= widget.width()) return;
    }
}

void growToFullLine(QWidget& widget, int bottomLimit) {
    const int line = widget.fontMetrics().height();
    if (widget.height() >= line) return;
    QRect place = widget.geometry();
    place.setHeight(line);
    const int below = place.top() + line - bottomLimit;
    if (below > 0) place.moveTop(std::max(0, place.top() - below));
    widget.setGeometry(place);
}

}  // namespace lirabox::qt
