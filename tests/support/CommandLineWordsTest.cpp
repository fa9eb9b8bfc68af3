#include "support/CommandLineWords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lirabox {
namespace {

using Words = std::vector<std::string>;
using namespace std::string_literals;

TEST(CommandLineWords, BlanksSeparateWords) {
    EXPECT_EQ(splitCommandLine("a b"), (Words {"a", "b"}));
    EXPECT_EQ(splitCommandLine("  a \t  b  "), (Words {"a", "b"}));
    EXPECT_EQ(splitCommandLine(""), Words {});
    EXPECT_EQ(splitCommandLine("   "), Words {});
}

TEST(CommandLineWords, DoubleQuotesKeepBlanksAndAreDropped) {
    EXPECT_EQ(splitCommandLine("\"/my voice/a b.wav\" /t=5"), (Words {"/my voice/a b.wav", "/t=5"}));
    EXPECT_EQ(splitCommandLine("x\"y z\"w"), (Words {"xy zw"}));
    EXPECT_EQ(splitCommandLine("\"\" a"), (Words {"", "a"}));
    EXPECT_EQ(splitCommandLine("\"unterminated quote"), (Words {"unterminated quote"}));
}

TEST(CommandLineWords, ShellCharactersAreOrdinaryText) {
    EXPECT_EQ(splitCommandLine("$(touch x) `id` ; rm -rf ~ | cat > out & 'a b' \\\"c"),
              (Words {"$(touch", "x)", "`id`", ";", "rm", "-rf", "~", "|", "cat", ">", "out", "&", "'a", "b'", "\\c"}));
}

TEST(CommandLineWords, TextEndsAtNul) { EXPECT_EQ(splitCommandLine("a b\0c d"s), (Words {"a", "b"})); }

}  // namespace
}  // namespace lirabox
