// The driver's switch -w 1: after the reports of the run, the raw lists in
// their variant form and the UML difference report.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::readFile;
using test::RunResult;
using test::ScratchDir;

const std::string RUN = "results/shop-v1__shop-v2__1__0.5__1__1__0__1";

RunResult shopRun(std::vector<std::string> extra) {
    std::vector<std::string> args = {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1"};
    args.insert(args.end(), extra.begin(), extra.end());
    args.insert(args.end(), {"-o", test::exampleFile("shop-v1.txt"), "-n", test::exampleFile("shop-v2.txt")});
    return test::runProgram(GRAPHMAT_BIN, args);
}

using test::contains;

TEST(UmlReportSwitch, AddsTheVariantListsAndTheReportToTheSameRun) {
    ScratchDir plain;
    RunResult without = shopRun({});
    ASSERT_EQ(without.status, 0) << without.err;
    const std::string result = readFile(RUN + ".csv");
    const std::string rawPairs = readFile("results/raw_shop-v1__shop-v2__1__0.5__1__1__0__1.csv");

    ScratchDir variant;
    std::filesystem::create_directory("results/uml");
    test::writeFile("results/uml/uml_shop-v1_shop-v2.csv", "\"shop.util.Mailer__shop.util.EmailSender\"\n");
    RunResult with = shopRun({"-w", "1"});
    ASSERT_EQ(with.status, 0) << with.err;
    EXPECT_TRUE(contains(with.out, " -w 1")) << with.out;
    EXPECT_TRUE(contains(with.out, "\n Check ...")) << with.out;
    EXPECT_TRUE(contains(with.out, "\n\n\nMatching Cost : ")) << with.out;
    // The same matching and the same result file; the raw pair list in its
    // variant form.
    EXPECT_EQ(readFile(RUN + ".csv"), result);
    const std::string variantPairs = readFile("results/raw_shop-v1__shop-v2__1__0.5__1__1__0__1.csv");
    EXPECT_NE(variantPairs, rawPairs);
    EXPECT_TRUE(contains(rawPairs, "\n\"shop.util.Mailer\",\"shop.util.EmailSender\",Class\n")) << rawPairs;
    EXPECT_TRUE(contains(variantPairs, "\n\"shop.util.Mailer\",\"shop.util.EmailSender\",\"Class\"\n"))
        << variantPairs;
    const std::string report = readFile("results/raw_shop-v1__shop-v2__1__0.5__1__1__0__1.csv_umldiff.csv");
    EXPECT_EQ(report.rfind("\n\n M1 inter M2 \n\n\"shop.util.Mailer__shop.util.EmailSender\"\n\n\n M1 - M2 \n\n", 0),
              0u)
        << report;
}

TEST(UmlReportSwitch, AReportThatCannotBeWrittenEndsWithStatusTwo) {
    ScratchDir dir;
    std::filesystem::create_directory("results/raw_shop-v1__shop-v2__1__0.5__1__1__0__1.csv_umldiff.csv");
    RunResult r = shopRun({"-w", "1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(contains(r.err, "_umldiff.csv")) << r.err;
}

}  // namespace
}  // namespace graphmat
