// graphgen refusals that must come before anything is allocated or written:
// sizes too large for the machine (checked by arithmetic), outputs that are
// one file with another output or with the input, outputs that cannot be
// written, and a graph without vertices to shuffle.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

namespace fs = std::filesystem;

using test::contains;
using test::readFile;
using test::RunResult;
using test::ScratchDir;

// graphgen under a limit of its address space, so that a table allocated
// before the size check fails loudly (an "Out of memory" message instead of
// the refusal). The sanitizers reserve far more address space than any
// limit allows: their builds run without it.
RunResult graphgenLimited(const std::vector<std::string>& args) {
#if defined(__SANITIZE_ADDRESS__)
    return test::runProgram(GRAPHGEN_BIN, args);
#else
    std::vector<std::string> shellArgs = {"-c", "ulimit -v 524288 && exec \"$0\" \"$@\"", GRAPHGEN_BIN};
    shellArgs.insert(shellArgs.end(), args.begin(), args.end());
    return test::runProgram("/bin/sh", shellArgs);
#endif
}

RunResult graphgen(const std::vector<std::string>& args) { return test::runProgram(GRAPHGEN_BIN, args); }

std::set<std::string> filesUnder(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) names.insert(entry.path().string());
    return names;
}

TEST(GraphgenSizes, CountsTooLargeForTheMachineAreRefusedBeforeAnyTableIsBuilt) {
    struct Case {
        std::vector<std::string> args;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        // The reproducer: a billion node labels.
        {{"pair", "10", "2", "0.5", "1000000000", "0.5", "2", "1", "20", "10", "out/h", "1", "0"}, "8e+18"},
        // As many arc labels.
        {{"pair", "10", "2", "0.5", "3", "0.5", "1000000000", "0.5", "20", "10", "out/h", "1", "0"}, "8e+18"},
        // A label count whose law alone would take 800 MB, with a decay that
        // gives no law: the size is what is refused.
        {{"pair", "10", "2", "0.5", "100000000", "1e30", "2", "1", "0", "0", "out/h", "1", "0"}, "8e+16"},
        // Node counts: common nodes, and extra nodes by percentage.
        {{"pair", "2000000000", "2", "0.5", "3", "0.5", "2", "1", "0", "0", "out/h", "1", "0"}, "3.2e+19"},
        {{"pair", "100", "2", "0.5", "3", "0.5", "2", "1", "1e9", "0", "out/h", "1", "1"}, "4e+18"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        fs::create_directory("out");
        const RunResult r = graphgenLimited(c.args);
        EXPECT_EQ(r.status, 1) << ::testing::PrintToString(c.args);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.substr(0, r.err.find("Usage:")),
                  "graphgen pair: n, pd, pi, nl and el ask for tables of " + c.bytes +
                      " bytes, more than the physical memory of this machine\n")
            << ::testing::PrintToString(c.args);
        EXPECT_TRUE(fs::is_empty("out"));
        EXPECT_FALSE(test::fileExists("bat.txt"));
    }
}

// A mutation keeps two marks per ordered pair of the mutated graph: for
// 100000 vertices (an edge list graph file makes them from its header
// alone) that is refused before the marks are allocated, and no output is
// written.
TEST(GraphgenSizes, AMutationWhoseMarksCannotFitIsRefused) {
    ScratchDir dir;
    fs::create_directory("logs");
    test::writeFile("big.csv", "100000,0\n");
    const RunResult r = graphgenLimited({"mutate", "6", "big.csv", "0.1", "0.1", "0.1", "1", "5", "m.csv", "l.csv"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.substr(0, 6), "needs ") << r.err;
    EXPECT_TRUE(contains(r.err, " vertex pairs; this machine has ")) << r.err;
    EXPECT_FALSE(test::fileExists("m.csv"));
    EXPECT_FALSE(test::fileExists("l.csv"));
    EXPECT_FALSE(test::fileExists("logs/log_mutation.csv"));
}

TEST(GraphgenSizes, APairThatFitsStillRunsUnderTheLimit) {
    ScratchDir dir;
    fs::create_directory("out");
    const RunResult r = graphgenLimited({"pair", "10", "2", "0.5", "3", "0.5", "2", "1", "20", "10", "out/h", "1", "0"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(test::fileExists("out/h_10_2_0.5_3_0.5_2_1_20_10_0_1A.csv"));
}

const char* const GRAPH = "3,3\n0,a\n1,b\n2,c\n0,1,1\n1,2,2\n2,0,1\n";

std::vector<std::string> mutateArgs(const std::string& graph, const std::string& output, const std::string& log) {
    return {"mutate", "0", graph, "0.2", "0.2", "0.1", "0", "5", output, log};
}

// Outputs that are one file: refused with both named, status 1, and every
// file as it was (the input graph, the files already there, no new file).
TEST(GraphgenOutputs, FilesThatCoincideAreRefusedBeforeAnythingIsWritten) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        // The reproducer: the mutated graph and its log.
        {mutateArgs("g.csv", "m.csv", "m.csv"), "graphgen mutate: output m.csv and log m.csv are the same file\n"},
        // Spelled otherwise.
        {mutateArgs("g.csv", "m.csv", "./sub/../m.csv"),
         "graphgen mutate: output m.csv and log ./sub/../m.csv are the same file\n"},
        // The node table of every mutation.
        {mutateArgs("g.csv", "m.csv", "logs/log_mutation.csv"),
         "graphgen mutate: log logs/log_mutation.csv and node table logs/log_mutation.csv are the same file\n"},
        {mutateArgs("g.csv", "./logs/log_mutation.csv", "l.csv"),
         "graphgen mutate: output ./logs/log_mutation.csv and node table logs/log_mutation.csv are the same file\n"},
        // The statistics file that the mutation writes about its input.
        {mutateArgs("g.csv", "logs/isolated_g.csv", "l.csv"),
         "graphgen mutate: statistics file ./logs/isolated_g.csv and output logs/isolated_g.csv are the same file\n"},
        // The input graph.
        {mutateArgs("g.csv", "m.csv", "g.csv"), "graphgen mutate: graph g.csv and log g.csv are the same file\n"},
        {mutateArgs("sub/../g.csv", "./g.csv", "l.csv"),
         "graphgen mutate: graph sub/../g.csv and output ./g.csv are the same file\n"},
        {{"shuffle", "0", "g.csv", "3", "g.csv"}, "graphgen shuffle: graph g.csv and output g.csv are the same file\n"},
        // Through links: a symbolic link to the input, one to a file not
        // written yet, a hard link of the input.
        {{"shuffle", "0", "g.csv", "3", "link-to-g.csv"},
         "graphgen shuffle: graph g.csv and output link-to-g.csv are the same file\n"},
        {mutateArgs("g.csv", "m.csv", "link-to-m.csv"),
         "graphgen mutate: output m.csv and log link-to-m.csv are the same file\n"},
        {{"shuffle", "0", "hard-g.csv", "3", "g.csv"},
         "graphgen shuffle: graph hard-g.csv and output g.csv are the same file\n"},
        // Pair files: a link in place of "bat.txt" to graph 1 of the pair.
        {{"pair", "10", "2", "0.5", "3", "0.5", "2", "1", "10", "20", "p", "1", "0"},
         "graphgen pair: file p_10_2_0.5_3_0.5_2_1_10_20_0_1A.csv and file bat.txt are the same file\n"},
        // Noise files: the log of pair 4 a hard link of its original.
        {{"noise", "4", "5", "1", "1"},
         "graphgen noise: original ./benchmark/original_4.txt and log ./benchmark/log_4.txt are the same file\n"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        fs::create_directories("logs");
        fs::create_directories("sub");
        test::writeFile("g.csv", GRAPH);
        test::writeFile("logs/log_mutation.csv", "kept\n");
        test::writeFile("p_10_2_0.5_3_0.5_2_1_10_20_0_1A.csv", "kept\n");
        fs::create_symlink("g.csv", "link-to-g.csv");
        fs::create_symlink("m.csv", "link-to-m.csv");
        fs::create_symlink("p_10_2_0.5_3_0.5_2_1_10_20_0_1A.csv", "bat.txt");
        fs::create_hard_link("g.csv", "hard-g.csv");
        fs::create_directories("benchmark");
        test::writeFile("benchmark/original_4.txt", "kept\n");
        fs::create_hard_link("benchmark/original_4.txt", "benchmark/log_4.txt");
        const std::set<std::string> before = filesUnder(".");

        const RunResult r = graphgen(c.args);
        EXPECT_EQ(r.status, 1) << ::testing::PrintToString(c.args);
        EXPECT_EQ(r.err.substr(0, r.err.find("Usage:")), c.message) << ::testing::PrintToString(c.args);
        EXPECT_TRUE(contains(r.err, "Usage: graphgen " + c.args[0]));
        EXPECT_EQ(filesUnder("."), before) << ::testing::PrintToString(c.args);
        EXPECT_EQ(readFile("g.csv"), GRAPH);
        EXPECT_EQ(readFile("logs/log_mutation.csv"), "kept\n");
        EXPECT_EQ(readFile("bat.txt"), "kept\n");
        EXPECT_EQ(readFile("benchmark/log_4.txt"), "kept\n");
    }
}

TEST(GraphgenOutputs, DistinctOutputsBesideTheirLinksAreWritten) {
    ScratchDir dir;
    fs::create_directories("logs");
    test::writeFile("g.csv", GRAPH);
    fs::create_symlink("g.csv", "link-to-g.csv");
    // The input read through a link, the outputs files of their own.
    RunResult r = graphgen(mutateArgs("link-to-g.csv", "m.csv", "l.csv"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(test::fileExists("m.csv"));
    EXPECT_TRUE(test::fileExists("l.csv"));
    EXPECT_EQ(readFile("g.csv"), GRAPH);
    r = graphgen({"shuffle", "0", "link-to-g.csv", "3", "s.csv"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::lines(readFile("s.csv")).at(0), "3,3");
}

// An output that cannot be opened for writing - an existing folder in its
// place, a named pipe without a reader, a folder the run may not write - is
// found before anything is drawn or written: status 2, the file named with
// why, and every file and folder as it was.
TEST(GraphgenOutputs, OutputsThatCannotBeWrittenAreRefusedBeforeAnythingIsWritten) {
    struct Case {
        std::string what;
        std::vector<std::string> args;
        std::string blocked;  // the output made a folder or a named pipe
        bool pipe;
        std::string named;  // as the message names it
    };
    const std::vector<std::string> pair = {"pair", "10", "2", "0.5", "3", "0.5", "2", "1", "10", "20", "p", "1", "0"};
    const std::string P = "p_10_2_0.5_3_0.5_2_1_10_20_0_1";
    const std::vector<Case> cases = {
        // The reproducer: it wrote the log and the node table, then failed.
        {"mutate output a folder", {"mutate", "12", "shop.txt", "0.1", "0.1", "0", "1", "3", "OUT", "LOG"}, "OUT",
         false, "OUT"},
        {"mutate log a pipe", {"mutate", "12", "shop.txt", "0.1", "0.1", "0", "1", "3", "OUT", "LOG"}, "LOG", true,
         "LOG"},
        {"mutate node table a folder", mutateArgs("g.csv", "m.csv", "l.csv"), "logs/log_mutation.csv", false,
         "logs/log_mutation.csv"},
        {"mutate statistics file a pipe", mutateArgs("g.csv", "m.csv", "l.csv"), "logs/isolated_g.csv", true,
         "./logs/isolated_g.csv"},
        {"shuffle output a pipe", {"shuffle", "0", "g.csv", "3", "s.csv"}, "s.csv", true, "s.csv"},
        {"shuffle output a folder", {"shuffle", "0", "g.csv", "3", "s.csv"}, "s.csv", false, "s.csv"},
        {"noise original a pipe", {"noise", "4", "5", "1", "1"}, "benchmark/original_4.txt", true,
         "./benchmark/original_4.txt"},
        {"noise log a folder", {"noise", "4", "5", "1", "1"}, "benchmark/log_4.txt", false, "./benchmark/log_4.txt"},
        {"pair graph 2 a pipe", pair, P + "B.csv", true, P + "B.csv"},
        {"pair bat.txt a folder", pair, "bat.txt", false, "bat.txt"},
        {"pair score.txt a pipe", pair, "score.txt", true, "score.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        fs::create_directories("logs");
        fs::create_directories("benchmark");
        test::writeFile("g.csv", GRAPH);
        fs::copy_file(test::exampleFile("shop-v1.txt"), "shop.txt");
        test::writeFile("score.txt", "kept\n");
        if (c.pipe) {
            fs::remove(c.blocked);
            ASSERT_EQ(mkfifo(c.blocked.c_str(), 0600), 0);
        } else {
            fs::remove(c.blocked);
            fs::create_directory(c.blocked);
        }
        const auto before = test::treeHere();
        const RunResult r = test::runProgram(GRAPHGEN_BIN, c.args, {"", 30});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "Cannot write " + c.named + ": " +
                             (c.pipe ? "a named pipe without a reader" : "Is a directory") + "\n");
        EXPECT_TRUE(test::treeHere() == before) << "the run made or changed a file";
    }
}

// A file without the right to write it (root may write any file, so the
// case needs another user).
TEST(GraphgenOutputs, AnOutputWithoutTheRightToWriteItIsRefusedBeforeAnythingIsWritten) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write any file";
    ScratchDir dir;
    fs::create_directories("logs");
    test::writeFile("g.csv", GRAPH);
    test::writeFile("read-only.csv", "kept\n");
    fs::permissions("read-only.csv", fs::perms::owner_read);
    const auto before = test::treeHere();
    const RunResult r = graphgen(mutateArgs("g.csv", "read-only.csv", "l.csv"));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Cannot write read-only.csv: Permission denied\n");
    EXPECT_TRUE(test::treeHere() == before);
}

TEST(GraphgenShuffle, AGraphWithoutVerticesEndsWithStatusOne) {
    for (const std::string content : {"", "0,0\n"}) {
        ScratchDir dir;
        test::writeFile("empty.csv", content);
        const RunResult r = graphgen({"shuffle", "0", "empty.csv", "3", "out.csv"});
        EXPECT_EQ(r.status, 1) << "'" << content << "'";
        EXPECT_TRUE(contains(r.err, "graphgen shuffle: empty.csv: the graph to shuffle has no vertices\n")) << r.err;
        EXPECT_FALSE(test::fileExists("out.csv"));
    }
}

}  // namespace
}  // namespace graphmat
