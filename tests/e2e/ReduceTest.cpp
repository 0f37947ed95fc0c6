// End-to-end runs of the reduce executable in a scratch working directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "graph/Graph.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::RunResult;
using test::ScratchDir;

RunResult reduce(const std::vector<std::string>& args) { return test::runProgram(REDUCE_BIN, args); }

using test::contains;

const std::string kOne = "datasets/cdiagrams/eclipse/shop-cd-1.txt";
const std::string kTwo = "datasets/cdiagrams/eclipse/shop-cd-2.txt";

// A scratch directory holding a copy of the shipped class diagram pair.
struct ExampleDir {
    ScratchDir dir;
    ExampleDir() {
        test::copyExampleFiles("datasets", test::exampleDatasetFiles(), "datasets");
    }
};

std::unique_ptr<Graph> readQuietly(int mode, const std::string& path) {
    test::CaptureStdout quiet;
    return std::make_unique<Graph>(mode, path);
}

TEST(ReduceUsage, BadCommandLines) {
    struct Case {
        std::vector<std::string> args;
        std::string problem;
    };
    const std::vector<Case> cases = {
        {{}, "Two graph files are needed"},
        {{"a.txt"}, "Two graph files are needed"},
        {{"a.txt", "b.txt", "c.txt"}, "Two graph files are needed"},
        {{"a.txt", "b.txt", "-h"}, "Switch -h needs a value"},
        {{"-h", "4x", "a.txt", "b.txt"}, "Switch -h: \"4x\" is not a number this switch takes"},
        {{"-h", "13", "a.txt", "b.txt"}, "Switch -h: \"13\" is out of range: a whole number from 0 to 12 (a reader mode)"},
        {{"-h", "7", "a.txt", "b.txt"}, "Switch -h: no reader mode 7"},
        {{"-v", "3", "a.txt", "b.txt"}, "Switch -v: 1 or 2, not 3"},
        {{"-v", "", "a.txt", "b.txt"}, "Switch -v: \"\" is not a number this switch takes"},
        {{"-v", "1.5", "a.txt", "b.txt"}, "Switch -v: \"1.5\" is not a number this switch takes"},
        {{"-x", "1", "a.txt", "b.txt"}, "Unknown switch -x"},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.problem);
        const RunResult r = reduce(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, test::usageLines("reduce") + c.problem + "\n");
    }
}

TEST(ReduceRun, AGraphFileThatDoesNotOpenEndsTheRun) {
    ExampleDir d;
    const RunResult r = reduce({kOne, "missing.txt"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot read missing.txt: No such file or directory\n");
    EXPECT_FALSE(contains(r.out, "TREATMENT OF OBVIOUS"));
}

TEST(ReduceRun, TheExamplePairReducesAndReadsBack) {
    struct Case {
        std::vector<std::string> args;
        int mode;
        std::string leftover;
        int classes;  // leftover classes, the reduced file's first number
    };
    const Case cases[] = {
        {{kOne, kTwo}, 4, "\n leftover 3/5\t3/5\n", 3},
        {{"-h", "9", "-v", "2", kOne, kTwo}, 9, "\n leftover 8/17\t8/17\n", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        ExampleDir d;
        const RunResult r = reduce(c.args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_TRUE(contains(r.out, "\n TREATMENT OF OBVIOUS \n")) << r.out;
        EXPECT_TRUE(contains(r.out, c.leftover)) << r.out;
        for (const std::string name : {"shop-cd-1", "shop-cd-2"}) {
            const std::string path = "results/_" + name + ".txt";
            EXPECT_EQ(test::lines(test::readFile(path))[0], std::to_string(c.classes) + ",0");
            auto back = readQuietly(c.mode, path);
            int classes = 0;
            for (const auto& v : back->V) classes += v->type == 1;
            EXPECT_EQ(classes, c.classes) << path;
        }
        // Mode 4 holds classes only: the leftover count is the vertex count.
        if (c.mode == 4) {
            EXPECT_EQ(readQuietly(4, "results/_shop-cd-2.txt")->V.size(), 3u);
        }
    }
}

TEST(ReduceRun, AGoldFileIsKeptAndTheRunFails) {
    ExampleDir d;
    const std::string gold = "shop.Cart,shop.Basket\n";
    test::writeFile("results/_shop-cd-1__shop-cd-2.csv", gold);
    const RunResult r = reduce({kOne, kTwo});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "./results/_shop-cd-1__shop-cd-2.csv holds lines other than obvious pairs (line 1: "
                                "\"shop.Cart,shop.Basket\"; a gold file?): it is kept and nothing is reduced\n"))
        << r.err;
    EXPECT_EQ(test::readFile("results/_shop-cd-1__shop-cd-2.csv"), gold);
    EXPECT_FALSE(test::fileExists("results/_shop-cd-1.txt"));
}

// reduce's own earlier output with an empty last line (as an editor saves
// it) is still its own output: replaced, not kept as a gold file.
TEST(ReduceRun, AnEarlierOutputWithEmptyLinesIsReplaced) {
    ExampleDir d;
    ASSERT_EQ(reduce({kOne, kTwo}).status, 0);
    const std::string pairs = test::readFile("results/_shop-cd-1__shop-cd-2.csv");
    ASSERT_TRUE(contains(pairs, "ns,"));
    test::writeFile("results/_shop-cd-1__shop-cd-2.csv", pairs + "\n \n");
    const RunResult r = reduce({kOne, kTwo});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::readFile("results/_shop-cd-1__shop-cd-2.csv"), pairs);
}

TEST(ReduceRun, ResultsThatCannotBeWrittenGiveStatusTwo) {
    ScratchDir dir;
    // Folders in the places of two of the three files: they do not open.
    std::filesystem::create_directory("results/_shop-cd-1__shop-cd-2.csv");
    std::filesystem::create_directory("results/_shop-cd-1.txt");
    test::copyExampleFiles("datasets", test::exampleDatasetFiles(), "datasets");
    const RunResult r = reduce({kOne, kTwo});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(contains(r.err, "Cannot write ./results/_shop-cd-1__shop-cd-2.csv\n"));
    EXPECT_TRUE(contains(r.err, "Cannot write ./results/_shop-cd-1.txt\n"));
}

}  // namespace
}  // namespace graphmat
