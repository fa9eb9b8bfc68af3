// What both private-profile backends must agree on: our own files (Linux)
// and the system's calls (Windows) run this same file.
#include "support/PrivateProfile.h"

#include "FileHelpers.h"
#include "PrivateProfileFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

namespace lirabox {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::kHandWritten;
using test::PrivateProfileFile;
using test::readText;
using test::writeText;

TEST_F(PrivateProfileFile, HandWrittenFileReadsAsWritten) {
    writeText(file, kHandWritten);
    EXPECT_EQ(read("Config", "Rewind"), "5");
    EXPECT_EQ(read("CONFIG", "Forward"), "3");
    EXPECT_EQ(read("config", "Autorev"), " 1 ");
    EXPECT_EQ(read("Config", "colour"), "blue ; not a comment");
    EXPECT_EQ(read("unknown section", "WHATEVER"), "kept");
    EXPECT_EQ(read("ID00", "ID"), "0");
    EXPECT_EQ(read("ID00", "KeyDestroy"), "default");
    EXPECT_EQ(read("ID01", "ID"), "default");
}

TEST_F(PrivateProfileFile, MissingFileGivesTheDefaultCutLikeAValue) {
    EXPECT_EQ(read("Config", "Rewind", "2"), "2");
    EXPECT_EQ(read("Config", "Rewind", "12345", 3), "12");
    EXPECT_EQ(read("Config", "Rewind", "ab\0cd"s), "ab");
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(PrivateProfileFile, DefaultLosesTrailingBlanksAndMatchingQuotes) {
    const std::pair<std::string, std::string> cases[] = {
        {"2   ", "2"}, {"\"quoted\"  ", "quoted"}, {"' 1 '", " 1 "}, {"  lead", "  lead"}, {"\"half", "\"half"}};
    for (const auto& [defaultValue, returned] : cases) EXPECT_EQ(read("Config", "Rewind", defaultValue), returned);
}

TEST_F(PrivateProfileFile, ValueIsCutToBufferSizeMinusOne) {
    const std::string value(1023, 'v');
    writeText(file, "[A]\nwhole=" + value + "\nlong=" + value + "w\n");
    EXPECT_EQ(read("A", "whole"), value);
    EXPECT_EQ(read("A", "long"), value);
    EXPECT_EQ(read("A", "whole", "d", 0), "");
    EXPECT_EQ(read("A", "whole", "d", -1), "");
}

TEST_F(PrivateProfileFile, WriteCreatesTheFileWithSectionAndKey) {
    // Our files end their lines in LF, the system's in CR LF.
    const auto lines = [&] {
        std::string text = readText(file);
        std::erase(text, '\r');
        return text;
    };
    ASSERT_TRUE(writePrivateProfileString("Config", "Rewind", "2", file));
    EXPECT_EQ(lines(), "[Config]\nRewind=2\n");
    ASSERT_TRUE(writePrivateProfileString("Config", "Forward", "3", file));
    ASSERT_TRUE(writePrivateProfileString("Volume", "value", "2500", file));
    EXPECT_EQ(lines(), "[Config]\nRewind=2\nForward=3\n[Volume]\nvalue=2500\n");
    EXPECT_EQ(test::listFolder(folder.path()), "config.ini");
}

TEST_F(PrivateProfileFile, EntryThatWouldNotReadBackIsRefusedAndNothingChanges) {
    writeText(file, "[A]\nk=1\n");
    EXPECT_FALSE(writePrivateProfileString("A", "k", "2\n[A]\nk=3", file));
    EXPECT_FALSE(writePrivateProfileString("A", "x=y", "2", file));
    EXPECT_FALSE(writePrivateProfileString("  ", "k", "2", file));
    EXPECT_EQ(readText(file), "[A]\nk=1\n");
}

TEST_F(PrivateProfileFile, WriteIntoAMissingFolderFailsAndCreatesNothing) {
    const fs::path missing = folder.file("missing");
    EXPECT_FALSE(writePrivateProfileString("A", "k", "1", (missing / "config.ini").string()));
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_EQ(read("A", "k", "d"), "d");
}

TEST_F(PrivateProfileFile, WriteUnderAPlainFileFails) {
    const std::string impossible = test::pathUnderPlainFile(folder.file("plain"));
    EXPECT_FALSE(writePrivateProfileString("A", "k", "1", impossible));
    EXPECT_EQ(readPrivateProfileString("A", "k", "d", 1024, impossible), "d");
    EXPECT_EQ(readText(folder.file("plain")), "a plain file\n");
}

TEST_F(PrivateProfileFile, EmptyFileNameFailsQuietly) {
    EXPECT_EQ(readPrivateProfileString("A", "k", "d", 1024, ""), "d");
    EXPECT_FALSE(writePrivateProfileString("A", "k", "1", ""));
}

}  // namespace
}  // namespace lirabox
