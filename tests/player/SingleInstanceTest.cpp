#include "player/SingleInstance.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

namespace lirabox::test {
namespace {

constexpr const char* kProgram = "/opt/lirabox/bin/lirabox";

// What a second process finds: 1 = a previous instance runs, 0 = none.
int prevInstanceInOtherProcess(const std::string& executable, const std::string& folder) {
    const pid_t child = ::fork();
    if (child == 0) {
        SingleInstance guard(executable, folder);
        ::_exit(guard.PrevInstance() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SingleInstance, FirstCopyRunsAndASecondProcessIsRefused) {
    TempFolder folder;
    SingleInstance first(kProgram, folder.path().string());
    EXPECT_FALSE(first.PrevInstance());
    EXPECT_EQ(prevInstanceInOtherProcess(kProgram, folder.path().string()), 1);
    EXPECT_FALSE(first.PrevInstance());  // the running copy is untouched
}

TEST(SingleInstance, AnotherExecutableIsAnotherProgram) {
    TempFolder folder;
    SingleInstance first(kProgram, folder.path().string());
    ASSERT_FALSE(first.PrevInstance());
    EXPECT_EQ(prevInstanceInOtherProcess("/home/u/lirabox/lirabox", folder.path().string()), 0);
}

TEST(SingleInstance, LockIsFreeAgainWhenTheFirstCopyEnds) {
    TempFolder folder;
    {
        SingleInstance first(kProgram, folder.path().string());
        ASSERT_FALSE(first.PrevInstance());
    }
    EXPECT_EQ(prevInstanceInOtherProcess(kProgram, folder.path().string()), 0);
}

TEST(SingleInstance, LockDiesWithAKilledProcess) {
    TempFolder folder;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        SingleInstance guard(kProgram, folder.path().string());
        const char answer = guard.PrevInstance() ? 'n' : 'y';
        (void)!::write(ready[1], &answer, 1);
        for (;;) ::pause();
    }
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    EXPECT_EQ(answer, 'y');
    {
        SingleInstance second(kProgram, folder.path().string());
        EXPECT_TRUE(second.PrevInstance());
    }
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);

    SingleInstance after(kProgram, folder.path().string());
    EXPECT_FALSE(after.PrevInstance());
}

TEST(SingleInstance, UnusableLockFolderLetsTheProgramRun) {
    TempFolder folder;
    std::ofstream(folder.file("plain")) << "x";
    const std::string below = folder.fileText("plain") + "/locks";
    SingleInstance first(kProgram, below);
    EXPECT_FALSE(first.PrevInstance());
    EXPECT_EQ(prevInstanceInOtherProcess(kProgram, below), 0);
}

TEST(SingleInstance, SymbolicLinkAsLockFolderIsNotTrusted) {
    TempFolder folder;
    std::filesystem::create_directory(folder.file("real"));
    std::filesystem::create_directory_symlink(folder.file("real"), folder.file("link"));
    SingleInstance first(kProgram, folder.fileText("link"));
    EXPECT_FALSE(first.PrevInstance());
    EXPECT_TRUE(std::filesystem::is_empty(folder.file("real")));
}

TEST(SingleInstance, LockFileLivesInTheGivenFolderAndNamesNoPath) {
    TempFolder folder;
    SingleInstance guard(kProgram, folder.path().string());
    EXPECT_EQ(std::filesystem::path(guard.lockFilePath()).parent_path(), folder.path());
    EXPECT_EQ(guard.lockFilePath().find("opt"), std::string::npos);
}

TEST(SingleInstance, DefaultFolderIsTheRuntimeDirectoryOrOneOfOurOwnInTmp) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedText = saved != nullptr ? saved : "";
    ::setenv("XDG_RUNTIME_DIR", "/run/user/4242", 1);
    EXPECT_EQ(SingleInstance::defaultLockFolder(), "/run/user/4242");
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(SingleInstance::defaultLockFolder(), "/tmp/lirabox-" + std::to_string(::geteuid()));
    if (saved != nullptr) ::setenv("XDG_RUNTIME_DIR", savedText.c_str(), 1);
}

}  // namespace
}  // namespace lirabox::test
