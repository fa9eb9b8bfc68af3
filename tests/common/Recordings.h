#pragma once
// Recordings made on the spot for tests and benchmarks: a sine wave written as
// 16-bit PCM WAV in code, and MP3 / WMA encodings of a WAV made with the ffmpeg
// command-line tool (local only). Failures throw std::runtime_error.

#include <filesystem>

namespace lirabox::test {

// A 16-bit PCM WAV holding `seconds` of a sine at `frequency` Hz (amplitude
// half of full scale), the same signal on every channel.
void writeSineWav(const std::filesystem::path& path, double seconds, double frequency = 440.0, int sampleRate = 44100,
                  int channels = 1);

// A mono 16-bit PCM WAV of a sine whose amplitude rises evenly from 0.1 to 0.9
// of full scale over its `seconds`, so the level of what is heard tells where
// in the recording it came from: risingSineLevel(t, seconds) at t seconds.
void writeRisingSineWav(const std::filesystem::path& path, double seconds, double frequency = 440.0,
                        int sampleRate = 44100);
double risingSineLevel(double t, double seconds);

// A mono 16-bit WAV of two speakers taking turns, `rounds` times over
// (kTwoSpeakerRound seconds each): 3 s of a quiet voice (RMS -30 dBFS, 120 Hz),
// 1 s of pause, 3 s of a loud voice (RMS -6 dBFS, 210 Hz), 1 s of pause. The
// voices are two-harmonic tones in 4 Hz syllables; steady noise at -60 dBFS
// runs under it all, so a pause holds what a room would.
inline constexpr double kTwoSpeakerRound = 8.0;
void writeTwoSpeakerWav(const std::filesystem::path& path, int rounds, int sampleRate = 44100);

// Encodes `wav` as MP3 (libmp3lame, 128 kbit/s) / WMA (wmav2, 128 kbit/s).
// `target` defaults to `wav` with the extension ".mp3" / ".wma". Returns the target.
std::filesystem::path makeMp3(const std::filesystem::path& wav, std::filesystem::path target = {});
std::filesystem::path makeWma(const std::filesystem::path& wav, std::filesystem::path target = {});

}  // namespace lirabox::test
