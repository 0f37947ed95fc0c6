#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <future>
#include <iostream>
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

// n draws at once leave the generator where n single draws do, and name the
// last of them that gave 0; runs with no 0, with a 0 first or last, and
// long runs with many.
TEST(Random, ManyDrawsAtOnceMatchSingleDraws) {
    struct Case {
        unsigned seed;
        long n;
    };
    long zerosSeen = 0;
    for (const Case& c : {Case{1, 0}, Case{1, 1}, Case{1, 2}, Case{7, 100}, Case{12345, 40000}, Case{5, 300000},
                          Case{4000000000u, 1000003}}) {
        srand15(c.seed);
        rand15();  // not from a fresh seed only
        const std::uint32_t start = randomState();
        long expected = -1;
        for (long k = 0; k < c.n; ++k)
            if (rand15() == 0) expected = k, ++zerosSeen;
        const std::uint32_t end = randomState();
        setRandomState(start);
        const long before = randomDraws();
        EXPECT_EQ(rand15LastZero(c.n), expected) << "seed " << c.seed << ", " << c.n << " draws";
        EXPECT_EQ(randomState(), end);
        EXPECT_EQ(randomDraws(), before + c.n);
    }
    EXPECT_GT(zerosSeen, 20);  // the long runs hold zeros, so positions are checked

    // A 0 as the last of the draws, and as the first (the only one of a few).
    srand15(3);
    const std::uint32_t state = randomState();
    long firstZero = 0;
    while (rand15() != 0) ++firstZero;
    setRandomState(state);
    EXPECT_EQ(rand15LastZero(firstZero + 1), firstZero);
    setRandomState(state);
    for (long k = 0; k < firstZero; ++k) rand15();
    const std::uint32_t beforeZero = randomState();
    EXPECT_EQ(rand15LastZero(3), 0);
    setRandomState(beforeZero);
    EXPECT_EQ(rand15(), 0);
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

// Standard input is made an open pipe that never delivers a line: a pause
// that waited for Enter would block on it. It must return at once, without
// a prompt. The bound only separates "returned" from "blocked"; the pipe is
// closed afterwards so that a blocked call ends too.
TEST(Pause, ReturnsAtOnceWhenStandardInputIsNotATerminal) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const int savedStdin = dup(STDIN_FILENO);
    ASSERT_GE(savedStdin, 0);
    ASSERT_GE(dup2(fds[0], STDIN_FILENO), 0);
    close(fds[0]);
    ASSERT_FALSE(isatty(STDIN_FILENO));

    std::ostringstream printed;
    std::streambuf* saved = std::cout.rdbuf(printed.rdbuf());
    auto done = std::async(std::launch::async, [] { pauseConsole(); });
    const bool returned = done.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    close(fds[1]);  // end of input: a blocked read returns
    done.wait();
    std::cout.rdbuf(saved);
    std::cin.clear();
    dup2(savedStdin, STDIN_FILENO);
    close(savedStdin);

    EXPECT_TRUE(returned) << "the pause waited for input";
    EXPECT_EQ(printed.str(), "");
}

}  // namespace
}  // namespace graphmat
