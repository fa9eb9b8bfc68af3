#include "WavChunks.h"

#include <array>
#include <cstdint>
#include <fstream>

namespace lirabox::media {
namespace {

std::uint32_t littleEndian32(const char* bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

// Enough for any real recording; a file of countless tiny chunks is looked at
// no further than this, which bounds the cost of the check itself.
constexpr int kChunksLookedAt = 4096;

}  // namespace

bool wavChunkSizesFit(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) return true;
    const auto fileSize = static_cast<std::uint64_t>(file.tellg());
    std::array<char, 12> header{};
    file.seekg(0);
    if (!file.read(header.data(), header.size())) return true;
    if (std::string(header.data(), 4) != "RIFF" || std::string(header.data() + 8, 4) != "WAVE") return true;

    std::uint64_t offset = header.size();
    for (int chunk = 0; chunk < kChunksLookedAt && offset + 8 <= fileSize; ++chunk) {
        std::array<char, 8> chunkHeader{};
        file.seekg(static_cast<std::streamoff>(offset));
        if (!file.read(chunkHeader.data(), chunkHeader.size())) return true;
        const std::uint64_t size = littleEndian32(chunkHeader.data() + 4);
        const std::uint64_t end = offset + 8 + size;
        if (end > fileSize) return std::string(chunkHeader.data(), 4) == "data";
        offset = end + (size & 1);  // chunks are padded to an even length
    }
    return true;
}

}  // namespace lirabox::media
