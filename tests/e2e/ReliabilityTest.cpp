// Failures of both programs that must end promptly with their message and
// status, never with a signal nor as success: switch values that are not
// numbers, counts of a file that no memory or disk can hold, and result
// files whose writing fails (a full disk, /dev/full).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iostream>
#include <regex>
#include <string>
#include <vector>

#include "graph/CapacityChecks.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::RunResult;
using test::ScratchDir;

const std::string kGraphmatUsage =
    "\nLegal switches:\n-o path of graph 1 \n-n path of graph 2\n-m path of similarity file\n"
    "-d direction of similarity file\n-s random seed\n";
const std::string kMcesUsage =
    "\nLegal switches:\n-o path of graph 1\n-n path of graph 2\n-t type of algorithm\n"
    "-a randomisation alpha\n-m type of similarity\n-s random seed\n";

using test::contains;

std::string refused(char letter, const std::string& value) {
    return std::string("Switch -") + letter + ": \"" + value + "\" is not a number this switch takes\n";
}

// A whole number beyond int, given to a whole-number switch (the reader
// mode names its own range).
std::string outOfRange(char letter, const std::string& value) {
    const std::string range = letter == 'h' ? "0 to 12 (a reader mode)" : "-2147483648 to 2147483647";
    return std::string("Switch -") + letter + ": \"" + value + "\" is out of range: a whole number from " + range +
           "\n";
}

TEST(BadSwitchValues, GraphmatRefusesEveryValueThatIsNotAFiniteNumber) {
    ScratchDir dir;
    const std::string realSwitches = "dgeyci";
    const std::string wholeSwitches = "hslru";
    const std::vector<std::string> notNumbers = {"nan", "inf", "-inf", "1e999", "abc", "", "12abc", "0x"};
    for (char letter : realSwitches + wholeSwitches) {
        std::vector<std::string> values = notNumbers;
        if (wholeSwitches.find(letter) != std::string::npos) {
            values.push_back("1.5");          // a whole number is expected
            values.push_back("99999999999");  // beyond int
        }
        for (const std::string& value : values) {
            const std::string sw = std::string("-") + letter;
            RunResult r = test::runProgram(GRAPHMAT_BIN, {sw, value, "-o", "A.txt", "-n", "B.txt"});
            EXPECT_EQ(r.status, 1) << sw << " " << value;
            const std::string reason = value == "99999999999" ? outOfRange(letter, value) : refused(letter, value);
            EXPECT_EQ(r.err, kGraphmatUsage + reason) << sw << " " << value;
            EXPECT_FALSE(contains(r.out, "File ")) << sw << " " << value;  // no graph is read
        }
    }
}

TEST(BadSwitchValues, GraphmatKeepsNegativeAndTinyNumbersAndWholeValuesWrittenAsReals) {
    ScratchDir dir;
    test::writeFile("A.txt", "2,1\np,0,.\nc,1,Foo\nr,0,1,9\n");
    test::writeFile("B.txt", "2,1\np,0,.\nc,1,Foo\nr,0,1,9\n");
    // -u 1 ends the run after the graphs with status 1 (the difference road).
    RunResult r = test::runProgram(
        GRAPHMAT_BIN, {"-d", "-2", "-g", "1e-999", "-s", "3.0", "-h", "12", "-u", "1", "-o", "A.txt", "-n", "B.txt"});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(contains(r.err, "Switch -")) << r.err;
    EXPECT_TRUE(contains(r.err, "raw_A__B__-2__0__0__0__0__3.csv")) << r.err;
}

TEST(BadSwitchValues, McesRefusesEveryValueThatIsNotAFiniteNumber) {
    ScratchDir dir;
    struct Case {
        char letter;
        std::string value;
    };
    const std::vector<Case> cases = {
        {'s', "nan"}, {'s', "1.5"}, {'t', "abc"}, {'t', "inf"}, {'m', "1e999"}, {'m', ""},
        {'a', "nan"}, {'a', "-inf"}, {'a', "1e300"},  // beyond float
        {'a', "0.5x"},
    };
    for (const Case& c : cases) {
        RunResult r = test::runProgram(MCES_BIN, {"-o", "a.csv", "-n", "b.csv", std::string("-") + c.letter, c.value});
        EXPECT_EQ(r.status, 1) << c.letter << " " << c.value;
        EXPECT_EQ(r.err, kMcesUsage + refused(c.letter, c.value)) << c.letter << " " << c.value;
        EXPECT_EQ(r.out, "") << c.letter << " " << c.value;
        EXPECT_FALSE(test::fileExists("results.csv"));
    }
}

// A header that announces 2,000,000,000 vertices of an edge list graph file
// (which makes them from its header alone): no machine holds them, so the
// run ends at the header, naming the file and the count.
TEST(CountsBeyondMemory, AHugeVertexCountEndsTheRunAtTheHeader) {
    ScratchDir dir;
    test::writeFile("huge.txt", "2000000000,0\n");
    test::writeFile("small.txt", "2,1\n0,1,1\n");
    struct Case {
        std::string program;
        std::vector<std::string> args;
        std::string source;  // how the message names the input
    };
    const std::vector<Case> cases = {
        {GRAPHMAT_BIN, {"-h", "6", "-o", "small.txt", "-n", "huge.txt"}, "Graph file huge.txt: "},
        {GRAPHMAT_BIN, {"-h", "6", "-o", "huge.txt", "-n", "small.txt"}, "Graph file huge.txt: "},
        {GRAPHMAT_BIN, {"-h", "7", "-o", "2000000000,0", "-n", "2,0"}, "Graph text: "},
        {MCES_BIN, {"-o", "huge.txt", "-n", "small.txt"}, "Graph file huge.txt: "},
    };
    for (const Case& c : cases) {
        const std::string what = ::testing::PrintToString(c.args);
        RunResult r = test::runProgram(c.program, c.args);
        EXPECT_EQ(r.status, 1) << what;
        ASSERT_EQ(test::lines(r.err).size(), 2u) << what << r.err;
        EXPECT_EQ(r.err.rfind(c.source + "needs ", 0), 0u) << what << r.err;
        EXPECT_TRUE(contains(r.err, " GB for 2000000000 vertices; this machine has ")) << what << r.err;
        EXPECT_FALSE(contains(r.out, "No Matching Cost")) << what;
        EXPECT_FALSE(test::fileExists("results.csv")) << what;
    }
}

// Two graphs of 60,000 vertices each fit as vertices, but not as the dense
// tables over their 3.6 billion vertex pairs that the common-edge-subgraph
// matcher, the assignment starts and the single assignment need.
struct PairTableCase {
    std::string name;
    std::string program;
    std::vector<std::string> args;
    std::string table;
};

void PrintTo(const PairTableCase& c, std::ostream* out) { *out << c.name; }

class PairTablesBeyondMemory : public ::testing::TestWithParam<PairTableCase> {};

TEST_P(PairTablesBeyondMemory, EndTheRunBeforeAllocation) {
    const PairTableCase& c = GetParam();
    ScratchDir dir;
    test::writeFile("wide.txt", "60000,0\n");
    std::filesystem::create_directories("datasets/random");
    test::writeFile("datasets/random/wid.csv", "");  // the known matching of the start modes, without pairs
    RunResult r = test::runProgram(c.program, c.args);
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> errors = test::lines(r.err);
    ASSERT_GE(errors.size(), 2u) << r.err;
    const std::string& last = errors[errors.size() - 2];  // the text ends with a line feed
    EXPECT_EQ(last.rfind("needs ", 0), 0u) << r.err;
    EXPECT_TRUE(contains(last, " GB for " + c.table + " vertex pairs; this machine has ")) << r.err;
    EXPECT_FALSE(contains(r.out, "\n\n\nMatching Cost : "));
    EXPECT_FALSE(test::fileExists("results.csv"));
}

const std::vector<std::string> kWide = {"-o", "wide.txt", "-n", "wide.txt"};

std::vector<std::string> wideRun(std::vector<std::string> switches) {
    switches.insert(switches.end(), kWide.begin(), kWide.end());
    return switches;
}

INSTANTIATE_TEST_SUITE_P(
    Tables, PairTablesBeyondMemory,
    ::testing::Values(PairTableCase{"Mces", MCES_BIN, kWide, "60001 x 60001"},
                      PairTableCase{"StartMode0", GRAPHMAT_BIN, wideRun({"-h", "6", "-i", "0"}), "60001 x 60001"},
                      PairTableCase{"StartMode2", GRAPHMAT_BIN, wideRun({"-h", "6", "-i", "2"}), "60001 x 60001"},
                      PairTableCase{"StartMode3", GRAPHMAT_BIN, wideRun({"-h", "6", "-i", "3"}), "60001 x 60001"},
                      PairTableCase{"StartMode5", GRAPHMAT_BIN, wideRun({"-h", "6", "-i", "5"}), "60001 x 60001"},
                      PairTableCase{"SingleAssignment", GRAPHMAT_BIN, wideRun({"-h", "6", "-m", "sim.txt"}),
                                    "60000 x 60000"}),
    [](const ::testing::TestParamInfo<PairTableCase>& info) { return info.param.name; });

// An adjacency matrix grows with the square of a header's vertex count: a
// count whose matrix needs four times the free space of the test's disk
// (an edge list file of ten bytes in mode 6, where the header alone makes
// the vertices) is refused before the file is made, with one line, and an
// earlier matrix of that graph stays; a small graph's matrix is written as
// it always was. What the refused run cost is reported as figures of this
// run (its time and memory are those of reading the vertices).
TEST(MatrixFilesBeyondTheDisk, AHeaderCountIsRefusedBeforeTheMatrixIsWritten) {
    ScratchDir dir;
    const double free = freeDiskBytes(".");
    if (!std::isfinite(free)) GTEST_SKIP() << "the disk of the test does not say its free space";
    const double count = std::ceil(std::sqrt(4 * free / 3));
    if (count > 2e6) GTEST_SKIP() << "a disk this free needs a count of more than two million vertices";
    const std::string n = std::to_string(static_cast<long long>(count));
    test::writeFile("huge6.txt", n + ",0\n");
    test::writeFile("mhuge6", "earlier\n");
    // Under a limit of a megabyte per file, so that a run that wrote the
    // matrix all the same ends there (killed: status -1) instead of
    // filling the disk.
    RunResult r = test::runProgram(
        "/bin/bash", {"-c", "ulimit -f 1024 && exec \"$0\" -h 6 -k matrix huge6.txt", GRAPHSTATS_BIN}, {"", 120});
    RecordProperty("vertices", n);
    RecordProperty("seconds", std::to_string(r.seconds));
    RecordProperty("peak_MB", std::to_string(r.peakKilobytes / 1024));
    std::cout << "[ figures  ] " << n << " vertices refused in " << r.seconds << " s, peak "
              << r.peakKilobytes / 1024 << " MB\n";
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_TRUE(std::regex_match(r.err, std::regex("needs [0-9.e+-]+ GB for the adjacency matrix file mhuge6 of " +
                                                   n + " x " + n + " vertex pairs; the disk has [0-9.e+-]+ GB free\n")))
        << r.err;
    const std::string earlier = test::readFile("mhuge6");
    EXPECT_TRUE(earlier == "earlier\n") << "mhuge6 now holds " << earlier.size() << " bytes";

    test::writeFile("small.txt", "3,3\n0,a\n1,b\n2,c\n0,1,1\n1,2,12\n2,2,3\n");
    r = test::runProgram(GRAPHSTATS_BIN, {"-h", "0", "-k", "matrix", "small.txt"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(test::readFile("msmall"), "0  1  0  \n0  0  12  \n0  0  3  \n");
}

// Every result file of a default run made a link to /dev/full: each is
// named, and the run ends with status 2 instead of 0.
TEST(FullDisk, EveryResultFileThatCannotBeWrittenIsNamedAndTheRunEndsWithStatusTwo) {
    ScratchDir dir;
    const std::vector<std::string> args = {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1",
                                           "-o", test::exampleFile("shop-v1.txt"),
                                           "-n", test::exampleFile("shop-v2.txt")};
    ASSERT_EQ(test::runProgram(GRAPHMAT_BIN, args).status, 0);
    // An empty file writes nothing, so only files with content can fail.
    std::vector<std::string> written;
    for (const auto& entry : std::filesystem::directory_iterator("results"))
        if (entry.file_size() > 0) written.push_back(entry.path().string());
    ASSERT_GE(written.size(), 4u);
    for (const std::string& path : written) {
        std::filesystem::remove(path);
        std::filesystem::create_symlink("/dev/full", path);
    }
    RunResult r = test::runProgram(GRAPHMAT_BIN, args);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(contains(r.out, "\n\n\nMatching Cost : "));
    for (const std::string& path : written)
        EXPECT_TRUE(contains(r.err, "Cannot write ./" + path + "\n")) << path << "\n" << r.err;
}

TEST(FullDisk, McesNamesAResultFileThatCannotBeWritten) {
    ScratchDir dir;
    test::writeFile("a.csv", "3,2\n0,1,1\n1,2,2\n");
    std::filesystem::create_symlink("/dev/full", "results.csv");
    RunResult r = test::runProgram(MCES_BIN, {"-o", "a.csv", "-n", "a.csv"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Cannot write results.csv\n");
}

TEST(FullDisk, AConsoleThatCannotBeWrittenEndsWithStatusTwo) {
    ScratchDir dir;
    test::writeFile("a.csv", "3,2\n0,1,1\n1,2,2\n");
    const std::string command = std::string(MCES_BIN) + " -o a.csv -n a.csv > /dev/full";
    RunResult r = test::runProgram("/bin/sh", {"-c", command});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Cannot write the standard output\n");
}

}  // namespace
}  // namespace graphmat
