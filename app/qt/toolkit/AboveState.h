#pragma once
// Whether the desktop lets a program keep its own windows above the others:
// X11 window managers do (EWMH's "above" state); Wayland gives programs no
// such request, so there the always-on-top items say so instead of ticking
// without effect.

#include "support/UiText.h"

class QAction;
class QWidget;

namespace lirabox::qt {

inline constexpr UiText kAboveUnavailable =
    LIRABOX_TEXT("frmMain", "このデスクトップでは、プログラムが自分のウィンドウを常に手前に表示することはできません。");
inline constexpr UiText kAboveUnavailableItem =
    LIRABOX_TEXT("frmMain", "常に手前に表示（このデスクトップでは使えません）");

// False for a Wayland client; true elsewhere (X11, and the offscreen platform of the tests).
bool desktopKeepsWindowsAbove();

// Where it does not: the check box is disabled and tells why in its tool tip
// and accessible description; the menu item is disabled and says so in its text.
void markAboveUnavailable(QWidget& checkBox);
void markAboveUnavailable(QAction& item);

}  // namespace lirabox::qt
