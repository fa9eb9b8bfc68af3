#pragma once
// A main window's behaviour on a fake engine and a fake view, with its program
// folder and "Windows directory" in a fresh temporary folder.

#include "PlayerFakes.h"
#include "player/frmMain.h"
#include "player/media/fake/FakeMediaEngine.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace lirabox::test {

class PlayerTest : public ::testing::Test {
protected:
    PlayerTest();
    ~PlayerTest() override;

    frmMain& form();
    // Form_Load with the given argument text; false when refused.
    bool load(const std::string& argumentText = "");
    // Forgets the window (without Form_Unload) and its view, like a new process.
    void restart();
    // A loaded window with a file of the given length, stopped at 0 s.
    void loadWithFile(double seconds, const std::string& path = "/rec/talk.wav");

    std::filesystem::path programFile(const std::string& name) const { return programDir / name; }
    // A value as stored in a file of the program folder; "<missing>" when absent.
    std::string stored(const std::string& file, const std::string& section, const std::string& key) const;
    void store(const std::string& file, const std::string& section, const std::string& key,
               const std::string& value) const;
    std::string fileText(const std::filesystem::path& path) const;
    std::vector<std::string> lastMessages() const;

    TempFolder folder;
    std::filesystem::path programDir;
    std::filesystem::path configHome;
    FakeMediaEngine engine;
    FakeView view;
    MainWindowPictures pictures;
    std::vector<std::string> hookCalls;
    RecordingKeytap keytap {hookCalls};
    RecordingSubclass subclass {hookCalls};
    FixedInstanceGuard instanceGuard;
    RecordingTimepost timepost;
    FakeSettingsDialog settingsDialog;
    WindowServices* windowServices = nullptr;

private:
    std::filesystem::path mSavedCwd;
    std::string mSavedConfigHome;
    bool mHadConfigHome = false;
    std::unique_ptr<frmMain> mForm;
};

}  // namespace lirabox::test
