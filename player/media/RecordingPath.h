#pragma once
// Checks of a recording's path shared by the engines, before a decoder sees it.

#include <string>

namespace lirabox::media {

// Why the path cannot name a file at all (empty, or holding a NUL character
// that would cut it short), or empty text when it can.
std::string unusableNameReason(const std::string& path);

// Why the path cannot be opened as a recording, or empty text when it can.
std::string unusablePathReason(const std::string& path);

// The file name part of the path (what the engine reports as the media name).
std::string fileNameOf(const std::string& path);

}  // namespace lirabox::media
