// The matcher's construction (markers, traces, initial state, ownership of
// the partner arrays) and its accessors for plain vertices and blocks.
#include <algorithm>
#include <gtest/gtest.h>

#include "MatchFixture.h"
#include "solvers/FastFind.h"

namespace graphmat {
namespace {

using test::fixture;
using test::MatchOptions;
using test::CaptureStdout;
using test::MatchingState;
using test::MatchRig;
using test::stateOf;

std::string miniV1() { return fixture("matching/mini-v1.txt"); }
std::string miniV2() { return fixture("matching/mini-v2.txt"); }
std::string movesA() { return fixture("matching/moves-a.txt"); }
std::string movesB() { return fixture("matching/moves-b.txt"); }

TEST(MatchConstruction, PrintsItsMarkersAndTheTracesOfThePreparation) {
    MatchRig rig(miniV1(), miniV2());
    EXPECT_EQ(rig.built,
              "\n\t __1__\t __3__\t __4__\t __5__\t __6__\t __7__\t __9__\t __10__\t __11__"
              "\n Before FF \n\n After FF \n"
              "\n getRelevant\n Nb Relevants 1: \t4\n Nb Relevants 2: \t4"
              "\n getTerms\n Terms: 6\t6"
              "\n matrixEntityTerm\n mET 1\t mET 2\t mET 3\t mET 4\t mET 5\n mET END."
              "\n semilarity\nMatch Terms \t...Done\n\n Writing In File\n\n NbValidPairs = 8\n\t ...Done"
              "\n\n NOMATCHCOST: 3\n\n");
}

// The matcher with a default cost model of its own: the same construction
// as a run's, in cost mode 3, priced by a `Cost()` that it owns and that
// shares its partner arrays.
TEST(MatchConstruction, WithoutACostModelBringsADefaultOneOfItsOwn) {
    MatchRig rig(miniV1(), miniV2());
    std::string printed;
    std::unique_ptr<Match> own;
    {
        CaptureStdout capture;
        own = std::make_unique<Match>(rig.g1.get(), rig.g2.get(), 23);
        printed = capture.text();
    }
    EXPECT_EQ(printed, rig.built);
    EXPECT_EQ(own->randomSeed, 23);
    EXPECT_EQ(own->cost_mode, 3);
    ASSERT_NE(own->costs, nullptr);
    EXPECT_NE(own->costs, &rig.costs);
    EXPECT_EQ(own->costs->M12, own->M12.data());
    EXPECT_EQ(own->costs->M21, own->M21.data());

    Cost reference;
    CaptureStdout quiet;
    Match expected(rig.g1.get(), rig.g2.get(), &reference, 23, 3);
    EXPECT_EQ(own->no_matching_cost, expected.no_matching_cost);
    EXPECT_EQ(own->f, own->no_matching_cost);
    EXPECT_EQ(own->M12, expected.M12) << "the same pre-matching";
    EXPECT_EQ(own->cost(3), expected.cost(3));
}

TEST(MatchConstruction, AnEmptyMatcherHasNoGraphsAndInitOnlyResetsTheMatchCount) {
    CaptureStdout capture;
    Match empty;
    EXPECT_EQ(capture.text(), "");
    EXPECT_EQ(empty.g1, nullptr);
    EXPECT_EQ(empty.g2, nullptr);
    EXPECT_EQ(empty.costs, nullptr);
    EXPECT_EQ(empty.ff, nullptr);
    EXPECT_TRUE(empty.M12.empty() && empty.M21.empty());
    EXPECT_EQ(empty.numberOfMatchs, 0);
    EXPECT_EQ(empty.cost(3), -1) << "nothing to price";

    MatchRig rig(miniV1(), miniV2());
    Match& m = rig.m();
    m.numberOfMatchs = 3;
    const MatchingState before = stateOf(m);
    const double cost = m.currentCost;
    m.init();
    EXPECT_EQ(m.numberOfMatchs, 0);
    EXPECT_TRUE(stateOf(m) == before);
    EXPECT_EQ(m.currentCost, cost);
    EXPECT_EQ(m.g1, rig.g1.get());
}

TEST(MatchConstruction, LeavesTheStartStateOfARun) {
    MatchOptions options;
    options.seed = 17;
    MatchRig rig(miniV1(), miniV2(), options);
    Match& m = rig.m();
    EXPECT_EQ(m.randomSeed, 17);
    EXPECT_EQ(m.cost_mode, 3);
    EXPECT_EQ(m.currentCost, m.no_matching_cost);
    EXPECT_EQ(m.f, m.no_matching_cost);
    EXPECT_EQ(m.tabu_in, 20);
    EXPECT_EQ(m.tabu_out, 5);
    EXPECT_EQ(m.tabu_i.size(), static_cast<std::size_t>(TABU_MAX));
    EXPECT_EQ(m.max_vertices, 8);
    EXPECT_EQ(m.numberOfMatchs, 0);
    EXPECT_EQ(m.iterations, 0);
    EXPECT_EQ(m.bestMatch, std::vector<int>(8, -1));
    EXPECT_EQ(m.bestMatch2, std::vector<int>(8, -1));
    EXPECT_EQ(m.bestBlock, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(m.bestBlock2, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(m.blocks1, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(m.V1.empty() && m.V2.empty());
    EXPECT_EQ(m.M.count(), 0);
    ASSERT_NE(m.ff, nullptr);
    EXPECT_EQ(m.ff->nbCandidates, 0);
    // Every vertex stands for itself alone.
    for (const auto& v : rig.g1->V) EXPECT_EQ(*v->nodes, NodeSet{v->number});
    for (const auto& v : rig.g2->V) EXPECT_EQ(*v->nodes, NodeSet{v->number});
}

TEST(MatchConstruction, LendsItsPartnerArraysAndKeepsThemOwned) {
    test::ScratchDir dir;
    Cost costs;
    costs.initMode1(1, 0.5, 1, 1, 0);
    test::CaptureStdout quiet;
    Graph a(12, miniV1()), b(12, miniV2());
    for (int round = 0; round < 2; ++round) {
        auto m = std::make_unique<Match>(&a, &b, &costs, 1, 3);
        EXPECT_EQ(costs.M12, m->M12.data());
        EXPECT_EQ(costs.M21, m->M21.data());
        EXPECT_EQ(m->ff->M12, m->M12.data());
        EXPECT_EQ(m->ff->M21, m->M21.data());
        EXPECT_EQ(m->ff->tabu, m->tabu_i.data());
        m.reset();  // the matcher alone frees what it allocated
    }
}

TEST(MatchConstruction, WorksOnGraphsWithoutVertices) {
    MatchRig rig(fixture("matching/empty.txt"), fixture("matching/empty.txt"));
    EXPECT_EQ(rig.built,
              "\n\t __1__\t __3__\t __4__\t __5__\t __6__\t __7__\t __9__\t __10__\t __11__"
              "\n Before FF \n\n After FF \n"
              "\n getRelevant\n Nb Relevants 1: \t0\n Nb Relevants 2: \t0"
              "\n getTerms\n Terms: 2\t2"
              "\n matrixEntityTerm\n mET 1\t mET 2\t mET 3\t mET 4\t mET 5\n mET END."
              "\n semilarity\nMatch Terms \t...Done\n\n Writing In File\n\n NbValidPairs = 0\n\t ...Done"
              "\n\n NOMATCHCOST: 3\n\n");
    Match& m = rig.m();
    EXPECT_TRUE(m.M12.empty() && m.M21.empty() && m.blocks1.empty() && m.bestMatch.empty());
    EXPECT_NE(m.ff, nullptr);
    EXPECT_EQ(m.no_matching_cost, 0);
    EXPECT_EQ(test::quietCost(m), 0);
}

// ------------------------------------------------------------- accessors

class Accessors : public ::testing::Test {
protected:
    // Graph 1: Alpha(0) -1-> Beta(1) -3-> Gamma(2) -1-> Delta(3), Beta -2-> Delta.
    MatchRig rig{movesA(), movesB(), test::rootless()};
    Match& m = rig.m();

    // Matches a vertex or block of graph 1 with one of graph 2 in the
    // partner arrays and memberships.
    void pair(Vertex* v1, Vertex* v2) {
        for (int k : *v1->nodes) {
            m.M12[k] = v2->number;
            m.blocks1[k] = v1->number;
        }
        for (int k : *v2->nodes) {
            m.M21[k] = v1->number;
            m.blocks2[k] = v2->number;
        }
    }
};

TEST_F(Accessors, NeverReadAMissingBlockOrANegativeNumber) {
    EXPECT_EQ(m.getVertex1(-1), nullptr);
    EXPECT_EQ(m.getVertex2(-7), nullptr);
    EXPECT_EQ(m.getVertex1(4), nullptr);  // no block 4 yet
    EXPECT_EQ(m.getVertex(9, false), nullptr);
    EXPECT_EQ(m.getM12(-1), -1);
    EXPECT_EQ(m.getM21(-1), -1);
    EXPECT_EQ(m.getM12(4), -1);
    EXPECT_EQ(m.getM21(12), -1);
    EXPECT_EQ(m.getNodes1(-1), -1);
    EXPECT_EQ(m.getNodes2(40), -1);
    EXPECT_EQ(m.getEdge1(-1, 0), nullptr);
    EXPECT_EQ(m.getEdge2(0, -1), nullptr);
    EXPECT_EQ(m.getEdge1(4, 1), nullptr);
    EXPECT_EQ(m.E1.count(), 0) << "a look-up created a block edge";

    // An edge whose end names a block that does not exist counts that end 1.
    m.M12[0] = 2;
    Edge dangling(0, 9, "1");
    EXPECT_EQ(m.getENodes1(&dangling), 1);
    EXPECT_EQ(m.getENodes1(nullptr), 0);
}

TEST_F(Accessors, CountTheMembersOfMatchedEnds) {
    Vertex* block = [&] {
        test::CaptureStdout quiet;
        Vertex* b = m.updateBlock(m.getVertex1(1), 2, true, true);
        return m.updateBlock(b, 3, true, true);
    }();
    ASSERT_NE(block, nullptr);
    ASSERT_EQ(block->number, 5);  // blocks {1,2} = 4 and {1,2,3} = 5
    EXPECT_EQ(m.getNodes1(5), -1) << "a block that is not matched counts as free";
    pair(block, m.getVertex2(1));

    EXPECT_EQ(m.getVertex1(5), block);
    EXPECT_EQ(m.getM12(5), 1);
    EXPECT_EQ(m.getM21(1), 5);
    EXPECT_EQ(m.getNodes1(0), -1);  // free plain vertex
    EXPECT_EQ(m.getNodes1(5), 3);   // matched block
    EXPECT_EQ(m.getNodes2(1), 1);   // matched plain vertex
    // getM12 of a stored block reads its first member, live or not.
    EXPECT_EQ(m.getM12(4), 1);

    Edge oneFree(0, 5, "1");
    Edge bothFree(0, 0, "1");
    Edge bothMatched(5, 5, "1");
    EXPECT_EQ(m.getENodes1(&oneFree), 3);
    EXPECT_EQ(m.getENodes1(&bothFree), -1);
    EXPECT_EQ(m.getENodes1(&bothMatched), 9);
    EXPECT_EQ(m.getENodes1(nullptr), 0);
}

TEST_F(Accessors, ReadPlainEdgesFromTheGraphAndBlockEdgesFromTheStore) {
    Vertex* block = [&] {
        test::CaptureStdout quiet;
        return m.updateBlock(m.getVertex1(2), 3, true, true);
    }();
    ASSERT_EQ(block->number, 4);
    EXPECT_EQ(m.getEdge1(0, 1), rig.g1->getEdge(0, 1));
    EXPECT_EQ(m.getEdge1(1, 0), nullptr);
    Edge* arc = m.getEdge1(1, 4);  // Beta -3-> Gamma and Beta -2-> Delta, fused
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(arc->label, "32");
    EXPECT_EQ(m.getEdge1(4, 4)->label, "1");
    // A plain pair never looks into the store, a block pair never into the graph.
    Edge* planted = m.adoptCopy(Edge(0, 1, "9"), 0, 1);
    m.E1(0, 1) = planted;
    EXPECT_EQ(m.getEdge1(0, 1), rig.g1->getEdge(0, 1));
    const int stored = m.E1.count();
    EXPECT_EQ(m.getEdge1(4, 0), nullptr);
    EXPECT_EQ(m.E1.count(), stored);
}

TEST_F(Accessors, LiftEdgesOfAVertexToBlockLevel) {
    Vertex* beta = m.getVertex1(1);
    // Neighbours alone: the vertex's own edges, in list order.
    auto own = m.getVEdges1(beta);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(*own, beta->edges);

    Vertex* block = [&] {
        test::CaptureStdout quiet;
        return m.updateBlock(m.getVertex1(2), 3, true, true);
    }();
    m.blocks1[2] = m.blocks1[3] = block->number;
    // Without a stored block edge the two arcs to the block's members are
    // fused here, in list order, and kept for later calls.
    m.E1.clear();
    auto lifted = m.getVEdges1(beta);
    ASSERT_NE(lifted, nullptr);
    ASSERT_EQ(lifted->size(), 2u);
    EXPECT_EQ((*lifted)[0], rig.g1->getEdge(0, 1));
    Edge* fused = (*lifted)[1];
    EXPECT_EQ(fused->from, 1);
    EXPECT_EQ(fused->to, 4);
    EXPECT_EQ(fused->label, "32");
    EXPECT_EQ(fused->labels[3], 1);
    EXPECT_EQ(fused->labels[2], 1);
    EXPECT_EQ(m.getEdge1(1, 4), fused);
    auto again = m.getVEdges1(beta);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(*again, *lifted);

    Vertex lonely(77);
    EXPECT_EQ(m.getVEdges1(&lonely), nullptr);
}

TEST_F(Accessors, GatherTheMembersOfSeveralVertices) {
    EXPECT_EQ(m.involvedNodes(nullptr), nullptr);
    std::vector<Vertex*> none;
    EXPECT_EQ(m.involvedNodes(&none), nullptr);
    std::vector<Vertex*> nulls{nullptr, nullptr};
    EXPECT_EQ(m.involvedNodes(&nulls), nullptr);

    Vertex* block = [&] {
        test::CaptureStdout quiet;
        return m.updateBlock(m.getVertex1(2), 3, true, true);
    }();
    Vertex bare;  // no member set: its own number
    bare.number = 0;
    std::vector<Vertex*> some{block, nullptr, m.getVertex1(1), &bare};
    auto nodes = m.involvedNodes(&some);
    ASSERT_NE(nodes, nullptr);
    EXPECT_EQ(*nodes, (std::set<int>{0, 1, 2, 3}));
}

TEST_F(Accessors, AllowedPairsAreReadWithoutCreatingEntries) {
    const long before = m.move.size();
    EXPECT_FALSE(m.movable(0, 3));
    EXPECT_FALSE(m.movable(-1, 0));
    EXPECT_FALSE(m.movable(0, 99));
    EXPECT_EQ(m.move.size(), before);
    m.updateMoves(0, 3, true);
    EXPECT_TRUE(m.movable(0, 3));
    EXPECT_EQ(std::count(m.move.row(0).begin(), m.move.row(0).end(), 3), 1);
    EXPECT_EQ(std::count(m.move.column(3).begin(), m.move.column(3).end(), 0), 1);
    m.updateMoves(0, 3, false);
    EXPECT_FALSE(m.movable(0, 3));
    EXPECT_EQ(m.move.size(), before);
}

TEST(AllowedPairList, KeepsEachRowAndColumnAscendingWhateverTheOrderOfChanges) {
    AllowedPairs pairs;
    pairs.resize(3, 4);
    for (auto [x, y] : std::vector<std::pair<int, int>>{{0, 3}, {0, 1}, {2, 1}, {0, 2}, {1, 1}, {0, 1}, {0, 0}})
        pairs.set(x, y, true);
    EXPECT_EQ(pairs.size(), 6);
    EXPECT_EQ(pairs.row(0), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(pairs.column(1), (std::vector<int>{0, 1, 2}));
    pairs.set(0, 2, false);
    pairs.set(0, 2, false);  // already gone
    pairs.set(1, 3, false);  // never there
    EXPECT_EQ(pairs.size(), 5);
    EXPECT_EQ(pairs.row(0), (std::vector<int>{0, 1, 3}));
    EXPECT_TRUE(pairs.column(2).empty());
    EXPECT_TRUE(pairs.allowed(0, 3));
    EXPECT_FALSE(pairs.allowed(0, 2));
    EXPECT_FALSE(pairs.allowed(3, 0));
    EXPECT_TRUE(pairs.row(7).empty());
}

TEST(PairStore, CountsEntriesAndRowsAndKeepsAddresses) {
    PairMap<cell> store;
    cell& first = store(3, 4);
    first.delta = 7;
    for (unsigned j = 0; j < 2000; ++j) store(5, j);
    store(3, 9);
    EXPECT_EQ(store.count(), 2002);
    EXPECT_EQ(store.rows(), 2);
    EXPECT_EQ(&store(3, 4), &first);
    EXPECT_EQ(store.find(3, 4)->delta, 7);
    EXPECT_EQ(store.find(4, 3), nullptr);
    EXPECT_FALSE(store.exists(9, 9));
    EXPECT_EQ(store.count(), 2002);
}

TEST(NormDiff, DividesByTheLargerValueOrGivesZero) {
    EXPECT_DOUBLE_EQ(normDiff(2, 4), 0.5);
    EXPECT_DOUBLE_EQ(normDiff(4, 2), 0.5);
    EXPECT_DOUBLE_EQ(normDiff(0, 0), 0.0);
    EXPECT_DOUBLE_EQ(normDiff(-3, -1), 0.0);
}

}  // namespace
}  // namespace graphmat
