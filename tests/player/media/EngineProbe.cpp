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
    if (!waitUntil(
            engine, [&] { return engine.playState() == lirabox::media::kMediaEnded; }, std::chrono::seconds(60))) {
        throw std::runtime_error("rendering did not reach the end of " + recording.string());
    }
}

}  // namespace

void renderAtRate(const std::filesystem::path& recording, double rate, const std::filesystem::path& wavOut,
                  std::int32_t volume, bool evenLoudness) {
    MpvEngine engine(pcmOutputTo(wavOut));
    // Set before the load: the PCM output writes what libmpv prepares while
    // paused straight to the file, so a later change would not cover it.
    engine.settings().rate(rate);
    engine.settings().volume(volume);
    engine.settings().evenLoudness(evenLoudness);
    engine.settings().autoStart(false);
    engine.URL(recording.string());
    playToTheEnd(engine, recording);
}

std::vector<unsigned char> renderWithRateChange(const std::filesystem::path& recording, double before, double rate,
                                                RateChange how) {
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

}  // namespace lirabox::test
