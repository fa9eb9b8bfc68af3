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

void writeTwoSpeakerWav(const std::filesystem::path& path, int rounds, int sampleRate) {
    constexpr double kVoiceRms = 0.5616;  // of the unscaled voice below
    const auto voice = [](double t, double frequency, double dbfs) {
        const double tone =
            std::sin(2.0 * std::numbers::pi * frequency * t) + 0.25 * std::sin(4.0 * std::numbers::pi * frequency * t);
        const double syllables = 0.75 - 0.25 * std::cos(2.0 * std::numbers::pi * 4.0 * t);
        return std::pow(10.0, dbfs / 20.0) / kVoiceRms * tone * syllables;
    };
    std::uint32_t noiseState = 12345;
    writeWav(path, rounds * kTwoSpeakerRound, sampleRate, 1, [&](double t) {
        noiseState = noiseState * 1664525u + 1013904223u;
        // Even in -1 .. 1, so its RMS is 1/sqrt(3) of its reach: -60 dBFS.
        const double noise = (static_cast<double>(noiseState) / 2147483648.0 - 1.0) * 0.001 * std::sqrt(3.0);
        const double within = std::fmod(t, kTwoSpeakerRound);
        if (within < 3.0) return noise + voice(t, 120.0, -30.0);
        if (within >= 4.0 && within < 7.0) return noise + voice(t, 210.0, -6.0);
        return noise;
    });
}

double risingSineLevel(double t, double seconds) { return 0.1 + 0.8 * std::clamp(t / seconds, 0.0, 1.0); }

}  // namespace lirabox::test
