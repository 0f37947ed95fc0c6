// Why a search on generated pairs can report the empty matching although
// their correspondence is known, as docs/USAGE.md tells a researcher: the
// weights under which the empty matching is the cheapest, a search that
// stops after its stagnation length before it reaches a cheaper matching,
// and labels carried by so many vertices that no pair is a candidate.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::contains;
using test::RunOptions;
using test::RunResult;
using test::ScratchDir;

const RunOptions kGuarded{"", 120};

RunResult run(const std::string& program, const std::vector<std::string>& args) {
    return test::runProgram(program, args, kGuarded);
}

// The number on the console line that begins with `head`, as printed; empty
// when there is none.
std::string figure(const std::string& out, const std::string& head) {
    std::smatch m;
    if (!std::regex_search(out, m, std::regex("\n" + head + "([^\n]*)\n"))) return "";
    return m[1];
}

// The moves of the search: the console's last line.
bool endsWithIterations(const std::string& out, const std::string& count) {
    const std::string last = "\nIterations : " + count;
    return out.size() >= last.size() && out.compare(out.size() - last.size(), last.size(), last) == 0;
}

// The matched pairs ("ns" rows) of a match result file.
long matchedPairs(const std::string& path) {
    const std::vector<std::string> rows = test::lines(test::readFile(path));
    return std::count_if(rows.begin(), rows.end(), [](const std::string& row) { return row.rfind("ns,", 0) == 0; });
}

// Graph 1: alpha, beta, gamma, delta with arcs 0->1 "1", 1->2 "12",
// 2->3 "3", 0->3 "2", 3->0 "10"; graph 2: alpha, beta, gamma, kiwi with arcs
// 0->1 "1", 1->2 "13", 2->3 "3". Without drop weights every pair and arc
// digit costs something or nothing beside the empty matching, so the search
// reports the empty matching; with -d 1 -g 0.5 matching all four pairs
// saves 350.
TEST(GeneratedPairSearch, TheEmptyMatchingIsReportedWhenItIsTheCheapest) {
    struct Case {
        std::string what;
        std::vector<std::string> weights;
        std::string runName;
        std::string emptyCost, cost;
        long pairs;
    };
    const std::vector<Case> cases = {
        {"no drop weights", {"-d", "0", "-g", "0", "-e", "1", "-y", "1"}, "a__b__0__0__1__1__0__1", "0", "0", 0},
        {"drop weights", {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1"}, "a__b__1__0.5__1__1__0__1", "650", "300", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        test::writeFile("a.csv", "4,5\n0,alpha\n1,beta\n2,gamma\n3,delta\n0,1,1\n1,2,12\n2,3,3\n0,3,2\n3,0,10\n");
        test::writeFile("b.csv", "4,3\n0,alpha\n1,beta\n2,gamma\n3,kiwi\n0,1,1\n1,2,13\n2,3,3\n");
        std::vector<std::string> args = {"-h", "0"};
        args.insert(args.end(), c.weights.begin(), c.weights.end());
        args.insert(args.end(), {"-o", "a.csv", "-n", "b.csv"});
        RunResult r = run(GRAPHMAT_BIN, args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(figure(r.out, "No Matching Cost : "), c.emptyCost);
        EXPECT_EQ(figure(r.out, "Matching Cost : "), c.cost);
        EXPECT_EQ(figure(r.out, " NbValidPairs = "), "4") << "the search had candidates";
        EXPECT_EQ(matchedPairs("results/" + c.runName + ".csv"), c.pairs);
    }
}

// The noisy pair and the mutated copy of examples/noise-and-mutate.sh. With
// the example's weights both are reported as the empty matching. The noise
// changes every label: no term is shared, no pair is a candidate, no move
// is made (and the logged correspondence, which keeps few arc digits, costs
// more than the empty matching). The mutated copy's correspondence costs
// less, but its first pairs make arcs to unmatched vertices dearer, and the
// search stops after 10 moves without a new best. With -g 1 an arc costs
// the same with one end matched, and the search finds a matching as cheap
// as the logged one.
TEST(GeneratedPairSearch, TheNoisyPairsOfTheExampleEndAtTheEmptyMatching) {
    ScratchDir dir;
    std::filesystem::create_directories("benchmark");
    std::filesystem::create_directories("logs");
    ASSERT_EQ(run(GRAPHGEN_BIN, {"noise", "1", "20", "3", "7"}).status, 0);
    ASSERT_EQ(run(GRAPHGEN_BIN, {"mutate", "0", "benchmark/original_1.txt", "0.1", "0.1", "0.05", "1", "7",
                                 "mutated.txt", "mutated.log"})
                  .status,
              0);
    struct Case {
        std::string what;
        std::string copy, log;
        std::string edgeDrop;  // -g
        std::string emptyCost, logCost, cost;
        std::string validPairs, moves;
        std::string firstMove;  // the end of its console line
    };
    const std::vector<Case> cases = {
        {"noisy pair", "benchmark/noisy_1.txt", "benchmark/log_1.txt", "0.5", "35250", "42900", "35250", "0", "0",
         ""},
        // The first pair, of equal labels, costs more than it saves.
        {"mutated copy", "mutated.txt", "mutated.log", "0.5", "29250", "10587.5", "29250", "320", "10",
         "[(19)47, 47(3)] : 1350(30600) 0,"},
        {"mutated copy, -g 1", "mutated.txt", "mutated.log", "1", "56650", "13950", "13950", "320", "26", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::string> weights = {"-h", "0", "-d", "1", "-g", c.edgeDrop, "-e", "1", "-y", "1"};
        std::vector<std::string> args = weights;
        args.insert(args.end(), {"-o", "benchmark/original_1.txt", "-n", c.copy, "-p", c.log});
        RunResult logged = run(LOGCOST_BIN, args);
        ASSERT_EQ(logged.status, 0) << logged.err;
        EXPECT_TRUE(contains(logged.out, "Log Matching Cost : " + c.logCost + "\n")) << logged.out;

        args = weights;
        args.insert(args.end(), {"-o", "benchmark/original_1.txt", "-n", c.copy, "-s", "1"});
        RunResult searched = run(GRAPHMAT_BIN, args);
        ASSERT_EQ(searched.status, 0) << searched.err;
        EXPECT_EQ(figure(searched.out, "No Matching Cost : "), c.emptyCost);
        EXPECT_EQ(figure(searched.out, "Matching Cost : "), c.cost);
        EXPECT_TRUE(contains(searched.out, "\n\n STAGNATION = 10\n")) << "20 vertices: the least length";
        EXPECT_EQ(figure(searched.out, " NbValidPairs = "), c.validPairs);
        EXPECT_TRUE(endsWithIterations(searched.out, c.moves));
        if (!c.firstMove.empty()) {
            EXPECT_TRUE(contains(searched.out, "\n" + c.emptyCost + "--> 1/>1 on 1< (-1,-1) = > " + c.firstMove))
                << searched.out;
        }
    }
}

// Three labels drawn alike on 1000 vertices: each is carried by more than
// 300 vertices of a graph, so no term is shared, no pair is a candidate and
// the search makes no move. On 100 vertices the same labels make candidates
// and the search matches.
TEST(GeneratedPairSearch, LabelsOfThreeHundredVerticesOrMoreMakeNoCandidates) {
    struct Case {
        std::string what;
        std::string n;
        bool candidates;
    };
    const std::vector<Case> cases = {{"1000 vertices", "1000", false}, {"100 vertices", "100", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        ASSERT_EQ(run(GRAPHGEN_BIN, {"pair", c.n, "3", "0.9", "3", "1", "2", "1", "0", "0", "u", "3", "0"}).status, 0);
        const std::string pair = "u_" + c.n + "_3_0.9_3_1_2_1_0_0_0_3";
        RunResult r = run(GRAPHMAT_BIN, {"-h", "0", "-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-o",
                                         pair + "A.csv", "-n", pair + "B.csv"});
        ASSERT_EQ(r.status, 0) << r.err;
        const long pairs = matchedPairs("results/" + pair + "A__" + pair + "B__1__0.5__1__1__0__1.csv");
        if (c.candidates) {
            EXPECT_NE(figure(r.out, " NbValidPairs = "), "0");
            EXPECT_GT(pairs, 0);
        } else {
            EXPECT_EQ(figure(r.out, " NbValidPairs = "), "0");
            EXPECT_TRUE(endsWithIterations(r.out, "0"));
            EXPECT_EQ(figure(r.out, "Matching Cost : "), figure(r.out, "No Matching Cost : "));
            EXPECT_EQ(pairs, 0);
        }
    }
}

}  // namespace
}  // namespace graphmat
