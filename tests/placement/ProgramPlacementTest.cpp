// The installed program's window placement and configuration files, under a
// real X server and window manager: the frame is read from the X server
// (the client's place widened by _NET_FRAME_EXTENTS), never from the program.

#include "tests/common/Desktop.h"
#include "tests/common/InstalledPlayer.h"
#include "tests/support/FileHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace lirabox::test {

void PrintTo(const ScreenRect& r, std::ostream* out) {
    *out << "(" << r.x << ", " << r.y << ") " << r.width << " x " << r.height;
}

namespace {

namespace fs = std::filesystem;

// "[FormPosition]" as the first start leaves it, Top and Left captured.
const std::regex kFirstStartPosition(
    "\\[FormPosition\\]\nMinimized=0\nMaximized=0\nTop=(-?[0-9]+)\nLeft=(-?[0-9]+)\n\\[Volume\\]\nvalue=2500\n");

std::string storedPosition(int left, int top) {
    return "[FormPosition]\nMinimized=0\nMaximized=0\nTop=" + std::to_string(top) + "\nLeft=" + std::to_string(left) +
           "\n";
}

bool onScreen(const ScreenRect& frame) {
    const ScreenRect screen = screenRect();
    return frame.x >= 0 && frame.y >= 0 && frame.x + frame.width <= screen.width &&
           frame.y + frame.height <= screen.height;
}

// One run of the installed program: started, its main window mapped and decorated.
class ProgramRun {
public:
    explicit ProgramRun(InstalledPlayer& player) : mPlayer(player), mPid(player.start()) {
        mWindow = waitForWindow(mPid, "Lirabox", false);
        if (mWindow != 0) waitUntil([&] { return frameRect(mWindow).has_value(); });
    }
    ~ProgramRun() {
        if (mWindow != 0 && mPlayer.running(mPid)) quit();
    }
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool shown() const { return mWindow != 0 && frameRect(mWindow).has_value(); }
    XWindow window() const { return mWindow; }
    ScreenRect frame() const { return frameRect(mWindow).value_or(ScreenRect {}); }

    // The frame once it is where it is expected (the window manager works
    // asynchronously), or where it ended up.
    ScreenRect frameSettledAt(int x, int y) const {
        waitUntil([&] { return frame().x == x && frame().y == y; }, std::chrono::seconds(5));
        return frame();
    }

    // Through the window manager, as a user would; the frame once it has moved.
    ScreenRect moveTo(int x, int y) const {
        const ScreenRect before = frame();
        moveWindow(mWindow, x, y);
        waitUntil([&] { return frame().x != before.x || frame().y != before.y; }, std::chrono::seconds(10));
        return frame();
    }

    // Ctrl+Q; success when the program ended normally, else how it ended and what it printed.
    ::testing::AssertionResult quit() {
        pressKeys(mWindow, "ctrl+q");
        const std::optional<int> status = mPlayer.waitForExit(mPid);
        if (status == 0) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "exit status " << (status ? std::to_string(*status) : "(running)") << "\n"
               << mPlayer.output();
    }

private:
    InstalledPlayer& mPlayer;
    pid_t mPid;
    XWindow mWindow = 0;
};

class ProgramPlacement : public ::testing::Test {
protected:
    // Left and Top as stored in "position.ini".
    std::pair<std::string, std::string> storedPlace() const {
        const std::string text = mPlayer.readFile("position.ini");
        std::smatch left, top;
        std::regex_search(text, left, std::regex("\nLeft=([^\n]*)\n"));
        std::regex_search(text, top, std::regex("\nTop=([^\n]*)\n"));
        return {left.size() > 1 ? left[1].str() : "(missing)", top.size() > 1 ? top[1].str() : "(missing)"};
    }

    static std::pair<std::string, std::string> placeOf(const ScreenRect& frame) {
        return {std::to_string(frame.x), std::to_string(frame.y)};
    }

    InstalledPlayer mPlayer;
};

TEST_F(ProgramPlacement, FirstStartOpensFullyOnTheScreenAndStoresThatPlace) {
    ProgramRun run(mPlayer);
    ASSERT_TRUE(run.shown()) << mPlayer.output();
    const ScreenRect frame = run.frame();
    EXPECT_TRUE(onScreen(frame)) << ::testing::PrintToString(frame);
    EXPECT_GT(frame.y, 0) << "the title bar must not touch the screen's top edge";
    EXPECT_EQ(storedPlace(), placeOf(frame)) << "the first restore stores where the window opens";
    ASSERT_TRUE(run.quit());
    EXPECT_EQ(storedPlace(), placeOf(frame));
}

TEST_F(ProgramPlacement, MovedWindowIsWhereItWasLeftAndDoesNotDriftOverTenRestarts) {
    ScreenRect left;
    {
        ProgramRun run(mPlayer);
        ASSERT_TRUE(run.shown()) << mPlayer.output();
        const ScreenRect opening = run.frame();
        left = run.moveTo(437, 311);
        ASSERT_FALSE(left.x == opening.x && left.y == opening.y) << "the window was not moved";
        ASSERT_TRUE(run.quit());
    }
    EXPECT_EQ(storedPlace(), placeOf(left));
    for (int restart = 1; restart <= 10; ++restart) {
        ProgramRun run(mPlayer);
        ASSERT_TRUE(run.shown()) << "restart " << restart << "\n" << mPlayer.output();
        EXPECT_EQ(run.frameSettledAt(left.x, left.y), left) << "restart " << restart;
        ASSERT_TRUE(run.quit());
        ASSERT_EQ(storedPlace(), placeOf(left)) << "restart " << restart;
    }
}

class OffScreenPlace : public ProgramPlacement, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(OffScreenPlace, BringsTheWholeFrameBackOntoTheScreen) {
    const auto [storedLeft, storedTop] = GetParam();
    mPlayer.writeFile("position.ini", storedPosition(storedLeft, storedTop));
    ProgramRun run(mPlayer);
    ASSERT_TRUE(run.shown()) << mPlayer.output();
    const ScreenRect screen = screenRect();
    const int expectedX = storedLeft < 0 ? 0 : screen.width - run.frame().width;
    const int expectedY = storedTop < 0 ? 0 : screen.height - run.frame().height;
    const ScreenRect frame = run.frameSettledAt(expectedX, expectedY);
    EXPECT_TRUE(onScreen(frame)) << ::testing::PrintToString(frame);
    // Pulled back only as far as needed: it touches the edges it crossed.
    EXPECT_EQ(frame.x, expectedX);
    EXPECT_EQ(frame.y, expectedY);
    ASSERT_TRUE(run.quit());
    EXPECT_EQ(storedPlace(), placeOf(frame));
}

INSTANTIATE_TEST_SUITE_P(Corners, OffScreenPlace,
                         ::testing::Values(std::pair {5000, -300}, std::pair {-4000, 5000}, std::pair {-1, -20}));

TEST_F(ProgramPlacement, StoredLeftThatIsNoNumberOpensTheWindowWhereItWouldHaveOpened) {
    ScreenRect opening;
    {
        InstalledPlayer fresh;
        ProgramRun run(fresh);
        ASSERT_TRUE(run.shown()) << fresh.output();
        opening = run.frame();
        ASSERT_TRUE(run.quit());
    }
    mPlayer.writeFile("position.ini", "[FormPosition]\nTop=100\nLeft=abc\n");
    ProgramRun run(mPlayer);
    ASSERT_TRUE(run.shown()) << mPlayer.output();
    EXPECT_EQ(run.frameSettledAt(opening.x, opening.y), opening);
    EXPECT_EQ(storedPlace(), (std::pair<std::string, std::string>("abc", "100")));
    // The start went on past the placement: the later steps wrote their defaults.
    EXPECT_EQ(mPlayer.readFile("UserCfg.ini"), "[Config]\nRewind=2\nForward=2\nAutorev=1\n");
    ASSERT_TRUE(run.quit());
    EXPECT_EQ(storedPlace(), placeOf(opening));
}

TEST_F(ProgramPlacement, ARefusedSecondInstanceNeverShowsItsWindow) {
    ProgramRun first(mPlayer);
    ASSERT_TRUE(first.shown()) << mPlayer.output();
    const pid_t second = mPlayer.start();
    const XWindow box = waitForWindow(second, "Lirabox", true);
    ASSERT_NE(box, 0u) << mPlayer.output();
    EXPECT_EQ(findWindow(second, "Lirabox", false), 0u) << "the refused instance showed its main window";
    pressKeys(box, "Return");
    EXPECT_EQ(mPlayer.waitForExit(second), 1);
    EXPECT_TRUE(first.quit());
}

TEST_F(ProgramPlacement, UnwritablePositionFileKeepsItsPlaceAndTheProgramRunsOn) {
    const std::string stored = storedPosition(321, 123) + "[Volume]\nvalue=1000\n";
    mPlayer.writeFile("position.ini", stored);
    const fs::path file = mPlayer.folder() / "position.ini";
    const Immutable locked(file);
    if (!locked.active()) {
        // A user without the right to set the attribute: permission bits stop
        // such a user (they would not stop root).
        ASSERT_NE(::geteuid(), 0u) << "chattr +i is not available here";
        fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    }
    ProgramRun run(mPlayer);
    ASSERT_TRUE(run.shown()) << mPlayer.output();
    EXPECT_EQ(run.frameSettledAt(321, 123).x, 321);
    EXPECT_EQ(run.frame().y, 123);
    run.moveTo(500, 400);
    ASSERT_TRUE(run.quit());
    EXPECT_EQ(mPlayer.readFile("position.ini"), stored);
}

// ---- the configuration files of a first start ------------------------------

TEST(ProgramConfigurationFiles, FirstStartInAnEmptyFolderLeavesExactlyTheListedKeysInOrder) {
    InstalledPlayer player;
    ASSERT_TRUE(fs::is_empty(player.configFolder()));
    {
        ProgramRun run(player);
        ASSERT_TRUE(run.shown()) << player.output();
        ASSERT_TRUE(run.quit());
    }

    std::string config;
    for (int row = 0; row < 8; ++row) {
        config += "[ID0" + std::to_string(row) + "]\nID=-1\nKeyCode=0\nKeyDestroy=0\nShiftStatus=0\n";
    }
    EXPECT_EQ(player.readFile("config.ini"), config);
    EXPECT_EQ(player.readFile("UserCfg.ini"), "[Config]\nRewind=2\nForward=2\nAutorev=1\n");
    const std::string position = player.readFile("position.ini");
    EXPECT_TRUE(std::regex_match(position, kFirstStartPosition)) << position;
    EXPECT_EQ(readText(player.configFolder() / "Lirabox.ini"), "[config]\nAppName=" + player.program().string() + "\n");

    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(player.folder())) {
        if (entry.path().extension() == ".ini") files.push_back(entry.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string> {"UserCfg.ini", "config.ini", "position.ini"}));
}

TEST(ProgramConfigurationFiles, AKeyDeletedFromConfigIniComesBackWithItsDefault) {
    InstalledPlayer player;
    std::string config;
    for (int row = 0; row < 8; ++row) {
        config += "[ID0" + std::to_string(row) + "]\nID=-1\nKeyCode=0\n";
        if (row != 3) config += "KeyDestroy=0\n";
        config += "ShiftStatus=0\n";
    }
    player.writeFile("config.ini", config);
    {
        ProgramRun run(player);
        ASSERT_TRUE(run.shown()) << player.output();
        ASSERT_TRUE(run.quit());
    }
    const std::string after = player.readFile("config.ini");
    const auto row3 = after.find("[ID03]");
    const auto row4 = after.find("[ID04]");
    ASSERT_NE(row3, std::string::npos);
    EXPECT_NE(after.substr(row3, row4 - row3).find("\nKeyDestroy=0\n"), std::string::npos) << after;
}

// A read-only install: the settings in the program folder move to the
// fallback folder before the first read, and the program starts with them.
TEST(ProgramConfigurationFiles, AReadOnlyProgramFolderStartsWithTheSettingsItHolds) {
    InstalledPlayer player;
    const std::string position = storedPosition(321, 123) + "[Volume]\nvalue=1000\n";
    const std::string user = "[Config]\nRewind=7\nForward=9\nAutorev=0\n";
    player.writeFile("position.ini", position);
    player.writeFile("UserCfg.ini", user);
    const Immutable locked(player.folder());
    ASSERT_TRUE(locked.active()) << "chattr +i is not available here";
    {
        ProgramRun run(player);
        ASSERT_TRUE(run.shown()) << player.output();
        EXPECT_EQ(run.frameSettledAt(321, 123).x, 321);
        EXPECT_EQ(run.frame().y, 123);
        ASSERT_TRUE(run.quit());
    }
    const fs::path fallback = player.configFolder() / "lirabox";
    EXPECT_EQ(readText(fallback / "UserCfg.ini"), user);
    EXPECT_EQ(readText(fallback / "position.ini"), position);
    EXPECT_EQ(player.readFile("position.ini"), position);
    EXPECT_FALSE(fs::exists(player.folder() / "config.ini"));
    EXPECT_TRUE(fs::exists(fallback / "config.ini"));
}

TEST(ProgramConfigurationFiles, AnUnwritableWindowsDirectoryDoesNotStopTheStart) {
    InstalledPlayer player;
    fs::remove(player.configFolder());
    writeText(player.configFolder(), "a plain file where the folder should be\n");
    ProgramRun run(player);
    ASSERT_TRUE(run.shown()) << player.output();
    ASSERT_TRUE(run.quit());
    EXPECT_EQ(player.readFile("UserCfg.ini"), "[Config]\nRewind=2\nForward=2\nAutorev=1\n");
}

}  // namespace
}  // namespace lirabox::test
