#include "support/RaisedError.h"
#include "support/VbConvert.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace lirabox;

namespace {

std::int32_t errorNumberOf(auto&& call) {
    try {
        call();
    } catch (const RaisedError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2.0);
    EXPECT_EQ(roundHalfEven(3.5), 4.0);
    EXPECT_EQ(roundHalfEven(-2.5), -2.0);
    EXPECT_EQ(roundHalfEven(12.5), 12.0);
    EXPECT_EQ(roundHalfEven(13.5), 14.0);
    EXPECT_EQ(roundHalfEven(2.4999), 2.0);
    EXPECT_EQ(roundHalfEven(58.87), 59.0);
}

TEST(TextToInteger, AcceptsNumbersWithBlanksSignsAndFractions) {
    EXPECT_EQ(toInt16("7"), 7);
    EXPECT_EQ(toInt16("  -3 "), -3);
    EXPECT_EQ(toInt16("+4"), 4);
    EXPECT_EQ(toInt16("2.5"), 2);
    EXPECT_EQ(toInt16("3.5"), 4);
    EXPECT_EQ(toInt32("90"), 90);
    EXPECT_EQ(toInt32("1e3"), 1000);
    EXPECT_EQ(toInt32("007"), 7);
    EXPECT_EQ(toInt32(".5"), 0);
}

TEST(TextToInteger, NonNumbersAreTypeMismatches) {
    for (const char* text : {"", "   ", "abc", "7a", "1,5", "0x10", "inf", "nan", "-", ".", "1e", "--1"}) {
        EXPECT_EQ(errorNumberOf([&] { toInt32(text); }), kErrTypeMismatch) << '"' << text << '"';
    }
}

TEST(TextToInteger, OutOfRangeIsOverflow) {
    EXPECT_EQ(toInt16("32767"), 32767);
    EXPECT_EQ(toInt16("-32768"), -32768);
    EXPECT_EQ(errorNumberOf([] { toInt16("32768"); }), kErrOverflow);
    EXPECT_EQ(errorNumberOf([] { toInt16("-32769"); }), kErrOverflow);
    EXPECT_EQ(toInt16("32767.4"), 32767);
    EXPECT_EQ(errorNumberOf([] { toInt16("32767.5"); }), kErrOverflow);
    EXPECT_EQ(toInt32("2147483647"), 2147483647);
    EXPECT_EQ(errorNumberOf([] { toInt32("2147483648"); }), kErrOverflow);
    EXPECT_EQ(errorNumberOf([] { toInt32("1e400"); }), kErrOverflow);
    EXPECT_EQ(toInt32("1e-400"), 0);
}

TEST(NumberText, FifteenSignificantDigitsGiveTheSpeedListItems) {
    const char* expected[] = {"3",   "2.9", "2.8", "2.7", "2.6", "2.5", "2.4", "2.3", "2.2",
                              "2.1", "2",   "1.9", "1.8", "1.7", "1.6", "1.5", "1.4", "1.3",
                              "1.2", "1.1", "1",   "0.9", "0.8", "0.7", "0.6", "0.5"};
    for (int i = 0; i < 26; ++i) EXPECT_EQ(formatDouble15(3 - 0.1 * i), expected[i]) << i;
}

TEST(NumberText, DecimalMarkIsAPointWhateverTheLocale) {
    // A desktop in a language with a decimal comma must not change stored or shown numbers.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) std::setlocale(LC_NUMERIC, "C.UTF-8");
    EXPECT_EQ(formatDouble15(2.5), "2.5");
    EXPECT_EQ(toDouble("2.5"), 2.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
}
