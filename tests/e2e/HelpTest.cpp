// --help on every program: the text goes to standard output with status 0,
// names every switch or argument with its default, and points to a section
// of docs/USAGE.md that exists. Usage errors keep their own texts.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::contains;
using test::RunResult;
using test::ScratchDir;

struct Program {
    std::string what;
    std::string binary;
    // Lines the text must hold: a switch or argument with its default.
    std::vector<std::string> entries;
    // The sections of docs/USAGE.md it points to (headings of level 2 or 3).
    std::vector<std::string> sections;
};

void PrintTo(const Program& p, std::ostream* out) { *out << p.what; }

std::vector<Program> programs() {
    return {
        {"graphmat",
         GRAPHMAT_BIN,
         {"  -o PATH   graph 1", "  -n PATH   graph 2", "  -h MODE   reader mode of both files, 0 to 12 (default 12",
          "  -d REAL   node drop weight (default 0)", "  -g REAL   edge drop weight (default 0)",
          "  -e REAL   edge weight (default 0)", "  -y REAL   asymmetry", "  -c REAL   label weight (default 0)",
          "  -s INT    random seed, also part of the result file names (default 1)", "  -i REAL   start-solution mode",
          "            1.5) runs as 4 (the search from the pre-matching) with no warning;",
          "without that file the run ends with status 1\n            (-i 1 matches without one)",
          "(default 7)", "(default 80)", "  -m PATH", "  -u 0|1", "  -w 0|1", "Results: ./results/RUN.csv"},
         {"graphmat: match two graphs"}},
        {"mces",
         MCES_BIN,
         {"  -o PATH", "  -n PATH", "  -t INT    algorithm number, 0 to 9 (default 1)",
          "  -a REAL   randomisation alpha (default 0)", "  -m INT    similarity code (default 0)",
          "  -s INT    random seed (default 1)", "Results: one line appended to ./results.csv"},
         {"mces: the common-edge-subgraph matcher alone"}},
        {"graphgen",
         GRAPHGEN_BIN,
         {"Usage: graphgen GENERATOR PARAMETER...", "Usage: graphgen pair n e q nl nld el eld pd pi filename seed",
          "Usage: graphgen noise k v epsilon seed", "Usage: graphgen mutate mode graph", "Usage: graphgen shuffle mode",
          "Results: "},
         {"graphgen: random graph pairs with a known correspondence",
          "graphgen noise, mutate, shuffle: noisy pairs and mutated copies"}},
        {"graphstats",
         GRAPHSTATS_BIN,
         {"  FILE...", "  -h MODE   reader mode of the files, 0 to 12 (default 12", "  -k KIND   what to write",
          "(default details)", "./graphs/all_graphs.csv"},
         {"graphstats: describe a collection of graphs"}},
        {"tunnel",
         TUNNEL_BIN,
         {"Usage: tunnel SERIES_LIST", "g,PATH", "m,PATH", "newest version first",
          "Paths are read relative to the current folder", "reader mode 12", "under ./results/"},
         {"tunnel: follow the classes through a series of versions"}},
        {"evaluate",
         EVALUATE_BIN,
         {"Usage: evaluate RESULT_FILE DATASET", "  RESULT_FILE", "  DATASET", "./eval_results.csv",
          "evaluate cannot score a pair made by graphgen"},
         {"evaluate: score a match result file against a gold file", "Scoring a generated pair"}},
        {"logcost",
         LOGCOST_BIN,
         {"  -o PATH", "  -n PATH", "  -p PATH", "  -h MODE   reader mode of both graphs, 0 to 12 (default 0",
          "  -d REAL   node drop weight (default 0)", "  -c REAL   label weight (default 0)",
          "  -s INT    random seed (default 1)", "Log Matching Cost : "},
         {"logcost: the cost of an edit-path log's correspondence"}},
        {"reduce",
         REDUCE_BIN,
         {"  GRAPH1, GRAPH2", "(default 4)", "  -v 1|2", "(default 1)", "./results/_A__B.csv"},
         {"reduce: set aside the obvious part of two class diagrams"}},
    };
}

class Help : public ::testing::TestWithParam<Program> {};

TEST_P(Help, OnStandardOutputWithEverySwitchAndItsSection) {
    const Program& p = GetParam();
    ScratchDir dir;
    const RunResult r = test::runProgram(p.binary, {"--help"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::vector<std::string> lines = test::lines(r.out);
    ASSERT_GT(lines.size(), 3u) << r.out;
    // One line on what it does, then an empty line and the synopsis.
    EXPECT_EQ(lines[0].rfind(p.what + ": ", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2].rfind("Usage: " + p.what, 0), 0u) << lines[2];
    for (const std::string& entry : p.entries) EXPECT_TRUE(contains(r.out, entry)) << entry << "\n" << r.out;
    EXPECT_TRUE(contains(r.out, "Exit status")) << r.out;

    const std::string usage = test::readFile(test::exampleFile("../docs/USAGE.md"));
    EXPECT_TRUE(contains(r.out, "Documentation: docs/USAGE.md")) << r.out;
    for (const std::string& section : p.sections) {
        EXPECT_TRUE(contains(r.out, "\"" + section + "\"")) << section;
        EXPECT_TRUE(contains(usage, "\n## " + section + "\n") || contains(usage, "\n### " + section + "\n"))
            << "docs/USAGE.md has no section " << section;
    }

    // The short form gives the same text; neither writes a file.
    const RunResult shortForm = test::runProgram(p.binary, {"-help"});
    EXPECT_EQ(shortForm.status, 0);
    EXPECT_EQ(shortForm.out, r.out);
    EXPECT_TRUE(std::filesystem::is_empty("results"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), std::filesystem::directory_iterator()), 1);
}

TEST_P(Help, AStandardOutputThatCannotBeWrittenGivesStatusTwo) {
    ScratchDir dir;
    const std::string command = GetParam().binary + " --help > /dev/full 2> err.txt";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_EQ(test::readFile("err.txt"), "Cannot write the standard output\n");
}

INSTANTIATE_TEST_SUITE_P(EveryProgram, Help, ::testing::ValuesIn(programs()), test::CaseName());

// Help is asked by the first argument only: later, "--help" is a value or an
// unknown switch like any other, with the usage texts and statuses of a bad
// command line.
TEST(HelpOnlyFirst, ALaterHelpIsNoHelp) {
    ScratchDir dir;
    const std::string graphmatUsage =
        "\nLegal switches:\n-o path of graph 1 \n-n path of graph 2\n-m path of similarity file\n"
        "-d direction of similarity file\n-s random seed\n";
    RunResult r = test::runProgram(GRAPHMAT_BIN, {"-s", "1", "--help"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "\n START \n -s 1");
    EXPECT_EQ(r.err, graphmatUsage +
                         "Unknown switch --help (ignored; an unknown switch takes no value); graphmat --help lists "
                         "every switch\nSwitches -o and -n are needed; graphmat --help lists every switch\n");

    r = test::runProgram(TUNNEL_BIN, {"series.txt", "--help"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(contains(r.err, "Usage: tunnel SERIES_LIST\n")) << r.err;
}

// The text with every run of blanks and line ends as one blank, without the
// backquotes of Markdown.
std::string flowing(const std::string& text) {
    std::string flat;
    for (char c : text) {
        if (c == '`') continue;
        const bool blank = c == ' ' || c == '\n';
        if (blank && !flat.empty() && flat.back() == ' ') continue;
        flat += blank ? ' ' : c;
    }
    return flat;
}

// graphmat --help tells every cause of an exit status that the README's
// summary tells.
TEST(HelpAndReadme, GraphmatHelpListsEveryExitStatusCauseOfTheReadme) {
    ScratchDir dir;
    const std::string help = flowing(test::runProgram(GRAPHMAT_BIN, {"--help"}).out);
    const std::string readme = flowing(test::readFile(test::exampleFile("../README.md")));
    const std::size_t helpStatus = help.find("Exit status: ");
    const std::size_t readmeStatus = readme.find("Exit status: 0 after a run");
    ASSERT_NE(helpStatus, std::string::npos);
    ASSERT_NE(readmeStatus, std::string::npos);
    const std::string helpCauses = help.substr(helpStatus, help.find("Documentation:", helpStatus) - helpStatus);
    const std::string readmeCauses = readme.substr(readmeStatus, readme.find("\"Failures", readmeStatus) - readmeStatus);
    for (const std::string cause :
         {"a usage error", "a graph file that does not open", "is a device", "is read in a wrong reader mode",
          "whose counts need more memory than the machine has",
          "a start mode other than 1 without its known-matching file", "-u 1", "start-solution mode 0",
          "./results/ is missing", "a result file (or the console output) could not be written"}) {
        EXPECT_TRUE(contains(readmeCauses, cause)) << cause << "\n" << readmeCauses;
        EXPECT_TRUE(contains(helpCauses, cause)) << cause << "\n" << helpCauses;
    }
}

}  // namespace
}  // namespace graphmat
