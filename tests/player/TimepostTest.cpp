#include "player/Timepost.h"
#include "support/AppPaths.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <dlfcn.h>

namespace lirabox::test {
namespace {

// The probe library as the test process sees it (the same mapping the binding uses).
struct Probe {
    explicit Probe(const std::string& path) : handle(::dlopen(path.c_str(), RTLD_NOW)) {}
    ~Probe() {
        if (handle != nullptr) ::dlclose(handle);
    }
    int calls() const { return reinterpret_cast<int (*)()>(::dlsym(handle, "ProbeCalls"))(); }
    double last() const { return reinterpret_cast<double (*)()>(::dlsym(handle, "ProbeLastTime"))(); }
    void* handle;
};

TEST(Timepost, PassesThePositionToTheLibrary) {
    Probe probe(LIRABOX_TIMEPOST_PROBE);
    ASSERT_NE(probe.handle, nullptr);
    const int before = probe.calls();
    TimepostLibrary timepost({LIRABOX_TIMEPOST_PROBE});
    timepost.SetTime(12.75);
    timepost.SetTime(12.75);
    EXPECT_TRUE(timepost.isBound());
    EXPECT_EQ(probe.calls() - before, 2);
    EXPECT_DOUBLE_EQ(probe.last(), 12.75);
}

TEST(Timepost, MissingLibraryMakesSetTimeDoNothing) {
    TempFolder folder;
    TimepostLibrary timepost({folder.fileText("libtimepost.so")});
    timepost.SetTime(3);
    EXPECT_FALSE(timepost.isBound());
}

TEST(Timepost, LookupIsMadeOnceNotAtEveryCall) {
    TempFolder folder;
    const auto path = folder.file("libtimepost.so");
    TimepostLibrary timepost({path.string()});
    timepost.SetTime(1);
    std::filesystem::copy_file(LIRABOX_TIMEPOST_PROBE, path);
    timepost.SetTime(2);
    EXPECT_FALSE(timepost.isBound());
}

TEST(Timepost, LibraryWithoutSetTimeIsPassedOver) {
    TimepostLibrary alone({LIRABOX_TIMEPOST_NO_SYMBOL});
    alone.SetTime(1);
    EXPECT_FALSE(alone.isBound());

    TimepostLibrary next({LIRABOX_TIMEPOST_NO_SYMBOL, LIRABOX_TIMEPOST_PROBE});
    EXPECT_TRUE(next.isBound());
}

TEST(Timepost, FirstLooksBesideTheProgramThenSearches) {
    const auto candidates = TimepostLibrary::defaultCandidates();
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0], (std::filesystem::path(executablePath()).parent_path() / "libtimepost.so").string());
    EXPECT_EQ(candidates[1], "libtimepost.so");
}

}  // namespace
}  // namespace lirabox::test
