#pragma once
// The message a failed load shows: the error lines every failure shows, then
// the file's path and, where it can be told, why the file could not be
// loaded, in the user's words. Looks at the file system (no reads beyond
// opening the file); call on the UI thread.

#include <cstdint>
#include <string>

namespace lirabox {

// "エラーが発生しました。", CR LF, "ErrCode = " and the number, CR LF, the path
// and, on a line of its own, the reason: the file does not exist, cannot be
// read, or is no recording the engine plays (number is the raised error's).
std::string LoadFailureText(std::int32_t number, const std::string& path);

}  // namespace lirabox
