// Failures that every program must make loud, with their message and exit
// status: a ranking walk that never settles, counts no memory can hold, a
// console that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::contains;
using test::RunOptions;
using test::RunResult;
using test::ScratchDir;

// A run that hangs is killed after this long and fails with status -1.
const RunOptions kGuarded{"", 120};

struct ProgramCase {
    std::string what;
    std::string program;
    std::vector<std::string> args;
};

std::string describe(const ProgramCase& c) { return c.what + " " + ::testing::PrintToString(c.args); }

// A self-loop whose label digit weighs -2 against a vertex's total out-weight
// of 1 passes on -1.7 times its score per step: the scores alternate in sign
// and grow to infinity. The walk gives up, every vertex keeps the same
// score, and standard error names the negative weights.
TEST(RankingThatDoesNotSettle, EveryProgramEndsAndNamesTheNegativeWeights) {
    ScratchDir dir;
    std::filesystem::create_directories("graphs");
    std::filesystem::create_directories("logs");
    const std::string diagram = "2,2\nc,0,p.A\nc,1,p.B\nr,0,1,1\nr,0,0,2\n";
    test::writeFile("a.txt", diagram);
    test::writeFile("b.txt", diagram);
    test::writeFile("series.txt", "g,b.txt\ng,a.txt\nm,a__b__1__0.5__1__1__0__1.csv\n");
    struct Case {
        std::string what;
        std::string config;
        std::string program;
        std::vector<std::string> args;
        std::string weights;
    };
    const std::vector<Case> cases = {
        {"graph text", "ew,9,-2\n", GRAPHSTATS_BIN, {"-h", "7", "2,2\ne,0,1,222\ne,0,0,9"}, "ew,9,-2"},
        {"tracker", "ew,2,-2\new,1,3\n", TUNNEL_BIN, {"series.txt"}, "ew,2,-2"},
        {"single assignment", "ew,2,-2\new,1,3\n", GRAPHMAT_BIN,
         {"-h", "4", "-d", "1", "-e", "1", "-m", "sim.txt", "-o", "a.txt", "-n", "b.txt"}, "ew,2,-2"},
        // Equal and opposite: the self-loop passes on exactly -1 times its
        // score, so the change stays finite and never shrinks.
        {"finite oscillation", "ew,1,1\new,2,-1.85\n", GRAPHSTATS_BIN, {"-h", "7", "2,2\ne,0,0,1\ne,0,1,2"},
         "ew,2,-1.85"},
    };
    for (const Case& c : cases) {
        test::writeFile("config.txt", c.config);
        RunResult r = test::runProgram(c.program, c.args, kGuarded);
        EXPECT_EQ(r.status, 0) << c.what << r.err;
        EXPECT_TRUE(contains(r.err, " did not settle; every vertex gets the same score. "
                                    "Negative label weights of config.txt: " + c.weights + "\n"))
            << c.what << r.err;
        EXPECT_FALSE(contains(r.out, "nan")) << c.what;
    }
}

// A header that announces two billion vertices: every program that reads
// graph files names the file and the count and ends with status 1.
TEST(CountsBeyondMemory, EveryProgramReadingGraphsEndsWithStatus1) {
    ScratchDir dir;
    std::filesystem::create_directories("graphs");
    std::filesystem::create_directories("logs");
    test::writeFile("big.csv", "2000000000,0\n");
    test::writeFile("log.txt", "n,0,0\n");
    // An edge list graph file makes its vertices from its header alone.
    const std::vector<ProgramCase> cases = {
        {"logcost", LOGCOST_BIN, {"-h", "6", "-o", "big.csv", "-n", "big.csv", "-p", "log.txt"}},
        {"reduce", REDUCE_BIN, {"-h", "6", "big.csv", "big.csv"}},
        {"graphstats", GRAPHSTATS_BIN, {"-h", "6", "big.csv"}},
    };
    for (const ProgramCase& c : cases) {
        RunResult r = test::runProgram(c.program, c.args, kGuarded);
        EXPECT_EQ(r.status, 1) << describe(c);
        EXPECT_EQ(r.err.rfind("Graph file big.csv: needs ", 0), 0u) << describe(c) << r.err;
        EXPECT_TRUE(contains(r.err, " GB for 2000000000 vertices; this machine has ")) << describe(c) << r.err;
    }
}

// Standard output on a full device: a run that would succeed ends with
// status 2 and says why, whether it tears its objects down or not.
TEST(ConsoleThatCannotBeWritten, EveryProgramEndsWithStatus2) {
    ScratchDir dir;
    const std::string v1 = test::exampleFile("shop-v1.txt"), v2 = test::exampleFile("shop-v2.txt");
    test::writeFile("a.csv", "2,1\n0,a\n1,b\n0,1,1\n");
    test::writeFile("log.txt", "n,0,0\nn,1,1\n");
    test::writeFile("e.csv", "2,1\n0,1,1\n");
    std::filesystem::create_directories("datasets");
    test::copyExampleFiles("evaluation", {"datasets/shop/v1.txt", "datasets/shop/v2.txt"});
    test::writeFile("results/v1__v2__1__0.5__1__1__0__1.csv", "ns,0,0,a,a\n");
    test::writeFile("results/_v1__v2.csv", "");
    std::filesystem::create_directories("graphs");
    std::filesystem::create_directories("logs");
    std::filesystem::create_directories("datasets/random");
    test::writeFile("datasets/random/shop-v.csv", "");  // the known matching of start mode 0, without pairs
    test::copyExampleFiles("series", test::exampleSeriesFiles(), "series");
    const std::vector<ProgramCase> cases = {
        {"graphmat", GRAPHMAT_BIN, {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-o", v1, "-n", v2}},
        {"mces", MCES_BIN, {"-o", "e.csv", "-n", "e.csv", "-t", "7"}},
        {"graphstats", GRAPHSTATS_BIN, {"-h", "0", "a.csv"}},
        {"logcost", LOGCOST_BIN, {"-o", "a.csv", "-n", "a.csv", "-p", "log.txt"}},
        {"evaluate", EVALUATE_BIN, {"v1__v2__1__0.5__1__1__0__1.csv", "shop"}},
        {"reduce", REDUCE_BIN, {"-h", "4", test::exampleFile("library-v1.txt"), test::exampleFile("library-v2.txt")}},
        {"graphgen", GRAPHGEN_BIN, {"shuffle", "0", "a.csv", "1", "shuffled.csv"}},
    };
    for (const ProgramCase& c : cases) {
        RunResult quiet = test::runProgram(c.program, c.args, {"/dev/null", 120});
        ASSERT_EQ(quiet.status, 0) << describe(c) << quiet.err;
        RunResult r = test::runProgram(c.program, c.args, {"/dev/full", 120});
        EXPECT_EQ(r.status, 2) << describe(c);
        EXPECT_TRUE(contains(r.err, "Cannot write the standard output\n")) << describe(c) << r.err;
    }
    // A run that fails for another reason keeps its status; the console is
    // named all the same.
    RunResult missing = test::runProgram(GRAPHSTATS_BIN, {"-h", "0", "none.csv"}, {"/dev/full", 120});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Cannot read none.csv: No such file or directory\nCannot write the standard output\n");
    // The similarity experiment (start mode 0) ends with status 1 after its
    // row, and ends without tearing the matcher down: the console is named.
    RunResult experiment = test::runProgram(
        GRAPHMAT_BIN, {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-i", "0", "-o", v1, "-n", v2}, {"/dev/full", 120});
    EXPECT_EQ(experiment.status, 1);
    EXPECT_TRUE(contains(experiment.err, "Cannot write the standard output\n")) << experiment.err;
    // The tracker, from inside its series folder.
    std::filesystem::current_path("series");
    std::filesystem::create_directories("results");
    ASSERT_EQ(test::runProgram(TUNNEL_BIN, {"series.txt"}, {"/dev/null", 120}).status, 0);
    RunResult r = test::runProgram(TUNNEL_BIN, {"series.txt"}, {"/dev/full", 120});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(contains(r.err, "Cannot write the standard output\n")) << r.err;
    std::filesystem::current_path("..");
}

// A file with content of which no line reads in the chosen reader mode is no
// empty graph: every program that reads graph files names it with the mode
// and ends with status 1 before it works on it.
TEST(FilesOfWhichNothingReads, EveryProgramEndsWithStatus1) {
    ScratchDir dir;
    const std::string noise = "kq3Jz+u/Lw9\nXr!f 77,,\n";
    const std::string v2 = test::exampleFile("library-v2.txt");
    test::writeFile("noise.txt", noise);
    test::writeFile("a.csv", "2,1\n0,a\n1,b\n0,1,1\n");
    test::writeFile("log.txt", "n,0,0\n");
    std::filesystem::create_directories("datasets/ds");
    test::writeFile("datasets/ds/v1.txt", noise);
    std::filesystem::copy_file(v2, "datasets/ds/v2.txt");
    test::writeFile("results/v1__v2__1__0.5__1__1__0__1.csv", "ns,0,0,a,a\n");
    test::writeFile("series.txt", "g,library-v2.txt\ng,noise.txt\nm,noise__library-v2__1__0.5__1__1__0__1.csv\n");
    std::filesystem::copy_file(v2, "library-v2.txt");
    std::filesystem::create_directories("graphs");
    std::filesystem::create_directories("logs");
    const std::string inMode4 = "Graph file noise.txt: no line reads in reader mode 4\n";
    const std::vector<std::pair<ProgramCase, std::string>> cases = {
        {{"graphmat", GRAPHMAT_BIN, {"-h", "4", "-o", "noise.txt", "-n", v2}}, inMode4},
        {{"graphstats", GRAPHSTATS_BIN, {"-h", "4", "noise.txt"}}, inMode4},
        // The header of a plain or edge list graph file decides what every
        // later line is: one that does not read says so.
        {{"logcost", LOGCOST_BIN, {"-o", "noise.txt", "-n", "a.csv", "-p", "log.txt"}},
         "Graph file noise.txt is not used: line 1, read as the header, is not VERTICES,ARCS (reader mode 0)\n"},
        {{"reduce", REDUCE_BIN, {"noise.txt", v2}}, inMode4},
        {{"mces", MCES_BIN, {"-o", "a.csv", "-n", "noise.txt"}},
         "Graph file noise.txt is not used: line 1, read as the header, is not VERTICES,ARCS (reader mode 6)\n"},
        {{"evaluate", EVALUATE_BIN, {"v1__v2__1__0.5__1__1__0__1.csv", "ds"}},
         "Graph file ./datasets/ds/v1.txt: no line reads in reader mode 4\n"},
        {{"tunnel", TUNNEL_BIN, {"series.txt"}},
         inMode4 + "series.txt line 2: no line of noise.txt reads as a class diagram file\n"},
        {{"graphgen mutate", GRAPHGEN_BIN,
          {"mutate", "4", "noise.txt", "0.2", "0.2", "0.1", "0", "5", "m.csv", "l.csv"}},
         inMode4},
    };
    for (const auto& [c, message] : cases) {
        RunResult r = test::runProgram(c.program, c.args, kGuarded);
        EXPECT_EQ(r.status, 1) << describe(c);
        EXPECT_TRUE(contains(r.err, message)) << describe(c) << ": " << r.err;
        EXPECT_FALSE(contains(r.out, "Matching Cost")) << describe(c);
    }
    EXPECT_FALSE(test::fileExists("eval_results.csv"));
    EXPECT_FALSE(test::fileExists("results.csv"));
    EXPECT_FALSE(test::fileExists("m.csv"));
}

// A model graph file given as a version of a series reads in small part as a
// class diagram (its class lines): the series is not tracked, and standard
// error counts the lines not read and says how to convert the file.
TEST(FilesOfWhichNothingReads, AModelGraphFileAsAVersionIsRefused) {
    ScratchDir dir;
    test::copyExampleFiles("series", test::exampleSeriesFiles());
    std::filesystem::copy_file(test::exampleFile("shop-v1.txt"), "shop-1.txt",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::create_directories("results");
    RunResult r = test::runProgram(TUNNEL_BIN, {"series.txt"}, kGuarded);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.err,
              "Graph file shop-1.txt: 181 lines not read in reader mode 4 (the first: line 2); it looks like a model "
              "graph file (reader mode 12)\n"
              "series.txt line 4: shop-1.txt does not read as a class diagram file; it is a model graph file (reader "
              "mode 12): convert it with awk -f tools/model-to-class-diagram.awk shop-1.txt > CLASS_DIAGRAM.txt and "
              "list the class diagram file\n");
    EXPECT_TRUE(std::filesystem::is_empty("results"));
}

// A whole number beyond the integer range is not "not a whole number": the
// message says it is out of range and gives the range, in every program.
TEST(NumbersOutOfRange, EveryProgramGivesTheRange) {
    ScratchDir dir;
    const std::string intRange = "out of range: a whole number from -2147483648 to 2147483647";
    struct Case {
        std::string what;
        std::string program;
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"noise seed", GRAPHGEN_BIN, {"noise", "2", "3", "1", "2147483648"},
         "seed is " + intRange + ", not '2147483648'"},
        {"noise k", GRAPHGEN_BIN, {"noise", "99999999999", "3", "1", "2"}, "k is " + intRange + ", not '99999999999'"},
        {"shuffle seed", GRAPHGEN_BIN, {"shuffle", "0", "g.csv", "-2147483649", "out.csv"},
         "seed is " + intRange + ", not '-2147483649'"},
        {"graphmat", GRAPHMAT_BIN, {"-l", "3e10", "-o", "a", "-n", "b"}, "Switch -l: \"3e10\" is " + intRange},
        {"mces", MCES_BIN, {"-o", "a", "-n", "b", "-m", "99999999999"}, "Switch -m: \"99999999999\" is " + intRange},
        {"logcost", LOGCOST_BIN, {"-s", "99999999999", "-o", "a", "-n", "b", "-p", "c"},
         "Switch -s: \"99999999999\" is " + intRange},
        {"reduce", REDUCE_BIN, {"-v", "99999999999", "a", "b"}, "Switch -v: \"99999999999\" is " + intRange},
        {"graphstats", GRAPHSTATS_BIN, {"-h", "99999999999", "a"},
         "Switch -h: \"99999999999\" is out of range: a whole number from 0 to 12 (a reader mode)"},
    };
    for (const Case& c : cases) {
        RunResult r = test::runProgram(c.program, c.args, kGuarded);
        EXPECT_EQ(r.status, 1) << c.what;
        EXPECT_TRUE(contains(r.err, c.message + "\n")) << c.what << ": " << r.err;
        EXPECT_FALSE(contains(r.err, "whole number, not")) << c.what << ": " << r.err;
    }
}

}  // namespace
}  // namespace graphmat
