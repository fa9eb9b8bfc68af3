#pragma once
// Whether an executable's folder is one where the system installs programs for
// every user (/usr/bin, /usr/local/bin, /opt/<package>/bin, ...), as opposed to
// a build or unpacked folder of the user's own. A program there keeps no
// settings beside itself. Plain path logic on POSIX paths; touches no file.

#include <string>

namespace lirabox {

bool isSystemProgramFolder(const std::string& folder);

}  // namespace lirabox
