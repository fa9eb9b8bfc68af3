#include "support/AtomicFile.h"

#include "tests/common/TempFolder.h"
#include "tests/support/FileHelpers.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace lirabox {
namespace {

using atomic_file_testing::Step;
using test::readText;
using test::writeText;

constexpr Step kAllSteps[] = {
    Step::CreateTemporary, Step::WriteFirstHalf, Step::WriteSecondHalf, Step::Flush, Step::Rename};

const char* nameOf(Step step) {
    switch (step) {
    case Step::CreateTemporary: return "CreateTemporary";
    case Step::WriteFirstHalf: return "WriteFirstHalf";
    case Step::WriteSecondHalf: return "WriteSecondHalf";
    case Step::Flush: return "Flush";
    case Step::Rename: return "Rename";
    }
    return "?";
}

const std::string kOld = "[A]\nk=old\nkeep=this\n";
const std::string kNew = "[A]\nk=a much longer new value than before\nkeep=this\n";

class AtomicFileReplace : public ::testing::Test {
protected:
    void SetUp() override { writeText(file, kOld); }
    void TearDown() override { atomic_file_testing::setStepHook({}); }

    bool replace() const {
        return updateFileAtomically(file, 1 << 20, [](std::string_view) { return kNew; });
    }

    test::TempFolder folder;
    const std::string file = folder.fileText("config.ini");
};

TEST_F(AtomicFileReplace, EditSeesTheCurrentContentAndEveryStepIsTaken) {
    std::string seen;
    std::string steps;
    atomic_file_testing::setStepHook([&](Step step) {
        steps += std::string(nameOf(step)) + " ";
        return true;
    });
    ASSERT_TRUE(updateFileAtomically(file, 1 << 20, [&](std::string_view text) {
        seen = text;
        return kNew;
    }));
    EXPECT_EQ(seen, kOld);
    EXPECT_EQ(steps, "CreateTemporary WriteFirstHalf WriteSecondHalf Flush Rename ");
    EXPECT_EQ(readText(file), kNew);
    EXPECT_EQ(test::listFolder(folder.path()), "config.ini");
}

TEST_F(AtomicFileReplace, FailureAtAnyStepKeepsTheOldFileAndCleansUp) {
    for (const Step failing : kAllSteps) {
        SCOPED_TRACE(nameOf(failing));
        writeText(file, kOld);
        atomic_file_testing::setStepHook([failing](Step step) { return step != failing; });
        EXPECT_FALSE(replace());
        EXPECT_EQ(readText(file), kOld);
        EXPECT_EQ(test::listFolder(folder.path()), "config.ini");
    }
}

// A child process is killed before each step of the replacement: the file keeps
// its old content, never a mixture; the finished replacement gives the new one.
TEST_F(AtomicFileReplace, CrashAtAnyStepLeavesTheOldOrTheNewFile) {
    for (const Step crashing : kAllSteps) {
        SCOPED_TRACE(nameOf(crashing));
        writeText(file, kOld);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            atomic_file_testing::setStepHook([crashing](Step step) {
                if (step == crashing) ::raise(SIGKILL);
                return true;
            });
            replace();
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), SIGKILL);
        EXPECT_EQ(readText(file), kOld);
        // A killed write leaves at most its own temporary file: the next one removes it.
        const std::string left = test::listFolder(folder.path());
        EXPECT_TRUE(left == "config.ini" || left == ".config.ini." + std::to_string(child) + ".tmp config.ini") << left;
    }
    EXPECT_TRUE(replace());
    EXPECT_EQ(readText(file), kNew);
    EXPECT_EQ(test::listFolder(folder.path()), "config.ini");
}

TEST_F(AtomicFileReplace, UnchangedContentIsNotWrittenAgain) {
    std::string steps;
    atomic_file_testing::setStepHook([&](Step step) {
        steps += std::string(nameOf(step)) + " ";
        return true;
    });
    EXPECT_TRUE(updateFileAtomically(file, 1 << 20, [](std::string_view text) { return std::string(text); }));
    EXPECT_EQ(steps, "");
    EXPECT_EQ(readText(file), kOld);
}

TEST_F(AtomicFileReplace, MissingFileIsCreatedFromEmptyContent) {
    const std::string fresh = folder.fileText("fresh.ini");
    std::string seen = "not called";
    ASSERT_TRUE(updateFileAtomically(fresh, 1 << 20, [&](std::string_view text) {
        seen = text;
        return "[A]\n";
    }));
    EXPECT_EQ(seen, "");
    EXPECT_EQ(readText(fresh), "[A]\n");
}

TEST(AtomicFileRead, ReadsWholeRegularFilesUpToTheLimit) {
    test::TempFolder folder;
    writeText(folder.file("a"), "12345");
    EXPECT_EQ(readSmallFile(folder.fileText("a"), 5), "12345");
    EXPECT_EQ(readSmallFile(folder.fileText("a"), 4), std::nullopt);
    EXPECT_EQ(readSmallFile(folder.fileText("missing"), 5), std::nullopt);
    EXPECT_EQ(readSmallFile(folder.path().string(), 5), std::nullopt);
}

}  // namespace
}  // namespace lirabox
