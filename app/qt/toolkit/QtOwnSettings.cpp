#include "QtOwnSettings.h"

#include <QSettings>

namespace lirabox::qt {
namespace {

// No folder can be made below a device file: every sync fails quietly, and
// the values live on in memory until the process ends.
constexpr auto kNowhere = "/dev/null";

}  // namespace

void keepQtSettingsInMemory() {
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        QSettings::setPath(format, QSettings::UserScope, QString::fromLatin1(kNowhere));
        QSettings::setPath(format, QSettings::SystemScope, QString::fromLatin1(kNowhere));
    }
}

}  // namespace lirabox::qt
