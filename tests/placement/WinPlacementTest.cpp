// clsWinPlacement over imaginary window services and a real INI file.

#include "FakeWindowServices.h"
#include "support/RaisedError.h"
#include "support/clsIniFile.h"
#include "support/clsWinPlacement.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace lirabox {
namespace {

using test::FakeWindowServices;

const std::string kSection = "FormPosition";

std::int32_t objectError(std::int32_t code) { return kObjectErrorBase + code; }

class WinPlacementTest : public ::testing::Test {
protected:
    WinPlacementTest() {
        ini->setFilePath(folder.path().string());
        ini->setFileName("position.ini");
        ini->onUpdateAfter([this](std::string section, std::string key, std::string value, std::string) {
            written.push_back(section + "/" + key + "=" + value);
        });
    }

    // The way the main window sets the object up.
    void useProgramSettings() {
        placement.setTagetWnd(FakeWindowServices::kWindow);
        placement.setMaximized(false);
        placement.setMinimized(false);
        placement.setUseHeight(false);
        placement.setUseWidth(false);
        placement.setSectionName(kSection);
        placement.setIniFile(ini);
    }

    void store(const std::string& key, const std::string& value) {
        ini->WriteString(kSection, key, value);
        written.clear();
    }

    // Restores and returns the one placement applied.
    WindowPlacement restore(bool& error) {
        placement.Restore(error);
        EXPECT_EQ(services.applied.size(), 1u);
        return services.applied.empty() ? WindowPlacement {} : services.applied.back();
    }

    test::TempFolder folder;
    std::shared_ptr<clsIniFile> ini = std::make_shared<clsIniFile>();
    FakeWindowServices services;
    clsWinPlacement placement {services};
    std::vector<std::string> written;
};

void expectRect(const PixelRect& r, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

void expectRaised(std::int32_t number, const std::string& source, auto&& call) {
    try {
        call();
        ADD_FAILURE() << "nothing raised, expected " << number;
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.number(), number);
        EXPECT_EQ(e.source(), source);
        if (number >= kObjectErrorBase + 3001 && number <= kObjectErrorBase + 3004) {
            EXPECT_EQ(e.description(), "");
        }
    }
}

void expectRaisedNumber(std::int32_t number, auto&& call) {
    try {
        call();
        ADD_FAILURE() << "nothing raised, expected " << number;
    } catch (const RaisedError& e) {
        EXPECT_EQ(e.number(), number);
    }
}

// ---- properties and their errors -------------------------------------------

TEST_F(WinPlacementTest, FreshObjectHasAllSwitchesOnAndNothingSet) {
    EXPECT_TRUE(placement.Minimized());
    EXPECT_TRUE(placement.Maximized());
    EXPECT_TRUE(placement.SafePosition());
    EXPECT_TRUE(placement.UseWidth());
    EXPECT_TRUE(placement.UseHeight());
    expectRaised(
        static_cast<std::int32_t>(0x80040BB9u), "セクション名が設定されていません。", [&] { placement.SectionName(); });
    expectRaised(
        static_cast<std::int32_t>(0x80040BBAu), "IniFile クラスが設定されていません。", [&] { placement.IniFile(); });
    expectRaised(
        static_cast<std::int32_t>(0x80040BBBu), "TagetWndが設定されていません。", [&] { placement.TagetWnd(); });
}

TEST_F(WinPlacementTest, PropertiesKeepWhatIsSet) {
    placement.setSectionName("   ");  // spaces are a name here
    EXPECT_EQ(placement.SectionName(), "   ");
    placement.setTagetWnd(0);  // a zero handle is still a handle that was set
    EXPECT_EQ(placement.TagetWnd(), 0u);
    placement.setIniFile(ini);
    EXPECT_EQ(placement.IniFile(), ini);
    placement.setSafePosition(false);
    EXPECT_FALSE(placement.SafePosition());
}

TEST_F(WinPlacementTest, UnsetThingsAreReportedInTheOrderIniSectionWindow) {
    bool error = false;
    for (auto call : {+[](clsWinPlacement&p, bool&) { p.Save(); }, +[](clsWinPlacement&p, bool&e) { p.Restore(e); }}) {
        clsWinPlacement fresh {services};
        expectRaisedNumber(objectError(3002), [&] { call(fresh, error); });
        fresh.setIniFile(ini);
        expectRaisedNumber(objectError(3001), [&] { call(fresh, error); });
        fresh.setSectionName(kSection);
        expectRaisedNumber(objectError(3003), [&] { call(fresh, error); });
    }
    EXPECT_TRUE(services.calls.empty());
    EXPECT_FALSE(std::filesystem::exists(folder.file("position.ini")));
}

TEST_F(WinPlacementTest, IniErrorsPassThroughUnchanged) {
    useProgramSettings();
    auto nameless = std::make_shared<clsIniFile>();
    placement.setIniFile(nameless);
    bool error = false;
    expectRaised(objectError(clsIniFile::kErrNoFileName), "IniFile - Class", [&] { placement.Restore(error); });
    services.calls.clear();
    expectRaised(objectError(clsIniFile::kErrNoFileName), "IniFile - Class", [&] { placement.Save(); });
    EXPECT_TRUE(services.applied.empty());
}

TEST_F(WinPlacementTest, TheIniObjectIsSharedNotCopied) {
    useProgramSettings();
    test::TempFolder other;
    ini->setFilePath(other.path().string());  // after it was handed over
    placement.Save();
    EXPECT_TRUE(std::filesystem::exists(other.file("position.ini")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("position.ini")));
}

// ---- Restore -----------------------------------------------------------------

TEST_F(WinPlacementTest, StoredPlaceOnTheScreenIsAppliedAsItIs) {
    useProgramSettings();
    store("Left", "100");
    store("Top", "50");
    bool error = true;
    const WindowPlacement applied = restore(error);
    expectRect(applied.normalPosition, 100, 50, 400, 250);  // the window's 300 x 200 kept
    EXPECT_EQ(applied.showCmd, kShowNormal);
    EXPECT_EQ(applied.length, 44u);
    EXPECT_EQ(applied.flags, 0u);
    EXPECT_EQ(applied.minPosition.x, 0);
    EXPECT_EQ(applied.minPosition.y, 0);
    EXPECT_EQ(applied.maxPosition.x, 0);
    EXPECT_EQ(applied.maxPosition.y, 0);
    EXPECT_FALSE(error);
}

TEST_F(WinPlacementTest, BeyondTheRightEdgeIsPulledBackAndReported) {
    useProgramSettings();
    store("Left", "900");
    store("Top", "50");
    bool error = false;
    expectRect(restore(error).normalPosition, 724, 50, 1024, 250);
    EXPECT_TRUE(error);
}

TEST_F(WinPlacementTest, NegativeEdgesGoToTheOriginOrStayWithoutSafePosition) {
    useProgramSettings();
    store("Left", "-50");
    store("Top", "-20");
    bool error = false;
    expectRect(restore(error).normalPosition, 0, 0, 300, 200);
    EXPECT_TRUE(error);

    services.applied.clear();
    placement.setSafePosition(false);
    error = false;
    expectRect(restore(error).normalPosition, -50, -20, 250, 180);
    EXPECT_TRUE(error);
}

TEST_F(WinPlacementTest, WindowFlushWithTheFarScreenEdgesStaysAndIsNoError) {
    useProgramSettings();
    store("Left", "724");
    store("Top", "568");
    bool error = true;
    expectRect(restore(error).normalPosition, 724, 568, 1024, 768);
    EXPECT_FALSE(error);
}

TEST_F(WinPlacementTest, PrimaryScreenStandsInWhenTheDesktopSizeIsUnknown) {
    useProgramSettings();
    services.desktopClient = PixelRect {0, 0, 0, 0};
    store("Left", "900");
    store("Top", "700");
    bool error = true;
    expectRect(restore(error).normalPosition, 900, 700, 1200, 900);  // fits 1280 x 1024
    EXPECT_FALSE(error);
}

TEST_F(WinPlacementTest, ShowCommandFollowsStoredStateAndSwitches) {
    struct Case {
        const char* minimized;
        const char* maximized;
        bool minimizedSwitch;
        bool maximizedSwitch;
        std::int32_t showCmd;
    };
    const Case cases[] = {
        {"1", "0", true, true, kShowMinimized},
        {"1", "0", false, true, kShowNormal},
        {"1", "1", false, true, kShowMaximized},
        {"1", "1", true, true, kShowMinimized},
        {"0", "1", true, true, kShowMaximized},
        {"0", "1", true, false, kShowNormal},
        {"0", "0", true, true, kShowNormal},
        {"-1", "0", true, true, kShowMinimized},
    };
    useProgramSettings();
    for (const Case& c : cases) {
        store("Minimized", c.minimized);
        store("Maximized", c.maximized);
        placement.setMinimized(c.minimizedSwitch);
        placement.setMaximized(c.maximizedSwitch);
        services.applied.clear();
        bool error = false;
        EXPECT_EQ(restore(error).showCmd, c.showCmd)
            << c.minimized << c.maximized << c.minimizedSwitch << c.maximizedSwitch;
    }
}

TEST_F(WinPlacementTest, FirstRestoreStoresTheDefaultsInReadingOrder) {
    useProgramSettings();
    bool error = true;
    expectRect(restore(error).normalPosition, 200, 100, 500, 300);  // where it is now
    EXPECT_FALSE(error);
    EXPECT_EQ(
        written,
        (std::vector<std::string> {
            "FormPosition/Minimized=0", "FormPosition/Maximized=0", "FormPosition/Top=100", "FormPosition/Left=200"}));
}

TEST_F(WinPlacementTest, FirstRestoreWithWidthAndHeightStoresThemToo) {
    useProgramSettings();
    placement.setUseWidth(true);
    placement.setUseHeight(true);
    bool error = false;
    restore(error);
    EXPECT_EQ(written,
              (std::vector<std::string> {"FormPosition/Minimized=0",
                                         "FormPosition/Maximized=0",
                                         "FormPosition/Top=100",
                                         "FormPosition/Left=200",
                                         "FormPosition/Right=500",
                                         "FormPosition/Bottom=300"}));
}

TEST_F(WinPlacementTest, StoredRightAndBottomGiveTheSizeWhenEnabled) {
    useProgramSettings();
    placement.setUseWidth(true);
    placement.setUseHeight(true);
    store("Left", "10");
    store("Top", "20");
    store("Right", "610");
    store("Bottom", "420");
    bool error = true;
    expectRect(restore(error).normalPosition, 10, 20, 610, 420);
    EXPECT_FALSE(error);
}

TEST_F(WinPlacementTest, StoredRightAndBottomAreIgnoredWhenDisabled) {
    useProgramSettings();
    store("Left", "10");
    store("Top", "20");
    store("Right", "610");
    store("Bottom", "420");
    bool error = true;
    expectRect(restore(error).normalPosition, 10, 20, 310, 220);
}

TEST_F(WinPlacementTest, PositionListenersSeeTheEdgesAndMayChangeThem) {
    useProgramSettings();
    store("Left", "100");
    store("Top", "50");
    std::vector<std::int32_t> seen;
    placement.onPosition(
        [&](std::int32_t& top, std::int32_t& left, std::int32_t& bottom, std::int32_t& right, bool errorFlag) {
            seen = {top, left, bottom, right, errorFlag ? 1 : 0};
            left = 2000;  // far right of the screen: the checks see this
            right = 2300;
        });
    bool error = false;
    expectRect(restore(error).normalPosition, 724, 50, 1024, 250);
    EXPECT_TRUE(error);
    EXPECT_EQ(seen, (std::vector<std::int32_t> {50, 100, 250, 400, 0}));
}

TEST_F(WinPlacementTest, TextsThatAreNotNumbersStopRestoreBeforeAnythingIsApplied) {
    useProgramSettings();
    for (const std::string key : {"Minimized", "Maximized", "Top", "Left"}) {
        for (const std::string bad : {"abc", "", "12px"}) {
            test::TempFolder fresh;
            ini->setFilePath(fresh.path().string());
            store(key, bad);
            bool error = true;
            expectRaisedNumber(kErrTypeMismatch, [&] { placement.Restore(error); });
            EXPECT_TRUE(services.applied.empty()) << key << "=" << bad;
            EXPECT_TRUE(error) << "flag left alone";
        }
    }
}

TEST_F(WinPlacementTest, OutOfRangeNumbersRaiseOverflowBeforeAnythingIsApplied) {
    useProgramSettings();
    const std::pair<std::string, std::string> cases[] = {
        {"Minimized", "40000"}, {"Maximized", "-40000"}, {"Top", "2147483648"}, {"Left", "-3000000000"}};
    for (const auto& [key, value] : cases) {
        test::TempFolder fresh;
        ini->setFilePath(fresh.path().string());
        store(key, value);
        bool error = false;
        expectRaisedNumber(kErrOverflow, [&] { placement.Restore(error); });
        EXPECT_TRUE(services.applied.empty()) << key;
    }
}

TEST_F(WinPlacementTest, EdgeArithmeticBeyond32BitsRaisesOverflow) {
    useProgramSettings();
    store("Left", "2147483600");  // + the window's width of 300 does not fit
    store("Top", "0");
    bool error = false;
    expectRaisedNumber(kErrOverflow, [&] { placement.Restore(error); });
    EXPECT_TRUE(services.applied.empty());

    placement.setUseWidth(true);
    store("Left", "-2147483600");  // fits, but moving it back onto the screen does not
    store("Right", "2147483000");
    expectRaisedNumber(kErrOverflow, [&] { placement.Restore(error); });
    EXPECT_TRUE(services.applied.empty());
}

TEST_F(WinPlacementTest, UnwritableFileStillRestoresWithTheDefaults) {
    std::ofstream(folder.file("plain")) << "not a folder";
    ini->setFilePath(folder.fileText("plain"));
    useProgramSettings();
    bool error = true;
    expectRect(restore(error).normalPosition, 200, 100, 500, 300);
    EXPECT_FALSE(error);
    EXPECT_NO_THROW(placement.Save());  // write results are not looked at
}

// ---- Save --------------------------------------------------------------------

TEST_F(WinPlacementTest, SaveWritesStateAndNormalPositionInOrder) {
    useProgramSettings();
    services.iconic = true;
    placement.Save();
    EXPECT_EQ(
        written,
        (std::vector<std::string> {
            "FormPosition/Minimized=1", "FormPosition/Maximized=0", "FormPosition/Left=210", "FormPosition/Top=110"}));
}

TEST_F(WinPlacementTest, SaveWhileMaximizedKeepsTheRestoredPosition) {
    useProgramSettings();
    services.zoomed = true;
    services.windowRect = PixelRect {0, 0, 1024, 768};
    placement.Save();
    EXPECT_EQ(
        written,
        (std::vector<std::string> {
            "FormPosition/Minimized=0", "FormPosition/Maximized=1", "FormPosition/Left=210", "FormPosition/Top=110"}));
}

TEST_F(WinPlacementTest, SaveWritesRightAndBottomOnlyWhenEnabled) {
    useProgramSettings();
    placement.setUseWidth(true);
    placement.Save();
    EXPECT_EQ(written.back(), "FormPosition/Right=510");
    EXPECT_EQ(written.size(), 5u);

    written.clear();
    placement.setUseWidth(false);
    placement.setUseHeight(true);
    placement.Save();
    EXPECT_EQ(written.back(), "FormPosition/Bottom=310");
    EXPECT_EQ(written.size(), 5u);

    written.clear();
    placement.setUseWidth(true);
    placement.Save();
    EXPECT_EQ(written,
              (std::vector<std::string> {"FormPosition/Minimized=0",
                                         "FormPosition/Maximized=0",
                                         "FormPosition/Left=210",
                                         "FormPosition/Top=110",
                                         "FormPosition/Right=510",
                                         "FormPosition/Bottom=310"}));
}

TEST_F(WinPlacementTest, SaveFailsWithoutWritingWhenThePlacementIsUnavailable) {
    useProgramSettings();
    services.placementAvailable = false;
    expectRaised(static_cast<std::int32_t>(0x80040BBCu), "位置情報の取得に失敗しました", [&] { placement.Save(); });
    EXPECT_TRUE(written.empty());
    EXPECT_FALSE(std::filesystem::exists(folder.file("position.ini")));
}

TEST_F(WinPlacementTest, SavedPlacementRestoresToTheSamePlace) {
    useProgramSettings();
    placement.Save();
    bool error = true;
    expectRect(restore(error).normalPosition, 210, 110, 510, 310);
    EXPECT_FALSE(error);
}

}  // namespace
}  // namespace lirabox
