#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "Recordings.h"

// Plain C++ only: the Windows tests write their tones with it too.
namespace lirabox::test {
namespace {

void putLe(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.put(static_cast<char>((value >> (8 * i)) & 0xFFu));
    }
}

// `seconds` of `signal(t)` (-1 .. 1) as 16-bit PCM, the same on every channel.
void writeWav(const std::filesystem::path& path, double seconds, int sampleRate, int channels,
              const std::function<double(double)>& signal) {
    if (seconds < 0 || sampleRate <= 0 || channels <= 0) {
        throw std::runtime_error("writing a WAV: bad arguments");
    }
    const auto frames = static_cast<std::uint32_t>(std::llround(seconds * sampleRate));
    const std::uint32_t blockAlign = 2u * static_cast<std::uint32_t>(channels);
    const std::uint32_t dataBytes = frames * blockAlign;

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path.string());
    out.write("RIFF", 4);
    putLe(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    putLe(out, 16, 4);
    putLe(out, 1, 2);  // PCM
    putLe(out, static_cast<std::uint32_t>(channels), 2);
    putLe(out, static_cast<std::uint32_t>(sampleRate), 4);
    putLe(out, static_cast<std::uint32_t>(sampleRate) * blockAlign, 4);
    putLe(out, blockAlign, 2);
    putLe(out, 16, 2);
    out.write("data", 4);
    putLe(out, dataBytes, 4);

    std::vector<char> block(static_cast<std::size_t>(blockAlign) * 4096);
    std::size_t used = 0;
    for (std::uint32_t frame = 0; frame < frames; ++frame) {
        const double t = static_cast<double>(frame) / sampleRate;
        const auto sample = static_cast<std::int16_t>(std::lround(32767.0 * signal(t)));
        const auto bits = static_cast<std::uint16_t>(sample);
        for (int c = 0; c < channels; ++c) {
            block[used++] = static_cast<char>(bits & 0xFFu);
            block[used++] = static_cast<char>(bits >> 8);
        }
        if (used == block.size()) {
            out.write(block.data(), static_cast<std::streamsize>(used));
            used = 0;
        }
    }
    out.write(block.data(), static_cast<std::streamsize>(used));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

void writeSineWav(const std::filesystem::path& path, double seconds, double frequency, int sampleRate, int channels) {
    writeWav(path, seconds, sampleRate, channels, [&](double t) {
        return 0.5 * std::sin(2.0 * std::numbers::pi * frequency * t);
    });
}

void writeRisingSineWav(const std::filesystem::path& path, double seconds, double frequency, int sampleRate) {
    writeWav(path, seconds, sampleRate, 1, [&](double t) {
        return risingSineLevel(t, seconds) * std::sin(2.0 * std::numbers::pi * frequency * t);
    });
}

double risingSineLevel(double t, double seconds) { return 0.1 + 0.8 * std::clamp(t / seconds, 0.0, 1.0); }

}  // namespace lirabox::test
