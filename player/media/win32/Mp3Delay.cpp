#include "Mp3Delay.h"

#include "support/Utf8Path.h"

#include <cstring>
#include <fstream>
#include <optional>
#include <vector>

namespace lirabox::media {
namespace {

constexpr std::int64_t kDecoderDelay = 529;
constexpr std::int64_t kUsualEncoderDelay = 576;
// ID3 tags before the first frame are skipped; a frame further in than this
// is not looked for.
constexpr std::size_t kLookedAt = 1 << 16;
constexpr int kChainedFrames = 3;

std::uint32_t bigEndian32(const unsigned char* bytes) {
    return (std::uint32_t {bytes[0]} << 24) | (std::uint32_t {bytes[1]} << 16) | (std::uint32_t {bytes[2]} << 8) |
           bytes[3];
}

struct FrameHeader {
    bool mpeg1;
    bool mono;
    std::size_t bytes;  // of the whole frame
};

// The MPEG audio layer III frame header at `at`, if there is one.
std::optional<FrameHeader> frameHeaderAt(const std::vector<unsigned char>& data, std::size_t at) {
    if (at + 4 > data.size() || data[at] != 0xFF || (data[at + 1] & 0xE0) != 0xE0) return std::nullopt;
    const int version = (data[at + 1] >> 3) & 3;  // 0: 2.5, 2: 2, 3: 1
    const int layer = (data[at + 1] >> 1) & 3;    // 1: III
    const int bitrateIndex = data[at + 2] >> 4;
    const int rateIndex = (data[at + 2] >> 2) & 3;
    if (version == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) return std::nullopt;
    static constexpr int kMpeg1Kbits[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static constexpr int kMpeg2Kbits[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static constexpr int kMpeg1Rates[] = {44100, 48000, 32000};
    const bool mpeg1 = version == 3;
    const int rate = kMpeg1Rates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
    const int kbits = (mpeg1 ? kMpeg1Kbits : kMpeg2Kbits)[bitrateIndex];
    const std::size_t bytes =
        static_cast<std::size_t>((mpeg1 ? 144000 : 72000) * kbits / rate + ((data[at + 2] >> 1) & 1));
    return FrameHeader {mpeg1, (data[at + 3] >> 6) == 3, bytes};
}

// A frame header whose next frames follow where it says they do: one alone is
// two bytes any other file may hold (PCM samples, for instance).
std::optional<FrameHeader> frameChainAt(const std::vector<unsigned char>& data, std::size_t at) {
    const auto first = frameHeaderAt(data, at);
    std::optional<FrameHeader> next = first;
    for (int i = 0; next && i < kChainedFrames; ++i) {
        at += next->bytes;
        next = frameHeaderAt(data, at);
    }
    return next ? first : std::nullopt;
}

std::size_t afterId3(const std::vector<unsigned char>& data) {
    if (data.size() < 10 || std::memcmp(data.data(), "ID3", 3) != 0) return 0;
    const std::size_t size =
        (std::size_t {data[6]} << 21) | (std::size_t {data[7]} << 14) | (std::size_t {data[8]} << 7) | data[9];
    const bool footer = (data[5] & 0x10) != 0;
    return 10 + size + (footer ? 10 : 0);
}

}  // namespace

std::optional<Mp3Delay> readMp3Delay(const std::string& path) {
    std::ifstream file(pathFromUtf8(path), std::ios::binary);
    std::vector<unsigned char> data(kLookedAt);
    file.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<std::size_t>(file.gcount()));

    std::size_t at = afterId3(data);
    std::optional<FrameHeader> header;
    for (; at + 4 <= data.size() && !(header = frameChainAt(data, at)); ++at) {}
    if (!header) return std::nullopt;
    const bool mpeg1 = header->mpeg1;
    const bool mono = header->mono;
    const std::int64_t framesPerFrame = mpeg1 ? 1152 : 576;

    Mp3Delay delay {kUsualEncoderDelay + kDecoderDelay, std::nullopt};
    // The Xing / Info tag sits after the side information of the first frame.
    std::size_t tag = at + 4 + (mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17));
    if (tag + 8 > data.size() || (std::memcmp(&data[tag], "Xing", 4) != 0 && std::memcmp(&data[tag], "Info", 4) != 0)) {
        return delay;
    }
    const std::uint32_t flags = bigEndian32(&data[tag + 4]);
    std::size_t field = tag + 8;
    std::optional<std::int64_t> frames;
    if (flags & 1u) {
        if (field + 4 > data.size()) return delay;
        frames = bigEndian32(&data[field]);
        field += 4;
    }
    field += (flags & 2u ? 4 : 0) + (flags & 4u ? 100 : 0) + (flags & 8u ? 4 : 0);
    // The LAME extension: a 9-byte encoder name, and 21 bytes in, 12 bits of
    // encoder delay and 12 bits of padding.
    if (field + 24 > data.size()) return delay;
    const bool lame = std::memcmp(&data[field], "LAME", 4) == 0 || std::memcmp(&data[field], "Lavc", 4) == 0 ||
                      std::memcmp(&data[field], "Lavf", 4) == 0;
    if (!lame) return delay;
    const std::int64_t encoderDelay = (std::int64_t {data[field + 21]} << 4) | (data[field + 22] >> 4);
    const std::int64_t padding = (std::int64_t {data[field + 22] & 0x0F} << 8) | data[field + 23];
    delay.leading = encoderDelay + kDecoderDelay;
    if (frames) delay.soundFrames = *frames * framesPerFrame - encoderDelay - padding;
    return delay;
}

}  // namespace lirabox::media
