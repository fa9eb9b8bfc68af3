#include "LibraryLoader.h"

#include "AppPaths.h"

#include <filesystem>

#include <dlfcn.h>

namespace lirabox {

std::vector<std::string> libraryCandidates(const std::string& fileName) {
    std::vector<std::string> candidates;
    const std::string executable = executablePath();
    if (!executable.empty()) {
        candidates.push_back((std::filesystem::path(executable).parent_path() / fileName).string());
    }
    candidates.push_back(fileName);
    return candidates;
}

LoadedLibrary loadFirstLibrary(const std::vector<std::string>& candidates, const LibraryCheck& check) {
    LoadedLibrary result;
    for (const std::string& candidate : candidates) {
        std::string reason;
        if (void* handle = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL)) {
            const std::string refusal = check(handle);
            if (refusal.empty()) {
                result.handle = handle;
                result.reasons.clear();
                return result;
            }
            ::dlclose(handle);
            reason = candidate + ": " + refusal;
        } else {
            const char* error = ::dlerror();
            reason = error != nullptr ? error : candidate + ": cannot be loaded";
        }
        result.reasons += (result.reasons.empty() ? "" : "; ") + reason;
    }
    return result;
}

void closeLibrary(void* handle) { ::dlclose(handle); }

void* librarySymbol(void* handle, const char* name) { return ::dlsym(handle, name); }

}  // namespace lirabox
