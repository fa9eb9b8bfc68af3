#include "app/qt/keys/QuietKeyMessageLog.h"

#include "keytap/Keytap.h"

#include <QString>
#include <QtGlobal>

#include <cstring>
#include <mutex>

namespace lirabox::hotkeys {
namespace {

// Qt hands back its default handler when none was installed, so this is never null.
QtMessageHandler gPrevious = nullptr;

bool isKeyMessageWarning(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    return type == QtWarningMsg && context.category != nullptr && std::strcmp(context.category, "qt.qpa.xcb") == 0 &&
           text.startsWith(QLatin1String("Unhandled client message:")) &&
           text.contains(QLatin1String(KEYTAP_MESSAGE_NAME));
}

void handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!isKeyMessageWarning(type, context, text)) gPrevious(type, context, text);
}

}  // namespace

void quietKeyMessageWarnings() {
    static std::once_flag once;
    std::call_once(once, [] { gPrevious = qInstallMessageHandler(handle); });
}

}  // namespace lirabox::hotkeys
