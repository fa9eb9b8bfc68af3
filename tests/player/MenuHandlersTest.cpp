// The "表示" and "ヘルプ" menus, the one-line popup's commands, chkOnTop and
// Alt+Enter on the main window, over a fake view and desktop.

#include "PlayerFixture.h"
#include "ViewModeFakes.h"
#include "player/HelpAndVersion.h"
#include "player/MenuHandlers.h"
#include "support/AppPaths.h"

#include <fstream>
#include <functional>
#include <mutex>
#include <thread>

namespace lirabox::test {
namespace {

class MenuHandlersTest : public PlayerTest {
protected:
    MenuHandlersTest() {
        form().setMenuHandlers(&menus);
        window.help = programFile("Lirabox_help.chm").string();
    }

    std::uintptr_t mainWindow() const { return view.handle; }
    void writeProgramFile(const std::string& name) const { std::ofstream(programFile(name)) << "x"; }

    FakeWindowModes window;
    std::shared_ptr<AboveStateDesktop> desktop = std::make_shared<AboveStateDesktop>();
    MenuHandlers menus {form(), view, window, desktop};
};

TEST_F(MenuHandlersTest, AlwaysOnTopTogglesTheBoxBothMarksAndEveryOpenWindow) {
    ASSERT_TRUE(load());
    form().runCommand(Command::ToggleAlwaysOnTop);
    EXPECT_EQ(window.onTop, 1);
    EXPECT_TRUE(window.marks);
    EXPECT_TRUE(desktop->isAbove(mainWindow()));

    form().runCommand(Command::OneLineMode);
    const std::uintptr_t oneLine = window.oneLine;
    form().runCommand(Command::ToggleAlwaysOnTop);  // from the popup
    EXPECT_EQ(window.onTop, 0);
    EXPECT_FALSE(window.marks);
    EXPECT_FALSE(desktop->isAbove(mainWindow()));
    EXPECT_FALSE(desktop->isAbove(oneLine));

    // The check box itself: the marks and the windows follow it.
    window.onTop = 1;
    menus.chkOnTop_Click();
    EXPECT_TRUE(window.marks);
    EXPECT_TRUE(desktop->isAbove(mainWindow()));
    EXPECT_TRUE(desktop->isAbove(oneLine));
}

TEST_F(MenuHandlersTest, ViewSwitchingHidesTheMainWindowAndMakesAFreshOneLineWindowEachTime) {
    ASSERT_TRUE(load());
    form().runCommand(Command::OneLineMode);
    EXPECT_FALSE(window.mainVisible);
    EXPECT_FALSE(form().fullMode());
    EXPECT_NE(window.oneLine, 0u);

    // "1行モード" from the one-line window's own View popup leaves everything as it is.
    form().runCommand(Command::OneLineMode);
    EXPECT_EQ(window.oneLineLoads, 1);
    EXPECT_FALSE(window.mainVisible);

    window.onTop = 1;
    menus.chkOnTop_Click();
    desktop->above.clear();  // X forgets a hidden window's state
    form().runCommand(Command::FullMode);
    EXPECT_EQ(window.oneLine, 0u);
    EXPECT_TRUE(form().fullMode());
    EXPECT_TRUE(window.mainVisible);
    EXPECT_TRUE(desktop->isAbove(mainWindow())) << "the state did not survive the switch";

    form().runCommand(Command::OneLineMode);
    EXPECT_EQ(window.oneLineLoads, 2);
}

TEST_F(MenuHandlersTest, OnlyAltEnterSwitchesTheView) {
    ASSERT_TRUE(load());
    struct Key {
        std::int32_t code, shift;
    };
    for (const Key key : {Key {13, 0}, Key {13, 5}, Key {13, 6}, Key {13, 7}, Key {13, 2}, Key {32, 4}, Key {18, 4}}) {
        EXPECT_FALSE(menus.Form_KeyDown(key.code, key.shift)) << key.code << "/" << key.shift;
        EXPECT_TRUE(form().fullMode());
    }
    EXPECT_TRUE(menus.Form_KeyDown(13, 4));
    EXPECT_FALSE(form().fullMode());
    EXPECT_FALSE(window.mainVisible);
}

TEST_F(MenuHandlersTest, QuitClosesTheOneLineWindowFirstThenTheMainWindow) {
    ASSERT_TRUE(load());
    form().runCommand(Command::OneLineMode);
    form().runCommand(Command::Quit);
    EXPECT_EQ(window.oneLine, 0u);
    EXPECT_EQ(view.closeRequests, 1);
}

TEST_F(MenuHandlersTest, HelpOpensTheHelpFileElseTheGuideElseSaysItIsMissing) {
    ASSERT_TRUE(load());
    const std::string help = window.help;
    window.help.clear();  // no help file was ever set
    form().runCommand(Command::Help);
    ASSERT_EQ(lastMessages(), std::vector<std::string> {"ヘルプファイルがありません。"});
    EXPECT_EQ(view.messages.back().icon, MessageIcon::None);
    EXPECT_EQ(view.messages.back().title, "Lirabox");
    EXPECT_TRUE(desktop->opened.empty());
    window.help = help;

    // Nothing in the program folder (a folder named like the help file is no
    // help file): the guide the build put beside this test program.
    std::filesystem::create_directory(programFile("Lirabox_help.chm"));
    form().runCommand(Command::Help);
    std::filesystem::remove(programFile("Lirabox_help.chm"));
    const std::filesystem::path besideProgram = std::filesystem::path(executablePath()).parent_path();
    ASSERT_EQ(desktop->opened, std::vector<std::string> {(besideProgram / "Lirabox_help.html").string() + "||10"});
    desktop->opened.clear();

    writeProgramFile("Lirabox_help.html");
    form().runCommand(Command::Help);
    writeProgramFile("Lirabox_help.chm");
    form().runCommand(Command::Help);
    EXPECT_EQ(desktop->opened,
              (std::vector<std::string> {programFile("Lirabox_help.html").string() + "||10",
                                         programFile("Lirabox_help.chm").string() + "||10"}));
    EXPECT_EQ(view.messages.size(), 1u);

    // Installed, the guide lies in share/doc/lirabox/ beside the program's
    // bin/; the program folder's own files still come first.
    const std::filesystem::path prefix = programFile("usr");
    std::filesystem::create_directories(prefix / "bin");
    std::filesystem::create_directories(prefix / "share/doc/lirabox");
    std::ofstream(prefix / "share/doc/lirabox/Lirabox_help.html") << "x";
    const std::string elsewhere = programFile("config/Lirabox_help.chm").string();
    EXPECT_EQ(helpDocument(elsewhere, (prefix / "bin").string()),
              (prefix / "share/doc/lirabox/Lirabox_help.html").string());
    EXPECT_EQ(helpDocument(window.help, (prefix / "bin").string()), window.help);
    EXPECT_EQ(helpDocument(elsewhere, programFile("bin").string()), std::nullopt);

    // The English interface opens the English guide, or the Japanese one where
    // it is missing.
    useCatalogue([](const UiText& text) {
        return std::string(text.source) == "Lirabox_help.html" ? "Lirabox_help_en.html" : text.source;
    });
    EXPECT_EQ(helpDocument(elsewhere, (prefix / "bin").string()),
              (prefix / "share/doc/lirabox/Lirabox_help.html").string());
    std::ofstream(prefix / "share/doc/lirabox/Lirabox_help_en.html") << "x";
    EXPECT_EQ(helpDocument(elsewhere, (prefix / "bin").string()),
              (prefix / "share/doc/lirabox/Lirabox_help_en.html").string());
    useCatalogue(nullptr);
}

TEST_F(MenuHandlersTest, AGuideTheDesktopCannotOpenIsNamedInTheMessage) {
    ASSERT_TRUE(load());
    writeProgramFile("Lirabox_help.html");
    desktop->openResult = kOpenNoAssociation;
    form().runCommand(Command::Help);
    EXPECT_EQ(desktop->opened.size(), 1u);
    ASSERT_EQ(
        lastMessages(),
        std::vector<std::string> {"ヘルプファイルを開けませんでした。\n" + programFile("Lirabox_help.html").string()});
    EXPECT_EQ(view.messages.back().icon, MessageIcon::Critical);
}

// The desktop's opener ends later with a failure, on a thread of its own: the
// message comes through the UI thread's queue, and not once the handlers are gone.
TEST_F(MenuHandlersTest, AGuideTheOpenerFailsToShowLaterIsNamedThroughTheUiThread) {
    ASSERT_TRUE(load());
    writeProgramFile("Lirabox_help.html");
    std::vector<std::function<void()>> queued;
    std::mutex queue;
    menus.setUiThreadPoster([&](std::function<void()> task) {
        const std::lock_guard guard(queue);
        queued.push_back(std::move(task));
    });
    form().runCommand(Command::Help);
    ASSERT_TRUE(desktop->lateFailure);
    std::thread(desktop->lateFailure).join();
    EXPECT_TRUE(lastMessages().empty());
    ASSERT_EQ(queued.size(), 1u);
    queued.front()();
    EXPECT_EQ(
        lastMessages(),
        std::vector<std::string> {"ヘルプファイルを開けませんでした。\n" + programFile("Lirabox_help.html").string()});

    auto gone = std::make_unique<MenuHandlers>(form(), view, window, desktop);
    gone->setUiThreadPoster([&](std::function<void()> task) { queued.push_back(std::move(task)); });
    gone->mnuMokuji_Click();
    const std::function<void()> failedLater = desktop->lateFailure;
    gone.reset();
    failedLater();
    EXPECT_EQ(queued.size(), 1u);
}

TEST_F(MenuHandlersTest, VersionShowsTheProjectVersionWithTheInformationIcon) {
    EXPECT_EQ(VersionText({2, 10, 3}), "Lirabox for Scribemark, version2.10.3");
    EXPECT_EQ(VersionText({1, 8, 0}), "Lirabox for Scribemark, version1.8.0");

    ASSERT_TRUE(load());
    form().runCommand(Command::Version);
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "Lirabox for Scribemark, version" LIRABOX_VERSION);
    EXPECT_EQ(view.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(view.messages[0].title, "バージョン情報");
}

}  // namespace
}  // namespace lirabox::test
