#include "DeclaredFunctionManager.h"

#include "KeyMessage.h"
#include "QuietKeyMessageLog.h"
#include "keytap/Keytap.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMetaObject>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace lirabox::hotkeys {
namespace {

// The atom of the message name on the application's own X connection; 0 when
// the application does not run on X.
std::uint32_t registerKeyMessage() {
    const auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    const auto* x11 =
        application != nullptr ? application->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) return 0;
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(
        connection, 0, static_cast<std::uint16_t>(std::strlen(KEYTAP_MESSAGE_NAME)), KEYTAP_MESSAGE_NAME);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (reply == nullptr) return 0;
    const std::uint32_t atom = reply->atom;
    std::free(reply);
    return atom;
}

}  // namespace

class DeclaredFunctionManager::Filter final : public QAbstractNativeEventFilter {
public:
    explicit Filter(DeclaredFunctionManager& owner) : mOwner(owner) {}

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType == "xcb_generic_event_t") mOwner.KeyMessageWindowProc(message);
        return false;
    }

private:
    DeclaredFunctionManager& mOwner;
};

DeclaredFunctionManager::DeclaredFunctionManager() = default;

// The filter takes itself out of the application when it is destroyed.
DeclaredFunctionManager::~DeclaredFunctionManager() = default;

void DeclaredFunctionManager::SubclassMainWindow(std::uintptr_t window) {
    if (const std::uint32_t id = registerKeyMessage(); id != 0) {
        mKeyMessageId = id;
        quietKeyMessageWarnings();
    }
    mWindow = static_cast<std::uint32_t>(window);
    if (mFilter != nullptr || QCoreApplication::instance() == nullptr) return;
    mFilter = std::make_unique<Filter>(*this);
    QCoreApplication::instance()->installNativeEventFilter(mFilter.get());
}

void DeclaredFunctionManager::RestoreMainWindowProc(std::uintptr_t) { mFilter.reset(); }

void DeclaredFunctionManager::KeyMessageWindowProc(const void* xcbEvent) {
    const auto slot = commandSlotOf(*static_cast<const xcb_generic_event_t*>(xcbEvent), mWindow, mKeyMessageId);
    if (!slot) return;
    QMetaObject::invokeMethod(
        &mCallContext,
        [this, command = *slot] {
            if (mHandler) mHandler(command);
        },
        Qt::QueuedConnection);
}

}  // namespace lirabox::hotkeys
