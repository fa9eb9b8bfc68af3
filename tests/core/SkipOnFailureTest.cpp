#include "support/RaisedError.h"
#include "support/SkipOnFailure.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace lirabox;

TEST(SkipOnFailure, AFailingStepIsAbandonedAndTheNextOneRuns) {
    std::vector<std::string> trace;
    skipOnFailure([&] { trace.push_back("one"); },
                  [&] {
                      trace.push_back("two begins");
                      throw RaisedError(kErrTypeMismatch, "test", "bad");
                      trace.push_back("two ends");  // never reached
                  },
                  [&] { trace.push_back("three"); },
                  [&] { throw std::runtime_error("any exception"); },
                  [&] { trace.push_back("four"); });
    EXPECT_EQ(trace, (std::vector<std::string> {"one", "two begins", "three", "four"}));
}

TEST(SkipOnFailure, RunStepTellsWhetherTheStepCompleted) {
    EXPECT_TRUE(runStep([] {}));
    EXPECT_FALSE(runStep([] { throw 42; }));
}

TEST(RaisedError, ObjectErrorsAddTheBase) {
    const RaisedError e = RaisedError::object(2001, "IniFile - Class", "text");
    EXPECT_EQ(static_cast<std::uint32_t>(e.number()), 0x800407D1u);
    EXPECT_EQ(e.source(), "IniFile - Class");
    EXPECT_EQ(e.description(), "text");
}
