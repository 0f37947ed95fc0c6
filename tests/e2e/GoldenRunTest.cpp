// One whole run of the graphmat executable on two tiny model graphs whose
// complete console output was worked out by hand (tests/fixtures/e2e/, with
// the working in tiny-run.md): a renamed class, a member that moved to
// another class and a worsening move that the end of the search undoes.
#include <gtest/gtest.h>

#include <string>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

TEST(GoldenRun, TinyModelsGiveTheHandWorkedConsoleOutput) {
    test::ScratchDir dir;
    // The graphs are read by their bare names, as the echoes and the reader
    // lines show them.
    test::writeFile("tiny-1.txt", test::readFile(test::fixture("e2e/tiny-1.txt")));
    test::writeFile("tiny-2.txt", test::readFile(test::fixture("e2e/tiny-2.txt")));
    const std::string expected = test::readFile(test::fixture("e2e/tiny-run.out"));
    ASSERT_FALSE(expected.empty());

    test::RunResult r = test::runProgram(
        GRAPHMAT_BIN, {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-o", "tiny-1.txt", "-n", "tiny-2.txt"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(test::withoutTimes(r.out), expected);
    EXPECT_TRUE(test::fileExists("results/tiny-1__tiny-2__1__0.5__1__1__0__1.csv"));
}

}  // namespace
}  // namespace graphmat
