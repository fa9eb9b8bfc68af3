#include "HookService.h"

namespace keytap {

int32_t HookService::initHook(KeytapWindow window) {
    std::lock_guard lock(mutex_);
    // A second start replaces the running watcher instead of adding another
    // one that would post every key twice.
    backend_.reset();
    target_.store(window, std::memory_order_relaxed);
    std::unique_ptr<HookBackend> backend = platform_.open(table_, target_);
    if (!backend) return 0;
    table_.releaseAll();
    backend->start();
    backend_ = std::move(backend);
    return 1;
}

int32_t HookService::terminateHook() {
    std::lock_guard lock(mutex_);
    if (!backend_) return 0;
    backend_.reset();
    return 1;
}

int32_t HookService::registKey(const ShortcutKeyRecord* record) {
    if (record == nullptr) return 0;
    std::lock_guard lock(mutex_);
    if (!table_.store(*record)) return 0;
    notifyTableChanged();
    return 1;
}

int32_t HookService::unRegistKey(int32_t slot) {
    std::lock_guard lock(mutex_);
    if (!table_.release(slot)) return 0;
    notifyTableChanged();
    return 1;
}

uint32_t HookService::messageId() {
    std::lock_guard lock(mutex_);
    return backend_ ? backend_->messageId() : platform_.lookUpMessageId();
}

bool HookService::running() const {
    std::lock_guard lock(mutex_);
    return backend_ != nullptr;
}

void HookService::notifyTableChanged() {
    if (backend_) backend_->tableChanged();
}

}  // namespace keytap
