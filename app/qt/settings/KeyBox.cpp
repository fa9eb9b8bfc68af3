#include "KeyBox.h"

#include <QAccessible>
#include <QKeyEvent>

#include "KeyBoxAccessible.h"
#include "settings/KeyboardLevels.h"

namespace lirabox::settings::qt {

KeyBox::KeyBox(QWidget* parent) : QLineEdit(parent) {
    static const bool readOnlyForScreenReaders = (QAccessible::installFactory(&keyBoxAccessible), true);
    (void)readOnlyForScreenReaders;
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
}

namespace {

// Tab moves the focus on, Shift+Tab back; with Ctrl or Alt it is no move of the box's own.
LeftBy tabbing(const QKeyEvent& key) {
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return LeftBy::Other;
    if (key.key() == Qt::Key_Backtab) return LeftBy::ShiftTab;
    if (key.key() == Qt::Key_Tab) return key.modifiers() & Qt::ShiftModifier ? LeftBy::ShiftTab : LeftBy::Tab;
    return LeftBy::Other;
}

}  // namespace

bool KeyBox::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        mTabbing = tabbing(*static_cast<QKeyEvent*>(event));
        const bool handled = QLineEdit::event(event);
        mTabbing = LeftBy::Other;
        return handled;
    }
    // A key that would be a shortcut of the dialog or the application comes
    // here as a plain key press instead; Tab keeps moving the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void KeyBox::keyPressEvent(QKeyEvent* event) {
    event->accept();
    if (event->isAutoRepeat()) return;  // a held key is one key, not one per row
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    KeyPress press;
    press.levels = keyLevelsOf(event->nativeScanCode());
    press.qtKey = event->key() | static_cast<int>(modifiers & Qt::KeypadModifier);
    press.shift = modifiers.testFlag(Qt::ShiftModifier);
    press.ctrl = modifiers.testFlag(Qt::ControlModifier);
    press.alt = modifiers.testFlag(Qt::AltModifier);
    emit keyDown(press);
}

void KeyBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const bool byTab = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    emit lostFocus(byTab ? mTabbing : LeftBy::Other);
}

}  // namespace lirabox::settings::qt
