// Mutated graph copies: the weighted pick, each probability at 0 and at 1,
// the log of a mutation, the token mode on small graphs (it always ends),
// the node tables and the renumbered copy.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "generators/GraphMutation.h"
#include "graph/Graph.h"
#include "LogFields.h"
#include "graph/OutputFiles.h"
#include "graph/Random.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::CaptureStdout;
using test::readFile;
using test::ScratchDir;

// A scratch directory with the ./logs/ folder the statistics and the node
// tables write to.
struct LogsDir {
    ScratchDir dir;
    LogsDir() { std::filesystem::create_directory("logs"); }
};

// A small class-diagram-like graph: 6 vertices, digits 1..3, one double arc.
const char* const SMALL =
    "6,7\n0,A\n1,B\n2,C\n3,D\n4,E\n5,F\n"
    "0,1,1\n1,2,2\n2,0,3\n3,4,1\n4,5,2\n5,3,3\n0,3,1\n0,3,2\n";

std::unique_ptr<Graph> readGraph(const std::string& text) {
    test::writeFile("input.txt", text);
    CaptureStdout quiet;
    return std::make_unique<Graph>(0, "input.txt");
}

std::unique_ptr<GraphMutation> mutate(Graph& g, double del, double add, double noise, int mode = 1,
                                      unsigned seed = 1, std::string* out = nullptr) {
    srand15(seed);
    CaptureStdout capture;
    auto mutation = std::make_unique<GraphMutation>(&g, del, add, noise, mode);
    if (out) *out = capture.text();
    return mutation;
}

std::vector<std::string> fields(const std::string& line) { return test::logFields(line); }

std::map<std::string, int> kindCounts(const std::string& path) {
    std::map<std::string, int> counts;
    for (const std::string& line : test::lines(readFile(path)))
        if (!line.empty()) counts[fields(line)[0]] += 1;
    return counts;
}

TEST(WeightedPick, AZeroWeightNeverWinsAndASkippedCandidateDrawsNothing) {
    const double weights[4] = {0, 5, 0, 2};
    srand15(1);
    for (int t = 0; t < 2000; ++t) {
        const int pick = GraphMutation::weightedPick(weights, 0, 3);
        EXPECT_TRUE(pick == 1 || pick == 3);
    }
    // A draw of 0 comes up once in 32768 draws: search a state that gives it
    // first and check that candidate 0 (weight 0) still loses.
    for (std::uint32_t state = 0;; ++state) {
        setRandomState(state);
        if (rand15() != 0) continue;
        setRandomState(state);
        EXPECT_EQ(GraphMutation::weightedPick(weights, 0, 0), -1);
        break;
    }
    const double none[3] = {0, 0, 0};
    EXPECT_EQ(GraphMutation::weightedPick(none, 0, 2), -1);
    srand15(1);
    const long before = randomDraws();
    EXPECT_NE(GraphMutation::weightedPick(weights, 1, 3, 3), 3);
    EXPECT_EQ(randomDraws() - before, 2);  // candidates 1 and 2; 3 skipped without a draw
}

TEST(GraphMutation, AllProbabilitiesZeroCopiesTheGraph) {
    LogsDir scratch;
    auto g = readGraph(SMALL);
    for (unsigned seed : {1u, 2u, 3u}) {
        std::string out;
        auto m = mutate(*g, 0, 0, 0, 1, seed, &out);
        EXPECT_NE(out.find("trials = 0\n"), std::string::npos);
        EXPECT_EQ(m->deletedNodes + m->addedNodes + m->unChangedEdges, 0);
        ASSERT_EQ(m->_new->vertices, 6);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(m->new_numbers[i], i);
            EXPECT_EQ(m->_new->V[i]->label, g->V[i]->label);
        }
        ASSERT_EQ(m->_new->E.size(), g->E.size());
        for (const auto& e : g->E) {
            const Edge* copy = m->_new->getEdge(e->from, e->to);
            ASSERT_NE(copy, nullptr);
            EXPECT_EQ(copy->label, e->label);
        }
        ASSERT_TRUE(m->write(0, "log.txt"));
        EXPECT_EQ(kindCounts("log.txt"), (std::map<std::string, int>{{"nd", 1}, {"esi", 1}, {"i", 1}, {"n", 6}}));
    }
}

TEST(GraphMutation, DeletionAndAdditionAtOneTakeEveryVertex) {
    LogsDir scratch;
    auto g = readGraph(SMALL);
    std::string out;
    auto m = mutate(*g, 1, 1, 0, 1, 5, &out);
    EXPECT_EQ(m->deletedNodes, 6);
    EXPECT_EQ(m->addedNodes, 6);
    EXPECT_EQ(m->max_new_number, -1);
    ASSERT_EQ(m->_new->vertices, 6);
    for (const auto& v : m->_new->V) EXPECT_EQ(v->label, "add");
    ASSERT_TRUE(m->write(0, "log.txt"));
    const std::vector<std::string> rows = test::lines(readFile("log.txt"));
    EXPECT_EQ(rows[0], "nd,6");
    EXPECT_EQ(rows[2], "i,6");
    // Every old vertex line says -1 and lists its arcs right after it.
    EXPECT_EQ(rows[3], "n,0,-1,A");
    EXPECT_EQ(rows[4], "d,1,0,1");
    EXPECT_EQ(rows[5], "d,3,2,0");
    const auto counts = kindCounts("log.txt");
    EXPECT_EQ(counts.at("n"), 6);
    EXPECT_EQ(counts.at("d"), 2 * 7);  // every arc under both of its ends
}

TEST(GraphMutation, EdgeNoiseAtOneTouchesEveryPairAndChangesEveryArc) {
    LogsDir scratch;
    auto g = readGraph(SMALL);
    auto m = mutate(*g, 0, 0, 1, 1, 9);
    EXPECT_EQ(m->unChangedEdges, 0);
    ASSERT_TRUE(m->write(0, "log.txt"));
    std::map<std::pair<int, int>, std::vector<std::string>> modified;
    for (const std::string& line : test::lines(readFile("log.txt")))
        if (!line.empty() && fields(line)[0] == "m") modified[{std::stoi(fields(line)[3]), std::stoi(fields(line)[4])}] = fields(line);
    for (const auto& e : g->E) {
        const auto it = modified.find({e->from, e->to});
        ASSERT_NE(it, modified.end()) << e->from << "->" << e->to;
        EXPECT_EQ(it->second[1], e->label);
        const std::string& now = it->second[2];
        EXPECT_LE(now.size(), e->label.size());
        // No arc keeps its digit.
        for (std::size_t k = 0; k < now.size() && now.size() == e->label.size(); ++k)
            EXPECT_NE(now[k], e->label[k]);
        EXPECT_EQ(m->modifEdges[e->from][e->to], now.empty() ? "0" : now);
    }
    // The per-digit counts follow the new label texts.
    for (const auto& e : m->_new->E) {
        int digits = 0;
        for (int d = 0; d < MAX_LABELS; ++d) digits += e->labels[d];
        EXPECT_EQ(digits, static_cast<int>(e->label.size()));
    }
}

TEST(GraphMutation, TheStatisticsAreComputedWhenMissingAndTheLabelCountIsClamped) {
    LogsDir scratch;
    auto g = readGraph(SMALL);
    ASSERT_TRUE(g->label_distrib.empty());
    auto m = mutate(*g, 0, 0, 0);
    ASSERT_FALSE(g->label_distrib.empty());
    EXPECT_EQ(m->nbLabels, 3);
    EXPECT_DOUBLE_EQ(m->edgeLabelsWeights[1], 3);
    EXPECT_DOUBLE_EQ(m->multi_proba, 1.0 / 8.0);  // 1 multi-arc, 7 edges: a real ratio

    g->nb_labels = 14;
    std::string out;
    auto clamped = mutate(*g, 0, 0, 0, 1, 1, &out);
    EXPECT_EQ(clamped->nbLabels, 9);
    EXPECT_NE(out.find("Nb labels 14 above 9"), std::string::npos);
}

TEST(GraphMutation, AGraphWithoutVerticesIsRefused) {
    Graph empty;
    EXPECT_THROW(GraphMutation(&empty, 0.1, 0.1, 0.1), std::invalid_argument);
}

TEST(GraphMutation, AddedVerticesGainArcsAndTheLogReadsBack) {
    LogsDir scratch;
    auto g = readGraph(SMALL);
    auto m = mutate(*g, 0.3, 0.5, 0.2, 1, 21);
    m->_new->write(0, "mutated.txt");
    ASSERT_TRUE(m->write(0, "log.txt"));
    auto back = readGraph(readFile("mutated.txt"));
    ASSERT_EQ(back->vertices, m->_new->vertices);
    for (const std::string& line : test::lines(readFile("log.txt"))) {
        if (line.empty()) continue;
        const auto f = fields(line);
        if (f[0] == "n" && f[2] != "-1") {
            EXPECT_EQ(f[3], g->V[std::stoi(f[1])]->label);
            EXPECT_EQ(f[4], back->V[std::stoi(f[2])]->label);
        }
        if (f[0] == "a") {
            const Edge* e = back->getEdge(std::stoi(f[2]), std::stoi(f[3]));
            ASSERT_NE(e, nullptr) << line;
            EXPECT_EQ(e->label, f[1]);
        }
    }
}

// ------------------------------------------------------------- token mode

TEST(TokenMode, EndsWhenEveryVertexIsTreated) {
    LogsDir scratch;
    // A budget far larger than the vertices: deletions, merges and splits
    // run out of untreated vertices and the mode ends.
    auto g = readGraph("3,2\n0,x\n1,y\n2,z\n0,1,1\n1,2,1\n");
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        std::string out;
        auto m = mutate(*g, 5, 0.5, 0, 0, seed, &out);
        int treated = 0;
        for (int t : m->treated) treated += t == 1;
        EXPECT_TRUE(treated == 3 || m->nodeTokens <= 0);
        if (m->nodeTokens > 0) {
            EXPECT_NE(out.find("no untreated vertex left"), std::string::npos);
        }
        // Split copies are real vertices without gaps: survivors, then the
        // added vertices, the copy of a at S + splitted2[a] with a's label.
        const int S = m->max_new_number + 1;
        ASSERT_EQ(m->_new->vertices, S + m->addedNodes);
        for (int i = 0; i < m->_new->vertices; ++i) EXPECT_EQ(m->_new->V[i]->number, i);
        for (int a = 0; a < 3; ++a)
            if (m->splitted1[a] == a) {
                ASSERT_GE(m->splitted2[a], 0);
                EXPECT_EQ(m->_new->V[S + m->splitted2[a]]->label, g->V[a]->label);
            }
        EXPECT_EQ(m->deletedNodes, [&] {
            int d = 0;
            for (int x : m->deleted) d += x == 1;
            return d;
        }());
    }
}

TEST(TokenMode, ABudgetOfZeroRunsNoOperation) {
    LogsDir scratch;
    auto g = readGraph(SMALL);
    auto m = mutate(*g, 0, 0, 0, 0, 4);
    EXPECT_EQ(m->nodeTokens, 0);
    EXPECT_EQ(m->_new->vertices, 6);
    EXPECT_EQ(m->_new->E.size(), g->E.size());
}

TEST(TokenMode, AMergeMovesTheArcsAndFillsTheNodeTable) {
    LogsDir scratch;
    auto g = readGraph(SMALL);
    // Start from a mutation that changed nothing, then merge by hand.
    auto m = mutate(*g, 0, 0, 0);
    srand15(3);
    m->mergeNodes();
    int a = -1, b = -1;
    for (int i = 0; i < 6; ++i) {
        if (m->merged[i] == i) a = i;
        else if (m->merged[i] != -1) b = i;
    }
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    EXPECT_EQ(m->merged[b], a);
    EXPECT_EQ(m->deleted[b], 1);
    {
        CaptureStdout out;
        ASSERT_TRUE(m->printNodeTables());
        EXPECT_EQ(out.text(), "Added : 0\nDeleted : 1\nMerged : 1\nSplitted : 0\n");
    }
    const std::vector<std::string> rows = test::lines(readFile("logs/log_mutation.csv"));
    EXPECT_EQ(rows[b], std::to_string(b) + ";1;" + std::to_string(a) + ";-1;-1");
    EXPECT_EQ(rows[a], std::to_string(a) + ";-1;" + std::to_string(a) + ";-1;-1");

    // The renumbered graph carries b's arcs to a.
    auto merged = [&] {
        CaptureStdout quiet;
        return m->mutateNodes(0);  // the token mode; its budget of 0 runs no further operation
    }();
    EXPECT_EQ(merged->vertices, 5);
    const int na = m->new_numbers[a];
    int arcsOfA = 0;
    for (const auto& e : g->E)
        if (e->from == a || e->from == b || e->to == a || e->to == b) arcsOfA += 1;
    int seen = 0;
    for (const auto& e : merged->E)
        if (e->from == na || e->to == na) seen += static_cast<int>(e->label.size());
    EXPECT_GE(seen, 1);
    EXPECT_LE(seen, 2 * arcsOfA);
}

TEST(NodeTables, AfterAConstructorRunNothingIsMergedOrSplit) {
    LogsDir scratch;
    auto g = readGraph(SMALL);
    auto m = mutate(*g, 0.5, 0.5, 0.1, 1, 2);
    CaptureStdout out;
    ASSERT_TRUE(m->printNodeTables());
    const std::string text = out.text();
    EXPECT_NE(text.find("Merged : 0\nSplitted : 0\n"), std::string::npos);
    const std::vector<std::string> rows = test::lines(readFile("logs/log_mutation.csv"));
    for (int i = 0; i < 6; ++i) {
        const std::string tail = ";-1;-1;-1";
        ASSERT_GE(rows[i].size(), tail.size());
        EXPECT_EQ(rows[i].substr(rows[i].size() - tail.size()), tail);
    }
}

TEST(NodeTables, AMissingLogsFolderIsAFailure) {
    ScratchDir scratch;
    GraphMutation m;
    m.deleted = m.merged = m.splitted1 = m.splitted2 = {-1};
    test::CaptureStderr err;
    CaptureStdout quiet;
    resetOutputFailed();
    EXPECT_FALSE(m.printNodeTables());
    EXPECT_NE(err.text().find("logs/log_mutation.csv"), std::string::npos);
    resetOutputFailed();
}

TEST(Shuffle, RenumbersAndLabelsByOldNumber) {
    ScratchDir scratch;
    GraphMutation m;
    auto one = readGraph("1,0\n0,q\n");
    srand15(1);
    auto copy = m.shuffle(one.get());
    ASSERT_EQ(copy->vertices, 1);
    EXPECT_EQ(copy->V[0]->label, "0");

    auto g = readGraph(SMALL);
    g->E[2]->label.clear();  // an edge that lost its arcs is not copied
    srand15(8);
    CaptureStdout quiet;
    copy = m.shuffle(g.get());
    ASSERT_EQ(copy->vertices, 6);
    EXPECT_EQ(copy->E.size(), g->E.size() - 1);
    for (int p = 0; p < 6; ++p) {
        EXPECT_EQ(copy->V[p]->label, std::to_string(m.old_numbers[p]));
        EXPECT_EQ(m.new_numbers[m.old_numbers[p]], p);
    }
    for (const auto& e : g->E) {
        const Edge* moved = copy->getEdge(m.new_numbers[e->from], m.new_numbers[e->to]);
        if (e->label.empty()) {
            EXPECT_EQ(moved, nullptr);
        } else {
            ASSERT_NE(moved, nullptr);
            EXPECT_EQ(moved->label, e->label);
        }
    }
}

}  // namespace
}  // namespace graphmat
