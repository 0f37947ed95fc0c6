// A file-size cap (ulimit -f, as batch systems set): a write that passes
// it fails like one on a full disk, in every program that writes files.
// The file is named on standard error with the system's reason, the run
// goes on and ends with status 2; the process is never killed by the cap.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::contains;
using test::RunOptions;
using test::RunResult;
using test::ScratchDir;

// The console goes to the null device, which no cap limits.
RunOptions capped(unsigned long bytes) {
    RunOptions options{"/dev/null", 120};
    options.fileSizeLimit = bytes;
    return options;
}

// Every "Cannot write" line of standard error gives the reason of the cap.
void expectEveryFailureGivesTheCap(const std::string& err, const std::string& what) {
    std::istringstream lines(err);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("Cannot write ", 0) != 0) continue;
        EXPECT_EQ(line.substr(line.size() - 16), ": File too large") << what << ": " << line;
    }
}

std::uintmax_t sizeOf(const std::string& path) { return std::filesystem::file_size(path); }

struct CapCase {
    std::string what;
    std::string program;
    std::vector<std::string> args;
    unsigned long cap;
    std::string named;  // a file that the cap stops
};

TEST(FileSizeCap, EveryProgramNamesTheFileWithTheReasonAndEndsWithStatus2) {
    ScratchDir dir;
    const std::string v1 = test::exampleFile("shop-v1.txt"), v2 = test::exampleFile("shop-v2.txt");
    for (const char* folder : {"results", "graphs", "logs", "benchmark", "datasets/random"})
        std::filesystem::create_directories(folder);
    test::writeFile("a.csv", "2,1\n0,a\n1,b\n0,1,1\n");
    test::writeFile("log.txt", "n,0,0\nn,1,1\n");
    test::writeFile("e.csv", "2,1\n0,1,1\n");
    test::writeFile("g6.csv", "6,3\n0,a\n1,b\n2,c\n3,d\n4,e\n5,f\n0,1,1\n1,2,1\n2,3,1\n");
    test::copyExampleFiles("evaluation", {"datasets/shop/v1.txt", "datasets/shop/v2.txt"});
    test::writeFile("results/v1__v2__1__0.5__1__1__0__1.csv", "ns,0,0,a,a\n");
    test::writeFile("results/_v1__v2.csv", "");
    // Appended files already at the cap: the line of this run passes it.
    test::writeFile("results.csv", std::string(64, 'x'));
    test::writeFile("eval_results.csv", std::string(64, 'x'));
    const std::vector<CapCase> cases = {
        {"graphmat", GRAPHMAT_BIN, {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-o", v1, "-n", v2}, 2048,
         "./results/sem_shop-v1__shop-v2_PAIRS.csv"},
        {"mces (appended)", MCES_BIN, {"-o", "e.csv", "-n", "e.csv", "-t", "7"}, 64, "results.csv"},
        {"graphstats", GRAPHSTATS_BIN, {"-h", "12", v1}, 100, "./graphs/shop-v1.csv"},
        {"graphgen pair", GRAPHGEN_BIN, {"pair", "100", "3", "0.9", "3", "0.5", "2", "1", "0", "0", "./datasets/random/g", "3", "0"},
         1024, "./datasets/random/g_100_3_0.9_3_0.5_2_1_0_0_0_3A.csv"},
        {"graphgen noise", GRAPHGEN_BIN, {"noise", "1", "20", "3", "7"}, 256, "./benchmark/original_1.txt"},
        {"graphgen shuffle", GRAPHGEN_BIN, {"shuffle", "0", "g6.csv", "7", "shuffled.csv"}, 16, "shuffled.csv"},
        {"graphgen mutate", GRAPHGEN_BIN, {"mutate", "0", "g6.csv", "0.1", "0.1", "0.05", "1", "7", "m.csv", "m.log"}, 16,
         "m.log"},
        {"evaluate (appended)", EVALUATE_BIN, {"v1__v2__1__0.5__1__1__0__1.csv", "shop"}, 64, "./eval_results.csv"},
        {"logcost", LOGCOST_BIN, {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-o", "a.csv", "-n", "a.csv", "-p",
                                  "log.txt"},
         16, "./results/sem_a__a_PAIRS.csv"},
        {"reduce", REDUCE_BIN, {"-h", "4", test::exampleFile("library-v1.txt"), test::exampleFile("library-v2.txt")},
         64, "./results/_library-v1__library-v2.csv"},
    };
    for (const CapCase& c : cases) {
        RunResult r = test::runProgram(c.program, c.args, capped(c.cap));
        EXPECT_EQ(r.status, 2) << c.what << r.err;
        EXPECT_TRUE(contains(r.err, "Cannot write " + c.named + ": File too large\n")) << c.what << r.err;
        expectEveryFailureGivesTheCap(r.err, c.what);
    }
    // The appended files kept what they held: the line did not fit.
    EXPECT_EQ(test::readFile("results.csv"), std::string(64, 'x'));
    EXPECT_EQ(test::readFile("eval_results.csv"), std::string(64, 'x'));
    // A file stopped by the cap is left as far as it was written: cut at the
    // cap. graphgen pair removes the files of a pair it could not write whole.
    EXPECT_EQ(sizeOf("results/sem_shop-v1__shop-v2_PAIRS.csv"), 2048u);
    EXPECT_EQ(sizeOf("benchmark/original_1.txt"), 256u);
    EXPECT_FALSE(std::filesystem::exists("datasets/random/g_100_3_0.9_3_0.5_2_1_0_0_0_3A.csv"));

    // Under a cap that every file fits, the run is the run without one.
    const std::vector<std::string> shop = {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-o", v1, "-n", v2};
    RunResult roomy = test::runProgram(GRAPHMAT_BIN, shop, capped(16u << 20));
    EXPECT_EQ(roomy.status, 0) << roomy.err;
    const std::string pairs = test::readFile("results/sem_shop-v1__shop-v2_PAIRS.csv");
    RunResult free = test::runProgram(GRAPHMAT_BIN, shop, {"/dev/null", 120});
    EXPECT_EQ(free.status, 0) << free.err;
    EXPECT_EQ(test::readFile("results/sem_shop-v1__shop-v2_PAIRS.csv"), pairs);
}

// The tracker writes its reports under ./results/ of its series folder.
TEST(FileSizeCap, TheTrackerNamesTheReportTheCapStops) {
    ScratchDir dir;
    test::copyExampleFiles("series", test::exampleSeriesFiles());
    std::filesystem::create_directories("results");
    RunResult r = test::runProgram(TUNNEL_BIN, {"series.txt"}, capped(512));
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_TRUE(contains(r.err, "Cannot write ./results/tunnel_shop-4.csv: File too large\n")) << r.err;
    expectEveryFailureGivesTheCap(r.err, "tunnel");
}

// Files whose size is known before they are written (the adjacency matrix
// file, the matrix files of graphgen pair) are checked against the cap
// first: nothing is emptied, and an earlier file of that name stays whole.
TEST(FileSizeCap, AFileOfKnownSizeBeyondTheCapIsNamedBeforeItIsEmptied) {
    ScratchDir dir;
    const std::string v1 = test::exampleFile("shop-v1.txt");
    ASSERT_EQ(test::runProgram(GRAPHSTATS_BIN, {"-h", "12", "-k", "matrix", v1}, {"/dev/null", 120}).status, 0);
    const std::string matrix = test::readFile("mshop-v1");
    ASSERT_GT(matrix.size(), 4096u);
    RunResult r = test::runProgram(GRAPHSTATS_BIN, {"-h", "12", "-k", "matrix", v1}, capped(4096));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Cannot write mshop-v1: File too large\n");
    EXPECT_EQ(test::readFile("mshop-v1"), matrix);
    // A cap the file fits: written as without one.
    RunResult fits = test::runProgram(GRAPHSTATS_BIN, {"-h", "12", "-k", "matrix", v1}, capped(matrix.size()));
    EXPECT_EQ(fits.status, 0) << fits.err;
    EXPECT_EQ(test::readFile("mshop-v1"), matrix);

    // graphgen pair of one label, undirected, writes three matrix files:
    // named together before anything is drawn; nothing is written.
    std::filesystem::create_directories("datasets/random");
    const std::vector<std::string> pair = {"pair", "100", "3", "0.9", "1", "1", "1", "1", "0", "0", "./datasets/random/h", "3", "1"};
    RunResult g = test::runProgram(GRAPHGEN_BIN, pair, capped(4096));
    EXPECT_EQ(g.status, 2);
    const std::string stem = "./datasets/random/h_100_3_0.9_1_1_1_1_0_0_1_3";
    EXPECT_EQ(g.err, "Cannot write " + stem + "mA.csv: File too large\nCannot write " + stem +
                         "mB.csv: File too large\nCannot write " + stem + "C.csv: File too large\n");
    EXPECT_TRUE(std::filesystem::is_empty("datasets/random"));
    EXPECT_FALSE(std::filesystem::exists("bat.txt"));
}

// Standard output redirected to a file under the cap (graphstats -k print
// writes the graph on the console alone): named with the reason; the file
// holds the console's text up to the cap.
TEST(FileSizeCap, TheConsoleRedirectedToAFileIsNamedWithTheReason) {
    ScratchDir dir;
    const std::vector<std::string> print = {"-h", "12", "-k", "print", test::exampleFile("shop-v1.txt")};
    RunResult whole = test::runProgram(GRAPHSTATS_BIN, print);
    ASSERT_EQ(whole.status, 0);
    ASSERT_GT(whole.out.size(), 1024u);
    RunOptions options{"console.txt", 120};
    options.fileSizeLimit = 1024;
    RunResult r = test::runProgram(GRAPHSTATS_BIN, print, options);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Cannot write the standard output: File too large\n");
    EXPECT_EQ(test::readFile("console.txt"), whole.out.substr(0, 1024));
}

}  // namespace
}  // namespace graphmat
