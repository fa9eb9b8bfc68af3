#pragma once
// Asks the window manager how much decoration it will give a window that is
// not mapped yet (_NET_REQUEST_FRAME_EXTENTS).

#include <QMargins>
#include <QtGui/qwindowdefs.h>

#include <optional>

namespace lirabox {

// The estimated frame margins, or nothing when not running on X11, when the
// window manager does not offer estimates, or when it gives none within a
// fraction of a second.
std::optional<QMargins> estimatedFrameExtents(WId window);

}  // namespace lirabox
