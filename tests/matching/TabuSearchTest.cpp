// The Tabu search on real models: after every move the running cost equals a
// fresh whole-matching cost and the partner arrays stay inverse; the search
// stops as specified and restores its best matching.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "MatchFixture.h"
#include "graph/Random.h"
#include "matching/Cost.h"
#include "solvers/FastFind.h"
#include "matching/Match.h"
#include "reports/RunName.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::CaptureStderr;
using test::CaptureStdout;
using test::ScratchDir;

void expectInverse(const Match& m) {
    for (std::size_t i = 0; i < m.M12.size(); ++i) {
        int partner = m.M12[i];
        if (partner == -1) continue;
        Vertex* other = m.getVertex2(partner);
        ASSERT_NE(other, nullptr) << "graph-1 vertex " << i << " names no vertex";
        for (int member : *other->nodes) ASSERT_EQ(m.M21[member], m.blocks1[i]);
    }
    for (std::size_t j = 0; j < m.M21.size(); ++j) {
        int partner = m.M21[j];
        if (partner == -1) continue;
        Vertex* other = m.getVertex1(partner);
        ASSERT_NE(other, nullptr) << "graph-2 vertex " << j << " names no vertex";
        for (int member : *other->nodes) ASSERT_EQ(m.M12[member], m.blocks2[j]);
    }
}

struct ModelPair {
    std::string g1, g2;
    double start;       // start-solution mode
    int seed;
    bool knownByLabel;  // write a known matching that pairs equal labels
};

void PrintTo(const ModelPair& c, std::ostream* out) {
    *out << std::filesystem::path(c.g1).filename().string() << " and "
         << std::filesystem::path(c.g2).filename().string() << ", start mode " << c.start << ", seed " << c.seed
         << (c.knownByLabel ? ", known matching by label" : "");
}

// Writes the known-matching file of graph 1: each graph-1 vertex with the
// first graph-2 vertex of the same label (several graph-1 vertices may name
// the same one). Returns that matching.
std::vector<int> writeKnownByLabel(const Graph& a, const Graph& b) {
    std::map<std::string, int> byLabel;
    for (const auto& v : b.V) byLabel.emplace(v->label, v->number);
    std::vector<int> known(a.V.size(), -1);
    std::string body = "1\n2\n3\n4\n5\n6\n";
    for (const auto& v : a.V) {
        auto it = byLabel.find(v->label);
        if (it == byLabel.end()) continue;
        known[v->number] = it->second;
        body += std::to_string(v->number) + "," + std::to_string(it->second) + "\n";
    }
    std::filesystem::create_directories("datasets/random");
    test::writeFile("datasets/random/" + a.name.substr(0, a.name.size() - 1) + ".csv", body);
    return known;
}

// The known matching as the end of the search installs it: a graph-2 vertex
// already taken keeps its first partner.
std::vector<int> installed(const std::vector<int>& known, std::size_t order2) {
    std::vector<int> M12(known.size(), -1);
    std::vector<bool> taken(order2, false);
    for (std::size_t i = 0; i < known.size(); ++i)
        if (known[i] != -1 && !taken[known[i]]) {
            M12[i] = known[i];
            taken[known[i]] = true;
        }
    return M12;
}

class TabuSearch : public ::testing::TestWithParam<ModelPair> {};

TEST_P(TabuSearch, RunningCostAndPartnersStayExactAfterEveryMove) {
    const ModelPair& run = GetParam();
    ScratchDir dir;
    CaptureStdout quiet;
    CaptureStderr quietErrors;
    srand15(run.seed);
    Cost costs;
    costs.initMode1(1, 0.5, 1, 1, 0);
    Graph a(12, run.g1);
    Graph b(12, run.g2);
    std::vector<int> known(a.V.size(), -1);
    if (run.knownByLabel) known = writeKnownByLabel(a, b);
    Match match(&a, &b, &costs, run.seed, 3);
    int moves = 0;
    double lowest = 0;
    match.afterMove = [&] {
        ++moves;
        double fresh = match.cost(match.cost_mode);
        ASSERT_NEAR(match.currentCost, fresh, 1e-6 * std::max(1.0, std::fabs(fresh))) << "after move " << moves;
        expectInverse(match);
        if (moves == 1 || match.currentCost < lowest) lowest = match.currentCost;
        EXPECT_EQ(match.bestCost, std::min(lowest, match.initScore)) << "after move " << moves;
    };
    match.Tabu(run.start, 7, 80);
    EXPECT_EQ(match.iterations, moves);
    const bool seeded = run.start > 0 && run.start < 1;
    if (seeded)
        EXPECT_EQ(moves, 0) << "the seeded start is the result";
    else
        EXPECT_GT(moves, 0);
    if (run.start == 1) {
        // The best matching is restored and reported at its recomputed cost.
        EXPECT_EQ(match.M12, match.bestMatch);
        EXPECT_EQ(match.M21, match.bestMatch2);
        EXPECT_EQ(match.blocks1, match.bestBlock);
        EXPECT_EQ(match.blocks2, match.bestBlock2);
        EXPECT_LE(match.bestCost, match.initScore + 1e-6);
    } else {
        // Any other start mode reports the known matching, over singleton
        // memberships.
        EXPECT_EQ(match.M12, installed(known, b.V.size()));
        for (std::size_t i = 0; i < match.blocks1.size(); ++i) EXPECT_EQ(match.blocks1[i], static_cast<int>(i));
        for (std::size_t j = 0; j < match.blocks2.size(); ++j) EXPECT_EQ(match.blocks2[j], static_cast<int>(j));
        EXPECT_DOUBLE_EQ(match.bestCost, match.upperBound);
        // The count of known pairs was taken on the restored best matching.
        int good = 0;
        for (std::size_t i = 0; i < known.size(); ++i) good += match.bestMatch[i] == known[i];
        EXPECT_EQ(match.numberOfGoodMatchs, good);
    }
    if (seeded) {
        // No move: the start matching (the known pairs as seeds, completed
        // greedily) is what was restored.
        EXPECT_EQ(match.bestCost, match.upperBound);
        EXPECT_EQ(match.bestIterations, -1);
    }
    expectInverse(match);

    // The "ni" rows are the graph-2 vertices that the best matching leaves
    // free, whichever matching the partner arrays hold at the report.
    std::set<int> free2, inserted;
    for (std::size_t j = 0; j < match.bestMatch2.size(); ++j)
        if (match.bestMatch2[j] == -1) free2.insert(static_cast<int>(j));
    for (const std::string& line : test::lines(test::readFile("./results/" + runName(a, b, costs, run.seed) + ".csv")))
        if (line.rfind("ni,", 0) == 0) inserted.insert(std::stoi(line.substr(3)));
    EXPECT_EQ(inserted, free2);
}

const std::string kFramework1 = test::dataFile("junit-framework-3.8.2.txt");
const std::string kFramework2 = test::dataFile("junit-framework-4.13.2.txt");

INSTANTIATE_TEST_SUITE_P(
    Models, TabuSearch,
    ::testing::Values(ModelPair{test::exampleFile("shop-v1.txt"), test::exampleFile("shop-v2.txt"), 1, 3, false},
                      ModelPair{kFramework1, kFramework2, 1, 3, false},
                      ModelPair{kFramework1, kFramework2, 1, 11, false},
                      ModelPair{kFramework1, kFramework2, 1, 12345, false},
                      ModelPair{test::dataFile("junit-3.8.2.txt"), test::dataFile("junit-4.13.2.txt"), 1, 3, false},
                      ModelPair{test::dataFile("junit-extensions-3.8.2.txt"),
                                test::dataFile("junit-extensions-4.13.2.txt"), 4, 3, false},
                      ModelPair{kFramework1, kFramework2, 4, 7, true},
                      ModelPair{kFramework1, kFramework2, 2, 5, true},
                      ModelPair{kFramework1, kFramework2, 2, 6, false},
                      ModelPair{kFramework1, kFramework2, 0.5, 7, true},
                      ModelPair{kFramework1, kFramework2, 0.5, 8, false},
                      ModelPair{test::exampleFile("shop-v1.txt"), test::exampleFile("shop-v2.txt"), 3, 2, true},
                      ModelPair{test::exampleFile("shop-v1.txt"), test::exampleFile("shop-v2.txt"), 5, 4, true},
                      // The best matching holds a block when the known matching replaces it.
                      ModelPair{test::fixture("matching/split-a.txt"), test::fixture("matching/split-b.txt"), 4, 1,
                                true}),
    [](const ::testing::TestParamInfo<ModelPair>& info) {
        std::string name = std::filesystem::path(info.param.g1).stem().string() + "_mode" +
                           std::to_string(info.param.start) + "_seed" + std::to_string(info.param.seed);
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

// A graph of `order` isolated vertices with distinct names.
std::unique_ptr<Graph> isolatedVertices(int order, const std::string& prefix) {
    auto g = std::make_unique<Graph>();
    for (int i = 0; i < order; ++i) {
        g->V.push_back(std::make_unique<Vertex>());
        g->V.back()->setNumber(i);
        g->V.back()->label = prefix + std::to_string(i);
    }
    g->vertices = order;
    g->reinitEdges();
    g->fillNeighbors();
    return g;
}

TEST(TabuSearchStop, StagnationLengthFollowsTheLargerOrder) {
    // ceil(0.1 x larger order), at most 100, at least 10.
    const std::vector<std::pair<int, int>> cases = {{0, 10}, {95, 10}, {101, 11}, {1000, 100}, {1001, 100}};
    for (auto [order, expected] : cases) {
        ScratchDir dir;
        Cost costs;
        CaptureStdout capture;
        auto a = isolatedVertices(order, "v");
        auto b = isolatedVertices(1, "w");
        Match match(a.get(), b.get(), &costs, 1, 3);
        match.Tabu(1, 7, 80);
        std::string out = capture.text();
        EXPECT_NE(out.find("\n\n STAGNATION = " + std::to_string(expected) + "\n INIT "), std::string::npos)
            << "order " << order;
        EXPECT_EQ(match.stagnation_length, expected);
        EXPECT_EQ(match.iterations, 0) << "no candidate: the search ends at once";
    }
}


// ------------------------------------------------------------ end of the search

// A search on two model fixtures with the weights of the class-diagram runs;
// `setUp` runs after the graphs are read and before the matcher is built.
struct SearchRun {
    ScratchDir dir;
    Cost costs;
    std::unique_ptr<Graph> a, b;
    std::unique_ptr<Match> match;
    std::string out, err;

    SearchRun(const std::string& g1, const std::string& g2) {
        costs.initMode1(1, 0.5, 1, 1, 0);
        CaptureStdout quiet;
        a = std::make_unique<Graph>(12, g1);
        b = std::make_unique<Graph>(12, g2);
        match = std::make_unique<Match>(a.get(), b.get(), &costs, 1, 3);
    }
    void run(double mode, int seed = 1) {
        srand15(seed);
        CaptureStderr errors;
        CaptureStdout capture;
        match->Tabu(mode, 7, 80);
        out = capture.text();
        err = errors.text();
    }
};

using test::contains;

const std::string kTiny1 = test::fixture("e2e/tiny-1.txt");
const std::string kTiny2 = test::fixture("e2e/tiny-2.txt");

TEST(TabuSearchEnd, AFixedCellDrawnFirstIsCarriedOutAfterAWarning) {
    // app.A is pre-matched and fixed; B and C share no term slot, so the
    // fixed pair is the only candidate and the search must take it.
    SearchRun r(test::fixture("matching/fixed-a.txt"), test::fixture("matching/fixed-b.txt"));
    r.run(1);
    EXPECT_TRUE(contains(r.out, "\n\n NBMATCHES = 2\n"
                                "\n\n\n\t\t\t\t[[[[175 / 1[app.A] / 1[app.A] / 32767/0]]]]\n\n\n"
                                "175--> 1/>1 on 1< (1,1) = > [(1)app.A, app.A(1)] : 150(325) 0,"))
        << r.out;
    EXPECT_TRUE(contains(r.out, "s \n1\t\t\t FF Content : 0 / 9 -----  bestLayer : 3(0) secondBest : 3(0) Seuil : -500000 \n"
                                "END1. \n"))
        << r.out;
    const Match& m = *r.match;
    EXPECT_EQ(m.iterations, 1);
    EXPECT_EQ(m.bestIterations, -1);
    // The undone start pair is restored with the best (start) matching.
    EXPECT_EQ(m.M12, (std::vector<int>{0, 1, -1}));
    EXPECT_EQ(m.M21, (std::vector<int>{0, 1, -1}));
    EXPECT_TRUE(contains(r.out, "\n2\tSame Name : 0(0)\tOthers : 2(0)\n"));
    EXPECT_EQ(m.bestCost, 175);
    EXPECT_FALSE(m.M.find(1, 1)->fixed) << "the tenure of the move replaced the fixed mark";
}

TEST(TabuSearchEnd, TheKnownMatchingReplacesTheBestMatchingBeforeTheReport) {
    SearchRun r(kTiny1, kTiny2);
    std::filesystem::create_directories("datasets/random");
    // Vertex 4's known partner is taken by vertex 1 first: it is skipped.
    test::writeFile("datasets/random/tiny-.csv", "a\nb\nc\nd\ne\nf\n0,0\n1,1\n2,2\n3,3\n4,1\n");
    r.run(4);
    const Match& m = *r.match;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(m.kbt, (std::vector<int>{0, 1, 2, 3, 1}));
    // The search is the one of the default mode: its best matching pairs
    // vertices 0 to 3, which agree with the known matching.
    EXPECT_EQ(m.iterations, 3);
    EXPECT_EQ(m.bestMatch, (std::vector<int>{0, 1, 2, 3, -1}));
    EXPECT_EQ(m.numberOfGoodMatchs, 4);
    EXPECT_EQ(m.M12, (std::vector<int>{0, 1, 2, 3, -1}));
    EXPECT_EQ(m.M21, (std::vector<int>{0, 1, 2, 3, -1}));
    EXPECT_EQ(m.upperBound, 387.5);
    EXPECT_EQ(m.bestCost, 387.5);
    EXPECT_TRUE(contains(r.out, "\nMatch -- Cost=387.5**387.5(3) [785]\n"
                                "\t162.5\t212.5\t\t(4)300\t387.5___5_5\n"
                                "\n*****785*****\n"
                                "\n COMPUTE SIM: 0 / 4"))
        << r.out;
}

TEST(TabuSearchEnd, TheKnownMatchingIsInstalledOverSingletonMemberships) {
    // BigPart joins Big's partner in a block, which the best matching keeps.
    SearchRun r(test::fixture("matching/split-a.txt"), test::fixture("matching/split-b.txt"));
    std::filesystem::create_directories("datasets/random");
    test::writeFile("datasets/random/split-.csv", "a\nb\nc\nd\ne\nf\n0,0\n1,1\n2,2\n3,3\n4,4\n5,5\n");
    r.run(4);
    const Match& m = *r.match;
    EXPECT_TRUE(contains(r.out, "MERGE OCCURRED:5[app.Big] =====>> 7[_5_6__-big-part--]"));
    EXPECT_EQ(m.bestBlock2, (std::vector<int>{0, 1, 2, 3, 4, 7, 7}));
    EXPECT_EQ(m.bestMatch, (std::vector<int>{0, 1, 2, 3, 4, 7}));
    EXPECT_EQ(m.numberOfGoodMatchs, 5);
    EXPECT_EQ(m.M12, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(m.M21, (std::vector<int>{0, 1, 2, 3, 4, 5, -1}));
    EXPECT_EQ(m.blocks1, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(m.blocks2, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    // Big keeps no counterpart for its arcs to R and S (2 x 50); BigPart is
    // inserted (50) with its two arcs (2 x 37.5).
    EXPECT_EQ(m.upperBound, 225);
    EXPECT_EQ(m.bestCost, 225);
    EXPECT_TRUE(contains(r.out, "\n*****466*****\n")) << r.out;

    // The inserted rows follow the best matching, where BigPart is a member
    // of Big's partner block: none is listed, although the known matching
    // leaves BigPart without partner (BigPart's "ni" row with its cost 50
    // and its two arcs of 37.5 each would read "ni,6,app.BigPart,,,,,,0,,125,").
    EXPECT_EQ(m.bestMatch2, (std::vector<int>{0, 1, 2, 3, 4, 5, 5}));
    const std::string path = "./results/" + runName(*r.a, *r.b, r.costs, 1) + ".csv";
    const std::string result = test::readFile(path);
    EXPECT_TRUE(contains(result, "\nns,5,5,app.Big,app.Big,")) << result;
    EXPECT_FALSE(contains(result, "\nni,")) << result;
    const std::string summary = test::readFile(path + ".csv.csv.csv");
    const std::string emptyInserted = ",,*Inserted classes*\n,,*********************************** \n";
    EXPECT_EQ(summary.substr(summary.size() - std::min(summary.size(), emptyInserted.size())), emptyInserted);
}

// ------------------------------------------------------------ the loop

// Only a strictly lower cost resets the stagnation count; the search stops
// right after the move that brings it to the stagnation length, and that
// last iteration makes no update. In the third run a move of no cost change
// is planted right after the first improvement (its cell carries delta 0
// and the top gain): the cost then equals the best cost, which must count
// as stagnation.
TEST(TabuSearchLoop, StopsRightAfterTheStagnationLengthWithoutAFinalUpdate) {
    for (const auto& [seed, plant] : {std::pair<int, bool>{3, false}, {11, false}, {3, true}}) {
        SCOPED_TRACE(std::to_string(seed) + (plant ? " with a planted move" : ""));
        SearchRun r(test::dataFile("junit-framework-3.8.2.txt"), test::dataFile("junit-framework-4.13.2.txt"));
        Match& m = *r.match;
        int moves = 0, updates = 0, expected = 0, lastMoveUpdates = -1, equalMoves = 0;
        bool planted = false;
        double lowest = 0;
        m.afterMove = [&] {
            if (moves == 0) lowest = m.initScore;
            ++moves;
            if (m.currentCost < lowest) {
                lowest = m.currentCost;
                expected = 0;
            } else {
                equalMoves += m.currentCost == lowest;
                ++expected;
            }
            ASSERT_EQ(m.stagnation, expected) << "move " << moves;
            lastMoveUpdates = updates;
        };
        m.afterUpdate = [&] {
            ++updates;
            EXPECT_LT(m.stagnation, m.stagnation_length);
            if (!plant || planted || m.stagnation != 0) return;
            for (int x = 0; x < static_cast<int>(m.M12.size()) && !planted; ++x)
                for (int y : m.move.row(x)) {
                    cell* c = m.M.find(x, y);
                    if (!c || !m.ff->holds(c) || c->fixed) continue;
                    m.ff->remove(c);
                    c->delta = 0;
                    c->delta_m = 1e6;
                    m.ff->insert(c, false);
                    planted = true;
                    break;
                }
        };
        r.run(1, seed);
        ASSERT_GT(m.ff->nbCandidates, 0) << "the search must end by stagnation";
        EXPECT_EQ(m.stagnation, m.stagnation_length);
        EXPECT_EQ(moves, m.iterations);
        EXPECT_EQ(moves, m.bestIterations + 1 + m.stagnation_length) << "stopped right after the length";
        EXPECT_EQ(updates, moves - 1) << "every iteration but the last updates";
        EXPECT_EQ(lastMoveUpdates, updates) << "no update after the last move";
        EXPECT_EQ(planted, plant);
        EXPECT_EQ(equalMoves, plant ? 1 : 0);
    }
}

// A tenure started on a cell takes it out of the candidates until the
// update that empties its bucket of the ring: started with tenure 7 in the
// iteration that begins with 20 iterations, the cell is due at 27, filed in
// bucket 26, and filed again by the update of iteration 26 (run with 27
// iterations), not one iteration earlier.
TEST(TabuSearchLoop, APairIsACandidateAgainExactlyWhenItsTenureEnds) {
    SearchRun r(kTiny1, kTiny2);
    Match& m = *r.match;
    m.initType = 1;
    {
        CaptureStdout quiet;
        m.initGammaMatrix_v2(7, 80);
    }
    cell* c = nullptr;
    for (int x = 0; x < static_cast<int>(m.M12.size()) && !c; ++x)
        for (int y : m.move.row(x)) {
            cell* candidate = m.M.find(x, y);
            if (candidate && m.ff->holds(candidate) && !candidate->fixed) {
                c = candidate;
                break;
            }
        }
    ASSERT_NE(c, nullptr) << "no candidate to follow";
    const double delta = c->delta;
    m.ff->remove(c);
    m.iterations = 20;
    m.i_parser = 20;
    m.startTenure(*c, 7);
    EXPECT_EQ(c->tabu, 27);
    ASSERT_EQ(m.tabu_i[26].size(), 1u);
    EXPECT_EQ(m.tabu_i[26][0], c);

    // The end of each iteration as the search runs it, with no move: the
    // update of iteration k runs with k + 1 iterations, then the bucket is
    // emptied and the cursor moves on.
    for (int k = 20; k <= 26; ++k) {
        SCOPED_TRACE(k);
        EXPECT_FALSE(m.ff->holds(c));
        EXPECT_EQ(m.isValidMove(c->x, c->y), k >= 27);
        m.iterations = k + 1;
        m.updateDeltaMatrix();
        m.tabu_i[m.i_parser].clear();
        m.i_parser = (m.i_parser + 1) % TABU_MAX;
    }
    EXPECT_TRUE(m.ff->holds(c));
    EXPECT_EQ(c->delta, delta);
    EXPECT_TRUE(m.isValidMove(c->x, c->y));
    for (const auto& bucket : m.tabu_i) EXPECT_TRUE(bucket.empty());
}

// After every update of a seeded search: every filed cell is a valid move
// (so none is under tenure) whose delta is that of a fresh evaluation, and
// every valid move between relevant vertices (and live blocks) is filed
// unless its gain lies below the lowest layer.
TEST(TabuSearchLoop, AfterEveryUpdateTheCandidatesAreExactlyTheValidMoves) {
    SearchRun r(test::dataFile("junit-framework-3.8.2.txt"), test::dataFile("junit-framework-4.13.2.txt"));
    Match& m = *r.match;
    const int order1 = static_cast<int>(r.a->V.size()), order2 = static_cast<int>(r.b->V.size());
    int updates = 0;
    long checked = 0;
    m.afterUpdate = [&] {
        ++updates;
        std::vector<int> numbers1, numbers2;
        for (int i = 0; i < order1; ++i)
            if (m.isRelevant1(i)) numbers1.push_back(i);
        for (int j = 0; j < order2; ++j)
            if (m.isRelevant2(j)) numbers2.push_back(j);
        // Blocks are numbered from the order of their graph, in the order made.
        for (std::size_t k = 0; k < m.V1.size(); ++k) {
            const int x = order1 + static_cast<int>(k);
            if (m.blocks1[m.V1[k]->getFirstNode()] == x) numbers1.push_back(x);
        }
        for (std::size_t k = 0; k < m.V2.size(); ++k) {
            const int y = order2 + static_cast<int>(k);
            if (m.blocks2[m.V2[k]->getFirstNode()] == y) numbers2.push_back(y);
        }
        for (int x : numbers1)
            for (int y : numbers2) {
                const cell* c = m.M.find(x, y);
                const bool held = c && m.ff->holds(c);
                if (held && c->fixed) continue;  // a start pair, examined later
                if (!m.isValidMove(x, y)) {
                    ASSERT_FALSE(held) << "invalid (" << x << "," << y << ") filed after update " << updates;
                    continue;
                }
                ASSERT_NE(c, nullptr) << "valid (" << x << "," << y << ") without cell after update " << updates;
                const double fresh = m.computeDelta(m.cost_mode, m.getVertex1(x), m.getVertex2(y));
                ASSERT_EQ(c->delta, fresh) << "(" << x << "," << y << ") after update " << updates;
                ASSERT_EQ(held, m.ff->findLayer(c) >= 0)
                    << "valid (" << x << "," << y << ") missing after update " << updates;
                ++checked;
            }
    };
    r.run(1, 3);
    EXPECT_GT(updates, 5);
    EXPECT_GT(checked, 1000);
    EXPECT_FALSE(m.V1.empty() && m.V2.empty()) << "the run formed no block";
}

// Runs the tiny search with a cell planted in the candidate structure after
// its third move, once the structure is empty.
std::string plantAfterThirdMove(SearchRun& r, int x, int y, double gain) {
    Match& m = *r.match;
    int moves = 0;
    std::vector<int> before;
    m.afterMove = [&] {
        ++moves;
        if (moves == 4) {
            EXPECT_EQ(m.M12, before) << "the planted move changed nothing";
            EXPECT_EQ(m.currentCost, test::quietCost(m));
        }
        if (moves != 3) return;
        EXPECT_EQ(m.ff->nbCandidates, 0);
        before = m.M12;
        cell& c = m.ensureCell(x, y);
        c.delta = -gain;
        c.delta_m = gain;
        m.ff->insert(&c, false);
    };
    r.run(1);
    return r.out;
}

TEST(TabuSearchEnd, AChosenMoveThatFitsNoKindAddsNoCostChange) {
    SearchRun r(kTiny1, kTiny2);
    // app and Consumer are both matched elsewhere: no kind of move fits.
    std::string out = plantAfterThirdMove(r, 0, 1, -7);
    EXPECT_TRUE(contains(out, "\n ----------------------- NON-VALID --------------- \n"
                              "387.5--> 2/>2 on 5< (1,0) = > [(0)app, app.Consumer(1)] : 0(412.5) "))
        << out;
    // The search goes on from the unchanged state (the running cost is
    // checked against a fresh cost after the planted move).
    EXPECT_GT(r.match->iterations, 4);
    EXPECT_LE(r.match->bestCost, 387.5);
}

TEST(TabuSearchEnd, ACandidateThatFindCannotReturnEndsTheSearch) {
    SearchRun r(kTiny1, kTiny2);
    // A gain just below the floor of the single-precision comparison: the
    // cell is held, but never chosen.
    std::string out = plantAfterThirdMove(r, 0, 0, -500000.4);
    EXPECT_TRUE(contains(out, "\n[100,100] \t Layers : 4(2,1) Content : 1")) << out;
    EXPECT_TRUE(contains(out, "END1. \n"));
    EXPECT_EQ(r.match->iterations, 3);
    EXPECT_EQ(r.match->bestCost, 387.5);
}

}  // namespace
}  // namespace graphmat
