#include "player/CommandLine.h"
#include "tests/common/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace lirabox::test {
namespace {

void expectFile(const std::optional<CommandLineFile>& file, const std::string& path, std::int32_t start) {
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->path, path);
    EXPECT_EQ(file->start, start);
}

TEST(ArgumentText, IsTheArgumentsJoinedBySingleSpaces) {
    const char* none[] = {"lirabox"};
    EXPECT_EQ(argumentText(1, none), "");
    const char* two[] = {"lirabox", "/rec/a b.wav", "/t=90"};
    EXPECT_EQ(argumentText(3, two), "/rec/a b.wav /t=90");
    const char* quoted[] = {"lirabox", "\"/rec/a.wav\"", " "};
    EXPECT_EQ(argumentText(3, quoted), "\"/rec/a.wav\"  ");
}

TEST(CommandLine, EmptyTextOpensNothing) { EXPECT_FALSE(parseCommandLine("").has_value()); }

TEST(CommandLine, BarePathPlaysFromZero) {
    expectFile(parseCommandLine("/rec/talk.wav"), "/rec/talk.wav", 0);
    expectFile(parseCommandLine("talk.wav"), "talk.wav", 0);
}

TEST(CommandLine, BlankBeforeTheOptionStaysWithThePath) {
    expectFile(parseCommandLine("/rec/talk.wav /t=90"), "/rec/talk.wav ", 90);
}

TEST(CommandLine, OptionDirectlyAfterThePath) {
    expectFile(parseCommandLine("/rec/talk.wav/t=90"), "/rec/talk.wav", 90);
}

TEST(CommandLine, OnlyTheOptionGivesAnEmptyPath) { expectFile(parseCommandLine("/t=30"), "", 30); }

TEST(CommandLine, KeyIsCaseSensitiveAndNotTrimmed) {
    EXPECT_FALSE(parseCommandLine("/rec/talk.wav /T=90").has_value());
    EXPECT_FALSE(parseCommandLine("/rec/talk.wav / t=90").has_value());
    EXPECT_FALSE(parseCommandLine("/rec/talk.wav /x=90").has_value());
}

TEST(CommandLine, OptionWithoutANumberOpensNothing) {
    EXPECT_FALSE(parseCommandLine("/rec/talk.wav /t").has_value());
    EXPECT_FALSE(parseCommandLine("/rec/talk.wav /t=").has_value());
    EXPECT_FALSE(parseCommandLine("/rec/talk.wav /t=abc").has_value());
    EXPECT_FALSE(parseCommandLine("/rec/talk.wav /t=99999999999").has_value());
}

TEST(CommandLine, StartSecondIsRoundedHalvesToEven) {
    expectFile(parseCommandLine("a.wav/t=2.5"), "a.wav", 2);
    expectFile(parseCommandLine("a.wav/t=3.5"), "a.wav", 4);
    expectFile(parseCommandLine("a.wav/t=-1"), "a.wav", -1);
}

TEST(CommandLine, PartsAfterTheNumberAreIgnored) { expectFile(parseCommandLine("a.wav/t=90=5"), "a.wav", 90); }

TEST(CommandLine, QuotesArePassedOn) {
    expectFile(parseCommandLine("\"/rec/a b.wav\""), "\"/rec/a b.wav\"", 0);
    expectFile(parseCommandLine("\"/rec/a b.wav\" /t=5"), "\"/rec/a b.wav\" ", 5);
}

TEST(CommandLine, ExistingFileIsThePathEvenWhenItLooksLikeAnOption) {
    TempFolder folder;
    for (const char* name : {"t", "t=5", "x=1.wav"}) {
        const auto path = folder.fileText(name);
        std::ofstream(path) << "x";
        expectFile(parseCommandLine(path), path, 0);
    }
}

TEST(CommandLine, FolderIsNotAFile) {
    TempFolder folder;
    std::filesystem::create_directory(folder.file("t=7"));
    expectFile(parseCommandLine(folder.fileText("t=7")), folder.path().string(), 7);
}

TEST(CommandLine, RelativePathFoundInTheStartFolderBecomesAFullPath) {
    TempFolder folder;
    std::filesystem::create_directory(folder.file("sub"));
    std::ofstream(folder.file("sub/talk.wav")) << "x";
    std::ofstream(folder.file("t=5")) << "x";
    expectFile(parseCommandLine("sub/talk.wav", folder.path()), folder.fileText("sub/talk.wav"), 0);
    expectFile(parseCommandLine("sub/talk.wav/t=90", folder.path()), folder.fileText("sub/talk.wav"), 90);
    expectFile(parseCommandLine("t=5", folder.path()), folder.fileText("t=5"), 0);
}

TEST(CommandLine, TrailingBlanksAndDotsAreDroppedOnlyWhenThePathAsGivenIsNoFile) {
    TempFolder folder;
    std::ofstream(folder.file("talk.wav")) << "x";
    expectFile(parseCommandLine("talk.wav /t=90", folder.path()), folder.fileText("talk.wav"), 90);
    expectFile(parseCommandLine("talk.wav. . /t=1", folder.path()), folder.fileText("talk.wav"), 1);
    expectFile(parseCommandLine("gone.wav /t=3", folder.path()), "gone.wav ", 3);
}

TEST(CommandLine, RelativePathNotInTheStartFolderIsKeptAsGiven) {
    TempFolder folder;
    expectFile(parseCommandLine("talk.wav /t=9", folder.path()), "talk.wav ", 9);
    expectFile(parseCommandLine("/t=30", folder.path()), "", 30);
    expectFile(parseCommandLine("\"a.wav\"", folder.path()), "\"a.wav\"", 0);
}

}  // namespace
}  // namespace lirabox::test
