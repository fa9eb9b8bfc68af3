#include "keytap/HookService.h"

#include <windows.h>

namespace keytap {
namespace {

// Mapped once for every process that loads Keytap.dll: the player writes it,
// the hook procedure reads it inside whichever process has the keyboard.
struct SharedHookState {
    HookStorage storage;
    std::atomic<std::uintptr_t> hook {0};
    std::atomic<uint32_t> message {0};
};
__attribute__((section(".shared"), shared)) constinit SharedHookState gShared;

HMODULE thisModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&gShared),
                         &module);
    return module;
}

HHOOK sharedHook() { return reinterpret_cast<HHOOK>(gShared.hook.load(std::memory_order_relaxed)); }

int32_t modifiersNow() {
    return modifierCode(
        ::GetAsyncKeyState(VK_SHIFT) != 0, ::GetAsyncKeyState(VK_CONTROL) != 0, ::GetAsyncKeyState(VK_MENU) != 0);
}

// Runs on the input thread of the process about to receive the key: reads the
// table, posts (never sends) and returns at once.
LRESULT CALLBACK keyboardHookProc(int code, WPARAM key, LPARAM flags) {
    if (code == HC_ACTION) {
        const bool keyDown = (static_cast<uint64_t>(flags) & 0x80000000u) == 0;
        const KeyMatch match =
            matchKeyMeasuring(gShared.storage.table, static_cast<int32_t>(key), keyDown, modifiersNow);
        if (match.slot != kNoSlot) {
            const auto target = reinterpret_cast<HWND>(gShared.storage.target.load(std::memory_order_relaxed));
            ::PostMessageA(target,
                           gShared.message.load(std::memory_order_relaxed),
                           static_cast<WPARAM>(match.slot),
                           static_cast<LPARAM>(static_cast<uint32_t>(match.lParam)));
            if (match.swallow) return 1;
        }
    }
    return ::CallNextHookEx(sharedHook(), code, key, flags);
}

uint32_t registeredMessage() { return ::RegisterWindowMessageA(KEYTAP_MESSAGE_NAME); }

class Win32Hook final : public HookBackend {
public:
    ~Win32Hook() override { ::UnhookWindowsHookEx(sharedHook()); }
    void start() override {}
    void tableChanged() override {}  // the hook reads the shared table itself
    uint32_t messageId() const override { return gShared.message.load(std::memory_order_relaxed); }
};

class Win32HookPlatform final : public HookPlatform {
public:
    // Installing is all there is to start: the hook runs from the moment
    // SetWindowsHookExA returns, with the table as InitHook leaves it.
    std::unique_ptr<HookBackend> open(const KeyTable&, const std::atomic<KeytapWindow>&) override {
        gShared.message.store(registeredMessage(), std::memory_order_relaxed);
        const HHOOK hook = ::SetWindowsHookExA(WH_KEYBOARD, keyboardHookProc, thisModule(), 0);
        gShared.hook.store(reinterpret_cast<std::uintptr_t>(hook), std::memory_order_relaxed);
        if (hook == nullptr) return nullptr;
        return std::make_unique<Win32Hook>();
    }
    uint32_t lookUpMessageId() override { return registeredMessage(); }
};

}  // namespace

HookPlatform& systemHookPlatform() {
    static auto* platform = new Win32HookPlatform;
    return *platform;
}

HookStorage& systemHookStorage() { return gShared.storage; }

}  // namespace keytap
