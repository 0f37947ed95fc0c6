// End-to-end runs of graphgen, and the benchmark loop: generate a pair,
// match it with the command line of "bat.txt", count the vertices matched
// as the known correspondence says.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::readFile;
using test::RunResult;
using test::ScratchDir;

RunResult graphgen(const std::vector<std::string>& args) { return test::runProgram(GRAPHGEN_BIN, args); }

using test::contains;

std::vector<std::string> pairArgs(std::map<int, std::string> changes = {}) {
    std::vector<std::string> args = {"pair", "10", "2", "0.5", "3", "0.5", "2", "1", "10", "20",
                                     "./datasets/random/g", "1", "0"};
    for (const auto& [index, word] : changes) args[index] = word;
    return args;
}

TEST(GraphgenUsage, BadCommandLines) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{}, "graphgen: name a generator\n"},
        {{"pairs"}, "graphgen: unknown generator 'pairs'\n"},
        {{"pair", "10", "2"}, "graphgen pair: expected 12 parameters, got 2\n"},
        {pairArgs({{1, "ten"}}), "graphgen pair: n must be a whole number, not 'ten'\n"},
        {pairArgs({{1, "10.5"}}), "graphgen pair: n must be a whole number, not '10.5'\n"},
        {pairArgs({{1, "99999999999"}}),
         "graphgen pair: n is out of range: a whole number from -2147483648 to 2147483647, not '99999999999'\n"},
        {pairArgs({{1, "0"}}), "graphgen pair: n must be at least 1\n"},
        {pairArgs({{2, "inf"}}), "graphgen pair: e must be a finite number, not 'inf'\n"},
        {pairArgs({{2, "11"}}), "graphgen pair: e must be at most n (e / n is the probability of an arc)\n"},
        {pairArgs({{3, "nan"}}), "graphgen pair: q must be a finite number, not 'nan'\n"},
        {pairArgs({{3, "1.5"}}), "graphgen pair: q must lie between 0 and 1\n"},
        {pairArgs({{3, "0.5x"}}), "graphgen pair: q must be a finite number, not '0.5x'\n"},
        {pairArgs({{4, "0"}}), "graphgen pair: nl must be at least 1\n"},
        {pairArgs({{5, "-0.5"}}), "graphgen pair: nld must be a decay of at least 0 that gives a law of nl labels\n"},
        {pairArgs({{4, "1"}}), "graphgen pair: nld must be 1 when nl is 1 (a single node label)\n"},
        {pairArgs({{6, ""}}), "graphgen pair: el must be a whole number, not ''\n"},
        {pairArgs({{6, "1"}, {7, "0.5"}}), "graphgen pair: eld must be 1 when el is 1 (a single arc label)\n"},
        {pairArgs({{8, "-10"}}), "graphgen pair: pd must be a percentage of at least 0\n"},
        {pairArgs({{9, "1e40"}}), "graphgen pair: pi must be a percentage of at least 0\n"},
        {pairArgs({{10, ""}}), "graphgen pair: filename must not be empty\n"},
        {pairArgs({{11, "x"}}), "graphgen pair: seed must be a whole number, not 'x'\n"},
        {pairArgs({{12, "2"}}), "graphgen pair: undirected must be 0 or 1, not '2'\n"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        std::filesystem::create_directories("datasets/random");
        RunResult r = graphgen(c.args);
        EXPECT_EQ(r.status, 1) << ::testing::PrintToString(c.args);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.substr(0, r.err.find("Usage:")), c.message) << ::testing::PrintToString(c.args);
        EXPECT_TRUE(contains(r.err, "Usage: graphgen pair n e q nl nld el eld pd pi filename seed undirected\n"));
        EXPECT_TRUE(std::filesystem::is_empty("datasets/random"));
        EXPECT_FALSE(test::fileExists("bat.txt"));
    }
}

TEST(GraphgenUsage, AnOutputThatCannotBeWrittenEndsWithStatusTwo) {
    ScratchDir dir;
    // A folder in the place of graph 1's file: found before anything is drawn.
    std::filesystem::create_directories("datasets/random/g_10_2_0.5_3_0.5_2_1_10_20_0_1A.csv");
    RunResult r = graphgen(pairArgs());
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Cannot write ./datasets/random/g_10_2_0.5_3_0.5_2_1_10_20_0_1A.csv: Is a directory\n");
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(test::fileExists("datasets/random/g_10_2_0.5_3_0.5_2_1_10_20_0_1B.csv"));
    EXPECT_FALSE(test::fileExists("bat.txt"));
    EXPECT_FALSE(test::fileExists("score.txt"));
}

// "bat.txt" or "score.txt" whose writing fails (a link to a full device)
// after a complete pair: the pair's files are kept as a normal run writes
// them, the other line is appended, and the run ends with status 2 naming
// the file. (A file that cannot be opened at all is found before the pair is
// drawn: GraphgenOutputs.)
TEST(GraphgenUsage, AnAppendedFileThatCannotBeWrittenKeepsThePairAndTheOtherLine) {
    const std::string P = "./datasets/random/g_10_2_0.5_3_0.5_2_1_10_20_0_1";
    const std::vector<std::string> pairFiles = {P + "A.csv", P + "B.csv", P + ".csv"};
    std::map<std::string, std::string> normal;
    {
        ScratchDir dir;
        std::filesystem::create_directories("datasets/random");
        ASSERT_EQ(graphgen(pairArgs()).status, 0);
        for (const std::string& file : pairFiles) normal[file] = readFile(file);
        normal["bat.txt"] = readFile("bat.txt");
        normal["score.txt"] = readFile("score.txt");
    }
    for (const std::string failing : {"bat.txt", "score.txt"}) {
        SCOPED_TRACE(failing + " a link to /dev/full");
        ScratchDir dir;
        std::filesystem::create_directories("datasets/random");
        std::filesystem::create_symlink("/dev/full", failing);
        RunResult r = graphgen(pairArgs());
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "Cannot write " + failing + "\n");
        for (const std::string& file : pairFiles) EXPECT_EQ(readFile(file), normal[file]) << file;
        const std::string other = failing == "bat.txt" ? "score.txt" : "bat.txt";
        EXPECT_EQ(readFile(other), normal[other]);
    }
}

TEST(GraphgenPair, WritesThePairAndItsLines) {
    ScratchDir dir;
    std::filesystem::create_directories("datasets/random");
    RunResult r = graphgen(pairArgs());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.substr(0, r.out.find("\n")), "10,0.2,0.5,3,0.5,2,1,10,20,1");
    const std::string P = "./datasets/random/g_10_2_0.5_3_0.5_2_1_10_20_0_1";
    EXPECT_EQ(test::lines(readFile(P + "A.csv")).at(0).substr(0, 3), "11,");
    EXPECT_EQ(test::lines(readFile(P + "B.csv")).at(0).substr(0, 3), "12,");
    EXPECT_EQ(test::lines(readFile(P + ".csv")).size(), 6u + 10u + 1u);
    EXPECT_EQ(readFile("bat.txt"), "\ngraphmat -h 0 -o " + P + "A.csv -n " + P + "B.csv -s 1");
}

// The known matching of a pair, and its count of common nodes whose labels
// differ (line "n,").
struct Known {
    std::set<std::pair<int, int>> pairs;
    int nodeErrors = -1;
};
Known readKnown(const std::string& path) {
    Known known;
    for (const std::string& line : test::lines(readFile(path))) {
        int x, y;
        if (std::sscanf(line.c_str(), "n,%d", &x) == 1) known.nodeErrors = x;
        if (std::sscanf(line.c_str(), "%d,%d", &x, &y) == 2) known.pairs.insert({x, y});
    }
    return known;
}

// The pairs ("ns" rows, fields 1 and 2) of a match result file.
std::set<std::pair<int, int>> matchedPairs(const std::string& path) {
    std::set<std::pair<int, int>> pairs;
    for (const std::string& line : test::lines(readFile(path))) {
        int x, y;
        if (std::sscanf(line.c_str(), "ns,%d,%d,", &x, &y) == 2) pairs.insert({x, y});
    }
    return pairs;
}

// The loop of the README, from the folder that holds ./datasets/random/ and
// ./results/: the command of "bat.txt" as written, then with weights and
// the known matching as start solution, then with weights alone.
TEST(GraphgenLoop, GenerateMatchAndCount) {
    ScratchDir dir;
    std::filesystem::create_directories("datasets/random");
    ASSERT_EQ(graphgen({"pair", "30", "3", "0.9", "3", "0.5", "2", "1", "0", "0", "./datasets/random/g", "3", "0"})
                  .status,
              0);
    const std::string P = "./datasets/random/g_30_3_0.9_3_0.5_2_1_0_0_0_3";
    const Known known = readKnown(P + ".csv");
    ASSERT_EQ(known.pairs.size(), 30u);

    // The command line of "bat.txt", word for word (its program is graphmat).
    std::istringstream command(test::lines(readFile("bat.txt")).back());
    std::vector<std::string> words;
    for (std::string word; command >> word;) words.push_back(word);
    ASSERT_EQ(words.at(0), "graphmat");
    RunResult plain = test::runProgram(GRAPHMAT_BIN, std::vector<std::string>(words.begin() + 1, words.end()));
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.err, test::kFreeEditsLine);  // the command line of "bat.txt" gives no weights
    EXPECT_TRUE(contains(plain.out, "\n G1: 30\t")) << plain.out;
    EXPECT_TRUE(test::fileExists("results/g_30_3_0.9_3_0.5_2_1_0_0_0_3A__g_30_3_0.9_3_0.5_2_1_0_0_0_3B__0__0__0__0__0__1.csv"));

    const std::vector<std::string> weights = {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1"};
    const std::string result =
        "results/g_30_3_0.9_3_0.5_2_1_0_0_0_3A__g_30_3_0.9_3_0.5_2_1_0_0_0_3B__1__0.5__1__1__0__1.csv";
    auto withWeights = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = weights;
        args.insert(args.end(), extra.begin(), extra.end());
        args.insert(args.end(), words.begin() + 1, words.end());
        return test::runProgram(GRAPHMAT_BIN, args);
    };

    // Known matching as start solution: the start step finds the file and
    // every start pair is right; the report is the known matching itself.
    RunResult seeded = withWeights({"-i", "0.5"});
    EXPECT_EQ(seeded.status, 0) << seeded.err;
    EXPECT_EQ(seeded.err, test::knownMatchingReportedLine("0.5", P + ".csv", "1300"));
    EXPECT_TRUE(contains(seeded.out, "\n" + P + ".csv\n MU ACQUIRED \n")) << seeded.out;
    EXPECT_TRUE(contains(seeded.out, "(30)*************")) << seeded.out;
    EXPECT_EQ(matchedPairs(result), known.pairs);

    // The search alone: it matches at least the common nodes whose labels
    // the pair left unchanged.
    RunResult searched = withWeights({});
    EXPECT_EQ(searched.status, 0) << searched.err;
    int right = 0;
    const auto found = matchedPairs(result);
    for (const auto& pair : found) right += known.pairs.count(pair);
    EXPECT_GE(right, 30 - known.nodeErrors);
    std::cout << "matched as known: " << right << " of 30 (" << found.size() << " pairs)\n";
}

}  // namespace
}  // namespace graphmat
