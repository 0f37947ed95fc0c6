// tools/summary.sh: what a run found, read from its result files: on the
// run of the shipped shop example, and on hand-written result files with a
// merged block and two runs of different ages.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

namespace fs = std::filesystem;
using test::RunResult;
using test::ScratchDir;
using test::writeFile;

RunResult summary(const std::vector<std::string>& args) {
    return test::runProgram(test::exampleFile("../tools/summary.sh"), args);
}

TEST(SummaryScript, TheShopExampleRun) {
    ScratchDir dir;
    RunResult run = test::runProgram(GRAPHMAT_BIN, {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-o",
                                                    test::exampleFile("shop-v1.txt"), "-n",
                                                    test::exampleFile("shop-v2.txt")});
    ASSERT_EQ(run.status, 0) << run.err;

    const std::string expected =
        "Run shop-v1__shop-v2__1__0.5__1__1__0__1 (in results)\n"
        "Total cost: 1363.45\n"
        "Matched pairs: 64 (5 with a new name, 0 with a merged block); deleted: 2; inserted: 5\n"
        "Classes: 12 matched (1 with a new name), 0 deleted, 1 inserted\n"
        "Members (methods and fields): 47 matched (4 with a new name), 2 deleted, 4 inserted\n"
        "Packages: 5 matched (0 with a new name), 0 deleted, 0 inserted\n"
        "Other vertices: 0 matched (0 with a new name), 0 deleted, 0 inserted\n"
        "\n"
        "Classes matched with a new name (old name -> new name):\n"
        "  shop.util.Mailer -> shop.util.EmailSender\n"
        "Classes deleted (only in the old version):\n"
        "  (none)\n"
        "Classes inserted (only in the new version):\n"
        "  shop.service.PaymentService\n"
        "\n"
        "Members (methods and fields) matched with a new name (old name -> new name):\n"
        "  Method  shop.service.OrderService.OrderService(shop.service.Inventory,shop.service.PriceCalculator,"
        "shop.util.Mailer) -> shop.service.OrderService.OrderService(shop.service.Inventory,"
        "shop.service.PriceCalculator,shop.util.EmailSender)\n"
        "  Method  shop.service.OrderService.applyDiscount(shop.model.Order,double) -> "
        "shop.service.PriceCalculator.applyDiscount(shop.model.Order,double)\n"
        "  Field   shop.util.Mailer.sender -> shop.util.EmailSender.sender\n"
        "  Method  shop.util.Mailer.send(java.lang.String,java.lang.String) -> "
        "shop.util.EmailSender.send(java.lang.String,java.lang.String)\n"
        "Members (methods and fields) deleted (only in the old version):\n"
        "  Field   shop.model.Product.sku\n"
        "  Method  shop.util.Mailer.Mailer(java.lang.String)\n"
        "Members (methods and fields) inserted (only in the new version):\n"
        "  Field   shop.service.PaymentService.provider\n"
        "  Method  shop.service.PaymentService.PaymentService(java.lang.String)\n"
        "  Method  shop.service.PaymentService.charge(shop.model.Customer,double)\n"
        "  Method  shop.util.EmailSender.EmailSender(java.lang.String)\n";
    RunResult newest = summary({"results"});
    EXPECT_EQ(newest.status, 0) << newest.err;
    EXPECT_EQ(newest.err, "");
    EXPECT_EQ(newest.out, expected);
    // Named, with or without ".csv": the same.
    for (const std::string name : {"shop-v1__shop-v2__1__0.5__1__1__0__1", "shop-v1__shop-v2__1__0.5__1__1__0__1.csv"}) {
        RunResult named = summary({"results/", name});
        EXPECT_EQ(named.status, 0) << named.err;
        EXPECT_EQ(named.out, expected) << name;
    }
}

// Two runs: g1 against g2, where the classes p.A and p.B of g1 were merged
// into one block (number 5) matched with p.AB, and an older run x against y
// with the entity lists of graphmat -w 1 (names without quotes).
void writeRuns() {
    writeFile("results/raw_x.csv", "\"class\",\"category\"\nq.A,\"Class\"\nq.A.run(int,A),\"Method\"\n");
    writeFile("results/raw_y.csv", "\"class\",\"category\"\nq.B,\"Class\"\nq.B.run(int,B),\"Method\"\n");
    writeFile("results/raw_x__y__0__0__0__0__0__1.csv", "\"class1\",\"class2\",\"category\"\n");
    writeFile("results/x__y__0__0__0__0__0__1.csv",
              "\nCost:0 SameLabels\n\nns,0,0,q.A,q.B,,,,0,0,0,0\nns,1,1,q.A.run,q.B.run,,,,0,0,0,0\n");

    writeFile("results/raw_g1.csv",
              "\"class\",\"category\"\n\"p\",\"Package\"\n\"p.A\",\"Class\"\n\"p.B\",\"Class\"\n"
              "\"p.A.run(int,p.B)\",\"Method\"\n\"5\",\"Class\"\n");
    writeFile("results/raw_g2.csv",
              "\"class\",\"category\"\n\"p\",\"Package\"\n\"p.AB\",\"Class\"\n\"p.C\",\"Class\"\n"
              "\"p.AB.run(int,p.AB)\",\"Method\"\n");
    const std::string run = "g1__g2__1__0.5__1__1__0__1";
    // Vertex texts: number, label, signature text, "___" each; vertex 4 of
    // g1 is labelled "5", so that a label is no member number.
    writeFile("results/raw_" + run + ".csv_MERGES.csv", "\"1_p.A____2_p.B____\",\"1_p.AB____\",Class,0.5\n");
    writeFile("results/raw_" + run + ".csv",
              "\"class1\",\"class2\",\"category\"\n\"p.A\",\"p.AB\",Class\n\"p.B\",\"p.AB\",Class\n");
    writeFile("results/" + run + ".csv",
              "\nCost:12.5 SameLabels:0(0)/3(0) |V1|=5 |E1|=2 |V2|=4 |E2|=2\nPenalties : cnd=50\n\n"
              "ns,0,0,p,p,,,,0,0,0,1\nns,5,1,p.A,p.AB,,,,1,1,1,1\nns,3,3,p.A.run,p.AB.run,,,,0,0,0,1\n"
              "nd,5,,,,,,,50,50,\nni,2,p.C,,,,,,0,,0,\n");
    const auto now = fs::last_write_time("results/" + run + ".csv");
    fs::last_write_time("results/x__y__0__0__0__0__0__1.csv", now - std::chrono::hours(1));
    fs::last_write_time("results/raw_x__y__0__0__0__0__0__1.csv", now - std::chrono::hours(1));
}

TEST(SummaryScript, MergedBlocksAndTheNewestRun) {
    ScratchDir dir;
    writeRuns();
    RunResult r = summary({"results"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "Run g1__g2__1__0.5__1__1__0__1 (in results)\n"
              "Total cost: 12.5\n"
              "Matched pairs: 3 (1 with a new name, 1 with a merged block); deleted: 1; inserted: 1\n"
              "Classes: 0 matched (0 with a new name), 1 deleted, 1 inserted\n"
              "Members (methods and fields): 1 matched (1 with a new name), 0 deleted, 0 inserted\n"
              "Packages: 1 matched (0 with a new name), 0 deleted, 0 inserted\n"
              "Other vertices: 0 matched (0 with a new name), 0 deleted, 0 inserted\n"
              "\n"
              "Merged blocks (old members -> new members):\n"
              "  p.A + p.B -> p.AB\n"
              "\n"
              "Classes matched with a new name (old name -> new name):\n"
              "  (none)\n"
              "Classes deleted (only in the old version):\n"
              "  5\n"
              "Classes inserted (only in the new version):\n"
              "  p.C\n"
              "\n"
              "Members (methods and fields) matched with a new name (old name -> new name):\n"
              "  Method  p.A.run(int,p.B) -> p.AB.run(int,p.AB)\n"
              "Members (methods and fields) deleted (only in the old version):\n"
              "  (none)\n"
              "Members (methods and fields) inserted (only in the new version):\n"
              "  (none)\n");

    // The older run by its name.
    r = summary({"results", "x__y__0__0__0__0__0__1"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(test::contains(r.out, "Run x__y__0__0__0__0__0__1 (in results)\nTotal cost: 0\n"
                                      "Matched pairs: 2 (2 with a new name, 0 with a merged block); deleted: 0; "
                                      "inserted: 0\nClasses: 1 matched (1 with a new name)"))
        << r.out;
    EXPECT_TRUE(test::contains(r.out, "\n  q.A -> q.B\n")) << r.out;
    EXPECT_TRUE(test::contains(r.out, "\n  Method  q.A.run(int,A) -> q.B.run(int,B)\n")) << r.out;
}

TEST(SummaryScript, WhatCannotBeRead) {
    ScratchDir dir;
    fs::create_directory("empty");
    writeFile("results/raw_g1.csv", "\"class\",\"category\"\n");
    writeFile("results/g1__g2__0__0__0__0__0__1.csv", "\nCost:0\n");
    writeFile("results/raw_g1__g2__0__0__0__0__0__1.csv", "\"class1\",\"class2\",\"category\"\n");
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const std::vector<Case> cases = {
        {{}, "Usage: tools/summary.sh RESULTS_DIR [RUN_NAME]\n"},
        {{"missing"}, "summary: no folder missing\n"},
        {{"empty"}, "summary: no match result file in empty\n"},
        {{"results", "other__g2__0__0__0__0__0__1"}, "summary: cannot read results/other__g2__0__0__0__0__0__1.csv\n"},
        // The entity list of graph 2 is missing.
        {{"results"}, "summary: cannot read results/raw_g2.csv\n"},
    };
    for (const Case& c : cases) {
        RunResult r = summary(c.args);
        EXPECT_EQ(r.status, 1) << ::testing::PrintToString(c.args);
        EXPECT_TRUE(test::contains(r.err, c.err)) << r.err;
    }
}

}  // namespace
}  // namespace graphmat
