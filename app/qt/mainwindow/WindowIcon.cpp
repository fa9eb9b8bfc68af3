#include "WindowIcon.h"

#include <QString>

// Resources of a static library are registered by hand, outside any namespace.
static void registerIconResource() { Q_INIT_RESOURCE(icons); }

namespace lirabox::qt::art {

QIcon windowIcon() {
    registerIconResource();
    QIcon icon;
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/lirabox-%1.png").arg(side), QSize(side, side));
    }
    return icon;
}

}  // namespace lirabox::qt::art
