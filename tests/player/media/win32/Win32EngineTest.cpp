// The Windows engine under Wine: the engine contract, the decoder's positions
// for WAV, MP3 and WMA of the same sound, and (through the sound the run
// captured) where seeks land, that 2x plays a 10 s tone in 5 s at its
// pitch and that levelling evens out two speakers; the envelope's reader. The
// recordings and the capture come from tests/with-wine.sh. Waits are bounded
// by a position that stops moving, never by the time playing takes.

#include <gtest/gtest.h>

#include <windows.h>
#include <mfapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <set>
#include <thread>
#include <vector>

#include "player/media/LoudnessEnvelope.h"
#include "player/media/win32/SourceDecoder.h"
#include "player/media/win32/Win32MediaEngine.h"
#include "tests/common/Polling.h"
#include "tests/common/Recordings.h"
#include "tests/common/TempFolder.h"
#include "tests/player/media/EngineContract.h"
#include "tests/player/media/PcmAnalysis.h"

namespace {

using namespace lirabox::media;
using namespace std::chrono_literals;

std::filesystem::path fromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') throw std::runtime_error(std::string(name) + " is not set");
    return value;
}

std::string recording(const std::string& name) { return (fromEnvironment("LIRABOX_RECORDINGS") / name).string(); }

// The decoder needs COM and Media Foundation on its thread, as the engine's
// playback thread has them.
class Decoding : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        MFStartup(MF_VERSION, MFSTARTUP_LITE);
    }
    void TearDown() override {
        MFShutdown();
        CoUninitialize();
    }

    // Seconds from the read start to the first sample louder than a tenth of
    // full scale, reading at most `limit` seconds.
    static double firstSound(SourceDecoder& decoder, double limit) {
        std::vector<float> samples;
        std::size_t frames = 0;
        const auto channels = static_cast<std::size_t>(decoder.channels());
        while (frames < limit * decoder.sampleRate()) {
            samples.clear();
            if (!decoder.read(samples)) break;
            for (std::size_t i = 0; i < samples.size(); ++i) {
                if (std::abs(samples[i]) > 0.1f)
                    return static_cast<double>(frames + i / channels) / decoder.sampleRate();
            }
            frames += samples.size() / channels;
        }
        return -1.0;
    }

    static std::unique_ptr<SourceDecoder> open(const std::string& path) {
        SourceDecoder::Failure failure;
        std::string reason;
        auto decoder = SourceDecoder::open(path, failure, reason);
        if (!decoder) ADD_FAILURE() << reason;
        return decoder;
    }
};

// bursts.*: silence, a tone from 1 s to 3 s, silence, a tone from 6 s to the
// end at 10 s. The MP3s (one without the LAME tag that tells the encoder
// delay) and the WMA are encodings of the WAV.
// WMA decoded under Wine starts one codec frame (2048 samples, 46 ms) late;
// that is the decoder's own doing, and within a seek's tolerance.
TEST_F(Decoding, WavMp3AndWmaOfOneSoundHaveTheSameLengthAndPositions) {
    for (const auto& [name, tolerance] : {std::pair {"bursts.wav", 0.002},
                                          std::pair {"bursts.mp3", 0.005},
                                          std::pair {"bursts-untagged.mp3", 0.005},
                                          std::pair {"bursts.wma", 0.05}}) {
        SCOPED_TRACE(name);
        auto decoder = open(recording(name));
        ASSERT_TRUE(decoder);
        EXPECT_NEAR(decoder->seconds(), 10.0, 0.05);
        EXPECT_NEAR(firstSound(*decoder, 2.0), 1.0, tolerance);
        decoder->seek(4.5);
        EXPECT_NEAR(firstSound(*decoder, 3.0), 1.5, tolerance);
    }
}

// A seek from the middle of a tone into silence gives silence: nothing the
// decoder held from before the seek comes out after it.
TEST_F(Decoding, ASeekFromAToneIntoSilenceGivesSilence) {
    for (const char* name : {"bursts.wav", "bursts.mp3", "bursts.wma"}) {
        SCOPED_TRACE(name);
        auto decoder = open(recording(name));
        ASSERT_TRUE(decoder);
        decoder->seek(2.0);
        EXPECT_NEAR(firstSound(*decoder, 1.0), 0.0, 0.01);
        decoder->seek(4.5);
        std::vector<float> samples;
        while (samples.size() < static_cast<std::size_t>(decoder->channels() * decoder->sampleRate()) &&
               decoder->read(samples)) {}
        ASSERT_FALSE(samples.empty());
        float loudest = 0.0f;
        for (const float value : samples) loudest = std::max(loudest, std::abs(value));
        EXPECT_LT(loudest, 0.01f);
    }
}

// A decoder closed while the system still carries out its seek ends cleanly
// (Wine's source crashed when shut down in the middle of one).
TEST_F(Decoding, ADecoderClosedRightAfterASeekEndsCleanly) {
    for (int i = 0; i < 50; ++i) {
        for (const char* name : {"bursts.wav", "bursts.mp3", "bursts.wma"}) {
            auto decoder = open(recording(name));
            ASSERT_TRUE(decoder);
            decoder->seek(4.5);
        }
    }
}

// Only an MP3 has an encoder delay to drop; a WAV's samples may hold bytes
// that look like the start of an MP3 frame.
TEST_F(Decoding, AWavStartsWithItsFirstSample) {
    lirabox::test::TempFolder folder;
    const std::string path = folder.fileText("rising.wav");
    lirabox::test::writeRisingSineWav(path, 3.0, 440.0, 8000);
    auto decoder = open(path);
    ASSERT_TRUE(decoder);
    std::vector<float> samples;
    ASSERT_TRUE(decoder->read(samples));
    samples.resize(std::min<std::size_t>(samples.size(), 80));  // 10 ms
    const float peak = std::abs(
        *std::max_element(samples.begin(), samples.end(), [](float a, float b) { return std::abs(a) < std::abs(b); }));
    EXPECT_NEAR(peak, lirabox::test::risingSineLevel(0.0, 3.0), 0.005);
}

// Waits until `done` holds, for as long as the engine's position moves on: a
// loaded machine makes playing slower to watch, never a failure; a position
// that stands still for seconds does.
bool playsUntil(MediaEngine& engine, const std::function<bool()>& done) {
    double last = -1.0;
    auto movedAt = std::chrono::steady_clock::now();
    lirabox::test::waitUntil(
        [&] {
            if (done()) return true;
            if (const double now = engine.controls().currentPosition(); now != last) {
                last = now;
                movedAt = std::chrono::steady_clock::now();
            }
            return std::chrono::steady_clock::now() - movedAt > 5s;
        },
        10min);
    return done();
}

bool reachesTheEnd(MediaEngine& engine) {
    return playsUntil(engine, [&] { return engine.playState() == kMediaEnded; });
}

bool reaches(MediaEngine& engine, double seconds) {
    return playsUntil(engine, [&] { return engine.controls().currentPosition() >= seconds; });
}

TEST(Win32Engine, PlaysToTheEndAndAPauseFreezesThePosition) {
    Win32MediaEngine engine;
    engine.settings().autoStart(false);
    engine.URL(recording("bursts.mp3"));
    engine.settings().rate(3.0);
    engine.controls().currentPosition(8.0);
    engine.controls().play();
    ASSERT_TRUE(reaches(engine, 8.3));
    engine.controls().pause();
    const double paused = engine.controls().currentPosition();
    EXPECT_GE(paused, 8.3);
    EXPECT_EQ(engine.playState(), kPaused);
    // The output plays on (silence) while paused; the position stays.
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(engine.controls().currentPosition(), paused);
    engine.controls().play();
    EXPECT_TRUE(reachesTheEnd(engine));
    EXPECT_EQ(engine.controls().currentPosition(), engine.currentMedia().duration());
    // A position set at the end plays on from there.
    engine.controls().currentPosition(9.0);
    EXPECT_EQ(engine.playState(), kPlaying);
    EXPECT_NEAR(engine.controls().currentPosition(), 9.0, 0.02);
}

// The capture files the ALSA file plugin has written: one per sound stream
// Wine opened (out.raw, out.raw.0001, ...).
std::set<std::filesystem::path> captureFiles() {
    std::set<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(fromEnvironment("LIRABOX_CAPTURE_FOLDER"))) {
        files.insert(entry.path());
    }
    return files;
}

// What Wine has played so far into the capture files that are not in
// `before`: float 48 kHz stereo.
std::vector<float> capturedSoFar(const std::set<std::filesystem::path>& before) {
    std::vector<float> samples;
    for (const auto& file : captureFiles()) {
        if (before.count(file)) continue;
        std::ifstream in(file, std::ios::binary);
        float value;
        while (in.read(reinterpret_cast<char*>(&value), sizeof value)) samples.push_back(value);
    }
    return samples;
}

// The same once the files stop growing (Wine's sound thread writes the last
// of it after the stream is gone).
std::vector<float> capturedSince(const std::set<std::filesystem::path>& before) {
    for (const auto& file : captureFiles()) {
        if (before.count(file)) continue;
        for (std::uintmax_t size = 0; std::filesystem::file_size(file) != size;) {
            size = std::filesystem::file_size(file);
            std::this_thread::sleep_for(500ms);
        }
    }
    return capturedSoFar(before);
}

lirabox::test::Pcm leftChannel(const std::vector<float>& stereo) {
    lirabox::test::Pcm left;
    left.sampleRate = 48000;
    for (std::size_t i = 0; i < stereo.size(); i += 2) left.samples.push_back(stereo[i]);
    return left;
}

// The peak of each 10 ms of `pcm` that is not silent.
std::vector<double> loudLevels(const lirabox::test::Pcm& pcm) {
    const auto window = static_cast<std::size_t>(pcm.sampleRate / 100);
    std::vector<double> levels;
    for (std::size_t from = 0; from + window <= pcm.samples.size(); from += window) {
        double peak = 0.0;
        for (std::size_t i = from; i < from + window; ++i) peak = std::max(peak, std::abs(pcm.samples[i]));
        if (peak > 0.05) levels.push_back(peak);
    }
    return levels;
}

// The contract's recording rises in level from start to end, so every fall of
// the captured level is a jump back heard, and the level after it tells where to.
struct Win32Subject {
    static constexpr const char* kName = "Win32";
    const std::set<std::filesystem::path> before = captureFiles();
    Win32MediaEngine engine;
    double length = 0.0;

    void makeRecording(const std::string& path, double seconds) {
        lirabox::test::writeRisingSineWav(path, seconds, 440.0, 8000);
        length = seconds;
    }
    void makeUnopenable(const std::string&) {}
    bool playTo(double seconds) { return reaches(engine, seconds); }
    // A paused output goes on playing silence: what was heard is all
    // captured once the capture ends in silence.
    void expectHeardFromTheStart(int returns) {
        engine.controls().pause();
        std::vector<double> levels;
        ASSERT_TRUE(lirabox::test::waitUntil(
            [&] {
                const lirabox::test::Pcm heard = leftChannel(capturedSoFar(before));
                levels = loudLevels(heard);
                return heard.seconds() > 0.2 &&
                       loudLevels({heard.sampleRate, {heard.samples.end() - heard.sampleRate / 5, heard.samples.end()}})
                           .empty();
            },
            10s));
        std::vector<double> heardFrom;
        for (std::size_t i = 0; i < levels.size(); ++i) {
            if (i == 0 || levels[i] < levels[i - 1] - 0.1) heardFrom.push_back(levels[i]);
        }
        ASSERT_EQ(heardFrom.size(), static_cast<std::size_t>(returns) + 1);
        // Within what 0.1 s of playing adds.
        const double start = lirabox::test::risingSineLevel(0.0, length);
        for (const double level : heardFrom) {
            EXPECT_NEAR(level, start, lirabox::test::risingSineLevel(0.1, length) - start);
        }
    }
};

// Seconds from the start of the capture to the first sample louder than `level`.
double firstLoud(const lirabox::test::Pcm& pcm, double level) {
    for (std::size_t i = 0; i < pcm.samples.size(); ++i) {
        if (std::abs(pcm.samples[i]) > level) return static_cast<double>(i) / pcm.sampleRate;
    }
    return -1.0;
}

// The capture begins with the first frame played, so after a seek to 5.5 s
// the burst at 6 s is heard 0.5 s in.
TEST(Win32Engine, ASeekLandsWhereTheSoundIsInEveryFormat) {
    for (const char* name : {"bursts.wav", "bursts.mp3", "bursts.wma"}) {
        SCOPED_TRACE(name);
        const auto before = captureFiles();
        {
            Win32MediaEngine engine;
            engine.settings().autoStart(false);
            engine.URL(recording(name));
            engine.controls().currentPosition(5.5);
            engine.controls().play();
            ASSERT_TRUE(reaches(engine, 6.3));
        }
        EXPECT_NEAR(firstLoud(leftChannel(capturedSince(before)), 0.1), 0.5, 0.05);
    }
}

TEST(Win32Engine, TwiceTheRatePlaysATenSecondToneInFiveSecondsAtItsPitchAndVolume) {
    const auto before = captureFiles();
    {
        Win32MediaEngine engine;
        engine.settings().autoStart(false);
        engine.URL(recording("tone10.wav"));
        engine.settings().rate(2.0);
        engine.settings().volume(50);
        engine.controls().play();
        ASSERT_TRUE(reachesTheEnd(engine));
    }
    const lirabox::test::Pcm left = leftChannel(capturedSince(before));
    // The span from the first to the last loud sample.
    std::size_t first = 0, last = 0;
    for (std::size_t i = 0; i < left.samples.size(); ++i) {
        if (std::abs(left.samples[i]) > 0.05) {
            if (first == 0) first = i;
            last = i;
        }
    }
    const double seconds = static_cast<double>(last - first) / left.sampleRate;
    EXPECT_NEAR(seconds, 5.0, 0.1);
    lirabox::test::Pcm sound {left.sampleRate,
                              {left.samples.begin() + static_cast<std::ptrdiff_t>(first),
                               left.samples.begin() + static_cast<std::ptrdiff_t>(last)}};
    EXPECT_NEAR(lirabox::test::dominantFrequency(sound, 300, 600), 440.0, 0.02 * 440.0);
    // Volume 50 is half the recording's amplitude of 0.5.
    EXPECT_NEAR(lirabox::test::rms(sound), 0.25 / std::sqrt(2.0), 0.01);
}

// Levelling on a quiet and a loud speaker taking turns, at the normal rate
// (the leveller follows the voices in the time they are heard). The capture
// may begin with a little of the output's silence: it is lined up on the
// loud voice's first sound, 4 s into the recording (the quiet voice never
// comes near 0.3 of full scale).
TEST(Win32Engine, LevellingBringsAQuietAndALoudSpeakerWithin3dB) {
    lirabox::test::TempFolder folder;
    constexpr int kRounds = 2;
    lirabox::test::writeTwoSpeakerWav(folder.file("speakers.wav"), kRounds);
    const auto before = captureFiles();
    {
        Win32MediaEngine engine;
        engine.settings().autoStart(false);
        engine.settings().evenLoudness(true);
        engine.URL(folder.file("speakers.wav").string());
        engine.controls().play();
        ASSERT_TRUE(reachesTheEnd(engine));
    }
    lirabox::test::Pcm heard = leftChannel(capturedSince(before));
    const double lead = firstLoud(heard, 0.3) - 4.0;
    ASSERT_GE(lead, 0.0);
    heard.samples.erase(heard.samples.begin(),
                        heard.samples.begin() + static_cast<std::ptrdiff_t>(lead * heard.sampleRate));
    const lirabox::test::TwoSpeakerLevels levels = lirabox::test::twoSpeakerLevels(heard, kRounds);
    EXPECT_LE(std::abs(levels.loud - levels.quiet), 3.0)
        << "quiet " << levels.quiet << ", loud " << levels.loud << ", lead " << lead;
    EXPECT_GT(levels.quiet, -26.0);
    EXPECT_LT(levels.loudestPause, -45.0);
}

// The seek bar's envelope through the Source Reader: a short recording read
// column by column (speech dark, pauses light), an MP3 probed in long columns
// (the loud speaker's darker than the quiet one's). Media Foundation stays
// started around the reader's own start and shut-down, as the engine keeps it
// in the program: under Wine, a reader that shuts it down alone leaves work
// behind that crashed a later test.
TEST_F(Decoding, TheEnvelopeReaderShowsSpeechDarkAndPausesLight) {
    std::atomic<bool> stop {false};
    lirabox::test::TempFolder folder;
    lirabox::test::writeTwoSpeakerWav(folder.file("speakers.wav"), 1);
    auto wav = openEnvelopeSource(folder.file("speakers.wav").string());
    ASSERT_NE(wav, nullptr);
    LoudnessEnvelope shortOne(16);  // 0.5 s a column
    ASSERT_TRUE(shortOne.compute(
        *wav, [] { return 0.0; }, stop));
    const std::vector<float> levels = shortOne.levels();
    EXPECT_NEAR(levels[2], LoudnessEnvelope::levelOf(0.001), 0.05);  // the quiet voice
    EXPECT_LT(levels[7], 0.05f);                                     // a pause
    EXPECT_GT(levels[9], 0.9f);                                      // the loud voice

    auto mp3 = openEnvelopeSource(recording("speakers.mp3"));
    ASSERT_NE(mp3, nullptr);
    LoudnessEnvelope probed(6);  // 4 s a column: a voice and its pause
    ASSERT_TRUE(probed.compute(
        *mp3, [] { return 0.0; }, stop));
    const std::vector<float> voices = probed.levels();
    for (std::size_t column = 0; column < voices.size(); column += 2) {
        EXPECT_GT(voices[column], 0.45f) << column;                      // quiet voice
        EXPECT_GT(voices[column + 1], voices[column] + 0.3f) << column;  // loud voice
    }
}

}  // namespace

namespace lirabox::test {
using Engines = ::testing::Types<Win32Subject>;
INSTANTIATE_TYPED_TEST_SUITE_P(Engines, MediaEngineContract, Engines, EngineName);
}  // namespace lirabox::test
