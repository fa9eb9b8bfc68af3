// Real-time factor of the time-stretch, the sample-rate converter and the
// speech leveller: seconds of sound handled per second of CPU, on a stereo
// 44.1 kHz voice-like signal (a few harmonics with a wandering pitch) fed in
// 10 ms blocks.

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "player/media/stretch/Resampler.h"
#include "player/media/stretch/SpeechLeveller.h"
#include "player/media/stretch/TimeStretch.h"

namespace {

constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr double kSeconds = 10.0;
constexpr std::size_t kBlock = kRate / 100;

std::vector<float> voiceLike() {
    const auto frames = static_cast<std::size_t>(kSeconds * kRate);
    std::vector<float> samples(frames * kChannels);
    double phase = 0.0;
    for (std::size_t i = 0; i < frames; ++i) {
        const double pitch = 140.0 + 40.0 * std::sin(2 * std::numbers::pi * 0.7 * i / kRate);
        phase += 2 * std::numbers::pi * pitch / kRate;
        double value = 0.0;
        for (int harmonic = 1; harmonic <= 6; ++harmonic) value += std::sin(harmonic * phase) / (harmonic * 4.0);
        samples[i * kChannels] = samples[i * kChannels + 1] = static_cast<float>(value);
    }
    return samples;
}

void BM_TimeStretch(benchmark::State& state) {
    const auto input = voiceLike();
    const double rate = static_cast<double>(state.range(0)) / 10.0;
    lirabox::media::TimeStretch stretcher(kChannels, kRate);
    std::vector<float> out(kRate * kChannels);
    for (auto _ : state) {
        stretcher.reset();
        stretcher.setRate(rate);
        for (std::size_t at = 0; at < input.size() / kChannels; at += kBlock) {
            stretcher.feed(input.data() + at * kChannels, kBlock);
            while (stretcher.pull(out.data(), kRate) > 0) {}
        }
        benchmark::DoNotOptimize(out.data());
    }
    // Seconds of played sound per second of processing.
    state.counters["realtime_x"] =
        benchmark::Counter(kSeconds / rate * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TimeStretch)->Arg(5)->Arg(10)->Arg(20)->Arg(30)->Unit(benchmark::kMillisecond);

void BM_Resampler(benchmark::State& state) {
    const auto input = voiceLike();
    lirabox::media::Resampler resampler(kChannels, kRate, 48000);
    std::vector<float> out;
    for (auto _ : state) {
        resampler.reset();
        for (std::size_t at = 0; at < input.size() / kChannels; at += kBlock) {
            out.clear();
            resampler.process(input.data() + at * kChannels, kBlock, out);
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["realtime_x"] =
        benchmark::Counter(kSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Resampler)->Unit(benchmark::kMillisecond);

void BM_SpeechLeveller(benchmark::State& state) {
    auto input = voiceLike();
    lirabox::media::SpeechLeveller leveller(kChannels, kRate);
    for (auto _ : state) {
        for (std::size_t at = 0; at < input.size() / kChannels; at += kBlock) {
            leveller.process(input.data() + at * kChannels, kBlock);
        }
        benchmark::DoNotOptimize(input.data());
    }
    state.counters["realtime_x"] =
        benchmark::Counter(kSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SpeechLeveller)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
