#pragma once
// A key box of the shortcut-key tab: read-only, it reports every key pressed
// in it (Enter and Esc included, so they are captured rather than acting on
// the dialog's buttons) and how the focus left it. Tab and Shift+Tab still
// move the focus; the box reports them as the reason it lost the focus only
// when they were pressed in it: Qt also moves the focus "by Tab" when the box's
// page is hidden (a click on another tab), which is no key.

#include <QLineEdit>

#include "settings/KeyCapture.h"
#include "settings/frmSettings.h"

namespace lirabox::settings::qt {

class KeyBox : public QLineEdit {
    Q_OBJECT
public:
    explicit KeyBox(QWidget* parent = nullptr);

signals:
    void keyDown(const lirabox::settings::KeyPress& press);
    void lostFocus(lirabox::settings::LeftBy how);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The Tab or Shift+Tab being pressed in the box while Qt moves the focus.
    LeftBy mTabbing = LeftBy::Other;
};

}  // namespace lirabox::settings::qt
