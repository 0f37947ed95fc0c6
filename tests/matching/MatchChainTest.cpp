// Chains of moves on real models: the price of every move equals the change
// of the whole-matching cost, pricing leaves the state untouched, and the
// partner arrays stay inverse.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <random>

#include "graph/Random.h"
#include "support/RandomPairs.h"
#include "support/TestSupport.h"
#include "matching/Cost.h"
#include "solvers/FastFind.h"
#include "matching/Match.h"

namespace graphmat {
namespace {

using test::CaptureStdout;
using test::ScratchDir;

struct MatchingSnapshot {
    std::vector<int> m12, m21, blocks1, blocks2;
    bool operator==(const MatchingSnapshot& o) const {
        return m12 == o.m12 && m21 == o.m21 && blocks1 == o.blocks1 && blocks2 == o.blocks2;
    }
};

MatchingSnapshot snapshot(const Match& m) { return {m.M12, m.M21, m.blocks1, m.blocks2}; }

// Every member of a matched block names the block's partner, and the
// partner's members name the block back.
void expectConsistent(Match& m) {
    for (std::size_t i = 0; i < m.M12.size(); ++i) {
        int partner = m.M12[i];
        int holder = m.blocks1[i];
        if (partner == -1) {
            ASSERT_EQ(holder, static_cast<int>(i)) << "free vertex " << i << " sits in a block";
            continue;
        }
        Vertex* other = m.getVertex2(partner);
        ASSERT_NE(other, nullptr);
        for (int member : *other->nodes) {
            ASSERT_EQ(m.M21[member], holder) << "graph-2 member " << member << " of " << partner;
            ASSERT_EQ(m.blocks2[member], partner);
        }
    }
    for (std::size_t j = 0; j < m.M21.size(); ++j) {
        int partner = m.M21[j];
        if (partner == -1) {
            ASSERT_EQ(m.blocks2[j], static_cast<int>(j));
            continue;
        }
        Vertex* other = m.getVertex1(partner);
        ASSERT_NE(other, nullptr);
        for (int member : *other->nodes) ASSERT_EQ(m.M12[member], m.blocks2[j]);
    }
}

// The kind of move a chosen pair stands for in the current state.
enum class Kind { Match, Unmatch, MergeInto2, MergeInto1, Split1, Split2, UnmatchBlock, None };

Kind kindOf(Match& m, int x, int y) {
    const int order1 = static_cast<int>(m.M12.size()), order2 = static_cast<int>(m.M21.size());
    const bool nx = x < order1, ny = y < order2;
    const bool aloneX = nx && m.blocks1[x] == x, aloneY = ny && m.blocks2[y] == y;
    const int bx = nx ? m.blocks1[x] : x, by = ny ? m.blocks2[y] : y;
    const int mx = m.getM12(x), my = m.getM21(y);
    if (nx && aloneX && mx == -1 && ny && aloneY && my == -1) return Kind::Match;
    if (nx && aloneX && ny && aloneY && my == bx && mx == by) return Kind::Unmatch;
    if (mx != -1 && ny && aloneY && my == -1) return Kind::MergeInto2;
    if (nx && aloneX && mx == -1 && my != -1) return Kind::MergeInto1;
    if (nx && !aloneX && mx != -1 && mx == by) return Kind::Split1;
    if (ny && !aloneY && my != -1 && my == bx) return Kind::Split2;
    if ((!nx || !ny) && my != -1 && my == bx && mx != -1 && mx == by) return Kind::UnmatchBlock;
    return Kind::None;
}

const char* const kindNames[] = {"match", "unmatch", "merge into graph 2", "merge into graph 1",
                                 "split graph 1", "split graph 2", "unmatch block"};

// A model pair and the cost weights of the chain: node drop weight, edge
// drop weight, edge weight, asymmetry and label weight.
struct ChainCase {
    std::string g1, g2;
    double dwn = 1, dwe = 0.5, ew = 1, asy = 1, lw = 0;
};

void PrintTo(const ChainCase& c, std::ostream* os) {
    *os << std::filesystem::path(c.g1).filename().string() << " weights " << c.dwn << " " << c.dwe << " " << c.ew
        << " " << c.asy << " " << c.lw;
}

class MatchChain : public ::testing::TestWithParam<ChainCase> {};

TEST_P(MatchChain, EveryMovePricesTheCostChangeExactly) {
    const ChainCase& run = GetParam();
    ScratchDir dir;
    CaptureStdout quiet;
    Cost costs;
    costs.initMode1(run.dwn, run.dwe, run.ew, run.asy, run.lw);
    Graph a(12, run.g1);
    Graph b(12, run.g2);
    Match match(&a, &b, &costs, 1, 3);
    srand15(7);

    std::mt19937 pick(42);
    const int order1 = static_cast<int>(a.V.size()), order2 = static_cast<int>(b.V.size());
    double current = match.cost(3);
    int made = 0;
    std::vector<int> kinds(7, 0);
    for (int attempt = 0; attempt < 20000 && made < 600; ++attempt) {
        // Candidate pairs: plain vertices, and now and then a live block.
        int i = 0, j = 0;
        if (!test::pickAllowedPair(match, pick, i, j)) continue;
        // The search never takes a split (a member's own number names a pair
        // whose partners differ), but the move is priced and carried out all
        // the same: the chain takes splits of live blocks too.
        const Kind kind = kindOf(match, i, j);
        const bool split = kind == Kind::Split1 || kind == Kind::Split2;
        if (!split && !match.isValidMove(i, j)) continue;
        if (split && pick() % 2 == 0) continue;
        MatchingSnapshot before = snapshot(match);
        std::string situation = "i=" + std::to_string(i) + " blk1=" + std::to_string(i < order1 ? match.blocks1[i] : i) +
                                " M12=" + std::to_string(match.getM12(i)) + " j=" + std::to_string(j) +
                                " blk2=" + std::to_string(j < order2 ? match.blocks2[j] : j) +
                                " M21=" + std::to_string(match.getM21(j)) +
                                " n1=" + std::to_string(match.getVertex1(i)->nodes->size()) +
                                " n2=" + std::to_string(match.getVertex2(j)->nodes->size());
        double delta = match.computeDelta(3, match.getVertex1(i), match.getVertex2(j));
        ASSERT_TRUE(snapshot(match) == before) << "pricing changed the state";
        cell& c = match.ensureCell(i, j);
        c.delta = delta;
        match.chosenCell = &c;
        ASSERT_TRUE(match.enactMove());
        ++kinds[static_cast<int>(kind)];
        ++match.iterations;
        match.i_parser = match.iterations % TABU_MAX;
        double after = match.cost(3);
        ASSERT_NEAR(after, current + delta, 1e-6 * std::max(1.0, std::fabs(after)))
            << "move " << made << " on (" << i << "," << j << ") " << situation;
        current = after;
        expectConsistent(match);
        ++made;
    }
    EXPECT_GT(made, 20);
    for (int k = 0; k < 7; ++k) EXPECT_GT(kinds[k], 0) << "no " << kindNames[k] << " move in the chain";
    EXPECT_FALSE(match.V1.empty() && match.V2.empty()) << "the chain formed no block";
}

const std::string kShop1 = test::exampleFile("shop-v1.txt"), kShop2 = test::exampleFile("shop-v2.txt");
const std::string kFramework1 = test::dataFile("junit-framework-3.8.2.txt");
const std::string kFramework2 = test::dataFile("junit-framework-4.13.2.txt");

INSTANTIATE_TEST_SUITE_P(
    Models, MatchChain,
    ::testing::Values(ChainCase{kShop1, kShop2}, ChainCase{kFramework1, kFramework2},
                      ChainCase{test::dataFile("junit-3.8.2.txt"), test::dataFile("junit-4.13.2.txt")},
                      // Other weights: heavier edges and labels, cheaper
                      // vertices, a lopsided asymmetry, no asymmetry.
                      ChainCase{kShop1, kShop2, 0.5, 1, 2, 3, 0.5},
                      ChainCase{kFramework1, kFramework2, 0.5, 1, 2, 3, 0.5},
                      ChainCase{kFramework1, kFramework2, 2, 0.25, 0.5, 0, 1}),
    [](const ::testing::TestParamInfo<ChainCase>& info) {
        std::string name = std::to_string(info.index) + "_" + std::filesystem::path(info.param.g1).stem().string();
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

}  // namespace
}  // namespace graphmat
