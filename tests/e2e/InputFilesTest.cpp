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
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

namespace fs = std::filesystem;

using test::contains;
using test::RunResult;
using test::ScratchDir;

const std::string kRunName = "__1__0.5__1__1__0__1.csv";
const std::vector<std::string> kWeights = {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1"};

std::vector<std::string> weighted(std::vector<std::string> args) {
    args.insert(args.begin(), kWeights.begin(), kWeights.end());
    return args;
}

// Every input kind of every program, in the working folder: two plain graph
// files gA.csv and gB.csv with the known matching of their pair, two
// class diagram files with a UML difference listing of the pair, two edge
// list graph files, the evaluation folders, the example series, and two
// class diagram files in cd/ with the copies that reduce reads.
void layInputs() {
    test::writeFile("gA.csv", "3,2\n0,a\n1,b\n2,c\n0,1,1\n1,2,2\n");
    test::writeFile("gB.csv", "3,2\n0,a\n1,b\n2,d\n0,1,1\n2,1,2\n");
    fs::create_directories("datasets/random");
    test::writeFile("datasets/random/g.csv", "1\n2\n3\n4\n5\n6\n0,0\n1,1\n2,2\n");
    fs::copy_file(test::exampleFile("library-v1.txt"), "lib1.txt");
    fs::copy_file(test::exampleFile("library-v2.txt"), "lib2.txt");
    fs::create_directories("results/uml");
    test::writeFile("results/uml/uml_lib1_lib2.csv", "\"lib.model.Book__lib.model.Book\"\n\"lib.Main__lib.Main\"\n");
    test::writeFile("e1.csv", "3,2\n0,1,1\n1,2,2\n");
    test::writeFile("e2.csv", "3,2\n0,1,1\n2,1,2\n");
    fs::copy_file(test::exampleFile("shop-v1.txt"), "shop1.txt");
    fs::copy_file(test::exampleFile("order-sequence-v1.txt"), "sequence.txt");
    fs::copy_file(test::exampleFile("door-states-v1.txt"), "states.txt");
    test::writeFile("named.csv", "a,b,1\nb,c,2\nc,a,1\n");
    fs::create_directories("graphs");
    fs::create_directories("logs");

    const std::string evaluation = test::exampleFile("evaluation");
    fs::copy(evaluation + "/datasets", "datasets", fs::copy_options::recursive);
    fs::copy_file(evaluation + "/results/v1__v2" + kRunName, "results/v1__v2" + kRunName);
    fs::copy_file(evaluation + "/results/_v1__v2.csv", "results/_v1__v2.csv");
    fs::copy_file(evaluation + "/old.csv", "old.csv");
    fs::copy_file(evaluation + "/new.csv", "new.csv");
    test::writeFile("log.txt", "n,0,1,a,a\nn,1,2,b,b\nn,2,0,c,c\n");

    fs::copy(test::exampleFile("series"), "series", fs::copy_options::recursive);
    std::string list;
    for (const char* version : {"4", "3", "2", "1"}) list += std::string("g,series/shop-") + version + ".txt\n";
    for (const char* step : {"3__shop-4", "2__shop-3", "1__shop-2"})
        list += std::string("m,series/matches/shop-") + step + kRunName + "\n";
    test::writeFile("series.txt", list);

    fs::create_directories("cd");
    fs::create_directories("datasets/cdiagrams/eclipse");
    for (const char* name : {"shop-cd-1.txt", "shop-cd-2.txt"}) {
        fs::copy_file(test::exampleFile("datasets/cdiagrams/eclipse/") + name, std::string("cd/") + name);
        fs::copy_file(std::string("cd/") + name, std::string("datasets/cdiagrams/eclipse/") + name);
    }
}

// Makes the input `link` (when one is named) a link to `target`.
void linkInput(const std::string& link, const std::string& target) {
    if (link.empty()) return;
    fs::remove(link);
    fs::create_symlink(target, link);
}

// A program run under a bound of its address space (in kilobytes), so that
// a run that reads a device or an endless line fails instead of taking the
// machine's memory. The sanitizers reserve far more address space than any
// bound allows: their builds run without one.
RunResult runBounded(long kilobytes, const std::string& program, const std::vector<std::string>& args,
                     const std::string& before = "") {
#if defined(__SANITIZE_ADDRESS__)
    const std::string bound;
    (void)kilobytes;
#else
    const std::string bound = "ulimit -v " + std::to_string(kilobytes) + " && ";
#endif
    std::vector<std::string> shellArgs = {"-c", before + bound + "exec \"$0\" \"$@\"", program};
    shellArgs.insert(shellArgs.end(), args.begin(), args.end());
    return test::runProgram("/bin/sh", shellArgs, {"", 60});
}

// Every regular file under the working folder with its content.
std::map<std::string, std::string> filesHere() {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator("."))
        if (entry.is_regular_file() && !entry.is_symlink())
            files[entry.path().lexically_relative(".").string()] = test::readFile(entry.path().string());
    return files;
}

// The names of the files that differ between two runs, or that only one
// of them has.
std::set<std::string> differingFiles(const std::map<std::string, std::string>& a,
                                     const std::map<std::string, std::string>& b) {
    std::set<std::string> names;
    for (const auto& [name, content] : a)
        if (!b.count(name) || b.at(name) != content) names.insert(name);
    for (const auto& [name, content] : b)
        if (!a.count(name)) names.insert(name);
    return names;
}

std::set<std::string> namesHere() {
    std::set<std::string> names;
    for (const auto& [name, content] : filesHere()) names.insert(name);
    return names;
}

// What a run leaves: its status, its console and every file of the working
// folder (with the time of the row of mces masked), `input` left out.
struct RunTrace {
    RunResult result;
    std::map<std::string, std::string> files;
};

RunTrace traceOf(const RunResult& result, const std::string& input = "") {
    static const std::regex mcesTime("(0,MCES,[^,]*,[^,]*,[^,]*,)[^,]*");
    RunTrace trace{result, filesHere()};
    trace.files.erase(input);
    for (auto& [name, content] : trace.files) content = std::regex_replace(content, mcesTime, "$1<t>");
    return trace;
}

// The run on a changed input left what the run on the plain input left.
void expectSameRun(const RunTrace& changed, const RunTrace& plain, const std::string& what) {
    EXPECT_EQ(changed.result.status, plain.result.status) << what << changed.result.err;
    EXPECT_EQ(test::withoutTimes(changed.result.out), test::withoutTimes(plain.result.out)) << what;
    EXPECT_EQ(changed.result.err, plain.result.err) << what;
    EXPECT_EQ(differingFiles(changed.files, plain.files), std::set<std::string>{}) << what;
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
    // The matcher writes its similarity pairs as it is built, before it
    // reads a known matching or a log; no other file is written.
    std::set<std::string> written;
    for (const std::string& name : namesHere())
        if (!before.count(name) && !std::regex_match(name, std::regex("results/sem_.*_PAIRS\\.csv")))
            written.insert(name);
    EXPECT_EQ(written, std::set<std::string>{}) << describe(c);
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

// A named pipe reads as the file it carries: the run is the run on the file.
// Each input is opened once, so nothing of the pipe is lost to a check and
// no second opening waits for a writer that is gone.
TEST(Pipes, ReadAsTheFileTheyCarry) {
    struct PipeCase {
        std::string what;
        std::string pipe;  // the input that becomes a named pipe
        std::string program;
        std::vector<std::string> args;
    };
    const std::vector<PipeCase> cases = {
        {"graph file", "gA.csv", GRAPHMAT_BIN, weighted({"-h", "0", "-o", "gA.csv", "-n", "gB.csv"})},
        {"mces graph", "e1.csv", MCES_BIN, {"-o", "e1.csv", "-n", "e2.csv"}},
        {"edit-path log", "log.txt", LOGCOST_BIN, weighted({"-o", "old.csv", "-n", "new.csv", "-p", "log.txt"})},
        {"series list", "series.txt", TUNNEL_BIN, {"series.txt"}},
    };
    for (const PipeCase& c : cases) {
        RunTrace runs[2];
        for (int piped = 0; piped < 2; ++piped) {
            ScratchDir dir;
            layInputs();
            std::string before;
            if (piped) {
                fs::rename(c.pipe, "carried");
                ASSERT_EQ(mkfifo(c.pipe.c_str(), 0600), 0);
                before = "cat carried > " + c.pipe + " & ";
            }
            const RunResult result = runBounded(1 << 20, c.program, c.args, before);
            if (piped) {
                // A writer still waiting for a reader is let go.
                const int fd = open(c.pipe.c_str(), O_RDONLY | O_NONBLOCK);
                if (fd >= 0) close(fd);
                fs::remove(c.pipe);
                fs::rename("carried", c.pipe);
            }
            runs[piped] = traceOf(result);
        }
        EXPECT_EQ(runs[0].result.status, 0) << c.what << runs[0].result.err;
        expectSameRun(runs[1], runs[0], c.what);
    }
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
