// The single-assignment matcher: one assignment over the structural
// similarity of every vertex pair, in place of the search.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numeric>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "graph/Graph.h"
#include "matching/Cost.h"
#include "matching/Match.h"
#include "MatchFixture.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::CaptureStdout;
using test::ScratchDir;

// Two graphs read from texts in one reader mode (mode 7 takes the text
// itself, the others a file written into the scratch directory) and a
// matcher on them.
struct Rig {
    ScratchDir dir;
    Cost costs;
    std::unique_ptr<Graph> g1, g2;
    std::unique_ptr<Match> match;

    Rig(int mode, const std::string& text1, const std::string& text2) {
        costs.initMode1(1, 0.5, 1, 1, 0);
        CaptureStdout quiet;
        if (mode == 7) {
            g1 = std::make_unique<Graph>(7, text1);
            g2 = std::make_unique<Graph>(7, text2);
        } else {
            test::writeFile("one.txt", text1);
            test::writeFile("two.txt", text2);
            g1 = std::make_unique<Graph>(mode, "one.txt");
            g2 = std::make_unique<Graph>(mode, "two.txt");
        }
        match = std::make_unique<Match>(g1.get(), g2.get(), &costs, 1, 3);
    }

    // Runs the single assignment; returns what it printed.
    std::string run(const std::string& simPath = "similarities.csv", int sense = 1) {
        CaptureStdout capture;
        match->hungarian(simPath, sense);
        return capture.text();
    }
};

// The (graph-1 label, graph-2 label) pairs of the printed pair list, in
// printed order. The list follows the totals line.
std::vector<std::pair<std::string, std::string>> printedPairs(const std::string& out) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::size_t at = out.find('\n') + 1;
    while (at < out.size() && out[at] == '[') {
        const std::size_t comma = out.find(',', at), close = out.find("]\t", at);
        if (comma == std::string::npos || close == std::string::npos || comma > close) break;
        pairs.push_back({out.substr(at + 1, comma - at - 1), out.substr(comma + 1, close - comma - 1)});
        at = close + 2;
    }
    return pairs;
}

// M12 and M21 name each other wherever they name a partner.
void expectInverse(const Match& m) {
    for (std::size_t i = 0; i < m.M12.size(); ++i)
        if (m.M12[i] != -1) {
            ASSERT_GE(m.M12[i], 0);
            ASSERT_LT(m.M12[i], static_cast<int>(m.M21.size()));
            EXPECT_EQ(m.M21[m.M12[i]], static_cast<int>(i)) << "graph-1 vertex " << i;
        }
    for (std::size_t j = 0; j < m.M21.size(); ++j)
        if (m.M21[j] != -1) {
            ASSERT_GE(m.M21[j], 0);
            ASSERT_LT(m.M21[j], static_cast<int>(m.M12.size()));
            EXPECT_EQ(m.M12[m.M21[j]], static_cast<int>(j)) << "graph-2 vertex " << j;
        }
}

float stored(const Match& m, int i, int j) {
    const float* s = m._M.find(i, j);
    EXPECT_NE(s, nullptr) << i << "," << j;
    return s ? *s : -1;
}

// The best and the worst total similarity of a complete assignment of the
// smaller side, by trying every one (small graphs only).
std::pair<double, double> extremeTotals(const Match& m) {
    const int n1 = static_cast<int>(m.M12.size()), n2 = static_cast<int>(m.M21.size());
    const bool rowsFewer = n1 <= n2;
    std::vector<int> larger(std::max(n1, n2));
    std::iota(larger.begin(), larger.end(), 0);
    double best = -1, worst = 1e9;
    do {
        double total = 0;
        for (int k = 0; k < std::min(n1, n2); ++k)
            total += rowsFewer ? stored(m, k, larger[k]) : stored(m, larger[k], k);
        best = std::max(best, total);
        worst = std::min(worst, total);
    } while (std::next_permutation(larger.begin(), larger.end()));
    return {best, worst};
}

double assignedTotal(const Match& m) {
    double total = 0;
    for (std::size_t i = 0; i < m.M12.size(); ++i)
        if (m.M12[i] != -1) total += stored(m, static_cast<int>(i), m.M12[i]);
    return total;
}

TEST(SingleAssignment, TwoLoneVerticesAreAssignedWithHalfSimilarityInEveryReaderMode) {
    struct Case {
        int mode;
        std::string text1, text2;
    };
    // One vertex without arcs on each side: ranked, u = 1 and maxi_u = 1, so
    // the rank similarity is 1 and the degree similarity 0.
    const std::vector<Case> cases = {
        {12, "1,0\nc,0,Solo\n", "1,0\nc,0,Solo\n"},  // ranked by no reader
        {0, "1,0\n0,Solo\n", "1,0\n0,Solo\n"},       // ranked per label digit only
        {7, "1,0\nc,0,Solo", "1,0\nc,0,Solo"},       // ranked by its reader
    };
    for (const Case& c : cases) {
        Rig rig(c.mode, c.text1, c.text2);
        Match& m = *rig.match;
        const std::string out = rig.run();
        EXPECT_EQ(out.rfind("0.5\t0.5\n[Solo,Solo]\t", 0), 0u) << "mode " << c.mode << "\n" << out;
        EXPECT_EQ(stored(m, 0, 0), 0.5f);
        EXPECT_EQ(m.M12, std::vector<int>{0});
        EXPECT_EQ(m.M21, std::vector<int>{0});
        EXPECT_EQ(m.bestMatch, std::vector<int>{0});
        EXPECT_EQ(m.bestMatch2, std::vector<int>{0});
        EXPECT_TRUE(rig.g1->hasRanking);
        EXPECT_EQ(rig.g1->maxi_u, 1.0);
        EXPECT_EQ(m.iterations, 0);
        EXPECT_NE(out.find("\nMatch -- Cost="), std::string::npos);
    }
}

// Graph 1: a hub with three leaves; graph 2: a chain of four vertices (mode 7).
const std::string kStar = "4,3\nc,0,Hub\nc,1,L1\nc,2,L2\nc,3,L3\ne,0,1,1\ne,0,2,1\ne,0,3,1";
const std::string kChain = "4,3\nc,0,L1\nc,1,Hub\nc,2,L2\nc,3,L3\ne,0,1,1\ne,1,2,1\ne,2,3,1";

TEST(SingleAssignment, TheAssignmentMaximisesTheTotalSimilarity) {
    Rig rig(7, kStar, kChain);
    rig.run();
    const auto [best, worst] = extremeTotals(*rig.match);
    ASSERT_LT(worst + 1e-3, best) << "the direction must matter on this pair of graphs";
    EXPECT_NEAR(assignedTotal(*rig.match), best, 1e-5);
    expectInverse(*rig.match);
}

TEST(SingleAssignment, SenseZeroMinimisesTheSimilaritiesAsBuilt) {
    Rig rig(7, kStar, kChain);
    rig.run("similarities.csv", 0);
    const auto [best, worst] = extremeTotals(*rig.match);
    ASSERT_LT(worst + 1e-3, best);
    EXPECT_NEAR(assignedTotal(*rig.match), worst, 1e-5);
}

TEST(SingleAssignment, MoreGraph2VerticesAssignsEveryGraph1Vertex) {
    Rig rig(7, "3,2\nc,0,A\nc,1,B\nc,2,C\ne,0,1,1\ne,1,2,2",
            "6,5\nc,0,A\nc,1,B\nc,2,C\nc,3,D\nc,4,E\nc,5,F\ne,0,1,1\ne,1,2,2\ne,3,4,1\ne,4,5,3\ne,5,0,1");
    Match& m = *rig.match;
    ASSERT_EQ(m.M21, std::vector<int>(6, -1));  // no pre-matching in this mode
    const std::string out = rig.run();
    for (int i = 0; i < 3; ++i) EXPECT_NE(m.M12[i], -1) << i;
    EXPECT_EQ(std::count(m.M21.begin(), m.M21.end(), -1), 3);  // the surplus keeps -1
    expectInverse(m);
    EXPECT_EQ(m.bestMatch, m.M12);
    EXPECT_EQ(m.bestMatch2, m.M21);
    EXPECT_NEAR(assignedTotal(m), extremeTotals(m).first, 1e-5);

    // The printed list names the pairs in graph-1 vertex order.
    const auto pairs = printedPairs(out);
    ASSERT_EQ(pairs.size(), 3u) << out;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pairs[i].first, rig.g1->V[i]->label);
        EXPECT_EQ(pairs[i].second, rig.g2->V[m.M12[i]]->label);
    }
}

TEST(SingleAssignment, MoreGraph1VerticesLeavesTheSurplusUnassignedAndCountsIt) {
    // Vertices 3 and 4 of graph 1 are isolated.
    Rig rig(7, "5,2\nc,0,A\nc,1,B\nc,2,C\nc,3,D\nc,4,E\ne,0,1,1\ne,1,2,2", "3,2\nc,0,A\nc,1,B\nc,2,Z\ne,0,1,1\ne,1,2,2");
    Match& m = *rig.match;
    const std::string out = rig.run();
    const int assigned = static_cast<int>(std::count_if(m.M12.begin(), m.M12.end(), [](int p) { return p != -1; }));
    EXPECT_EQ(assigned, 3);
    EXPECT_EQ(std::count(m.M21.begin(), m.M21.end(), -1), 0);
    expectInverse(m);
    EXPECT_EQ(printedPairs(out).size(), 3u);
    EXPECT_NEAR(assignedTotal(m), extremeTotals(m).first, 1e-5);

    // The counters the reports read describe the resulting matching.
    int matchedIsolated = 0, unmatchedIsolated = 0;
    for (int i = 0; i < 5; ++i) {
        if (!rig.g1->V[i]->edges.empty()) continue;
        (m.M12[i] == -1 ? unmatchedIsolated : matchedIsolated)++;
    }
    EXPECT_EQ(matchedIsolated + unmatchedIsolated, 2);
    EXPECT_EQ(m.numberOfMatchs, 3);
    EXPECT_EQ(m.nb_matched, 3);
    EXPECT_EQ(m.nb_matched_isolated, matchedIsolated);
    EXPECT_EQ(m.nb_unmatched_isolated, unmatchedIsolated);
    const std::string header = "SameLabels:3(" + std::to_string(matchedIsolated) + ")/3(2) |V1|=5 |E1|=2 |V2|=3";
    EXPECT_NE(test::readFile("results/sample__sample__1__0.5__1__1__0__1.csv").find(header), std::string::npos)
        << header;
}

TEST(SingleAssignment, APreMatchingIsOverwrittenAndThePartnerArraysStayInverse) {
    // More graph-1 vertices, every one pre-matched crosswise: vertices that
    // lose their partner to the assignment are cleared on both sides.
    Rig rig(7, "4,3\nc,0,A\nc,1,B\nc,2,C\nc,3,D\ne,0,1,1\ne,1,2,1\ne,2,3,1",
            "3,2\nc,0,A\nc,1,B\nc,2,C\ne,0,1,1\ne,1,2,1");
    Match& m = *rig.match;
    m.M12 = {2, 1, 0, -1};
    m.M21 = {2, 1, 0};
    rig.run();
    expectInverse(m);
    EXPECT_EQ(std::count(m.M21.begin(), m.M21.end(), -1), 0);
    EXPECT_EQ(m.bestMatch, m.M12);
    EXPECT_EQ(m.bestMatch2, m.M21);
    EXPECT_EQ(m.numberOfMatchs, 3);
}

TEST(SingleAssignment, ThePairSimilarityFollowsTheFloatStepsOfTheCell) {
    test::MatchRig rig(test::exampleFile("shop-v1.txt"), test::exampleFile("shop-v2.txt"));
    Match& m = rig.m();
    std::string out;
    {
        CaptureStdout capture;
        m.hungarian("similarities.csv", 1);
        out = capture.text();
    }
    const Graph& g1 = *rig.g1;
    const Graph& g2 = *rig.g2;
    ASSERT_TRUE(g1.hasRanking);
    ASSERT_TRUE(g2.hasRanking);
    const int n1 = static_cast<int>(g1.V.size()), n2 = static_cast<int>(g2.V.size());
    int differing = 0;
    float min_w = 0;
    for (int i = 0; i < n1; ++i)
        for (int j = 0; j < n2; ++j) {
            const Vertex& a = *g1.V[i];
            const Vertex& b = *g2.V[j];
            const double in1 = a.in.size(), out1 = a.out.size(), in2 = b.in.size(), out2 = b.out.size();
            const double norm1 = std::sqrt(in1 * in1 + out1 * out1), norm2 = std::sqrt(in2 * in2 + out2 * out2);
            const double norm12 = std::sqrt((in1 - in2) * (in1 - in2) + (out1 - out2) * (out1 - out2));
            const double r = std::max(0.0, 1 - std::fabs(g1.u[i] / g1.maxi_u - g2.u[j] / g2.maxi_u));
            const double largest = std::max(norm1, norm2);
            const double d = largest == 0 ? 0 : std::max(0.0, 1 - norm12 / largest);
            // The cell is a float that takes r, then d (each a double), then
            // is halved.
            float cell = 0;
            cell += r;
            cell += d;
            cell /= 2;
            const float got = stored(m, i, j);
            EXPECT_EQ(std::memcmp(&got, &cell, sizeof(float)), 0) << i << "," << j << ": " << got << " " << cell;
            // Adding the two parts as floats would round twice.
            if ((static_cast<float>(r) + static_cast<float>(d)) / 2 != cell) ++differing;
            if (a.label == b.label) min_w += cell;
        }
    EXPECT_GT(differing, 0) << "the graphs should show the rounding of the steps";

    // The totals line: the similarities of the assigned pairs, then those of
    // every pair with equal labels, both summed as floats.
    float summatch = 0;
    for (int i = 0; i < n1; ++i)
        if (m.M12[i] != -1 && m.M12[i] < n2) summatch += stored(m, i, m.M12[i]);
    std::ostringstream line;
    line << summatch << "\t" << min_w << "\n";
    EXPECT_EQ(out.substr(0, line.str().size()), line.str());
    expectInverse(m);
    EXPECT_EQ(m.bestMatch, m.M12);
    EXPECT_EQ(m.bestMatch2, m.M21);
    EXPECT_EQ(m.M.count(), 0u) << "the delta matrix stays untouched";
}

TEST(SingleAssignment, TheSimilarityFileChangesNothing) {
    std::vector<std::string> outs;
    std::vector<std::vector<int>> matchings;
    std::vector<std::string> results;
    for (const std::string& simPath : {std::string("no/such/file.csv"), std::string("similarities.csv")}) {
        Rig rig(12, test::readFile(test::exampleFile("shop-v1.txt")), test::readFile(test::exampleFile("shop-v2.txt")));
        test::writeFile("similarities.csv", "0,0,1\n1,1,0.5\nnot a number\n");
        outs.push_back(rig.run(simPath));
        matchings.push_back(rig.match->M12);
        results.push_back(test::readFile("results/one__two__1__0.5__1__1__0__1.csv"));
    }
    EXPECT_EQ(outs[0], outs[1]);
    EXPECT_EQ(matchings[0], matchings[1]);
    EXPECT_FALSE(results[0].empty());
    EXPECT_EQ(results[0], results[1]);
}

}  // namespace
}  // namespace graphmat
