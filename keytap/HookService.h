#pragma once
// What the exported functions do, apart from the platform: the key table, the
// target window, and the start and stop of the platform's keyboard watcher.
//
// Where the table and the target window live is the backend's choice
// (systemHookStorage): on X11 one table per process stands in for a shared one,
// since the watcher runs inside the player's own process and sees the whole
// desktop's keys from there; on Windows the hook procedure runs inside every
// process with keyboard input, and the table lies in a data section that all
// of them share.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "KeyTable.h"
#include "Keytap.h"

namespace keytap {

// The platform side: watches the desktop's keys once started, matches them
// against the table and posts to the target window.
class HookBackend {
public:
    virtual ~HookBackend() = default;  // stops watching
    virtual void start() = 0;
    // The table changed: the watcher adapts to it before this returns.
    virtual void tableChanged() = 0;
    // The number of the message "KVL_MESSAGE_PROC".
    virtual uint32_t messageId() const = 0;
};

class HookPlatform {
public:
    virtual ~HookPlatform() = default;
    // Connects to the platform; null when that is impossible. Does not watch yet.
    virtual std::unique_ptr<HookBackend> open(const KeyTable& table, const std::atomic<KeytapWindow>& target) = 0;
    // The message number without a running watcher; 0 when the platform refuses.
    virtual uint32_t lookUpMessageId() = 0;
};

// The state the watcher reads: written by the player's process only, each
// field a whole 32-bit (or pointer-sized) value. Backends define it constinit,
// so that no constructor runs over a table another process has filled.
struct HookStorage {
    KeyTable table;
    std::atomic<KeytapWindow> target {0};
};

// The keyboard watcher of the desktop this library is built for, and the
// storage it reads; the backend folder chosen by the build defines them.
// Never destroyed.
HookPlatform& systemHookPlatform();
HookStorage& systemHookStorage();

class HookService {
public:
    HookService(HookPlatform& platform, HookStorage& storage)
        : mPlatform(platform), mTable(storage.table), mTarget(storage.target) {}

    int32_t initHook(KeytapWindow window);
    int32_t terminateHook();
    int32_t registKey(const ShortcutKeyRecord* record);
    int32_t unRegistKey(int32_t slot);
    uint32_t messageId();

    const KeyTable& table() const { return mTable; }
    KeytapWindow target() const { return mTarget.load(std::memory_order_relaxed); }
    bool running() const;

private:
    void notifyTableChanged();

    HookPlatform& mPlatform;
    KeyTable& mTable;
    std::atomic<KeytapWindow>& mTarget;
    mutable std::mutex mMutex;  // the player's calls only; the watcher never takes it
    std::unique_ptr<HookBackend> mBackend;
};

}  // namespace keytap
