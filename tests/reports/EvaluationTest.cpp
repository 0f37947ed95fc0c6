// Scoring a match result file against a gold file: the counts and measures
// of the line appended to ./eval_results.csv, and the cases where no line
// may be appended.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "support/TestSupport.h"
#include "matching/Match.h"

namespace graphmat {
namespace {

using test::CaptureStderr;
using test::CaptureStdout;
using test::fixture;
using test::readFile;
using test::ScratchDir;
using test::writeFile;

const std::string RUN_FILE = "v1__v2__1__0.5__1__1__0__1.csv";
const std::string GOLD = "./results/_v1__v2.csv";

// Class diagrams v1 (p.A, p.B, q.C, p.D; one relation) and v2 (p.A, p.B,
// r.C, p.E): two classes share their full names.
void writeDataset() {
    std::filesystem::create_directories("datasets/ds");
    std::filesystem::copy_file(fixture("reports/eval-v1.txt"), "datasets/ds/v1.txt");
    std::filesystem::copy_file(fixture("reports/eval-v2.txt"), "datasets/ds/v2.txt");
}

// Rows of a match result file: A-A and B-B keep their names, C changes its
// package, D becomes E, and a merged block (9) is matched with E; the other
// lines are no "ns" rows of five fields.
const std::string ROWS =
    "v1,v2,0\n"
    "ns,0,0,p.A,p.A,0,0,1,1,A,A\n"
    "ns,1,1,p.B,p.B,0,0,1,1,B,B\n"
    "ns,2,2,q.C,r.C,0,0,1,1,C,C\n"
    "ns,3,3,p.D,p.E,0,0,1,1,D,E\n"
    "ns,9,3,_1_3__-d--,p.E,0,0,1,1,x,E\n"
    "ns,1,2\n"
    "es,0,1,p.A,p.B\n";

const std::string PREFIX = "\nv1,v2,4,1,4,0,1,0.5,1,1,0";

TEST(Evaluation, CountsAndMeasuresOfTheResultLine) {
    struct Case {
        std::string name;
        std::optional<std::string> gold;
        std::optional<std::string> rows;
        std::string values;  // positions 12 to 26
    };
    const std::vector<Case> cases = {
        // confirm {0:0, 2:2} (the later line for 2 holds), infirm {1:1} (B_x
        // and B_y are equal up to their first "_"); the rejection of D-E is
        // passed over (different names); malformed lines are skipped.
        {"confirm and reject",
         "0_A,0_A,y\n2_C,7_X,y\n1_B_x,1_B_y,no\n2_C,2_C,yes,extra\n3_D,3_E,n\nbad line\n,,\n\n_A,,y\n", ROWS,
         ",1,1,2,5,1,4,3,2,1,0.4,0.666667,0.5,0.333333,0.5,0.4"},
        // Match result rows as a gold file confirm and reject nothing: every
        // same-name pair is correct, no other; diffN_ ratios are 0 / 0.
        {"gold of ns rows", ROWS, ROWS, ",0,2,2,5,0,3,2,0,0,0.4,1,0.571429,0,0,0"},
        {"no gold file", std::nullopt, ROWS, ",0,2,2,5,0,3,2,0,0,0.4,1,0.571429,0,0,0"},
        // Without the match result file every counter is 0 and so is every
        // ratio (never nan).
        {"no match result file", "0_A,0_A,y\n", std::nullopt, ",0,0,0,0,0,0,3,1,0,0,0,0,0,0,0"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        writeDataset();
        if (c.gold) writeFile(GOLD, *c.gold);
        if (c.rows) writeFile("./results/" + RUN_FILE, *c.rows);
        CaptureStderr err;
        CaptureStdout out;
        EXPECT_TRUE(Match::evalSolution(RUN_FILE, "ds")) << c.name;
        const std::string console = out.text();
        const std::string line = PREFIX + c.values;
        EXPECT_EQ(readFile("eval_results.csv"), line) << c.name;
        ASSERT_GE(console.size(), line.size());
        EXPECT_EQ(console.substr(console.size() - line.size()), line) << c.name;
        EXPECT_EQ(console.rfind("\n./datasets/ds/v1.txt,./datasets/ds/v2.txt,1,0.5,1,1,0", 0), 0u) << c.name;
        EXPECT_NE(console.find("\nSame Name Classes : 2\n"), std::string::npos) << c.name;
        EXPECT_EQ(console.find("nan"), std::string::npos) << c.name;
        if (!c.gold) {
            EXPECT_NE(console.find("\n./results/_v1__v2.csv\n Gold File Not Found\n"), std::string::npos);
            EXPECT_NE(err.text().find(GOLD), std::string::npos);
        }
        if (!c.rows) {
            EXPECT_NE(console.find("\n./results/" + RUN_FILE + "\n File Not Found\n"), std::string::npos);
        }
    }
}

TEST(Evaluation, GoldVerdictsAreTracedAndMalformedLinesNamed) {
    ScratchDir dir;
    writeDataset();
    writeFile(GOLD, "0_A,0_A,y\n2_C,7_X,y\n1_B_x,1_B_y,n\n3_D,3_E,n\nbad line\n");
    writeFile("./results/" + RUN_FILE, ROWS);
    CaptureStderr err;
    CaptureStdout out;
    ASSERT_TRUE(Match::evalSolution(RUN_FILE, "ds"));
    EXPECT_NE(out.text().find("\n./results/_v1__v2.csv\nFile Found\n\n C\t0:0\n C\t2:7\n I\t1:1\n./results/"),
              std::string::npos)
        << out.text();
    EXPECT_EQ(err.text(), GOLD + ", line 5: a gold line needs two vertices and a verdict; line skipped\n");
}

TEST(Evaluation, TwoRunsAppendTwoLines) {
    ScratchDir dir;
    writeDataset();
    writeFile("./results/" + RUN_FILE, ROWS);
    CaptureStderr err;
    CaptureStdout out;
    ASSERT_TRUE(Match::evalSolution(RUN_FILE, "ds"));
    ASSERT_TRUE(Match::evalSolution(RUN_FILE, "ds"));
    const std::string line = PREFIX + ",0,2,2,5,0,3,2,0,0,0.4,1,0.571429,0,0,0";
    EXPECT_EQ(readFile("eval_results.csv"), line + line);
}

test::RunResult evaluate(const std::vector<std::string>& args) { return test::runProgram(EVALUATE_BIN, args); }

TEST(EvaluateEntry, NothingIsAppendedWhenTheInputsCannotBeTrusted) {
    struct Case {
        std::string name;
        std::vector<std::string> args;
        bool dataset;
        std::string errPart;
    };
    const std::vector<Case> cases = {
        {"usage", {RUN_FILE}, true, "Usage: evaluate RESULT_FILE DATASET"},
        {"not a run name", {"v1__v2__1__0.5__1.csv", "ds"}, true, "v1__v2__1__0.5__1.csv"},
        {"class diagram missing", {RUN_FILE, "other"}, true, "./datasets/other/v1.txt"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        if (c.dataset) writeDataset();
        writeFile("./results/" + RUN_FILE, ROWS);
        test::RunResult r = evaluate(c.args);
        EXPECT_EQ(r.status, 1) << c.name;
        EXPECT_NE(r.err.find(c.errPart), std::string::npos) << c.name << ": " << r.err;
        EXPECT_FALSE(test::fileExists("eval_results.csv")) << c.name;
    }
}

// A bad command line: the usage lines, then one line that names the fault
// (the arguments swapped among them) and points to --help; nothing read,
// nothing appended.
TEST(EvaluateEntry, AUsageErrorIsNamedOnOneLine) {
    const std::string usage =
        "Usage: evaluate RESULT_FILE DATASET\n  RESULT_FILE  match result file name inside ./results/\n"
        "  DATASET      folder under ./datasets/ holding the two class diagrams\n";
    const std::string help = "; evaluate --help describes both arguments\n";
    const std::string order = ", the first argument, is not a match result file name (graph 1__graph 2__five cost "
                              "weights__seed.csv): the arguments are RESULT_FILE DATASET, in this order";
    struct Case {
        std::vector<std::string> args;
        std::string fault;
    };
    const std::vector<Case> cases = {
        {{}, "Two arguments are needed, RESULT_FILE and DATASET: 0 given"},
        {{RUN_FILE}, "Two arguments are needed, RESULT_FILE and DATASET: 1 given"},
        {{RUN_FILE, "ds", "x"}, "Two arguments are needed, RESULT_FILE and DATASET: 3 given"},
        {{"ds", RUN_FILE}, "\"ds\"" + order + "; \"" + RUN_FILE + "\", the second, is one: swap the two"},
        {{"v1__v2__1__0.5__1.csv", "ds"}, "\"v1__v2__1__0.5__1.csv\"" + order},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        writeDataset();
        writeFile("./results/" + RUN_FILE, ROWS);
        test::RunResult r = evaluate(c.args);
        const std::string what = ::testing::PrintToString(c.args);
        EXPECT_EQ(r.status, 1) << what;
        EXPECT_EQ(r.out, "") << what;
        EXPECT_EQ(r.err, usage + c.fault + help) << what;
        EXPECT_FALSE(test::fileExists("eval_results.csv")) << what;
    }
}

// A directory in place of the gold file or of the match result file is a
// file that does not open: named on standard error, read as empty.
TEST(EvaluateEntry, ADirectoryInPlaceOfAnInputIsAMissingFile) {
    struct Case {
        std::string name;
        std::string directory;
        std::string console;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"gold file", GOLD, "\n Gold File Not Found\n", PREFIX + ",0,2,2,5,0,3,2,0,0,0.4,1,0.571429,0,0,0"},
        {"match result file", "./results/" + RUN_FILE, "\n File Not Found\n",
         PREFIX + ",0,0,0,0,0,0,2,0,0,0,0,0,0,0,0"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        writeDataset();
        writeFile("./results/" + RUN_FILE, ROWS);
        writeFile(GOLD, "");
        std::filesystem::remove(c.directory);
        std::filesystem::create_directory(c.directory);
        test::RunResult r = evaluate({RUN_FILE, "ds"});
        EXPECT_EQ(r.status, 0) << c.name << ": " << r.err;
        EXPECT_EQ(r.err, "Cannot read " + c.directory + ": Is a directory\n") << c.name;
        EXPECT_NE(r.out.find(c.console), std::string::npos) << c.name << ": " << r.out;
        EXPECT_EQ(readFile("eval_results.csv"), c.line) << c.name;
    }
}

TEST(EvaluateEntry, StatusOfARunAndOfAnUnwritableResultsFile) {
    ScratchDir dir;
    writeDataset();
    writeFile("./results/" + RUN_FILE, ROWS);
    test::RunResult r = evaluate({RUN_FILE, "ds"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile("eval_results.csv"), PREFIX + ",0,2,2,5,0,3,2,0,0,0.4,1,0.571429,0,0,0");

    std::filesystem::remove("eval_results.csv");
    std::filesystem::create_directory("eval_results.csv");
    r = evaluate({RUN_FILE, "ds"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("eval_results.csv"), std::string::npos) << r.err;
}

// The graphs of a pair made by graphgen are plain graph files named .csv:
// evaluate, which reads ./datasets/DATASET/G.txt as class diagram files,
// finds none, or (renamed .txt) refuses them; either way nothing is appended
// and standard error points to where a generated pair's scoring is told.
TEST(EvaluateEntry, AGeneratedPairIsRefusedWithWhereItsScoringIsTold) {
    const std::string pointer =
        "A pair made by graphgen is not scored by evaluate but against its known matching: docs/USAGE.md, section "
        "\"Scoring a generated pair\"\n";
    const std::string plain = "3,2\n0,1\n1,2\n2,1\n0,1,1\n1,2,2\n";
    const std::string a = "./datasets/random/g7A.txt", b = "./datasets/random/g7B.txt";
    const std::string notUsed = " is not used: evaluate reads class diagram files (reader mode 4)\n";
    const std::string looks = ": no line reads in reader mode 4; it looks like a plain graph file (reader mode 0)\n";
    struct Case {
        std::string name;
        std::string extension;  // of the generated files
        std::string refusal;
    };
    const std::vector<Case> cases = {
        {"as written (.csv)", ".csv",
         "Cannot read " + a + ": No such file or directory\nCannot read " + b + ": No such file or directory\n"},
        {"renamed .txt", ".txt",
         "Graph file " + a + looks + "Graph file " + b + looks + "Graph file " + a + notUsed + "Graph file " + b +
             notUsed},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        std::filesystem::create_directories("datasets/random");
        writeFile("./datasets/random/g7A" + c.extension, plain);
        writeFile("./datasets/random/g7B" + c.extension, plain);
        writeFile("./results/g7A__g7B__1__0.5__1__1__0__1.csv", "ns,0,0,1,1\n");
        test::RunResult r = evaluate({"g7A__g7B__1__0.5__1__1__0__1.csv", "random"});
        EXPECT_EQ(r.status, 1) << c.name;
        EXPECT_EQ(r.err, c.refusal + "Nothing appended to ./eval_results.csv\n" + pointer) << c.name;
        EXPECT_FALSE(test::fileExists("eval_results.csv")) << c.name;
    }
}

}  // namespace
}  // namespace graphmat
