// The reader mode switch of every program that takes one: a whole number
// that names no reader mode ends the run before any file is read, and the
// graph text of reader mode 7 is read as the graph itself, never as a path.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::contains;
using test::exampleFile;
using test::RunResult;
using test::ScratchDir;

const std::vector<std::string> kWeights = {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1"};

std::vector<std::string> withWeights(std::vector<std::string> args) {
    args.insert(args.begin(), kWeights.begin(), kWeights.end());
    return args;
}

std::string outOfRange(const std::string& value) {
    return "Switch -h: \"" + value + "\" is out of range: a whole number from 0 to 12 (a reader mode)\n";
}

// Before, graphmat and logcost read both graphs as empty in such a mode and
// ended 0 with cost 0; each now names the switch and the range.
TEST(ReaderModeSwitch, AModeBeyondZeroToTwelveIsAUsageErrorInEveryProgram) {
    ScratchDir dir;
    std::filesystem::create_directories("graphs");
    std::filesystem::create_directories("logs");
    const std::string v1 = exampleFile("shop-v1.txt"), v2 = exampleFile("shop-v2.txt");
    test::writeFile("a.csv", "2,1\n0,a\n1,b\n0,1,1\n");
    test::writeFile("log.txt", "n,0,0\nn,1,1\n");
    struct Case {
        std::string what;
        std::string program;
        std::vector<std::string> args;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"graphmat 13", GRAPHMAT_BIN, withWeights({"-h", "13", "-o", v1, "-n", v2}), "13"},
        {"graphmat -1", GRAPHMAT_BIN, withWeights({"-h", "-1", "-o", v1, "-n", v2}), "-1"},
        {"graphmat 13.0", GRAPHMAT_BIN, withWeights({"-h", "13.0", "-o", v1, "-n", v2}), "13.0"},
        {"graphmat beyond int", GRAPHMAT_BIN, withWeights({"-h", "3e10", "-o", v1, "-n", v2}), "3e10"},
        {"logcost 13", LOGCOST_BIN, withWeights({"-h", "13", "-o", "a.csv", "-n", "a.csv", "-p", "log.txt"}), "13"},
        {"logcost -1", LOGCOST_BIN, {"-o", "a.csv", "-n", "a.csv", "-p", "log.txt", "-h", "-1"}, "-1"},
        {"graphstats", GRAPHSTATS_BIN, {"-h", "13", "a.csv"}, "13"},
        {"reduce", REDUCE_BIN, {"-h", "-1", v1, v2}, "-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunResult r = test::runProgram(c.program, c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(contains(r.err, outOfRange(c.value))) << r.err;
        EXPECT_FALSE(contains(r.out, "File ")) << "no graph is read";
        EXPECT_FALSE(contains(r.out, "Cost : ")) << r.out;
        EXPECT_TRUE(std::filesystem::is_empty("results"));
        EXPECT_TRUE(std::filesystem::is_empty("graphs"));
    }
}

// Reader mode 7 takes the switch's value as the graph text itself: a text
// matches as before, while a file's path (no header) is refused by name
// instead of reading as an empty graph that costs 0.
TEST(ReaderModeSwitch, ModeSevenReadsTheTextItselfAndRefusesAPath) {
    ScratchDir dir;
    const std::string text1 = "3,2\nc,0,A\nc,1,B\nc,2,C\ne,0,1,1\ne,1,2,2";
    const std::string text2 = "3,2\nc,0,A\nc,1,B\nc,2,Z\ne,0,1,1\ne,1,2,2";
    RunResult texts = test::runProgram(GRAPHMAT_BIN, withWeights({"-h", "7", "-o", text1, "-n", text2}));
    EXPECT_EQ(texts.status, 0) << texts.err;
    EXPECT_EQ(texts.err, "");
    EXPECT_TRUE(contains(texts.out, "\n G1: 3\t2\n")) << texts.out;
    EXPECT_TRUE(contains(texts.out, "\n\n\nMatching Cost : 100\n")) << texts.out;

    const std::string v1 = exampleFile("shop-v1.txt");
    std::filesystem::remove_all("results");
    std::filesystem::create_directories("results");
    RunResult path = test::runProgram(GRAPHMAT_BIN, withWeights({"-h", "7", "-o", v1, "-n", text2}));
    EXPECT_EQ(path.status, 1);
    EXPECT_EQ(path.err, "Graph text \"" + v1 +
                            "\": no header VERTICES,EDGES; reader mode 7 reads the text itself as the graph, "
                            "not a file\n");
    EXPECT_FALSE(contains(path.out, "Matching Cost")) << path.out;
    EXPECT_TRUE(std::filesystem::is_empty("results"));

    // graphgen mutate and shuffle read the text too (they named it as a
    // file that does not open).
    RunResult shuffled = test::runProgram(GRAPHGEN_BIN, {"shuffle", "7", text1, "3", "shuffled.csv"});
    EXPECT_EQ(shuffled.status, 0) << shuffled.err;
    EXPECT_EQ(test::lines(test::readFile("shuffled.csv")).at(0), "3,2");
    RunResult refused = test::runProgram(GRAPHGEN_BIN, {"shuffle", "7", v1, "3", "other.csv"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(contains(refused.err, "Graph text \"" + v1 + "\": no header")) << refused.err;
    EXPECT_FALSE(test::fileExists("other.csv"));
}

}  // namespace
}  // namespace graphmat
