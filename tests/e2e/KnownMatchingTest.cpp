// The known-matching file of the start modes other than 1: they report the
// known matching, so a run without that file ends before any work instead of
// reporting an empty matching as its result.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::contains;
using test::RunResult;
using test::ScratchDir;

// The tiny pair: graph 1 is "tiny-1", so its known matching is
// ./datasets/random/tiny-.csv.
const std::string kKnown = "./datasets/random/tiny-.csv";

RunResult run(std::vector<std::string> switches) {
    std::vector<std::string> args = {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1"};
    args.insert(args.end(), switches.begin(), switches.end());
    args.insert(args.end(), {"-o", test::fixture("e2e/tiny-1.txt"), "-n", test::fixture("e2e/tiny-2.txt")});
    return test::runProgram(GRAPHMAT_BIN, args);
}

// The refusal, with why the file does not open.
std::string refusal(const std::string& why = "No such file or directory") {
    return "Cannot read " + kKnown + ": " + why +
           "; start modes other than 1 report the known matching read from this file (-i 1 matches without one)\n";
}

// Every start mode that reads the known matching, the similarity
// experiment (0) and values that name no mode included; checked without the
// file and with a directory in its place.
TEST(KnownMatching, WithoutItsFileEveryModeButOneEndsBeforeAnyWork) {
    for (const bool directory : {false, true}) {
        for (const std::string mode : {"2", "3", "4", "5", "0.5", "0", "6", "-1", "1.5"}) {
            SCOPED_TRACE("-i " + mode + (directory ? ", a directory in the file's place" : ""));
            ScratchDir dir;
            if (directory) std::filesystem::create_directories(kKnown);
            RunResult r = run({"-i", mode});
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.err, refusal(directory ? "Is a directory" : "No such file or directory"));
            EXPECT_TRUE(contains(r.out, "\n G2: 5\t5\n")) << r.out;
            EXPECT_FALSE(contains(r.out, "No Matching Cost")) << "no matcher is built";
            EXPECT_TRUE(std::filesystem::is_empty("results"));
            EXPECT_FALSE(test::fileExists("sim_results.csv"));
        }
    }
}

// The run that reported junit's empty known matching as its result (0
// matched pairs, status 0, after 14 s of search).
TEST(KnownMatching, TheJunitPairInStartModeTwoEndsAtOnce) {
    ScratchDir dir;
    RunResult r = test::runProgram(GRAPHMAT_BIN, {"-i", "2", "-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-o",
                                                  test::dataFile("junit-3.8.2.txt"), "-n",
                                                  test::dataFile("junit-4.13.2.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot read ./datasets/random/junit-3.8..csv: No such file or directory; start modes other than 1 report the known "
                     "matching read from this file (-i 1 matches without one)\n");
    EXPECT_FALSE(contains(r.out, "No Matching Cost"));
    EXPECT_TRUE(std::filesystem::is_empty("results"));
}

// Start mode 1 and the single assignment read no known matching: they run
// without the file, as before.
TEST(KnownMatching, StartModeOneAndTheSingleAssignmentNeedNoFile) {
    for (const std::vector<std::string>& switches :
         {std::vector<std::string>{"-i", "1"}, std::vector<std::string>{"-i", "2", "-m", "sim.txt"}}) {
        ScratchDir dir;
        RunResult r = run(switches);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_FALSE(contains(r.out, kKnown));
        EXPECT_TRUE(contains(r.out, "\n\n\nMatching Cost : ")) << r.out;
    }
}

// A known-matching file that holds no pair (only the six count lines, or
// nothing) is a known matching all the same: the run reports it, empty.
TEST(KnownMatching, AnExistingFileWithoutPairsStillRuns) {
    for (const std::string content : {"s,0\nl,0\nf,0\ne,0\nn,0\nv,0\n", ""}) {
        ScratchDir dir;
        std::filesystem::create_directories("datasets/random");
        test::writeFile(kKnown, content);
        RunResult r = run({"-i", "2"});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, test::knownMatchingReportedLine("2", kKnown, "412.5"));
        EXPECT_TRUE(contains(r.out, "\n" + kKnown + "\n MU ACQUIRED \n")) << r.out;
        const std::string result = test::readFile("results/tiny-1__tiny-2__1__0.5__1__1__0__1.csv");
        EXPECT_FALSE(result.empty());
        EXPECT_FALSE(contains(result, "\nns,")) << "the empty known matching pairs nothing";
    }
}

// The two figures of the shop example with an empty known-matching file.
// "No Matching Cost" prices the empty matching with the pre-matching of the
// package tree in place (an arc with a pre-matched end costs as one with an
// end matched); "Matching Cost" prices the known matching reported, which
// pairs nothing: every vertex deleted or inserted, what logcost gives an
// edit-path log without pairs. The report lists every graph-1 vertex as
// deleted, but as inserted only the graph-2 vertices that the search left
// unmatched. Without a package tree (mode 4) the two figures agree.
TEST(KnownMatching, AnEmptyKnownMatchingOfTheShopExampleCostsLessThanNoMatchingCost) {
    struct Case {
        std::string mode;  // -i
        std::string reader;  // -h
        std::string noMatchingCost, matchingCost;
        int nd, ni;  // rows of the match result file: every graph-1 vertex, the graph-2 vertices left new
    };
    const std::vector<Case> cases = {
        {"2", "12", "18487", "14750", 66, 5},   {"3", "12", "18487", "14750", 66, 5},
        {"5", "12", "18487", "14750", 66, 2},   {"0.5", "12", "18487", "14750", 66, 6},
        {"2", "4", "825", "825", 5, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("-h " + c.reader + " -i " + c.mode);
        ScratchDir dir;
        const std::string stem = c.reader == "12" ? "shop-v" : "library-v";
        std::filesystem::create_directories("datasets/random");
        test::writeFile("datasets/random/" + stem + ".csv", "");
        const std::vector<std::string> weights = {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-h", c.reader};
        std::vector<std::string> args = weights;
        args.insert(args.end(), {"-i", c.mode, "-o", test::exampleFile(stem + "1.txt"), "-n",
                                 test::exampleFile(stem + "2.txt")});
        RunResult r = test::runProgram(GRAPHMAT_BIN, args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(contains(r.out, "\n\n\nNo Matching Cost : " + c.noMatchingCost + "\n")) << r.out;
        EXPECT_TRUE(contains(r.out, "\n\n\nMatching Cost : " + c.matchingCost + "\n")) << r.out;
        std::map<std::string, int> kinds;
        for (const std::string& line :
             test::lines(test::readFile("results/" + stem + "1__" + stem + "2__1__0.5__1__1__0__1.csv")))
            ++kinds[line.substr(0, line.find(','))];
        EXPECT_EQ(kinds["ns"], 0);
        EXPECT_EQ(kinds["nd"], c.nd);
        EXPECT_EQ(kinds["ni"], c.ni);

        // The empty matching itself, priced by logcost: no pair logged.
        test::writeFile("empty.log", "");
        args = weights;
        args.insert(args.end(), {"-o", test::exampleFile(stem + "1.txt"), "-n", test::exampleFile(stem + "2.txt"),
                                 "-p", "empty.log"});
        r = test::runProgram(LOGCOST_BIN, args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(contains(r.out, "\n\n\nLog Matching Cost : " + c.matchingCost + "\n")) << r.out;
    }
}

// A value that names no start mode (a typo such as 6, or -1, 1.5) is no
// usage error: the run is the run of start mode 4, the search from the
// pre-matching, and reports the known matching, not the matching found.
TEST(KnownMatching, AValueThatNamesNoModeRunsAsStartModeFour) {
    // Pairs the search would not make, so that the report shows whose
    // matching it is.
    const std::string known = "s\nl\nf\ne\nn\nv\n0,0\n1,4\n4,1\n";
    auto runWith = [&](const std::string& mode, std::map<std::string, std::string>& files) {
        ScratchDir dir;
        std::filesystem::create_directories("datasets/random");
        test::writeFile(kKnown, known);
        RunResult r = run({"-i", mode});
        for (const auto& entry : std::filesystem::directory_iterator("results"))
            files[entry.path().filename().string()] = test::readFile(entry.path().string());
        return r;
    };
    std::map<std::string, std::string> modeFour;
    const RunResult four = runWith("4", modeFour);
    ASSERT_EQ(four.status, 0) << four.err;
    const std::string result = modeFour.at("tiny-1__tiny-2__1__0.5__1__1__0__1.csv");
    EXPECT_TRUE(contains(result, "\nns,1,4,app.Customer,Fee,")) << result;
    EXPECT_TRUE(contains(result, "\nns,4,1,Tax,app.Consumer,")) << result;
    // The echoed switch and the mode printed before the search name the
    // value given; all else is the same.
    const std::string fourOut = test::withoutTimes(four.out);
    for (const std::string mode : {"6", "-1", "1.5"}) {
        SCOPED_TRACE("-i " + mode);
        std::map<std::string, std::string> files;
        const RunResult r = runWith(mode, files);
        EXPECT_EQ(r.status, 0);
        std::string err = r.err;
        err.replace(err.find("Start mode " + mode + ":"), 12 + mode.size(), "Start mode 4:");
        EXPECT_EQ(err, four.err);
        std::string out = test::withoutTimes(r.out);
        out.replace(out.find(" -i " + mode), 4 + mode.size(), " -i 4");
        out.replace(out.find("\n" + mode + "\n"), 2 + mode.size(), "\n4\n");
        EXPECT_EQ(out, fourOut);
        EXPECT_EQ(files, modeFour);
    }
}

// A run that reports the known matching says so on standard error after the
// summary, with the cost of the matching the search found: the figure of the
// search's own trace ("Match -- Cost=BEST**FOUND("), while "Matching Cost" is
// the known matching's. Start mode 4 searches as mode 1 does, so the cost it
// names is the cost a run in mode 1 reports.
TEST(KnownMatching, AfterTheRunStandardErrorNamesTheMatchingReportedAndTheCostFound) {
    const std::string known = "s\nl\nf\ne\nn\nv\n0,0\n1,4\n4,1\n";
    auto matchingCost = [](const std::string& out) {
        const std::size_t at = out.find("\n\n\nMatching Cost : ");
        return at == std::string::npos ? std::string() : out.substr(at + 19, out.find('\n', at + 19) - at - 19);
    };
    ScratchDir modeOneDir;
    const RunResult modeOne = run({"-i", "1"});
    ASSERT_EQ(modeOne.status, 0) << modeOne.err;
    EXPECT_EQ(modeOne.err, "");
    const std::string searchAlone = matchingCost(modeOne.out);
    ASSERT_FALSE(searchAlone.empty()) << modeOne.out;

    for (const std::string mode : {"2", "3", "4", "5", "0.5", "6"}) {
        SCOPED_TRACE("-i " + mode);
        ScratchDir dir;
        std::filesystem::create_directories("datasets/random");
        test::writeFile(kKnown, known);
        const RunResult r = run({"-i", mode});
        ASSERT_EQ(r.status, 0) << r.err;
        const std::size_t trace = r.out.find("\nMatch -- Cost=");
        ASSERT_NE(trace, std::string::npos) << r.out;
        const std::size_t found = r.out.find("**", trace) + 2;
        const std::string foundCost = r.out.substr(found, r.out.find('(', found) - found);
        EXPECT_EQ(r.err, test::knownMatchingReportedLine(mode, kKnown, foundCost));
        // The reported matching is the known one: app.Customer with Fee.
        EXPECT_NE(matchingCost(r.out), foundCost);
        EXPECT_TRUE(contains(test::readFile("results/tiny-1__tiny-2__1__0.5__1__1__0__1.csv"),
                             "\nns,1,4,app.Customer,Fee,"));
        if (std::string(mode) == "4") {
            EXPECT_EQ(foundCost, searchAlone);
        }
    }
}

}  // namespace
}  // namespace graphmat
