// End-to-end runs of graphgen noise, mutate and shuffle: usage errors,
// written files, same seed same files, outputs that cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
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

const char* const GRAPH = "4,4\n0,a\n1,b\n2,c\n3,d\n0,1,1\n1,2,2\n2,3,1\n3,0,2\n";

std::vector<std::string> mutateArgs(std::map<int, std::string> changes = {}) {
    std::vector<std::string> args = {"mutate", "0", "g.txt", "0.3", "0.3", "0.2", "1", "7", "new.txt", "log.txt"};
    for (const auto& [index, word] : changes) args[index] = word;
    return args;
}

TEST(GraphgenMutationUsage, BadCommandLines) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
        std::string usage;
    };
    const std::string noiseUsage = "Usage: graphgen noise k v epsilon seed\n";
    const std::string mutateUsage = "Usage: graphgen mutate mode graph delNodes addNodes edgeNoise nodeMode seed output log\n";
    const std::string shuffleUsage = "Usage: graphgen shuffle mode graph seed output\n";
    const std::vector<Case> cases = {
        {{"noise", "1", "5"}, "graphgen noise: expected 4 parameters, got 2\n", noiseUsage},
        {{"noise", "1", "five", "2", "1"}, "graphgen noise: v must be a whole number, not 'five'\n", noiseUsage},
        {{"noise", "1", "0", "2", "1"}, "graphgen noise: v must lie between 1 and 1000\n", noiseUsage},
        {{"noise", "1", "1001", "2", "1"}, "graphgen noise: v must lie between 1 and 1000\n", noiseUsage},
        {{"noise", "1", "5", "2.5", "1"}, "graphgen noise: epsilon must be a whole number, not '2.5'\n", noiseUsage},
        {mutateArgs({{1, "13"}}), "graphgen mutate: mode must be a reader mode 0 to 12, not '13'\n", mutateUsage},
        {mutateArgs({{3, "1.5"}}), "graphgen mutate: delNodes must lie between 0 and 1\n", mutateUsage},
        {mutateArgs({{4, "nan"}}), "graphgen mutate: addNodes must be a finite number, not 'nan'\n", mutateUsage},
        {mutateArgs({{5, "-0.1"}}), "graphgen mutate: edgeNoise must lie between 0 and 1\n", mutateUsage},
        {mutateArgs({{6, "2"}}), "graphgen mutate: nodeMode must be 0 or 1, not '2'\n", mutateUsage},
        {mutateArgs({{7, "s"}}), "graphgen mutate: seed must be a whole number, not 's'\n", mutateUsage},
        {mutateArgs({{9, ""}}), "graphgen mutate: output and log must not be empty\n", mutateUsage},
        {{"shuffle", "0", "g.txt", "x", "out.txt"}, "graphgen shuffle: seed must be a whole number, not 'x'\n",
         shuffleUsage},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        std::filesystem::create_directory("benchmark");
        test::writeFile("g.txt", GRAPH);
        const RunResult r = graphgen(c.args);
        EXPECT_EQ(r.status, 1) << ::testing::PrintToString(c.args);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.substr(0, r.err.find("Usage:")), c.message) << ::testing::PrintToString(c.args);
        EXPECT_TRUE(contains(r.err, c.usage));
        EXPECT_TRUE(std::filesystem::is_empty("benchmark"));
        EXPECT_FALSE(test::fileExists("new.txt"));
    }
}

TEST(GraphgenNoise, WritesThePairAndTheLogSameSeedSameFiles) {
    std::map<std::string, std::string> first;
    for (int run = 0; run < 2; ++run) {
        ScratchDir dir;
        std::filesystem::create_directory("benchmark");
        const RunResult r = graphgen({"noise", "2", "6", "3", "9"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(contains(r.out, "nodes written\nedges written\n"));
        for (const std::string name : {"original_2.txt", "noisy_2.txt", "log_2.txt"}) {
            const std::string text = readFile("benchmark/" + name);
            EXPECT_FALSE(text.empty()) << name;
            if (run == 0) first[name] = text;
            else EXPECT_EQ(text, first[name]) << name;
        }
        EXPECT_EQ(test::lines(first["log_2.txt"]).at(0), "nd,0");
    }
}

TEST(GraphgenNoise, AMissingBenchmarkFolderEndsWithStatusTwo) {
    ScratchDir dir;
    const RunResult r = graphgen({"noise", "1", "3", "0", "1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Folder ./benchmark/ is missing: make it with mkdir -p benchmark\n");
}

TEST(GraphgenNoise, AnOutputThatCannotBeWrittenEndsWithStatusTwo) {
    ScratchDir dir;
    std::filesystem::create_directories("benchmark/log_1.txt");  // a folder in the log's place
    const RunResult r = graphgen({"noise", "1", "3", "0", "1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Cannot write ./benchmark/log_1.txt: Is a directory\n");
    EXPECT_FALSE(test::fileExists("benchmark/original_1.txt"));
    EXPECT_FALSE(test::fileExists("benchmark/noisy_1.txt"));
}

TEST(GraphgenMutate, WritesTheCopyTheLogAndTheNodeTable) {
    std::map<std::string, std::string> first;
    for (int run = 0; run < 2; ++run) {
        ScratchDir dir;
        std::filesystem::create_directory("logs");
        test::writeFile("g.txt", GRAPH);
        const RunResult r = graphgen(mutateArgs());
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(contains(r.out, "Merged : 0\nSplitted : 0\n"));
        const std::vector<std::string> log = test::lines(readFile("log.txt"));
        ASSERT_GE(log.size(), 7u);
        EXPECT_EQ(log[0].substr(0, 3), "nd,");
        EXPECT_EQ(test::lines(readFile("logs/log_mutation.csv")).size(), 4u + 1u);  // and the final empty piece
        for (const std::string name : {"new.txt", "log.txt", "logs/log_mutation.csv"}) {
            if (run == 0) first[name] = readFile(name);
            else EXPECT_EQ(readFile(name), first[name]) << name;
        }
    }
}

TEST(GraphgenMutate, InputsThatCannotBeMutated) {
    ScratchDir dir;
    std::filesystem::create_directory("logs");
    RunResult r = graphgen(mutateArgs({{2, "missing.txt"}}));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "Cannot read missing.txt: No such file or directory\n")) << r.err;

    test::writeFile("empty.txt", "0,0\n");
    r = graphgen(mutateArgs({{2, "empty.txt"}}));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "graphgen mutate: empty.txt: the graph to mutate has no vertices\n")) << r.err;
    EXPECT_FALSE(test::fileExists("new.txt"));

    test::writeFile("g.txt", GRAPH);
    std::filesystem::create_directory("blocked.txt");  // a folder in the output's place
    r = graphgen(mutateArgs({{8, "blocked.txt"}}));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Cannot write blocked.txt: Is a directory\n");
    EXPECT_FALSE(test::fileExists("log.txt"));
    EXPECT_FALSE(test::fileExists("logs/log_mutation.csv"));
}

TEST(GraphgenShuffle, WritesARenumberedCopy) {
    ScratchDir dir;
    test::writeFile("g.txt", GRAPH);
    const RunResult r = graphgen({"shuffle", "0", "g.txt", "3", "out.txt"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> rows = test::lines(readFile("out.txt"));
    ASSERT_GE(rows.size(), 9u);
    EXPECT_EQ(rows[0], "4,4");
    // Vertex p is labelled with its old number: the labels are 0..3 once each.
    std::vector<std::string> labels;
    for (int p = 1; p <= 4; ++p) labels.push_back(rows[p].substr(rows[p].find(',') + 1));
    std::sort(labels.begin(), labels.end());
    EXPECT_EQ(labels, (std::vector<std::string>{"0", "1", "2", "3"}));
}

}  // namespace
}  // namespace graphmat
