#include "LibraryLoader.h"

#include "AppPaths.h"

#include <filesystem>

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
        if (void* handle = openLibrary(candidate, reason)) {
            const std::string refusal = check(handle);
            if (refusal.empty()) {
                result.handle = handle;
                result.reasons.clear();
                return result;
            }
            closeLibrary(handle);
            reason = candidate + ": " + refusal;
        }
        result.reasons += (result.reasons.empty() ? "" : "; ") + reason;
    }
    return result;
}

}  // namespace lirabox
