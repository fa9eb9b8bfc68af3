// The player's use of the system under Windows: one running copy per
// executable through a named mutex, and the position handed to Timepost.dll.
#include "player/SingleInstance.h"
#include "player/Timepost.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include <windows.h>

namespace lirabox {
namespace {

const std::string kProgram = "C:\\Program Files\\Lirabox\\Lirabox.exe";

TEST(Win32SingleInstance, OneCopyPerExecutableWhateverTheCaseOfItsPath) {
    {
        SingleInstance first(kProgram, SingleInstance::defaultLockFolder());
        EXPECT_FALSE(first.PrevInstance());
        EXPECT_EQ(first.lockFilePath().rfind("Local\\lirabox-", 0), 0u) << first.lockFilePath();

        SingleInstance second("c:\\program files\\lirabox\\LIRABOX.EXE", SingleInstance::defaultLockFolder());
        EXPECT_TRUE(second.PrevInstance());
        SingleInstance other("C:\\Other\\Lirabox.exe", SingleInstance::defaultLockFolder());
        EXPECT_FALSE(other.PrevInstance());
    }
    SingleInstance afterwards(kProgram, SingleInstance::defaultLockFolder());
    EXPECT_FALSE(afterwards.PrevInstance());
}

// Another process holds the mutex: a copy of this test program, started with
// LIRABOX_HOLD_INSTANCE set, takes it, says so through an event and keeps it
// until it is killed.
constexpr const char* kHeldReady = "Local\\lirabox-test-instance-held";

TEST(Win32SingleInstance, ACopyRunningInAnotherProcessIsSeenUntilItIsKilled) {
    const HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, kHeldReady);
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = "\"" + std::string(self) + "\" --gtest_filter=Win32SingleInstanceHolder.*";
    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    ::SetEnvironmentVariableA("LIRABOX_HOLD_INSTANCE", "1");
    ASSERT_TRUE(
        ::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    ::SetEnvironmentVariableA("LIRABOX_HOLD_INSTANCE", nullptr);
    ASSERT_EQ(::WaitForSingleObject(ready, 20000), WAIT_OBJECT_0);
    SingleInstance second(kProgram + ".held", SingleInstance::defaultLockFolder());
    EXPECT_TRUE(second.PrevInstance());

    ::TerminateProcess(process.hProcess, 0);  // however it ends, the lock goes with it
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(ready);
    SingleInstance after(kProgram + ".held", SingleInstance::defaultLockFolder());
    EXPECT_FALSE(after.PrevInstance());
}

TEST(Win32SingleInstanceHolder, HoldsTheLockUntilKilled) {
    if (::GetEnvironmentVariableA("LIRABOX_HOLD_INSTANCE", nullptr, 0) == 0)
        GTEST_SKIP() << "started by the test above";
    SingleInstance held(kProgram + ".held", SingleInstance::defaultLockFolder());
    ASSERT_FALSE(held.PrevInstance());
    ::SetEvent(::OpenEventA(EVENT_MODIFY_STATE, FALSE, kHeldReady));
    ::Sleep(60000);
}

TEST(Win32Timepost, ThePositionReachesTheFileOfTheReferenceTimepostDll) {
    TimepostLibrary timepost;
    ASSERT_TRUE(timepost.isBound());
    timepost.SetTime(90.1);
    char local[MAX_PATH] = {};
    ASSERT_GT(::GetEnvironmentVariableA("LOCALAPPDATA", local, MAX_PATH), 0u);
    std::ifstream file(std::string(local) + "\\lirabox\\position", std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    EXPECT_EQ(content.str(), "90.100 00:01:30\n");
}

}  // namespace
}  // namespace lirabox
