// The reference Timepost: the position file, how it is written and where.

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "player/Timepost.h"
#include "support/AppPaths.h"
#include "tests/common/TempFolder.h"
#include "timepost/PositionFile.h"
#include "timepost/Timepost.h"

namespace {

namespace fs = std::filesystem;
using lirabox::test::TempFolder;
using lirabox::timepost::positionFolder;
using lirabox::timepost::positionLine;
using lirabox::timepost::writePosition;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : mName(name) {
        if (const char* old = std::getenv(name)) mOld = old;
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (mOld) {
            ::setenv(mName, mOld->c_str(), 1);
        } else {
            ::unsetenv(mName);
        }
    }

private:
    const char* mName;
    std::optional<std::string> mOld;
};

// chattr +i on a path for the life of the object.
class Immutable {
public:
    explicit Immutable(const fs::path& path) : mPath(path) {
        mSet = std::system(("chattr +i '" + mPath.string() + "' 2>/dev/null").c_str()) == 0;
    }
    ~Immutable() {
        if (mSet) std::system(("chattr -i '" + mPath.string() + "'").c_str());
    }
    bool set() const { return mSet; }

private:
    fs::path mPath;
    bool mSet = false;
};

TEST(PositionLine, SecondsWithThreeDecimalsThenTheClock) {
    EXPECT_EQ(positionLine(90.1), "90.100 00:01:30\n");
    EXPECT_EQ(positionLine(3725.4), "3725.400 01:02:05\n");
    EXPECT_EQ(positionLine(59.9996), "60.000 00:00:59\n");  // the clock is cut, not rounded
    EXPECT_EQ(positionLine(0), "0.000 00:00:00\n");
    EXPECT_EQ(positionLine(360000), "360000.000 100:00:00\n");
}

TEST(PositionLine, NegativeAndOutlandishPositionsStayWellFormed) {
    EXPECT_EQ(positionLine(-2.5), "0.000 00:00:00\n");
    const std::string huge = positionLine(1e300);
    EXPECT_TRUE(std::regex_match(huge, std::regex("[0-9]+\\.000 [0-9]+:[0-9]{2}:[0-9]{2}\n"))) << huge;
}

TEST(PositionFolder, UnderTheRuntimeFolderOrAPrivateTmpFolder) {
    {
        ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/1234/");
        EXPECT_EQ(positionFolder(), "/run/user/1234/lirabox");
    }
    const std::string fallback = "/tmp/lirabox-" + std::to_string(::geteuid());
    {
        ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
        EXPECT_EQ(positionFolder(), fallback);
    }
    {
        ScopedEnv runtime("XDG_RUNTIME_DIR", "relative/folder");
        EXPECT_EQ(positionFolder(), fallback);
    }
}

class SetTimeTest : public ::testing::Test {
protected:
    TempFolder mRuntime;
    ScopedEnv mEnv {"XDG_RUNTIME_DIR", mRuntime.path().c_str()};
    fs::path folder() const { return mRuntime.path() / "lirabox"; }
    fs::path positionFile() const { return folder() / "position"; }
};

TEST_F(SetTimeTest, WritesThePositionIntoAPrivateFolder) {
    ASSERT_EQ(SetTime(12.25), 0);
    EXPECT_EQ(readFile(positionFile()), "12.250 00:00:12\n");
    EXPECT_EQ(modeOf(folder()), 0700u);
    EXPECT_EQ(modeOf(positionFile()), 0600u);
}

TEST_F(SetTimeTest, EachCallReplacesTheFileAndLeavesNoTemporaryFiles) {
    ASSERT_EQ(SetTime(1), 0);
    ASSERT_EQ(SetTime(2.5), 0);
    EXPECT_EQ(readFile(positionFile()), "2.500 00:00:02\n");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder())) names.push_back(entry.path().filename());
    EXPECT_EQ(names, std::vector<std::string> {"position"});
}

TEST_F(SetTimeTest, AReaderNeverSeesAHalfWrittenFile) {
    ASSERT_EQ(SetTime(0), 0);
    std::atomic<bool> done {false};
    std::atomic<int> bad {0};
    std::thread reader([&] {
        const std::regex line("[0-9]+\\.[0-9]{3} [0-9]{2}:[0-9]{2}:[0-9]{2}\n");
        while (!done) {
            if (!std::regex_match(readFile(positionFile()), line)) ++bad;
        }
    });
    for (int i = 0; i < 300; ++i) ASSERT_EQ(SetTime(i * 0.1), 0);
    done = true;
    reader.join();
    EXPECT_EQ(bad, 0);
}

TEST_F(SetTimeTest, APositionThatIsNotANumberIsRefusedAndNothingIsWritten) {
    EXPECT_EQ(SetTime(std::nan("")), EINVAL);
    EXPECT_EQ(SetTime(HUGE_VAL), EINVAL);
    EXPECT_FALSE(fs::exists(positionFile()));
}

TEST_F(SetTimeTest, AFolderThatIsALinkIsNotFollowed) {
    TempFolder elsewhere;
    fs::create_directory_symlink(elsewhere.path(), folder());
    EXPECT_EQ(SetTime(5), EPERM);
    EXPECT_TRUE(fs::is_empty(elsewhere.path()));
}

TEST_F(SetTimeTest, AFolderOthersCanEnterIsNotUsed) {
    fs::create_directory(folder());
    fs::permissions(folder(), fs::perms::all);
    EXPECT_EQ(SetTime(5), EPERM);
    EXPECT_FALSE(fs::exists(positionFile()));
}

TEST_F(SetTimeTest, APlainFileWhereTheFolderShouldBeIsAnError) {
    std::ofstream(folder()) << "not a folder";
    EXPECT_EQ(SetTime(5), ENOTDIR);
    EXPECT_EQ(readFile(folder()), "not a folder");
}

TEST_F(SetTimeTest, AnUnwritableFolderKeepsTheLastPosition) {
    ASSERT_EQ(SetTime(7), 0);
    Immutable locked(folder());
    if (locked.set()) {
        EXPECT_NE(SetTime(8), 0);
        EXPECT_EQ(readFile(positionFile()), "7.000 00:00:07\n");
    } else {
        // chattr is not available on this file system: a folder whose parent is a plain file.
        ScopedEnv runtime("XDG_RUNTIME_DIR", (folder() / "position").c_str());
        EXPECT_EQ(SetTime(8), ENOTDIR);
    }
}

// The library as the player loads it: by file name, SetTime found by name.
TEST(TimepostLibrary, ThePlayersBindingDrivesTheBuiltLibrary) {
    TempFolder runtime;
    ScopedEnv env("XDG_RUNTIME_DIR", runtime.path().c_str());
    const fs::path library = fs::path(lirabox::executablePath()).parent_path() / "libtimepost.so";
    ASSERT_TRUE(fs::exists(library)) << library;

    lirabox::TimepostLibrary binding({library.string()});
    ASSERT_TRUE(binding.isBound());
    binding.SetTime(90.05);
    EXPECT_EQ(readFile(runtime.path() / "lirabox" / "position"), "90.050 00:01:30\n");
}

}  // namespace
