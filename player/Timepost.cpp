#include "Timepost.h"

#include "support/AppPaths.h"

#include <cstring>
#include <filesystem>

#include <dlfcn.h>

namespace lirabox {

TimepostLibrary::TimepostLibrary() : TimepostLibrary(defaultCandidates()) {}

TimepostLibrary::TimepostLibrary(std::vector<std::string> candidates) : mCandidates(std::move(candidates)) {}

TimepostLibrary::~TimepostLibrary() {
    if (mHandle != nullptr) ::dlclose(mHandle);
}

std::vector<std::string> TimepostLibrary::defaultCandidates() {
    std::vector<std::string> candidates;
    const std::string executable = executablePath();
    if (!executable.empty()) {
        candidates.push_back(std::filesystem::path(executable).parent_path().string() + "/libtimepost.so");
    }
    candidates.push_back("libtimepost.so");
    return candidates;
}

void TimepostLibrary::SetTime(double seconds) {
    if (isBound()) mSetTime(seconds);
}

bool TimepostLibrary::isBound() {
    if (!mBindTried) bind();
    return mSetTime != nullptr;
}

// The first library that loads and exports SetTime wins; when none does, the
// outcome is remembered and no further attempt is made.
void TimepostLibrary::bind() {
    mBindTried = true;
    for (const auto& candidate : mCandidates) {
        void* handle = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) continue;
        void* symbol = ::dlsym(handle, "SetTime");
        if (symbol == nullptr) {
            ::dlclose(handle);
            continue;
        }
        mHandle = handle;
        std::memcpy(&mSetTime, &symbol, sizeof mSetTime);
        return;
    }
}

}  // namespace lirabox
