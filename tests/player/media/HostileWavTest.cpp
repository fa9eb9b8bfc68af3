// Tiny RIFF-family files whose chunks claim gigabytes: the decoder would
// allocate what they claim. Each is refused as a bad file, and the process's
// peak memory stays small. Each case a process of its own, so that the peak is
// that case's alone.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "player/media/mpv/MpvEngine.h"
#include "support/RaisedError.h"
#include "tests/common/Recordings.h"
#include "tests/common/TempFolder.h"
#include "tests/player/media/EngineProbe.h"

namespace {

using namespace lirabox::media;

std::string le32(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

std::string chunk(const std::string& id, std::uint32_t claimed, const std::string& body = {}) {
    return id + le32(claimed) + body;
}

const std::string kFormat = chunk(
    "fmt ", 16, std::string("\x01\x00\x01\x00", 4) + le32(8000) + le32(16000) + std::string("\x02\x00\x10\x00", 4));

std::string be32(std::uint32_t value) {
    std::string bytes = le32(value);
    return {bytes.rbegin(), bytes.rend()};
}

std::string le64(std::uint64_t value) {
    return le32(static_cast<std::uint32_t>(value)) + le32(static_cast<std::uint32_t>(value >> 32));
}

// `family`/WAVE around `chunks`, padded with zeros to `size` bytes.
std::string wave(const std::string& chunks, std::size_t size = 386, const std::string& family = "RIFF") {
    std::string file = family + (family == "RIFX" ? be32(0xFFFFFFF8) : le32(0xFFFFFFF8)) + "WAVE" + chunks;
    if (file.size() < size) file.append(size - file.size(), '\0');
    return file;
}

const std::string kHugeList = chunk("LIST", 0xFFFFFFF8, "INFO" + chunk("INAM", 0x55555555, "abcdefgh"));

// RF64 and BW64 give the large sizes in a ds64 chunk: here a real data size,
// and the hostile LIST in its ordinary 32-bit field.
std::string wave64(const std::string& family) {
    const std::string ds64 = chunk("ds64", 28, le64(400) + le64(4) + le64(2) + le32(0));
    return wave(ds64 + kFormat + chunk("data", 0xFFFFFFFF, "\0\0\0\0") + kHugeList, 400, family);
}

// Peak resident memory of this process so far, in bytes.
std::uint64_t peakResident() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) return std::stoull(line.substr(6)) * 1024;
    }
    return 0;
}

TEST(HostileWav, ChunksClaimingMoreThanTheFileAreRefusedWithoutTakingMemory) {
    lirabox::test::TempFolder folder;
    const std::vector<std::pair<std::string, std::string>> files {
        {"list.wav", wave(kFormat + kHugeList)},
        {"rifx.wav",
         wave("fmt " + be32(16) + std::string("\x00\x01\x00\x01", 4) + be32(8000) + be32(16000) +
                  std::string("\x00\x02\x00\x10", 4) + "LIST" + be32(0xFFFFFFF8) + "INFO",
              386,
              "RIFX")},
        {"rf64.wav", wave64("RF64")},
        {"bw64.wav", wave64("BW64")},
        {"junk-flood.wav",
         wave(kFormat +
              [] {
                  std::string flood;
                  for (int i = 0; i < 4200; ++i) flood += chunk("JUNK", 0);
                  return flood;
              }() +
              chunk("data", 4, "\0\0\0\0") + kHugeList)},
        {"bext.wav", wave(kFormat + chunk("bext", 0x60000000))},
        {"junk.wav", wave(chunk("JUNK", 0xFFFFFFF0) + kFormat)},
        {"format.wav", wave(chunk("fmt ", 0x7FFFFFF0, kFormat.substr(8)))},
        {"after-data.wav",
         wave(kFormat + chunk("data", 4, "\0\0\0\0") + chunk("LIST", 0x70000000, "INFO" + chunk("IART", 0x6FFFFFF0)))},
    };
    MpvEngine engine;
    engine.settings().autoStart(false);
    lirabox::test::writeSineWav(folder.file("good.wav"), 2.0, 440.0, 8000, 1);
    engine.URL(folder.fileText("good.wav"));
    const std::uint64_t before = peakResident();

    for (const auto& [name, bytes] : files) {
        std::ofstream(folder.file(name), std::ios::binary) << bytes;
        try {
            engine.URL(folder.fileText(name));
            ADD_FAILURE() << name << " was loaded";
        } catch (const lirabox::RaisedError& refused) {
            EXPECT_EQ(refused.number(), lirabox::kObjectErrorBase + kErrNotPlayable) << name;
        }
    }
    engine.URL(folder.fileText("good.wav"));
    EXPECT_NEAR(engine.currentMedia().duration(), 2.0, 0.05);

    const std::uint64_t peak = peakResident();
    constexpr std::uint64_t kMiB = 1024 * 1024;
    EXPECT_LT(peak - before, 30 * kMiB) << "peak " << peak / kMiB << " MiB";
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(peak, 150 * kMiB);  // the sanitizers' own memory does not count
#endif
}

}  // namespace

namespace {

// The file checked is the one played: "link/../x.wav" names, for the system,
// the x.wav beside the link's target, not the x.wav beside the link. And a
// refused file leaves the recording that was playing alone.
TEST(HostileWav, TheFileCheckedIsTheFilePlayedAndARefusalLeavesPlaybackAlone) {
    lirabox::test::TempFolder folder;
    std::filesystem::create_directories(folder.file("real/sub"));
    std::filesystem::create_directory_symlink(folder.file("real/sub"), folder.file("link"));
    lirabox::test::writeSineWav(folder.file("real/x.wav"), 2.0, 440.0, 8000, 1);
    std::ofstream(folder.file("x.wav"), std::ios::binary) << wave(kFormat + kHugeList);
    lirabox::test::writeSineWav(folder.file("playing.wav"), 30.0, 440.0, 8000, 1);

    MpvEngine engine;
    engine.URL(folder.fileText("playing.wav"));
    ASSERT_TRUE(lirabox::test::waitUntil(engine, [&] { return engine.controls().currentPosition() > 0.2; }));
    for (const std::string name : {"x.wav", "missing.wav", "real"}) {
        EXPECT_THROW(engine.URL(folder.fileText(name)), lirabox::RaisedError) << name;
        EXPECT_EQ(engine.playState(), kPlaying) << name;
        EXPECT_EQ(engine.currentMedia().name(), "playing.wav") << name;
    }
    const double before = engine.controls().currentPosition();
    EXPECT_TRUE(lirabox::test::waitUntil(engine, [&] { return engine.controls().currentPosition() > before + 0.2; }));

    engine.URL(folder.fileText("link/../x.wav"));
    EXPECT_NEAR(engine.currentMedia().duration(), 2.0, 0.05);
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(peakResident(), 150 * 1024 * 1024);
#endif
}

}  // namespace
