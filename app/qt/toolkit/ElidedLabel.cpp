#include "ElidedLabel.h"

#include <QEvent>
#include <QFontMetrics>

namespace lirabox::qt {

ElidedLabel::ElidedLabel(const QString& elidable, QWidget* parent) : QLabel(parent) { setTexts({}, elidable); }

void ElidedLabel::setTexts(const QString& lead, const QString& elidable) {
    if (lead == mLead && elidable == mElidable && !text().isEmpty()) return;
    mLead = lead;
    mElidable = elidable;
    elide();
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) elide();
}

void ElidedLabel::elide() {
    const QFontMetrics metrics = fontMetrics();
    const int width = contentsRect().width() - 2 * margin();
    int room = width - metrics.horizontalAdvance(mLead);
    QString shown = metrics.elidedText(mElidable, Qt::ElideMiddle, room);
    // The two texts laid out as one line can be wider than apart (fonts
    // substituted for some characters): narrower until the line fits.
    while (room > 0 && metrics.horizontalAdvance(mLead + shown) > width) {
        room -= metrics.averageCharWidth();
        shown = metrics.elidedText(mElidable, Qt::ElideMiddle, room);
    }
    setText(mLead + shown);
    setToolTip(shown == mElidable ? QString() : mElidable);
    // A screen reader reads the whole text, not its elided form.
    setAccessibleName(wholeText());
}

}  // namespace lirabox::qt
