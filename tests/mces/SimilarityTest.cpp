// Similarity and discrimination: the similarity of each type, the damping
// of pairs with rivals, the degree factors, the smoothing levels, the
// neighbourhood similarity and the mutually best pairs.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "MCESTestSupport.h"

namespace graphmat {
namespace {

using test::buildMCES;
using test::CaptureStdout;
using test::ScratchDir;
using test::textGraph;

class Similarity : public ::testing::Test {
protected:
    ScratchDir dir;
};

TEST_F(Similarity, IsolatedPairWithEqualLabels) {
    auto a = textGraph("1,0\nc,0,A\n");
    auto b = textGraph("1,0\nc,0,A\n");
    const std::pair<int, float> cases[] = {{2, 0.0f}, {7, 0.0f}, {4, 1.0f}, {8, 1.0f}, {1, 0.0f}, {5, 0.0f}};
    for (const auto& [code, expected] : cases) {
        SCOPED_TRACE(code);
        auto built = buildMCES(2, code, a.get(), b.get(), 0.0f, 1, 0.0, false);
        EXPECT_EQ(built.m->simil(0, 0), expected);
    }
}

TEST_F(Similarity, BestSimilarityLine) {
    auto a = textGraph("1,0\nc,0,A\n");
    auto b = textGraph("1,0\nc,0,A\n");
    EXPECT_NE(buildMCES(2, 2, a.get(), b.get(), 0.0f, 1, 0.0, false).out.find("\n\n\n BESTSIM = 0\n\n\n"),
              std::string::npos);
    EXPECT_NE(buildMCES(2, 4, a.get(), b.get(), 0.0f, 1, 0.0, false).out.find("\n\n\n BESTSIM = 1\n\n\n"),
              std::string::npos);
}

TEST_F(Similarity, RankingSimilarity) {
    auto a = textGraph("2,0\n");
    auto b = textGraph("2,0\n");
    auto built = buildMCES(2, 0, a.get(), b.get(), 0.0f, 1, 0.0, false);
    a->u = {0.2, 0.0};
    b->u = {0.6, 0.0};
    for (int type : {3, -3}) {
        SCOPED_TRACE(type);
        CaptureStdout quiet;
        built.m->setSim(type);
        EXPECT_FLOAT_EQ(built.m->simil(0, 0), 0.5f);
        EXPECT_EQ(built.m->simil(1, 1), 0.0f);  // both rankings 0
        EXPECT_EQ(built.m->simil(0, 1), 0.0f);
    }
}

// Every type on one pair with chosen statistics: neighbours 1 + 1, arcs
// 2 + 2, so total1 = 2, total2 = 4, total = 8. Negative types scale by the
// statistic's share of its maximum.
TEST_F(Similarity, TypesAndTheirScaledVariants) {
    auto a = textGraph("1,0\n");
    auto b = textGraph("1,0\n");
    auto built = buildMCES(2, 0, a.get(), b.get(), 0.0f, 1, 0.0, false);
    MCES& m = *built.m;
    m.t1.neighbourCount[0] = m.t2.neighbourCount[0] = 1;
    m.t1.arcCount[0] = m.t2.arcCount[0] = 2;
    // The statistic each type selects is the pair's potential: HENodes 2,
    // OEdges 3, ONodes + OEdges 1 + 3, PEdges 1, PEdges2 2, PENodes 1,
    // PENodes2 2.
    m.maxHENodes = 4;
    m.maxOEdges = 6;
    m.maxONodes = 2;
    m.maxPEdges = 2;
    m.maxPEdges2 = 4;
    m.maxPENodes = 1;
    m.maxPENodes2 = 4;
    struct TypeCase {
        int type;
        int statistic;
        double expected;
    };
    const TypeCase cases[] = {
        {1, 2, 0.5}, {-1, 2, 0.25}, {9, 2, 0.5}, {-9, 2, 0.25}, {2, 3, 1.5}, {-2, 3, 0.75},
        {4, 4, 1.0}, {-4, 4, 0.5},  {5, 1, 1.0}, {-5, 1, 0.5},  {6, 2, 1.0}, {-6, 2, 0.5},
        {7, 1, 0.5}, {-7, 1, 0.5},  {8, 2, 0.5}, {-8, 2, 0.25},
    };
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(c.type);
        m.potential.set(0, 0, c.statistic);
        CaptureStdout quiet;
        m.setSim(c.type);
        EXPECT_FLOAT_EQ(m.simil(0, 0), static_cast<float>(c.expected));
    }
    // OEdges 3 with total2 8 and maximum 6: 0.75 x 0.5.
    m.potential.set(0, 0, 3);
    m.t1.arcCount[0] = m.t2.arcCount[0] = 4;
    {
        CaptureStdout quiet;
        m.setSim(-2);
    }
    EXPECT_FLOAT_EQ(m.simil(0, 0), 0.375f);
    // A maximum of 0 scales to 0, not to a number that is none.
    m.potential.set(0, 0, 0);
    m.maxOEdges = 0;
    {
        CaptureStdout quiet;
        m.setSim(-2);
    }
    EXPECT_EQ(m.simil(0, 0), 0.0f);
}

// A matcher on edgeless graphs whose similarities the test sets.
test::BuiltMCES blankMatcher(Graph* a, Graph* b) { return buildMCES(2, 0, a, b, 0.0f, 1, 0.0, false); }

void setRows(MCES& m, const std::vector<std::vector<float>>& rows) {
    for (int i = 0; i < static_cast<int>(rows.size()); ++i)
        for (int j = 0; j < static_cast<int>(rows[i].size()); ++j) m.simil(i, j) = rows[i][j];
}

std::string discriminate(MCES& m, int type, int level) {
    CaptureStdout capture;
    m.setDiscrim(type, level);
    return capture.text();
}

TEST_F(Similarity, RivalsDampAPair) {
    auto a = textGraph("2,0\n");
    auto b = textGraph("3,0\n");
    auto built = blankMatcher(a.get(), b.get());
    MCES& m = *built.m;
    setRows(m, {{0.9f, 0.2f, 0.1f}, {0.3f, 0.79f, 0.0f}});
    discriminate(m, 0, 0);
    EXPECT_EQ(m.simil(0, 0), 0.9f);  // no rival: a factor of 1

    setRows(m, {{0.9f, 0.85f, 0.1f}, {0.3f, 0.79f, 0.0f}});
    discriminate(m, 0, 0);
    EXPECT_EQ(m.simil(0, 0), 0.9f * 0.5f);  // one rival in its row

    setRows(m, {{0.9f, 0.2f, 0.1f}, {0.3f, 0.79f, 0.0f}});
    discriminate(m, 1, 0);
    EXPECT_EQ(m.simil(0, 0), 0.9f);  // no rival: the product is 0, the factor 1
}

// A graph text of n vertices with an arc from every third vertex to the
// next, so that the degrees differ.
std::string ringGraph(int n) {
    std::string arcs;
    int count = 0;
    for (int v = 0; v + 1 < n; v += 3, ++count) arcs += "e," + std::to_string(v) + "," + std::to_string(v + 1) + ",1\n";
    return std::to_string(n) + "," + std::to_string(count) + "\n" + arcs;
}

// The rival counts agree with a direct count, for every discrimination
// type, on values with many ties and near-ties at the 0.1 margin: a dense
// matrix (every row and column sorted), a mostly zero one (only the pairs
// that are not +0 are worked on; -0 counts as 0 and stays -0), and a dense
// block among zero rows and columns (sorted rows and columns beside rows and
// columns of mostly zeros).
TEST_F(Similarity, DiscriminationMatchesDirectCounts) {
    struct Case {
        const char* name;
        std::string graph1, graph2;
        float (*value)(std::mt19937& random, int i, int j);
    };
    const Case cases[] = {
        {"dense", "6,6\ne,0,1,1\ne,1,2,1\ne,2,0,2\ne,3,4,1\ne,4,3,1\ne,0,5,3\n",
         "7,5\ne,0,1,1\ne,1,2,1\ne,2,3,2\ne,5,6,1\ne,6,0,3\n",
         [](std::mt19937& random, int, int) { return static_cast<float>(random() % 21) * 0.05f; }},
        {"mostly zero", ringGraph(20), ringGraph(24),
         [](std::mt19937& random, int, int) {
             const unsigned r = random() % 40;
             return r == 0 ? -0.0f : r <= 2 ? static_cast<float>(random() % 21) * 0.05f : 0.0f;
         }},
        {"a dense block", ringGraph(20), ringGraph(24),
         [](std::mt19937& random, int i, int j) {
             if (i < 6 && j < 12) return static_cast<float>(random() % 21) * 0.05f;
             const unsigned r = random() % 30;
             return r == 0 ? 0.05f * static_cast<float>(1 + random() % 3) : r == 1 ? -0.0f : 0.0f;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto a = textGraph(c.graph1);
        auto b = textGraph(c.graph2);
        auto built = blankMatcher(a.get(), b.get());
        MCES& m = *built.m;
        const int n1 = m.N1(), n2 = m.N2();
        const double dm1 = static_cast<double>(a->edges) / n1, dm2 = static_cast<double>(b->edges) / n2;
        std::mt19937 random(17);
        for (int type = 0; type <= 9; ++type) {
            SCOPED_TRACE(type);
            std::vector<std::vector<float>> s(n1, std::vector<float>(n2));
            for (int i = 0; i < n1; ++i)
                for (int j = 0; j < n2; ++j) s[i][j] = c.value(random, i, j);
            setRows(m, s);
            discriminate(m, type, 0);
            for (int i = 0; i < n1; ++i) {
                for (int j = 0; j < n2; ++j) {
                    long r1 = 0, r2 = 0;
                    for (int l = 0; l < n2; ++l)
                        if (l != j && static_cast<double>(s[i][l]) >= s[i][j] - 0.1) ++r1;
                    for (int k = 0; k < n1; ++k)
                        if (k != i && static_cast<double>(s[k][j]) >= s[i][j] - 0.1) ++r2;
                    double base = 1;
                    if (type == 0 || type == 4) base = 1.0 / (r1 + r2 + 1);
                    if (type == 1 || type == 5) base = r1 * r2 == 0 ? 1.0 : 1.0 / (r1 * r2);
                    if (type == 2 || type == 6) base = 1 - static_cast<double>(r1 + r2) / (n1 + n2);
                    if (type == 3 || type == 7) base = 1 - static_cast<double>(r1 * r2) / (n1 * n2);
                    float expected = static_cast<float>(base);
                    const double d1 = a->V[i]->getNEdges(), d2 = b->V[j]->getNEdges();
                    if (type == 4 || type == 6 || type == 8) expected *= std::min(1.0, (d1 + d2) / (dm1 + dm2));
                    if (type == 5 || type == 7 || type == 9) expected *= std::min(1.0, (d1 * d2) / (dm1 * dm2));
                    const float want = s[i][j] * expected;
                    ASSERT_EQ(m.simil(i, j), want) << i << "," << j;
                    ASSERT_EQ(std::signbit(m.simil(i, j)), std::signbit(want)) << i << "," << j;
                }
            }
        }
    }
}

TEST_F(Similarity, MeanDegreeLines) {
    auto a = textGraph("4,2\ne,0,1,1\ne,1,2,1\n");
    auto b = textGraph("0,0\n");
    auto built = buildMCES(2, 20, a.get(), b.get(), 0.0f, 1, 0.0, false);
    EXPECT_NE(built.out.find("\n Deg Moy 1 : 0.5\n Deg Moy 2 : 0"), std::string::npos);
}

TEST_F(Similarity, BestPairs) {
    auto a = textGraph("2,0\n");
    auto b = textGraph("3,0\n");
    auto built = blankMatcher(a.get(), b.get());
    MCES& m = *built.m;
    setRows(m, {{0.8f, 0.8f, 0.1f}, {0.2f, 0.3f, 0.5f}});
    const std::string out = discriminate(m, 1, 0);
    ASSERT_NE(m.bestPairs, nullptr);
    ASSERT_EQ(m.bestPairs->size(), 2u);
    EXPECT_EQ((*m.bestPairs)[0].x1, 0u);
    EXPECT_EQ((*m.bestPairs)[0].x2, 0u);
    EXPECT_EQ((*m.bestPairs)[1].x2, 1u);
    EXPECT_FLOAT_EQ((*m.bestPairs)[1].val, 0.8);
    // (1,2) holds exactly 0.5, the maximum of its row and column: not a best pair.
    EXPECT_EQ(m.simil(1, 2), 0.5f);
    EXPECT_NE(out.find("\n\n\n BEST PAIRS : 1\t0.8\n\n\n"), std::string::npos);
}

// Without neighbours the neighbourhood similarity is 0, so a smoothing
// pass halves each similarity: before the damping (level 1), after it
// (level 2), or both (level 3).
TEST_F(Similarity, SmoothingLevels) {
    auto a = textGraph("1,0\n");
    auto b = textGraph("1,0\n");
    auto built = blankMatcher(a.get(), b.get());
    MCES& m = *built.m;
    const std::pair<int, float> cases[] = {{0, 0.8f}, {1, 0.4f}, {2, 0.4f}, {3, 0.2f}};
    for (const auto& [level, expected] : cases) {
        SCOPED_TRACE(level);
        m.simil(0, 0) = 0.8f;
        discriminate(m, 0, level);
        EXPECT_FLOAT_EQ(m.simil(0, 0), expected);
    }
}

TEST_F(Similarity, NeighbourhoodSimilarity) {
    // x = 0 of graph 1 has the neighbour 1 (0 -> 1 "1"); y = 0 of graph 2
    // has the neighbours 1 and 2 (0 -> 1 "1", 0 -> 2 "1"); vertex 1 of
    // graph 1 and vertex 3 of graph 2 are isolated.
    auto a = textGraph("2,1\ne,0,1,1\n");
    auto b = textGraph("4,2\ne,0,1,1\ne,0,2,1\n");
    auto built = blankMatcher(a.get(), b.get());
    MCES& m = *built.m;
    DenseMatrix<float> sim(2, 4, 1.0f);
    EXPECT_EQ(m.extendSim(sim, 0, 3), 0.0f);  // no neighbour on one side
    EXPECT_EQ(m.extendSim(sim, 0, 0), 1.0f);  // every cell costs 0
    // Edges absent on both sides agree: one cell of cost 1 - s.
    auto c = textGraph("2,1\ne,0,1,1\n");
    auto d = textGraph("2,1\ne,0,1,1\n");
    auto single = blankMatcher(c.get(), d.get());
    DenseMatrix<float> s(2, 2, 0.0f);
    s(1, 1) = 0.4f;
    EXPECT_FLOAT_EQ(single.m->extendSim(s, 0, 0), 0.4f);
    s(1, 1) = 0.0f;
    EXPECT_EQ(single.m->extendSim(s, 0, 0), 0.0f);  // every cell costs 1
}

}  // namespace
}  // namespace graphmat
