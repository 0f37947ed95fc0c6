// Inputs as every program opens and reads them: a device named as an input
// is refused by name, a line longer than memory can hold and a read that
// fails end the run with status 1 instead of reading as the end of the file,
// a pipe reads as a file, and a leading UTF-8 byte-order mark is no part of
// a text file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "e2e/ProgramInputs.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

namespace fs = std::filesystem;

using test::contains;
using test::differingFiles;
using test::expectSameRun;
using test::filesHere;
using test::kRunName;
using test::layInputs;
using test::linkInput;
using test::RunResult;
using test::runBounded;
using test::RunTrace;
using test::ScratchDir;
using test::traceOf;
using test::weighted;

std::set<std::string> namesHere() {
    std::set<std::string> names;
    for (const auto& [name, content] : filesHere()) names.insert(name);
    return names;
}

struct ProgramCase {
    std::string what;
    std::string link;  // made a link to the device, or empty
    std::string program;
    std::vector<std::string> args;
    std::string named;  // the path the message names
};

void PrintTo(const ProgramCase& c, std::ostream* out) { *out << c.what; }

std::string describe(const ProgramCase& c) { return c.what + " " + ::testing::PrintToString(c.args); }

// A device is no input file: whether named on the command line or reached
// by a fixed path made a link to it, each program names it and ends with
// status 1, before reading any of it (/dev/zero and /dev/urandom never end).
const std::vector<ProgramCase> kDeviceCases = {
    {"graph 1", "", GRAPHMAT_BIN, weighted({"-h", "0", "-o", "/dev/zero", "-n", "gB.csv"}), "/dev/zero"},
    {"graph 2", "", GRAPHMAT_BIN, weighted({"-h", "0", "-o", "gA.csv", "-n", "/dev/urandom"}), "/dev/urandom"},
    {"config.txt", "config.txt", GRAPHMAT_BIN, weighted({"-h", "0", "-o", "gA.csv", "-n", "gB.csv"}),
     "config.txt"},
    {"known matching", "datasets/random/g.csv", GRAPHMAT_BIN,
     weighted({"-h", "0", "-i", "2", "-o", "gA.csv", "-n", "gB.csv"}), "./datasets/random/g.csv"},
    {"UML difference listing", "results/uml/uml_lib1_lib2.csv", GRAPHMAT_BIN,
     weighted({"-h", "4", "-w", "1", "-o", "lib1.txt", "-n", "lib2.txt"}), "./results/uml/uml_lib1_lib2.csv"},
    {"raw list of an earlier run", "results/raw_lib1.csv", GRAPHMAT_BIN,
     weighted({"-h", "4", "-u", "1", "-o", "lib1.txt", "-n", "lib2.txt"}), "./results/raw_lib1.csv"},
    {"mces graph", "", MCES_BIN, {"-o", "/dev/zero", "-n", "e2.csv"}, "/dev/zero"},
    {"graphstats graph", "", GRAPHSTATS_BIN, {"-h", "12", "/dev/urandom"}, "/dev/urandom"},
    {"series list", "", TUNNEL_BIN, {"/dev/zero"}, "/dev/zero"},
    {"series version", "series/shop-2.txt", TUNNEL_BIN, {"series.txt"}, "series/shop-2.txt"},
    {"series match file", "series/matches/shop-1__shop-2" + kRunName, TUNNEL_BIN, {"series.txt"},
     "series/matches/shop-1__shop-2" + kRunName},
    {"evaluated match result file", "results/v1__v2" + kRunName, EVALUATE_BIN, {"v1__v2" + kRunName, "shop"},
     "./results/v1__v2" + kRunName},
    {"gold file", "results/_v1__v2.csv", EVALUATE_BIN, {"v1__v2" + kRunName, "shop"}, "./results/_v1__v2.csv"},
    {"evaluated class diagram", "datasets/shop/v2.txt", EVALUATE_BIN, {"v1__v2" + kRunName, "shop"},
     "./datasets/shop/v2.txt"},
    {"edit-path log", "", LOGCOST_BIN, weighted({"-o", "old.csv", "-n", "new.csv", "-p", "/dev/zero"}),
     "/dev/zero"},
    {"logcost graph", "", LOGCOST_BIN, weighted({"-o", "/dev/urandom", "-n", "new.csv", "-p", "log.txt"}),
     "/dev/urandom"},
    {"reduce graph", "", REDUCE_BIN, {"cd/shop-cd-1.txt", "/dev/zero"}, "/dev/zero"},
    {"reduce class diagram copy", "datasets/cdiagrams/eclipse/shop-cd-1.txt", REDUCE_BIN,
     {"cd/shop-cd-1.txt", "cd/shop-cd-2.txt"}, "./datasets/cdiagrams/eclipse/shop-cd-1.txt"},
    {"reduce obvious pairs", "results/_shop-cd-1__shop-cd-2.csv", REDUCE_BIN,
     {"cd/shop-cd-1.txt", "cd/shop-cd-2.txt"}, "./results/_shop-cd-1__shop-cd-2.csv"},
    {"graphgen mutate input", "", GRAPHGEN_BIN,
     {"mutate", "0", "/dev/zero", "0.1", "0.1", "0.05", "1", "7", "m.txt", "m.log"}, "/dev/zero"},
    {"graphgen shuffle input", "", GRAPHGEN_BIN, {"shuffle", "0", "/dev/urandom", "7", "s.txt"}, "/dev/urandom"},
};

class DeviceInputs : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(DeviceInputs, AreRefusedByName) {
    const ProgramCase& c = GetParam();
    ScratchDir dir;
    layInputs();
    linkInput(c.link, "/dev/zero");
    RunResult r = runBounded(1 << 20, c.program, c.args);
    EXPECT_EQ(r.status, 1) << describe(c) << r.err;
    EXPECT_TRUE(contains(r.err, "Cannot read " + c.named + ": it is a device, not a file; name a file or a pipe\n"))
        << describe(c) << r.err;
}

INSTANTIATE_TEST_SUITE_P(EveryProgramAndInputKind, DeviceInputs, ::testing::ValuesIn(kDeviceCases), test::CaseName());

// The null device is a device too: it is refused, not read as an empty
// file, and the path of -m, which is never read, may name any file.
TEST(NullDevice, IsRefusedAndTheSingleAssignmentPathIsNoInput) {
    ScratchDir dir;
    layInputs();
    RunResult r = test::runProgram(GRAPHMAT_BIN, weighted({"-h", "0", "-o", "/dev/null", "-n", "gB.csv"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Cannot read /dev/null: it is a device, not a file; name a file or a pipe\n");
    RunResult single =
        test::runProgram(GRAPHMAT_BIN, weighted({"-h", "0", "-m", "/dev/null", "-o", "gA.csv", "-n", "gB.csv"}));
    EXPECT_EQ(single.status, 0) << single.err;
    EXPECT_TRUE(test::fileExists("results/gA__gB" + kRunName));
}

// graphstats describes each file on its own: after a refused file (a
// device, a file whose read fails) it reads the others, as after one that
// does not open, and ends with status 1. It stopped at the device and never
// read the files after it.
TEST(RefusedInputs, GraphstatsReadsTheFilesAfterARefusedOne) {
    std::vector<std::pair<std::string, std::string>> refused = {
        {"/dev/zero", "it is a device, not a file; name a file or a pipe"}};
    if (test::procSelfMemFailsToRead())
        refused.push_back({"/proc/self/mem", "a read failed before the end of the file (Input/output error)"});
    RunResult plain;
    std::map<std::string, std::string> plainFiles;
    {
        ScratchDir dir;
        layInputs();
        fs::copy_file(test::exampleFile("shop-v2.txt"), "shop2.txt");
        plain = test::runProgram(GRAPHSTATS_BIN, {"-k", "details", "shop1.txt", "shop2.txt"});
        ASSERT_EQ(plain.status, 0) << plain.err;
        plainFiles = filesHere();
    }
    for (const auto& [path, why] : refused) {
        ScratchDir dir;
        layInputs();
        fs::copy_file(test::exampleFile("shop-v2.txt"), "shop2.txt");
        const RunResult r = runBounded(1 << 20, GRAPHSTATS_BIN, {"-k", "details", "shop1.txt", path, "shop2.txt"});
        EXPECT_EQ(r.status, 1) << path;
        EXPECT_EQ(r.err, "Cannot read " + path + ": " + why + "\n");
        EXPECT_EQ(r.out, plain.out) << path;
        EXPECT_EQ(differingFiles(filesHere(), plainFiles), std::set<std::string>{}) << path;
    }
}

// A line that never ends (a pipe fed from /dev/zero) under a bound of the
// address space: the run ends with status 1 and "Out of memory", and
// writes no result file, instead of reading an empty input and ending with 0.
const std::vector<ProgramCase> kEndlessCases = {
    {"graph file", "", GRAPHMAT_BIN, weighted({"-h", "0", "-o", "/dev/stdin", "-n", "gB.csv"}), ""},
    {"class diagram file", "", GRAPHMAT_BIN, weighted({"-h", "4", "-o", "lib1.txt", "-n", "/dev/stdin"}), ""},
    {"config.txt", "config.txt", GRAPHMAT_BIN, weighted({"-h", "0", "-o", "gA.csv", "-n", "gB.csv"}), ""},
    {"known matching", "datasets/random/g.csv", GRAPHMAT_BIN,
     weighted({"-h", "0", "-i", "2", "-o", "gA.csv", "-n", "gB.csv"}), ""},
    {"mces graph", "", MCES_BIN, {"-o", "e1.csv", "-n", "/dev/stdin"}, ""},
    {"graphstats model graph", "", GRAPHSTATS_BIN, {"-h", "12", "/dev/stdin"}, ""},
    {"series list", "", TUNNEL_BIN, {"/dev/stdin"}, ""},
    {"match result file", "results/v1__v2" + kRunName, EVALUATE_BIN, {"v1__v2" + kRunName, "shop"}, ""},
    {"edit-path log", "", LOGCOST_BIN, weighted({"-o", "old.csv", "-n", "new.csv", "-p", "/dev/stdin"}), ""},
    {"reduce graph", "", REDUCE_BIN, {"/dev/stdin", "cd/shop-cd-2.txt"}, ""},
    {"graphgen input", "", GRAPHGEN_BIN, {"shuffle", "0", "/dev/stdin", "7", "s.txt"}, ""},
};

class EndlessLines : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(EndlessLines, EndTheRunOutOfMemoryAndWriteNoResultFile) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "no bound of the address space under the sanitizers: the line would take the machine's memory";
#endif
    const ProgramCase& c = GetParam();
    ScratchDir dir;
    layInputs();
    linkInput(c.link, "/dev/stdin");
    const auto before = namesHere();
    std::vector<std::string> args = {"-c", "cat /dev/zero | (ulimit -v 32768 && exec \"$0\" \"$@\")", c.program};
    args.insert(args.end(), c.args.begin(), c.args.end());
    RunResult r = test::runProgram("/bin/sh", args, {"", 60});
    EXPECT_EQ(r.status, 1) << describe(c) << r.err;
    EXPECT_TRUE(contains(r.err, "Out of memory: the inputs need more memory than this machine can give\n"))
        << describe(c) << r.err;
    // Every input is read before the first result file is written (the
    // matcher's similarity pairs among them): no file is written.
    EXPECT_EQ(namesHere(), before) << describe(c);
}

INSTANTIATE_TEST_SUITE_P(EveryReaderKind, EndlessLines, ::testing::ValuesIn(kEndlessCases), test::CaseName());

// /proc/self/mem is a file whose first read fails (nothing is mapped at
// address 0): the run names the file and ends with status 1, in the text
// readers and in the binary graph reader alike.
TEST(FailedReads, NameTheFileAndEndTheRun) {
    if (!test::procSelfMemFailsToRead()) GTEST_SKIP() << "/proc/self/mem gives no read error here";
    const std::string path = "/proc/self/mem";
    const std::vector<ProgramCase> cases = {
        {"plain graph file", "", GRAPHMAT_BIN, weighted({"-h", "0", "-o", path, "-n", "gB.csv"}), path},
        {"binary graph file", "", GRAPHMAT_BIN, weighted({"-h", "1", "-o", "gA.csv", "-n", path}), path},
        {"series list", "", TUNNEL_BIN, {path}, path},
        {"edit-path log", "", LOGCOST_BIN, weighted({"-o", "old.csv", "-n", "new.csv", "-p", path}), path},
    };
    for (const ProgramCase& c : cases) {
        ScratchDir dir;
        layInputs();
        RunResult r = runBounded(1 << 20, c.program, c.args);
        EXPECT_EQ(r.status, 1) << describe(c) << r.err;
        EXPECT_TRUE(contains(r.err, "Cannot read " + path +
                                        ": a read failed before the end of the file (Input/output error)\n"))
            << describe(c) << r.err;
    }
}

// A named pipe reads as the file it carries: the run is the run on the file,
// for every input kind of every program, config.txt included (read before
// each graph), a graph given twice, reduce's graphs that are also the class
// diagram files it copies from, and reader mode 8 (two passes over its
// file). Each input is opened and read once per run, so nothing of a pipe is
// lost to a check and no second opening waits for a writer that is gone: a
// hang is killed and fails the case.
TEST(Pipes, ReadAsTheFileTheyCarry) {
    struct PipeCase {
        std::string what;
        std::vector<std::string> pipes;  // the inputs that become named pipes, each fed once
        std::string program;
        std::vector<std::string> args;
        std::string config = "";  // the content of config.txt in both runs
        std::function<void()> prepare = nullptr;
        int status = 0;  // of the run on the files
    };
    const std::string config = "ew,1,2.5\new,2,0.5\new,3,7\n";
    const std::vector<std::string> plainPair = weighted({"-h", "0", "-o", "gA.csv", "-n", "gB.csv"});
    const std::vector<std::string> classDiagramPair = weighted({"-h", "4", "-o", "lib1.txt", "-n", "lib2.txt"});
    const std::vector<std::string> evaluation = {"v1__v2" + kRunName, "shop"};
    const std::vector<std::string> logcost = weighted({"-o", "old.csv", "-n", "new.csv", "-p", "log.txt"});
    const std::vector<std::string> reduceCopies = {"datasets/cdiagrams/eclipse/shop-cd-1.txt",
                                                   "datasets/cdiagrams/eclipse/shop-cd-2.txt"};
    const std::vector<std::string> mutate = {"mutate", "0", "gA.csv", "0.1", "0.1", "0.05", "1", "7", "m.txt", "m.log"};
    const std::vector<PipeCase> cases = {
        {"graph file", {"gA.csv"}, GRAPHMAT_BIN, plainPair},
        {"graph 2", {"gB.csv"}, GRAPHMAT_BIN, plainPair},
        {"a graph given twice", {"gA.csv"}, GRAPHMAT_BIN, weighted({"-h", "0", "-o", "gA.csv", "-n", "gA.csv"})},
        {"config.txt of graphmat", {"config.txt"}, GRAPHMAT_BIN, plainPair, config},
        {"both graphs and config.txt", {"gA.csv", "gB.csv", "config.txt"}, GRAPHMAT_BIN, plainPair, config},
        {"known matching", {"datasets/random/g.csv"}, GRAPHMAT_BIN,
         weighted({"-h", "0", "-i", "2", "-o", "gA.csv", "-n", "gB.csv"})},
        {"known matching of a share", {"datasets/random/g.csv"}, GRAPHMAT_BIN,
         weighted({"-h", "0", "-i", "0.5", "-o", "gA.csv", "-n", "gB.csv"})},
        {"UML difference listing", {"results/uml/uml_lib1_lib2.csv"}, GRAPHMAT_BIN,
         weighted({"-h", "4", "-w", "1", "-o", "lib1.txt", "-n", "lib2.txt"})},
        {"raw lists of an earlier run", {"results/raw_lib1.csv", "results/raw_lib1__lib2" + kRunName}, GRAPHMAT_BIN,
         weighted({"-h", "4", "-u", "1", "-o", "lib1.txt", "-n", "lib2.txt"}), "",
         [&] { test::runProgram(GRAPHMAT_BIN, classDiagramPair); }, 1},
        {"mces graph", {"e1.csv"}, MCES_BIN, {"-o", "e1.csv", "-n", "e2.csv"}},
        {"config.txt of mces", {"config.txt"}, MCES_BIN, {"-o", "e1.csv", "-n", "e2.csv"}, config},
        {"series list", {"series.txt"}, TUNNEL_BIN, {"series.txt"}},
        {"series version", {"series/shop-2.txt"}, TUNNEL_BIN, {"series.txt"}},
        {"series match file", {"series/matches/shop-1__shop-2" + kRunName}, TUNNEL_BIN, {"series.txt"}},
        {"config.txt of tunnel", {"config.txt"}, TUNNEL_BIN, {"series.txt"}, config},
        {"evaluated match result file", {"results/v1__v2" + kRunName}, EVALUATE_BIN, evaluation},
        {"gold file", {"results/_v1__v2.csv"}, EVALUATE_BIN, evaluation},
        {"evaluated class diagram", {"datasets/shop/v2.txt"}, EVALUATE_BIN, evaluation},
        {"config.txt of evaluate", {"config.txt"}, EVALUATE_BIN, evaluation, config},
        {"edit-path log", {"log.txt"}, LOGCOST_BIN, logcost},
        {"logcost graph", {"old.csv"}, LOGCOST_BIN, logcost},
        {"config.txt of logcost", {"config.txt"}, LOGCOST_BIN, logcost, config},
        {"reduce graph", {"cd/shop-cd-2.txt"}, REDUCE_BIN, {"cd/shop-cd-1.txt", "cd/shop-cd-2.txt"}},
        {"reduce class diagram copy", {"datasets/cdiagrams/eclipse/shop-cd-1.txt"}, REDUCE_BIN,
         {"cd/shop-cd-1.txt", "cd/shop-cd-2.txt"}},
        // The documented command: the graphs are the files it copies from.
        {"reduce graphs that are its copies", reduceCopies, REDUCE_BIN, reduceCopies},
        {"config.txt of reduce", {"config.txt"}, REDUCE_BIN, reduceCopies, config},
        {"graphstats graph", {"shop1.txt"}, GRAPHSTATS_BIN, {"-h", "12", "shop1.txt"}},
        {"config.txt of graphstats", {"config.txt"}, GRAPHSTATS_BIN, {"-h", "12", "shop1.txt"}, config},
        {"reader mode 8", {"cd/shop-cd-1.txt"}, GRAPHSTATS_BIN, {"-h", "8", "cd/shop-cd-1.txt"}},
        {"reader mode 8 printed", {"cd/shop-cd-1.txt"}, GRAPHSTATS_BIN, {"-h", "8", "-k", "print", "cd/shop-cd-1.txt"}},
        {"graphgen mutate input", {"gA.csv"}, GRAPHGEN_BIN, mutate},
        {"graphgen shuffle input", {"gA.csv"}, GRAPHGEN_BIN, {"shuffle", "0", "gA.csv", "7", "s.txt"}},
        {"config.txt of graphgen", {"config.txt"}, GRAPHGEN_BIN, mutate, config},
    };
    for (const PipeCase& c : cases) {
        RunTrace runs[2];
        for (int piped = 0; piped < 2; ++piped) {
            ScratchDir dir;
            layInputs();
            if (!c.config.empty()) test::writeFile("config.txt", c.config);
            if (c.prepare) c.prepare();
            std::string before;
            if (piped) {
                for (std::size_t k = 0; k < c.pipes.size(); ++k) {
                    const std::string carried = "carried-" + std::to_string(k);
                    ASSERT_TRUE(test::fileExists(c.pipes[k])) << c.what << " " << c.pipes[k];
                    fs::rename(c.pipes[k], carried);
                    ASSERT_EQ(mkfifo(c.pipes[k].c_str(), 0600), 0);
                    before += "cat " + carried + " > " + c.pipes[k] + " & ";
                }
            }
            const RunResult result = runBounded(1 << 20, c.program, c.args, before, 10);
            if (piped) {
                for (std::size_t k = 0; k < c.pipes.size(); ++k) {
                    // A writer still waiting for a reader is let go.
                    const int fd = open(c.pipes[k].c_str(), O_RDONLY | O_NONBLOCK);
                    if (fd >= 0) close(fd);
                    fs::remove(c.pipes[k]);
                    fs::rename("carried-" + std::to_string(k), c.pipes[k]);
                }
            }
            runs[piped] = traceOf(result);
        }
        EXPECT_EQ(runs[0].result.status, c.status) << c.what << runs[0].result.err;
        expectSameRun(runs[1], runs[0], c.what);
    }
}

// Reader mode 8 reads its file twice: through a pipe (`<(cat FILE)`) the
// second pass read nothing (4 vertices and 3 edges instead of 9 and 13,
// status 0). It reads as the file.
TEST(Pipes, ReaderModeEightReadsAProcessSubstitutionAsTheFile) {
    ScratchDir dir;
    layInputs();
    const std::string file = "cd/shop-cd-1.txt";
    const RunResult plain = test::runProgram(GRAPHSTATS_BIN, {"-h", "8", "-k", "print", file});
    const RunResult piped = test::runProgram(
        "/bin/bash", {"-c", "exec \"$0\" -h 8 -k print <(cat " + file + ")", GRAPHSTATS_BIN}, {"", 60});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_TRUE(contains(plain.out, "|V|=9, |E|=13")) << plain.out;
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.err, "");
    // The same lines, but for the path the first one names.
    const auto linesAfterPath = [](const std::string& out) { return out.substr(out.find("...")); };
    EXPECT_EQ(linesAfterPath(piped.out), linesAfterPath(plain.out));
}

// The path of -m selects the single assignment and is never opened: a
// named pipe without a writer, whose opening would wait for ever, runs as
// a path that names nothing.
TEST(Pipes, TheSingleAssignmentPathIsNotOpened) {
    RunTrace runs[2];
    for (int piped = 0; piped < 2; ++piped) {
        ScratchDir dir;
        layInputs();
        if (piped) {
            ASSERT_EQ(mkfifo("sim.txt", 0600), 0);
        }
        runs[piped] = traceOf(runBounded(1 << 20, GRAPHMAT_BIN,
                                         weighted({"-h", "0", "-m", "sim.txt", "-o", "gA.csv", "-n", "gB.csv"}), "",
                                         10));
    }
    EXPECT_EQ(runs[0].result.status, 0) << runs[0].result.err;
    expectSameRun(runs[1], runs[0], "-m naming a named pipe without a writer");
}

// A file that begins with a UTF-8 byte-order mark reads as the same file
// without it, in every reader of text: the run's status, console output and
// every file it writes are those of the run on the file without the mark.
TEST(ByteOrderMarks, AreSkippedByEveryTextReader) {
    struct MarkCase {
        std::string what;
        std::string marked;
        std::string program;
        std::vector<std::string> args;
        std::string config = "";
        std::function<void()> prepare = nullptr;
    };
    const std::vector<MarkCase> cases = {
        {"plain graph file", "gA.csv", GRAPHMAT_BIN, weighted({"-h", "0", "-o", "gA.csv", "-n", "gB.csv"})},
        {"class diagram file", "lib2.txt", GRAPHMAT_BIN, weighted({"-h", "4", "-o", "lib1.txt", "-n", "lib2.txt"})},
        {"model graph file", "shop1.txt", GRAPHSTATS_BIN, {"-h", "12", "shop1.txt"}},
        {"named edge list file", "named.csv", GRAPHSTATS_BIN, {"-h", "3", "named.csv"}},
        {"edge list graph file", "e1.csv", MCES_BIN, {"-o", "e1.csv", "-n", "e2.csv"}},
        // Mode 8 reads its file twice: the mark is skipped in both passes.
        {"class diagram file in mode 8", "cd/shop-cd-1.txt", GRAPHSTATS_BIN, {"-h", "8", "cd/shop-cd-1.txt"}},
        {"class diagram file in mode 8 printed", "cd/shop-cd-1.txt", GRAPHSTATS_BIN,
         {"-h", "8", "-k", "print", "cd/shop-cd-1.txt"}},
        {"sequence diagram file", "sequence.txt", GRAPHSTATS_BIN, {"-h", "10", "sequence.txt"}},
        {"state machine file", "states.txt", GRAPHSTATS_BIN, {"-h", "11", "states.txt"}},
        // A negative label weight makes the ranking walk fail loudly: only a
        // read weight line does.
        {"config.txt", "config.txt", GRAPHSTATS_BIN, {"-h", "7", "2,2\ne,0,1,222\ne,0,0,9"}, "ew,9,-2\n"},
        {"known-matching file", "datasets/random/g.csv", GRAPHMAT_BIN,
         weighted({"-h", "0", "-i", "2", "-o", "gA.csv", "-n", "gB.csv"})},
        {"UML difference listing", "results/uml/uml_lib1_lib2.csv", GRAPHMAT_BIN,
         weighted({"-h", "4", "-w", "1", "-o", "lib1.txt", "-n", "lib2.txt"})},
        {"raw list of an earlier run", "results/raw_lib1__lib2" + kRunName, GRAPHMAT_BIN,
         weighted({"-h", "4", "-u", "1", "-o", "lib1.txt", "-n", "lib2.txt"}), "",
         [] { test::runProgram(GRAPHMAT_BIN, weighted({"-h", "4", "-o", "lib1.txt", "-n", "lib2.txt"})); }},
        {"series list", "series.txt", TUNNEL_BIN, {"series.txt"}},
        {"match file of a series", "series/matches/shop-3__shop-4" + kRunName, TUNNEL_BIN, {"series.txt"}},
        {"evaluated match result file", "results/v1__v2" + kRunName, EVALUATE_BIN, {"v1__v2" + kRunName, "shop"}},
        {"gold file", "results/_v1__v2.csv", EVALUATE_BIN, {"v1__v2" + kRunName, "shop"}},
        {"edit-path log", "log.txt", LOGCOST_BIN, weighted({"-o", "old.csv", "-n", "new.csv", "-p", "log.txt"})},
        {"reduce graph", "cd/shop-cd-1.txt", REDUCE_BIN, {"cd/shop-cd-1.txt", "cd/shop-cd-2.txt"}},
        {"reduce class diagram copy", "datasets/cdiagrams/eclipse/shop-cd-2.txt", REDUCE_BIN,
         {"cd/shop-cd-1.txt", "cd/shop-cd-2.txt"}},
        // An obvious pairs file of an earlier run is replaced; a file with
        // other lines would be kept as a hand-made gold file.
        {"reduce obvious pairs of an earlier run", "results/_shop-cd-1__shop-cd-2.csv", REDUCE_BIN,
         {"cd/shop-cd-1.txt", "cd/shop-cd-2.txt"}, "", [] {
             test::writeFile("results/_shop-cd-1__shop-cd-2.csv", "ns,0,0,a,a\n");
         }},
        {"graphgen input", "gA.csv", GRAPHGEN_BIN, {"shuffle", "0", "gA.csv", "7", "shuffled.csv"}},
    };
    for (const MarkCase& c : cases) {
        RunTrace runs[2];
        for (int marked = 0; marked < 2; ++marked) {
            ScratchDir dir;
            layInputs();
            if (!c.config.empty()) test::writeFile("config.txt", c.config);
            if (c.prepare) c.prepare();
            ASSERT_TRUE(test::fileExists(c.marked)) << c.what;
            if (marked) test::writeFile(c.marked, "\xEF\xBB\xBF" + test::readFile(c.marked));
            runs[marked] = traceOf(test::runProgram(c.program, c.args, {"", 60}), c.marked);
        }
        expectSameRun(runs[1], runs[0], c.what);
    }
}

// The three faults as found: the series lost its newest version, the
// evaluation's precision fell from 0.5 to 0.333, the log's cost rose from
// 0 to 250.
TEST(ByteOrderMarks, KeepTheFirstLineOfTheFilesWhereItMattered) {
    ScratchDir dir;
    layInputs();
    for (const std::string& path : {std::string("series.txt"), "results/v1__v2" + kRunName, std::string("log.txt")})
        test::writeFile(path, "\xEF\xBB\xBF" + test::readFile(path));
    RunResult tunnel = test::runProgram(TUNNEL_BIN, {"series.txt"});
    EXPECT_EQ(tunnel.status, 0) << tunnel.err;
    EXPECT_TRUE(test::fileExists("results/_tunnel_shop-4.csv"));
    RunResult evaluate = test::runProgram(EVALUATE_BIN, {"v1__v2" + kRunName, "shop"});
    EXPECT_EQ(evaluate.status, 0) << evaluate.err;
    EXPECT_TRUE(contains(test::readFile("eval_results.csv"), ",0.5,")) << test::readFile("eval_results.csv");
    RunResult logcost = test::runProgram(LOGCOST_BIN, weighted({"-o", "old.csv", "-n", "new.csv", "-p", "log.txt"}));
    EXPECT_EQ(logcost.status, 0) << logcost.err;
    EXPECT_TRUE(contains(logcost.out, "\nLog Matching Cost : 0\n")) << logcost.out;
}

}  // namespace
}  // namespace graphmat
