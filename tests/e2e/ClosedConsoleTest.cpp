// Consoles that cannot be written: a standard descriptor closed at start
// (`>&-`, `2>&-`, `<&-`) and a console pipe whose reader has gone
// (`| head -1`). No result file takes the console's place, the run writes
// every file of a normal run, and a standard output that could not be
// written ends the run with "Cannot write the standard output" and status 2.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

namespace fs = std::filesystem;
using test::contains;
using test::RunResult;
using test::ScratchDir;

const std::string kConsoleOut = "console.out", kConsoleErr = "console.err";
const std::string kStdoutFailed = "Cannot write the standard output\n";

struct ConsoleCase {
    std::string what;
    std::string program;
    std::vector<std::string> args;
};

// Every input and folder of the cases, in the working folder.
void prepareInputs() {
    test::copyExampleFiles("series", test::exampleSeriesFiles());  // series.txt, shop-N.txt, matches/
    fs::create_directories("results");
    fs::create_directories("graphs");
    fs::create_directories("logs");
    test::writeFile("a.csv", "2,1\n0,a\n1,b\n0,1,1\n");
    test::writeFile("log.txt", "n,0,0\nn,1,1\n");
    fs::create_directories("datasets/shop");
    fs::copy_file(test::exampleFile("datasets/cdiagrams/eclipse/shop-cd-1.txt"), "datasets/shop/v1.txt");
    fs::copy_file(test::exampleFile("datasets/cdiagrams/eclipse/shop-cd-2.txt"), "datasets/shop/v2.txt");
    test::writeFile("results/v1__v2__1__0.5__1__1__0__1.csv", "ns,0,0,a,a\n");
    test::writeFile("results/_v1__v2.csv", "");
}

// Every file and folder under the working folder but the console captures.
std::map<std::string, std::string> filesHere() { return test::treeHere({kConsoleOut, kConsoleErr}); }

// The file names, then each file's bytes (named, not printed: some are large).
void expectSameFiles(const std::map<std::string, std::string>& files, const std::map<std::string, std::string>& expected,
                     const std::string& what) {
    std::vector<std::string> names, expectedNames;
    for (const auto& entry : files) names.push_back(entry.first);
    for (const auto& entry : expected) expectedNames.push_back(entry.first);
    ASSERT_EQ(names, expectedNames) << what;
    for (const auto& [name, bytes] : files) EXPECT_TRUE(bytes == expected.at(name)) << what << ": " << name << " differs";
}

struct Outcome {
    RunResult run;
    std::map<std::string, std::string> files;
};

std::string quoted(const std::string& word) {
    std::string text = "'";
    for (char c : word) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

// Runs the case in a fresh folder through the shell, with `redirections`
// after the command (the console files are console.out and console.err).
Outcome runInShell(const ConsoleCase& c, const std::string& redirections) {
    ScratchDir dir(false);
    prepareInputs();
    std::string command = "exec " + quoted(c.program);
    for (const std::string& arg : c.args) command += " " + quoted(arg);
    const int status = std::system((command + " " + redirections).c_str());
    Outcome outcome;
    outcome.run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.run.out = test::readFile(kConsoleOut);
    outcome.run.err = test::readFile(kConsoleErr);
    outcome.files = filesHere();
    return outcome;
}

// Runs the case in a fresh folder with its standard output on a pipe whose
// reader has gone.
Outcome runIntoClosedPipe(const ConsoleCase& c) {
    ScratchDir dir(false);
    prepareInputs();
    test::RunOptions options;
    options.stdoutPipeClosed = true;
    options.killAfterSeconds = 120;
    Outcome outcome;
    outcome.run = test::runProgram(c.program, c.args, options);
    outcome.files = filesHere();
    return outcome;
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void PrintTo(const ConsoleCase& c, std::ostream* out) { *out << c.what; }

class ClosedConsole : public ::testing::TestWithParam<ConsoleCase> {};

// reduce: the class diagram files named on standard error (their copies
// under ./datasets/ are missing) once the result files are open; before,
// with standard error closed, those lines went into the obvious pairs file
// and the run ended 0.
TEST_P(ClosedConsole, DescriptorsClosedAtStartLeaveTheResultFilesAsInANormalRun) {
    const ConsoleCase& c = GetParam();
    const Outcome normal = runInShell(c, ">" + kConsoleOut + " 2>" + kConsoleErr);
    ASSERT_EQ(normal.run.status, 0) << normal.run.err;
    struct Closure {
        std::string redirections;
        int status;
        bool stdoutOpen, stderrOpen;
    };
    const std::vector<Closure> closures = {
        {">&- 2>" + kConsoleErr, 2, false, true},
        // Only messages are lost: the run keeps its own status.
        {">" + kConsoleOut + " 2>&-", 0, true, false},
        {">&- 2>&-", 2, false, false},
        {"<&- >" + kConsoleOut + " 2>" + kConsoleErr, 0, true, true},
    };
    for (const Closure& closure : closures) {
        const Outcome r = runInShell(c, closure.redirections);
        EXPECT_EQ(r.run.status, closure.status) << closure.redirections << "\n" << r.run.err;
        expectSameFiles(r.files, normal.files, closure.redirections);
        if (closure.stdoutOpen) {
            EXPECT_EQ(test::withoutTimes(r.run.out), test::withoutTimes(normal.run.out)) << closure.redirections;
        }
        if (closure.stderrOpen) {
            EXPECT_EQ(r.run.err, closure.stdoutOpen ? normal.run.err : normal.run.err + kStdoutFailed)
                << closure.redirections;
        }
    }
}

TEST_P(ClosedConsole, APipeWhoseReaderHasGoneEndsWithStatus2AfterEveryFile) {
    const ConsoleCase& c = GetParam();
    const Outcome normal = runInShell(c, ">" + kConsoleOut + " 2>" + kConsoleErr);
    ASSERT_EQ(normal.run.status, 0) << normal.run.err;
    const Outcome r = runIntoClosedPipe(c);
    EXPECT_EQ(r.run.status, 2) << "killed by SIGPIPE: -1";
    EXPECT_EQ(r.run.err, normal.run.err + kStdoutFailed);
    expectSameFiles(r.files, normal.files, "pipe");
}

const std::string kShop1 = test::exampleFile("shop-v1.txt"), kShop2 = test::exampleFile("shop-v2.txt");
const std::string kEclipse = test::exampleFile("datasets/cdiagrams/eclipse/");

INSTANTIATE_TEST_SUITE_P(
    Programs, ClosedConsole,
    ::testing::Values(
        ConsoleCase{"reduce", REDUCE_BIN, {kEclipse + "shop-cd-1.txt", kEclipse + "shop-cd-2.txt"}},
        ConsoleCase{"graphmat", GRAPHMAT_BIN, {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-o", kShop1, "-n", kShop2}},
        ConsoleCase{"graphmat UML difference report", GRAPHMAT_BIN,
                    {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-w", "1", "-o", kShop1, "-n", kShop2}},
        ConsoleCase{"tunnel", TUNNEL_BIN, {"series.txt"}},
        ConsoleCase{"graphgen pair", GRAPHGEN_BIN, {"pair", "10", "2", "0.5", "3", "0.5", "2", "1", "10", "20", "g", "1", "0"}},
        ConsoleCase{"graphgen mutate", GRAPHGEN_BIN,
                    {"mutate", "0", "a.csv", "0.3", "0.3", "0.2", "1", "7", "new.csv", "edits.txt"}},
        ConsoleCase{"graphstats", GRAPHSTATS_BIN, {"-h", "4", "shop-1.txt", "shop-2.txt"}},
        ConsoleCase{"evaluate", EVALUATE_BIN, {"v1__v2__1__0.5__1__1__0__1.csv", "shop"}},
        ConsoleCase{"logcost", LOGCOST_BIN, {"-o", "a.csv", "-n", "a.csv", "-p", "log.txt"}}),
    test::CaseName());

// The pipelines of a user who keeps the first line: `head` leaves after it,
// and the rest of a long console output meets a pipe without a reader. The
// run still writes every file and ends with status 2 and the message.
TEST(ConsolePipeClosedEarly, APipelineKeepingTheFirstLineGetsEveryFile) {
    // A multi-arc of 6000 arcs labelled 12 prints three lines per arc as it
    // is read: far more than a pipe holds.
    std::string stars = "2,6000\n0,a\n1,b\n";
    for (int k = 0; k < 6000; ++k) stars += "0,1,12\n";
    struct Case {
        std::string what;
        std::string command;
    };
    const std::vector<Case> cases = {
        {"noisy pair", std::string(GRAPHGEN_BIN) + " noise 1 200 5 3"},
        {"matching", std::string(GRAPHMAT_BIN) + " -h 0 -d 1 -g 0.5 -e 1 -y 1 -o stars.csv -n stars.csv"},
    };
    for (const Case& c : cases) {
        std::map<std::string, std::string> normal;
        {
            ScratchDir dir;
            fs::create_directories("benchmark");
            test::writeFile("stars.csv", stars);
            ASSERT_EQ(std::system((c.command + " > /dev/null 2>" + kConsoleErr).c_str()), 0) << c.what;
            normal = filesHere();
        }
        ScratchDir dir;
        fs::create_directories("benchmark");
        test::writeFile("stars.csv", stars);
        const std::string pipeline = c.command + " 2>" + kConsoleErr + " | head -1 > /dev/null; exit ${PIPESTATUS[0]}";
        const int status = std::system(("bash -c " + quoted(pipeline)).c_str());
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 2) << c.what << ": 141 is SIGPIPE";
        EXPECT_TRUE(endsWith(test::readFile(kConsoleErr), kStdoutFailed)) << c.what;
        expectSameFiles(filesHere(), normal, c.what);
    }
}

// Runs whose files hold a time (mces) or that end without taking their
// objects apart (the similarity experiment, status 1 of its own) name the
// console all the same, after their files.
TEST(ConsolePipeClosedEarly, RunsEndingOtherwiseNameTheConsoleToo) {
    struct Case {
        std::string what;
        std::string program;
        std::vector<std::string> args;
        int status;
        std::string written;
    };
    const std::vector<Case> cases = {
        {"mces", MCES_BIN, {"-o", "e.csv", "-n", "e.csv", "-t", "7"}, 2, "results.csv"},
        {"similarity experiment", GRAPHMAT_BIN,
         {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-i", "0", "-o", kShop1, "-n", kShop2}, 1, "sim_results.csv"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        test::writeFile("e.csv", "2,1\n0,1,1\n");
        fs::create_directories("datasets/random");
        test::writeFile("datasets/random/shop-v.csv", "");  // the known matching the experiment reads
        test::RunOptions options;
        options.stdoutPipeClosed = true;
        options.killAfterSeconds = 120;
        const RunResult r = test::runProgram(c.program, c.args, options);
        EXPECT_EQ(r.status, c.status) << c.what << ": " << r.err;
        EXPECT_TRUE(endsWith(r.err, kStdoutFailed)) << c.what << ": " << r.err;
        EXPECT_FALSE(test::readFile(c.written).empty()) << c.what;
    }
}

// Both streams in one pipe (`2>&1`): a message starts on a line of its own,
// also after a trace line that the reader left open, and the standard
// output is the one of the run with the streams apart. With the streams
// apart, standard error holds no line break of its own making.
TEST(SharedConsole, AMessageStartsOnALineOfItsOwn) {
    ScratchDir dir;
    fs::create_directories("results");
    const std::vector<std::string> args = {"-h", "4", "-d", "1", "-g", "0.5", "-e", "1", "-y", "1",
                                           "-o", kShop1, "-n", kShop2};
    const RunResult apart = test::runProgram(GRAPHMAT_BIN, args);
    std::vector<std::string> shellArgs = {"-c", "exec \"$0\" \"$@\" 2>&1", GRAPHMAT_BIN};
    shellArgs.insert(shellArgs.end(), args.begin(), args.end());
    const RunResult together = test::runProgram("/bin/sh", shellArgs);
    EXPECT_EQ(together.status, 1);
    ASSERT_TRUE(contains(apart.err, "Graph file ")) << apart.err;
    EXPECT_EQ(apart.err.find("\n\n"), std::string::npos) << apart.err;
    EXPECT_EQ(apart.err[0], 'G') << apart.err;
    // Every message is on its own line, right after the trace it follows.
    for (const std::string& message : test::lines(apart.err)) {
        if (message.empty()) continue;
        EXPECT_TRUE(contains(together.out, "\n" + message + "\n")) << message;
        EXPECT_FALSE(contains(together.out, "!!!!" + message)) << message;
    }
    // Less the messages and the line breaks, the text is the standard
    // output of the run apart: nothing else is added or lost.
    std::string out = together.out;
    for (const std::string& message : test::lines(apart.err))
        if (!message.empty()) out.erase(out.find(message), message.size());
    auto withoutBreaks = [](std::string text) {
        text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
        return text;
    };
    EXPECT_EQ(withoutBreaks(out), withoutBreaks(apart.out));
}

}  // namespace
}  // namespace graphmat
