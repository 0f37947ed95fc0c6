// End-to-end runs of the graphmat executable in a scratch working directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::RunResult;
using test::ScratchDir;
using test::withoutTimes;

RunResult graphmat(const std::vector<std::string>& args) { return test::runProgram(GRAPHMAT_BIN, args); }

const std::string kUsage =
    "\nLegal switches:\n-o path of graph 1 \n-n path of graph 2\n-m path of similarity file\n"
    "-d direction of similarity file\n-s random seed\n";

std::vector<std::string> shopArgs(std::vector<std::string> extra = {}) {
    std::vector<std::string> args = {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1"};
    args.insert(args.end(), extra.begin(), extra.end());
    args.insert(args.end(), {"-o", test::exampleFile("shop-v1.txt"), "-n", test::exampleFile("shop-v2.txt")});
    return args;
}

using test::contains;

TEST(DriverUsage, ArgumentErrors) {
    struct Case {
        std::vector<std::string> args;
        std::string out, err;
        int status;
    };
    const std::string help = "; graphmat --help lists every switch\n";
    const std::vector<Case> cases = {
        {{}, "\n START \n", "Parameters e expected\nAt least 3 arguments are needed, 0 given" + help, 1},
        {{"-o", "A.csv"}, "\n START \n", "Parameters e expected\nAt least 3 arguments are needed, 2 given" + help, 1},
        // A switch without its value never reads past the arguments.
        {{"-o", "A.csv", "-n"}, "\n START \n -o A.csv", kUsage + "Switch -n needs a value" + help, 1},
        // Without both graphs there is nothing to match.
        {{"-o", "A.csv", "-s", "3"}, "\n START \n -o A.csv -s 3", kUsage + "Switches -o and -n are needed" + help, 1},
        // An unknown letter prints the usage and parsing goes on: '5' ends the
        // switches, so -o and -n are never read; the list is printed once.
        {{"-x", "5", "-o", "A.csv", "-n", "B.csv"},
         "\n START \n",
         kUsage + "Unknown switch -x (ignored; an unknown switch takes no value)" + help +
             "Switches -o and -n are needed: the switches end at \"5\", the first argument that does not begin "
             "with \"-\"" + help,
         1},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        RunResult r = graphmat(c.args);
        EXPECT_EQ(r.status, c.status) << ::testing::PrintToString(c.args);
        EXPECT_EQ(r.out, c.out) << ::testing::PrintToString(c.args);
        EXPECT_EQ(r.err, c.err) << ::testing::PrintToString(c.args);
    }
}

TEST(DriverUsage, AMissingGraphFileEndsTheRunWithoutMatching) {
    ScratchDir dir;
    RunResult r = graphmat({"-o", "missing.txt", "-n", test::exampleFile("shop-v2.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.out, "File missing.txt ...Not Found \n\n G1: 0\t0\n")) << r.out;
    EXPECT_TRUE(contains(r.out, "\n G2: 69\t164\n"));
    EXPECT_FALSE(contains(r.out, "No Matching Cost"));
    EXPECT_TRUE(contains(r.err, "missing.txt")) << r.err;
    EXPECT_FALSE(test::fileExists("results/shop-v1__shop-v2__0__0__0__0__0__1.csv"));
}

TEST(DriverRun, ADefaultRunEndsWithTheSummaryAndTheReports) {
    ScratchDir dir;
    RunResult r = graphmat(shopArgs());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string out = withoutTimes(r.out);
    EXPECT_EQ(out.rfind("\n START \n -d 1 -g 0.5 -e 1 -y 1 -o ", 0), 0u);
    EXPECT_TRUE(contains(out, "\n\n\nNo Matching Cost : 18487\n\n1\nInit ...\n\n"));
    std::smatch summary;
    ASSERT_TRUE(std::regex_search(out, summary,
                                  std::regex("\n\n\nMatching Cost : ([0-9.e+]+)\n\nTime : <t>\n\nIterations : ([0-9]+)$")))
        << out.substr(out.size() > 400 ? out.size() - 400 : 0);
    EXPECT_GT(std::stoi(summary[2]), 0);
    const std::string run = "results/shop-v1__shop-v2__1__0.5__1__1__0__1.csv";
    for (const std::string& file : {run, run + ".csv", run + ".csv.csv", run + ".csv.csv.csv",
                                    std::string("results/raw_shop-v1.csv"), std::string("results/raw_shop-v2.csv"),
                                    std::string("results/raw_shop-v1__shop-v2__1__0.5__1__1__0__1.csv"),
                                    std::string("results/raw_shop-v1__shop-v2__1__0.5__1__1__0__1.csv_MERGES.csv"),
                                    std::string("results/sem_shop-v1__shop-v2_PAIRS.csv")})
        EXPECT_TRUE(test::fileExists(file)) << file;
}

// Every file a run leaves under ./results/, by name, with its content.
std::map<std::string, std::string> resultFiles() {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator("results"))
        files[entry.path().filename().string()] = test::readFile(entry.path().string());
    return files;
}

TEST(DriverRun, TheSameSeedGivesTheSameRunAndFiles) {
    for (const std::vector<std::string>& extra :
         {std::vector<std::string>{"-s", "5"}, std::vector<std::string>{"-s", "9", "-i", "4"}}) {
        std::string firstOut;
        std::map<std::string, std::string> firstFiles;
        for (int round = 0; round < 2; ++round) {
            ScratchDir dir;
            std::filesystem::create_directories("datasets/random");
            test::writeFile("datasets/random/shop-v.csv", "s\nl\nf\ne\nn\nv\n0,0\n1,1\n");  // read by -i 4
            RunResult r = graphmat(shopArgs(extra));
            ASSERT_EQ(r.status, 0) << r.err;
            if (round == 0) {
                firstOut = withoutTimes(r.out);
                firstFiles = resultFiles();
            } else {
                EXPECT_EQ(withoutTimes(r.out), firstOut);
                EXPECT_EQ(resultFiles(), firstFiles);
            }
        }
    }
}

TEST(DriverRun, TheSingleAssignmentMakesNoSearchIterations) {
    ScratchDir dir;
    RunResult r = graphmat(shopArgs({"-m", "no-such-similarity-file.csv"}));
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string out = withoutTimes(r.out);
    EXPECT_FALSE(contains(out, "\nInit ...")) << "the search ran";
    EXPECT_FALSE(contains(out, "No Matching Cost : 18487\n\n1\n"));
    EXPECT_TRUE(contains(out, "\n\nIterations : 0"));
    EXPECT_EQ(out.substr(out.size() - std::string("\n\nIterations : 0").size()), "\n\nIterations : 0");
    EXPECT_TRUE(test::fileExists("results/shop-v1__shop-v2__1__0.5__1__1__0__1.csv"));
}

TEST(DriverRun, TheDiagramDifferenceReportMatchesNothing) {
    ScratchDir dir;
    RunResult r = graphmat(shopArgs({"-u", "1"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(contains(r.out, "No Matching Cost"));
    EXPECT_TRUE(contains(r.out, " -u 1"));
    EXPECT_TRUE(test::fileExists("results/raw_shop-v1__shop-v2__1__0.5__1__1__0__1.csv_diff.csv"));
}

TEST(DriverRun, AnUnwritableResultFileEndsWithStatusTwo) {
    ScratchDir dir;
    // A folder in the place of the match result file: it does not open.
    std::filesystem::create_directory("results/shop-v1__shop-v2__1__0.5__1__1__0__1.csv");
    RunResult r = graphmat(shopArgs());
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(contains(r.out, "\n\n\nMatching Cost : "));
    EXPECT_TRUE(contains(r.err, "Cannot write ./results/shop-v1__shop-v2__1__0.5__1__1__0__1.csv\n")) << r.err;
    EXPECT_TRUE(test::fileExists("results/shop-v1__shop-v2__1__0.5__1__1__0__1.csv.csv")) << "the run goes on";
}


// Two tiny model graph files named A and B in the working directory.
void writeModelsAB() {
    test::writeFile("A.txt", "2,1\np,0,.\nc,1,Foo\nr,0,1,9\n");
    test::writeFile("B.txt", "2,1\np,0,.\nc,1,Foo\nr,0,1,9\n");
}

// What the diagram difference report reads, in its order, when none of its
// inputs exist: the raw and reference entity lists of each graph, then the
// raw pair list of the run and the reference pair list.
std::string diffInputsMissing(const std::string& run) {
    const std::string missing = ": No such file or directory\n";
    return "Cannot read ./results/raw_A.csv" + missing + "Cannot read ./results/uml_A.csv" + missing +
           "Cannot read ./results/raw_B.csv" + missing + "Cannot read ./results/uml_B.csv" + missing +
           "Cannot read ./results/raw_" + run + ".csv" + missing + "Cannot read ./results/uml_A__B.csv" + missing;
}

TEST(DriverUsage, SwitchesAreReadByTheirSecondCharacterAndTakeTheNextArgument) {
    struct Case {
        std::vector<std::string> args;
        std::string echo;   // the switch echoes, between START and the first graph line
        std::string usage;  // usage lines printed while parsing
        std::string run;    // run name of the raw pair list read
    };
    const std::string defaults = "A__B__0__0__0__0__0__1";
    const std::vector<Case> cases = {
        {{"-u", "1", "-o", "A.txt", "-n", "B.txt"}, " -u 1 -o A.txt -n B.txt", "", defaults},
        // The seed ends the run name.
        {{"-s", "7", "-u", "1", "-o", "A.txt", "-n", "B.txt"}, " -s 7 -u 1 -o A.txt -n B.txt", "",
         "A__B__0__0__0__0__0__7"},
        // A value that begins with "-" is still the value.
        {{"-d", "-0.5", "-u", "1", "-o", "A.txt", "-n", "B.txt"}, " -d -0.5 -u 1 -o A.txt -n B.txt", "",
         "A__B__-0.5__0__0__0__0__1"},
        {{"-d", "1", "-g", "0.5", "-e", "2", "-y", "3", "-c", "0.25", "-u", "1", "-o", "A.txt", "-n", "B.txt"},
         " -d 1 -g 0.5 -e 2 -y 3 -c 0.25 -u 1 -o A.txt -n B.txt", "", "A__B__1__0.5__2__3__0.25__1"},
        // Only the second character counts.
        {{"-output", "A.txt", "-new", "B.txt", "-undo", "1"}, " -o A.txt -n B.txt -u 1", "", defaults},
        // A lone "-" and an unknown letter take no value; parsing goes on.
        {{"-", "-u", "1", "-o", "A.txt", "-q", "-n", "B.txt"},
         " -u 1 -o A.txt -n B.txt",
         kUsage + "Unknown switch - (ignored; an unknown switch takes no value); graphmat --help lists every switch\n" +
             kUsage + "Unknown switch -q (ignored; an unknown switch takes no value); graphmat --help lists every switch\n",
         defaults},
        // The first argument that is no switch ends the switches.
        {{"-u", "1", "-o", "A.txt", "-n", "B.txt", "extra", "-s", "9"}, " -u 1 -o A.txt -n B.txt", "", defaults},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        writeModelsAB();
        RunResult r = graphmat(c.args);
        const std::string what = ::testing::PrintToString(c.args);
        EXPECT_EQ(r.status, 1) << what;
        EXPECT_EQ(r.out.rfind("\n START \n" + c.echo + "File A.txt ...Found \nMode 12\n", 0), 0u) << what << r.out;
        EXPECT_TRUE(contains(r.out, "\n G1: 2\t1\n")) << what;
        EXPECT_TRUE(contains(r.out, "\n G2: 2\t1\n")) << what;
        EXPECT_FALSE(contains(r.out, "No Matching Cost")) << what;
        EXPECT_EQ(r.err, c.usage + diffInputsMissing(c.run)) << what;
        EXPECT_TRUE(test::fileExists("results/raw_" + c.run + ".csv_diff.csv")) << what;
    }
}

// An asymmetry of -1 (every price divides by the asymmetry + 1) is a usage
// error: refused where it is read, before the results folder is looked at
// and before any graph is read, on every road (-u 1, -m), with the usage
// lines once and one line that names it.
TEST(DriverUsage, AnAsymmetryOfMinusOneIsRefusedBeforeAnyGraphIsRead) {
    struct Case {
        std::vector<std::string> args;
        std::string out;
        bool resultsFolder;
    };
    const std::string fault = "An asymmetry of -1 is not allowed (-y); graphmat --help lists every switch\n";
    const std::vector<Case> cases = {
        {{"-y", "-1", "-o", "A.txt", "-n", "B.txt"}, " -y -1", true},
        {{"-d", "1", "-y", "-1.0", "-u", "1", "-o", "A.txt", "-n", "B.txt"}, " -d 1 -y -1.0", true},
        {{"-o", "A.txt", "-n", "B.txt", "-m", "s.csv", "-y", "-1e0"}, " -o A.txt -n B.txt -m s.csv -y -1e0", true},
        // Usage errors come before the folder check.
        {{"-y", "-1", "-o", "A.txt", "-n", "B.txt"}, " -y -1", false},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        writeModelsAB();
        if (!c.resultsFolder) std::filesystem::remove("results");
        RunResult r = graphmat(c.args);
        const std::string what = ::testing::PrintToString(c.args);
        EXPECT_EQ(r.status, 1) << what;
        EXPECT_EQ(r.out, "\n START \n" + c.out) << what;
        EXPECT_EQ(r.err, kUsage + fault) << what;
        if (c.resultsFolder) {
            EXPECT_TRUE(std::filesystem::is_empty("results")) << what;
        }
    }
    // Other asymmetries run: -1 only is refused.
    for (const std::string asymmetry : {"-0.5", "-2", "1"}) {
        ScratchDir dir;
        writeModelsAB();
        RunResult r = graphmat({"-d", "1", "-e", "1", "-y", asymmetry, "-o", "A.txt", "-n", "B.txt"});
        EXPECT_EQ(r.status, 0) << asymmetry << r.err;
        EXPECT_TRUE(contains(r.out, "No Matching Cost")) << asymmetry;
    }
}

// -u and -w act on 1 alone: any other whole number is the run of 0, the
// same console output (but the echo) and the same result files.
TEST(DriverRun, SwitchesUAndWOtherThanOneRunAsZero) {
    std::string plainOut;
    std::map<std::string, std::string> plainFiles;
    {
        ScratchDir dir;
        writeModelsAB();
        RunResult r = graphmat({"-d", "1", "-e", "1", "-o", "A.txt", "-n", "B.txt"});
        ASSERT_EQ(r.status, 0) << r.err;
        plainOut = withoutTimes(r.out);
        plainFiles = test::treeHere({"A.txt", "B.txt"});
    }
    for (const auto& [letter, value] : std::vector<std::pair<std::string, std::string>>{
             {"-u", "0"}, {"-u", "2"}, {"-u", "-1"}, {"-w", "0"}, {"-w", "2"}, {"-w", "-1"}}) {
        ScratchDir dir;
        writeModelsAB();
        RunResult r = graphmat({letter, value, "-d", "1", "-e", "1", "-o", "A.txt", "-n", "B.txt"});
        const std::string what = letter + " " + value;
        ASSERT_EQ(r.status, 0) << what << r.err;
        const std::string echo = " " + letter + " " + value;
        std::string out = withoutTimes(r.out);
        ASSERT_NE(out.find(echo), std::string::npos) << what;
        out.erase(out.find(echo), echo.size());
        EXPECT_EQ(out, plainOut) << what;
        EXPECT_EQ(test::treeHere({"A.txt", "B.txt"}), plainFiles) << what;
    }
}

TEST(DriverRun, AnUnwritableDifferenceReportEndsWithStatusTwo) {
    ScratchDir dir;
    std::filesystem::create_directory("results/raw_A__B__0__0__0__0__0__1.csv_diff.csv");
    writeModelsAB();
    RunResult r = graphmat({"-u", "1", "-o", "A.txt", "-n", "B.txt"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(contains(r.err, "./results/raw_A__B__0__0__0__0__0__1.csv_diff.csv")) << r.err;
}

TEST(DriverUsage, BothGraphFilesMissingAreBothNamed) {
    ScratchDir dir;
    RunResult r = graphmat({"-m", "s.csv", "-o", "nowhere/A.txt", "-n", "B.txt"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.out, "File nowhere/A.txt ...Not Found \n\n G1: 0\t0\nFile B.txt ...Not Found \n\n G2: 0\t0\n"))
        << r.out;
    EXPECT_EQ(r.err, "Cannot read nowhere/A.txt: No such file or directory\nCannot read B.txt: No such file or directory\n");
    EXPECT_FALSE(contains(r.out, "No Matching Cost"));
    EXPECT_TRUE(std::filesystem::is_empty("results"));
}

// Two plain graph files: A has x -> y -> z, B has x -> y -> w and z -> y.
void writePlainGraphs() {
    test::writeFile("A.csv", "3,2\n0,x\n1,y\n2,z\n0,1,1\n1,2,2\n");
    test::writeFile("B.csv", "4,3\n0,x\n1,y\n2,w\n3,z\n0,1,1\n1,2,2\n3,1,1\n");
}

TEST(DriverRun, ReaderModeZeroReadsPlainGraphFiles) {
    {
        ScratchDir dir;
        writePlainGraphs();
        RunResult r = graphmat({"-h", "0", "-o", "A.csv", "-n", "B.csv"});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, test::kFreeEditsLine);
        EXPECT_TRUE(contains(r.out, "File A.csv ...Found \nMode 0\n")) << r.out;
        EXPECT_TRUE(contains(r.out, "\n G1: 3\t2\n"));
        EXPECT_TRUE(contains(r.out, "\n G2: 4\t3\n"));
        EXPECT_TRUE(contains(r.out, "\n\n\nNo Matching Cost : 0\n\n1\nInit ..."));
        EXPECT_TRUE(test::fileExists("results/A__B__0__0__0__0__0__1.csv"));
    }
    // The same files read as model graph files (the default, or -h 12): no
    // line beside the header reads, so there is nothing to match. Each file
    // is named with the mode and the syntax it looks like, and the run ends
    // before any matching.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-o", "A.csv", "-n", "B.csv", "-m", "s"},
          std::vector<std::string>{"-h", "12", "-o", "A.csv", "-n", "B.csv", "-m", "s"}}) {
        ScratchDir dir;
        writePlainGraphs();
        RunResult r = graphmat(args);
        EXPECT_EQ(r.status, 1) << r.err;
        const std::string why = ": no line reads in reader mode 12; it looks like a plain graph file (reader mode 0)\n";
        const std::string advice = " is not used: read it with -h 0\n";
        EXPECT_EQ(r.err, "Graph file A.csv" + why + "Graph file B.csv" + why + "Graph file A.csv" + advice +
                             "Graph file B.csv" + advice);
        EXPECT_TRUE(contains(r.out, "File A.csv ...Found \nMode 12\n")) << r.out;
        EXPECT_TRUE(contains(r.out, "\n G1: 0\t0\n"));
        EXPECT_TRUE(contains(r.out, "\n G2: 0\t0\n"));
        EXPECT_FALSE(contains(r.out, "Matching Cost"));
    }
}

TEST(DriverRun, TheSingleAssignmentRanksPlainGraphsAndAssignsEveryVertex) {
    ScratchDir dir;
    writePlainGraphs();
    RunResult r = graphmat({"-h", "0", "-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-o", "A.csv", "-n", "B.csv",
                            "-m", "no-such-file.csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string out = withoutTimes(r.out);
    // The totals line, then one pair per graph-1 vertex in vertex order.
    EXPECT_TRUE(std::regex_search(out, std::regex("\nNo Matching Cost : [0-9]+\n[0-9.e+-]+\t[0-9.e+-]+\n"
                                                  "\\[x,[wxyz]\\]\t\\[y,[wxyz]\\]\t\\[z,[wxyz]\\]\t")))
        << out;
    EXPECT_TRUE(std::regex_search(out, std::regex("\nMatch -- Cost=[0-9.e+]+\n")));
    EXPECT_EQ(out.substr(out.size() - 16), "\n\nIterations : 0");
    EXPECT_TRUE(test::fileExists("results/A__B__1__0.5__1__1__0__1.csv"));
}

TEST(DriverRun, AStartModeBetweenZeroAndOneIsPrintedAndMakesNoMove) {
    ScratchDir dir;
    writePlainGraphs();
    std::filesystem::create_directories("datasets/random");
    test::writeFile("datasets/random/.csv", "");  // graph 1 "A": a known matching without pairs
    RunResult r = graphmat({"-i", "0.5", "-h", "0", "-o", "A.csv", "-n", "B.csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string out = withoutTimes(r.out);
    EXPECT_TRUE(contains(out, " -i 0.5 -h 0 -o A.csv -n B.csv"));
    EXPECT_TRUE(contains(out, "\n\n\nNo Matching Cost : 0\n\n0.5\nInit ...")) << out;
    EXPECT_EQ(out.substr(out.size() - 16), "\n\nIterations : 0");
}

TEST(DriverRun, TheEmptyMatchingCostIsTruncatedTowardsZeroAtAnySize) {
    struct Case {
        std::string dropWeight;
        std::string pattern;  // the printed cost
    };
    // The empty matching of the shop models costs 6750 x the node drop weight
    // when the edges weigh nothing.
    const std::vector<Case> cases = {
        {"0.001", "6"},
        {"-0.0001", "0"},  // -0.675
        {"-0.001", "-6"},  // -6.75: towards zero, not down
        {"1e12", "6750000000000000"},
        {"-1e12", "-6750000000000000"},
        {"1e25", "6749999999999999[0-9]{13}"},  // whole digits beyond every integer type
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        RunResult r = graphmat({"-d", c.dropWeight, "-y", "1", "-o", test::exampleFile("shop-v1.txt"), "-n",
                                test::exampleFile("shop-v2.txt"), "-m", "s"});
        EXPECT_EQ(r.status, 0) << c.dropWeight << r.err;
        EXPECT_TRUE(std::regex_search(r.out, std::regex("\n\n\nNo Matching Cost : " + c.pattern + "\n")))
            << c.dropWeight << "\n" << r.out.substr(0, 200);
    }
}

// With the node drop weight and the edge weight at 0 (the defaults) no edit
// costs anything: after the summary, standard error says so and names the
// README's weights. Other weights (-g, -y, -c) change nothing of it; a run
// with -d or -e says nothing, and -u 1 matches nothing to warn of.
TEST(DriverRun, StandardErrorSaysWhenDeletingAndInsertingCostNothing) {
    struct Case {
        std::vector<std::string> weights;
        bool free;
    };
    const std::vector<Case> cases = {
        {{}, true},
        {{"-g", "0.5", "-y", "1", "-c", "0.5"}, true},
        {{"-d", "-0", "-e", "0.0"}, true},
        {{"-m", "s"}, true},  // the single assignment too
        {{"-d", "1"}, false},
        {{"-e", "1"}, false},
        {{"-d", "1", "-g", "0.5", "-e", "1", "-y", "1"}, false},
        {{"-d", "1e-300"}, false},
    };
    for (const Case& c : cases) {
        const std::string what = ::testing::PrintToString(c.weights);
        ScratchDir dir;
        std::vector<std::string> args = c.weights;
        args.insert(args.end(), {"-o", test::fixture("e2e/tiny-1.txt"), "-n", test::fixture("e2e/tiny-2.txt")});
        RunResult r = graphmat(args);
        EXPECT_EQ(r.status, 0) << what << r.err;
        EXPECT_EQ(r.err, c.free ? test::kFreeEditsLine : "") << what;
        // What the line says holds: the empty matching costs 0 and the one
        // reported no less (the search keeps 0; the single assignment, which
        // pairs every vertex it can, pays for the pairs of unlike vertices).
        if (c.free) {
            EXPECT_TRUE(contains(r.out, "\n\n\nNo Matching Cost : 0\n")) << what << r.out;
            EXPECT_TRUE(std::regex_search(r.out, std::regex("\n\n\nMatching Cost : [0-9.e+]+\n"))) << what;
            const bool searched = c.weights != std::vector<std::string>{"-m", "s"};
            EXPECT_EQ(contains(r.out, "\n\n\nMatching Cost : 0\n"), searched) << what;
        }
    }
    ScratchDir dir;
    writeModelsAB();
    RunResult r = graphmat({"-u", "1", "-o", "A.txt", "-n", "B.txt"});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(contains(r.err, "-d and -e")) << r.err;
}

}  // namespace
}  // namespace graphmat
