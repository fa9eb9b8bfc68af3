#pragma once
// Reading a small regular file whole, and replacing one so that a crash at any
// moment leaves either the old or the new content, never a mixture: the new
// text goes to a temporary file in the same folder, is flushed to disk and is
// then renamed over the old file. (The folder itself is not flushed: after a
// power cut the rename may be lost, which leaves the old file, and it would
// double the time of a write.)

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lirabox {

// The whole content of the regular file at `path` (symbolic links followed);
// nothing when it is missing, not a regular file, unreadable or above maxSize.
// Never blocks on a FIFO or device.
std::optional<std::string> readSmallFile(const std::string& path, std::size_t maxSize);

// Replaces the file at `path` by edit(current content), where a missing file has
// empty content. Returns false and changes nothing when the folder is missing
// or unwritable, the file cannot be read, is above maxSize, is not a regular
// file, or is read-only (no write permission bit, or not openable for writing,
// e.g. immutable). A symbolic link is followed and its target replaced. The
// replaced file keeps its permission bits and, where allowed, its owner.
// The temporary file is ".<name>.<process id>.tmp" beside the file; each
// write first removes those whose process has ended (a write that was
// killed), so at most one such leftover exists per file, and none after the
// next write. A file that already holds the new content is left untouched
// (true when the folder is writable). A process writes one file at a time
// (the program writes from its UI thread only).
bool updateFileAtomically(const std::string& path, std::size_t maxSize,
                          const std::function<std::string(std::string_view)>& edit);

namespace atomic_file_testing {

// The steps of a replacement, in order.
enum class Step { CreateTemporary, WriteFirstHalf, WriteSecondHalf, Flush, Rename };

// Called just before each step; returning false makes that step fail. Tests use
// it to fail or crash a replacement at every step. An empty hook removes it.
void setStepHook(std::function<bool(Step)> hook);

}  // namespace atomic_file_testing

}  // namespace lirabox
