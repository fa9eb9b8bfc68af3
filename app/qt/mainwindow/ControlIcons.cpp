#include "ControlIcons.h"

#include <QStyle>

namespace lirabox::qt {
namespace {

QIcon themed(const char* name, const QStyle& style, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name), style.standardIcon(fallback));
}

}  // namespace

QIcon playIcon(const QStyle& style) { return themed("media-playback-start", style, QStyle::SP_MediaPlay); }
QIcon pauseIcon(const QStyle& style) { return themed("media-playback-pause", style, QStyle::SP_MediaPause); }
QIcon stopIcon(const QStyle& style) { return themed("media-playback-stop", style, QStyle::SP_MediaStop); }
QIcon openIcon(const QStyle& style) { return themed("document-open", style, QStyle::SP_DialogOpenButton); }
QIcon rewindIcon(const QStyle& style) { return themed("media-seek-backward", style, QStyle::SP_MediaSeekBackward); }
QIcon forwardIcon(const QStyle& style) { return themed("media-seek-forward", style, QStyle::SP_MediaSeekForward); }

}  // namespace lirabox::qt
