#pragma once
// The window's controls have fixed sizes in twips; a control whose text would
// not fit at the window's font size gets a smaller font instead of a cut text.

class QWidget;

namespace lirabox::qt {

// Lowers the widget's font from pointSize in half points until its text fits
// its width, down to a smallest readable size.
void shrinkToFit(QWidget& widget, double pointSize);

}  // namespace lirabox::qt
