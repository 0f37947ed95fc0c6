// Structural pair matrices of the matcher: the neighbour-correspondence
// distance, the local edit-cost estimate per pair, and the arc-label
// overlap similarity with its histogram.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "graph/Graph.h"
#include "matching/Cost.h"
#include "matching/Match.h"
#include "mces/MCES.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::CaptureStdout;
using test::ScratchDir;

std::unique_ptr<Graph> textGraph(const std::string& text) {
    CaptureStdout quiet;
    return std::make_unique<Graph>(7, text);
}

// Two graphs, a cost model and a matcher on them, built quietly.
struct PairOfGraphs {
    ScratchDir dir;
    std::unique_ptr<Graph> a, b;
    Cost costs;
    std::unique_ptr<Match> match;

    PairOfGraphs(const std::string& g1, const std::string& g2) {
        a = textGraph(g1);
        b = textGraph(g2);
        CaptureStdout quiet;
        costs.initMode1(1, 0.5, 1, 1, 0);
        match = std::make_unique<Match>(a.get(), b.get(), &costs, 1, 3);
    }
    Vertex* v1(int i) { return a->V[i].get(); }
    Vertex* v2(int j) { return b->V[j].get(); }
};

TEST(StructuralSimilarity, NeighbourCorrespondenceDistance) {
    // Graph 1 and graph 2: 0 -> 1 with label 1; vertex 2 isolated.
    PairOfGraphs s("3,1\ne,0,1,1\n", "3,1\ne,0,1,1\n");
    {
        CaptureStdout quiet;
        s.match->fillSimMatrixH();
    }
    auto& M = s.match->_M;
    // (0,0): degree part 1 + 2 + 1 + 2 = 6; HENodes 3 (same centre and
    // neighbour labels, same arc out, no arc back).
    EXPECT_EQ(M(0, 0), 0.0f);
    // (0,1): degree part 6; no agreement at all.
    EXPECT_EQ(M(0, 1), 6.0f);
    // Isolated against isolated: degree part 0, HENodes 0.
    EXPECT_EQ(M(2, 2), 0.0f);
    EXPECT_EQ(M(0, 2), 3.0f);
    EXPECT_EQ(s.match->_M.count(), 9);
}

TEST(StructuralSimilarity, LocalEditCostEstimate) {
    // 0 <-> 1 both ways in each graph; vertex 2 isolated; vertex 3 of
    // graph 1 has one arc out to 1.
    PairOfGraphs s("4,3\ne,0,1,1\ne,1,0,2\ne,3,1,1\n", "3,2\ne,0,1,1\ne,1,0,2\n");
    Match& m = *s.match;
    const int mode = m.cost_mode;
    // Two isolated vertices: the substitution cost alone.
    EXPECT_DOUBLE_EQ(m.bestNMatches1(2, 2), s.costs.raw_cns(mode, s.v1(2), s.v2(2), 0.0f));
    // Neighbours against none: half the arc count on top.
    EXPECT_DOUBLE_EQ(m.bestNMatches1(0, 2), s.costs.raw_cns(mode, s.v1(0), s.v2(2), 0.0f) + 0.5 * 2);
    EXPECT_DOUBLE_EQ(m.bestNMatches1(2, 0), s.costs.raw_cns(mode, s.v1(2), s.v2(0), 0.0f) + 0.5 * 2);
    // One neighbour each, arcs both ways: substitute the neighbour pair, or
    // delete one and insert the other (each with half its two arcs).
    const Edge* out1 = s.a->getEdge(0, 1);
    const Edge* in1 = s.a->getEdge(1, 0);
    const Edge* out2 = s.b->getEdge(0, 1);
    const Edge* in2 = s.b->getEdge(1, 0);
    const double substitute = s.costs.raw_ces(mode, out1, out2, m.getENodes1(out1), m.getENodes2(out2)) +
                              s.costs.raw_ces(mode, in1, in2, m.getENodes1(in1), m.getENodes2(in2));
    const double replace = s.costs.cnd(mode, s.v1(1)) + 1 + s.costs.cni(mode, s.v2(1)) + 1;
    const double base = s.costs.raw_cns(mode, s.v1(0), s.v2(0), 0.0f);
    EXPECT_DOUBLE_EQ(m.bestNMatches1(0, 0), static_cast<float>(base + std::min(substitute, replace)));
    {
        CaptureStdout quiet;
        m.fillSimMatrixH1();
    }
    EXPECT_EQ(m._M(0, 0), static_cast<float>(m.bestNMatches1(0, 0)));
    EXPECT_EQ(m._M.count(), 12);
}

TEST(StructuralSimilarity, ArcLabelOverlapAndHistogram) {
    PairOfGraphs s("3,1\ne,0,1,1\n", "3,1\ne,0,1,1\n");
    Match& m = *s.match;
    m.nb_labels = 2;
    m.granul_distrib = 10000.0;
    m.sim_distrib.assign(10001, 0);
    {
        CaptureStdout quiet;
        m.fillSimMatrix();
    }
    EXPECT_EQ(m._M(0, 0), 1.0f);
    EXPECT_EQ(m._M(1, 1), 1.0f);
    EXPECT_EQ(m._M(0, 1), 0.0f);
    EXPECT_EQ(m._M(2, 2), 0.0f);  // no arcs: 0, counted at 0
    EXPECT_EQ(m.sim_distrib[10000], 2);
    EXPECT_EQ(m.sim_distrib[0], 7);
}

// Without a histogram, or with one too short for the granularity, nothing
// is counted out of range; without shared labelled arcs every value is 0.
TEST(StructuralSimilarity, ArcLabelOverlapGuards) {
    PairOfGraphs s("3,1\ne,0,1,1\n", "3,1\ne,0,1,2\n");
    Match& m = *s.match;
    m.nb_labels = 3;
    m.granul_distrib = 10000.0;
    {
        CaptureStdout quiet;
        m.fillSimMatrix();  // no histogram
    }
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_EQ(m._M(i, j), 0.0f);  // maxS 0: no value that is not a number

    PairOfGraphs t("3,1\ne,0,1,1\n", "3,1\ne,0,1,1\n");
    t.match->nb_labels = 2;
    t.match->granul_distrib = 10000.0;
    t.match->sim_distrib.assign(5, 0);
    {
        CaptureStdout quiet;
        t.match->fillSimMatrix();
    }
    EXPECT_EQ(t.match->sim_distrib[0], 7);  // the two values of 1 fall outside and are not counted
}

}  // namespace
}  // namespace graphmat
