#pragma once
// Pictures of the main window's buttons: the desktop's icon theme where it has
// the icon, Qt's own standard icons otherwise.

#include <QIcon>

class QStyle;

namespace lirabox::qt {

QIcon playIcon(const QStyle& style);
QIcon pauseIcon(const QStyle& style);
QIcon stopIcon(const QStyle& style);
QIcon openIcon(const QStyle& style);
QIcon rewindIcon(const QStyle& style);
QIcon forwardIcon(const QStyle& style);

}  // namespace lirabox::qt
