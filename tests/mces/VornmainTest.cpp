// The experiment entry run as a program: switches, the echo line, the
// appended result line, usage errors and missing graph files.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/TestSupport.h"
#include "graph/stdafx.h"

namespace graphmat {
namespace {

using test::fileExists;
using test::lines;
using test::readFile;
using test::runProgram;
using test::ScratchDir;
using test::writeFile;

const char* kUsage =
    "\nLegal switches:\n-o path of graph 1\n-n path of graph 2\n-t type of algorithm\n"
    "-a randomisation alpha\n-m type of similarity\n-s random seed\n";

class Vornmain : public ::testing::Test {
protected:
    ScratchDir dir;
    void SetUp() override {
        // A triangle with a tail, and the same with one arc relabelled.
        writeFile("a.csv", "4,4\n0,1,1\n1,2,2\n2,0,1\n2,3,3\n");
        writeFile("b.csv", "4,4\n0,1,1\n1,2,2\n2,0,1\n2,3,1\n");
    }
};

std::vector<std::string> fields(const std::string& line) {
    auto pieces = splitString(line, ",");
    return pieces ? *pieces : std::vector<std::string>();
}

TEST_F(Vornmain, DefaultsAndAppendedLines) {
    auto run = runProgram(MCES_BIN, {"-o", "a.csv", "-n", "b.csv"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("-o a.csv -n b.csv -s 1 -t 1 -a 0 -m 0\n", 0), 0u);
    std::vector<std::string> written = lines(readFile("results.csv"));
    ASSERT_EQ(written.size(), 2u);  // one line and the empty rest after its "\n"
    const std::string firstLine = written[0];
    std::vector<std::string> first = fields(written[0]);
    ASSERT_EQ(first.size(), 9u);
    EXPECT_EQ(first[0], "0");
    EXPECT_EQ(first[1], "MCES");
    EXPECT_EQ(first[2], "0");
    EXPECT_EQ(first[3], "1");
    EXPECT_EQ(first[4], "0");  // similarity type 0 gives algorithm 1 nothing to gain
    EXPECT_EQ(first[6], "a");
    EXPECT_EQ(first[7], "1");
    EXPECT_EQ(first[8], "0");

    // Only the first two characters of a switch count.
    run = runProgram(MCES_BIN, {"-tt", "7", "-o", "a.csv", "-alpha", "0.5", "-n", "b.csv", "-m", "40", "-s", "3"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("-o a.csv -n b.csv -s 3 -t 7 -a 0.5 -m 40\n"), std::string::npos);
    EXPECT_NE(run.out.find("\n WON = "), std::string::npos);
    written = lines(readFile("results.csv"));
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(written[0], firstLine);
    std::vector<std::string> second = fields(written[1]);
    ASSERT_EQ(second.size(), 9u);
    EXPECT_EQ(second[2], "0.5");
    EXPECT_EQ(second[3], "3");
    EXPECT_GT(std::stoi(second[4]), 0);
    EXPECT_EQ(second[6], "a");
    EXPECT_EQ(second[7], "7");
    EXPECT_EQ(second[8], "40");
}

TEST_F(Vornmain, SameSeedSameObjective) {
    const std::vector<std::string> args = {"-o", "a.csv", "-n", "b.csv", "-t", "2", "-m", "4", "-a", "1", "-s", "9"};
    ASSERT_EQ(runProgram(MCES_BIN, args).status, 0);
    ASSERT_EQ(runProgram(MCES_BIN, args).status, 0);
    std::vector<std::string> written = lines(readFile("results.csv"));
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(fields(written[0])[4], fields(written[1])[4]);
}

// An algorithm number outside 0 to 9 is no usage error: it selects no
// score, the run ends with status 0 and appends its line with that number;
// the same seed draws the same pairs.
TEST_F(Vornmain, AnAlgorithmNumberOutsideZeroToNineRunsWithoutAScore) {
    for (const std::string algorithm : {"10", "-1", "99"}) {
        std::filesystem::remove("results.csv");
        const std::vector<std::string> args = {"-o", "a.csv", "-n", "b.csv", "-t", algorithm, "-s", "3"};
        for (int time = 0; time < 2; ++time) {
            auto run = runProgram(MCES_BIN, args);
            ASSERT_EQ(run.status, 0) << algorithm << run.err;
            EXPECT_EQ(run.err, "") << algorithm;
            EXPECT_EQ(run.out.rfind("-o a.csv -n b.csv -s 3 -t " + algorithm + " -a 0 -m 0\n", 0), 0u) << algorithm;
        }
        std::vector<std::string> written = lines(readFile("results.csv"));
        ASSERT_EQ(written.size(), 3u) << algorithm;
        const std::vector<std::string> first = fields(written[0]), second = fields(written[1]);
        ASSERT_EQ(first.size(), 9u);
        EXPECT_EQ(first[7], algorithm);
        EXPECT_EQ(first[4], second[4]) << algorithm;
    }
}

TEST_F(Vornmain, UsageErrors) {
    struct Case {
        std::vector<std::string> args;
        std::string fault;  // the line after the usage lines, before the pointer to --help
    };
    const std::vector<Case> cases = {
        {{"-o", "a.csv", "-n"}, "At least 4 arguments are needed, 3 given"},
        {{"-o", "a.csv", "-n", "b.csv", "-x", "1"}, "Unknown switch -x"},  // after valid ones
        {{"-o", "a.csv", "-n", "b.csv", "-s"}, "Switch -s needs a value"},
        {{"-o", "a.csv", "-n", "b.csv", "-", "1"}, "Unknown switch -"},    // a bare dash
        {{"-o", "a.csv", "-t", "7", "-s", "2"}, "Switches -o and -n are needed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        auto run = runProgram(MCES_BIN, c.args);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, kUsage + c.fault + "; mces --help lists every switch\n");
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(fileExists("results.csv"));
    }
}

TEST_F(Vornmain, MissingGraphFile) {
    auto run = runProgram(MCES_BIN, {"-o", "a.csv", "-n", "missing.csv"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("File missing.csv ...Not Found \n"), std::string::npos);
    EXPECT_EQ(run.err, "Cannot read missing.csv: No such file or directory\n");
    EXPECT_FALSE(fileExists("results.csv"));
}

// A plain graph file of graphgen is refused with the command that makes an
// edge list graph file of it; that command, run as printed, gives files that
// mces reads cleanly: the header and the arc lines. A refused file of
// another kind gets no such command.
TEST_F(Vornmain, APlainGraphFileIsRefusedWithTheCommandThatMakesAnEdgeList) {
    auto generated = runProgram(GRAPHGEN_BIN, {"pair", "30", "3", "0.9", "3", "0.5", "2", "1", "0", "0", "g", "3", "0"});
    ASSERT_EQ(generated.status, 0) << generated.err;
    const std::string stem = "g_30_3_0.9_3_0.5_2_1_0_0_0_3";
    const std::string conversion = "awk -F, 'NR == 1 { n = $1 } NR == 1 || NR > n + 1' ";
    auto refused = runProgram(MCES_BIN, {"-o", stem + "A.csv", "-n", stem + "B.csv", "-t", "7", "-m", "80"});
    EXPECT_EQ(refused.status, 1);
    for (const std::string side : {"A", "B"}) {
        const std::string path = stem + side + ".csv";
        const std::string pointer = "Graph file " + path +
                                    ": make an edge list graph file of a plain graph file by dropping its vertex "
                                    "lines: " + conversion + path + " > EDGE_LIST.csv\n";
        EXPECT_TRUE(test::contains(refused.err, "Graph file " + path +
                                                    " is not used: mces reads edge list graph files (reader mode 6)\n" +
                                                    pointer))
            << refused.err;
        const std::string command = conversion + path + " > " + side + ".csv";
        ASSERT_EQ(runProgram("/bin/sh", {"-c", command}).status, 0) << command;

        // The header and the arcs, in their order.
        const std::vector<std::string> plain = lines(readFile(path));
        const std::size_t vertices = std::stoul(plain[0]);
        std::vector<std::string> expected = {plain[0]};
        expected.insert(expected.end(), plain.begin() + 1 + vertices, plain.end());
        EXPECT_EQ(lines(readFile(side + ".csv")), expected) << side;
    }
    EXPECT_FALSE(fileExists("results.csv"));

    auto converted = runProgram(MCES_BIN, {"-o", "A.csv", "-n", "B.csv", "-t", "7", "-m", "80"});
    EXPECT_EQ(converted.status, 0);
    EXPECT_EQ(converted.err, "");
    const std::vector<std::string> written = lines(readFile("results.csv"));
    ASSERT_EQ(written.size(), 2u);
    const std::vector<std::string> result = fields(written[0]);
    ASSERT_EQ(result.size(), 9u);
    EXPECT_EQ(result[6], "A");
    EXPECT_EQ(result[4], "28") << "the gain docs/USAGE.md shows";

    // A model graph file has no vertex lines to drop: no command.
    auto model = runProgram(MCES_BIN, {"-o", test::exampleFile("shop-v1.txt"), "-n", "B.csv"});
    EXPECT_EQ(model.status, 1);
    EXPECT_TRUE(test::contains(model.err, "is not used: mces reads edge list graph files (reader mode 6)\n"))
        << model.err;
    EXPECT_FALSE(test::contains(model.err, "awk")) << model.err;
}

TEST_F(Vornmain, UnwritableResultFile) {
    std::filesystem::create_directory("results.csv");
    auto run = runProgram(MCES_BIN, {"-o", "a.csv", "-n", "b.csv"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "Cannot write results.csv\n");
}

}  // namespace
}  // namespace graphmat
