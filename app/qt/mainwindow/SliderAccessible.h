#pragma once
// What assistive technology learns of a picture slider's bar: a slider with
// a name and its value, minimum and maximum.

class QAccessibleInterface;
class QObject;
class QString;

namespace lirabox::qt {

// Qt's accessibility factory: the interface of a bar that has a slider, or null.
QAccessibleInterface* sliderAccessible(const QString& className, QObject* object);

}  // namespace lirabox::qt
