#pragma once
// What assistive technology learns of a key box: a read-only text named by
// its row, holding the key's name. Qt's own line edit tells a read-only box
// as editable too, so a screen reader offered to type into it.

class QAccessibleInterface;
class QObject;
class QString;

namespace lirabox::settings::qt {

// Qt's accessibility factory: the interface of a KeyBox, or null.
QAccessibleInterface* keyBoxAccessible(const QString& className, QObject* object);

}  // namespace lirabox::settings::qt
