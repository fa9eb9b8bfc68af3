// What every media engine does, checked on the libmpv engine and on the
// in-memory engine the player's tests stand on, so the two cannot drift apart.

#include <gtest/gtest.h>

#include <string>

#include "EngineContract.h"
#include "EngineProbe.h"
#include "player/media/fake/FakeMediaEngine.h"
#include "player/media/mpv/MpvEngine.h"
#include "tests/common/Recordings.h"

namespace {

using namespace lirabox::media;

// Each engine with what the contract needs of it: a recording of a length,
// a path that cannot be opened, and playing on to a position.
struct MpvSubject {
    static constexpr const char* kName = "Mpv";
    MpvEngine engine {{{"ao", "null"}}};
    void makeRecording(const std::string& path, double seconds) {
        lirabox::test::writeSineWav(path, seconds, 440.0, 8000, 1);
    }
    void makeUnopenable(const std::string&) {}
    // The null output plays in real time.
    bool playTo(double seconds) {
        return lirabox::test::waitUntil(engine, [&] { return engine.controls().currentPosition() >= seconds; });
    }
    // libmpv's position is the time of the frame its output plays.
    void expectHeardFromTheStart(int) {}
};

struct FakeSubject {
    static constexpr const char* kName = "Fake";
    lirabox::test::FakeMediaEngine engine;
    void makeRecording(const std::string& path, double seconds) { engine.setDurationFor(path, seconds); }
    void makeUnopenable(const std::string& path) { engine.failLoad(path, lirabox::kObjectErrorBase + kErrCannotOpen); }
    bool playTo(double seconds) {
        engine.setPosition(seconds);
        return true;
    }
    void expectHeardFromTheStart(int) {}
};

}  // namespace

namespace lirabox::test {
using Engines = ::testing::Types<MpvSubject, FakeSubject>;
INSTANTIATE_TYPED_TEST_SUITE_P(Engines, MediaEngineContract, Engines, EngineName);
}  // namespace lirabox::test
