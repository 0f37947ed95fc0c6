// End-to-end runs of the graphmat executable in a scratch working directory.
#include <gtest/gtest.h>

#include <filesystem>
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

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(DriverUsage, ArgumentErrors) {
    struct Case {
        std::vector<std::string> args;
        std::string out, err;
        int status;
    };
    const std::vector<Case> cases = {
        {{}, "\n START \n", "Parameters e expected\n", 1},
        {{"-o", "A.csv"}, "\n START \n", "Parameters e expected\n", 1},
        // A switch without its value never reads past the arguments.
        {{"-o", "A.csv", "-n"}, "\n START \n -o A.csv", kUsage, 1},
        // Without both graphs there is nothing to match.
        {{"-o", "A.csv", "-s", "3"}, "\n START \n -o A.csv -s 3", kUsage, 1},
        // An unknown letter prints the usage and parsing goes on: '5' ends the
        // switches, so -o and -n are never read.
        {{"-x", "5", "-o", "A.csv", "-n", "B.csv"}, "\n START \n", kUsage + kUsage, 1},
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

TEST(DriverUsage, AnAsymmetryOfMinusOneIsRefused) {
    ScratchDir dir;
    RunResult r = graphmat({"-y", "-1", "-o", test::exampleFile("shop-v1.txt"), "-n", test::exampleFile("shop-v2.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.out, " -y -1")) << r.out;
    EXPECT_FALSE(contains(r.out, "No Matching Cost"));
    EXPECT_FALSE(r.err.empty());
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

TEST(DriverRun, AnUnwritableResultsFolderEndsWithStatusTwo) {
    ScratchDir dir(false);  // no ./results/
    RunResult r = graphmat(shopArgs());
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(contains(r.out, "\n\n\nMatching Cost : "));
    EXPECT_TRUE(contains(r.err, "results/shop-v1__shop-v2__1__0.5__1__1__0__1.csv")) << r.err;
}

}  // namespace
}  // namespace graphmat
