// Pair statistics: the overlap counts of two neighbourhoods, the connection
// counts and potential with their margins, the statistic groups and their
// report, and the best neighbour correspondence.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "MCESTestSupport.h"

namespace graphmat {
namespace {

using test::buildMCES;
using test::ScratchDir;
using test::textGraph;

class PairStatistics : public ::testing::Test {
protected:
    ScratchDir dir;
};

// Vertex 0 of graph 1 has 3 incoming and 1 outgoing arc, vertex 0 of graph
// 2 has 2 and 2, all with digit 1; both are labelled A.
const char* kInOut1 = "5,4\nc,0,A\ne,1,0,1\ne,2,0,1\ne,3,0,1\ne,0,4,1\n";
const char* kInOut2 = "5,4\nc,0,A\ne,1,0,1\ne,2,0,1\ne,0,3,1\ne,0,4,1\n";

TEST_F(PairStatistics, ArcOverlapOfOnePair) {
    auto a = textGraph(kInOut1);
    auto b = textGraph(kInOut2);
    // Algorithm 1 reads the connection counts, so they are kept.
    auto built = buildMCES(1, 2, a.get(), b.get(), 0.0f, 1, 0.0, false);
    MCES& m = *built.m;
    const MCES::PairStatistics p = m.measurePair(0, 0);
    EXPECT_EQ(p.oEdges, 3);
    EXPECT_EQ(p.links, 8);
    EXPECT_EQ(m.connexions(0, 0), 8);
    EXPECT_EQ(m.potential(0, 0), 3.0);
    EXPECT_TRUE(m.overlaps(0, 0));
    EXPECT_EQ(p.oNodes, 1);
    EXPECT_EQ(p.peNodes, 1);
    EXPECT_EQ(p.peNodes2, 1);
    EXPECT_EQ(p.heNodes, 0);
    // Algorithm 2 does not read them: no table.
    auto other = buildMCES(2, 2, a.get(), b.get(), 0.0f, 1, 0.0, false);
    EXPECT_TRUE(other.m->connexions.empty());
    EXPECT_EQ(other.m->potential(0, 0), 3.0);
}

// Differing labels are a hard mismatch from a penalty of 1000 on.
TEST_F(PairStatistics, HardLabelMismatchZeroesThePair) {
    auto a = textGraph(kInOut1);
    auto b = textGraph(kInOut2);
    for (double nodeError : {999.0, 1000.0}) {
        SCOPED_TRACE(nodeError);
        const bool hard = nodeError >= 1000;
        auto built = buildMCES(1, 4, a.get(), b.get(), 0.0f, 1, nodeError, false);
        MCES& m = *built.m;
        // Vertex 4 (labelled 4, one arc in from A) against vertex 3 (labelled 3,
        // one arc in from A).
        const MCES::PairStatistics p = m.measurePair(4, 3);
        EXPECT_EQ(p.oEdges, hard ? 0 : 1);
        EXPECT_EQ(m.connexions(4, 3), hard ? 0 : 1);
        EXPECT_EQ(p.oNodes, hard ? 0 : 1);  // the common neighbour label A
        EXPECT_EQ(m.overlaps(4, 3), !hard);
        EXPECT_EQ(m.potential(4, 3), hard ? 0.0 : 2.0);
        EXPECT_EQ(p.heNodes, 0);
    }
}

TEST_F(PairStatistics, TypeZeroHasNoPotential) {
    auto a = textGraph(kInOut1);
    auto b = textGraph(kInOut2);
    auto built = buildMCES(2, 0, a.get(), b.get(), 0.0f, 1, 0.0, false);
    MCES& m = *built.m;
    EXPECT_EQ(m.numG, 0.0);
    EXPECT_EQ(m.allG, 0.0);
    for (int i = 0; i <= 5; ++i)
        for (int j = 0; j <= 5; ++j) EXPECT_EQ(m.potential(i, j), 0.0);
    EXPECT_EQ(m.measurePair(0, 0).oEdges, 3);  // the arc statistics are measured all the same
    EXPECT_TRUE(m.overlaps(0, 0));
}

// The margins hold the row and column totals of connexions and potential,
// and numG / allG count and sum the potentials.
TEST_F(PairStatistics, MarginsHoldRowAndColumnTotals) {
    auto a = textGraph("4,4\nc,1,B\ne,0,1,1\ne,1,2,2\ne,2,0,1\ne,3,3,3\n");
    auto b = textGraph("5,5\nc,2,B\ne,0,1,1\ne,1,2,2\ne,2,0,1\ne,3,4,12\ne,4,3,3\n");
    for (int code : {2, 4, 5, 6, 7, 8}) {
        SCOPED_TRACE(code);
        auto built = buildMCES(1, code, a.get(), b.get(), 0.0f, 1, 0.0, false);
        const MCES& m = *built.m;
        double all = 0, positive = 0;
        for (int i = 0; i < 4; ++i) {
            long links = 0;
            double pot = 0;
            for (int j = 0; j < 5; ++j) {
                links += m.connexions(i, j);
                pot += m.potential(i, j);
                all += m.potential(i, j);
                if (m.potential(i, j) > 0) positive += 1;
            }
            EXPECT_EQ(m.connexions(i, 5), links);
            EXPECT_EQ(m.potential(i, 5), pot);
        }
        for (int j = 0; j < 5; ++j) {
            long links = 0;
            double pot = 0;
            for (int i = 0; i < 4; ++i) {
                links += m.connexions(i, j);
                pot += m.potential(i, j);
            }
            EXPECT_EQ(m.connexions(4, j), links);
            EXPECT_EQ(m.potential(4, j), pot);
        }
        EXPECT_EQ(m.allG, all);
        EXPECT_EQ(m.numG, positive);
        EXPECT_EQ(m.potential(4, 5), 0.0);  // the corner stays 0
        EXPECT_EQ(m.connexions(4, 5), 0);
    }
}

// Relation keys: PEdges counts the common "in/out" keys, PEdges2 weighs
// them by their arcs; PENodes and PENodes2 do the same with the
// neighbour's label added to the key.
TEST_F(PairStatistics, RelationKeyOverlap) {
    // Vertex 0: neighbour 1 (label P) by 0 -> 1 "12"; neighbour 2 (Q) by 2 -> 0 "3".
    auto a = textGraph("3,2\nc,0,X\nc,1,P\nc,2,Q\ne,0,1,1\ne,0,1,2\ne,2,0,3\n");
    // Vertex 0: neighbour 1 (P) by 0 -> 1 "12"; neighbour 2 (R) by 2 -> 0 "3".
    auto b = textGraph("3,2\nc,0,X\nc,1,P\nc,2,R\ne,0,1,1\ne,0,1,2\ne,2,0,3\n");
    auto keys = buildMCES(2, 5, a.get(), b.get(), 0.0f, 1, 0.0, false);
    EXPECT_EQ(keys.m->measurePair(0, 0).pEdges, 2);       // "/12" and "3/"
    EXPECT_EQ(keys.m->measurePair(0, 0).pEdges2, 2 + 1);  // lengths less one
    EXPECT_EQ(keys.m->potential(0, 0), 2.0);
    auto weighted = buildMCES(2, 6, a.get(), b.get(), 0.0f, 1, 0.0, false);
    EXPECT_EQ(weighted.m->potential(0, 0), 3.0);
    auto labelled = buildMCES(2, 7, a.get(), b.get(), 0.0f, 1, 0.0, false);
    const MCES::PairStatistics p = labelled.m->measurePair(0, 0);
    EXPECT_EQ(p.peNodes, 1 + 1);   // same label, "/12/P"
    EXPECT_EQ(p.peNodes2, 1 + 3);  // same label, 2 label characters + 1
    EXPECT_EQ(p.pEdges, 0);
    EXPECT_EQ(labelled.m->potential(0, 0), 2.0);
    auto labelled2 = buildMCES(2, 8, a.get(), b.get(), 0.0f, 1, 0.0, false);
    EXPECT_EQ(labelled2.m->potential(0, 0), 4.0);
    auto nodes = buildMCES(2, 3, a.get(), b.get(), 0.0f, 1, 0.0, false);
    EXPECT_EQ(nodes.m->measurePair(0, 0).oNodes, 1 + 1);  // same label, neighbour label P
    EXPECT_EQ(nodes.m->potential(0, 0), 2.0);
}

TEST_F(PairStatistics, ReportLines) {
    auto a = textGraph("2,1\ne,0,1,1\n");
    auto b = textGraph("1,0\n");
    auto built = buildMCES(2, 2, a.get(), b.get(), 0.0f, 1, 0.0, false);
    // Pairs (0,0) and (1,0): OEdges 0 and 0, ONodes 1 and 0.
    const MCES& m = *built.m;
    EXPECT_EQ(m.meanONodes, 0.5);
    EXPECT_EQ(m.stdONodes, 0.5);
    EXPECT_EQ(m.minONodes, 0.0);
    EXPECT_EQ(m.maxONodes, 1.0);
    const std::string expected =
        "\n MCES \n"
        "OEdges: 0 | 0 | 0 | 0 \n "
        "ONodes: 0 | 0.5 | 0.5 | 1 \n "
        "PEdges: 0 | 0 | 0 | 0 \n "
        "PEdges2: 0 | 0 | 0 | 0 \n "
        "PENodes: 0 | 0.5 | 0.5 | 1 \n "
        "PENodes2: 0 | 0.5 | 0.5 | 1 \n "
        "HENodes: 0 | 0 | 0 | 0 \n "
        "\n Total 1: 1\n Total 2: 1\n"
        "_OEdges: 0 | 0 | 0 | 0 \n "
        "_ONodes: 0 | 0.333333 | 0.333333 | 0.666667 \n "
        "_PEdges: 0 | 0 | 0 | 0 \n "
        "_PEdges2: 0 | 0 | 0 | 0 \n "
        "_PENodes: 0 | 0.333333 | 0.333333 | 0.666667 \n "
        "_PENodes2: 0 | 0.25 | 0.25 | 0.5 \n "
        "_HENodes: 0 | 0 | 0 | 0 \n ";
    EXPECT_EQ(built.out.substr(0, expected.size()), expected);
}

// Neighbour correspondences (similarity types 1 and 9 select HENodes as the
// potential).
struct BestCase {
    const char* name;
    const char* graph1;
    const char* graph2;
    int code;
    double nodeError;
    int expected;  // HENodes(0, 0)
};

TEST_F(PairStatistics, BestNeighbourCorrespondence) {
    const char* single1 = "2,1\nc,0,X\nc,1,P\ne,0,1,1\n";
    const char* single2 = "2,1\nc,0,X\nc,1,P\ne,0,1,1\n";
    const char* diagonal1 = "3,4\nc,0,X\nc,1,P\nc,2,Q\ne,0,1,1\ne,0,2,2\ne,1,0,3\ne,2,0,4\n";
    const char* diagonal2 = "3,4\nc,0,X\nc,1,P\nc,2,Q\ne,0,1,1\ne,0,2,2\ne,1,0,3\ne,2,0,4\n";
    const char* same1 = "3,4\nc,0,X\nc,1,P\nc,2,P\ne,0,1,1\ne,0,2,1\ne,1,0,2\ne,2,0,2\n";
    const char* same2 = "2,2\nc,0,X\nc,1,P\ne,0,1,1\ne,1,0,2\n";
    const char* fan1 = "3,2\nc,0,X\nc,1,P\nc,2,P\ne,0,1,1\ne,0,2,1\n";
    const char* fan2 = "5,4\nc,0,X\nc,1,P\nc,2,P\nc,3,R\nc,4,S\ne,0,1,1\ne,0,2,1\ne,0,3,1\ne,0,4,1\n";
    const BestCase cases[] = {
        {"isolated", "1,0\nc,0,X\n", "2,1\nc,0,X\ne,0,1,1\n", 1, 0, 0},
        {"one neighbour, edge out only", single1, single2, 1, 0, 3},
        {"one neighbour, penalty 500", single1, single2, 1, 500, 3},
        {"diagonal agreement", diagonal1, diagonal2, 1, 0, 8},
        {"everything agrees", same1, same2, 1, 0, 4},
        {"type 9 cheap exit", fan1, fan2, 9, 0, 5},
        {"type -9 solves", fan1, fan2, -9, 0, 6},
        {"hard mismatch everywhere", "2,1\nc,0,X\ne,0,1,1\n", "2,1\nc,0,X\nc,1,Q\ne,0,1,1\n", 1, 1000, 0},
        {"penalties beside agreeing labels", fan1, fan2, 1, 1000, 6},
    };
    for (const BestCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto a = textGraph(c.graph1);
        auto b = textGraph(c.graph2);
        auto built = buildMCES(5, c.code, a.get(), b.get(), 0.0f, 1, c.nodeError, false);
        const MCES::PairStatistics p = built.m->measurePair(0, 0);
        EXPECT_EQ(p.heNodes, c.expected);
        EXPECT_EQ(built.m->potential.count(0, 0), c.expected);
        EXPECT_EQ(built.m->bestNMatches(0, 0, p.oEdges + p.oNodes), c.expected);
    }
}

// 250 neighbours on each side, labelled P and Q in turn, with the label
// penalty 1000: 4 x 250 is no longer below the penalty, so the count comes
// from the step-by-step solver's own optimum; every P pairs with a P and
// every Q with a Q, each agreeing in three of four (no arc back).
TEST_F(PairStatistics, BestNeighbourCorrespondenceOfLargeNeighbourhoodsWithPenalties) {
    const int fan = 250;
    std::string text = std::to_string(fan + 1) + "," + std::to_string(fan) + "\nc,0,X\n";
    for (int v = 1; v <= fan; ++v) text += "c," + std::to_string(v) + (v % 2 ? ",P\n" : ",Q\n");
    for (int v = 1; v <= fan; ++v) text += "e,0," + std::to_string(v) + ",1\n";
    auto a = textGraph(text);
    auto b = textGraph(text);
    auto built = buildMCES(5, 1, a.get(), b.get(), 0.0f, 1, 1000, false);
    EXPECT_EQ(built.m->bestNMatches(0, 0, 0), 3 * fan);
}

}  // namespace
}  // namespace graphmat
