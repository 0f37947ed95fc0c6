// Move execution: each kind of move on a small fixture (partners,
// memberships, counters, merge lines, draws of the generator, tenures and
// candidates), and the moves that fit no kind.
#include <gtest/gtest.h>

#include <cmath>

#include "MatchFixture.h"
#include "graph/Random.h"
#include "solvers/FastFind.h"

namespace graphmat {
namespace {

using test::enact;
using test::fixture;
using test::MatchRig;
using test::stateOf;

const std::string alpha = "m.Alpha";
const std::string alphaBeta = "_0_1__-alpha-beta--";
const std::string alphaBetaGamma = "_0_1_2__-alpha-beta-gamma--";

std::string occurred(int x, const std::string& l1, int y, const std::string& l2) {
    return "\n\n ************* MERGE OCCURRED:" + std::to_string(x) + "[" + l1 + "] =====>> " + std::to_string(y) +
           "[" + l2 + "]\n\n";
}
std::string exploded(int x, const std::string& l1, int y, const std::string& l2) {
    return "\n\n ************* MERGE EXPLODED:" + std::to_string(x) + "[" + l1 + "] =====>> " + std::to_string(y) +
           "[" + l2 + "]\n\n";
}

// The draws of the generator from a given state, as the system makes them.
struct Draws {
    std::uint32_t state;
    int next() {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
};

struct MoveCase {
    const char* kind;
    std::vector<std::pair<int, int>> before;  // moves that build the start state
    std::pair<int, int> move;
    std::vector<int> M12, M21, blocks1, blocks2;
    int numberOfMatchs, good;
    std::string printed;
    long draws;
    bool done;
};

// Graphs of order 4 on both sides: Alpha, Beta, Gamma and Delta (graph 1) or
// Epsilon (graph 2). Blocks are numbered from 4.
TEST(MoveKinds, EachKindRebuildsThePairsItTouches) {
    const std::vector<int> alone{0, 1, 2, 3};
    const std::vector<int> free(4, -1);
    const std::vector<MoveCase> cases{
        {"match", {}, {0, 0}, {0, -1, -1, -1}, {0, -1, -1, -1}, alone, alone, 1, 1, "", 4, true},
        {"unmatch", {{0, 0}}, {0, 0}, free, free, alone, alone, 0, 0, "", 4, true},
        {"merge into the graph-2 partner", {{0, 0}}, {0, 1}, {4, -1, -1, -1}, {0, 0, -1, -1}, alone,
         {4, 4, 2, 3}, 1, 0, occurred(0, alpha, 4, alphaBeta), 6, true},
        {"merge into the graph-1 partner", {{0, 0}}, {1, 0}, {0, 0, -1, -1}, {4, -1, -1, -1}, {4, 4, 2, 3}, alone,
         1, 0, occurred(4, alphaBeta, 0, alpha), 6, true},
        {"merge into a partner block", {{0, 0}, {0, 1}}, {0, 2}, {5, -1, -1, -1}, {0, 0, 0, -1}, alone,
         {5, 5, 5, 3}, 1, 0, exploded(0, alpha, 4, alphaBeta) + occurred(0, alpha, 5, alphaBetaGamma), 6, true},
        {"split out of a graph-1 block", {{0, 0}, {1, 0}}, {1, 0}, {0, -1, -1, -1}, {0, -1, -1, -1}, alone, alone,
         1, 1, exploded(4, alphaBeta, 0, alpha), 6, true},
        {"split out of a graph-2 block", {{0, 0}, {0, 1}}, {0, 1}, {0, -1, -1, -1}, {0, -1, -1, -1}, alone, alone,
         1, 1, exploded(0, alpha, 4, alphaBeta), 6, true},
        {"unmatch involving a block", {{0, 0}, {1, 0}}, {4, 0}, free, free, alone, alone, 0, 0,
         exploded(4, alphaBeta, 0, alpha), 4, true},
        // Blocks of three and two: the smaller size leaves the count.
        {"unmatch of two blocks", {{0, 0}, {1, 0}, {0, 1}, {2, 0}}, {5, 4}, free, free, alone, alone, 0, 0,
         exploded(5, alphaBetaGamma, 4, alphaBeta), 4, true},
        {"no kind: both matched elsewhere", {{0, 0}, {1, 1}}, {0, 1}, {0, 1, -1, -1}, {0, 1, -1, -1}, alone,
         alone, 2, 2, "\n ----------------------- NON-VALID --------------- \n", 2, false},
    };
    for (const MoveCase& c : cases) {
        SCOPED_TRACE(c.kind);
        MatchRig rig(fixture("matching/moves-a.txt"), fixture("matching/moves-b.txt"), test::rootless());
        Match& m = rig.m();
        for (auto [x, y] : c.before) {
            bool done = false;
            enact(m, x, y, &done);
            ASSERT_TRUE(done);
        }
        const test::MatchingState start = stateOf(m);
        const double costBefore = test::quietCost(m);
        const double delta = test::price(m, c.move.first, c.move.second);
        ASSERT_TRUE(stateOf(m) == start) << "pricing changed the matching";

        const long drawsBefore = randomDraws();
        bool done = !c.done;
        std::string printed = enact(m, c.move.first, c.move.second, &done);
        EXPECT_EQ(randomDraws() - drawsBefore, c.draws);
        EXPECT_EQ(done, c.done);
        EXPECT_EQ(printed, c.printed);
        EXPECT_EQ(m.M12, c.M12);
        EXPECT_EQ(m.M21, c.M21);
        EXPECT_EQ(m.blocks1, c.blocks1);
        EXPECT_EQ(m.blocks2, c.blocks2);
        EXPECT_EQ(m.numberOfMatchs, c.numberOfMatchs);
        EXPECT_EQ(m.good, c.good);
        if (c.done) {
            EXPECT_NEAR(test::quietCost(m), costBefore + delta, 1e-6 * std::fabs(costBefore));
        } else {
            EXPECT_TRUE(stateOf(m) == start);
            EXPECT_EQ(delta, 0) << "a move of no kind is priced 0";
        }
    }
}

class MoveBookkeeping : public ::testing::Test {
protected:
    MatchRig rig{fixture("matching/moves-a.txt"), fixture("matching/moves-b.txt"), test::rootless()};
    Match& m = rig.m();

    // Files a cell of (x, y) in the candidate structure with a small gain.
    cell& candidate(int x, int y) {
        cell& c = m.ensureCell(x, y);
        c.delta = -1;
        c.delta_m = 1;
        m.ff->insert(&c, false);
        return c;
    }
    bool held(int x, int y) { return m.M.find(x, y) && m.ff->holds(m.M.find(x, y)); }
    std::size_t bucketHolding(const cell* c) {
        for (std::size_t b = 0; b < m.tabu_i.size(); ++b)
            for (const cell* held : m.tabu_i[b])
                if (held == c) return b;
        return m.tabu_i.size();
    }
};

TEST_F(MoveBookkeeping, AFreshCellIsNeverTabu) {
    m.iterations = 9;
    cell& c = m.ensureCell(2, 3);
    EXPECT_EQ(c.x, 2);
    EXPECT_EQ(c.y, 3);
    EXPECT_EQ(c.delta, -1);
    EXPECT_EQ(c.layer, -1);
    EXPECT_EQ(c.tabu, -9);
    EXPECT_FALSE(c.fixed);
    EXPECT_EQ(&m.ensureCell(2, 3), &c);
}

TEST_F(MoveBookkeeping, MakingAPairStartsItsTenureAndDropsConflictingCandidates) {
    enact(m, 1, 1);
    m.iterations = 7;
    m.i_parser = 7;
    cell& chosen = candidate(0, 0);
    chosen.fixed = true;  // a fixed start pair loses its mark with a new tenure
    candidate(0, 1);      // would pair Alpha with the matched Beta of graph 2
    candidate(1, 0);      // would pair the matched Beta of graph 1 with Alpha
    candidate(2, 3);      // untouched
    Draws draws{randomState()};
    draws.next();
    draws.next();  // enactMove's tenures
    draws.next();
    const int tenure = 5 + draws.next() % 5;  // updateState's tabu_out

    enact(m, 0, 0);
    EXPECT_EQ(m.tabu_out, tenure);
    EXPECT_EQ(chosen.tabu, 7 + tenure);
    EXPECT_FALSE(chosen.fixed);
    EXPECT_EQ(bucketHolding(&chosen), static_cast<std::size_t>((7 + tenure - 1) % TABU_MAX));
    EXPECT_FALSE(held(0, 0));
    EXPECT_FALSE(held(0, 1));
    EXPECT_FALSE(held(1, 0));
    EXPECT_TRUE(held(2, 3));
    EXPECT_EQ(*m.concerned1, std::set<int>{0});
    EXPECT_EQ(*m.concerned2, std::set<int>{0});
}

TEST_F(MoveBookkeeping, UndoingABlockPairDropsTheCandidatesNamingTheBlocks) {
    enact(m, 0, 0);
    enact(m, 1, 0);  // graph-1 block {0, 1} = 4 with 0
    enact(m, 0, 1);  // ... with graph-2 block {0, 1} = 4
    enact(m, 2, 0);  // graph-1 block {0, 1, 2} = 5 with 4
    ASSERT_EQ(m.M12, (std::vector<int>{4, 4, 4, -1}));
    candidate(5, 3);
    candidate(5, 2);
    candidate(3, 4);
    candidate(3, 3);
    enact(m, 5, 4);
    EXPECT_FALSE(held(5, 3));
    EXPECT_FALSE(held(5, 2));
    EXPECT_FALSE(held(3, 4));
    EXPECT_TRUE(held(3, 3));
    EXPECT_EQ(*m.concerned1, (std::set<int>{0, 1, 2}));
    EXPECT_EQ(*m.concerned2, (std::set<int>{0, 1}));
    // An undone pair waits the longer tenure.
    EXPECT_EQ(m.M.find(5, 4)->tabu, m.iterations + m.tabu_in);
}

TEST_F(MoveBookkeeping, AMergeGivesTheChosenCellTheTenureOfAMadePair) {
    enact(m, 0, 0);
    m.iterations = 3;
    m.i_parser = 3;
    Draws draws{randomState()};
    draws.next();
    const int tenure = 5 + draws.next() % 5;  // enactMove's tabu_out
    enact(m, 0, 1);
    cell* chosen = m.M.find(0, 1);
    EXPECT_EQ(chosen->tabu, 3 + tenure);
    EXPECT_EQ(bucketHolding(chosen), static_cast<std::size_t>((3 + tenure - 1) % TABU_MAX));
    EXPECT_EQ(m.M.find(0, 4)->tabu, 3 + m.tabu_out) << "the grown pair's own tenure";
}

TEST_F(MoveBookkeeping, RemovingACandidateNeverCreatesACell) {
    const int cells = m.M.count();
    m.removeFromFF(3, 2);
    EXPECT_EQ(m.M.count(), cells);
    cell& c = candidate(3, 2);
    m.removeFromFF(3, 2);
    EXPECT_FALSE(m.ff->holds(&c));
    EXPECT_EQ(m.ff->nbCandidates, 0);
}

}  // namespace
}  // namespace graphmat
