#pragma once
// Where the reference Timepost keeps the position, and how it writes it.

#include <string>

namespace lirabox::timepost {

// $XDG_RUNTIME_DIR/lirabox when XDG_RUNTIME_DIR is an absolute path,
// otherwise /tmp/lirabox-<uid>; on Windows %LOCALAPPDATA%\lirabox.
std::string positionFolder();

// The line written for a position: "90.100 00:01:30\n". Negative positions
// are written as 0.
std::string positionLine(double seconds);

// Writes the line into folder/position through a temporary file and a rename,
// creating the folder (mode 0700) when it is missing. A folder that is a
// symbolic link, not owned by this user or open to others is refused (EPERM),
// so nobody else can redirect or read what is written (on Windows: a link or
// junction is refused, the user's AppData folder keeps others out). Returns 0
// or an errno.
int writePosition(const std::string& folder, const std::string& line);

}  // namespace lirabox::timepost
