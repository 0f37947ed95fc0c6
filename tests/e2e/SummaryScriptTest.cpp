// tools/summary.sh: what a run found, read from its result files: on
// hand-written result files with a merged block and two runs of different
// ages (the whole text), and on a live run of the shipped shop example (its
// figures against the run's own files).
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
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

// The comma-separated fields of a result row (no field of the rows read
// here holds a comma).
std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// The entity list of a graph (raw_GRAPH.csv): name and category of each
// vertex, in vertex order.
std::vector<std::pair<std::string, std::string>> entities(const std::string& path) {
    std::vector<std::pair<std::string, std::string>> out;
    const std::vector<std::string> rows = test::lines(test::readFile(path));
    for (std::size_t k = 1; k < rows.size(); ++k) {
        const std::string& line = rows[k];
        if (line.empty()) continue;
        const std::size_t cut = line.rfind(",\"");
        std::string name = line.substr(0, cut);
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
        out.emplace_back(name, line.substr(cut + 2, line.size() - cut - 3));
    }
    return out;
}

int groupOf(const std::string& category) {
    if (category == "Class") return 0;
    if (category == "Method" || category == "Field") return 1;
    if (category == "Package") return 2;
    return 3;
}

// How many entries the section `title` of a summary lists ("(none)": 0).
int listed(const std::vector<std::string>& out, const std::string& title) {
    std::size_t k = 0;
    while (k < out.size() && out[k] != title + ":") ++k;
    EXPECT_LT(k, out.size()) << "no section " << title;
    int count = 0;
    for (++k; k < out.size() && out[k].rfind("  ", 0) == 0; ++k)
        if (out[k] != "  (none)") ++count;
    return count;
}

// On a live run the summary's figures are those of the run's files: the
// cost of the match result file, its "ns", "nd" and "ni" rows, and the
// entity lists, whatever pairs the matcher found.
TEST(SummaryScript, TheShopExampleRun) {
    ScratchDir dir;
    RunResult run = test::runProgram(GRAPHMAT_BIN, {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1", "-o",
                                                    test::exampleFile("shop-v1.txt"), "-n",
                                                    test::exampleFile("shop-v2.txt")});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string name = "shop-v1__shop-v2__1__0.5__1__1__0__1";
    const auto v1 = entities("results/raw_shop-v1.csv");
    const auto v2 = entities("results/raw_shop-v2.csv");
    ASSERT_FALSE(v1.empty());
    ASSERT_FALSE(v2.empty());

    std::string cost;
    std::vector<std::pair<int, int>> pairs;
    std::vector<int> inserted;
    int deletedRows = 0;
    for (const std::string& line : test::lines(test::readFile("results/" + name + ".csv"))) {
        if (line.rfind("Cost:", 0) == 0) cost = line.substr(5, line.find(' ') - 5);
        const std::vector<std::string> f = splitFields(line);
        if (f[0] == "ns") pairs.emplace_back(std::stoi(f[1]), std::stoi(f[2]));
        if (f[0] == "ni") inserted.push_back(std::stoi(f[1]));
        if (f[0] == "nd") ++deletedRows;
    }
    ASSERT_FALSE(cost.empty());
    ASSERT_FALSE(pairs.empty());
    // The shop's versions merge no blocks.
    EXPECT_EQ(test::readFile("results/raw_" + name + ".csv_MERGES.csv"), "");

    struct Counts {
        int matched = 0, renamed = 0, deleted = 0, inserted = 0;
    };
    Counts groups[4];
    int renamed = 0;
    std::vector<bool> matched1(v1.size(), false);
    for (const auto& p : pairs) {
        ASSERT_LT(static_cast<std::size_t>(p.first), v1.size());
        ASSERT_LT(static_cast<std::size_t>(p.second), v2.size());
        matched1[p.first] = true;
        Counts& c = groups[groupOf(v1[p.first].second)];
        ++c.matched;
        if (v1[p.first].first != v2[p.second].first) {
            ++c.renamed;
            ++renamed;
        }
    }
    int deleted = 0;
    for (std::size_t x = 0; x < v1.size(); ++x)
        if (!matched1[x]) {
            ++groups[groupOf(v1[x].second)].deleted;
            ++deleted;
        }
    EXPECT_EQ(deleted, deletedRows) << "every unmatched graph-1 vertex has its nd row";
    for (int y : inserted) ++groups[groupOf(v2[static_cast<std::size_t>(y)].second)].inserted;

    RunResult newest = summary({"results"});
    EXPECT_EQ(newest.status, 0) << newest.err;
    EXPECT_EQ(newest.err, "");
    const std::vector<std::string> out = test::lines(newest.out);
    ASSERT_GE(out.size(), 7u) << newest.out;
    EXPECT_EQ(out[0], "Run " + name + " (in results)");
    EXPECT_EQ(out[1], "Total cost: " + cost);
    EXPECT_EQ(out[2], "Matched pairs: " + std::to_string(pairs.size()) + " (" + std::to_string(renamed) +
                          " with a new name, 0 with a merged block); deleted: " + std::to_string(deleted) +
                          "; inserted: " + std::to_string(inserted.size()));
    const char* titles[] = {"Classes", "Members (methods and fields)", "Packages", "Other vertices"};
    for (int g = 0; g < 4; ++g) {
        const Counts& c = groups[g];
        EXPECT_EQ(out[3 + g], std::string(titles[g]) + ": " + std::to_string(c.matched) + " matched (" +
                                  std::to_string(c.renamed) + " with a new name), " + std::to_string(c.deleted) +
                                  " deleted, " + std::to_string(c.inserted) + " inserted");
    }
    // Classes and members are listed one per line.
    for (int g = 0; g < 2; ++g) {
        const std::string title = titles[g];
        EXPECT_EQ(listed(out, title + " matched with a new name (old name -> new name)"), groups[g].renamed);
        EXPECT_EQ(listed(out, title + " deleted (only in the old version)"), groups[g].deleted);
        EXPECT_EQ(listed(out, title + " inserted (only in the new version)"), groups[g].inserted);
    }
    // Named, with or without ".csv": the same.
    for (const std::string& named : {name, name + ".csv"}) {
        RunResult r = summary({"results/", named});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, newest.out) << named;
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
