// Our own private-profile files: every other byte kept, the file's own line
// ends and encoding, atomic replacement, permissions, links, special files
// and the size limit.
#include "support/PrivateProfile.h"

#include "support/AtomicFile.h"
#include "tests/support/FileHelpers.h"
#include "tests/support/PrivateProfileFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace lirabox {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using test::kHandWritten;
using test::PrivateProfileFile;
using test::readText;
using test::writeText;

TEST_F(PrivateProfileFile, WritingAHandWrittenFileKeepsEveryOtherLineByteForByte) {
    writeText(file, kHandWritten);
    ASSERT_TRUE(writePrivateProfileString("Config", "Rewind", "7", file));
    ASSERT_TRUE(writePrivateProfileString("ID00", "KeyDestroy", "1", file));
    ASSERT_TRUE(writePrivateProfileString("ID01", "ID", "1", file));

    std::string expected = kHandWritten;
    expected.replace(expected.find("5   \r\n"), 6, "7\r\n");
    expected.insert(expected.find("KeyCode=115\r\n") + 13, "KeyDestroy=1\r\n");
    expected += "[ID01]\r\nID=1\r\n";
    EXPECT_EQ(readText(file), expected);
    EXPECT_EQ(read("config", "rewind"), "7");
    EXPECT_EQ(read("ID00", "KeyDestroy"), "1");
}

// Only the file's own line end is ever added: a CR-only file stays CR-only.
TEST_F(PrivateProfileFile, CrOnlyFileIsReadAndWrittenWithItsOwnLineEnds) {
    writeText(file, "[Config]\rRewind=7\rForward=5\r");
    EXPECT_EQ(read("Config", "Rewind"), "7");
    EXPECT_EQ(read("config", "forward"), "5");
    ASSERT_TRUE(writePrivateProfileString("Config", "Autorev", "1", file));
    ASSERT_TRUE(writePrivateProfileString("Volume", "value", "2500", file));
    EXPECT_EQ(readText(file), "[Config]\rRewind=7\rForward=5\rAutorev=1\r[Volume]\rvalue=2500\r");
}

// A UTF-16 file with a byte order mark, as a Windows editor saves "Unicode",
// is read, and written back in UTF-16 with every other line kept.
TEST_F(PrivateProfileFile, Utf16FileIsReadAndWrittenInUtf16) {
    const auto utf16le = [](const std::string& ascii) {
        std::string out = "\xFF\xFE";
        for (char c : ascii) out += std::string {c, '\0'};
        return out;
    };
    writeText(file, utf16le("[Config]\r\nRewind=7\r\n; note\r\n"));
    EXPECT_EQ(read("Config", "Rewind"), "7");
    ASSERT_TRUE(writePrivateProfileString("Config", "Rewind", "8", file));
    ASSERT_TRUE(writePrivateProfileString("Config", "Forward", "\xE5\x86\x8D", file));  // U+518D
    std::string expected = utf16le("[Config]\r\nRewind=8\r\nForward=");
    expected += "\x8D\x51"s + utf16le("\r\n; note\r\n").substr(2);
    EXPECT_EQ(readText(file), expected);
    EXPECT_EQ(read("Config", "Forward"), "\xE5\x86\x8D");

    writeText(file, "\xFE\xFF"s + "\0[\0A\0]\0\n\0k\0=\xD8\x3D\xDE\x00\0\n"s);  // big endian, U+1F600
    EXPECT_EQ(read("A", "k"), "\xF0\x9F\x98\x80");
}

// Without a byte order mark UTF-16 is recognised by its zero bytes, written
// back in UTF-16 without a mark (never with UTF-8 lines), and an odd last byte
// stays where it was.
TEST_F(PrivateProfileFile, Utf16WithoutByteOrderMarkStaysUtf16WithItsOddLastByte) {
    const auto utf16 = [](const std::string& ascii, bool bigEndian) {
        std::string out;
        for (char c : ascii) out += bigEndian ? std::string {'\0', c} : std::string {c, '\0'};
        return out;
    };
    for (const bool bigEndian : {false, true}) {
        writeText(file, utf16("[Config]\r\nRewind=7\r\n", bigEndian) + "\x1A");
        EXPECT_EQ(read("Config", "Rewind"), "7");
        ASSERT_TRUE(writePrivateProfileString("Config", "Forward", "5", file));
        ASSERT_TRUE(writePrivateProfileString("Volume", "value", "2500", file));
        EXPECT_EQ(readText(file),
                  utf16("[Config]\r\nRewind=7\r\nForward=5\r\n[Volume]\r\nvalue=2500\r\n", bigEndian) + "\x1A")
            << "big endian: " << bigEndian;
        EXPECT_EQ(read("Volume", "value"), "2500");
    }
}

TEST_F(PrivateProfileFile, BinaryGarbageIsKeptAndDoesNotConfuseTheReader) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) & 0xFF);
    garbage += "\n";
    writeText(file, garbage);
    EXPECT_EQ(read("A", "k"), "default");
    ASSERT_TRUE(writePrivateProfileString("A", "k", "1", file));
    const std::string after = readText(file);
    EXPECT_EQ(after.substr(0, garbage.size()), garbage);
    EXPECT_EQ(read("A", "k"), "1");
}

TEST_F(PrivateProfileFile, VeryLongLineIsHandled) {
    const std::string longValue(4 * 1024 * 1024, 'x');
    ASSERT_TRUE(writePrivateProfileString("A", "long", longValue, file));
    ASSERT_TRUE(writePrivateProfileString("A", "short", "s", file));
    EXPECT_EQ(read("A", "long", "d", 32767), std::string(32766, 'x'));
    EXPECT_EQ(read("A", "short"), "s");
}

TEST_F(PrivateProfileFile, BatchedWriteGivesTheBytesOfSeparateWritesInOneReplacement) {
    const std::vector<ProfileEntry> entries {{"FormPosition", "Minimized", "0"},
                                             {"FormPosition", "Left", "120"},
                                             {"A", "bad\nkey", "1"},
                                             {"Volume", "value", "2500"},
                                             {"formposition", "Top", "80"}};
    const std::string separate = folder.fileText("separate.ini");
    writeText(file, kHandWritten);
    writeText(separate, kHandWritten);
    for (const ProfileEntry& entry : entries)
        writePrivateProfileString(entry.section, entry.key, entry.value, separate);
    int replacements = 0;
    atomic_file_testing::setStepHook([&](atomic_file_testing::Step step) {
        replacements += step == atomic_file_testing::Step::Rename;
        return true;
    });
    EXPECT_FALSE(writePrivateProfileStrings(entries, file));  // the bad key is left out
    atomic_file_testing::setStepHook({});
    EXPECT_EQ(replacements, 1);
    EXPECT_EQ(readText(file), readText(separate));
}

TEST_F(PrivateProfileFile, WriteKeepsPermissionsOfTheReplacedFile) {
    writeText(file, "[A]\nk=1\n");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    ASSERT_TRUE(writePrivateProfileString("A", "k", "2", file));
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST_F(PrivateProfileFile, WriteThroughASymbolicLinkReplacesItsTarget) {
    const fs::path target = folder.file("real.ini");
    writeText(target, "[A]\nk=1\n");
    fs::create_symlink(target, file);
    ASSERT_TRUE(writePrivateProfileString("A", "k", "2", file));
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(readText(target), "[A]\nk=2\n");
}

TEST_F(PrivateProfileFile, ReadOnlyFileIsReadButNotWritten) {
    writeText(file, "[A]\nk=1\n");
    const test::Immutable lock(file);
    const std::string target = lock.active() ? file : test::pathUnderPlainFile(folder.file("plain"));
    EXPECT_FALSE(writePrivateProfileString("A", "k", "2", target));
    EXPECT_FALSE(writePrivateProfileString("A", "new", "2", target));
    EXPECT_EQ(readText(file), "[A]\nk=1\n");
    if (lock.active()) {
        EXPECT_EQ(read("A", "k"), "1");
        EXPECT_EQ(test::listFolder(folder.path()), "config.ini");
    }
}

TEST_F(PrivateProfileFile, FileWithoutWritePermissionIsNotReplaced) {
    writeText(file, "[A]\nk=1\n");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    EXPECT_FALSE(writePrivateProfileString("A", "k", "2", file));
    EXPECT_EQ(readText(file), "[A]\nk=1\n");
    EXPECT_EQ(read("A", "k"), "1");
}

TEST_F(PrivateProfileFile, UnwritableFolderFailsAndLeavesNoTemporaryFile) {
    writeText(file, "[A]\nk=1\n");
    const test::Immutable lock(folder.path());
    const std::string target = lock.active() ? file : test::pathUnderPlainFile(folder.file("plain"));
    EXPECT_FALSE(writePrivateProfileString("A", "k", "2", target));
    EXPECT_EQ(readText(file), "[A]\nk=1\n");
    if (lock.active()) {
        EXPECT_EQ(test::listFolder(folder.path()), "config.ini");
    }
}

TEST_F(PrivateProfileFile, FolderOrFifoInPlaceOfTheFileNeverBlocksNorBreaks) {
    fs::create_directory(file);
    EXPECT_EQ(read("A", "k"), "default");
    EXPECT_FALSE(writePrivateProfileString("A", "k", "1", file));
    EXPECT_TRUE(fs::is_directory(file));

    const std::string fifo = folder.fileText("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(readPrivateProfileString("A", "k", "d", 1024, fifo), "d");
    EXPECT_FALSE(writePrivateProfileString("A", "k", "1", fifo));
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(PrivateProfileFile, FileAboveTheSizeLimitIsNeitherReadNorReplaced) {
    writeText(file, "[A]\nk=1\n");
    fs::resize_file(file, kMaxProfileFileSize + 1);
    EXPECT_EQ(read("A", "k"), "default");
    EXPECT_FALSE(writePrivateProfileString("A", "k", "2", file));
    EXPECT_EQ(fs::file_size(file), kMaxProfileFileSize + 1);
}

}  // namespace
}  // namespace lirabox
