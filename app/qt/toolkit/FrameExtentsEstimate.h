#pragma once
// Asks the window manager how much decoration it will give a window that is
// not shown yet. The desktop backend asks (on X11: _NET_REQUEST_FRAME_EXTENTS).

#include <QMargins>
#include <QtGui/qwindowdefs.h>

#include <optional>

namespace lirabox {

// The estimated frame margins, or nothing when not running on that desktop, when the
// window manager does not offer estimates, or when it gives none within a
// fraction of a second.
std::optional<QMargins> estimatedFrameExtents(WId window);

}  // namespace lirabox
