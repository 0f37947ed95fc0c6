// The Tabu search on real models: after every move the running cost equals a
// fresh whole-matching cost and the partner arrays stay inverse; the search
// stops as specified and restores its best matching.
#include <gtest/gtest.h>

#include <cmath>

#include "matching/Cost.h"
#include "matching/FastFind.h"
#include "matching/Match.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::CaptureStdout;
using test::ScratchDir;

void expectInverse(const Match& m) {
    for (std::size_t i = 0; i < m.M12.size(); ++i) {
        int partner = m.M12[i];
        if (partner == -1) continue;
        Vertex* other = m.getVertex2(partner);
        ASSERT_NE(other, nullptr) << "graph-1 vertex " << i << " names no vertex";
        for (int member : *other->nodes) ASSERT_EQ(m.M21[member], m.blocks1[i]);
    }
    for (std::size_t j = 0; j < m.M21.size(); ++j) {
        int partner = m.M21[j];
        if (partner == -1) continue;
        Vertex* other = m.getVertex1(partner);
        ASSERT_NE(other, nullptr) << "graph-2 vertex " << j << " names no vertex";
        for (int member : *other->nodes) ASSERT_EQ(m.M12[member], m.blocks2[j]);
    }
}

struct ModelPair {
    std::string g1, g2;
    double start;  // start-solution mode
};

class TabuSearch : public ::testing::TestWithParam<ModelPair> {};

TEST_P(TabuSearch, RunningCostAndPartnersStayExactAfterEveryMove) {
    ScratchDir dir;
    CaptureStdout quiet;
    srand15(3);
    Cost costs;
    costs.initMode1(1, 0.5, 1, 1, 0);
    Graph a(12, GetParam().g1);
    Graph b(12, GetParam().g2);
    Match match(&a, &b, &costs, 3, 3);
    int moves = 0;
    double lowest = 0;
    match.afterMove = [&] {
        ++moves;
        double fresh = match.cost(match.cost_mode);
        ASSERT_NEAR(match.currentCost, fresh, 1e-6 * std::max(1.0, std::fabs(fresh))) << "after move " << moves;
        expectInverse(match);
        if (moves == 1 || match.currentCost < lowest) lowest = match.currentCost;
        EXPECT_EQ(match.bestCost, std::min(lowest, match.initScore)) << "after move " << moves;
    };
    match.Tabu(GetParam().start, 7, 80);
    EXPECT_EQ(match.iterations, moves);
    EXPECT_GT(moves, 0);
    if (GetParam().start == 1) {
        // The best matching is restored and reported at its recomputed cost.
        EXPECT_EQ(match.M12, match.bestMatch);
        EXPECT_EQ(match.M21, match.bestMatch2);
        EXPECT_LE(match.bestCost, match.initScore + 1e-6);
    } else {
        // Any other start mode reports the known matching, here empty (no
        // known-matching file).
        EXPECT_EQ(match.M12, std::vector<int>(match.M12.size(), -1));
        EXPECT_EQ(match.M21, std::vector<int>(match.M21.size(), -1));
        EXPECT_DOUBLE_EQ(match.bestCost, match.upperBound);
    }
    expectInverse(match);
}

INSTANTIATE_TEST_SUITE_P(
    Models, TabuSearch,
    ::testing::Values(ModelPair{test::exampleFile("shop-v1.txt"), test::exampleFile("shop-v2.txt"), 1},
                      ModelPair{test::dataFile("junit-framework-3.8.2.txt"), test::dataFile("junit-framework-4.13.2.txt"), 1},
                      ModelPair{test::dataFile("junit-3.8.2.txt"), test::dataFile("junit-4.13.2.txt"), 1},
                      ModelPair{test::dataFile("junit-extensions-3.8.2.txt"), test::dataFile("junit-extensions-4.13.2.txt"), 4}));

// A graph of `order` isolated vertices with distinct names.
std::unique_ptr<Graph> isolatedVertices(int order, const std::string& prefix) {
    auto g = std::make_unique<Graph>();
    for (int i = 0; i < order; ++i) {
        g->V.push_back(std::make_unique<Vertex>());
        g->V.back()->setNumber(i);
        g->V.back()->label = prefix + std::to_string(i);
    }
    g->vertices = order;
    g->reinitEdges();
    g->fillNeighbors();
    return g;
}

TEST(TabuSearchStop, StagnationLengthFollowsTheLargerOrder) {
    // ceil(0.1 x larger order), at most 100, at least 10.
    const std::vector<std::pair<int, int>> cases = {{0, 10}, {95, 10}, {101, 11}, {1000, 100}, {1001, 100}};
    for (auto [order, expected] : cases) {
        ScratchDir dir;
        Cost costs;
        CaptureStdout capture;
        auto a = isolatedVertices(order, "v");
        auto b = isolatedVertices(1, "w");
        Match match(a.get(), b.get(), &costs, 1, 3);
        match.Tabu(1, 7, 80);
        std::string out = capture.text();
        EXPECT_NE(out.find("\n\n STAGNATION = " + std::to_string(expected) + "\n INIT "), std::string::npos)
            << "order " << order;
        EXPECT_EQ(match.stagnation_length, expected);
        EXPECT_EQ(match.iterations, 0) << "no candidate: the search ends at once";
    }
}

}  // namespace
}  // namespace graphmat
