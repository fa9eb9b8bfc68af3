// The binding of the Keytap library: when it loads, what it passes on, and
// what a missing library or function does.

#include "hotkeys/KeytapBinding.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace lirabox::hotkeys {
namespace {

using test::TempFolder;

// The probe's log when the probe is loaded; "(not loaded)" otherwise.
std::string probeLog(const char* path) {
    void* handle = ::dlopen(path, RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) return "(not loaded)";
    const auto log = reinterpret_cast<const char* (*)()>(::dlsym(handle, "ProbeLog"));
    std::string text = log != nullptr ? log() : "(no ProbeLog)";
    ::dlclose(handle);
    return text;
}

// Everything written to stderr while `action` runs.
template <class Action>
std::string stderrOf(Action&& action) {
    TempFolder folder;
    const std::string path = folder.fileText("stderr");
    std::fflush(stderr);
    const int saved = ::dup(2);
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(file, 2);
    ::close(file);
    action();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int lineCount(const std::string& text) {
    int lines = 0;
    for (const char c : text) lines += c == '\n' ? 1 : 0;
    return lines;
}

// One test uses the probe library from start to end, so its log belongs to it alone.
TEST(KeytapBinding, LoadsAtTheFirstCallAndPassesEachCallOn) {
    KeytapBinding keytap({KEYTAP_PROBE});
    EXPECT_EQ(probeLog(KEYTAP_PROBE), "(not loaded)");

    const std::string errors = stderrOf([&] {
        keytap.InitHook(0x4a00017);
        keytap.RegistKey({4, 117, 2, 1});
        keytap.RegistKey({-1, 0, 0, 0});  // what to register is the caller's choice
        keytap.TerminateHook();
    });

    EXPECT_EQ(probeLog(KEYTAP_PROBE),
              "InitHook(" + std::to_string(0x4a00017) + ")RegistKey(4,117,2,1)RegistKey(-1,0,0,0)TerminateHook()");
    EXPECT_TRUE(keytap.isBound());
    EXPECT_EQ(errors, "");
}

TEST(KeytapBinding, AMissingLibraryIsReportedInOneLineOnceAndTheCallsDoNothing) {
    TempFolder folder;
    const std::string beside = folder.fileText("libkeytap.so");
    KeytapBinding keytap({beside, "liblirabox-no-such-keytap.so"});

    const std::string errors = stderrOf([&] {
        keytap.InitHook(1);
        keytap.RegistKey({0, 112, 0, 0});
        keytap.TerminateHook();
        keytap.InitHook(1);
    });

    EXPECT_FALSE(keytap.isBound());
    EXPECT_EQ(lineCount(errors), 1) << errors;
    EXPECT_NE(errors.find("shortcut keys are off"), std::string::npos) << errors;
    EXPECT_NE(errors.find(beside), std::string::npos) << errors;
    EXPECT_NE(errors.find("liblirabox-no-such-keytap.so"), std::string::npos) << errors;
}

TEST(KeytapBinding, TheLookupIsMadeOnceNotAtEveryCall) {
    TempFolder folder;
    const auto path = folder.file("libkeytap.so");
    KeytapBinding keytap({path.string()});
    stderrOf([&] { keytap.InitHook(1); });
    std::filesystem::copy_file(KEYTAP_PROBE_WITHOUT_REGISTKEY, path);

    const std::string errors = stderrOf([&] {
        keytap.RegistKey({0, 112, 0, 0});
        keytap.TerminateHook();
    });

    EXPECT_FALSE(keytap.isBound());
    EXPECT_EQ(errors, "");
}

TEST(KeytapBinding, ALibraryWithoutOneOfTheFunctionsIsNotUsedAtAll) {
    KeytapBinding keytap({KEYTAP_PROBE_WITHOUT_REGISTKEY});

    const std::string errors = stderrOf([&] {
        keytap.InitHook(7);
        keytap.TerminateHook();
    });

    EXPECT_FALSE(keytap.isBound());
    EXPECT_EQ(probeLog(KEYTAP_PROBE_WITHOUT_REGISTKEY), "(not loaded)");
    EXPECT_EQ(lineCount(errors), 1) << errors;
    EXPECT_NE(errors.find("RegistKey"), std::string::npos) << errors;
}

TEST(KeytapBinding, ALibraryOfAnotherKindIsPassedOverForTheNextCandidate) {
    KeytapBinding keytap({TIMEPOST_LIBRARY, KEYTAP_LIBRARY});
    EXPECT_EQ(stderrOf([&] { EXPECT_TRUE(keytap.isBound()); }), "");
}

}  // namespace
}  // namespace lirabox::hotkeys
