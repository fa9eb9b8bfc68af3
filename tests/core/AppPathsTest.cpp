#include "support/AppPaths.h"
#include "support/SystemProgramFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace lirabox;
namespace fs = std::filesystem;

namespace {

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : mName(name) {
        const char* old = std::getenv(name);
        mHadOld = old != nullptr;
        if (mHadOld) mOld = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (mHadOld)
            ::setenv(mName, mOld.c_str(), 1);
        else
            ::unsetenv(mName);
    }

private:
    const char* mName;
    bool mHadOld = false;
    std::string mOld;
};

}  // namespace

TEST(AppPaths, ExecutablePathIsThisTestProgram) {
    const fs::path exe = executablePath();
    EXPECT_TRUE(exe.is_absolute());
    EXPECT_EQ(exe.filename(), "core_tests");
}

TEST(AppPaths, ProgramFolderIsTheExecutablesFolderWhenWritable) {
    EXPECT_EQ(programFolder(), fs::path(executablePath()).parent_path().string());
}

TEST(AppPaths, ProgramFolderCanBePointedElsewhereAndBack) {
    setProgramFolder("/tmp/some/folder/");
    EXPECT_EQ(programFolder(), "/tmp/some/folder");
    setProgramFolder("");
    EXPECT_EQ(programFolder(), fs::path(executablePath()).parent_path().string());
}

TEST(AppPaths, WindowsDirectoryFollowsXdgConfigHome) {
    const fs::path dir = fs::temp_directory_path() / ("lirabox-xdg-" + std::to_string(::getpid()));
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", dir.string() + "/");
        EXPECT_EQ(windowsDirectory(), dir.string());
        EXPECT_TRUE(fs::is_directory(dir));
    }
    {
        ScopedEnv noXdg("XDG_CONFIG_HOME", "relative/not/allowed");
        ScopedEnv home("HOME", dir.string());
        EXPECT_EQ(windowsDirectory(), dir.string() + "/.config");
    }
    fs::remove_all(dir);
}

// A program the system installed for every user keeps no settings beside
// itself (as root it could); a build or an unpacked folder of one's own does.
TEST(AppPaths, OnlyTheSystemsProgramFoldersAreSharedByEveryUser) {
    for (const char* shared :
         {"/usr/bin", "/usr/bin/", "/usr/local/bin", "/bin", "/usr/games", "/opt/lirabox/bin", "/usr/lib/../bin"}) {
        EXPECT_TRUE(isSystemProgramFolder(shared)) << shared;
    }
    for (const char* own : {"/home/ann/lirabox/build/bin",
                            "/tmp/prefix/bin",
                            "/opt/bin",
                            "/opt/a/b/bin",
                            "usr/bin",
                            "/usr/lib/lirabox",
                            ""}) {
        EXPECT_FALSE(isSystemProgramFolder(own)) << own;
    }
}
