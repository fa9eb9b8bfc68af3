#include "FitText.h"

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

}  // namespace lirabox::qt
