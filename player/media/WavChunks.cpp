#include "WavChunks.h"

#include "support/Utf8Path.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <vector>

namespace lirabox::media {
namespace {

std::uint64_t numberAt(const char* bytes, int count, bool bigEndian) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
        const int at = bigEndian ? i : count - 1 - i;
        value = (value << 8) | static_cast<unsigned char>(bytes[at]);
    }
    return value;
}

// RF64 and BW64 files give their large sizes in a "ds64" chunk; a chunk whose
// 32-bit size is all ones takes its size from there.
constexpr std::uint64_t kSizeInDs64 = 0xFFFFFFFF;

// The file read a window at a time, so that a flood of tiny chunks costs one
// read per window, not one per chunk.
class WindowedFile {
public:
    WindowedFile(const ReadAt& read, std::uint64_t size) : mRead(read), mSize(size) {}

    // The `count` bytes at `offset`, or nothing when the file ends before them.
    std::optional<std::string> bytes(std::uint64_t offset, std::size_t count) {
        if (offset + count > mSize) return std::nullopt;
        if (offset < mStart || offset + count > mStart + mWindow.size()) {
            mWindow.resize(static_cast<std::size_t>(std::min<std::uint64_t>(kWindow, mSize - offset)));
            mWindow.resize(mRead(offset, mWindow.data(), mWindow.size()));
            mStart = offset;
            if (count > mWindow.size()) return std::nullopt;
        }
        return std::string(mWindow.data() + (offset - mStart), count);
    }

private:
    static constexpr std::size_t kWindow = 64 * 1024;
    const ReadAt& mRead;
    std::uint64_t mSize;
    std::uint64_t mStart = 0;
    std::vector<char> mWindow;
};

// The sizes a ds64 chunk body gives: the data chunk's, and those of its table.
struct Ds64Sizes {
    std::uint64_t data = kSizeInDs64;
    std::map<std::string, std::uint64_t> chunks;
};

Ds64Sizes readDs64(WindowedFile& file, std::uint64_t bodyOffset, std::uint64_t bodySize) {
    Ds64Sizes sizes;
    const auto fixed = file.bytes(bodyOffset, 28);
    if (!fixed || bodySize < 28) return sizes;
    sizes.data = numberAt(fixed->data() + 8, 8, false);
    const std::uint64_t entries = std::min<std::uint64_t>(numberAt(fixed->data() + 24, 4, false), (bodySize - 28) / 12);
    for (std::uint64_t i = 0; i < entries; ++i) {
        const auto entry = file.bytes(bodyOffset + 28 + 12 * i, 12);
        if (!entry) break;
        sizes.chunks[entry->substr(0, 4)] = numberAt(entry->data() + 4, 8, false);
    }
    return sizes;
}

}  // namespace

bool riffChunkSizesFit(const ReadAt& read, std::uint64_t fileSize) {
    WindowedFile file(read, fileSize);
    const auto header = file.bytes(0, 12);
    if (!header) return true;
    const std::string family = header->substr(0, 4);
    const bool bigEndian = family == "RIFX";
    const bool sizesInDs64 = family == "RF64" || family == "BW64";
    if (family != "RIFF" && !bigEndian && !sizesInDs64) return true;

    Ds64Sizes ds64;
    std::uint64_t offset = 12;
    while (const auto chunkHeader = file.bytes(offset, 8)) {
        const std::string id = chunkHeader->substr(0, 4);
        std::uint64_t size = numberAt(chunkHeader->data() + 4, 4, bigEndian);
        if (sizesInDs64 && size == kSizeInDs64) {
            const auto listed = ds64.chunks.find(id);
            if (id == "data")
                size = ds64.data;
            else if (listed != ds64.chunks.end())
                size = listed->second;
        }
        if (size > fileSize - offset - 8) return id == "data";
        if (sizesInDs64 && id == "ds64") ds64 = readDs64(file, offset + 8, size);
        offset += 8 + size + (size & 1);  // chunks are padded to an even length
    }
    return true;
}

bool riffChunkSizesFit(const std::string& path) {
    std::ifstream file(pathFromUtf8(path), std::ios::binary | std::ios::ate);
    if (!file) return true;
    const auto fileSize = static_cast<std::uint64_t>(file.tellg());
    const ReadAt read = [&file](std::uint64_t offset, char* bytes, std::size_t count) -> std::size_t {
        file.clear();
        file.seekg(static_cast<std::streamoff>(offset));
        file.read(bytes, static_cast<std::streamsize>(count));
        return static_cast<std::size_t>(file.gcount());
    };
    return riffChunkSizesFit(read, fileSize);
}

}  // namespace lirabox::media
