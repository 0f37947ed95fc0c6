// The cost of a whole matching: node substitutions, deletions and
// insertions, edges lifted to block level, the partial-sum line, and the
// cost of the empty matching.
#include <gtest/gtest.h>

#include "MatchFixture.h"

namespace graphmat {
namespace {

using test::CaptureStdout;
using test::fixture;
using test::MatchRig;

// Prices the current matching, returning its printed line as well.
std::pair<double, std::string> costWithLine(Match& m) {
    CaptureStdout capture;
    double total = m.cost(3);
    return {total, capture.text()};
}

// Graph 1: Alpha -1-> Ab; graph 2: Alpha -1,3-> Abcdef. With drop weights
// 1 and 0.5, edge weight 1 and asymmetry 1, a class costs 50 to delete or
// insert; an arc costs 25 with both ends free and 37.5 with one matched.
class TwoClasses : public ::testing::Test {
protected:
    MatchRig rig{fixture("matching/two-classes-a.txt"), fixture("matching/two-classes-b.txt"), test::rootless()};
    Match& m = rig.m();

    void pairPlain(int x, int y) {
        m.M12[x] = y;
        m.M21[y] = x;
    }
};

TEST_F(TwoClasses, TheEmptyMatchingCostsTheSameBothWays) {
    EXPECT_NE(rig.built.find("\n\n NOMATCHCOST: 3\n\n"), std::string::npos);
    EXPECT_EQ(m.no_matching_cost, 275);
    EXPECT_EQ(m.currentCost, 275);
    auto [total, line] = costWithLine(m);
    EXPECT_EQ(total, 275);
    EXPECT_EQ(line, "\t100\t200\t\t(0)225\t275___1_1\n");
}

TEST_F(TwoClasses, PricesEachMatchedPairAndItsEdges) {
    pairPlain(0, 0);
    auto [oneMatched, line1] = costWithLine(m);
    // Alpha kept at no cost, Ab deleted, Abcdef inserted; both edges have one
    // matched end.
    EXPECT_EQ(oneMatched, 212.5);
    EXPECT_EQ(line1, "\t50\t100\t\t(0)137.5\t212.5___1_1\n");
    EXPECT_EQ(*m._N.find(0, 0), 1.0f);

    pairPlain(1, 1);
    auto [bothMatched, line2] = costWithLine(m);
    // Ab by Abcdef at similarity 0.5 costs 50; the shared arc is free and the
    // extra arc of graph 2 costs 50.
    EXPECT_EQ(bothMatched, 100);
    EXPECT_EQ(line2, "\t50\t50\t\t(1)100\t100___1_1\n");
    EXPECT_EQ(*m._N.find(1, 1), 0.5f);
}

// A vertex whose partner names no current vertex or block of the other
// graph is priced as free, its edges included: the price is that of the
// empty matching (an edge with one such end would otherwise cost 37.5, as
// with one matched end, instead of 25).
TEST_F(TwoClasses, APartnerThatNamesNothingIsPricedAsFreeWithItsEdges) {
    const std::string empty = "\t100\t200\t\t(0)225\t275___1_1\n";
    m.M12[1] = 9;  // no graph-2 vertex or block 9
    auto [deleted, line1] = costWithLine(m);
    EXPECT_EQ(deleted, 275);
    EXPECT_EQ(line1, empty);
    m.M12[1] = -1;

    m.M21[1] = 9;
    auto [inserted, line2] = costWithLine(m);
    EXPECT_EQ(inserted, 275);
    EXPECT_EQ(line2, empty);
    m.M21[1] = -1;

    // Alpha matched, Ab's partner names nothing: the edge has one matched
    // end (37.5 on each side), as with Ab free.
    pairPlain(0, 0);
    m.M12[1] = 9;
    auto [oneSide, line3] = costWithLine(m);
    EXPECT_EQ(oneSide, 212.5);
    EXPECT_EQ(line3, "\t50\t100\t\t(0)137.5\t212.5___1_1\n");
}

TEST_F(TwoClasses, ABlockMatchedToANumberWithoutVertexIsDeletedWithItsEdges) {
    Vertex* block = [&] {
        CaptureStdout quiet;
        return m.updateBlock(m.getVertex1(0), 1, true, true);
    }();
    ASSERT_EQ(block->number, 2);
    m.blocks1 = {2, 2};
    m.M12 = {7, 7};
    auto [total, line] = costWithLine(m);
    // The block is deleted (2 x 50) and so is its self-loop arc, both ends
    // free (25); no edge is substituted.
    EXPECT_EQ(total, 275);
    EXPECT_EQ(line, "\t100\t200\t\t(0)225\t275___1_1\n");
}

TEST_F(TwoClasses, NothingIsPricedWithoutAGraphOrACostModel) {
    m.costs = nullptr;
    auto [total, line] = costWithLine(m);
    EXPECT_EQ(total, -1);
    EXPECT_EQ(line, "");
    CaptureStdout capture;
    EXPECT_EQ(m.ocost(3), -1);
    EXPECT_EQ(capture.text(), "");
}

TEST_F(TwoClasses, ThePlainVertexTotalAgreesOnPlainMatchings) {
    pairPlain(0, 0);
    CaptureStdout capture;
    EXPECT_EQ(m.ocost(3), 212.5);
    EXPECT_EQ(capture.text(),
              "\n0(x.Alpha)\n\t<matched>\n\t0 * 0 * 1\n1(x.Ab)\n\t<unmatched>\n50\t100\t\t(0)137.5\t212.5\n");
}

TEST(WholeMatchingCost, ALiftedPairWithoutStoredEdgeIsFusedAndKept) {
    // Graph 1: Alpha -1-> Beta -3-> Gamma -1-> Delta, Beta -2-> Delta.
    MatchRig rig(fixture("matching/moves-a.txt"), fixture("matching/moves-b.txt"), test::rootless());
    Match& m = rig.m();
    Vertex *gammaDelta, *alphaBeta;
    {
        CaptureStdout quiet;
        // Each block is formed while the other's members are alone, so
        // neither stores an edge between the two blocks.
        gammaDelta = m.updateBlock(m.getVertex1(2), 3, true, true);
        alphaBeta = m.updateBlock(m.getVertex1(0), 1, true, true);
    }
    ASSERT_EQ(gammaDelta->number, 4);
    ASSERT_EQ(alphaBeta->number, 5);
    ASSERT_FALSE(m.E1.exists(5, 4));
    m.blocks1 = {5, 5, 4, 4};
    m.M12 = {0, 0, 1, 1};
    m.M21[0] = 5;
    m.M21[1] = 4;

    auto [total, line] = costWithLine(m);
    EXPECT_NE(line.find("___3_"), std::string::npos) << line;
    Edge* fused = m.getEdge1(5, 4);
    ASSERT_NE(fused, nullptr);
    EXPECT_EQ(fused->label, "32");
    EXPECT_EQ(fused->labels[3], 1);
    EXPECT_EQ(fused->labels[2], 1);

    // The fused edge is the one the lifted edges of the blocks find, so
    // undoing a pair is priced as the change of the total.
    auto lifted = m.getVEdges1(alphaBeta);
    ASSERT_NE(lifted, nullptr);
    EXPECT_NE(std::find(lifted->begin(), lifted->end(), fused), lifted->end());
    double delta = test::price(m, 4, 1);
    m.blocks1 = {5, 5, 2, 3};
    m.M12 = {0, 0, -1, -1};
    m.M21[1] = -1;
    // The total holds node substitutions in single precision.
    EXPECT_NEAR(test::quietCost(m), total + delta, 1e-4);
}

TEST(WholeMatchingCost, WithNothingMatchedItEqualsTheEmptyMatchingCost) {
    MatchRig rig(test::dataFile("junit-extensions-3.8.2.txt"), test::dataFile("junit-extensions-4.13.2.txt"),
                 test::rootless());
    Match& m = rig.m();
    EXPECT_NEAR(test::quietCost(m), m.no_matching_cost, 1e-9 * m.no_matching_cost);
}

TEST(WholeMatchingCost, TheEmptyMatchingPricesEdgesAtPreMatchedEndsAsMatched) {
    // Order, Invoice and Order's members are pre-matched: the arcs between
    // them keep the drop weight of matched ends, unlike in a fully free state.
    MatchRig rig(fixture("matching/mini-v1.txt"), fixture("matching/mini-v2.txt"));
    Match& m = rig.m();
    MatchRig rootless(fixture("matching/mini-v1.txt"), fixture("matching/mini-v2.txt"), test::rootless());
    EXPECT_GT(m.no_matching_cost, rootless.m().no_matching_cost);
    EXPECT_EQ(std::count(m.bestMatch.begin(), m.bestMatch.end(), -1), 8);
}

// What a matching costs beside the empty one, as docs/USAGE.md tells it for
// plain vertices: a pair of similarity s changes the cost by
// 100 x (1 - s - d), and each arc digit (1 to 9; a 0 is not priced) costs
// g x X with both ends free, (1 + g) / 2 x X with one end matched, X with
// both matched when the partners' arc lacks the digit and 0 when it has it
// (X = 100 e / (1 + y) in graph 1, 100 e y / (1 + y) in graph 2). Graph 1:
// alpha, beta, gamma, delta with arcs 0->1 "1", 1->2 "12", 2->3 "3",
// 0->3 "2", 3->0 "10"; graph 2: alpha, beta, gamma, kiwi with arcs 0->1 "1",
// 1->2 "13", 2->3 "3".
TEST(WholeMatchingCost, PairsAndArcDigitsChangeTheEmptyMatchingCostAsDocumented) {
    struct Case {
        std::string what;
        double d, g, e, y;
        std::vector<std::pair<int, int>> pairs;
        double change;  // against the empty matching
    };
    const std::vector<Case> cases = {
        // Vertices -100; arc digits with one matched end 3 + 1 of 12.5.
        {"alpha", 1, 0.5, 1, 1, {{0, 0}}, -50},
        // Vertices -200; 0->1 kept (-25 on each side); one matched end:
        // digits 1, 2 of 1->2, 0->3 and 3->0 (+12.5 each), 1, 3 of graph 2's
        // 1->2 (+12.5 each).
        {"alpha and beta", 1, 0.5, 1, 1, {{0, 0}, {1, 1}}, -175},
        // Vertices -300 and delta by kiwi (s = 0) 0; kept digits 0->1,
        // 1 of 1->2 and 2->3 (-50 each); digit 2 of 1->2, digit 3 of graph
        // 2's, 0->3 and 3->0 lack their partner (+25 each).
        {"everything", 1, 0.5, 1, 1, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}, -350},
        // -d 0 -g 0: every pair and digit costs something or nothing, the
        // empty matching is a cheapest one.
        {"alpha, no drops", 0, 0, 1, 1, {{0, 0}}, 100},
        {"alpha and beta, no drops", 0, 0, 1, 1, {{0, 0}, {1, 1}}, 150},
        {"everything, no drops", 0, 0, 1, 1, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}, 300},
        // -g above 1: an arc costs less with a matched end. Vertices -200;
        // 3 digits of graph 1 at -0.25 x 400 / 3, 1 of graph 2 at
        // -0.25 x 200 / 3.
        {"alpha, dear drops", 2, 1.5, 2, 0.5, {{0, 0}}, -200 - 100 - 50.0 / 3},
        // With -g 1 only kept digits and the vertices change the cost.
        {"everything, edge drops 1", 1, 1, 1, 1, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}, -300 - 3 * 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScratchDir files;
        test::writeFile("a.csv", "4,5\n0,alpha\n1,beta\n2,gamma\n3,delta\n0,1,1\n1,2,12\n2,3,3\n0,3,2\n3,0,10\n");
        test::writeFile("b.csv", "4,3\n0,alpha\n1,beta\n2,gamma\n3,kiwi\n0,1,1\n1,2,13\n2,3,3\n");
        test::MatchOptions options;
        options.dwn = c.d;
        options.dwe = c.g;
        options.ew = c.e;
        options.asy = c.y;
        options.readerMode = 0;
        MatchRig rig(files.path() + "/a.csv", files.path() + "/b.csv", options);
        Match& m = rig.m();
        const double empty = test::quietCost(m);
        EXPECT_NEAR(empty, m.no_matching_cost, 1e-9);
        // The search's first move from the empty matching is priced alike.
        if (c.pairs.size() == 1) {
            EXPECT_NEAR(test::price(m, 0, 0), c.change, 1e-9);
        }
        for (auto [x, y] : c.pairs) {
            m.M12[x] = y;
            m.M21[y] = x;
        }
        EXPECT_NEAR(test::quietCost(m) - empty, c.change, 1e-9);
    }
}

}  // namespace
}  // namespace graphmat
