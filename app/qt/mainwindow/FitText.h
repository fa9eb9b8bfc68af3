#pragma once
// The window's controls have fixed sizes in twips; a control whose text would
// not fit at the window's font size gets a smaller font instead of a cut text.

class QWidget;

namespace lirabox::qt {

// Lowers the widget's font from pointSize in half points until its text fits
// its width, down to a smallest readable size.
void shrinkToFit(QWidget& widget, double pointSize);

// Makes the widget at least one text line of its font tall, so that
// descenders, underscores and accents are not cut; it grows upwards as far as
// needed to keep its bottom above bottomLimit (pixels in its parent).
void growToFullLine(QWidget& widget, int bottomLimit);

}  // namespace lirabox::qt
