#include "DeclaredFunctionManager.h"

#include "KeyMessage.h"
#include "QuietKeyMessageLog.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QMetaObject>

namespace lirabox::hotkeys {

class DeclaredFunctionManager::Filter final : public QAbstractNativeEventFilter {
public:
    explicit Filter(DeclaredFunctionManager& owner) : mOwner(owner) {}

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        mOwner.KeyMessageWindowProc(eventType, message);
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

void DeclaredFunctionManager::KeyMessageWindowProc(const QByteArray& eventType, const void* nativeEvent) {
    const auto slot = commandSlotOf(eventType, nativeEvent, mWindow, mKeyMessageId);
    if (!slot) return;
    QMetaObject::invokeMethod(
        &mCallContext,
        [this, command = *slot] {
            if (mHandler) mHandler(command);
        },
        Qt::QueuedConnection);
}

}  // namespace lirabox::hotkeys
