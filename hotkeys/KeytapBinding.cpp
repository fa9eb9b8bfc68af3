#include "KeytapBinding.h"

#include "HookRefusal.h"
#include "support/LibraryLoader.h"
#include "support/UiText.h"

#include <cstdio>

namespace lirabox::hotkeys {
namespace {

constexpr UiText kKeysOff = LIRABOX_TEXT("main", "the global shortcut keys are off");

}  // namespace

KeytapBinding::KeytapBinding() : KeytapBinding(defaultCandidates()) {}

KeytapBinding::KeytapBinding(std::vector<std::string> candidates) : mCandidates(std::move(candidates)) {}

std::vector<std::string> KeytapBinding::defaultCandidates() { return libraryCandidates(libraryFileName("Keytap")); }

// The library refuses the hook where the system does not let it watch the
// keyboard (the reason is the system's own). Said once.
void KeytapBinding::InitHook(std::uintptr_t window) {
    if (!isBound()) return;
    mHookRefused = mInitHook(static_cast<KeytapWindow>(window)) == 0;  // non-zero: installed
    if (!mHookRefused || mHookRefusalReported) return;
    mHookRefusalReported = true;
    reportKeysOff(shown(hookRefusalReason()));
}

KeyRoute KeytapBinding::route() {
    if (!isBound()) return {KeyRoute::Way::Off, mBindFailure, {}};
    if (mHookRefused) return {KeyRoute::Way::Off, shown(hookRefusalReason()), {}};
    return {};
}

void KeytapBinding::reportKeysOff(const std::string& reason) {
    std::fprintf(stderr, "lirabox: %s (%s)\n", shown(kKeysOff).c_str(), reason.c_str());
    std::fflush(stderr);
}

void KeytapBinding::TerminateHook() {
    if (isBound()) mTerminateHook();
}

void KeytapBinding::RegistKey(const ShortcutKeyRecord& record) {
    if (isBound()) mRegistKey(&record);
}

bool KeytapBinding::isBound() {
    if (!mBindTried) bind();
    return mRegistKey != nullptr;
}

// The first candidate that loads with all three functions wins. Otherwise the
// reasons of every candidate go out as one line, once.
void KeytapBinding::bind() {
    mBindTried = true;
    const LoadedLibrary library = loadFirstLibrary(mCandidates, [this](void* handle) {
        const std::string missing = resolve(handle);
        return missing.empty() ? missing : "no function " + missing;
    });
    if (library.handle != nullptr) return;
    mBindFailure = library.reasons;
    reportKeysOff(library.reasons);
}

std::string KeytapBinding::resolve(void* handle) {
    const auto initHook = libraryFunction<InitHookFunction>(handle, "InitHook");
    const auto terminateHook = libraryFunction<TerminateHookFunction>(handle, "TerminateHook");
    const auto registKey = libraryFunction<RegistKeyFunction>(handle, "RegistKey");
    if (initHook == nullptr) return "InitHook";
    if (terminateHook == nullptr) return "TerminateHook";
    if (registKey == nullptr) return "RegistKey";
    mInitHook = initHook;
    mTerminateHook = terminateHook;
    mRegistKey = registKey;
    return {};
}

}  // namespace lirabox::hotkeys
