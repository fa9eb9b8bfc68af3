#include "KeyBox.h"

#include <QKeyEvent>

#include "settings/KeyboardLevels.h"

namespace lirabox::settings::qt {

KeyBox::KeyBox(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);
}

bool KeyBox::event(QEvent* event) {
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
    switch (event->reason()) {
    case Qt::TabFocusReason: emit lostFocus(LeftBy::Tab); break;
    case Qt::BacktabFocusReason: emit lostFocus(LeftBy::ShiftTab); break;
    default: emit lostFocus(LeftBy::Other); break;
    }
}

}  // namespace lirabox::settings::qt
