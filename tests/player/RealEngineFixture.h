#pragma once
// The main window's behaviour on the real libmpv engine (no sound device), with
// fake view, pictures and ports, its program folder and configuration folder
// in a fresh temporary folder.

#include "PlayerFakes.h"
#include "player/frmMain.h"
#include "player/media/mpv/MpvEngine.h"
#include "support/AppPaths.h"
#include "tests/common/Recordings.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace lirabox::test {

class RealEngineTest : public ::testing::Test {
protected:
    RealEngineTest() : mSavedCwd(std::filesystem::current_path()) {
        std::filesystem::create_directories(folder.file("program"));
        std::filesystem::create_directories(folder.file("config"));
        setProgramFolder(folder.fileText("program"));
        ::setenv("XDG_CONFIG_HOME", folder.fileText("config").c_str(), 1);
    }
    ~RealEngineTest() override {
        mForm.reset();
        std::filesystem::current_path(mSavedCwd);
        setProgramFolder("");
    }

    frmMain& form() {
        if (!mForm) {
            mForm = std::make_unique<frmMain>(frmMain::Collaborators {engine,
                                                                      view,
                                                                      pictures.seekbk,
                                                                      pictures.seekpoint,
                                                                      pictures.volbk,
                                                                      pictures.picArrow,
                                                                      nullptr,
                                                                      *timepostSink,
                                                                      instanceGuard,
                                                                      keytap,
                                                                      subclass,
                                                                      nullptr});
        }
        return *mForm;
    }

    std::string recording(const std::string& name, double seconds) {
        const auto path = folder.file(name);
        writeSineWav(path, seconds);
        return path.string();
    }

    // Runs the tick every 100 ms, as the window does, while it is on (at most
    // `limit`); returns the positions it published.
    std::vector<double> tickWhileOn(std::chrono::milliseconds limit = std::chrono::seconds(8)) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        const std::size_t first = timepost.times.size();
        while (view.timer2 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            form().Timer2_Timer();
        }
        return {timepost.times.begin() + static_cast<std::ptrdiff_t>(first), timepost.times.end()};
    }

    TempFolder folder;
    media::MpvEngine engine {{{"ao", "null"}}};  // no sound device here
    FakeView view;
    MainWindowPictures pictures;
    RecordingTimepost timepost;
    // Where form() publishes; a test may point it at another receiver before the first form().
    TimepostSink* timepostSink = &timepost;
    FixedInstanceGuard instanceGuard;
    NullKeytapApi keytap;
    NullMainWindowSubclass subclass;

private:
    std::filesystem::path mSavedCwd;
    std::unique_ptr<frmMain> mForm;
};

}  // namespace lirabox::test
