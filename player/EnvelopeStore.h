#pragma once
// The seek bar's finished envelopes kept on disk, so a recording opened again
// after the program was closed shows its envelope at once instead of being
// decoded anew (a whole 60 s MP3 costs about 25 ms of CPU, a long one with
// probes far more).
//
// The file is a cache: one binary file in the machine's own byte order, the
// most recent envelope first. Any fault in it (missing, truncated, another
// format, out-of-range numbers, above kMaxEnvelopeFileSize) reads as no envelopes at
// all; nothing read from it is trusted beyond those checks. A write goes to a
// temporary file beside it that is then renamed over it, so a crash leaves the
// old file or the new one; a write that fails leaves the envelopes in memory
// only.
//
// Threads: the two functions touch nothing but their file; callers make
// sure one write at a time goes to a file (the program has one writer).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <list>
#include <string>
#include <vector>

namespace lirabox {

// What an envelope belongs to: the recording as it was on disk, and the
// number of columns it was measured at.
struct EnvelopeKey {
    std::string path;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified;
    std::size_t columns = 0;
    bool operator==(const EnvelopeKey&) const = default;
};

struct KeptEnvelope {
    EnvelopeKey key;
    std::vector<float> levels;  // key.columns levels, each -1 .. 1
};

inline constexpr std::uintmax_t kMaxEnvelopeFileSize = 8 * 1024 * 1024;

// The envelopes in `file`, at most `most`; empty on any fault.
std::list<KeptEnvelope> readKeptEnvelopes(const std::filesystem::path& file, std::size_t most);

// Replaces `file` by `envelopes`; false when it could not be written.
bool writeKeptEnvelopes(const std::filesystem::path& file, const std::list<KeptEnvelope>& envelopes);

}  // namespace lirabox
