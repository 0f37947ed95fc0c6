// Result files as every program writes them: a named pipe without a reader
// in a result file's place is named instead of waited for (the other
// results are written as usual), and a run refused for one of its inputs
// leaves the results of an earlier run as they were, because every input
// is read and checked before the first result file is emptied.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "e2e/ProgramInputs.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

namespace fs = std::filesystem;

using test::contains;
using test::kRunName;
using test::layInputs;
using test::RunResult;
using test::runBounded;
using test::ScratchDir;
using test::weighted;

// The text without every line that is `line`.
std::string withoutLine(const std::string& text, const std::string& line) {
    std::string rest = text;
    for (std::size_t at = rest.find(line); at != std::string::npos; at = rest.find(line)) rest.erase(at, line.size());
    return rest;
}

// The working folder as treeHere sees it, `left` left out.
std::map<std::string, std::string> treeWithout(const std::string& left) { return test::treeHere({left}); }

const std::vector<std::string> kPlainPair = weighted({"-h", "0", "-o", "gA.csv", "-n", "gB.csv"});
const std::vector<std::string> kClassDiagramPair = weighted({"-h", "4", "-o", "lib1.txt", "-n", "lib2.txt"});
const std::vector<std::string> kUmlReport = weighted({"-h", "4", "-w", "1", "-o", "lib1.txt", "-n", "lib2.txt"});
const std::vector<std::string> kDiagramDifference =
    weighted({"-h", "4", "-u", "1", "-o", "lib1.txt", "-n", "lib2.txt"});
const std::vector<std::string> kEvaluation = {"v1__v2" + kRunName, "shop"};
const std::vector<std::string> kLogcost = weighted({"-o", "old.csv", "-n", "new.csv", "-p", "log.txt"});
const std::vector<std::string> kReduce = {"cd/shop-cd-1.txt", "cd/shop-cd-2.txt"};
const std::vector<std::string> kMutate = {"mutate", "0", "gA.csv", "0.1", "0.1", "0.05", "1", "7", "m.txt", "m.log"};

// An earlier matching run of the class diagram pair, whose raw lists the
// diagram difference report reads.
void earlierClassDiagramRun() { test::runProgram(GRAPHMAT_BIN, kClassDiagramPair); }

struct PipeCase {
    std::string what;
    std::string program;
    std::vector<std::string> args;
    std::string result;  // the result file that becomes a named pipe without a reader
    std::string named;   // as the message names it
    std::function<void()> prepare = nullptr;
    // graphgen checks its outputs before any work: it writes nothing at all.
    bool checkedFirst = false;
};

void PrintTo(const PipeCase& c, std::ostream* out) { *out << c.what; }

const std::string kLibRun = "results/raw_lib1__lib2" + kRunName;

// A named pipe without a reader in place of a result file hung every
// program at its opening. Each run ends with status 2 and names the file;
// every other result is written as in the run without the pipe (graphgen,
// which checks its outputs first, writes none).
const std::vector<PipeCase> kPipeCases = {
    {"match result file", GRAPHMAT_BIN, kPlainPair, "results/gA__gB" + kRunName, "./results/gA__gB" + kRunName},
    {"match review summary", GRAPHMAT_BIN, kPlainPair, "results/gA__gB" + kRunName + ".csv.csv.csv",
     "./results/gA__gB" + kRunName + ".csv.csv.csv"},
    {"raw entity list", GRAPHMAT_BIN, kPlainPair, "results/raw_gA.csv", "./results/raw_gA.csv"},
    {"raw merge list", GRAPHMAT_BIN, kPlainPair, "results/raw_gA__gB" + kRunName + "_MERGES.csv",
     "./results/raw_gA__gB" + kRunName + "_MERGES.csv"},
    {"semantic pairs file", GRAPHMAT_BIN, kPlainPair, "results/sem_gA__gB_PAIRS.csv",
     "./results/sem_gA__gB_PAIRS.csv"},
    {"similarity experiment", GRAPHMAT_BIN, weighted({"-h", "0", "-i", "0", "-o", "gA.csv", "-n", "gB.csv"}),
     "sim_results.csv", "sim_results.csv"},
    {"single assignment result", GRAPHMAT_BIN, weighted({"-h", "0", "-m", "x", "-o", "gA.csv", "-n", "gB.csv"}),
     "results/gA__gB" + kRunName + ".csv", "./results/gA__gB" + kRunName + ".csv"},
    {"diagram difference report", GRAPHMAT_BIN, kDiagramDifference, kLibRun + "_diff.csv",
     "./" + kLibRun + "_diff.csv", earlierClassDiagramRun},
    {"UML difference report", GRAPHMAT_BIN, kUmlReport, kLibRun + "_umldiff.csv", "./" + kLibRun + "_umldiff.csv"},
    {"raw list rewritten by -w 1", GRAPHMAT_BIN, kUmlReport, "results/raw_lib1.csv", "./results/raw_lib1.csv"},
    {"alternatives report", GRAPHMAT_BIN, kUmlReport, "results/alternatives_lib2__lib1" + kRunName + ".csv",
     "./results/alternatives_lib2__lib1" + kRunName + ".csv"},
    {"mces results", MCES_BIN, {"-o", "e1.csv", "-n", "e2.csv"}, "results.csv", "results.csv"},
    {"tunnel trace file", TUNNEL_BIN, {"series.txt"}, "results/_tunnel_shop-4.csv", "./results/_tunnel_shop-4.csv"},
    {"class thread file", TUNNEL_BIN, {"series.txt"}, "results/ctunnel_shop-4.csv", "./results/ctunnel_shop-4.csv"},
    {"summary rows", GRAPHSTATS_BIN, {"-h", "12", "shop1.txt"}, "graphs/all_graphs.csv", "./graphs/all_graphs.csv"},
    {"details file", GRAPHSTATS_BIN, {"-h", "12", "shop1.txt"}, "graphs/shop1.csv", "./graphs/shop1.csv"},
    {"isolated vertices", GRAPHSTATS_BIN, {"-h", "12", "shop1.txt"}, "logs/isolated_shop1.csv",
     "./logs/isolated_shop1.csv"},
    {"version rows", GRAPHSTATS_BIN, {"-h", "4", "-k", "versions", "lib1.txt"}, "graphs/all_versions.csv",
     "./graphs/all_versions.csv"},
    {"adjacency matrix file", GRAPHSTATS_BIN, {"-h", "12", "-k", "matrix", "shop1.txt"}, "mshop1", "mshop1"},
    {"evaluation results", EVALUATE_BIN, kEvaluation, "eval_results.csv", "./eval_results.csv"},
    {"semantic pairs of logcost", LOGCOST_BIN, kLogcost, "results/sem_old__new_PAIRS.csv",
     "./results/sem_old__new_PAIRS.csv"},
    // reduce also reads this place, to keep a hand-made gold file: a pipe
    // there is no such file, and is not opened for reading.
    {"obvious pairs file", REDUCE_BIN, kReduce, "results/_shop-cd-1__shop-cd-2.csv",
     "./results/_shop-cd-1__shop-cd-2.csv"},
    {"reduced class diagram", REDUCE_BIN, kReduce, "results/_shop-cd-2.txt", "./results/_shop-cd-2.txt"},
    {"mutated graph", GRAPHGEN_BIN, kMutate, "m.txt", "m.txt", nullptr, true},
    {"node table", GRAPHGEN_BIN, kMutate, "logs/log_mutation.csv", "logs/log_mutation.csv", nullptr, true},
    {"shuffled copy", GRAPHGEN_BIN, {"shuffle", "0", "gA.csv", "7", "s.txt"}, "s.txt", "s.txt", nullptr, true},
    {"noisy copy", GRAPHGEN_BIN, {"noise", "1", "5", "1", "3"}, "benchmark/noisy_1.txt", "./benchmark/noisy_1.txt",
     [] { fs::create_directory("benchmark"); }, true},
    {"score file of a pair", GRAPHGEN_BIN, {"pair", "5", "1", "0.5", "2", "1", "2", "1", "0", "0", "g", "1", "0"},
     "score.txt", "score.txt", nullptr, true},
};

class PipeWithoutReader : public ::testing::TestWithParam<PipeCase> {};

TEST_P(PipeWithoutReader, IsNamedAndTheOtherResultsAreWritten) {
    const PipeCase& c = GetParam();
    RunResult plain;
    std::map<std::string, std::string> plainTree;
    {
        ScratchDir dir;
        layInputs();
        if (c.prepare) c.prepare();
        plain = runBounded(1 << 20, c.program, c.args, "", 20);
        plainTree = treeWithout(c.result);
    }
    ScratchDir dir;
    layInputs();
    if (c.prepare) c.prepare();
    fs::remove(c.result);
    ASSERT_EQ(mkfifo(c.result.c_str(), 0600), 0);
    const auto before = treeWithout(c.result);
    // A run that waits at the pipe is killed (status -1).
    const RunResult r = runBounded(1 << 20, c.program, c.args, "", 20);
    const std::string message = "Cannot write " + c.named + ": a named pipe without a reader\n";
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_TRUE(contains(r.err, message)) << r.err;
    if (c.checkedFirst) {
        EXPECT_EQ(r.err, message);
        EXPECT_TRUE(treeWithout(c.result) == before) << "a file was written";
    } else {
        EXPECT_EQ(withoutLine(r.err, message), plain.err);
        EXPECT_TRUE(treeWithout(c.result) == plainTree) << "the other results differ from the run without the pipe";
    }
    EXPECT_TRUE(fs::is_fifo(c.result));
}

INSTANTIATE_TEST_SUITE_P(EveryProgram, PipeWithoutReader, ::testing::ValuesIn(kPipeCases), test::CaseName());

struct RefusedCase {
    std::string what;
    std::string program;
    std::vector<std::string> args;
    std::string input;   // made a link to the refused file after the earlier run
    std::string target;  // a device, or /proc/self/mem whose read fails
    std::string named;   // as the message names it
    std::function<void()> prepare = nullptr;
};

void PrintTo(const RefusedCase& c, std::ostream* out) { *out << c.what; }

const std::string kDevice = "/dev/zero";
const std::string kFailingRead = "/proc/self/mem";

// The copies of `reduce -v 2`, and the pair read in reader mode 9.
void mylynCopies() {
    fs::create_directories("datasets/cdiagrams/mylyn");
    for (const char* name : {"shop-cd-1.txt", "shop-cd-2.txt"})
        fs::copy_file(test::exampleFile("datasets/cdiagrams/mylyn/") + name,
                      std::string("datasets/cdiagrams/mylyn/") + name, fs::copy_options::overwrite_existing);
}

// An input refused when the results of an earlier run are in place: a
// device, or a file whose read fails. The run ends with status 1 naming the
// input, and every file is as the earlier run left it: reduce emptied its
// reduced files before it read the class diagram files it copies from, and
// graphmat -w 1 read its listing after the result files were written.
const std::vector<RefusedCase> kRefusedCases = {
    // The reproducer: a copy whose read fails left a 4-byte and an empty
    // reduced file.
    {"reduce copy whose read fails", REDUCE_BIN, kReduce, "datasets/cdiagrams/eclipse/shop-cd-2.txt", kFailingRead,
     "./datasets/cdiagrams/eclipse/shop-cd-2.txt"},
    {"reduce copy a device", REDUCE_BIN, kReduce, "datasets/cdiagrams/eclipse/shop-cd-1.txt", kDevice,
     "./datasets/cdiagrams/eclipse/shop-cd-1.txt"},
    {"reduce -v 2 copy a device", REDUCE_BIN, {"-h", "9", "-v", "2", "cd/shop-cd-1.txt", "cd/shop-cd-2.txt"},
     "datasets/cdiagrams/mylyn/shop-cd-2.txt", kDevice, "./datasets/cdiagrams/mylyn/shop-cd-2.txt", mylynCopies},
    {"UML listing whose read fails", GRAPHMAT_BIN, kUmlReport, "results/uml/uml_lib1_lib2.csv", kFailingRead,
     "./results/uml/uml_lib1_lib2.csv"},
    {"UML listing a device", GRAPHMAT_BIN, kUmlReport, "results/uml/uml_lib1_lib2.csv", kDevice,
     "./results/uml/uml_lib1_lib2.csv"},
    {"raw list of the difference report a device", GRAPHMAT_BIN, kDiagramDifference, "results/raw_lib2.csv", kDevice,
     "./results/raw_lib2.csv", earlierClassDiagramRun},
    {"known matching a device", GRAPHMAT_BIN, weighted({"-h", "0", "-i", "2", "-o", "gA.csv", "-n", "gB.csv"}),
     "datasets/random/g.csv", kDevice, "./datasets/random/g.csv"},
    {"config.txt whose read fails", GRAPHMAT_BIN, kPlainPair, "config.txt", kFailingRead, "config.txt",
     [] { test::writeFile("config.txt", "ew,1,2\n"); }},
    {"graph 2 a device", GRAPHMAT_BIN, kPlainPair, "gB.csv", kDevice, "gB.csv"},
    {"edit-path log whose read fails", LOGCOST_BIN, kLogcost, "log.txt", kFailingRead, "log.txt"},
    {"gold file a device", EVALUATE_BIN, kEvaluation, "results/_v1__v2.csv", kDevice, "./results/_v1__v2.csv"},
    {"series match file whose read fails", TUNNEL_BIN, {"series.txt"}, "series/matches/shop-1__shop-2" + kRunName,
     kFailingRead, "series/matches/shop-1__shop-2" + kRunName},
    {"series version a device", TUNNEL_BIN, {"series.txt"}, "series/shop-1.txt", kDevice, "series/shop-1.txt"},
    {"mces graph a device", MCES_BIN, {"-o", "e1.csv", "-n", "e2.csv"}, "e2.csv", kDevice, "e2.csv"},
    {"graphstats graph whose read fails", GRAPHSTATS_BIN, {"-h", "12", "shop1.txt"}, "shop1.txt", kFailingRead,
     "shop1.txt"},
    {"graphgen input whose read fails", GRAPHGEN_BIN, kMutate, "gA.csv", kFailingRead, "gA.csv"},
};

class RefusedInput : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedInput, LeavesTheEarlierResultsAsTheyWere) {
    const RefusedCase& c = GetParam();
    if (c.target == kFailingRead && !test::procSelfMemFailsToRead())
        GTEST_SKIP() << "/proc/self/mem gives no read error here";
    ScratchDir dir;
    layInputs();
    if (c.prepare) c.prepare();
    const auto inputs = test::treeHere();
    const RunResult earlier = runBounded(1 << 20, c.program, c.args, "", 20);
    ASSERT_NE(earlier.status, -1);
    ASSERT_TRUE(test::fileExists(c.input)) << c.input;
    // The earlier results are made to differ from what this run would
    // write, so that any file it writes shows. (A line of pairs: reduce
    // keeps any other file in the place of its pairs as a gold file.)
    int marked = 0;
    for (const auto& [path, content] : test::treeHere()) {
        if (content == "(folder)" || (inputs.count(path) && inputs.at(path) == content)) continue;
        test::writeFile(path, "ns,an earlier result of " + path + "\n");
        ++marked;
    }
    EXPECT_GT(marked, 0) << "the earlier run wrote nothing";
    const auto results = treeWithout(c.input);
    test::linkInput(c.input, c.target);
    const RunResult r = runBounded(1 << 20, c.program, c.args, "", 20);
    EXPECT_EQ(r.status, 1) << r.err;
    const std::string why = c.target == kDevice ? "it is a device, not a file; name a file or a pipe"
                                                : "a read failed before the end of the file (Input/output error)";
    EXPECT_TRUE(contains(r.err, "Cannot read " + c.named + ": " + why + "\n")) << r.err;
    EXPECT_TRUE(treeWithout(c.input) == results) << "a result of the earlier run changed";
}

INSTANTIATE_TEST_SUITE_P(EveryProgram, RefusedInput, ::testing::ValuesIn(kRefusedCases), test::CaseName());

}  // namespace
}  // namespace graphmat
