#include "KeytapBinding.h"

#include "support/AppPaths.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include <dlfcn.h>

namespace lirabox::hotkeys {
namespace {

template <class Function>
Function symbol(void* handle, const char* name) {
    void* address = ::dlsym(handle, name);
    Function function = nullptr;
    if (address != nullptr) std::memcpy(&function, &address, sizeof function);
    return function;
}

}  // namespace

KeytapBinding::KeytapBinding() : KeytapBinding(defaultCandidates()) {}

KeytapBinding::KeytapBinding(std::vector<std::string> candidates) : mCandidates(std::move(candidates)) {}

std::vector<std::string> KeytapBinding::defaultCandidates() {
    std::vector<std::string> candidates;
    const std::string executable = executablePath();
    if (!executable.empty()) {
        candidates.push_back(std::filesystem::path(executable).parent_path().string() + "/libkeytap.so");
    }
    candidates.push_back("libkeytap.so");
    return candidates;
}

void KeytapBinding::InitHook(std::uintptr_t window) {
    if (isBound()) mInitHook(static_cast<KeytapWindow>(window));
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
    std::string reasons;
    for (const std::string& candidate : mCandidates) {
        std::string reason;
        if (void* handle = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            const std::string missing = resolve(handle);
            if (missing.empty()) return;
            ::dlclose(handle);
            reason = candidate + ": no function " + missing;
        } else {
            const char* error = ::dlerror();
            reason = error != nullptr ? error : candidate + ": cannot be loaded";
        }
        reasons += (reasons.empty() ? "" : "; ") + reason;
    }
    std::fprintf(stderr, "lirabox: the global shortcut keys are off (%s)\n", reasons.c_str());
    std::fflush(stderr);
}

std::string KeytapBinding::resolve(void* handle) {
    const auto initHook = symbol<InitHookFunction>(handle, "InitHook");
    const auto terminateHook = symbol<TerminateHookFunction>(handle, "TerminateHook");
    const auto registKey = symbol<RegistKeyFunction>(handle, "RegistKey");
    if (initHook == nullptr) return "InitHook";
    if (terminateHook == nullptr) return "TerminateHook";
    if (registKey == nullptr) return "RegistKey";
    mInitHook = initHook;
    mTerminateHook = terminateHook;
    mRegistKey = registKey;
    return {};
}

}  // namespace lirabox::hotkeys
