#include "EngineProbe.h"

#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <mutex>
#include <numbers>
#include <stdexcept>
#include <string>
#include <thread>

#include <sys/stat.h>

namespace lirabox::test {

using lirabox::media::MpvEngine;

bool waitUntil(MpvEngine& engine, const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    std::mutex mutex;
    std::condition_variable woken;
    bool pending = false;
    engine.setWakeupCallback([&] {
        std::lock_guard lock(mutex);
        pending = true;
        woken.notify_one();
    });
    const auto deadline = std::chrono::steady_clock::now() + limit;
    bool met = false;
    while (!(met = condition()) && std::chrono::steady_clock::now() < deadline) {
        std::unique_lock lock(mutex);
        woken.wait_for(lock, std::chrono::milliseconds(20), [&] { return pending; });
        pending = false;
    }
    engine.setWakeupCallback({});
    return met;
}

namespace {

std::vector<lirabox::media::MpvOption> pcmOutputTo(const std::filesystem::path& wavOut) {
    return {{"ao", "pcm"},
            {"ao-pcm-file", wavOut.string()},
            {"ao-pcm-waveheader", "yes"},
            {"audio-fallback-to-null", "no"},
            {"audio-format", "s16"},
            {"audio-channels", "mono"},
            {"audio-samplerate", "44100"}};
}

void playToTheEnd(MpvEngine& engine, const std::filesystem::path& recording) {
    engine.controls().play();
    if (!waitUntil(engine, [&] { return engine.playState() == lirabox::media::kMediaEnded; },
                   std::chrono::seconds(60))) {
        throw std::runtime_error("rendering did not reach the end of " + recording.string());
    }
}

}  // namespace

void renderAtRate(const std::filesystem::path& recording, double rate, const std::filesystem::path& wavOut,
                  std::int32_t volume) {
    MpvEngine engine(pcmOutputTo(wavOut));
    // Set before the load: the PCM output writes what libmpv prepares while
    // paused straight to the file, so a later change would not cover it.
    engine.settings().rate(rate);
    engine.settings().volume(volume);
    engine.settings().autoStart(false);
    engine.URL(recording.string());
    playToTheEnd(engine, recording);
}

std::vector<unsigned char> renderWithRateChange(const std::filesystem::path& recording, double before,
                                                double rate, RateChange how) {
    const auto fifo = std::filesystem::path(recording).replace_extension(".pipe");
    std::filesystem::remove(fifo);
    if (::mkfifo(fifo.c_str(), 0600) != 0) throw std::runtime_error("cannot make a pipe");

    const std::size_t changeAfter = 44 + static_cast<std::size_t>(before * 44100) * 2;
    std::vector<unsigned char> output;
    std::mutex mutex;
    std::condition_variable reached;
    bool passed = false;
    // Reads slowly (about nine seconds of sound per second), so libmpv's
    // output cannot run far ahead of what has been read.
    std::thread reader([&] {
        std::ifstream in(fifo, std::ios::binary);
        char block[4096];
        while (in.read(block, sizeof block) || in.gcount() > 0) {
            {
                std::lock_guard lock(mutex);
                output.insert(output.end(), block, block + in.gcount());
                if (output.size() >= changeAfter && !passed) {
                    passed = true;
                    reached.notify_all();
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });

    try {
        MpvEngine engine(pcmOutputTo(fifo));
        engine.settings().rate(1.0);
        engine.settings().autoStart(false);
        engine.URL(recording.string());
        engine.controls().play();
        {
            std::unique_lock lock(mutex);
            if (!reached.wait_for(lock, std::chrono::seconds(60), [&] { return passed; })) {
                throw std::runtime_error("no sound came out of " + recording.string());
            }
        }
        if (how == RateChange::WhilePaused) engine.controls().pause();
        engine.settings().rate(rate);
        playToTheEnd(engine, recording);
    } catch (...) {
        reader.join();
        throw;
    }
    reader.join();
    return output;
}

Pcm readPcmWav(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return readPcmWav(std::vector<unsigned char>{std::istreambuf_iterator<char>(in), {}});
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

}  // namespace lirabox::test
