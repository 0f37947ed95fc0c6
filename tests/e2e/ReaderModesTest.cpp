// End-to-end runs on the example pairs of every reader mode beside the model
// graph file, and the graphstats program.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::exampleFile;
using test::fileExists;
using test::readFile;
using test::RunResult;
using test::ScratchDir;

using test::contains;

struct ModeCase {
    int mode;
    std::string pair;   // examples/<pair>-v1.txt and -v2.txt
    std::string counts; // the driver's two count lines
    std::string shows;  // a line that the run's output or result file must hold
};

TEST(ReaderModes, ExamplePairsMatchEndToEnd) {
    const std::vector<ModeCase> cases = {
        {4, "library", "\n G1: 5\t5\n", "\n G2: 6\t6\n"},
        {5, "library", "\n G1: 5\t5\n", "\n G2: 6\t6\n"},
        {8, "library", "\n G1: 9\t13\n", "\n ROUND 3: END \n"},
        {9, "library", "\n G1: 18\t27\n", "ns,3,4,lib.service.LoanService,lib.service.LendingService,"},
        {10, "order-sequence", "\n G1: 7\t8\n", "\n G2: 10\t11\n"},
        {11, "door-states", "\n G1: 7\t8\n", "\nt,3,2,Reset"},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode));
        ScratchDir dir;
        const std::string m = std::to_string(c.mode);
        RunResult r = test::runProgram(GRAPHMAT_BIN, {"-h", m, "-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-o",
                                                      exampleFile(c.pair + "-v1.txt"), "-n",
                                                      exampleFile(c.pair + "-v2.txt")});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(contains(r.out, c.counts));
        EXPECT_TRUE(contains(r.out, "\n\n\nMatching Cost : "));
        const std::string run = "results/" + c.pair + "-v1__" + c.pair + "-v2__1__0.5__1__1__0__1.csv";
        for (const std::string& file : {run, run + ".csv", run + ".csv.csv", run + ".csv.csv.csv"})
            EXPECT_TRUE(fileExists(file)) << file;
        EXPECT_TRUE(contains(r.out, c.shows) || contains(readFile(run), c.shows));
    }
}

RunResult graphstats(const std::vector<std::string>& args) { return test::runProgram(GRAPHSTATS_BIN, args); }

TEST(GraphStatsProgram, WritesTheRowsOfEachGraph) {
    ScratchDir dir;
    std::filesystem::create_directory("graphs");
    std::filesystem::create_directory("logs");
    RunResult r = graphstats({"-h", "9", exampleFile("library-v1.txt"), exampleFile("library-v2.txt")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    const std::vector<std::string> rows = test::lines(readFile("graphs/all_graphs.csv"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].rfind("library-v1,18,27,", 0), 0u);
    EXPECT_EQ(rows[1].rfind("library-v2,21,32,", 0), 0u);
    EXPECT_TRUE(contains(readFile("graphs/library-v2.csv"), "\nLabel Distribution\n"));
    EXPECT_TRUE(fileExists("logs/isolated_library-v1.csv"));

    r = graphstats({"-h", "4", "-k", "versions", exampleFile("library-v2.txt")});
    EXPECT_EQ(r.status, 0);
    // Attributes and methods stay inside their classes in mode 4.
    EXPECT_EQ(readFile("graphs/all_versions.csv"), "library-v2,6,7,4,3,2,1,\n");

    r = graphstats({"-h", "11", "-k", "matrix", exampleFile("door-states-v1.txt")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(test::lines(readFile("mdoor-states-v1")).size(), 8u);
}

// The attribute and method columns of graphs/all_versions.csv count the
// members held inside the classes: filled in reader modes 4 and 8 only; in
// mode 5 the member lines are ignored, in modes 9 and 12 members are
// vertices (counted among the vertices), other syntaxes have none.
TEST(GraphStatsProgram, OnlyModesFourAndEightFillTheMemberColumnsOfTheVersionRows) {
    struct Case {
        std::string mode, file, row;
    };
    const std::vector<Case> cases = {
        {"4", "library-v1.txt", "library-v1,5,5,4,2,2,1,"},
        {"8", "library-v1.txt", "library-v1,9,5,4,2,2,9,"},
        {"5", "library-v1.txt", "library-v1,5,0,0,2,2,1,"},
        {"9", "library-v1.txt", "library-v1,18,0,0,2,2,1,"},
        {"12", "shop-v1.txt", "shop-v1,66,0,0,1,1,10,"},
        {"10", "order-sequence-v1.txt", "order-sequence-v1,7,0,0,2,2,2,"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        std::filesystem::create_directory("graphs");
        std::filesystem::create_directory("logs");
        RunResult r = graphstats({"-h", c.mode, "-k", "versions", exampleFile(c.file)});
        EXPECT_EQ(r.status, 0) << c.mode << r.err;
        EXPECT_EQ(readFile("graphs/all_versions.csv"), c.row + "\n") << c.mode;
    }
}

TEST(GraphStatsProgram, BadCommandLinesAndFiles) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;  // the line of standard error that names the fault
    };
    const std::string first = exampleFile("door-states-v1.txt");
    const std::vector<Case> cases = {
        {{}, 1, "No graph file"},
        {{"-h"}, 1, "Switch -h needs a value"},
        {{"-h", "x", first}, 1, "Switch -h: \"x\" is not a number this switch takes"},
        {{"-h", "13", first}, 1, "Switch -h: \"13\" is out of range: a whole number from 0 to 12 (a reader mode)"},
        {{"-k", "all", first}, 1, "Not a kind (-k): all"},
        {{"-q", "1", first}, 1, "Unknown switch -q"},
        {{"-h", "11", "missing.txt", first}, 1, "Cannot read missing.txt: No such file or directory"},
        {{"-h", "11", first}, 2, "Folder ./graphs/ is missing: make it with mkdir -p graphs"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        if (c.status == 1) {
            std::filesystem::create_directory("graphs");
            std::filesystem::create_directory("logs");
        }
        RunResult r = graphstats(c.args);
        EXPECT_EQ(r.status, c.status) << c.err;
        // A usage error: the usage lines, then the fault; other faults alone.
        const std::string usage =
            c.status == 1 && c.err.rfind("Cannot read", 0) != 0 ? test::usageLines("graphstats") : "";
        EXPECT_EQ(r.err.substr(0, usage.size() + c.err.size() + 1), usage + c.err + "\n");
    }
}

}  // namespace
}  // namespace graphmat
