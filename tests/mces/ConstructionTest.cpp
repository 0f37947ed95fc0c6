// Construction of the common-edge-subgraph matcher: decoding of the
// similarity code, the first gains, the greedy and known-matching
// constructors, and graphs of every reader mode.
#include <gtest/gtest.h>

#include "MCESTestSupport.h"
#include "graph/Random.h"

namespace graphmat {
namespace {

using test::buildMCES;
using test::partnersInverse;
using test::ScratchDir;
using test::textGraph;

class MCESConstruction : public ::testing::Test {
protected:
    ScratchDir dir;
};

struct CodeCase {
    int code;
    int sim;
    int discrimType;
    bool discriminated;  // setDiscrim ran (bestPairs exists)
};

TEST_F(MCESConstruction, DecodesTheSimilarityCode) {
    auto a = textGraph("3,2\ne,0,1,1\ne,1,2,2\n");
    auto b = textGraph("3,1\ne,0,2,1\n");
    const CodeCase cases[] = {
        {0, 0, 0, false},    {5, 5, 0, false},     {-3, -3, 0, false},  {50, 5, 0, true},
        {80, 8, 0, true},    {-15, -1, 5, true},   {-80, -8, 0, true},  {500, 5, 0, true},
        {812, 8, 1, true},   {-999, -9, 9, true},  {1000, 0, 0, false}, {-1000, 0, 0, false},
    };
    for (const CodeCase& c : cases) {
        SCOPED_TRACE(c.code);
        auto built = buildMCES(2, c.code, a.get(), b.get(), 0.0f, 1, 0.0, false);
        const MCES& m = *built.m;
        EXPECT_EQ(m.similarity, c.code);
        EXPECT_EQ(m.param_sim, c.sim);
        EXPECT_EQ(m.param_discrim, c.discrimType);
        EXPECT_EQ(m.bestPairs != nullptr, c.discriminated);
        EXPECT_EQ(built.out.find("BEST PAIRS") != std::string::npos, c.discriminated);
        EXPECT_EQ(built.out.find("BESTSIM") != std::string::npos, c.code >= -999 && c.code <= 999);
        // The similarity table exists whatever the code; the discrimination
        // factors are in it and their own table is released.
        EXPECT_EQ(m.simil.rows(), 3);
        EXPECT_EQ(m.simil.cols(), 3);
        EXPECT_TRUE(m.discrim.empty());
    }
}

TEST_F(MCESConstruction, CodesWithoutSimilarityLeaveZeros) {
    auto a = textGraph("2,1\ne,0,1,1\n");
    auto b = textGraph("2,1\ne,0,1,1\n");
    for (int code : {0, 1000}) {
        auto built = buildMCES(2, code, a.get(), b.get(), 0.0f, 1, 0.0, false);
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j) EXPECT_EQ(built.m->simil(i, j), 0.0f);
    }
}

TEST_F(MCESConstruction, ScoresStartAtZeroForAnUnknownAlgorithm) {
    auto a = textGraph("2,1\ne,0,1,1\n");
    auto b = textGraph("2,1\ne,0,1,1\n");
    // With alpha the scores are kept; they stay 0.
    auto built = buildMCES(12, 2, a.get(), b.get(), 0.5f, 1, 0.0, false);
    EXPECT_EQ(built.m->minDelta, 0.0);
    EXPECT_EQ(built.m->maxDelta, 0.0);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) EXPECT_EQ(built.m->gamma(i, j), 0.0);
    // Without alpha no score table is kept, and the pick still draws among
    // every pair, as it would among the zeros of a kept table.
    auto plain = buildMCES(12, 2, a.get(), b.get(), 0.0f, 1, 0.0, false);
    EXPECT_TRUE(plain.m->gamma.empty());
    srand15(5);
    const paire fromZeros = built.m->find();
    const std::uint32_t after = randomState();
    srand15(5);
    const paire fromNothing = plain.m->find();
    EXPECT_EQ(randomState(), after) << "one draw per pair";
    EXPECT_EQ(fromNothing.x1, fromZeros.x1);
    EXPECT_EQ(fromNothing.x2, fromZeros.x2);
}

TEST_F(MCESConstruction, NonGreedyObjectHasNoMatching) {
    auto a = textGraph("3,2\ne,0,1,1\ne,1,2,1\n");
    auto b = textGraph("3,2\ne,0,1,1\ne,1,2,1\n");
    auto built = buildMCES(7, 80, a.get(), b.get(), 0.0f, 1, 0.0, false);
    const MCES& m = *built.m;
    EXPECT_EQ(m.ff, nullptr);
    EXPECT_EQ(m.M.size(), 0);
    EXPECT_EQ(m.M12, std::vector<int>(3, -1));
    EXPECT_EQ(m.M21, std::vector<int>(3, -1));
    EXPECT_EQ(m.won, 0);
    EXPECT_EQ(built.out.rfind("\n MCES \n", 0), 0u);
    EXPECT_EQ(built.out.find("\n INIT "), std::string::npos);
    EXPECT_EQ(built.out.find("\n WON = "), std::string::npos);
}

// First gains: minus the label penalty for differing labels, minus the
// distance of the labels as numbers when the penalty is negative.
TEST_F(MCESConstruction, FirstGainsPriceDifferentLabels) {
    auto a = textGraph("3,0\nc,0,12\nc,1,12\nc,2,x\n");
    auto b = textGraph("2,0\nc,0,15\nc,1,12\n");
    struct Case {
        double nodeError;
        int truncated;
        float g00, g01, g20;
    } cases[] = {
        {-1, -1, -3, 0, -15},  // "x" reads as 0
        {0, 0, 0, 0, 0},
        {2.9, 2, -2, 0, -2},
        {-2.9, -2, -3, 0, -15},
        {1000, 1000, -1000, 0, -1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nodeError);
        auto built = buildMCES(2, 2, a.get(), b.get(), 0.0f, 1, c.nodeError, false);
        const MCES& m = *built.m;
        EXPECT_EQ(m.node_error, c.truncated);
        EXPECT_EQ(m.g(0, 0), c.g00);
        EXPECT_EQ(m.g(0, 1), c.g01);
        EXPECT_EQ(m.g(2, 0), c.g20);
        for (int i = 0; i <= 3; ++i) EXPECT_EQ(m.g(i, 2), 0.0f);  // margins start at 0
        for (int j = 0; j <= 2; ++j) EXPECT_EQ(m.g(3, j), 0.0f);
    }
}

// A penalty that comes to nothing is a plain 0, not a negative zero: the
// state trace prints "0" for it in the gains and in the scores made from
// them (variant 4 multiplies the gain).
TEST_F(MCESConstruction, NoPenaltyIsAPlainZero) {
    auto a = textGraph("2,0\nc,0,12\nc,1,x\n");
    auto b = textGraph("2,0\nc,0,012\nc,1,y\n");
    const struct {
        double nodeError;
        const char* table;  // the g table, and the gamma table alike
    } cases[] = {
        {0, "0\t0\t\n0\t0\t\n"},
        {-1, "0\t-12\t\n-12\t0\t\n"},  // 12 against 012, and x against y, read alike
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nodeError);
        auto built = buildMCES(4, 2, a.get(), b.get(), 0.5f, 1, c.nodeError, false);  // alpha: scores kept
        std::string out;
        {
            test::CaptureStdout capture;
            built.m->printState();
            out = capture.text();
        }
        const std::string tail = std::string("\n g: \n") + c.table + "\n gamma: \n" + c.table;
        ASSERT_GE(out.size(), tail.size());
        EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
    }
}

TEST_F(MCESConstruction, GreedyRunOnGraphsWithoutEdges) {
    auto a = textGraph("2,0\n");
    auto b = textGraph("3,0\n");
    auto built = buildMCES(2, 2, a.get(), b.get(), 0.0f, 1, 0.0, true);
    const MCES& m = *built.m;
    EXPECT_NE(m.ff, nullptr);
    EXPECT_EQ(m.won, 0);
    EXPECT_NE(built.out.find("\n INIT 2/3 \n"), std::string::npos);
    const std::string tail = "\n WON = 0";
    ASSERT_GE(built.out.size(), tail.size());
    EXPECT_EQ(built.out.substr(built.out.size() - tail.size()), tail);
    EXPECT_TRUE(partnersInverse(m));
}

// A path 0 -> 1 -> 2 seeded in full: every seed is committed with the gain
// it had when its turn came, and the loop finds nothing more.
TEST_F(MCESConstruction, FullSeedCommitsEveryPairWithItsGain) {
    auto a = textGraph("3,2\ne,0,1,1\ne,1,2,1\n");
    auto b = textGraph("3,2\ne,0,1,1\ne,1,2,1\n");
    const int kbt[] = {0, 1, 2};
    auto built = buildMCES(7, 2, a.get(), b.get(), 0.0f, 1, kbt, 0.0);
    const MCES& m = *built.m;
    EXPECT_TRUE(m.findfast);
    EXPECT_EQ(m.BIAS, 0.0);
    EXPECT_EQ(m.M12, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(m.M21, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(m.nbMatched, 3);
    EXPECT_EQ(m.won, 2);  // (0,0) gains 0, then (1,1) and (2,2) one common arc each
}

TEST_F(MCESConstruction, SeedsOutOfRangeOrTakenAreSkipped) {
    auto a = textGraph("4,0\n");
    auto b = textGraph("3,0\n");
    const int kbt[] = {2, 7, 2, -5};
    auto built = buildMCES(7, 2, a.get(), b.get(), 0.0f, 1, kbt, 0.0);
    const MCES& m = *built.m;
    EXPECT_EQ(m.M12[0], 2);  // the first seed naming 2 wins
    EXPECT_NE(m.M12[2], 2);
    EXPECT_TRUE(partnersInverse(m));
}

TEST_F(MCESConstruction, EmptySeedRunsLikeAGreedyObjectOnTheCandidateStructure) {
    auto a = textGraph("3,2\ne,0,1,1\ne,1,2,1\n");
    auto b = textGraph("3,2\ne,0,1,1\ne,1,2,1\n");
    const int kbt[] = {-1, -1, -1};
    srand15(3);
    auto built = buildMCES(7, 2, a.get(), b.get(), 0.0f, 1, kbt, 0.0);
    const MCES& m = *built.m;
    EXPECT_TRUE(m.findfast);
    EXPECT_NE(built.out.find("FEED FAST FIND"), std::string::npos);
    EXPECT_GE(m.nbMatched, 1);
    EXPECT_TRUE(partnersInverse(m));
}

// The default reader mode builds no relation tables; the matcher gets them
// quietly and compares the arcs of every vertex with itself in full.
TEST_F(MCESConstruction, ModelGraphsGetTheirRelationTablesQuietly) {
    std::unique_ptr<Graph> model;
    {
        test::CaptureStdout quiet;
        model = std::make_unique<Graph>(12, test::fixture("graph/model-basic.txt"));
    }
    ASSERT_FALSE(model->hasRelations);
    auto built = buildMCES(2, 2, model.get(), model.get(), 0.0f, 1, 0.0, false);
    EXPECT_EQ(built.out.rfind("\n MCES \nOEdges: ", 0), 0u);
    MCES& m = *built.m;
    for (int i = 0; i < m.N1(); ++i)
        EXPECT_EQ(m.measurePair(i, i).oEdges, model->V[i]->nb_in + model->V[i]->nb_out) << i;
}

TEST_F(MCESConstruction, GraphsKeepTheirArcCounts) {
    auto a = textGraph("4,4\ne,0,1,1\ne,1,2,12\ne,2,3,2\ne,3,0,1\n");
    auto b = textGraph("4,4\ne,0,1,1\ne,1,2,1\ne,2,3,2\ne,0,3,21\n");
    const auto in1 = a->c_in, out1 = a->c_out, in2 = b->c_in, out2 = b->c_out;
    for (int algo : {0, 1, 8}) {
        SCOPED_TRACE(algo);
        auto built = buildMCES(algo, 2, a.get(), b.get(), 0.0f, 1, 0.0, true);
        EXPECT_GT(built.m->nbMatched, 0);
        EXPECT_EQ(a->c_in, in1);
        EXPECT_EQ(a->c_out, out1);
        EXPECT_EQ(b->c_in, in2);
        EXPECT_EQ(b->c_out, out2);
    }
}

TEST_F(MCESConstruction, StateTrace) {
    auto a = textGraph("2,1\ne,0,1,1\n");
    auto b = textGraph("2,1\ne,0,1,1\n");
    auto open = buildMCES(2, 2, a.get(), b.get(), 0.0f, 1, 0.0, false);
    std::string out;
    {
        test::CaptureStdout capture;
        open.m->printState();
        out = capture.text();
    }
    EXPECT_EQ(out.substr(0, out.find("\n potential")),
              "\n G1: \n0 : 1(0,1)\t/1(1)\n1 : 1(1,0)\t1/(1)\n\n G2: \n0 : 1(0,1)\t/1(1)\n1 : 1(1,0)\t1/(1)\n");

    // Both pairs committed: inner entries of matched rows and columns are
    // starred, margins are printed.
    srand15(1);
    auto done = buildMCES(2, 2, a.get(), b.get(), 0.0f, 1, 0.0, true);
    ASSERT_EQ(done.m->M12, (std::vector<int>{0, 1}));
    EXPECT_EQ(done.m->won, 1);
    {
        test::CaptureStdout capture;
        done.m->printState();
        out = capture.text();
    }
    // Algorithm 2 with alpha 0 keeps neither connexions nor gamma.
    EXPECT_EQ(out,
              "\n G1: \n\n G2: \n"
              "\n potential: \n*\t*\t1\t\n*\t*\t1\t\n1\t1\t0\t\n"
              "\n g: \n*\t*\t\n*\t*\t\n");

    // Algorithm 1 with alpha keeps both.
    srand15(1);
    auto kept = buildMCES(1, 2, a.get(), b.get(), 0.5f, 1, 0.0, true);
    {
        test::CaptureStdout capture;
        kept.m->printState();
        out = capture.text();
    }
    EXPECT_NE(out.find("\n connexions: \n"), std::string::npos);
    EXPECT_NE(out.find("\n gamma: \n"), std::string::npos);
}

}  // namespace
}  // namespace graphmat
