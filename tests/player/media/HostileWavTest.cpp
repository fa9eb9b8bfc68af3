// Tiny WAV files whose chunks claim gigabytes: the decoder would allocate what
// they claim. Each is refused as a bad file, and the process's peak memory
// stays small. A process of its own, so that the peak is this test's alone.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "player/media/mpv/MpvEngine.h"
#include "support/RaisedError.h"
#include "tests/common/Recordings.h"
#include "tests/common/TempFolder.h"

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

const std::string kFormat = chunk("fmt ", 16, std::string("\x01\x00\x01\x00", 4) + le32(8000) + le32(16000) +
                                                  std::string("\x02\x00\x10\x00", 4));

// RIFF/WAVE around `chunks`, padded with zeros to `size` bytes.
std::string wave(const std::string& chunks, std::size_t size = 386) {
    std::string file = "RIFF" + le32(0xFFFFFFF8) + "WAVE" + chunks;
    if (file.size() < size) file.append(size - file.size(), '\0');
    return file;
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
    const std::vector<std::pair<std::string, std::string>> files{
        {"list.wav", wave(kFormat + chunk("LIST", 0xFFFFFFF8, "INFO" + chunk("INAM", 0x55555555, "abcdefgh")))},
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
