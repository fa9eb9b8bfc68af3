// Window placement on real Qt windows under a real X server and window manager.

#include "app/qt/toolkit/FrameMarginsTracker.h"
#include "app/qt/toolkit/QtWindowServices.h"
#include "support/RaisedError.h"
#include "support/clsIniFile.h"
#include "support/clsWinPlacement.h"
#include "tests/common/TempFolder.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

// Readable Qt values in test messages.
void PrintTo(const QPoint& p, std::ostream* out) { *out << "(" << p.x() << ", " << p.y() << ")"; }
void PrintTo(const QSize& s, std::ostream* out) { *out << s.width() << " x " << s.height(); }
void PrintTo(const QRect& r, std::ostream* out) {
    PrintTo(r.topLeft(), out);
    *out << " ";
    PrintTo(r.size(), out);
}
std::ostream& operator<<(std::ostream& out, const QPoint& p) {
    PrintTo(p, &out);
    return out;
}
std::ostream& operator<<(std::ostream& out, const QRect& r) {
    PrintTo(r, &out);
    return out;
}

namespace lirabox {
namespace {

class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        mApp = std::make_unique<QApplication>(mArgc, mArgv);
        // On a busy machine the window manager may still be starting.
        ASSERT_TRUE(QTest::qWaitFor(
            [] { return std::system("xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'") == 0; }, 30000))
            << "no window manager on this display";
    }
    void TearDown() override { mApp.reset(); }

private:
    int mArgc = 1;
    char mName[16] = "placement_test";
    char* mArgv[2] = {mName, nullptr};
    std::unique_ptr<QApplication> mApp;
};

[[maybe_unused]] ::testing::Environment* const qtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

const std::string kSection = "FormPosition";
constexpr int kClientWidth = 300;
constexpr int kClientHeight = 200;

QPoint framePosition(const QWidget& window) { return window.frameGeometry().topLeft(); }

// Windows settle asynchronously, through the window manager: wait (bounded)
// until a condition holds or a value has become the expected one.
bool settles(auto condition) { return QTest::qWaitFor(condition); }

template <typename Read, typename T>
T settledValue(Read read, const T& expected) {
    (void)settles([&] { return read() == expected; });
    return read();
}

#define EXPECT_SETTLES_TO(actual, expected) EXPECT_EQ(settledValue([&] { return (actual); }, (expected)), (expected))

// Mapped, exposed and decorated by the window manager.
[[nodiscard]] bool waitUntilDecorated(QWidget& window) {
    return QTest::qWaitForWindowExposed(&window) &&
           QTest::qWaitFor([&] { return !currentFrameMargins(window).isNull(); });
}

// One start of a main window: a 300 x 200 top-level whose placement lives in
// "position.ini" of the given folder, set up the way the program does it.
class Start {
public:
    explicit Start(const std::filesystem::path& folder) {
        ini->setFilePath(folder.string());
        ini->setFileName("position.ini");
        window.resize(kClientWidth, kClientHeight);
        placement.setTagetWnd(window.winId());
        placement.setMaximized(false);
        placement.setMinimized(false);
        placement.setUseHeight(false);
        placement.setUseWidth(false);
        placement.setSectionName(kSection);
        placement.setIniFile(ini);
    }

    bool restore() {
        bool error = false;
        placement.Restore(error);
        return error;
    }

    std::string stored(const std::string& key) { return ini->ReadString(kSection, key, "?"); }
    void store(const std::string& key, int value) { ini->WriteString(kSection, key, std::to_string(value)); }

    std::shared_ptr<clsIniFile> ini = std::make_shared<clsIniFile>();
    QWidget window;
    QtWindowServices services;
    clsWinPlacement placement {services};
};

class QtPlacementTest : public ::testing::Test {
protected:
    test::TempFolder folder;
};

TEST_F(QtPlacementTest, HiddenWindowOpensWithItsFrameCornerOnTheStoredPlace) {
    Start start(folder.path());
    start.store("Left", 100);
    start.store("Top", 50);
    EXPECT_FALSE(start.restore());
    ASSERT_TRUE(waitUntilDecorated(start.window));
    EXPECT_SETTLES_TO(framePosition(start.window), QPoint(100, 50));
    EXPECT_EQ(start.window.size(), QSize(kClientWidth, kClientHeight));
    EXPECT_FALSE(start.window.isMinimized());
    EXPECT_FALSE(start.window.isMaximized());
}

TEST_F(QtPlacementTest, FirstRestoreStoresWhereTheWindowWouldOpenAndOpensItThere) {
    Start start(folder.path());
    start.window.move(240, 180);  // not shown yet: this is where its client area goes
    EXPECT_FALSE(start.restore());
    ASSERT_TRUE(waitUntilDecorated(start.window));
    EXPECT_SETTLES_TO(start.window.geometry().topLeft(), QPoint(240, 180));
    const QPoint frame = framePosition(start.window);
    EXPECT_EQ(start.stored("Left"), std::to_string(frame.x()));
    EXPECT_EQ(start.stored("Top"), std::to_string(frame.y()));
    EXPECT_EQ(start.stored("Minimized"), "0");
    EXPECT_EQ(start.stored("Maximized"), "0");
}

TEST_F(QtPlacementTest, StoredTextThatIsNoNumberLeavesTheWindowWhereItWouldOpen) {
    Start start(folder.path());
    start.window.move(240, 180);
    start.ini->WriteString(kSection, "Top", "abc");
    try {
        start.restore();
        ADD_FAILURE() << "Restore raised nothing";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.number(), kErrTypeMismatch);
    }
    EXPECT_FALSE(start.window.isVisible());
    start.window.show();  // the start goes on
    ASSERT_TRUE(waitUntilDecorated(start.window));
    EXPECT_SETTLES_TO(start.window.geometry().topLeft(), QPoint(240, 180));
    EXPECT_EQ(start.window.size(), QSize(kClientWidth, kClientHeight));
}

TEST_F(QtPlacementTest, ShownWindowIsMovedWithItsFrameCornerOnTheStoredPlace) {
    Start start(folder.path());
    start.window.show();
    ASSERT_TRUE(waitUntilDecorated(start.window));
    start.store("Left", 400);
    start.store("Top", 300);
    EXPECT_FALSE(start.restore());
    EXPECT_SETTLES_TO(framePosition(start.window), QPoint(400, 300));
    EXPECT_EQ(start.window.size(), QSize(kClientWidth, kClientHeight));
}

TEST_F(QtPlacementTest, WindowHiddenAfterBeingShownComesBackOnTheStoredPlace) {
    Start start(folder.path());
    start.window.show();
    ASSERT_TRUE(waitUntilDecorated(start.window));
    start.window.hide();
    start.store("Left", 333);
    start.store("Top", 222);
    EXPECT_FALSE(start.restore());
    ASSERT_TRUE(waitUntilDecorated(start.window));
    EXPECT_SETTLES_TO(framePosition(start.window), QPoint(333, 222));
    EXPECT_EQ(start.window.size(), QSize(kClientWidth, kClientHeight));
}

TEST_F(QtPlacementTest, StoredWidthAndHeightAreTheFramesOuterSize) {
    Start start(folder.path());
    start.placement.setUseWidth(true);
    start.placement.setUseHeight(true);
    start.store("Left", 100);
    start.store("Top", 100);
    start.store("Right", 600);
    start.store("Bottom", 500);
    EXPECT_FALSE(start.restore());
    ASSERT_TRUE(waitUntilDecorated(start.window));
    EXPECT_SETTLES_TO(start.window.frameGeometry(), QRect(100, 100, 500, 400));

    start.placement.Save();
    EXPECT_EQ(start.stored("Right"), "600");
    EXPECT_EQ(start.stored("Bottom"), "500");
}

TEST_F(QtPlacementTest, PlaceStoredOffTheScreenBringsTheWholeFrameBackOnIt) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint stored[] = {{5000, -300}, {-4000, 5000}, {screen.width() - 10, screen.height() - 10}};
    for (const QPoint& place : stored) {
        Start start(folder.path());
        start.store("Left", place.x());
        start.store("Top", place.y());
        EXPECT_TRUE(start.restore());
        ASSERT_TRUE(waitUntilDecorated(start.window));
        (void)settles([&] { return screen.contains(start.window.frameGeometry()); });
        EXPECT_TRUE(screen.contains(start.window.frameGeometry()))
            << "frame " << start.window.frameGeometry() << " for the stored place " << place;
        const QRect frame = start.window.frameGeometry();
        // Pulled back only as far as needed: it touches the edge it crossed.
        EXPECT_TRUE(frame.left() == 0 || frame.right() == screen.right()) << place.x();
        EXPECT_TRUE(frame.top() == 0 || frame.bottom() == screen.bottom()) << place.y();
    }
}

TEST_F(QtPlacementTest, MaximizedWindowStoresMaximizedAndItsNormalPlace) {
    {
        Start start(folder.path());
        start.store("Left", 150);
        start.store("Top", 120);
        start.restore();
        ASSERT_TRUE(waitUntilDecorated(start.window));
        EXPECT_SETTLES_TO(framePosition(start.window), QPoint(150, 120));
        start.window.showMaximized();
        const int screenWidth = QGuiApplication::primaryScreen()->availableGeometry().width();
        EXPECT_TRUE(settles([&] { return start.window.isMaximized() && start.window.width() == screenWidth; }));
        start.placement.Save();
        EXPECT_EQ(start.stored("Maximized"), "1");
        EXPECT_EQ(start.stored("Minimized"), "0");
        EXPECT_EQ(start.stored("Left"), "150");
        EXPECT_EQ(start.stored("Top"), "120");
    }
    // The program's settings open it normal again, where it was before.
    Start next(folder.path());
    EXPECT_FALSE(next.restore());
    ASSERT_TRUE(waitUntilDecorated(next.window));
    EXPECT_SETTLES_TO(framePosition(next.window), QPoint(150, 120));
    EXPECT_FALSE(next.window.isMaximized());
}

TEST_F(QtPlacementTest, MinimizedWindowStoresMinimizedAndItsNormalPlace) {
    Start start(folder.path());
    start.store("Left", 210);
    start.store("Top", 160);
    start.restore();
    ASSERT_TRUE(waitUntilDecorated(start.window));
    EXPECT_SETTLES_TO(framePosition(start.window), QPoint(210, 160));
    start.window.showMinimized();
    EXPECT_TRUE(settles([&] { return start.window.isMinimized(); }));
    start.placement.Save();
    EXPECT_EQ(start.stored("Minimized"), "1");
    EXPECT_EQ(start.stored("Maximized"), "0");
    EXPECT_EQ(start.stored("Left"), "210");
    EXPECT_EQ(start.stored("Top"), "160");
}

TEST_F(QtPlacementTest, StoredStatesOpenTheWindowThatWayWhenTheSwitchesAllowIt) {
    {
        Start start(folder.path());
        start.placement.setMaximized(true);
        start.store("Left", 120);
        start.store("Top", 90);
        start.store("Maximized", 1);
        start.restore();
        EXPECT_TRUE(settles([&] { return start.window.isMaximized(); }));
        start.window.showNormal();
        ASSERT_TRUE(waitUntilDecorated(start.window));
        EXPECT_SETTLES_TO(framePosition(start.window), QPoint(120, 90));
    }
    {
        Start start(folder.path());
        start.placement.setMinimized(true);
        start.store("Minimized", 1);
        start.restore();
        EXPECT_TRUE(settles([&] { return start.window.isMinimized(); }));
    }
}

TEST_F(QtPlacementTest, RestoreBringsAMaximizedWindowBackToTheStoredNormalRectangle) {
    Start start(folder.path());
    start.placement.setUseWidth(true);
    start.placement.setUseHeight(true);
    start.window.showMaximized();
    EXPECT_TRUE(settles([&] { return start.window.isMaximized(); }));
    ASSERT_TRUE(waitUntilDecorated(start.window));
    start.store("Left", 260);
    start.store("Top", 140);
    start.store("Right", 660);
    start.store("Bottom", 440);
    EXPECT_FALSE(start.restore());
    EXPECT_TRUE(settles([&] { return !start.window.isMaximized(); }));
    ASSERT_TRUE(waitUntilDecorated(start.window));
    EXPECT_SETTLES_TO(start.window.frameGeometry(), QRect(260, 140, 400, 300));
}

TEST_F(QtPlacementTest, UnknownWindowsAreReportedAsFailedCalls) {
    QtWindowServices services;
    QWidget parent;
    auto* child = new QWidget(&parent);
    child->winId();
    WindowPlacement placement;
    PixelRect rect {1, 2, 3, 4};
    for (const WindowHandle handle : {WindowHandle {0}, WindowHandle {child->winId()}}) {
        EXPECT_FALSE(services.GetWindowPlacement(handle, placement));
        EXPECT_FALSE(services.SetWindowPlacement(handle, placement));
        EXPECT_FALSE(services.GetWindowRect(handle, rect));
        EXPECT_FALSE(services.IsIconic(handle));
        EXPECT_FALSE(services.IsZoomed(handle));
    }
    EXPECT_EQ(rect.left, 1);

    Start start(folder.path());
    start.placement.setTagetWnd(child->winId());
    try {
        start.placement.Save();
        ADD_FAILURE() << "Save of a window that is not a top-level raised nothing";
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.number(), kObjectErrorBase + 3004);
    }
}

TEST_F(QtPlacementTest, ScreenSizeIsThePrimaryScreens) {
    QtWindowServices services;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const PixelRect primary = services.PrimaryScreenRect();
    EXPECT_EQ(primary.right, screen.x() + screen.width());
    EXPECT_EQ(primary.bottom, screen.y() + screen.height());
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const PixelRect desktop = services.DesktopClientRect();
    EXPECT_EQ(desktop.right, available.x() + available.width());
    EXPECT_EQ(desktop.bottom, available.y() + available.height());
}

// ---- quitting and starting again, as separate processes --------------------

constexpr const char* kChildFolder = "LIRABOX_PLACEMENT_CHILD_FOLDER";
constexpr const char* kChildMoveTo = "LIRABOX_PLACEMENT_CHILD_MOVE_TO";

// One start of the program in a process of its own: restore, let the window
// settle, optionally have it moved through the window manager, note where its
// frame is, save. Run by the test below only.
TEST(PlacementRestartChild, DISABLED_OneStart) {
    const char* folder = std::getenv(kChildFolder);
    ASSERT_NE(folder, nullptr);
    const bool firstStart = !std::filesystem::exists(std::filesystem::path(folder) / "position.ini");
    Start start(folder);
    start.window.move(200, 150);  // where the window opens when nothing is stored
    start.restore();
    ASSERT_TRUE(waitUntilDecorated(start.window));
    if (!firstStart) {
        const QPoint stored(std::stoi(start.stored("Left")), std::stoi(start.stored("Top")));
        (void)QTest::qWaitFor([&] { return framePosition(start.window) == stored; });
    }
    if (const char* moveTo = std::getenv(kChildMoveTo)) {
        const QPoint before = framePosition(start.window);
        const std::string command = "xdotool windowmove " + std::to_string(start.window.winId()) + " " + moveTo;
        ASSERT_EQ(std::system(command.c_str()), 0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return framePosition(start.window) != before; }));
    }
    const QPoint seen = framePosition(start.window);
    std::ofstream(std::filesystem::path(folder) / "seen.txt", std::ios::app) << seen.x() << ' ' << seen.y() << '\n';
    start.placement.Save();
}

int runChildStart(const std::filesystem::path& folder, const char* moveTo) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string command = std::string(kChildFolder) + "='" + folder.string() + "' ";
    if (moveTo != nullptr) command += std::string(kChildMoveTo) + "='" + moveTo + "' ";
    command += "'" + self + "' --gtest_also_run_disabled_tests --gtest_filter=PlacementRestartChild.DISABLED_OneStart";
    command += " >>'" + (folder / "child.log").string() + "' 2>&1";
    return std::system(command.c_str());
}

TEST_F(QtPlacementTest, MovedWindowIsWhereItWasLeftAfterTenRestarts) {
    const auto childLog = [&] {
        std::ifstream log(folder.file("child.log"));
        return std::string(std::istreambuf_iterator<char>(log), {});
    };
    ASSERT_EQ(runChildStart(folder.path(), "437 311"), 0) << childLog();
    for (int restart = 0; restart < 10; ++restart) {
        ASSERT_EQ(runChildStart(folder.path(), nullptr), 0) << "restart " << restart << "\n" << childLog();
    }
    std::ifstream seenFile(folder.file("seen.txt"));
    std::vector<std::string> seen;
    for (std::string line; std::getline(seenFile, line);) seen.push_back(line);
    ASSERT_EQ(seen.size(), 11u);
    for (std::size_t i = 1; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i], seen[0]) << "start " << i;
    }
    std::istringstream first(seen[0]);
    int left = 0;
    int top = 0;
    first >> left >> top;
    EXPECT_NE(QPoint(left, top), QPoint(0, 0)) << "the window was not moved";
}

}  // namespace
}  // namespace lirabox
