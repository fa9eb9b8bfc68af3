#include "PcmAnalysis.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <numbers>
#include <stdexcept>
#include <string>

#include "tests/common/Recordings.h"

namespace lirabox::test {

Pcm readPcmWav(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return readPcmWav(std::vector<unsigned char> {std::istreambuf_iterator<char>(in), {}});
}

Pcm readPcmWav(const std::vector<unsigned char>& bytes) {
    auto le = [&](std::size_t at, int count) {
        std::uint32_t value = 0;
        for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes.at(at + static_cast<std::size_t>(i));
        return value;
    };
    if (bytes.size() < 12 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF") {
        throw std::runtime_error("not a WAV image");
    }
    Pcm pcm;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                             bytes.begin() + static_cast<std::ptrdiff_t>(at) + 4);
        const std::uint32_t size = le(at + 4, 4);
        if (id == "fmt ") {
            if (le(at + 10, 2) != 1 || le(at + 22, 2) != 16) {
                throw std::runtime_error("expected mono 16-bit PCM");
            }
            pcm.sampleRate = static_cast<int>(le(at + 12, 4));
        } else if (id == "data") {
            for (std::size_t i = at + 8; i + 1 < bytes.size(); i += 2) {
                pcm.samples.push_back(static_cast<std::int16_t>(le(i, 2)) / 32768.0);
            }
            break;
        }
        at += 8 + size + (size & 1u);
    }
    if (pcm.sampleRate == 0) throw std::runtime_error("no sound data in the WAV image");
    return pcm;
}

double dominantFrequency(const Pcm& pcm, double low, double high) {
    const auto window = static_cast<std::size_t>(pcm.sampleRate);
    if (pcm.samples.size() < window) throw std::runtime_error("less than a second of sound");
    const std::size_t first = (pcm.samples.size() - window) / 2;
    double best = low;
    double bestPower = -1.0;
    for (double f = low; f <= high; f += 0.5) {
        // Goertzel filter at f over the window.
        const double coefficient = 2.0 * std::cos(2.0 * std::numbers::pi * f / pcm.sampleRate);
        double s1 = 0.0, s2 = 0.0;
        for (std::size_t i = 0; i < window; ++i) {
            const double s0 = pcm.samples[first + i] + coefficient * s1 - s2;
            s2 = s1;
            s1 = s0;
        }
        const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
        if (power > bestPower) {
            bestPower = power;
            best = f;
        }
    }
    return best;
}

double rms(const Pcm& pcm) {
    const std::size_t quarter = pcm.samples.size() / 4;
    if (quarter == 0) throw std::runtime_error("no sound to measure");
    double sum = 0.0;
    for (std::size_t i = quarter; i < 3 * quarter; ++i) sum += pcm.samples[i] * pcm.samples[i];
    return std::sqrt(sum / static_cast<double>(2 * quarter));
}

double levelDb(const Pcm& pcm, double from, double to) {
    const auto first = static_cast<std::size_t>(std::max(0.0, from * pcm.sampleRate));
    const auto last = std::min(pcm.samples.size(), static_cast<std::size_t>(to * pcm.sampleRate));
    if (last <= first) throw std::runtime_error("no sound to measure");
    double sum = 0.0;
    for (std::size_t i = first; i < last; ++i) sum += pcm.samples[i] * pcm.samples[i];
    return 10.0 * std::log10(sum / static_cast<double>(last - first) + 1e-20);
}

TwoSpeakerLevels twoSpeakerLevels(const Pcm& pcm, int rounds) {
    double quiet = 0.0, loud = 0.0;
    TwoSpeakerLevels levels {0.0, 0.0, -200.0};
    for (int round = 1; round < rounds; ++round) {
        const double start = round * kTwoSpeakerRound;
        quiet += levelDb(pcm, start + 0.5, start + 2.5);
        loud += levelDb(pcm, start + 4.5, start + 6.5);
        // The pauses, leaving 0.2 s at either side for a voice's last syllable.
        for (const double pause : {start + 3.2, start + 7.2}) {
            for (double from = pause; from + 0.5 <= pause + 0.6 + 1e-9; from += 0.1) {
                levels.loudestPause = std::max(levels.loudestPause, levelDb(pcm, from, from + 0.5));
            }
        }
    }
    levels.quiet = quiet / (rounds - 1);
    levels.loud = loud / (rounds - 1);
    return levels;
}

}  // namespace lirabox::test
