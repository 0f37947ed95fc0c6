// Start solutions: the known-matching file, the start matching of every
// start-solution mode, its counts, summary and first cost, and the first
// filling of the delta matrix with the fixed start pairs. The tiny models of
// tests/fixtures/e2e/ are worked by hand in tiny-run.md.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include "MatchFixture.h"
#include "graph/Random.h"
#include "solvers/FastFind.h"
#include "mces/MCES.h"

namespace graphmat {
namespace {

using test::CaptureStderr;
using test::CaptureStdout;
using test::MatchRig;

const std::string kTiny1 = test::fixture("e2e/tiny-1.txt");
const std::string kTiny2 = test::fixture("e2e/tiny-2.txt");
// "./datasets/random/" + graph-1 name without its last character + ".csv".
const std::string kTinyKnown = "datasets/random/tiny-.csv";
const std::string kKnownHeader = "n1,5\nn2,5\ne1,5\ne2,5\nmodel,tiny\nseed,1\n";
const std::vector<int> kTinyPreMatching{0, -1, 2, -1, -1};

void writeKnownMatching(const std::string& path, const std::string& body) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    test::writeFile(path, body);
}

// Runs the start solution of `mode` as the search would, returning what it
// printed.
std::string start(Match& m, double mode, int alg = 7, int discrim = 80) {
    m.initType = mode;
    m.iterations = 0;
    CaptureStdout capture;
    m.initGammaMatrix_v2(alg, discrim);
    return capture.text();
}

using test::contains;

// M12 and M21 name each other (plain vertices only: no start solution makes
// blocks).
void expectInverse(const Match& m) {
    for (std::size_t i = 0; i < m.M12.size(); ++i)
        if (m.M12[i] != -1) {
            ASSERT_EQ(m.M21.at(m.M12[i]), static_cast<int>(i)) << "graph-1 vertex " << i;
        }
    for (std::size_t j = 0; j < m.M21.size(); ++j)
        if (m.M21[j] != -1) {
            ASSERT_EQ(m.M12.at(m.M21[j]), static_cast<int>(j)) << "graph-2 vertex " << j;
        }
}

// The summary line of the start, recounted from the partner arrays.
std::string summaryLine(const Match& m) {
    int matched = 0, matchedIsolated = 0, unmatched = 0, unmatchedIsolated = 0;
    for (std::size_t i = 0; i < m.M12.size(); ++i) {
        const bool isolated = m.g1->V[i]->edges.empty();
        if (m.M12[i] != -1) {
            ++matched;
            matchedIsolated += isolated;
        } else {
            ++unmatched;
            unmatchedIsolated += isolated;
        }
    }
    std::ostringstream line;
    line << "\nMatched : " << matched << " Same Name : " << matched << "(" << matchedIsolated << ")\tOthers : "
         << unmatched << "(" << unmatchedIsolated << ") === " << m.currentCost << "\n";
    return line.str();
}

// ------------------------------------------------------------ default mode

TEST(StartSolution, DefaultModeStartsFromThePreMatchingAndFilesEveryValidMove) {
    MatchRig rig(kTiny1, kTiny2);
    Match& m = rig.m();
    CaptureStderr errors;
    std::string out = start(m, 1);
    EXPECT_EQ(errors.text(), "") << "no known-matching file is read";
    EXPECT_EQ(out,
              "\n INIT 5/5 \n\n Before Pairs \n Before TMP \n Count Matches \t ...Done\n"
              "\n Before Cost Computation\t150\t300\t\t(1)437.5\t587.5___5_5\n"
              "\n\n **********587.5(0)*************\n\n"
              "\n M1D Before Init \n\n\n Filter\t ...Done \n"
              "\n FIRST UPDATES"
              "\nMatched : 2 Same Name : 2(0)\tOthers : 3(0) === 587.5\n");
    EXPECT_TRUE(m.kbt.empty());
    EXPECT_EQ(m.M12, kTinyPreMatching);
    EXPECT_EQ(m.M21, kTinyPreMatching);
    EXPECT_EQ(m.bestMatch, m.M12);
    EXPECT_EQ(m.bestMatch2, m.M21);
    EXPECT_EQ(m.currentCost, 587.5);
    EXPECT_EQ(m.bestCost, 587.5);
    EXPECT_EQ(m.initScore, 587.5);
    EXPECT_EQ(m.numberOfMatchs, 2);
    EXPECT_EQ(m.nb_matched, 2);
    EXPECT_EQ(m.init_numberOfGoodMatchs, 0);
    EXPECT_EQ(m.nb_labels, 10);  // the smaller largest arc label (9) plus 1
    EXPECT_EQ(m.chosenCell->x, -1);
    EXPECT_EQ(m.chosenCell->y, -1);

    // Every allowed pair is a valid move here; the two start pairs cost more
    // undone, so they are fixed.
    struct Expected {
        int x, y;
        double delta;
        short layer;
        bool fixed;
    };
    const std::vector<Expected> cells{{0, 0, 150, 3, true},         {1, 1, -175, 0, false},
                                      {1, 2, 800.0 / 9 + 112.5, 3, false}, {2, 2, 112.5, 3, true},
                                      {3, 3, -25, 1, false},       {4, 4, 25, 2, false}};
    EXPECT_EQ(m.M.count(), static_cast<int>(cells.size()));
    EXPECT_EQ(m.ff->nbCandidates, static_cast<long>(cells.size()));
    for (const Expected& e : cells) {
        const cell* c = m.M.find(e.x, e.y);
        ASSERT_NE(c, nullptr) << e.x << "," << e.y;
        EXPECT_NEAR(c->delta, e.delta, 1e-4) << e.x << "," << e.y;
        EXPECT_EQ(c->delta_m, -c->delta);
        EXPECT_EQ(c->layer, e.layer) << e.x << "," << e.y;
        EXPECT_EQ(c->fixed, e.fixed) << e.x << "," << e.y;
        EXPECT_EQ(c->tabu, e.fixed ? FIXED_TABU : 0) << e.x << "," << e.y;
    }
}

// On real models and every start mode: a cell exists exactly for the valid
// moves between relevant vertices, each is filed, and it is fixed exactly
// when it undoes a start pair whose removal would raise the cost.
TEST(StartSolution, FixedPairsAreTheStartPairsWhoseRemovalRaisesTheCost) {
    struct Case {
        std::string g1, g2;
        double mode;
        std::string known;  // body of the known-matching file of tiny, if any
    };
    const std::string framework1 = test::dataFile("junit-framework-3.8.2.txt");
    const std::string framework2 = test::dataFile("junit-framework-4.13.2.txt");
    const std::vector<Case> cases{
        {framework1, framework2, 1, ""},  {framework1, framework2, 2, ""}, {framework1, framework2, 3, ""},
        {framework1, framework2, 5, ""},  {framework1, framework2, 0.5, ""},
        // Seeds Tax/Fee, a start pair that costs more than it saves.
        {kTiny1, kTiny2, 0.99, kKnownHeader + "1,1\n2,2\n3,3\n4,4\n"},
    };
    int fixedPairs = 0, ordinaryStartPairs = 0;
    for (const Case& run : cases) {
        const double mode = run.mode;
        MatchRig rig(run.g1, run.g2);
        if (!run.known.empty()) writeKnownMatching(kTinyKnown, run.known);
        Match& m = rig.m();
        CaptureStderr quiet;
        start(m, mode);
        expectInverse(m);
        long cells = 0;
        for (int i = 0; i < static_cast<int>(m.M12.size()); ++i)
            for (int j = 0; j < static_cast<int>(m.M21.size()); ++j) {
                const cell* c = m.M.find(i, j);
                // A fixed cell is tabu from now on, so only it fails the test
                // it passed when it was filed.
                const bool expected =
                    m.isRelevant1(i) && m.isRelevant2(j) && ((c && c->fixed) || m.isValidMove(i, j));
                ASSERT_EQ(c != nullptr, expected) << "mode " << mode << " pair " << i << "," << j;
                if (!c) continue;
                ++cells;
                const bool startPair = m.M12[i] == j && m.M21[j] == i;
                ASSERT_EQ(c->fixed, startPair && c->delta_m < 0) << "mode " << mode << " pair " << i << "," << j;
                ASSERT_EQ(c->tabu, c->fixed ? FIXED_TABU : 0);
                ASSERT_EQ(c->delta_m, -c->delta);
                ASSERT_GE(c->layer, 0) << "every valid move is filed";
                if (startPair) (c->fixed ? fixedPairs : ordinaryStartPairs)++;
            }
        EXPECT_EQ(m.ff->nbCandidates, cells) << "mode " << mode;
    }
    EXPECT_GT(fixedPairs, 0);
    EXPECT_GT(ordinaryStartPairs, 0) << "a start pair whose removal lowers the cost stays an ordinary candidate";
}

// ------------------------------------------------------------ known matching

TEST(StartSolution, ModesThatOnlyReadTheKnownMatching) {
    // Six lines skipped, then "x,y" lines; a later line for the same x wins;
    // lines that do not name two vertices are skipped.
    const std::string body = kKnownHeader +
                             "0,0\n1,1\n3,3\r\njunk,line\n9,1\n2,7\n-1,0\n4\n\n1,2,extra\n";
    for (double mode : {4.0, 1.5, 6.0, -1.0}) {
        MatchRig rig(kTiny1, kTiny2);
        writeKnownMatching(kTinyKnown, body);
        Match& m = rig.m();
        CaptureStderr errors;
        std::string out = start(m, mode);
        EXPECT_EQ(errors.text(), "") << "mode " << mode;
        EXPECT_TRUE(contains(out, "\n INIT 5/5 \n\n Before Pairs \n Before TMP \n./datasets/random/tiny-.csv"
                                  "\n MU ACQUIRED \n\n Count Matches "))
            << out;
        EXPECT_EQ(m.kbt, (std::vector<int>{0, 2, -1, 3, -1})) << "mode " << mode;
        EXPECT_EQ(m.M12, kTinyPreMatching) << "no start matching in mode " << mode;
        // Vertices 0 and 4 agree with the known matching (4 has no known
        // partner and stays unmatched).
        EXPECT_EQ(m.init_numberOfGoodMatchs, 2);
        EXPECT_TRUE(contains(out, "\n\n **********587.5(2)*************\n\n")) << out;
        EXPECT_FALSE(contains(out, "Optimum"));
    }
}

// A known-matching file that is missing, or a directory in its place, is
// named on standard error and reads as empty.
TEST(StartSolution, AMissingKnownMatchingFileIsNamedAndReadsAsEmpty) {
    for (const bool directory : {false, true}) {
        SCOPED_TRACE(directory ? "a directory in its place" : "missing");
        MatchRig rig(kTiny1, kTiny2);
        if (directory) std::filesystem::create_directories(kTinyKnown);
        Match& m = rig.m();
        CaptureStderr errors;
        std::string out = start(m, 4);
        EXPECT_EQ(errors.text(), std::string("Cannot read ./datasets/random/tiny-.csv: ") +
                                     (directory ? "Is a directory" : "No such file or directory") + "\n");
        EXPECT_TRUE(contains(out, "\n./datasets/random/tiny-.csv\n MU ACQUIRED \n"));
        EXPECT_EQ(m.kbt, std::vector<int>(5, -1));
        EXPECT_EQ(m.init_numberOfGoodMatchs, 3) << "the three free vertices agree with an empty known matching";
    }
}

TEST(StartSolution, DifferentlyLabelledKnownPairsAreDroppedOnlyWithAHighNodeError) {
    const std::string body = kKnownHeader + "0,0\n1,1\n2,2\n3,3\n4,4\n";
    // app/app and Order/Order keep their labels; Customer/Consumer, the moved
    // total and Tax/Fee do not.
    for (auto [nodeError, expected] : {std::make_pair(1000.0, std::vector<int>{0, -1, 2, -1, -1}),
                                       std::make_pair(999.0, std::vector<int>{0, 1, 2, 3, 4})}) {
        MatchRig rig(kTiny1, kTiny2);
        writeKnownMatching(kTinyKnown, body);
        rig.costs.initMode2(0, 0, nodeError);
        start(rig.m(), 4);
        EXPECT_EQ(rig.m().kbt, expected) << "node error " << nodeError;
    }
}

// ------------------------------------------------------------ start matchings

TEST(StartSolution, StructuralModesKeepThePartnerArraysInverse) {
    struct Case {
        std::string g1, g2;
    };
    const std::vector<Case> models{{kTiny1, kTiny2},
                                   {test::exampleFile("shop-v1.txt"), test::exampleFile("shop-v2.txt")},
                                   {test::dataFile("junit-framework-3.8.2.txt"),
                                    test::dataFile("junit-framework-4.13.2.txt")}};
    for (const Case& model : models)
        for (double mode : {2.0, 3.0, 5.0}) {
            MatchRig rig(model.g1, model.g2);
            Match& m = rig.m();
            CaptureStderr quiet;
            std::string out = start(m, mode);
            SCOPED_TRACE(model.g1 + " mode " + std::to_string(mode));
            expectInverse(m);
            EXPECT_TRUE(contains(out, summaryLine(m))) << out.substr(out.size() > 300 ? out.size() - 300 : 0);
            int matched = 0;
            for (int partner : m.M12) matched += partner != -1;
            EXPECT_EQ(m.numberOfMatchs, matched);
            EXPECT_EQ(m.nb_matched, matched);
            EXPECT_EQ(m.bestMatch, m.M12);
            EXPECT_EQ(m.bestMatch2, m.M21);
            EXPECT_EQ(m.bestCost, m.currentCost);
            EXPECT_EQ(m.currentCost, test::quietCost(m));
            // Every pair similarity counts as stored (modes 2 and 5 keep
            // none, since nothing after the start reads them).
            const int pairs = static_cast<int>(m.M12.size() * m.M21.size());
            EXPECT_EQ(m.similarityStoreCounts(), std::make_pair(static_cast<int>(m.M12.size()), pairs));
            EXPECT_EQ(m._M.count(), mode == 3.0 ? pairs : 0);
            EXPECT_EQ(contains(out, "\n RB MATCH MATRIX FILLED "), mode == 3.0);
            EXPECT_EQ(contains(out, "\n\n Optimum "), mode == 3.0);
            EXPECT_EQ(contains(out, "\n\n OPTIMUM: "), mode == 5.0);
        }
}

TEST(StartSolution, StructuralAssignmentWithAnotherErrorProductReadsTheStoredSimilarities) {
    // An error product other than 0 and 1 fills no matrix: the assignment
    // reads the pair similarities as stored, 0 for every pair here, and a
    // read stores the pair.
    MatchRig rig(kTiny1, kTiny2);
    rig.costs.initMode2(1, 2, 1);
    Match& m = rig.m();
    std::string out = start(m, 3);
    EXPECT_TRUE(contains(out, "\n RB MATCH MATRIX FILLED "));
    EXPECT_TRUE(contains(out, "\n\n Optimum "));
    EXPECT_EQ(m._M.count(), 25);
    EXPECT_EQ(m._M.rows(), 5);
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j) EXPECT_EQ(*m._M.find(i, j), 0.0f);
    expectInverse(m);
}

// Start mode 3 on Alpha -1-> Ab against Alpha -1,3-> Abcdef (no
// pre-matching), with an error product other than 0 and 1 so that the
// assignment reads pair similarities set by hand. Each vertex has one edge:
// deleting or inserting it costs 0.5; rows of graph 2 against deletion
// columns cost 0, every other extra cell 32767. The printed optimum sums
// the cells of the graph-1 rows.
TEST(StartSolution, StructuralAssignmentCellsAndOptimumWorkedByHand) {
    struct Case {
        const char* name;
        double strError, labError, nodeError;
        float s00, s01, s10, s11;
        std::vector<int> M12, M21;
        const char* optimum;
    };
    const Case cases[] = {
        // Crossed pairs: 0.1 + 0.2 against 0.9 + 0.8 on the diagonal, and 2
        // when everything is deleted and inserted.
        {"crossed", 1, 2, 1, 0.9f, 0.1f, 0.2f, 0.8f, {1, 0}, {1, 0}, "\n\n Optimum 0.3 -- "},
        // Differing labels cost the node error 1000: Alpha with Alpha
        // (0.25), Ab deleted (0.5) and Abcdef inserted (0.5, a graph-2 row).
        {"labels", 2, 1, 1000, 0.25f, 0.1f, 0.2f, 0.3f, {0, -1}, {0, -1}, "\n\n Optimum 0.75 -- "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MatchRig rig(test::fixture("matching/two-classes-a.txt"), test::fixture("matching/two-classes-b.txt"),
                     test::rootless());
        rig.costs.initMode2(c.strError, c.labError, c.nodeError);
        Match& m = rig.m();
        ASSERT_EQ(m.M12, (std::vector<int>{-1, -1}));
        m._M(0, 0) = c.s00;
        m._M(0, 1) = c.s01;
        m._M(1, 0) = c.s10;
        m._M(1, 1) = c.s11;
        CaptureStderr quiet;
        const std::string out = start(m, 3);
        EXPECT_EQ(m.M12, c.M12);
        EXPECT_EQ(m.M21, c.M21);
        EXPECT_TRUE(contains(out, c.optimum)) << out;
        EXPECT_EQ(*m._M.find(0, 0), c.s00) << "the stored similarities are read, not replaced";
    }
}

// Start mode 5 prices a differently labelled pair 10000: the assignment
// still takes Ab with Abcdef when nothing else is left, and the pair is kept
// only while the node error is below 1000.
TEST(StartSolution, SimilarityAssignmentKeepsAForcedPairOnlyBelowNodeError1000) {
    for (const double nodeError : {0.0, 999.0, 1000.0}) {
        SCOPED_TRACE(nodeError);
        MatchRig rig(test::fixture("matching/two-classes-a.txt"), test::fixture("matching/two-classes-b.txt"),
                     test::rootless());
        rig.costs.node_error = nodeError;
        Match& m = rig.m();
        CaptureStderr quiet;
        const std::string out = start(m, 5);
        const bool kept = nodeError < 1000;
        EXPECT_EQ(m.M12, (std::vector<int>{0, kept ? 1 : -1}));
        EXPECT_EQ(m.M21, (std::vector<int>{0, kept ? 1 : -1}));
        // Alpha with Alpha at 1 - similarity, Ab with Abcdef at 10000; the
        // similarity from the same matcher the start builds.
        std::unique_ptr<MCES> statistics;
        {
            CaptureStdout quiet2;
            statistics = std::make_unique<MCES>(7, 80, m.g1, m.g2, 0.0f, m.randomSeed, nodeError, false);
        }
        std::ostringstream optimum;
        optimum << "\n\n OPTIMUM: " << (1 - static_cast<double>(statistics->simil(0, 0))) + 10000.0 << "\n\n";
        EXPECT_TRUE(contains(out, optimum.str())) << out;
    }
}

TEST(StartSolution, GreedyModeTakesTheGreedyMatchingAndDropsPairsWithoutOverlap) {
    int dropped = 0;
    // Loner and LonerCopy share their first word and have no arcs: allowed,
    // but with neither a label nor a neighbourhood in common.
    const std::vector<std::pair<std::string, std::string>> models{
        {test::fixture("matching/loner-a.txt"), test::fixture("matching/loner-b.txt")},
        {test::dataFile("junit-framework-3.8.2.txt"), test::dataFile("junit-framework-4.13.2.txt")}};
    for (const auto& [g1, g2] : models) {
        MatchRig rig(g1, g2);
        Match& m = rig.m();
        const auto allowedBefore = test::allowedPairs(m);
        const std::uint32_t state = randomState();
        {
            CaptureStderr quiet;
            start(m, 2, 7, 80);
        }
        // The same matcher from the same draws.
        setRandomState(state);
        std::unique_ptr<MCES> greedy;
        {
            CaptureStdout quiet;
            greedy = std::make_unique<MCES>(7, 80, rig.g1.get(), rig.g2.get(), 0.0f, m.randomSeed, 0.0, true);
        }
        SCOPED_TRACE(g1);
        for (std::size_t i = 0; i < m.M12.size(); ++i) EXPECT_EQ(m.M12[i], greedy->M12[i]) << i;
        for (std::size_t j = 0; j < m.M21.size(); ++j) EXPECT_EQ(m.M21[j], greedy->M21[j]) << j;
        for (auto [i, j] : allowedBefore) {
            const bool overlap = greedy->overlaps(i, j);
            EXPECT_EQ(m.movable(i, j), overlap) << i << "," << j;
            dropped += !overlap;
        }
        // Nothing after the start reads the similarities: _M keeps none,
        // and the memory line counts them all.
        EXPECT_TRUE(m.similaritiesUnstored);
        EXPECT_EQ(m._M.count(), 0);
    }
    EXPECT_GT(dropped, 0);
}

TEST(StartSolution, AnAssignmentThatMovesAPreMatchedVertexClearsItsFormerPartner) {
    // Graph 2 holds two classes app.A; the contained one is pre-matched with
    // graph 1's A, the other shares A's relations, and the similarity
    // assignment takes it.
    MatchRig rig(test::fixture("matching/twin-a.txt"), test::fixture("matching/twin-b.txt"));
    Match& m = rig.m();
    ASSERT_EQ(m.M12, (std::vector<int>{0, 1, -1}));
    CaptureStderr quiet;
    start(m, 5);
    EXPECT_EQ(m.M12, (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(m.M21, (std::vector<int>{0, -1, 1, 2}));
    expectInverse(m);
}

// ------------------------------------------------------------ seeded mode

// The seed lines that selection sampling prints for the given draws.
std::string seedLines(const std::vector<int>& kbt, double t, std::uint32_t state, std::vector<int>* seeds) {
    const int n = static_cast<int>(kbt.size());
    int wanted = static_cast<int>(t * n);
    std::string lines;
    int k = 0;
    setRandomState(state);
    seeds->assign(n, -1);
    for (int i = 0; i < n; ++i) {
        double a = rand15() / 32767.0;  // one draw per graph-1 vertex
        double p = kbt[i] == -1 ? 0.0 : static_cast<double>(wanted) / (n - i);
        if (a > p) continue;
        --wanted;
        (*seeds)[i] = kbt[i];
        lines += "\n" + std::to_string(k++) + "\t" + std::to_string(i) + "=" + std::to_string(kbt[i]);
    }
    return lines;
}

TEST(StartSolution, SeededModeSamplesTheKnownPairsAndCompletesThemGreedily) {
    struct Case {
        double t;
        std::string body;
        std::vector<int> kbt;
        unsigned seed;
    };
    const std::vector<Case> cases{
        // Every known pair from vertex 1 on is forced (wanted = vertices left).
        {0.99, kKnownHeader + "1,1\n2,2\n3,3\n4,4\n", {-1, 1, 2, 3, 4}, 1},
        // Half of the known pairs, by the draws.
        {0.5, kKnownHeader + "0,0\n1,1\n2,2\n3,3\n4,4\n", {0, 1, 2, 3, 4}, 5},
        {0.5, kKnownHeader + "0,0\n1,1\n2,2\n3,3\n4,4\n", {0, 1, 2, 3, 4}, 8},
        // t x |V1| below 1: no known pair survives.
        {0.1, kKnownHeader + "0,0\n1,1\n2,2\n3,3\n4,4\n", {0, 1, 2, 3, 4}, 3},
        // No known matching at all.
        {0.5, "", {-1, -1, -1, -1, -1}, 2},
    };
    for (const Case& c : cases) {
        MatchRig rig(kTiny1, kTiny2);
        if (!c.body.empty()) writeKnownMatching(kTinyKnown, c.body);
        Match& m = rig.m();
        srand15(c.seed);
        const std::uint32_t state = randomState();
        CaptureStderr quiet;
        std::string out = start(m, c.t);
        SCOPED_TRACE("t " + std::to_string(c.t) + " seed " + std::to_string(c.seed));
        ASSERT_EQ(m.kbt, c.kbt);
        std::vector<int> seeds;
        const std::string lines = seedLines(c.kbt, c.t, state, &seeds);
        EXPECT_TRUE(contains(out, "\n MU ACQUIRED \n" + lines + "\n")) << out.substr(0, 400);
        if (c.t == 0.99) {
            EXPECT_EQ(lines, "\n0\t1=1\n1\t2=2\n2\t3=3\n3\t4=4");
        }
        if (c.t == 0.1 || c.body.empty()) {
            EXPECT_EQ(lines, "");
        }
        int seedCount = 0;
        for (std::size_t i = 0; i < seeds.size(); ++i)
            if (seeds[i] != -1) {
                ++seedCount;
                EXPECT_EQ(m.M12[i], seeds[i]) << "seed of vertex " << i;
            }
        // The greedy matcher goes on from the seeds.
        EXPECT_GT(m.numberOfMatchs, seedCount);
        expectInverse(m);
        EXPECT_TRUE(contains(out, summaryLine(m)));
        EXPECT_EQ(m._M.count(), 0) << "the seeded mode leaves the pair similarities alone";
    }
}

}  // namespace
}  // namespace graphmat
