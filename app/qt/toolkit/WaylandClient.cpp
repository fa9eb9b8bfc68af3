#include "WaylandClient.h"

#include <QGuiApplication>

namespace lirabox::qt {

bool isWaylandClient() { return QGuiApplication::platformName().startsWith(QStringLiteral("wayland")); }

}  // namespace lirabox::qt
