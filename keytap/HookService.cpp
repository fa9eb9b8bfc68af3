#include "HookService.h"

namespace keytap {

int32_t HookService::initHook(KeytapWindow window) {
    std::lock_guard lock(mMutex);
    // A second start replaces the running watcher instead of adding another
    // one that would post every key twice.
    mBackend.reset();
    mTarget.store(window, std::memory_order_relaxed);
    std::unique_ptr<HookBackend> backend = mPlatform.open(mTable, mTarget);
    if (!backend) return 0;
    mTable.releaseAll();
    backend->start();
    mBackend = std::move(backend);
    return 1;
}

int32_t HookService::terminateHook() {
    std::lock_guard lock(mMutex);
    if (!mBackend) return 0;
    mBackend.reset();
    return 1;
}

int32_t HookService::registKey(const ShortcutKeyRecord* record) {
    if (record == nullptr) return 0;
    std::lock_guard lock(mMutex);
    if (!mTable.store(*record)) return 0;
    notifyTableChanged();
    return 1;
}

int32_t HookService::unRegistKey(int32_t slot) {
    std::lock_guard lock(mMutex);
    if (!mTable.release(slot)) return 0;
    notifyTableChanged();
    return 1;
}

uint32_t HookService::messageId() {
    std::lock_guard lock(mMutex);
    return mBackend ? mBackend->messageId() : mPlatform.lookUpMessageId();
}

bool HookService::running() const {
    std::lock_guard lock(mMutex);
    return mBackend != nullptr;
}

void HookService::notifyTableChanged() {
    if (mBackend) mBackend->tableChanged();
}

}  // namespace keytap
