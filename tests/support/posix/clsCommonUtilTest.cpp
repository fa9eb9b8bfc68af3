#include "support/clsCommonUtil.h"

#include "support/DetachedProcess.h"
#include "support/RaisedError.h"
#include "tests/common/Polling.h"
#include "tests/common/TempFolder.h"
#include "tests/support/FileHelpers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lirabox {
namespace {

namespace fs = std::filesystem;
using test::readText;
using test::writeText;

// Records what clsCommonUtil asks of the desktop.
class RecordingDesktop : public DesktopServices {
public:
    void setWindowAbove(std::uintptr_t window, bool above) override {
        calls.push_back("above(" + std::to_string(window) + "," + (above ? "true" : "false") + ")");
    }
    std::int32_t open(const std::string& file, const std::string& parameters, std::int32_t showMode,
                      std::function<void()>) override {
        calls.push_back("open(" + file + "|" + parameters + "|" + std::to_string(showMode) + ")");
        return openResult;
    }
    std::string hostName() override { return "recorded-host"; }

    std::vector<std::string> calls;
    std::int32_t openResult = 42;
};

// --- file-name helpers ----------------------------------------------------------

TEST(CommonUtilNames, ExtractFileNameTakesWhatFollowsTheLastSlash) {
    const clsCommonUtil util(std::make_shared<RecordingDesktop>());
    EXPECT_EQ(util.ExtractFileName("/voice/a.wav"), "a.wav");
    EXPECT_EQ(util.ExtractFileName("a.wav"), "a.wav");
    EXPECT_EQ(util.ExtractFileName("/voice/"), "");
    EXPECT_EQ(util.ExtractFileName("C:\\voice\\a.wav"), "C:\\voice\\a.wav");
    EXPECT_EQ(util.ExtractFileName(""), "");
    EXPECT_EQ(util.ExtractFileName("/"), "");
    EXPECT_EQ(util.ExtractFileName("/録音/会議 1.mp3"), "会議 1.mp3");
}

TEST(CommonUtilNames, ExtractFileNameOverflowsBeyond32767Characters) {
    const clsCommonUtil util(std::make_shared<RecordingDesktop>());
    EXPECT_EQ(util.ExtractFileName(std::string(32765, 'a') + "/b"), "b");
    std::string japanese;
    for (int i = 0; i < 32767; ++i) japanese += "あ";
    EXPECT_EQ(util.ExtractFileName(japanese), japanese);
    for (const std::string& tooLong : {std::string(32767, 'a') + "/", japanese + "a"}) {
        try {
            util.ExtractFileName(tooLong);
            ADD_FAILURE() << "no overflow for " << tooLong.size() << " bytes";
        } catch (const RaisedError& error) {
            EXPECT_EQ(error.number(), kErrOverflow);
        }
    }
    std::string astral;  // characters outside the basic plane count twice
    for (int i = 0; i < 16384; ++i) astral += "\xF0\x9F\x8E\xA7";
    EXPECT_THROW(util.ExtractFileName(astral), RaisedError);
}

TEST(CommonUtilNames, TrimDoubleQRemovesOneEnclosingPair) {
    const clsCommonUtil util(std::make_shared<RecordingDesktop>());
    EXPECT_EQ(util.TrimDoubleQ("\"/my voice/a.wav\""), "/my voice/a.wav");
    EXPECT_EQ(util.TrimDoubleQ("\"/voice/a.wav"), "\"/voice/a.wav");
    EXPECT_EQ(util.TrimDoubleQ("/voice/a.wav\""), "/voice/a.wav\"");
    EXPECT_EQ(util.TrimDoubleQ("\"/voice/a.wav\" "), "\"/voice/a.wav\" ");
    EXPECT_EQ(util.TrimDoubleQ(" \"/voice/a.wav\""), " \"/voice/a.wav\"");
    EXPECT_EQ(util.TrimDoubleQ("\"a\"b\""), "a\"b");
    EXPECT_EQ(util.TrimDoubleQ("\"\"\"\""), "\"\"");
    EXPECT_EQ(util.TrimDoubleQ("\"\""), "");
    EXPECT_EQ(util.TrimDoubleQ("\""), "\"");
    EXPECT_EQ(util.TrimDoubleQ(""), "");
}

// --- window and desktop services through a recording desktop ---------------------

TEST(CommonUtilDesktop, TopMostSetsTheStateAndStoresTheValue) {
    const auto desktop = std::make_shared<RecordingDesktop>();
    clsCommonUtil util(desktop);
    EXPECT_FALSE(util.TopMost());
    util.setObject(0x2a00007);
    util.setTopMost(true);
    EXPECT_TRUE(util.TopMost());
    util.setTopMost(false);
    EXPECT_FALSE(util.TopMost());
    EXPECT_EQ(desktop->calls, (std::vector<std::string> {"above(44040199,true)", "above(44040199,false)"}));
}

TEST(CommonUtilDesktop, TopMostWithoutObjectGoesToWindowZero) {
    const auto desktop = std::make_shared<RecordingDesktop>();
    clsCommonUtil util(desktop);
    util.setTopMost(true);
    EXPECT_TRUE(util.TopMost());
    EXPECT_EQ(desktop->calls, (std::vector<std::string> {"above(0,true)"}));
}

TEST(CommonUtilDesktop, ASyncExecuteWithoutObjectRaises1000AndStartsNothing) {
    const auto desktop = std::make_shared<RecordingDesktop>();
    clsCommonUtil util(desktop);
    try {
        util.ASyncExecute("/usr/bin/true", "", 1);
        FAIL() << "no error raised";
    } catch (const RaisedError& error) {
        EXPECT_EQ(static_cast<std::uint32_t>(error.number()), 0x800403E8u);
        EXPECT_EQ(error.source(), "CommonUtil - Class");
        EXPECT_EQ(error.description(), "オブジェクトが設定されていません。\r\nObjectプロパティを使用してください");
    }
    EXPECT_TRUE(desktop->calls.empty());
}

TEST(CommonUtilDesktop, ASyncExecuteHandsEverythingOnAndReturnsTheResultUnchanged) {
    const auto desktop = std::make_shared<RecordingDesktop>();
    clsCommonUtil util(desktop);
    util.setObject(0);
    desktop->openResult = 2;
    EXPECT_EQ(util.ASyncExecute("/help/Lirabox_help.chm", "a \"b c\"", 1), 2);
    EXPECT_EQ(desktop->calls, (std::vector<std::string> {"open(/help/Lirabox_help.chm|a \"b c\"|1)"}));
}

TEST(CommonUtilDesktop, ComputerNameComesFromTheDesktop) {
    const clsCommonUtil util(std::make_shared<RecordingDesktop>());
    EXPECT_EQ(util.ComputerName(), "recorded-host");
}

// --- the system's desktop services --------------------------------------------------

// Waits for a file a started program writes (the program runs on its own).
std::optional<std::string> awaitFile(const fs::path& path) {
    for (int i = 0; i < 2000; ++i) {
        if (fs::exists(path)) return readText(path);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

// A program that writes one line per argument to <folder>/<name>.out.
void writeProbe(const fs::path& path, bool executable = true) {
    writeText(path,
              "#!/bin/sh\n"
              "PATH=/usr/bin:/bin\n"
              "out=\"$0.out\"\n"
              "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$out.part\"\n"
              "mv \"$out.part\" \"$out\"\n");
    fs::permissions(path, executable ? fs::perms(0755) : fs::perms(0644));
}

class SystemDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* path = std::getenv("PATH")) savedPath = path;
        util.setObject(0);
    }
    void TearDown() override { ::setenv("PATH", savedPath.c_str(), 1); }
    void usePath(const fs::path& only) { ::setenv("PATH", only.c_str(), 1); }

    test::TempFolder folder;
    clsCommonUtil util;
    std::string savedPath;
};

TEST_F(SystemDesktop, ProgramGetsItsArgumentsWithoutAnyShell) {
    const fs::path probe = folder.file("probe");
    writeProbe(probe);
    const fs::path canary = folder.file("canary");
    const std::string commandLine = "plain \"two words\" $(touch " + canary.string() + ") ; touch " + canary.string() +
                                    " `touch " + canary.string() + "` '*' \"\"";
    EXPECT_GT(util.ASyncExecute(probe.string(), commandLine, 1), 32);
    const std::optional<std::string> received = awaitFile(probe.string() + ".out");
    ASSERT_TRUE(received.has_value());
    EXPECT_EQ(*received,
              "plain\ntwo words\n$(touch\n" + canary.string() + ")\n;\ntouch\n" + canary.string() + "\n`touch\n" +
                  canary.string() + "`\n'*'\n\n");
    EXPECT_FALSE(fs::exists(canary));
}

TEST_F(SystemDesktop, StartedProgramIsNotLeftAsAChildOfOurs) {
    const fs::path probe = folder.file("probe");
    writeProbe(probe);
    EXPECT_GT(util.ASyncExecute(probe.string(), "x", 0), 32);
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
    ASSERT_TRUE(awaitFile(probe.string() + ".out").has_value());
}

TEST_F(SystemDesktop, ProgramIsFoundOnThePathByItsBareName) {
    writeProbe(folder.file("lirabox-probe"));
    usePath(folder.path());
    EXPECT_GT(util.ASyncExecute("lirabox-probe", "found", 1), 32);
    EXPECT_EQ(awaitFile(folder.file("lirabox-probe.out")), "found\n");
}

TEST_F(SystemDesktop, MissingFileOrFolderGivesAFailureCodeWithoutError) {
    EXPECT_EQ(util.ASyncExecute(folder.fileText("missing.chm"), "", 1), kOpenFileNotFound);
    EXPECT_EQ(util.ASyncExecute((folder.file("no folder") / "x.chm").string(), "", 1), kOpenPathNotFound);
    EXPECT_LE(util.ASyncExecute("", "", 1), 32);
    usePath(folder.path());
    EXPECT_EQ(util.ASyncExecute("no-such-program-anywhere", "", 1), kOpenFileNotFound);
}

TEST_F(SystemDesktop, ExecutableBitOnADocumentStillOpensTheDocument) {
    const fs::path document = folder.file("Lirabox_help.chm");
    writeText(document, std::string("ITSF\x03\0\0\0 help", 13));
    fs::permissions(document, fs::perms(0755));
    usePath(folder.file("empty"));
    EXPECT_EQ(util.ASyncExecute(document.string(), "", 1), kOpenNoAssociation);

    const fs::path bin = folder.file("bin");
    fs::create_directory(bin);
    writeProbe(bin / "xdg-open");
    usePath(bin);
    EXPECT_GT(util.ASyncExecute(document.string(), "", 1), 32);
    EXPECT_EQ(awaitFile(bin / "xdg-open.out"), document.string() + "\n");
}

TEST_F(SystemDesktop, DocumentGoesToTheDesktopOpenerAsOneArgument) {
    const fs::path bin = folder.file("bin");
    fs::create_directory(bin);
    writeProbe(bin / "xdg-open");
    usePath(bin);
    const fs::path document = folder.file("help; $(rm -rf x) & 'notes'.chm");
    writeText(document, "help");
    EXPECT_GT(util.ASyncExecute(document.string(), "ignored parameters", 1), 32);
    EXPECT_EQ(awaitFile(bin / "xdg-open.out"), document.string() + "\n");
}

// xdg-open starts, finds no viewer and ends with 3 ("a required tool could
// not be found"): only then does the caller hear of it, once.
TEST_F(SystemDesktop, AnOpenerThatFindsNoViewerIsToldLaterAndOnlyWhenAsked) {
    const fs::path bin = folder.file("bin");
    fs::create_directory(bin);
    writeText(bin / "xdg-open", "#!/bin/sh\nexit 3\n");
    fs::permissions(bin / "xdg-open", fs::perms(0755));
    usePath(bin);
    const fs::path document = folder.file("guide.html");
    writeText(document, "help");
    std::atomic<int> failures = 0;
    EXPECT_GT(util.ASyncExecute(document.string(), "", 1, [&failures] { ++failures; }), 32);
    EXPECT_TRUE(test::waitUntil([&] { return failures > 0; }));

    int status = 99;
    std::atomic<bool> ended = false;
    ASSERT_EQ(startWatched("/bin/sh",
                           {"/bin/sh", "-c", "exit 0"},
                           [&](int exitStatus) {
                               status = exitStatus;
                               ended = true;
                           }),
              0);
    ASSERT_TRUE(test::waitUntil([&] { return ended.load(); }));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(startWatched(folder.fileText("missing"), {"missing"}, [](int) { ADD_FAILURE(); }), ENOENT);
    EXPECT_EQ(failures, 1);
}

TEST_F(SystemDesktop, UrlGoesToTheDesktopOpener) {
    const fs::path bin = folder.file("bin");
    fs::create_directory(bin);
    writeProbe(bin / "xdg-open");
    usePath(bin);
    EXPECT_GT(util.ASyncExecute("https://example.invalid/help?a=1&b=2", "", 1), 32);
    EXPECT_EQ(awaitFile(bin / "xdg-open.out"), "https://example.invalid/help?a=1&b=2\n");
}

TEST_F(SystemDesktop, GioIsUsedWhenThereIsNoXdgOpen) {
    const fs::path bin = folder.file("bin");
    fs::create_directory(bin);
    writeProbe(bin / "gio");
    usePath(bin);
    const fs::path document = folder.file("a.txt");
    writeText(document, "text");
    EXPECT_GT(util.ASyncExecute(document.string(), "", 1), 32);
    EXPECT_EQ(awaitFile(bin / "gio.out"), "open\n" + document.string() + "\n");
}

TEST_F(SystemDesktop, DocumentWithoutAnyOpenerGivesNoAssociation) {
    usePath(folder.file("empty"));
    const fs::path document = folder.file("a.txt");
    writeText(document, "text");
    EXPECT_EQ(util.ASyncExecute(document.string(), "", 1), kOpenNoAssociation);
}

TEST_F(SystemDesktop, ComputerNameIsTheHostName) {
    std::string expected = readText("/proc/sys/kernel/hostname");
    while (!expected.empty() && expected.back() == '\n') expected.pop_back();
    EXPECT_FALSE(util.ComputerName().empty());
    EXPECT_EQ(util.ComputerName(), expected);
}

TEST_F(SystemDesktop, TopMostWithoutAnyDisplayDoesNothingButStore) {
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display != nullptr ? display : "";
    ::unsetenv("DISPLAY");
    util.setObject(12345);
    util.setTopMost(true);
    EXPECT_TRUE(util.TopMost());
    if (display != nullptr) ::setenv("DISPLAY", saved.c_str(), 1);
}

}  // namespace
}  // namespace lirabox
