#include "SystemProgramFolder.h"

#include <filesystem>
#include <iterator>

namespace lirabox {

bool isSystemProgramFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    fs::path path = fs::path(folder).lexically_normal();
    if (path.has_filename() == false && path != path.root_path()) path = path.parent_path();  // "…/bin/" → "…/bin"
    for (const char* system : {"/bin",
                               "/sbin",
                               "/usr/bin",
                               "/usr/sbin",
                               "/usr/games",
                               "/usr/local/bin",
                               "/usr/local/sbin",
                               "/usr/local/games"}) {
        if (path == system) return true;
    }
    // A package of its own under /opt: /opt/<package>/bin.
    return path.is_absolute() && std::distance(path.begin(), path.end()) == 4 && *std::next(path.begin()) == "opt" &&
           path.filename() == "bin";
}

}  // namespace lirabox
