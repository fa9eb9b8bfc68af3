#pragma once
// A label of a fixed size whose text may be longer than it: a lead text shown
// whole (the one-line window's time), then a text that is elided in the middle
// with "…" where it does not fit, so both ends of a long file name stay in
// sight. While the text is elided the whole text is the tooltip. The text is
// elided again whenever the label's size or font changes. UI thread only.

#include <QLabel>
#include <QString>

namespace lirabox::qt {

class ElidedLabel : public QLabel {
public:
    ElidedLabel(const QString& elidable, QWidget* parent);

    void setTexts(const QString& lead, const QString& elidable);
    // The lead text and the whole elidable text.
    QString wholeText() const { return mLead + mElidable; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void elide();

    QString mLead;
    QString mElidable;
};

}  // namespace lirabox::qt
