#include <gtest/gtest.h>

#include <sstream>

#include "graph/platform.h"

namespace graphmat {
namespace {

TEST(Random, SeedOneGivesTheClassicSequence) {
    srand15(1);
    EXPECT_EQ(rand15(), 41);
    EXPECT_EQ(rand15(), 18467);
    EXPECT_EQ(rand15(), 6334);
    EXPECT_EQ(randomDraws(), 3);
}

TEST(Random, SameSeedSameSequenceAndStateRoundTrips) {
    srand15(12345);
    std::uint32_t saved = randomState();
    int a = rand15(), b = rand15();
    setRandomState(saved);
    EXPECT_EQ(rand15(), a);
    EXPECT_EQ(rand15(), b);
    for (int i = 0; i < 1000; ++i) {
        int r = rand15();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, RAND15_MAX);
    }
}

TEST(ReadLine, DropsOneTrailingCarriageReturn) {
    std::istringstream in("a,b\r\nc\r\r\n\nlast");
    std::string line;
    ASSERT_TRUE(readLine(in, line));
    EXPECT_EQ(line, "a,b");
    ASSERT_TRUE(readLine(in, line));
    EXPECT_EQ(line, "c\r");
    ASSERT_TRUE(readLine(in, line));
    EXPECT_EQ(line, "");
    ASSERT_TRUE(readLine(in, line));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(readLine(in, line));
}

TEST(Clock, OverrideReplacesTheProcessorClock) {
    setClockOverride(1234.5);
    EXPECT_EQ(clockMs(), 1234.5);
    setClockOverride(-1);
    EXPECT_GE(clockMs(), 0.0);
}

TEST(Pause, ReturnsAtOnceWithoutATerminal) {
    // Standard input of a test run is not a terminal.
    pauseConsole();
    SUCCEED();
}

}  // namespace
}  // namespace graphmat
