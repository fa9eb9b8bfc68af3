#pragma once
// The window manager's "above" state of an X window (EWMH _NET_WM_STATE_ABOVE).

namespace lirabox::x11 {

// Asks for the "above" state of `window` on the display named by $DISPLAY to be
// set or cleared, over a connection of its own. A window the window manager
// manages is asked for through a _NET_WM_STATE client message to the root
// window; a withdrawn one gets the atom added to or removed from its
// _NET_WM_STATE property, which the window manager reads when it is mapped.
// The window is not moved, mapped, unmapped or activated. Without a display,
// or for a window that does not exist, nothing happens.
void setWindowAbove(unsigned long window, bool above);

}  // namespace lirabox::x11
