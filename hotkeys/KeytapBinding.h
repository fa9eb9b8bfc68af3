#pragma once
// The player's binding of the Keytap library (libkeytap.so).
//
// The library is loaded at the first call of InitHook, TerminateHook or
// RegistKey: first from the program's own folder, then through the usual
// library search. When no candidate loads with all three functions, one line
// says so on stderr, the shortcut keys stay silent and the player goes on; the
// lookup is made only once. The library stays loaded for the rest of the
// process: its keyboard watcher may still run while the program ends.

#include "player/ShortcutKeyPorts.h"

#include <cstdint>
#include <string>
#include <vector>

namespace lirabox::hotkeys {

class KeytapBinding final : public KeytapApi {
public:
    // Beside the executable, then "libkeytap.so" by the usual search.
    KeytapBinding();
    // The given library paths, tried in order (a name without "/" is searched for).
    explicit KeytapBinding(std::vector<std::string> candidates);
    KeytapBinding(const KeytapBinding&) = delete;
    KeytapBinding& operator=(const KeytapBinding&) = delete;

    void InitHook(std::uintptr_t window) override;
    void TerminateHook() override;
    void RegistKey(const ShortcutKeyRecord& record) override;
    // Off while no library is bound or the last InitHook was refused.
    KeyRoute route() override;

    // Whether a library with all three functions was found (binds on first use).
    bool isBound();

    static std::vector<std::string> defaultCandidates();

private:
    using InitHookFunction = std::int32_t (*)(KeytapWindow);
    using TerminateHookFunction = std::int32_t (*)();
    using RegistKeyFunction = std::int32_t (*)(const ShortcutKeyRecord*);

    void bind();
    // One line on stderr for the user: why the keys do nothing.
    static void reportKeysOff(const std::string& reason);
    // Takes the three functions from an opened library; the missing one's name otherwise.
    std::string resolve(void* handle);

    std::vector<std::string> mCandidates;
    bool mBindTried = false;
    bool mHookRefusalReported = false;
    bool mHookRefused = false;
    std::string mBindFailure;
    InitHookFunction mInitHook = nullptr;
    TerminateHookFunction mTerminateHook = nullptr;
    RegistKeyFunction mRegistKey = nullptr;
};

}  // namespace lirabox::hotkeys
