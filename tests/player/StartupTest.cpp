#include "PlayerFixture.h"
#include "support/AppPaths.h"
#include "support/RaisedError.h"
#include "support/clsIniFile.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace lirabox::test {
namespace {

using StartupTest = PlayerTest;

const std::vector<std::string> kSpeedItems = {"3",   "2.9", "2.8", "2.7", "2.6", "2.5", "2.4", "2.3", "2.2",
                                              "2.1", "2",   "1.9", "1.8", "1.7", "1.6", "1.5", "1.4", "1.3",
                                              "1.2", "1.1", "1",   "0.9", "0.8", "0.7", "0.6", "0.5"};

TEST_F(StartupTest, FirstStartInAnEmptyFolderWritesTheDefaults) {
    ASSERT_TRUE(load());
    EXPECT_EQ(stored("UserCfg.ini", "Config", "Rewind"), "2");
    EXPECT_EQ(stored("UserCfg.ini", "Config", "Forward"), "2");
    EXPECT_EQ(stored("UserCfg.ini", "Config", "Autorev"), "1");
    EXPECT_EQ(stored("position.ini", "Volume", "value"), "2500");
    EXPECT_EQ(form().rewind_time(), 2);
    EXPECT_EQ(form().forward_time(), 2);
    EXPECT_EQ(form().autorev_time(), 1);
    EXPECT_EQ(form().volumeSlider().Value(), 2500);
    EXPECT_EQ(engine.volume(), 25);
}

TEST_F(StartupTest, ProgramPathGoesToLiraboxIniInTheWindowsDirectory) {
    ASSERT_TRUE(load());
    clsIniFile appIni;
    appIni.setFilePath((configHome / "").string());
    appIni.setFileName("Lirabox.ini");
    appIni.setNothingWrite(false);
    EXPECT_EQ(appIni.ReadString("config", "AppName", "<missing>"), executablePath());
}

TEST_F(StartupTest, WithoutArgumentNothingIsOpened) {
    ASSERT_TRUE(load());
    EXPECT_FALSE(engine.loaded());
    EXPECT_EQ(engine.count("URL()"), 0);
    EXPECT_EQ(view.fileText, "ファイルがありません");
    EXPECT_EQ(view.timeText, "00:00:00 / 00:00:00");
    EXPECT_EQ(view.speedText, "1");
    EXPECT_TRUE(view.messages.empty());
    EXPECT_FALSE(view.timer2);
}

TEST_F(StartupTest, SpeedListHoldsTwentySixRatesWithOneSelected) {
    ASSERT_TRUE(load());
    EXPECT_EQ(view.speedItems, kSpeedItems);
    EXPECT_EQ(view.speedIndex, 20);
    EXPECT_DOUBLE_EQ(form().playRate(), 1.0);
    EXPECT_DOUBLE_EQ(engine.rate(), 1.0);
}

TEST_F(StartupTest, InitialStateOfTheWindow) {
    ASSERT_TRUE(load());
    EXPECT_TRUE(form().fullMode());
    EXPECT_EQ(form().repeatStart(), 0);
    EXPECT_EQ(form().repeatEnd(), 0);
    EXPECT_EQ(view.helpFile, programDir.string() + "/Lirabox_help.chm");
    EXPECT_TRUE(view.iconSet);
    EXPECT_EQ(form().seekSlider().Min(), 0);
    EXPECT_EQ(form().seekSlider().Max(), 32767);
    EXPECT_EQ(form().seekSlider().Value(), 0);
    EXPECT_EQ(form().volumeSlider().Max(), 5000);
    EXPECT_EQ(pictures.picArrow.Left(), 915);
    EXPECT_EQ(pictures.seekpoint.Left(), 0);
    EXPECT_EQ(std::filesystem::current_path(), programDir);
}

TEST_F(StartupTest, ShortcutKeysAreSwitchedOnAfterConfigIniExists) {
    ASSERT_TRUE(load());
    EXPECT_EQ(view.useKey, 1);
    const std::string handle = std::to_string(view.handle);
    EXPECT_EQ(hookCalls, (std::vector<std::string> {"InitHook(" + handle + ")", "SubclassMainWindow(" + handle + ")"}));
    EXPECT_EQ(stored("config.ini", "ID07", "ShiftStatus"), "0");
}

TEST_F(StartupTest, StepLengthsThatAreNotNumbersStayZero) {
    store("UserCfg.ini", "Config", "Rewind", "abc");
    store("UserCfg.ini", "Config", "Forward", "7");
    store("UserCfg.ini", "Config", "Autorev", "40000");
    ASSERT_TRUE(load());
    EXPECT_EQ(form().rewind_time(), 0);
    EXPECT_EQ(form().forward_time(), 7);
    EXPECT_EQ(form().autorev_time(), 0);
    EXPECT_EQ(stored("UserCfg.ini", "Config", "Rewind"), "abc");
    EXPECT_EQ(stored("UserCfg.ini", "Config", "Autorev"), "40000");
}

TEST_F(StartupTest, StepLengthsAreRoundedAndTakenAsTheyCome) {
    store("UserCfg.ini", "Config", "Rewind", "2.5");
    store("UserCfg.ini", "Config", "Forward", "3.5");
    store("UserCfg.ini", "Config", "Autorev", "-3");
    ASSERT_TRUE(load());
    EXPECT_EQ(form().rewind_time(), 2);
    EXPECT_EQ(form().forward_time(), 4);
    EXPECT_EQ(form().autorev_time(), -3);
}

TEST_F(StartupTest, SavedVolumeIsClampedToTheSlider) {
    store("position.ini", "Volume", "value", "9000");
    ASSERT_TRUE(load());
    EXPECT_EQ(form().volumeSlider().Value(), 5000);
    EXPECT_EQ(engine.volume(), 50);
    EXPECT_EQ(pictures.picArrow.Left(), 1695);
}

TEST_F(StartupTest, SavedVolumeThatIsNotANumberLeaves2500) {
    store("position.ini", "Volume", "value", "loud");
    ASSERT_TRUE(load());
    EXPECT_EQ(form().volumeSlider().Value(), 2500);
    EXPECT_EQ(engine.volume(), 25);
}

TEST_F(StartupTest, VolumeIsSavedAtExitAndRestoredAtTheNextStart) {
    ASSERT_TRUE(load());
    form().volumeSlider().setValue(3149);
    form().Form_Unload();
    EXPECT_EQ(stored("position.ini", "Volume", "value"), "3149");

    restart();
    ASSERT_TRUE(load());
    EXPECT_EQ(form().volumeSlider().Value(), 3149);
    EXPECT_EQ(engine.volume(), 31);
}

TEST_F(StartupTest, SecondInstanceShowsTheMessageAndEndsAfterWritingLiraboxIni) {
    instanceGuard.running = true;
    EXPECT_FALSE(load());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "既に起動しています。");
    EXPECT_EQ(view.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(view.messages[0].title, "Lirabox");
    EXPECT_TRUE(std::filesystem::exists(configHome / "Lirabox.ini"));
    // No later step ran.
    EXPECT_FALSE(std::filesystem::exists(programFile("UserCfg.ini")));
    EXPECT_FALSE(std::filesystem::exists(programFile("config.ini")));
    EXPECT_TRUE(hookCalls.empty());
    EXPECT_TRUE(view.speedItems.empty());
    EXPECT_EQ(engine.count("URL(/rec/a.wav)"), 0);
}

TEST_F(StartupTest, SecondInstanceIgnoresItsCommandLine) {
    instanceGuard.running = true;
    EXPECT_FALSE(load("/rec/a.wav"));
    EXPECT_TRUE(engine.calls().empty());
}

// A second start that names a recording hands it, as a full path, to the
// running copy and shows nothing; when no copy takes it the message shows.
TEST_F(StartupTest, SecondInstanceHandsItsRecordingToTheRunningCopy) {
    struct TakingCopy : RunningCopy {
        bool handOver(const std::string& path, std::int32_t start) override {
            handed.emplace_back(path, start);
            return takes;
        }
        bool takes = true;
        std::vector<std::pair<std::string, std::int32_t>> handed;
    } copy;
    form().setRunningCopy(&copy);
    instanceGuard.running = true;
    EXPECT_FALSE(load("talks/a.wav/t=90"));
    EXPECT_TRUE(form().handedOver());
    EXPECT_TRUE(view.messages.empty());
    ASSERT_EQ(copy.handed.size(), 1u);
    EXPECT_TRUE(std::filesystem::path(copy.handed[0].first).is_absolute()) << copy.handed[0].first;
    EXPECT_EQ(std::filesystem::path(copy.handed[0].first).filename(), "a.wav");
    EXPECT_EQ(copy.handed[0].second, 90);
    EXPECT_TRUE(engine.calls().empty());

    copy.takes = false;
    EXPECT_FALSE(load("/rec/b.wav"));
    EXPECT_FALSE(form().handedOver());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text, "既に起動しています。");
    EXPECT_FALSE(load(""));
    EXPECT_EQ(copy.handed.size(), 2u);  // nothing to hand over without a recording
}

TEST_F(StartupTest, FailingEngineStepsAreSkippedAndTheStartGoesOn) {
    engine.failOperation("settings.rate", 5);
    engine.failOperation("settings.volume", 5);
    ASSERT_TRUE(load());
    EXPECT_EQ(view.speedItems.size(), 26u);
    EXPECT_DOUBLE_EQ(form().playRate(), 1.0);
    EXPECT_EQ(form().rewind_time(), 2);
    EXPECT_EQ(view.useKey, 1);
    EXPECT_EQ(form().volumeSlider().Value(), 2500);
    EXPECT_EQ(form().seekSlider().Max(), 32767);
    EXPECT_EQ(view.timeText, "00:00:00 / 00:00:00");
}

TEST_F(StartupTest, UnwritableProgramFolderStartsWithTheDefaults) {
    std::ofstream(folder.file("plain")) << "x";
    setProgramFolder(folder.fileText("plain") + "/program");
    ASSERT_TRUE(load());
    EXPECT_EQ(form().rewind_time(), 2);
    EXPECT_EQ(form().forward_time(), 2);
    EXPECT_EQ(form().autorev_time(), 1);
    EXPECT_EQ(form().volumeSlider().Value(), 2500);
    EXPECT_EQ(view.useKey, 1);
    form().Form_Unload();  // the failing saves end nothing
}

TEST_F(StartupTest, ShutDownClosesALoadedSettingsDialog) {
    ASSERT_TRUE(load());
    settingsDialog.loaded = true;
    form().Form_Unload();
    EXPECT_EQ(settingsDialog.unloads, 1);
}

TEST_F(StartupTest, ShutDownLeavesAnUnloadedSettingsDialogAlone) {
    ASSERT_TRUE(load());
    form().Form_Unload();
    EXPECT_EQ(settingsDialog.unloads, 0);
}

TEST_F(StartupTest, ShutDownNeitherStopsTheEngineNorSwitchesTheKeysOff) {
    loadWithFile(60);
    form().PlayFunc();
    hookCalls.clear();
    engine.clearCalls();
    form().Form_Unload();
    EXPECT_TRUE(engine.commands().empty());
    EXPECT_TRUE(hookCalls.empty());
    EXPECT_EQ(engine.state(), media::kPlaying);
}

TEST_F(StartupTest, StepLengthsAreNotWrittenAtShutDown) {
    ASSERT_TRUE(load());
    store("UserCfg.ini", "Config", "Rewind", "9");
    form().Form_Unload();
    EXPECT_EQ(stored("UserCfg.ini", "Config", "Rewind"), "9");
}

TEST_F(StartupTest, PlayWithoutAFileDoesNothing) {
    ASSERT_TRUE(load());
    engine.clearCalls();
    const int events = view.doEvents;
    form().PlayFunc();
    EXPECT_TRUE(engine.commands().empty());
    EXPECT_FALSE(view.timer2);
    EXPECT_EQ(view.doEvents, events);
}

TEST_F(StartupTest, MarksWithoutAFileDoNotFail) {
    ASSERT_TRUE(load());
    EXPECT_NO_THROW(form().setRepeatStartFunc());
    EXPECT_NO_THROW(form().setRepeatEndFunc());
    EXPECT_EQ(form().repeatStart(), 0);
    EXPECT_EQ(form().repeatEnd(), 0);
    EXPECT_EQ(view.x1, 0);
    EXPECT_EQ(view.x2, 7185);
    EXPECT_NO_THROW(form().KeyMessage(6));
    EXPECT_NO_THROW(form().KeyMessage(7));
}

TEST_F(StartupTest, FailedSaveOfAStepLengthLeavesItAndReportsTheFailure) {
    std::ofstream(folder.file("plain")) << "x";
    setProgramFolder(folder.fileText("plain") + "/program");
    ASSERT_TRUE(load());
    try {
        form().set_rewind_time(9);
        ADD_FAILURE() << "no error raised";
    } catch (const RaisedError& error) {
        EXPECT_EQ(error.number(), kObjectErrorBase + clsIniFile::kErrWriteFailed);
    }
    EXPECT_EQ(form().rewind_time(), 2);
}

TEST_F(StartupTest, PlacementIsRestoredAtStartAndSavedAtExit) {
    FakeWindowServices services;
    windowServices = &services;
    store("position.ini", "FormPosition", "Left", "300");
    store("position.ini", "FormPosition", "Top", "250");
    ASSERT_TRUE(load());
    EXPECT_EQ(services.placed, (std::vector<WindowHandle> {view.handle}));
    EXPECT_EQ(services.placement.normalPosition.left, 300);
    EXPECT_EQ(services.placement.normalPosition.top, 250);
    EXPECT_EQ(stored("position.ini", "FormPosition", "Minimized"), "0");
    EXPECT_EQ(stored("position.ini", "FormPosition", "Maximized"), "0");

    services.placement.normalPosition = {640, 360, 1120, 480};
    form().volumeSlider().setValue(1000);
    form().Form_Unload();
    EXPECT_EQ(stored("position.ini", "FormPosition", "Left"), "640");
    EXPECT_EQ(stored("position.ini", "FormPosition", "Top"), "360");
    EXPECT_EQ(stored("position.ini", "FormPosition", "Right"), "<missing>");
    EXPECT_EQ(stored("position.ini", "FormPosition", "Bottom"), "<missing>");
    EXPECT_EQ(stored("position.ini", "Volume", "value"), "1000");
}

TEST_F(StartupTest, FirstStartWritesThePlacementKeys) {
    FakeWindowServices services;
    windowServices = &services;
    ASSERT_TRUE(load());
    EXPECT_EQ(stored("position.ini", "FormPosition", "Minimized"), "0");
    EXPECT_EQ(stored("position.ini", "FormPosition", "Maximized"), "0");
    EXPECT_EQ(stored("position.ini", "FormPosition", "Left"), "100");
    EXPECT_EQ(stored("position.ini", "FormPosition", "Top"), "80");
}

TEST_F(StartupTest, RefusedInstanceHasRestoredItsPlacementButSavesNothing) {
    FakeWindowServices services;
    windowServices = &services;
    instanceGuard.running = true;
    EXPECT_FALSE(load());
    EXPECT_EQ(services.placed.size(), 1u);
    EXPECT_EQ(stored("position.ini", "Volume", "value"), "<missing>");
}

// --- command line -----------------------------------------------------------

TEST_F(StartupTest, BarePathOpensAndPlaysFromZero) {
    engine.setDurationFor("/rec/talk.wav", 60);
    ASSERT_TRUE(load("/rec/talk.wav"));
    EXPECT_EQ(engine.url(), "/rec/talk.wav");
    EXPECT_EQ(engine.state(), media::kPlaying);
    const auto commands = engine.commands();
    EXPECT_EQ(std::vector<std::string>(commands.end() - 2, commands.end()),
              (std::vector<std::string> {"controls.currentPosition(0)", "controls.play()"}));
    EXPECT_TRUE(view.timer2);
    EXPECT_EQ(view.fileText, "talk.wav");
}

TEST_F(StartupTest, RelativePathNamesAFileInTheFolderTheProgramWasStartedIn) {
    const auto started = folder.file("recordings");
    std::filesystem::create_directories(started);
    std::ofstream(started / "talk.wav") << "x";
    std::filesystem::current_path(started);
    ASSERT_TRUE(load("talk.wav/t=5"));
    EXPECT_EQ(engine.url(), (started / "talk.wav").string());
    EXPECT_EQ(engine.count("controls.currentPosition(5)"), 1);
    EXPECT_EQ(engine.state(), media::kPlaying);
    EXPECT_EQ(view.fileText, "talk.wav");
}

TEST_F(StartupTest, RelativePathMissingFromTheStartFolderIsPassedAsGiven) {
    const auto started = folder.file("elsewhere");
    std::filesystem::create_directories(started);
    std::filesystem::current_path(started);
    ASSERT_TRUE(load("talk.wav"));
    EXPECT_EQ(engine.url(), "talk.wav");
}

TEST_F(StartupTest, PathWithBlankAndStartSecond) {
    ASSERT_TRUE(load("/rec/talk.wav /t=90"));
    EXPECT_EQ(engine.url(), "/rec/talk.wav ");
    EXPECT_EQ(engine.count("controls.currentPosition(90)"), 1);
    EXPECT_EQ(engine.state(), media::kPlaying);
}

TEST_F(StartupTest, WrongOrMissingOptionOpensNothing) {
    for (const char* text : {"/rec/talk.wav /T=90", "/rec/talk.wav /t", "/rec/talk.wav /t=abc"}) {
        restart();
        ASSERT_TRUE(load(text));
        EXPECT_EQ(engine.count("URL(/rec/talk.wav )"), 0) << text;
        EXPECT_TRUE(view.messages.empty()) << text;
        EXPECT_EQ(view.fileText, "ファイルがありません") << text;
    }
}

TEST_F(StartupTest, OnlyTheOptionOpensAnEmptyPathAtThatSecond) {
    engine.setNameFor("", "stream");
    ASSERT_TRUE(load("/t=30"));
    EXPECT_EQ(engine.count("URL()"), 1);
    EXPECT_EQ(engine.count("controls.currentPosition(30)"), 1);
}

TEST_F(StartupTest, QuotedPathIsPassedWithItsQuotes) {
    ASSERT_TRUE(load("\"/rec/a b.wav\""));
    EXPECT_EQ(engine.url(), "\"/rec/a b.wav\"");
}

TEST_F(StartupTest, CommandLineFileThatFailsShowsTheErrorAndTheStartEnds) {
    engine.failLoad("/rec/missing.wav", RaisedError::object(4001, "", "").number());
    ASSERT_TRUE(load("/rec/missing.wav"));
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].text,
              "エラーが発生しました。\r\nErrCode = -2147217503\r\n/rec/missing.wav\r\nファイルが存在しません。");
    EXPECT_FALSE(view.timer2);
}

}  // namespace
}  // namespace lirabox::test
