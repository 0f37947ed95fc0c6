// Move evaluation: which moves are valid now, and the exact cost change of
// a move, priced without leaving any trace in the matching.
#include <gtest/gtest.h>

#include "MatchFixture.h"

namespace graphmat {
namespace {

using test::CaptureStdout;
using test::enact;
using test::fixture;
using test::MatchRig;
using test::price;
using test::stateOf;

// Alpha(0) -1-> Beta(1) -3-> Gamma(2) -1-> Delta(3) on both sides, with
// every pair allowed.
class Validity : public ::testing::Test {
protected:
    MatchRig rig{fixture("matching/moves-a.txt"), fixture("matching/moves-b.txt"), test::rootless()};
    Match& m = rig.m();

    void SetUp() override {
        for (int x = 0; x < 4; ++x)
            for (int y = 0; y < 4; ++y) m.updateMoves(x, y, true);
    }
    // Marks (x, y) as a start pair fixed for the run.
    void fix(int x, int y) {
        cell& c = m.ensureCell(x, y);
        c.tabu = FIXED_TABU;
        c.fixed = true;
    }
};

TEST_F(Validity, ATenureForbidsTheMoveUntilItRunsOut) {
    m.ensureCell(2, 2).tabu = 12;
    m.iterations = 11;
    EXPECT_FALSE(m.isValidMove(2, 2));
    m.iterations = 12;
    EXPECT_TRUE(m.isValidMove(2, 2));
}

TEST_F(Validity, AFixedPairIsToldByItsFlag) {
    enact(m, 0, 0);
    fix(0, 0);
    m.iterations = 100;
    EXPECT_FALSE(m.isValidMove(0, 0));
    // Beyond the tenure mark the flag alone still keeps the pair.
    m.iterations = 40000;
    EXPECT_FALSE(m.isValidMove(0, 0));
    // A merge beside the fixed pair stays possible.
    EXPECT_TRUE(m.isValidMove(1, 0));
    // An ordinary tenure that reached the same value is no fixed pair.
    m.ensureCell(0, 0).fixed = false;
    EXPECT_TRUE(m.isValidMove(0, 0));
}

TEST_F(Validity, NoMoveSplitsAFixedPairApart) {
    enact(m, 0, 0);
    enact(m, 1, 0);  // block {0, 1} of graph 1 matched with 0
    ASSERT_EQ(m.blocks1[1], 4);
    m.iterations = 40000;
    EXPECT_TRUE(m.isValidMove(4, 0));
    fix(1, 0);
    EXPECT_FALSE(m.isValidMove(4, 0)) << "unmatching the block splits the fixed pair";
    EXPECT_TRUE(m.isValidMove(2, 0)) << "growing the block is a merge beside it";
    // A member's own number names a pair whose partners differ (the block's
    // partner names the block), so a split is never a valid move.
    m.ensureCell(1, 0).fixed = false;
    EXPECT_FALSE(m.isValidMove(1, 0));
}

TEST_F(Validity, BlocksMustBeLiveAndPairsAllowedAndPartnersFree) {
    EXPECT_TRUE(m.isValidMove(2, 2));
    m.updateMoves(2, 3, false);
    EXPECT_FALSE(m.isValidMove(2, 3));

    // A stored block whose members are not held by it.
    {
        CaptureStdout quiet;
        m.updateBlock(m.getVertex1(0), 1, true, true);
    }
    EXPECT_FALSE(m.isValidMove(4, 0));
    EXPECT_FALSE(m.isValidMove(0, 9)) << "no such block";

    enact(m, 0, 0);
    enact(m, 1, 1);
    m.iterations = 1000;  // past the tenures of the moves made
    EXPECT_FALSE(m.isValidMove(0, 1)) << "both matched, not to each other";
    EXPECT_TRUE(m.isValidMove(1, 1)) << "undoing a pair";
    EXPECT_TRUE(m.isValidMove(2, 1)) << "a free vertex joining a matched one";
    // Members of a block must all be allowed with the other side.
    enact(m, 2, 1);
    ASSERT_EQ(m.blocks1[2], 5);  // {1, 2}; block 4 is {0, 1}
    m.iterations = 2000;
    EXPECT_TRUE(m.isValidMove(5, 1));
    m.updateMoves(2, 1, false);
    EXPECT_FALSE(m.isValidMove(5, 1));
}

// Graph 1: Alpha -1-> Ab; graph 2: Alpha -1,3-> Abcdef (see MatchCostTest).
class TwoClassPrices : public ::testing::Test {
protected:
    MatchRig rig{fixture("matching/two-classes-a.txt"), fixture("matching/two-classes-b.txt"), test::rootless()};
    Match& m = rig.m();
};

TEST_F(TwoClassPrices, AMovePricesTheChangeOfTheWholeCost) {
    // 275 unmatched, 212.5 with Alpha kept, 100 with both pairs.
    EXPECT_EQ(price(m, 0, 0), -62.5);
    EXPECT_EQ(m.update_occ, 1);
    EXPECT_EQ(*m._N.find(0, 0), 1.0f);
    m.M12[0] = 0;
    m.M21[0] = 0;
    EXPECT_EQ(price(m, 1, 1), -112.5);
    EXPECT_EQ(price(m, 0, 0), 62.5) << "undoing the pair";
    EXPECT_EQ(*m._N.find(1, 1), 0.5f);
}

TEST_F(TwoClassPrices, TheOlderPlainEvaluationAgreesOnMatchAndUnmatch) {
    CaptureStdout quiet;
    EXPECT_EQ(m.computeGamma(3, m.getVertex1(0), m.getVertex2(0)), -62.5);
    EXPECT_EQ(m.comp_time, 1);
    m.M12[0] = 0;
    m.M21[0] = 0;
    EXPECT_EQ(m.computeGamma(3, m.getVertex1(1), m.getVertex2(1)), -112.5);
    EXPECT_EQ(m.computeGamma(3, m.getVertex1(0), m.getVertex2(0)), 62.5);
    EXPECT_EQ(m.M12, (std::vector<int>{0, -1}));
    EXPECT_EQ(m.M21, (std::vector<int>{0, -1}));
    // A partner that is a block is outside its reach.
    m.M21[1] = 5;
    EXPECT_EQ(m.computeGamma(3, m.getVertex1(1), m.getVertex2(1)), 0);
}

TEST_F(TwoClassPrices, AMoveOfNoKindIsPricedZeroWithItsMessage) {
    m.M12 = {0, 1};
    m.M21 = {0, 1};
    test::MatchingState before = stateOf(m);
    CaptureStdout capture;
    double delta = m.computeDelta(3, m.getVertex1(0), m.getVertex2(1));
    EXPECT_EQ(capture.text(), "\n NON-VALID !!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!! \n");
    EXPECT_EQ(delta, 0);
    EXPECT_TRUE(stateOf(m) == before);
}

TEST_F(Validity, BlockNumbersFollowTheOrderOfPricing) {
    enact(m, 0, 0);
    price(m, 0, 1);  // Beta joins Alpha's partner: graph-2 block {0, 1}
    price(m, 1, 0);  // Beta joins Alpha: graph-1 block {0, 1}
    price(m, 0, 2);  // graph-2 block {0, 2}
    price(m, 0, 1);  // known already
    EXPECT_EQ(m.nBlocks2.at(std::vector<int>{0, 1}), 4);
    EXPECT_EQ(m.nBlocks2.at(std::vector<int>{0, 2}), 5);
    EXPECT_EQ(m.nBlocks1.at(std::vector<int>{0, 1}), 4);
    EXPECT_EQ(m.V2.size(), 2u);
    // A merge prices two pairs: the old one and the grown one.
    const int evaluations = m.update_occ;
    price(m, 0, 3);
    EXPECT_EQ(m.update_occ, evaluations + 2);
    EXPECT_EQ(m.nBlocks2.at(std::vector<int>{0, 3}), 6);
}

TEST_F(Validity, PricingLeavesTheMatchingAsItWas) {
    // One state with a graph-1 block and a plain pair: every move priced
    // from it, valid or not, leaves partners and memberships untouched.
    enact(m, 0, 0);
    enact(m, 1, 0);  // {0, 1} with 0
    enact(m, 2, 2);
    const test::MatchingState before = stateOf(m);
    for (int x : {0, 1, 2, 3, 4})
        for (int y : {0, 1, 2, 3}) {
            price(m, x, y);
            EXPECT_TRUE(stateOf(m) == before) << "pricing (" << x << "," << y << ")";
        }
}

}  // namespace
}  // namespace graphmat
