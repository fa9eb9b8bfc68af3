#pragma once
// Checks of a recording's path shared by the engines, before a decoder sees it.

#include <string>

namespace lirabox::media {

// Why the path cannot name a file at all (empty, or holding a NUL character
// that would cut it short), or empty text when it can.
std::string unusableNameReason(const std::string& path);

// What stands between the path and a file that can be read.
enum class PathProblem {
    None,
    NoName,        // empty, or cut short by a NUL character
    Missing,       // nothing there (or a folder on the way is no folder)
    Folder,        // a folder, not a file
    NotPlainFile,  // a device, a pipe or a socket
    Unreadable,    // a plain file that cannot be opened for reading
};
PathProblem pathProblem(const std::string& path);

// Why the path cannot be opened as a recording, or empty text when it can.
std::string unusablePathReason(const std::string& path);

// The file name part of the path (what the engine reports as the media name).
std::string fileNameOf(const std::string& path);

}  // namespace lirabox::media
