// Loading a companion library by file name, with a real system library
// (libm) standing in for one that loads and a missing file for one that does not.

#include "support/AppPaths.h"
#include "support/LibraryLoader.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>
#include <string>

namespace lirabox {
namespace {

constexpr const char* kMathLibrary = "libm.so.6";
const std::string kMissing = "/nonexistent/libnothing.so";

std::string refuseWithout(void* handle, const char* name) {
    return librarySymbol(handle, name) != nullptr ? "" : std::string("no function ") + name;
}

TEST(LibraryLoader, LooksBesideTheProgramFirstThenByTheUsualSearch) {
    const auto candidates = libraryCandidates("libsomething.so");
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[0], (std::filesystem::path(executablePath()).parent_path() / "libsomething.so").string());
    EXPECT_EQ(candidates[1], "libsomething.so");
}

TEST(LibraryLoader, TheFirstCandidateThatLoadsAndPassesTheCheckWins) {
    const LoadedLibrary library =
        loadFirstLibrary({kMissing, kMathLibrary}, [](void* handle) { return refuseWithout(handle, "cos"); });
    ASSERT_NE(library.handle, nullptr);
    EXPECT_EQ(library.reasons, "");
    using Cosine = double (*)(double);
    const auto cosine = libraryFunction<Cosine>(library.handle, "cos");
    ASSERT_NE(cosine, nullptr);
    EXPECT_EQ(cosine(0.0), 1.0);
    EXPECT_EQ(libraryFunction<Cosine>(library.handle, "NoSuchFunction"), nullptr);
    ::dlclose(library.handle);
}

TEST(LibraryLoader, WhenNothingCanBeUsedEveryCandidatesReasonIsGivenInOrder) {
    int checks = 0;
    const LoadedLibrary library = loadFirstLibrary({kMissing, kMathLibrary}, [&](void* handle) {
        ++checks;
        return refuseWithout(handle, "NoSuchFunction");
    });
    EXPECT_EQ(library.handle, nullptr);
    EXPECT_EQ(checks, 1);  // the missing file is never checked
    const auto separator = library.reasons.find("; ");
    ASSERT_NE(separator, std::string::npos) << library.reasons;
    EXPECT_NE(library.reasons.substr(0, separator).find(kMissing), std::string::npos) << library.reasons;
    EXPECT_EQ(library.reasons.substr(separator + 2), std::string(kMathLibrary) + ": no function NoSuchFunction");
}

TEST(LibraryLoader, NoCandidatesLoadNothingAndGiveNoReason) {
    const LoadedLibrary library = loadFirstLibrary({}, [](void*) { return std::string(); });
    EXPECT_EQ(library.handle, nullptr);
    EXPECT_EQ(library.reasons, "");
}

}  // namespace
}  // namespace lirabox
