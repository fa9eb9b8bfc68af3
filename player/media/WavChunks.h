#pragma once
// A quick look at a RIFF/WAVE file before the decoder sees it: the decoder
// trusts the sizes its chunks claim and allocates accordingly, so a tiny file
// claiming gigabytes could take the machine's memory.

#include <string>

namespace lirabox::media {

// False when the file is a RIFF/WAVE file with a chunk that claims more bytes
// than the file holds. The sound ("data") chunk may run past the end: a
// recording cut short still plays what is there. Any other file is true.
bool wavChunkSizesFit(const std::string& path);

}  // namespace lirabox::media
