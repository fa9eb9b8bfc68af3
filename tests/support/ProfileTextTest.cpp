#include "support/ProfileText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace lirabox {
namespace {

using namespace std::string_literals;

std::optional<std::string> none() { return std::nullopt; }

// --- finding values ---------------------------------------------------------

TEST(ProfileTextFind, SectionAndKeyNamesIgnoreCase) {
    const std::string text = "[Config]\nRewind=3\n";
    EXPECT_EQ(findProfileValue(text, "config", "REWIND"), "3");
    EXPECT_EQ(findProfileValue(text, "CONFIG", "rewind"), "3");
}

TEST(ProfileTextFind, BlanksAroundNamesAndValuesDoNotCount) {
    const std::string text = "  [ Config ]  \n\t Rewind \t=  3 5 \t\n";
    EXPECT_EQ(findProfileValue(text, "Config", "Rewind"), "3 5");
    EXPECT_EQ(findProfileValue(text, "  Config ", " Rewind\t"), "3 5");
}

TEST(ProfileTextFind, MatchingQuotesAreRemovedOnce) {
    const std::string text =
        "[q]\n"
        "double=\"a b \"\n"
        "single='x'\n"
        "mixed=\"x'\n"
        "lone=\"\n"
        "inner=\"a\"b\"\n"
        "twice=\"\"x\"\"\n"
        "spaced=  'y'  \n";
    EXPECT_EQ(findProfileValue(text, "q", "double"), "a b ");
    EXPECT_EQ(findProfileValue(text, "q", "single"), "x");
    EXPECT_EQ(findProfileValue(text, "q", "mixed"), "\"x'");
    EXPECT_EQ(findProfileValue(text, "q", "lone"), "\"");
    EXPECT_EQ(findProfileValue(text, "q", "inner"), "a\"b");
    EXPECT_EQ(findProfileValue(text, "q", "twice"), "\"x\"");
    EXPECT_EQ(findProfileValue(text, "q", "spaced"), "y");
}

TEST(ProfileTextFind, FirstSectionAndFirstKeyWin) {
    const std::string text = "[A]\nk=1\nk=2\nonlyInA=a\n[B]\nk=b\n[a]\nk=3\nonlyInSecond=x\n";
    EXPECT_EQ(findProfileValue(text, "A", "k"), "1");
    EXPECT_EQ(findProfileValue(text, "a", "onlyInA"), "a");
    EXPECT_EQ(findProfileValue(text, "A", "onlyInSecond"), none());
    EXPECT_EQ(findProfileValue(text, "B", "k"), "b");
}

TEST(ProfileTextFind, MissingSectionOrKeyIsNothingButAnEmptyValueIsFound) {
    const std::string text = "[A]\nempty=\nblank=   \n";
    EXPECT_EQ(findProfileValue(text, "A", "empty"), "");
    EXPECT_EQ(findProfileValue(text, "A", "blank"), "");
    EXPECT_EQ(findProfileValue(text, "A", "missing"), none());
    EXPECT_EQ(findProfileValue(text, "Z", "empty"), none());
    EXPECT_EQ(findProfileValue("", "A", "k"), none());
}

TEST(ProfileTextFind, CommentsHeaderlessEntriesAndBrokenHeadersAreNoEntries) {
    const std::string text =
        "k=before any section\n"
        "[A]\n"
        ";k=commented\n"
        "  ; also=commented\n"
        "just words\n"
        "[broken\n"
        "k=1\n";
    EXPECT_EQ(findProfileValue(text, "A", ";k"), none());
    EXPECT_EQ(findProfileValue(text, "A", "also"), none());
    EXPECT_EQ(findProfileValue(text, "A", "k"), "1");
    EXPECT_EQ(findProfileValue(text, "", "k"), none());
}

TEST(ProfileTextFind, ValueRunsFromTheFirstEqualsSign) {
    EXPECT_EQ(findProfileValue("[A]\nk = a=b ; not a comment\n", "A", "k"), "a=b ; not a comment");
}

TEST(ProfileTextFind, SectionNameEndsAtTheLastBracket) { EXPECT_EQ(findProfileValue("[a]b]\nk=1\n", "a]b", "k"), "1"); }

TEST(ProfileTextFind, ReadsCrLfLoneCrAndByteOrderMark) {
    const std::string text = "\xEF\xBB\xBF[A]\r\nk=1\r\nj=2\r\n[B]\r\nk=3";
    EXPECT_EQ(findProfileValue(text, "A", "k"), "1");
    EXPECT_EQ(findProfileValue(text, "A", "j"), "2");
    EXPECT_EQ(findProfileValue(text, "B", "k"), "3");
    EXPECT_EQ(findProfileValue("[A]\rk=1\n", "A", "k"), "1");
    // A file with CR-only line ends, as old Mac editors save it.
    const std::string mac = "[Config]\rRewind=7\rForward=9\r[Other]\rRewind=1";
    EXPECT_EQ(findProfileValue(mac, "Config", "Rewind"), "7");
    EXPECT_EQ(findProfileValue(mac, "Config", "Forward"), "9");
    EXPECT_EQ(findProfileValue(mac, "Other", "Rewind"), "1");
}

TEST(ProfileTextFind, NamesAndValuesEndAtNul) {
    const std::string text = "[A]\nk=ab\0cd\n"s;
    EXPECT_EQ(findProfileValue(text, "A\0junk"s, "k\0junk"s), "ab");
}

TEST(ProfileTextFind, Utf8NamesAndValues) {
    const std::string text = "[設定]\n名前=録音 1\n";
    EXPECT_EQ(findProfileValue(text, "設定", "名前"), "録音 1");
}

// --- what can be stored -----------------------------------------------------

TEST(ProfileTextStorable, RefusesWhatWouldNotReadBackAsOneEntry) {
    EXPECT_TRUE(isStorableProfileEntry("Config", "Rewind", "2"));
    EXPECT_TRUE(isStorableProfileEntry("Config", "Rewind", ""));
    EXPECT_TRUE(isStorableProfileEntry("Config", "Rewind", "a\0\nnot stored"s));
    EXPECT_FALSE(isStorableProfileEntry("   ", "Rewind", "2"));
    EXPECT_FALSE(isStorableProfileEntry("Config", " \t", "2"));
    EXPECT_FALSE(isStorableProfileEntry("Config", "Rewind", "2\n[Evil]\nx=1"));
    EXPECT_FALSE(isStorableProfileEntry("Config", "Rewind", "2\r"));
    EXPECT_FALSE(isStorableProfileEntry("Con\nfig", "Rewind", "2"));
    EXPECT_FALSE(isStorableProfileEntry("Config", "Re\nwind", "2"));
    EXPECT_FALSE(isStorableProfileEntry("Config", "a=b", "2"));
    EXPECT_FALSE(isStorableProfileEntry("Config", "[x]", "2"));
    EXPECT_FALSE(isStorableProfileEntry("Config", ";x", "2"));
}

// --- setting values ---------------------------------------------------------

TEST(ProfileTextSet, EmptyTextGetsSectionAndKey) {
    EXPECT_EQ(setProfileValue("", "Config", "Rewind", "2"), "[Config]\nRewind=2\n");
}

TEST(ProfileTextSet, ReplacesTheValueWhereItStandsKeepingWhatPrecedesIt) {
    const std::string text = "; top\n[config]\n  REWIND =  9  \nForward=2\n";
    EXPECT_EQ(setProfileValue(text, "Config", "Rewind", "5"), "; top\n[config]\n  REWIND =  5\nForward=2\n");
}

TEST(ProfileTextSet, ReplacingKeepsCrLfOfTheLine) {
    EXPECT_EQ(setProfileValue("[A]\r\nk=1\r\nj=2\r\n", "A", "k", "7"), "[A]\r\nk=7\r\nj=2\r\n");
}

TEST(ProfileTextSet, ReplacesOnlyTheFirstEntryOfTheFirstSection) {
    const std::string text = "[A]\nk=1\nk=2\n[A]\nk=3\n";
    EXPECT_EQ(setProfileValue(text, "a", "K", "x"), "[A]\nk=x\nk=2\n[A]\nk=3\n");
}

TEST(ProfileTextSet, NewKeyGoesAfterTheLastEntryOfItsSection) {
    const std::string text = "[A]\nk=1\n; about A\nj=2\n\n; about B\n[B]\nk=3\n";
    EXPECT_EQ(setProfileValue(text, "A", "new", "n"), "[A]\nk=1\n; about A\nj=2\nnew=n\n\n; about B\n[B]\nk=3\n");
}

TEST(ProfileTextSet, NewKeyInAnEmptySectionFollowsItsHeader) {
    EXPECT_EQ(setProfileValue("[A]\n\n[B]\n", "A", "k", "1"), "[A]\nk=1\n\n[B]\n");
}

TEST(ProfileTextSet, NewKeyAfterAnUnterminatedLastLine) {
    EXPECT_EQ(setProfileValue("[A]\r\nk=1", "A", "j", "2"), "[A]\r\nk=1\r\nj=2\r\n");
    EXPECT_EQ(setProfileValue("[A]", "A", "j", "2"), "[A]\nj=2\n");
}

TEST(ProfileTextSet, NewSectionIsAppendedWithTheTextsLineEnd) {
    EXPECT_EQ(setProfileValue("[A]\r\nk=1\r\n", "B", "j", "2"), "[A]\r\nk=1\r\n[B]\r\nj=2\r\n");
    EXPECT_EQ(setProfileValue("[A]\nk=1", "B", "j", "2"), "[A]\nk=1\n[B]\nj=2\n");
    EXPECT_EQ(setProfileValue("\xEF\xBB\xBF", "B", "j", "2"), "\xEF\xBB\xBF[B]\nj=2\n");
}

TEST(ProfileTextSet, WritesTrimmedNamesAndTheValueUpToNul) {
    EXPECT_EQ(setProfileValue("", "  Config ", "\tRewind ", "2\0junk"s), "[Config]\nRewind=2\n");
}

TEST(ProfileTextSet, ByteOrderMarkAndGarbageElsewhereStay) {
    const std::string garbage = "\xEF\xBB\xBF\x01\xFF\xFE\0\0zz\n[A]\nk=1\n"s;
    const std::string result = setProfileValue(garbage, "A", "k", "2");
    EXPECT_EQ(result, "\xEF\xBB\xBF\x01\xFF\xFE\0\0zz\n[A]\nk=2\n"s);
}

TEST(ProfileTextSet, WhatIsSetReadsBack) {
    std::string text = "[A]\nk=1\n";
    text = setProfileValue(text, "B", "x", " 'quoted' ");
    text = setProfileValue(text, "a", "new", "値");
    EXPECT_EQ(findProfileValue(text, "b", "X"), "quoted");
    EXPECT_EQ(findProfileValue(text, "A", "NEW"), "値");
    EXPECT_EQ(findProfileValue(text, "A", "k"), "1");
}

// --- cutting to the buffer size ----------------------------------------------

TEST(ProfileTextCut, KeepsBufferSizeMinusOneBytes) {
    const std::string exact(1023, 'x');
    EXPECT_EQ(cutToBufferSize(exact, 1024), exact);
    EXPECT_EQ(cutToBufferSize(exact + "y", 1024), exact);
    EXPECT_EQ(cutToBufferSize("abc", 2), "a");
}

TEST(ProfileTextCut, NoRoomGivesEmptyText) {
    EXPECT_EQ(cutToBufferSize("abc", 1), "");
    EXPECT_EQ(cutToBufferSize("abc", 0), "");
    EXPECT_EQ(cutToBufferSize("abc", -5), "");
    EXPECT_EQ(cutToBufferSize("abc", -32768), "");
}

TEST(ProfileTextCut, DoesNotLeaveHalfAUtf8Character) {
    const std::string text = "aあい";  // 1 + 3 + 3 bytes
    EXPECT_EQ(cutToBufferSize(text, 2), "a");
    EXPECT_EQ(cutToBufferSize(text, 3), "a");
    EXPECT_EQ(cutToBufferSize(text, 4), "a");
    EXPECT_EQ(cutToBufferSize(text, 5), "aあ");
    EXPECT_EQ(cutToBufferSize(text, 7), "aあ");
    EXPECT_EQ(cutToBufferSize(text, 8), "aあい");
    EXPECT_EQ(cutToBufferSize("a\xF0\x9F\x8E\xA7", 5), "a");  // a four-byte character
}

TEST(ProfileTextCut, InvalidBytesAreCutByBytes) {
    EXPECT_EQ(cutToBufferSize("ab\x80\x80\x80\x80\x80", 5), "ab\x80\x80");
    EXPECT_EQ(cutToBufferSize("\xFF\xFF\xFF", 3), "\xFF\xFF");
}

}  // namespace
}  // namespace lirabox
