// Vertex ranking on graphs small enough to solve by hand: whole-graph and
// per-digit scores, statistics, rank orders and levels, the neighbourhood
// score and the metrics files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numeric>

#include "GraphDump.h"

namespace graphmat::test {
namespace {

constexpr double TOLERANCE = 1e-12;

// A graph built arc by arc: vertices 0..n-1 labelled by `labels`.
std::unique_ptr<Graph> buildGraph(const std::vector<std::string>& labels,
                                  const std::vector<std::tuple<int, int, std::string>>& arcs) {
    auto g = std::make_unique<Graph>();
    for (std::size_t i = 0; i < labels.size(); ++i)
        g->V.push_back(std::make_unique<Vertex>(static_cast<int>(i), labels[i]));
    g->vertices = static_cast<int>(labels.size());
    g->reinitEdges();
    for (const auto& [from, to, label] : arcs) g->insertEdge(std::make_unique<Edge>(from, to, label));
    g->edges = static_cast<int>(g->E.size());
    return g;
}

double sum(const std::vector<double>& values) { return std::accumulate(values.begin(), values.end(), 0.0); }

// 0 -> 1, and 1 passes nothing on: the walk settles at x0 = c/2,
// x1 = c/2 + (1-c) c/2, so u = (20/57, 37/57).
TEST(Ranking, WholeGraphScoresOfAChain) {
    auto g = buildGraph({"A", "B"}, {{0, 1, "1"}});
    g->nodeRank(0.15, 1e-8);
    ASSERT_EQ(g->u.size(), 2u);
    EXPECT_NEAR(g->u[0], 20.0 / 57, TOLERANCE);
    EXPECT_NEAR(g->u[1], 37.0 / 57, TOLERANCE);
    EXPECT_NEAR(g->hub[0], 37.0 / 57, TOLERANCE);
    EXPECT_EQ(g->hub[1], 0.0);
    EXPECT_EQ(g->norm, (std::vector<double>{1.0, 1.0}));
    EXPECT_NEAR(g->min_u, 20.0 / 57, TOLERANCE);
    EXPECT_NEAR(g->max_u, 37.0 / 57, TOLERANCE);
    EXPECT_NEAR(g->mean_u, 0.5, TOLERANCE);
    EXPECT_NEAR(g->std_u, 17.0 / 114, 1e-9);
    EXPECT_NEAR(g->maxi_u, 0.5 + 34.0 / 114, 1e-9);
    EXPECT_EQ(g->mean_norm, 1.0);
    EXPECT_EQ(g->std_norm, 0.0);
    EXPECT_EQ(g->maxi_norm, 1.0);
    EXPECT_EQ(g->rank, (std::vector<int>{1, 0}));
    EXPECT_EQ(g->_rank, (std::vector<int>{0, 0}));
    EXPECT_EQ(g->level, (std::vector<int>{50, 0}));
    ASSERT_EQ(g->level_count.size(), 100u);
    EXPECT_EQ(g->level_count[0], 1);
    EXPECT_EQ(g->level_count[50], 1);
    EXPECT_EQ(g->c, 0.15);
    EXPECT_TRUE(g->hasRanking);
}

// With "ew,1,3" vertex 0 sends 3/4 of its share along its digit-1 arc and
// 1/4 along its digit-2 arc; each digit's own walk follows its arc alone.
TEST(Ranking, LabelWeightsAndPerDigitScores) {
    ScratchDir dir;
    writeFile("config.txt", "ew,1,3\n");
    writeFile("g.csv", "3,2\n0,1,1\n0,2,2\n");
    ReadGraph r = readGraph(6, "g.csv");
    Graph& g = *r.graph;

    const double a = 0.05 / 0.1925, b = 0.0925 / 0.1925;
    ASSERT_EQ(g.uu.size(), 3u);
    EXPECT_TRUE(g.uu[0].empty());
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(g.uu[1][i], (std::vector<double>{a, b, a})[i], TOLERANCE);
        EXPECT_NEAR(g.uu[2][i], (std::vector<double>{a, a, b})[i], TOLERANCE);
    }
    const double mean = 1.0 / 3, deviation = std::sqrt((2 * a * a + b * b) / 3 - mean * mean);
    ASSERT_EQ(g.uu_stats[2].size(), 5u);
    const std::vector<double> expected{a, mean, deviation, mean + 2 * deviation, b};
    for (int k = 0; k < 5; ++k) {
        EXPECT_NEAR(g.uu_stats[1][k], expected[k], 1e-9);
        EXPECT_NEAR(g.uu_stats[2][k], expected[k], 1e-9);
    }
    // The members hold the statistics of the last digit.
    EXPECT_EQ(g.min_u, g.uu_stats[2][0]);
    EXPECT_EQ(g.maxi_u, g.uu_stats[2][3]);
    EXPECT_TRUE(g.u.empty());
    EXPECT_FALSE(g.hasRanking);

    g.ensureRanking();
    const double u0 = 0.05 / 0.1925, u1 = 0.081875 / 0.1925, u2 = 0.060625 / 0.1925;
    EXPECT_NEAR(g.u[0], u0, TOLERANCE);
    EXPECT_NEAR(g.u[1], u1, TOLERANCE);
    EXPECT_NEAR(g.u[2], u2, TOLERANCE);
    // The whole-graph ranking that follows the per-digit one replaces its
    // statistics: max_u 0.425 (not b = 0.481) and maxi_u = mean + 2
    // deviations of u, 0.471 (not 0.541).
    const double deviationU = std::sqrt((u0 * u0 + u1 * u1 + u2 * u2) / 3 - mean * mean);
    EXPECT_NEAR(g.min_u, u0, 1e-9);
    EXPECT_NEAR(g.max_u, u1, 1e-9);
    EXPECT_NEAR(g.mean_u, mean, 1e-9);
    EXPECT_NEAR(g.std_u, deviationU, 1e-9);
    EXPECT_NEAR(g.maxi_u, mean + 2 * deviationU, 1e-9);
    EXPECT_GT(std::fabs(g.maxi_u - g.uu_stats[2][3]), 0.05);
    // The per-digit statistics themselves are kept.
    EXPECT_NEAR(g.uu_stats[2][4], b, 1e-9);
}

// The per-digit walk counts arcs: a parallel pair of digit-1 arcs carries
// twice the share of a single one, and a label character that is not a
// digit is no arc of any digit.
TEST(Ranking, PerDigitWalkCountsEachArcOfItsDigit) {
    CaptureStdout quiet;
    auto parallel = buildGraph({"a", "b", "c"}, {{0, 1, "1"}, {0, 1, "1"}, {0, 2, "1"}});
    parallel->nodeRank2(0.15, 1e-8);
    const double x1 = 0.05 + 0.85 * 0.05 * 2 / 3, x2 = 0.05 + 0.85 * 0.05 / 3, total = 0.05 + x1 + x2;
    EXPECT_NEAR(parallel->uu[1][1], x1 / total, TOLERANCE);
    EXPECT_NEAR(parallel->uu[1][2], x2 / total, TOLERANCE);
    // The whole-graph walk follows the edge once with both arcs' weight.
    parallel->nodeRank(0.15, 1e-8);
    EXPECT_NEAR(parallel->u[1], x1 / total, TOLERANCE);

    auto marked = buildGraph({"a", "b", "c"}, {{0, 1, "1x"}, {0, 2, "1"}});
    marked->nodeRank2(0.15, 1e-8);
    EXPECT_EQ(marked->c_out[0][1], 2);
    EXPECT_NEAR(marked->uu[1][1], 0.07125 / 0.1925, TOLERANCE);
    EXPECT_NEAR(marked->uu[1][2], 0.07125 / 0.1925, TOLERANCE);
    EXPECT_NEAR(sum(marked->uu[1]), 1.0, TOLERANCE);
    quiet.text();
}

TEST(Ranking, DigitWithoutArcsIsUniform) {
    auto g = buildGraph({"a", "b", "c", "d"}, {{0, 1, "3"}});
    g->nodeRank2(0.15, 1e-8);
    for (int k = 1; k <= 2; ++k)
        for (double score : g->uu[k]) EXPECT_NEAR(score, 0.25, TOLERANCE);
}

TEST(Ranking, EqualScoresShareARankAndNoStatisticIsNaN) {
    // Six vertices in a cycle score alike; rounding makes the variance
    // slightly negative there, which counts as 0.
    std::vector<std::tuple<int, int, std::string>> cycle;
    for (int i = 0; i < 6; ++i) cycle.emplace_back(i, (i + 1) % 6, "1");
    auto g = buildGraph({"a", "b", "c", "d", "e", "f"}, cycle);
    g->nodeRank(0.15, 1e-8);
    EXPECT_EQ(g->std_u, 0.0);
    EXPECT_FALSE(std::isnan(g->maxi_u));
    EXPECT_EQ(g->rank, std::vector<int>(6, 0));
    EXPECT_EQ(g->level, std::vector<int>(6, 0));
    EXPECT_EQ(g->level_count[0], 6);
}

TEST(Ranking, DistinctScoresFillEveryLevel) {
    auto g = buildGraph(std::vector<std::string>(100, "v"), {});
    g->u.assign(100, 0.0);
    g->norm.assign(100, 1.0);
    for (int i = 0; i < 100; ++i) g->u[i] = (i * 37) % 100;  // a permutation of 0..99
    g->sortNodes();
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(g->rank[i], 99 - (i * 37) % 100);
        EXPECT_EQ(g->level[i], g->rank[i]);
        EXPECT_EQ(g->level_count[i], 1);
        EXPECT_EQ(g->_rank[i], 0);
    }
}

TEST(Ranking, RanksCountStrictlyLargerScoresOnARealModel) {
    ScratchDir dir;
    ReadGraph r = readGraph(12, dataFile("junit-framework-3.8.2.txt"));
    Graph& g = *r.graph;
    g.ensureRanking();
    const int n = g.vertices;
    ASSERT_EQ(static_cast<int>(g.rank.size()), n);
    for (int i = 0; i < n; ++i) {
        int above = 0, aboveNorm = 0;
        for (int j = 0; j < n; ++j) {
            above += g.u[j] > g.u[i];
            aboveNorm += g.norm[j] > g.norm[i];
        }
        ASSERT_EQ(g.rank[i], above) << i;
        ASSERT_EQ(g._rank[i], aboveNorm) << i;
        ASSERT_EQ(g.level[i], above * 100 / n) << i;
    }
}

TEST(Ranking, EmptyAndSingleVertexGraphs) {
    Graph empty;
    empty.ensureRanking();
    EXPECT_TRUE(empty.hasRanking);
    EXPECT_TRUE(empty.u.empty() && empty.hub.empty() && empty.norm.empty() && empty.rank.empty());
    EXPECT_EQ(empty.mean_u, 0.0);
    EXPECT_EQ(empty.std_u, 0.0);
    EXPECT_EQ(empty.maxi_u, 0.0);
    EXPECT_EQ(empty.mean_norm, 0.0);
    EXPECT_EQ(empty.level_count, std::vector<int>(100, 0));

    auto one = buildGraph({"solo"}, {});
    one->nodeRank(0.15, 1e-8);
    EXPECT_EQ(one->u, std::vector<double>{1.0});
    EXPECT_EQ(one->rank, std::vector<int>{0});
    EXPECT_EQ(one->level, std::vector<int>{0});
    EXPECT_EQ(one->std_u, 0.0);
    EXPECT_EQ(one->maxi_u, 1.0);
}

// Negative label weights can make a vertex pass on more than its score (or
// minus it) per step: the walk grows to infinity, or swings for ever. It
// stops, every vertex gets the score 1/n, no statistic is left not a number,
// and standard error names the negative weights.
TEST(Ranking, AWalkThatDoesNotSettleGivesEqualScoresAndNamesTheWeights) {
    struct Case {
        std::string what, config, text, weights;
    };
    const std::vector<Case> cases = {
        {"growing", "ew,9,-2\n", "3,3\ne,0,1,222\ne,0,0,9\ne,1,2,1", "ew,9,-2"},
        {"swinging", "ew,1,1\new,2,-1.85\new,5,-0.5\n", "3,2\ne,0,0,1\ne,0,1,2", "ew,2,-1.85 ew,5,-0.5"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        writeFile("config.txt", c.config);
        CaptureStderr err;
        std::unique_ptr<Graph> g;
        {
            CaptureStdout quiet;
            g = std::make_unique<Graph>(7, c.text);
        }
        EXPECT_EQ(err.text(), "Vertex ranking of sample did not settle; every vertex gets the same score. "
                              "Negative label weights of config.txt: " + c.weights + "\n")
            << c.what;
        EXPECT_EQ(g->u, std::vector<double>(3, 1.0 / 3)) << c.what;
        EXPECT_EQ(g->rank, std::vector<int>(3, 0)) << c.what;
        for (double value : {g->mean_u, g->std_u, g->maxi_u, g->hub[0], g->hub[1]})
            EXPECT_TRUE(std::isfinite(value)) << c.what;
    }
    // Negative weights alone do not stop a walk that settles.
    ScratchDir dir;
    writeFile("config.txt", "ew,2,-1\n");
    CaptureStderr err;
    CaptureStdout quiet;
    Graph settled(7, "2,2\ne,0,1,1\ne,0,1,2\ne,0,1,1");
    EXPECT_EQ(err.text(), "");
    EXPECT_NEAR(sum(settled.u), 1.0, TOLERANCE);
}

TEST(Ranking, EnsureRankingRunsOnceAndQuietly) {
    ScratchDir dir;
    ReadGraph r = readGraph(12, fixture("graph/model-basic.txt"));
    Graph& g = *r.graph;
    EXPECT_FALSE(g.hasRanking);
    EXPECT_FALSE(g.hasRelations);
    {
        CaptureStdout capture;
        g.ensureRanking();
        EXPECT_EQ(capture.text(), "");
    }
    EXPECT_TRUE(g.hasRanking);
    EXPECT_TRUE(g.hasRelations);
    ASSERT_EQ(g.u.size(), 13u);
    EXPECT_NEAR(sum(g.u), 1.0, TOLERANCE);
    EXPECT_GE(g.maxi_u, g.max_u);
    g.u[0] = 42;
    g.ensureRanking();
    EXPECT_EQ(g.u[0], 42);
}

// Vertex 5 with an edge 5 -> 7 holding digits 1 and 3 and an edge 2 -> 5
// holding 4: the ball of cover 1 is {2, 5, 7}, renumbered 0, 1, 2.
TEST(Ranking, LocalRankScoresTheNeighbourhood) {
    ScratchDir dir;
    std::vector<std::string> labels(8, "v");
    auto g = buildGraph(labels, {{5, 7, "1"}, {5, 7, "3"}, {2, 5, "4"}});
    CaptureStdout capture;
    double score = g->getLocalRank(5, 1);
    // In the text "3,3\ne,0,1,4\ne,1,2,1\ne,1,2,3" the walk gives vertex 1
    // c/3 + (1-c) c/3 before scaling.
    const double x0 = 0.05, x1 = 0.05 + 0.85 * x0, x2 = 0.05 + 0.85 * x1;
    EXPECT_NEAR(score, x1 / (x0 + x1 + x2), TOLERANCE);
    EXPECT_EQ(capture.text(), "\n ***___MiniGraph___*** : 5 \n\t2\t5\t7\n\n\n\n4\n\n\n5,1," + to_string(score) + "\n");

    CaptureStdout again;
    EXPECT_EQ(g->getLocalRank(5, 0), 1.0);
    EXPECT_EQ(g->getLocalRank(0, 2), 1.0);
    EXPECT_EQ(again.text(), "\n ***___MiniGraph___*** : 5 \n\t5\n5,1\n\n ***___MiniGraph___*** : 0 \n\t0\n0,1\n");
}

TEST(Ranking, MetricsFilesWriteZeroForAbsentScores) {
    ScratchDir dir;
    std::filesystem::create_directory("logs");
    auto g = buildGraph({"A", "B"}, {{0, 1, "1"}});
    g->name = "chain";
    g->nodeRank(0.15, 1e-8);
    g->printU();
    EXPECT_EQ(readFile("logs/chain_metrics.csv"), "0,A,0.350877,0,1,1,0,1\n1,B,0.649123,0,0,1,1,0\n");
    g->printU2();
    EXPECT_EQ(readFile("logs/chain_metrics.csv"), "0,A,0.350877,0,1,0,1\n1,B,0.649123,0,1,1,0\n");

    auto perDigit = buildGraph({"A", "B"}, {{0, 1, "1"}});
    perDigit->name = "digits";
    perDigit->nodeRank2(0.15, 1e-8);
    perDigit->printU2();
    EXPECT_EQ(readFile("logs/digits_metrics.csv"), "0,A,0,0.350877,1,0,1\n1,B,0,0.649123,1,1,0\n");
    perDigit->printU();
    EXPECT_EQ(readFile("logs/digits_metrics.csv"), "0,A,0,0,0,1,0,1\n1,B,0,0,0,1,1,0\n");

    std::filesystem::remove_all("logs");
    perDigit->printU();  // no directory: nothing written, nothing breaks
    EXPECT_FALSE(fileExists("logs/digits_metrics.csv"));
}

}  // namespace
}  // namespace graphmat::test
