#pragma once
// A look at a RIFF-family file (RIFF, RIFX, RF64, BW64) before the decoder
// sees it: the decoder trusts the sizes its chunks claim and allocates
// accordingly, so a tiny file claiming gigabytes could take the machine's
// memory. Every chunk is looked at, up to the end of the file; the cost is
// bounded by the file's size (a window of the file is read at a time).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace lirabox::media {

// Reads up to `count` bytes at `offset` into `bytes`; returns how many it read
// (fewer at the end of the file or on a read error).
using ReadAt = std::function<std::size_t(std::uint64_t offset, char* bytes, std::size_t count)>;

// False when the file is a RIFF-family file with a chunk that claims more
// bytes than the file holds. The sound ("data") chunk may run past the end: a
// recording cut short still plays what is there. Any other file is true.
bool riffChunkSizesFit(const ReadAt& read, std::uint64_t fileSize);

// The same for a file named by its path (UTF-8); true when it cannot be read.
bool riffChunkSizesFit(const std::string& path);

}  // namespace lirabox::media
