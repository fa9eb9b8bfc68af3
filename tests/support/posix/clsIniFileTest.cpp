#include "support/clsIniFile.h"

#include "support/AppPaths.h"
#include "support/RaisedError.h"
#include "tests/common/TempFolder.h"
#include "tests/support/FileHelpers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

namespace lirabox {
namespace {

namespace fs = std::filesystem;
using test::readText;
using test::writeText;

const std::string kMarker = "$*Data Nothing!! IniFile Class";

// Runs `call` and hands back the error it raised, or nothing.
std::optional<RaisedError> errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const RaisedError& error) {
        return error;
    }
    return std::nullopt;
}

void expectError(const std::optional<RaisedError>& error, std::uint32_t number, const std::string& description) {
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(static_cast<std::uint32_t>(error->number()), number);
    EXPECT_EQ(error->source(), "IniFile - Class");
    EXPECT_EQ(error->description(), description);
}

// The program folder and the Windows directory point into a fresh folder.
class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* xdg = std::getenv("XDG_CONFIG_HOME");
        if (xdg != nullptr) savedXdg = xdg;
        fs::create_directories(windowsFolder);
        ::setenv("XDG_CONFIG_HOME", windowsFolder.c_str(), 1);
        fs::create_directories(programFolderPath);
        setProgramFolder(programFolderPath.string());
    }
    void TearDown() override {
        setProgramFolder("");
        if (savedXdg) {
            ::setenv("XDG_CONFIG_HOME", savedXdg->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
    }

    // A "UserCfg.ini" object in the program folder, as the player makes them.
    clsIniFile userIni() const {
        clsIniFile ini;
        ini.setFileName("UserCfg.ini");
        return ini;
    }
    fs::path userFile() const { return programFolderPath / "UserCfg.ini"; }

    test::TempFolder folder;
    const fs::path programFolderPath = folder.path() / "program";
    const fs::path windowsFolder = folder.path() / "xdg";
    std::optional<std::string> savedXdg;
};

// --- fields, path modes and file names ----------------------------------------

TEST_F(IniFileTest, FreshObjectHasTheInitialValues) {
    const clsIniFile ini;
    EXPECT_EQ(ini.bufferSize(), 1024);
    EXPECT_TRUE(ini.NothingWrite());
    EXPECT_EQ(ini.NothingChar(), kMarker);
    EXPECT_EQ(ini.FilePathMode(), 1);
    EXPECT_EQ(ini.FilePath(), "");
    EXPECT_EQ(ini.FileName(), "");
    EXPECT_EQ(ini.Section(), "");
    EXPECT_EQ(ini.Key(), "");
    EXPECT_EQ(ini.Default(), "");
}

TEST_F(IniFileTest, FileNameInModeOnePutsTheFileInTheProgramFolder) {
    clsIniFile ini;
    ini.setFileName("config.ini");
    EXPECT_EQ(ini.FileName(), "config.ini");
    EXPECT_EQ(ini.FilePath(), programFolderPath.string() + "/");
}

TEST_F(IniFileTest, FileNameWithAPathIsRefusedOutsideModeZeroAndNothingChanges) {
    clsIniFile ini;
    ini.setFileName("config.ini");
    setProgramFolder(folder.path().string());  // a later ResolvePath would show
    expectError(
        errorOf([&] { ini.setFileName("sub/config.ini"); }), 0x800407D4u, "ファイル名にパスを含むことはできません。");
    EXPECT_EQ(ini.FileName(), "config.ini");
    EXPECT_EQ(ini.FilePath(), programFolderPath.string() + "/");

    ini.setFilePathMode(2);
    expectError(
        errorOf([&] { ini.setFileName("/etc/passwd"); }), 0x800407D4u, "ファイル名にパスを含むことはできません。");
    ini.setFilePathMode(7);
    EXPECT_TRUE(errorOf([&] { ini.setFileName("a/b"); }).has_value());
}

TEST_F(IniFileTest, BackslashIsAnOrdinaryCharacterOfAFileName) {
    clsIniFile ini;
    ini.setFileName("odd\\name.ini");
    EXPECT_EQ(ini.FileName(), "odd\\name.ini");
    EXPECT_TRUE(ini.WriteString("A", "k", "1"));
    EXPECT_TRUE(fs::exists(programFolderPath / "odd\\name.ini"));
}

TEST_F(IniFileTest, ModeTwoMovesTheFileToTheWindowsDirectory) {
    clsIniFile ini = userIni();
    ini.setFilePathMode(2);
    EXPECT_EQ(ini.FilePath(), windowsFolder.string() + "/");
    EXPECT_TRUE(ini.WriteString("config", "AppName", "/opt/lirabox/lirabox"));
    EXPECT_EQ(readText(windowsFolder / "UserCfg.ini"), "[config]\nAppName=/opt/lirabox/lirabox\n");
    EXPECT_FALSE(fs::exists(userFile()));
}

// A bare file name goes where the platform's profile functions put one: the
// Windows directory, whatever the working folder.
TEST_F(IniFileTest, OtherModesEmptyThePathSoTheBareNameIsInTheWindowsDirectory) {
    clsIniFile ini = userIni();
    ini.setFilePathMode(5);
    EXPECT_EQ(ini.FilePathMode(), 5);
    EXPECT_EQ(ini.FilePath(), "");
    const fs::path before = fs::current_path();
    fs::current_path(folder.path());
    const bool written = ini.WriteString("Config", "Rewind", "2");
    EXPECT_EQ(ini.ReadString("Config", "Rewind", "9"), "2");
    fs::current_path(before);
    EXPECT_TRUE(written);
    EXPECT_FALSE(fs::exists(folder.file("UserCfg.ini")));
    EXPECT_EQ(readText(windowsFolder / "UserCfg.ini"), "[Config]\nRewind=2\n");
}

TEST_F(IniFileTest, FilePathGetsOneSeparatorAndSwitchesToModeZero) {
    clsIniFile ini;
    ini.setFilePath("/some/dir");
    EXPECT_EQ(ini.FilePathMode(), 0);
    EXPECT_EQ(ini.FilePath(), "/some/dir/");
    ini.setFilePath("/other/");
    EXPECT_EQ(ini.FilePath(), "/other/");
    ini.setFilePath("");
    EXPECT_EQ(ini.FilePath(), "");
}

TEST_F(IniFileTest, ModeZeroKeepsTheExplicitPathAndAcceptsAnyName) {
    clsIniFile ini;
    ini.setFilePath(folder.path().string());
    ini.setFileName("sub/name.ini");
    EXPECT_EQ(ini.FileName(), "sub/name.ini");
    EXPECT_EQ(ini.FilePath(), folder.path().string() + "/");
    ini.setFilePathMode(0);
    EXPECT_EQ(ini.FilePath(), folder.path().string() + "/");
    fs::create_directory(folder.file("sub"));
    EXPECT_TRUE(ini.WriteString("A", "k", "1"));
    EXPECT_EQ(readText(folder.file("sub") / "name.ini"), "[A]\nk=1\n");
}

TEST_F(IniFileTest, RootAsProgramFolderGetsNoSecondSeparator) {
    setProgramFolder("/");
    clsIniFile ini;
    ini.setFileName("config.ini");
    EXPECT_EQ(ini.FilePath(), "/");
}

// --- checks -------------------------------------------------------------------

TEST_F(IniFileTest, BlankFileNameRaises2001BeforeAnythingHappens) {
    clsIniFile ini;
    ini.setFilePath(folder.path().string());
    ini.setFileName("   ");
    int notified = 0;
    ini.onUpdateBefore([&](std::string&, std::string&, std::string&, std::string&) { ++notified; });
    const std::string noName = "ファイル名が指定されていません。";
    expectError(errorOf([&] { ini.ReadString("Config", "Rewind", "2"); }), 0x800407D1u, noName);
    expectError(errorOf([&] { ini.WriteString("Config", "Rewind", "2"); }), 0x800407D1u, noName);
    expectError(errorOf([&] { ini.WriteString("   ", "", "2"); }), 0x800407D1u, noName);
    expectError(errorOf([&] { ini.Value(); }), 0x800407D1u, noName);
    EXPECT_EQ(notified, 0);
    EXPECT_EQ(test::listFolder(folder.path()), "program xdg");
}

TEST_F(IniFileTest, FreshObjectWithoutFileNameRaises2001) {
    clsIniFile ini;
    expectError(
        errorOf([&] { ini.ReadString("Config", "Rewind", "2"); }), 0x800407D1u, "ファイル名が指定されていません。");
}

TEST_F(IniFileTest, BlankSectionOrKeyRaises2002OnReadAndWrite) {
    clsIniFile ini = userIni();
    const std::string noName = "Section名またはKey名が指定されていません。";
    expectError(errorOf([&] { ini.ReadString("   ", "Rewind", "2"); }), 0x800407D2u, noName);
    expectError(errorOf([&] { ini.WriteString("   ", "Rewind", "2"); }), 0x800407D2u, noName);
    expectError(errorOf([&] { ini.ReadString("Config", "", "2"); }), 0x800407D2u, noName);
    expectError(errorOf([&] { ini.WriteString("Config", "  ", "2"); }), 0x800407D2u, noName);
    EXPECT_FALSE(fs::exists(userFile()));
}

// --- reading --------------------------------------------------------------------

TEST_F(IniFileTest, MissingKeyIsWrittenBackWithTheDefault) {
    clsIniFile ini = userIni();
    EXPECT_EQ(ini.ReadString("Config", "Rewind", "2"), "2");
    EXPECT_EQ(readText(userFile()), "[Config]\nRewind=2\n");
    EXPECT_EQ(ini.ReadString("Config", "Rewind", "9"), "2");
}

TEST_F(IniFileTest, MissingKeyWithoutNothingWriteLeavesTheFileAlone) {
    clsIniFile ini = userIni();
    ini.setNothingWrite(false);
    EXPECT_EQ(ini.ReadString("Config", "Rewind", "2"), "2");
    EXPECT_FALSE(fs::exists(userFile()));
    writeText(userFile(), "[Config]\r\nForward=3\r\n");
    EXPECT_EQ(ini.ReadString("Config", "Rewind", "2"), "2");
    EXPECT_EQ(readText(userFile()), "[Config]\r\nForward=3\r\n");
}

TEST_F(IniFileTest, StoredMarkerCountsAsMissingAndIsOverwritten) {
    writeText(userFile(), "[Config]\nRewind=" + kMarker + "\n");
    clsIniFile ini = userIni();
    EXPECT_EQ(ini.ReadString("Config", "Rewind", "2"), "2");
    EXPECT_EQ(readText(userFile()), "[Config]\nRewind=2\n");
}

TEST_F(IniFileTest, EmptyStoredValueIsReturnedAndNothingIsWritten) {
    writeText(userFile(), "[Config]\nRewind=\n");
    clsIniFile ini = userIni();
    int writes = 0;
    ini.onUpdateBefore([&](std::string&, std::string&, std::string&, std::string&) { ++writes; });
    EXPECT_EQ(ini.ReadString("Config", "Rewind", "2"), "");
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(readText(userFile()), "[Config]\nRewind=\n");
}

TEST_F(IniFileTest, ValueIsCutToBufferSizeMinusOneBytes) {
    const std::string value(1023, 'v');
    writeText(userFile(), "[A]\nwhole=" + value + "\nlonger=" + value + "w\n");
    clsIniFile ini = userIni();
    EXPECT_EQ(ini.ReadString("A", "whole", "d"), value);
    EXPECT_EQ(ini.ReadString("A", "longer", "d"), value);
    ini.setBufferSize(4);
    EXPECT_EQ(ini.ReadString("A", "whole", "d"), "vvv");
}

TEST_F(IniFileTest, ShortBufferStillTellsAMissingKey) {
    clsIniFile ini = userIni();
    ini.setBufferSize(8);
    EXPECT_EQ(ini.ReadString("Config", "Rewind", "a long default"), "a long default");
    EXPECT_EQ(readText(userFile()), "[Config]\nRewind=a long default\n");
    EXPECT_EQ(ini.ReadString("Config", "Rewind", "x"), "a long ");
}

TEST_F(IniFileTest, StoredValueThatOnlyBeginsWithTheMarkerIsKept) {
    const std::string stored = kMarker + " and more";
    writeText(userFile(), "[Config]\nRewind=" + stored + "\n");
    clsIniFile ini = userIni();
    ini.setBufferSize(static_cast<std::int16_t>(kMarker.size() + 1));
    EXPECT_EQ(ini.ReadString("Config", "Rewind", "2"), kMarker);
    EXPECT_EQ(readText(userFile()), "[Config]\nRewind=" + stored + "\n");
}

TEST_F(IniFileTest, ZeroOrNegativeBufferSizeGivesEmptyValues) {
    writeText(userFile(), "[Config]\nRewind=5\n");
    clsIniFile ini = userIni();
    std::string expected = "[Config]\nRewind=5\n";
    for (const std::int16_t size : {std::int16_t {0}, std::int16_t {-1}, std::int16_t {-32768}}) {
        SCOPED_TRACE(size);
        const std::string missingKey = "Forward" + std::to_string(size);
        ini.setBufferSize(size);
        EXPECT_EQ(ini.ReadString("Config", "Rewind", "2"), "");
        EXPECT_EQ(ini.ReadString("Config", missingKey, "3"), "3");
        expected += missingKey + "=3\n";
        ini.setNothingWrite(false);
        EXPECT_EQ(ini.ReadString("Config", "Missing", "3"), "");
        ini.setNothingWrite(true);
    }
    EXPECT_EQ(readText(userFile()), expected);
}

TEST_F(IniFileTest, ReadRemembersItsArgumentsAndValueReadsThemAgain) {
    clsIniFile ini = userIni();
    ini.ReadString("Config", "Rewind", "2");
    EXPECT_EQ(ini.Section(), "Config");
    EXPECT_EQ(ini.Key(), "Rewind");
    EXPECT_EQ(ini.Default(), "2");
    fs::remove(userFile());
    EXPECT_EQ(ini.Value(), "2");
    EXPECT_EQ(readText(userFile()), "[Config]\nRewind=2\n");
    writeText(userFile(), "[Config]\nRewind=4\n");
    EXPECT_EQ(ini.Value(), "4");
    EXPECT_EQ(ini.Default(), "2");
}

TEST_F(IniFileTest, FailedReadOrWriteLeavesTheRememberedFields) {
    clsIniFile ini = userIni();
    ini.ReadString("Config", "Rewind", "2");
    EXPECT_TRUE(errorOf([&] { ini.ReadString(" ", "Forward", "3"); }).has_value());
    EXPECT_TRUE(errorOf([&] { ini.WriteString("Config", "", "3"); }).has_value());
    EXPECT_EQ(ini.Section(), "Config");
    EXPECT_EQ(ini.Key(), "Rewind");
    EXPECT_EQ(ini.Default(), "2");
}

TEST_F(IniFileTest, ObjectsForTheSameFileSeeEachOthersWritesAtOnce) {
    clsIniFile first = userIni();
    clsIniFile second = userIni();
    EXPECT_EQ(first.ReadString("Config", "Rewind", "2"), "2");
    EXPECT_TRUE(second.WriteString("Config", "Rewind", "6"));
    EXPECT_EQ(first.ReadString("Config", "Rewind", "2"), "6");
}

TEST_F(IniFileTest, UnwritableFileStillReadsDefaultsWithoutAnyError) {
    writeText(userFile(), "[Config]\nRewind=5\n");
    const test::Immutable lock(userFile());
    clsIniFile ini = userIni();
    if (!lock.active()) {
        test::pathUnderPlainFile(programFolderPath / "plain");
        ini.setFilePath((programFolderPath / "plain").string());
    }
    EXPECT_EQ(ini.ReadString("Config", "Forward", "3"), "3");
    if (lock.active()) {
        EXPECT_EQ(ini.ReadString("Config", "Rewind", "2"), "5");
    }
    EXPECT_EQ(readText(userFile()), "[Config]\nRewind=5\n");
}

// --- writing ------------------------------------------------------------------

TEST_F(IniFileTest, WriteRemembersSectionAndKeyAndClearsTheDefault) {
    clsIniFile ini = userIni();
    ini.ReadString("Config", "Rewind", "2");
    EXPECT_TRUE(ini.WriteString("Config", "Forward", "3"));
    EXPECT_EQ(ini.Section(), "Config");
    EXPECT_EQ(ini.Key(), "Forward");
    EXPECT_EQ(ini.Default(), "");
    EXPECT_EQ(readText(userFile()), "[Config]\nRewind=2\nForward=3\n");
}

TEST_F(IniFileTest, WriteToAReadOnlyFileReturnsFalseAndValueSetRaises2003) {
    writeText(userFile(), "[Config]\nRewind=5\n");
    const test::Immutable lock(userFile());
    clsIniFile ini = userIni();
    if (!lock.active()) {
        test::pathUnderPlainFile(programFolderPath / "plain");
        ini.setFilePath((programFolderPath / "plain").string());
    }
    bool written = true;
    EXPECT_FALSE(errorOf([&] { written = ini.WriteString("Config", "Rewind", "7"); }).has_value());
    EXPECT_FALSE(written);
    EXPECT_EQ(ini.Section(), "Config");
    EXPECT_EQ(ini.Key(), "Rewind");
    expectError(errorOf([&] { ini.setValue("8"); }), 0x800407D3u, "書き込みに失敗しました。 Config , Rewind");
    EXPECT_EQ(readText(userFile()), "[Config]\nRewind=5\n");
}

TEST_F(IniFileTest, ValueSetWritesTheRememberedKey) {
    clsIniFile ini = userIni();
    ini.WriteString("Config", "Rewind", "2");
    ini.setValue("4");
    EXPECT_EQ(readText(userFile()), "[Config]\nRewind=4\n");
    EXPECT_EQ(ini.Section(), "Config");
    EXPECT_EQ(ini.Key(), "Rewind");
}

TEST_F(IniFileTest, ValueSetWithoutRememberedNamesRaises2002) {
    clsIniFile ini = userIni();
    expectError(errorOf([&] { ini.setValue("4"); }), 0x800407D2u, "Section名またはKey名が指定されていません。");
}

// --- notifications ------------------------------------------------------------

TEST_F(IniFileTest, EveryWriteIsAnnouncedBeforeAndAfterWithTheFullFileName) {
    clsIniFile ini = userIni();
    std::vector<std::string> log;
    ini.onUpdateBefore([&](std::string& s, std::string& k, std::string& v, std::string& f) {
        log.push_back("before " + s + " " + k + " " + v + " " + f + " exists=" + std::to_string(fs::exists(f)));
    });
    ini.onUpdateAfter([&](std::string s, std::string k, std::string v, std::string f) {
        log.push_back("after " + s + " " + k + " " + v + " " + f + " exists=" + std::to_string(fs::exists(f)));
    });
    ini.ReadString("Config", "Rewind", "2");  // the write-back
    ini.ReadString("Config", "Rewind", "2");  // found: no write
    ini.WriteString("Config", "Forward", "3");
    const std::string file = userFile().string();
    EXPECT_EQ(log,
              (std::vector<std::string> {
                  "before Config Rewind 2 " + file + " exists=0",
                  "after Config Rewind 2 " + file + " exists=1",
                  "before Config Forward 3 " + file + " exists=1",
                  "after Config Forward 3 " + file + " exists=1",
              }));
}

TEST_F(IniFileTest, WhatUpdateBeforeLeavesIsWhatIsWrittenAndWhere) {
    clsIniFile ini = userIni();
    const std::string elsewhere = folder.fileText("elsewhere.ini");
    ini.onUpdateBefore([&](std::string& s, std::string& k, std::string& v, std::string& f) {
        s = "Changed";
        k = "Key2";
        v = "[" + v + "]";
        f = elsewhere;
    });
    std::vector<std::string> after;
    ini.onUpdateAfter([&](std::string s, std::string k, std::string v, std::string f) { after = {s, k, v, f}; });
    EXPECT_TRUE(ini.WriteString("Config", "Rewind", "2"));
    EXPECT_EQ(readText(elsewhere), "[Changed]\nKey2=[2]\n");
    EXPECT_FALSE(fs::exists(userFile()));
    EXPECT_EQ(after, (std::vector<std::string> {"Changed", "Key2", "[2]", elsewhere}));
    EXPECT_EQ(ini.Section(), "Config");
    EXPECT_EQ(ini.Key(), "Rewind");
}

TEST_F(IniFileTest, UpdateAfterIsRaisedWhenTheWriteFails) {
    clsIniFile ini;
    ini.setFilePath(folder.file("missing folder").string());
    ini.setFileName("config.ini");
    int afterCalls = 0;
    ini.onUpdateAfter([&](std::string, std::string, std::string, std::string) { ++afterCalls; });
    EXPECT_FALSE(ini.WriteString("Config", "Rewind", "2"));
    EXPECT_EQ(ini.ReadString("Config", "Rewind", "2"), "2");
    EXPECT_EQ(afterCalls, 2);
}

TEST_F(IniFileTest, ListenerMayAttachAnotherListenerWhileNotified) {
    clsIniFile ini = userIni();
    int late = 0;
    ini.onUpdateBefore([&](std::string&, std::string&, std::string&, std::string&) {
        ini.onUpdateBefore([&](std::string&, std::string&, std::string&, std::string&) { ++late; });
    });
    EXPECT_TRUE(ini.WriteString("Config", "Rewind", "2"));
    EXPECT_EQ(late, 0);
    EXPECT_TRUE(ini.WriteString("Config", "Rewind", "3"));
    EXPECT_EQ(late, 1);
}

}  // namespace
}  // namespace lirabox
