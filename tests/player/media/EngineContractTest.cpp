// What every media engine does, checked on the libmpv engine and on the
// in-memory engine the player's tests stand on, so the two cannot drift apart.

#include <gtest/gtest.h>

#include <string>

#include "EngineContract.h"
#include "player/media/fake/FakeMediaEngine.h"
#include "player/media/mpv/MpvEngine.h"
#include "tests/common/Recordings.h"

namespace {

using namespace lirabox::media;

// Each engine with what the contract needs of it: a recording of a length,
// and a path that cannot be opened.
struct MpvSubject {
    static constexpr const char* kName = "Mpv";
    MpvEngine engine{{{"ao", "null"}}};
    void makeRecording(const std::string& path, double seconds) {
        lirabox::test::writeSineWav(path, seconds, 440.0, 8000, 1);
    }
    void makeUnopenable(const std::string&) {}
};

struct FakeSubject {
    static constexpr const char* kName = "Fake";
    lirabox::test::FakeMediaEngine engine;
    void makeRecording(const std::string& path, double seconds) { engine.setDurationFor(path, seconds); }
    void makeUnopenable(const std::string& path) {
        engine.failLoad(path, lirabox::kObjectErrorBase + kErrCannotOpen);
    }
};

}  // namespace

namespace lirabox::test {
using Engines = ::testing::Types<MpvSubject, FakeSubject>;
INSTANTIATE_TYPED_TEST_SUITE_P(Engines, MediaEngineContract, Engines, EngineName);
}  // namespace lirabox::test
