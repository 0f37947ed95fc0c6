// The reports of matchings reached by chains of moves on real models, with
// merged blocks on both sides: every block is reported exactly once, the
// rows agree with the partner arrays, and the raw lists with the rows.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "graph/Random.h"
#include "support/RandomPairs.h"
#include "support/TestSupport.h"
#include "matching/Cost.h"
#include "matching/Match.h"
#include "reports/RunName.h"

namespace graphmat {
namespace {

using test::CaptureStdout;
using test::lines;
using test::readFile;
using test::ScratchDir;

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1)
        out.push_back(line.substr(start, comma - start));
    out.push_back(line.substr(start));
    return out;
}

// Makes up to `wanted` valid moves, chosen at random among allowed pairs
// (now and then on a block), with the matcher's own move machinery.
void walk(Match& match, int wanted, unsigned seed) {
    std::mt19937 pick(seed);
    int made = 0;
    for (int attempt = 0; attempt < 20000 && made < wanted; ++attempt) {
        int i = 0, j = 0;
        if (!test::pickAllowedPair(match, pick, i, j)) continue;
        if (!match.isValidMove(i, j)) continue;
        cell& c = match.ensureCell(i, j);
        c.delta = match.computeDelta(3, match.getVertex1(i), match.getVertex2(j));
        match.chosenCell = &c;
        ASSERT_TRUE(match.enactMove());
        ++match.iterations;
        match.i_parser = match.iterations % TABU_MAX;
        ++made;
    }
}

class ReportInvariants : public ::testing::TestWithParam<std::pair<std::string, std::string>> {};

TEST_P(ReportInvariants, EveryBlockIsReportedOnceAndTheListsAgree) {
    ScratchDir dir;
    CaptureStdout quiet;
    Cost costs;
    costs.initMode1(1, 0.5, 1, 1, 0);
    Graph a(12, GetParam().first);
    Graph b(12, GetParam().second);
    Match match(&a, &b, &costs, 1, 3);
    srand15(11);
    walk(match, 400, 5);
    ASSERT_FALSE(match.V1.empty() || match.V2.empty()) << "the walk formed no blocks on both sides";

    // As the search leaves it: the best matching is the current one.
    match.bestMatch2 = match.M21;
    const std::vector<int> m12 = match.M12, m21 = match.M21;
    match.output(3);
    const double reported = match.bestCost;
    EXPECT_DOUBLE_EQ(match.cost(3), reported);
    EXPECT_EQ(match.M12, m12);
    EXPECT_EQ(match.M21, m21);

    const std::string run = "./results/" + runName(a, b, costs, 1) + ".csv";
    std::map<int, int> nsPartner;  // graph-1 block -> graph-2 block
    int nd = 0;
    std::set<int> inserted;
    for (const std::string& line : lines(readFile(run))) {
        std::vector<std::string> f = fields(line);
        if (f[0] == "ns") {
            ASSERT_EQ(f.size(), 12u) << line;
            EXPECT_TRUE(nsPartner.emplace(std::stoi(f[1]), std::stoi(f[2])).second) << line;
        } else if (f[0] == "nd") {
            ++nd;
        } else if (f[0] == "ni") {
            inserted.insert(std::stoi(f[1]));
        }
    }

    // Graph-1 blocks: each in one "ns" or "nd" row.
    std::set<int> blocks1(match.blocks1.begin(), match.blocks1.end());
    std::set<int> blocks2(match.blocks2.begin(), match.blocks2.end());
    EXPECT_EQ(nsPartner.size() + nd, blocks1.size());
    std::set<int> partners, covered;
    int blockPairs = 0;
    for (auto [x, y] : nsPartner) {
        EXPECT_TRUE(blocks1.count(x)) << x;
        EXPECT_TRUE(blocks2.count(y)) << y;
        EXPECT_TRUE(partners.insert(y).second) << "graph-2 block " << y << " reported twice";
        EXPECT_EQ(match.getM12(x), y);
        for (int member : *match.getVertex2(y)->nodes) covered.insert(member);
        if (match.getVertex1(x)->nodes->size() * match.getVertex2(y)->nodes->size() > 1) ++blockPairs;
    }
    // Graph-2 vertices: inserted exactly when no reported pair covers them.
    for (int j = 0; j < static_cast<int>(b.V.size()); ++j)
        EXPECT_NE(covered.count(j), inserted.count(j)) << "graph-2 vertex " << j;

    // The review summary lists as many deleted and inserted entries.
    const std::string summary = readFile(run + ".csv.csv.csv");
    const std::size_t deleted = summary.find(",,*Deleted classes*");
    const std::size_t insertedAt = summary.find(",,*Inserted classes*");
    ASSERT_NE(deleted, std::string::npos);
    ASSERT_NE(insertedAt, std::string::npos);
    auto entries = [&](std::size_t from, std::size_t to) {
        int n = 0;
        for (const std::string& line : lines(summary.substr(from, to - from)))
            if (!line.empty() && line.rfind(",,", 0) != 0) ++n;
        return n;
    };
    EXPECT_EQ(entries(deleted, insertedAt), nd);
    EXPECT_EQ(entries(insertedAt, summary.size()), static_cast<int>(inserted.size()));

    // One merge line per reported pair with a block side.
    const std::string merges = readFile("./results/raw_" + runName(a, b, costs, 1) + ".csv_MERGES.csv");
    int mergeLines = 0;
    for (const std::string& line : lines(merges))
        if (!line.empty()) ++mergeLines;
    EXPECT_EQ(mergeLines, blockPairs);
    EXPECT_GT(blockPairs, 0);
}

INSTANTIATE_TEST_SUITE_P(Models, ReportInvariants,
                         ::testing::Values(std::make_pair(test::exampleFile("shop-v1.txt"),
                                                          test::exampleFile("shop-v2.txt")),
                                           std::make_pair(test::dataFile("junit-framework-3.8.2.txt"),
                                                          test::dataFile("junit-framework-4.13.2.txt"))));

}  // namespace
}  // namespace graphmat
