// The graph: construction, "config.txt", arcs, lookups, neighbour sets,
// relation tables, removal of the edges and the plain graph file writer.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "graph/Graph.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::CaptureStderr;
using test::CaptureStdout;
using test::ScratchDir;

// A graph built the way its users build one: vertices numbered by their
// position, the count set, then reinitEdges.
std::unique_ptr<Graph> graphOf(const std::vector<std::string>& labels) {
    auto g = std::make_unique<Graph>();
    for (std::size_t i = 0; i < labels.size(); ++i) {
        auto v = std::make_unique<Vertex>();
        v->setNumber(static_cast<int>(i));
        v->label = labels[i];
        g->V.push_back(std::move(v));
    }
    g->vertices = static_cast<int>(g->V.size());
    g->reinitEdges();
    return g;
}

std::unique_ptr<Edge> arc(int from, int to, const std::string& label) {
    return std::make_unique<Edge>(from, to, label);
}

// Inserts an arc and returns what it printed.
std::string insert(Graph& g, int from, int to, const std::string& label) {
    CaptureStdout capture;
    g.insertEdge(arc(from, to, label));
    return capture.text();
}

int countSum(const Edge& e) {
    int sum = 0;
    for (int d = 0; d < MAX_LABELS; ++d) sum += e.labels[d];
    return sum;
}

void expectStartValues(const Graph& g) {
    EXPECT_EQ(g.vertices, 0);
    EXPECT_EQ(g.edges, 0);
    EXPECT_EQ(g.nbClasses, 0);
    EXPECT_EQ(g.nbPackages, 0);
    EXPECT_EQ(g.nbAttributes, 0);
    EXPECT_EQ(g.nbMethods, 0);
    EXPECT_TRUE(g.V.empty());
    EXPECT_TRUE(g.E.empty());
    EXPECT_TRUE(g.nodeNumbers.empty());
    EXPECT_EQ(g.root, -1);
    EXPECT_EQ(g.nb_labels, 1);
    EXPECT_EQ(g.loops, 0);
    EXPECT_EQ(g.multi_arcs, 0);
    EXPECT_EQ(g.nbNodeLabels, 0);
    EXPECT_EQ(g.max_in_distrib, 0);
    EXPECT_EQ(g.max_out_distrib, 0);
    EXPECT_EQ(g.max_all_distrib, 0);
    EXPECT_EQ(g.max_multi, 0);
    EXPECT_EQ(g.min_in_distrib, MAX_DEGREE);
    EXPECT_EQ(g.min_out_distrib, MAX_DEGREE);
    EXPECT_EQ(g.min_all_distrib, MAX_DEGREE);
    EXPECT_EQ(g.min_multi, MAX_MULTI);
    for (double x : {g.mean_in_distrib, g.mean_out_distrib, g.mean_all_distrib, g.mean_multi_distrib,
                     g.mean_label_distrib, g.std_in_distrib, g.std_out_distrib, g.std_all_distrib,
                     g.std_label_distrib, g.std_multi_distrib})
        EXPECT_EQ(x, 0.0);
    EXPECT_EQ(g.G.rows(), 0);
    EXPECT_EQ(g.classes, nullptr);
    EXPECT_TRUE(g.c_in.empty());
    EXPECT_TRUE(g.relations.empty());
}

// ------------------------------------------------------------ construction

TEST(Graph, AnEmptyGraphReadsNothingAndPrintsNothing) {
    ScratchDir dir;
    test::writeFile("config.txt", "ew,1,5\n");
    CaptureStdout capture;
    Graph g;
    EXPECT_EQ(capture.text(), "");
    expectStartValues(g);
    EXPECT_EQ(g.name, "");
    for (int d = 0; d < MAX_LABELS; ++d) EXPECT_EQ(g.edge_weight[d], 1.0) << d;
}

TEST(Graph, AGraphFileThatDoesNotOpenLeavesTheGraphEmpty) {
    ScratchDir dir;
    std::filesystem::create_directory("graphs");
    for (const std::string path : {"missing.csv", "graphs"}) {
        CaptureStdout capture;
        Graph g(12, path);
        EXPECT_EQ(capture.text(), "File " + path + " ...Not Found \n");
        expectStartValues(g);
        EXPECT_EQ(g.name, "");
        EXPECT_TRUE(g.neighbors.empty());
    }
}

TEST(Graph, AModeWithoutReaderOpensTheFileAndReadsNothing) {
    ScratchDir dir;
    test::writeFile("model.csv", "0,A\n1,B\n0,1,1\n");
    for (int mode : {5, 99, -1}) {
        CaptureStdout capture;
        Graph g(mode, "model.csv");
        EXPECT_EQ(capture.text(), "File model.csv ...Found \nMode " + to_string(mode) +
                                      "\n\n Acquisition Input Done\n Fill Neighbors");
        expectStartValues(g);
        EXPECT_EQ(g.name, "model");
        EXPECT_TRUE(g.neighbors.empty());
    }
}

TEST(Graph, TheNameIsThePathWithoutDirectoriesAndExtension) {
    ScratchDir dir;
    struct Case {
        std::string path, name;
    };
    const std::vector<Case> cases = {
        {"graphs/rel1.2/model.csv", "model"},
        {"model", "model"},
        {"a.b/c", "c"},
        {"dir/archive.tar.csv", "archive.tar"},
        {"dir\\sub\\x.csv", "dir\\sub\\x"},
        {"./local.txt", "local"},
    };
    for (const Case& c : cases) {
        std::filesystem::path p(c.path);
        if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
        test::writeFile(c.path, "");
        CaptureStdout capture;
        Graph g(99, c.path);
        EXPECT_EQ(g.name, c.name) << c.path;
        EXPECT_EQ(capture.text().rfind("File " + c.path + " ...Found \n", 0), 0u) << c.path;
    }
}

TEST(Graph, ConfigurationSetsTheLabelWeights) {
    struct Case {
        std::string config;
        std::vector<std::pair<int, double>> weights;  // slots that change; others stay 1
    };
    const std::vector<Case> cases = {
        {"ew,1,2.5\new,9,0.5\n", {{1, 2.5}, {9, 0.5}}},
        {"ew,3\n", {}},
        {"ew,x,2\n", {}},
        {"ew,3,2,7\n", {{3, 2.0}}},
        {" ew,3,2\n", {}},
        {"EW,3,2\n", {}},
        {"ew;3;2\n", {}},
        {"ew,3,2\new,3,4\n", {{3, 4.0}}},
        {"ew,10,2\new,-1,2\n", {}},
        {"ew,3,abc\new,4,\new,5,1e999\n", {}},
        {"ew,0,0.25\r\nother line\r\n", {{0, 0.25}}},
        {"# weights\n\new,5,3\nc,1,2\n", {{5, 3.0}}},
        {"ew, 2, 7\n", {{2, 7.0}}},
        {"ew,6,0\new,7,-2\n", {{6, 0.0}, {7, -2.0}}},
        {"ew,8,3xyz", {{8, 3.0}}},
        {"", {}},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        test::writeFile("config.txt", c.config);
        test::writeFile("g.csv", "");
        CaptureStdout capture;
        Graph g(99, "g.csv");
        double expected[MAX_LABELS] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
        for (const auto& w : c.weights) expected[w.first] = w.second;
        for (int d = 0; d < MAX_LABELS; ++d) EXPECT_EQ(g.edge_weight[d], expected[d]) << "'" << c.config << "' digit " << d;
    }
}

TEST(Graph, ConfigurationIsReadEvenWhenTheGraphFileIsMissing) {
    ScratchDir dir;
    test::writeFile("config.txt", "ew,4,3.5\n");
    CaptureStdout capture;
    Graph g(12, "missing.csv");
    EXPECT_EQ(g.edge_weight[4], 3.5);
    EXPECT_EQ(g.edge_weight[3], 1.0);
}

TEST(Graph, WithoutConfigurationEveryLabelWeightIsOne) {
    ScratchDir dir;
    test::writeFile("g.csv", "");
    CaptureStdout capture;
    Graph g(99, "g.csv");
    for (int d = 0; d < MAX_LABELS; ++d) EXPECT_EQ(g.edge_weight[d], 1.0);
}

// ------------------------------------------------------------- insertEdge

TEST(InsertEdge, ANewArcBecomesAnEdgeOfTheGraph) {
    auto g = graphOf({"A", "B", "C"});
    g->edge_weight[4] = 2.5;
    EXPECT_EQ(insert(*g, 0, 2, "4"), "");
    ASSERT_EQ(g->E.size(), 1u);
    Edge* e = g->E[0].get();
    EXPECT_EQ(g->getEdge(0, 2), e);
    EXPECT_EQ(g->getEdge(2, 0), nullptr);
    EXPECT_EQ(e->label, "4");
    EXPECT_EQ(e->labels[4], 1);
    EXPECT_EQ(countSum(*e), 1);
    EXPECT_EQ(e->label_weight, 2.5f);
    EXPECT_EQ(g->V[0]->out, std::vector<Edge*>{e});
    EXPECT_EQ(g->V[0]->edges, std::vector<Edge*>{e});
    EXPECT_TRUE(g->V[0]->in.empty());
    EXPECT_EQ(g->V[2]->in, std::vector<Edge*>{e});
    EXPECT_EQ(g->V[2]->edges, std::vector<Edge*>{e});
    EXPECT_TRUE(g->V[2]->out.empty());
    EXPECT_TRUE(g->V[1]->edges.empty());
    EXPECT_EQ(g->V[0]->sum_out, 2.5f);
    EXPECT_EQ(g->V[0]->nb_out, 1);
    EXPECT_EQ(g->V[2]->nb_in, 1);
    EXPECT_EQ(g->V[0]->nb_in, 0);
    EXPECT_EQ(g->nb_labels, 4);
    EXPECT_EQ(g->G.count(), 1);
}

TEST(InsertEdge, AParallelArcIsFoldedIntoTheExistingEdge) {
    auto g = graphOf({"v0", "v1", "v2"});
    g->edge_weight[1] = 2.5;
    g->edge_weight[3] = 0.5;
    insert(*g, 1, 2, "1");
    insert(*g, 1, 2, "3");
    ASSERT_EQ(g->E.size(), 1u);
    Edge* e = g->getEdge(1, 2);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->label, "13");
    EXPECT_EQ(e->labels[1], 1);
    EXPECT_EQ(e->labels[3], 1);
    EXPECT_EQ(countSum(*e), 2);
    EXPECT_EQ(e->label_weight, 3.0f);
    EXPECT_EQ(g->V[1]->nb_out, 2);
    EXPECT_EQ(g->V[1]->out.size(), 1u);
    EXPECT_EQ(g->V[1]->edges.size(), 1u);
    EXPECT_EQ(g->V[2]->nb_in, 2);
    EXPECT_EQ(g->V[2]->in.size(), 1u);
    EXPECT_EQ(g->V[1]->sum_out, 3.0f);
    EXPECT_EQ(g->nb_labels, 3);
    EXPECT_EQ(g->max_multi, 2);
    EXPECT_EQ(g->min_multi, 1);
    EXPECT_EQ(g->G.count(), 1);

    // The opposite direction is an edge of its own.
    insert(*g, 2, 1, "1");
    EXPECT_EQ(g->E.size(), 2u);
    EXPECT_EQ(g->V[1]->edges.size(), 2u);
}

TEST(InsertEdge, ASelfLoopIsListedOnceAmongTheEdges) {
    auto g = graphOf({"a", "b", "c"});
    insert(*g, 2, 2, "5");
    Edge* e = g->getEdge(2, 2);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(g->V[2]->in, std::vector<Edge*>{e});
    EXPECT_EQ(g->V[2]->out, std::vector<Edge*>{e});
    EXPECT_EQ(g->V[2]->edges, std::vector<Edge*>{e});
    EXPECT_EQ(g->V[2]->nb_in, 1);
    EXPECT_EQ(g->V[2]->nb_out, 1);

    CaptureStdout capture;
    g->fillNeighborsAndRelations();
    capture.text();
    EXPECT_TRUE(g->neighbors[2].empty());
    EXPECT_EQ(g->c_in[2][5], 1);
    EXPECT_EQ(g->c_out[2][5], 1);
    EXPECT_TRUE(g->relations[2].empty());
}

TEST(InsertEdge, AnArcToAVertexThatDoesNotExistIsRefused) {
    struct Case {
        int from, to;
        std::string label, printed;
    };
    const std::vector<Case> cases = {
        {0, 5, "1", "\n Node does not exist: 0,5(1) !!!!"},
        {-1, 0, "1", "\n Node does not exist: -1,0(1) !!!!"},
        {5, 5, "2\r", "\n Node does not exist: 5,5(2) !!!!"},
        {0, -7, "", "\n Node does not exist: 0,-7() !!!!"},
        {9, 0, "12", "\n ****************\n ***12***\n ****************\n Node does not exist: 9,0(12) !!!!"},
    };
    for (const Case& c : cases) {
        auto g = graphOf({"a", "b", "c", "d", "e"});
        insert(*g, 0, 1, "3");
        EXPECT_EQ(insert(*g, c.from, c.to, c.label), c.printed);
        EXPECT_EQ(g->E.size(), 1u);
        EXPECT_EQ(g->G.count(), 1);
        EXPECT_EQ(g->G.rows(), 1);
        EXPECT_EQ(g->nb_labels, 3);
        EXPECT_EQ(g->max_multi, 1);
        EXPECT_EQ(g->max_in_distrib, 1);
        for (const auto& v : g->V) {
            EXPECT_EQ(v->nb_in + v->nb_out, v->number <= 1 ? 1 : 0);
            EXPECT_EQ(v->sum_out, v->number == 0 ? 1.0f : 0.0f);
        }
    }
}

TEST(InsertEdge, CarriageReturnsAndLongLabels) {
    struct Case {
        std::string label, stored, printed;
    };
    const std::vector<Case> cases = {
        {"2\r", "2", ""},
        {"2", "2", ""},
        {"12", "12", "\n ****************\n ***12***\n ****************"},
        {"12\r", "12", "\n ****************\n ***12***\n ****************"},
        {"\r", "\r", ""},
        {"\r\r", "\r", ""},
        {"", "", ""},
        {"ab", "ab", "\n ****************\n ***ab***\n ****************"},
    };
    for (const Case& c : cases) {
        auto g = graphOf({"a", "b"});
        EXPECT_EQ(insert(*g, 0, 1, c.label), c.printed) << "'" << c.label << "'";
        ASSERT_EQ(g->E.size(), 1u);
        EXPECT_EQ(g->E[0]->label, c.stored) << "'" << c.label << "'";
    }
}

TEST(InsertEdge, LabelsAreCountedDigitByDigit) {
    auto g = graphOf({"a", "b"});
    g->edge_weight[1] = 2;
    g->edge_weight[3] = 0.25;
    g->edge_weight[9] = 4;
    std::string printed = insert(*g, 0, 1, "133");
    EXPECT_EQ(printed, "\n ****************\n ***133***\n ****************");
    Edge* e = g->getEdge(0, 1);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->labels[1], 1);
    EXPECT_EQ(e->labels[3], 2);
    EXPECT_EQ(countSum(*e), 3);
    EXPECT_EQ(e->label_weight, 2.5f);
    EXPECT_EQ(g->V[0]->sum_out, 2.5f);
    EXPECT_EQ(g->V[0]->nb_out, 1);
    EXPECT_EQ(g->V[1]->nb_in, 1);
    EXPECT_EQ(g->nb_labels, 3);

    // Characters that are not digits count nothing.
    insert(*g, 0, 1, "9x");
    EXPECT_EQ(e->label, "1339x");
    EXPECT_EQ(e->labels[9], 1);
    EXPECT_EQ(countSum(*e), 4);
    EXPECT_EQ(e->label_weight, 6.5f);
    EXPECT_EQ(g->nb_labels, 9);
    EXPECT_EQ(g->max_multi, 5);

    // Every slot equals the number of its digit in the label.
    for (int d = 0; d < MAX_LABELS; ++d)
        EXPECT_EQ(e->labels[d], static_cast<short>(std::count(e->label.begin(), e->label.end(), '0' + d))) << d;
}

TEST(InsertEdge, AnArcWithoutDigitsStillMakesItsEdge) {
    auto g = graphOf({"a", "b"});
    insert(*g, 0, 1, "");
    insert(*g, 1, 0, "x");
    ASSERT_EQ(g->E.size(), 2u);
    EXPECT_EQ(countSum(*g->E[0]), 0);
    EXPECT_EQ(countSum(*g->E[1]), 0);
    EXPECT_EQ(g->E[0]->label_weight, 0.0f);
    EXPECT_EQ(g->V[0]->sum_out, 0.0f);
    EXPECT_EQ(g->V[0]->nb_out, 1);
    EXPECT_EQ(g->nb_labels, 1);
    EXPECT_EQ(g->min_multi, 0);
    EXPECT_TRUE(g->areNeighbors(0, 1));
}

TEST(InsertEdge, WeightsAreSummedInDoubleAndStoredAsFloat) {
    // float += double: each sum is taken in double precision, then rounded.
    auto g = graphOf({"a", "b"});
    g->edge_weight[1] = 1.1;
    for (int i = 0; i < 3; ++i) insert(*g, 0, 1, "1");
    float expected = 0;
    for (int i = 0; i < 3; ++i) expected = static_cast<float>(expected + 1.1);
    float singlePrecision = 0;
    for (int i = 0; i < 3; ++i) singlePrecision += 1.1f;
    ASSERT_NE(expected, singlePrecision);  // the case tells the two apart
    EXPECT_EQ(g->V[0]->sum_out, expected);
    EXPECT_EQ(g->getEdge(0, 1)->label_weight, expected);
}

TEST(InsertEdge, RunningExtremesUseTheListSizesAtEachInsertion) {
    auto g = graphOf({"a", "b", "c"});
    insert(*g, 0, 1, "1");
    EXPECT_EQ(g->max_in_distrib, 1);
    EXPECT_EQ(g->min_in_distrib, 0);
    EXPECT_EQ(g->max_out_distrib, 1);
    EXPECT_EQ(g->min_out_distrib, 0);
    EXPECT_EQ(g->max_all_distrib, 1);
    EXPECT_EQ(g->min_all_distrib, 1);
    insert(*g, 0, 2, "1");
    insert(*g, 2, 0, "1");
    insert(*g, 0, 1, "2");
    EXPECT_EQ(g->max_in_distrib, 1);
    EXPECT_EQ(g->min_in_distrib, 0);
    EXPECT_EQ(g->max_out_distrib, 2);
    EXPECT_EQ(g->min_out_distrib, 0);
    EXPECT_EQ(g->max_all_distrib, 3);
    EXPECT_EQ(g->min_all_distrib, 1);
    EXPECT_EQ(g->max_multi, 2);
    EXPECT_EQ(g->min_multi, 1);
}

// ------------------------------------------------- lookups and neighbours

TEST(GetEdge, NeverCreatesACell) {
    auto g = graphOf({"a", "b", "c"});
    insert(*g, 0, 1, "1");
    EXPECT_EQ(g->getEdge(0, 2), nullptr);
    EXPECT_EQ(g->getEdge(1, 0), nullptr);
    EXPECT_EQ(g->getEdge(2, 2), nullptr);
    EXPECT_EQ(g->getEdge(-1, 0), nullptr);
    EXPECT_EQ(g->getEdge(0, -1), nullptr);
    EXPECT_EQ(g->getEdge(100, 100), nullptr);
    EXPECT_EQ(g->G.count(), 1);
    EXPECT_EQ(g->G.rows(), 1);
    EXPECT_NE(g->getEdge(0, 1), nullptr);
}

TEST(AreNeighbors, EitherDirectionWithinTheGraph) {
    auto g = graphOf({"a", "b", "c"});
    insert(*g, 0, 1, "1");
    insert(*g, 2, 2, "1");
    EXPECT_TRUE(g->areNeighbors(0, 1));
    EXPECT_TRUE(g->areNeighbors(1, 0));
    EXPECT_TRUE(g->areNeighbors(2, 2));
    EXPECT_FALSE(g->areNeighbors(0, 2));
    EXPECT_FALSE(g->areNeighbors(-1, 0));
    EXPECT_FALSE(g->areNeighbors(0, 3));
    EXPECT_EQ(g->G.count(), 2);
}

TEST(FillNeighbors, UndirectedSetsWithoutSelfLoops) {
    auto g = graphOf({"a", "b", "c", "d"});
    insert(*g, 0, 1, "1");
    insert(*g, 1, 0, "2");
    insert(*g, 2, 1, "3");
    insert(*g, 3, 3, "4");
    CaptureStdout capture;
    g->fillNeighbors();
    EXPECT_EQ(capture.text(), "\n Fill Neighbors");
    ASSERT_EQ(g->neighbors.size(), 4u);
    EXPECT_EQ(g->neighbors[0], std::set<int>{1});
    EXPECT_EQ(g->neighbors[1], (std::set<int>{0, 2}));
    EXPECT_EQ(g->neighbors[2], std::set<int>{1});
    EXPECT_TRUE(g->neighbors[3].empty());
    EXPECT_TRUE(g->relations.empty());
}

TEST(FillNeighborsAndRelations, RelationKeysCountsAndLabels) {
    auto g = graphOf({"A", "B"});
    insert(*g, 0, 1, "1");
    insert(*g, 1, 0, "9");
    CaptureStdout capture;
    g->fillNeighborsAndRelations();
    EXPECT_EQ(capture.text(), "\n\n\n3\n\n\n");
    EXPECT_EQ(g->nbNodeLabels, 3);
    EXPECT_EQ(g->relations[0], (std::map<std::string, int>{{"9/1", 1}}));
    EXPECT_EQ(g->relations[1], (std::map<std::string, int>{{"1/9", 1}}));
    EXPECT_EQ(g->Nrelations[0], (std::map<std::string, int>{{"9/1/B", 1}}));
    EXPECT_EQ(g->Nrelations[1], (std::map<std::string, int>{{"1/9/A", 1}}));
    EXPECT_EQ(g->NLabels[0], (std::map<std::string, int>{{"B", 1}}));
    EXPECT_EQ(g->NLabels[1], (std::map<std::string, int>{{"A", 1}}));
    ASSERT_EQ(g->c_in.size(), 2u);
    ASSERT_EQ(g->c_in[0].size(), 10u);  // nb_labels 9, so digits 0 to 9
    EXPECT_EQ(g->c_in[0][9], 1);
    EXPECT_EQ(g->c_out[0][1], 1);
    EXPECT_EQ(g->c_in[1][1], 1);
    EXPECT_EQ(g->c_out[1][9], 1);
}

TEST(FillNeighborsAndRelations, KeysCountNeighboursPerRelation) {
    // Vertex 0 (a package) contains 1 and 2; 3 has arcs of kinds 1 and 3 to 0.
    auto g = graphOf({"p", "x", "x", "y"});
    insert(*g, 0, 1, "9");
    insert(*g, 0, 2, "9");
    insert(*g, 3, 0, "1");
    insert(*g, 3, 0, "3");
    CaptureStdout capture;
    g->fillNeighborsAndRelations();
    EXPECT_EQ(capture.text(), "\n\n\n4\n\n\n");
    EXPECT_EQ(g->relations[0], (std::map<std::string, int>{{"/9", 2}, {"13/", 1}}));
    EXPECT_EQ(g->Nrelations[0], (std::map<std::string, int>{{"/9/x", 2}, {"13//y", 1}}));
    EXPECT_EQ(g->NLabels[0], (std::map<std::string, int>{{"x", 2}, {"y", 1}}));
    EXPECT_EQ(g->relations[3], (std::map<std::string, int>{{"/13", 1}}));
    EXPECT_EQ(g->c_in[0][1], 1);
    EXPECT_EQ(g->c_in[0][3], 1);
    EXPECT_EQ(g->c_out[3][1], 1);
    EXPECT_EQ(g->c_out[3][3], 1);
    EXPECT_EQ(g->c_out[0][9], 2);
    ASSERT_EQ(g->c_out[0].size(), 10u);
}

TEST(FillNeighborsAndRelations, CountsOnlyDigitsUpToTheLargestLabel) {
    auto g = graphOf({"a", "b"});
    insert(*g, 0, 1, "2x");
    CaptureStdout capture;
    g->fillNeighborsAndRelations();
    capture.text();
    ASSERT_EQ(g->c_out[0].size(), 3u);  // nb_labels 2
    EXPECT_EQ(g->c_out[0][2], 1);
    EXPECT_EQ(g->c_in[1][2], 1);
    EXPECT_EQ(g->c_out[0][0] + g->c_out[0][1], 0);
}

TEST(FillNeighborsAndRelations, DistinctVertexLabels) {
    struct Case {
        std::vector<std::string> labels;
        int nbNodeLabels;
    };
    const std::vector<Case> cases = {
        {{"a", "b", "a"}, 3}, {{}, 1}, {{"x"}, 2}, {{"", "", "y"}, 3}, {{"a", "b", "c", "b"}, 4},
    };
    for (const Case& c : cases) {
        auto g = graphOf(c.labels);
        CaptureStdout capture;
        g->fillNeighborsAndRelations();
        EXPECT_EQ(capture.text(), "\n\n\n" + to_string(c.nbNodeLabels) + "\n\n\n");
        EXPECT_EQ(g->nbNodeLabels, c.nbNodeLabels);
    }
}

TEST(EnsureRelations, BuildsTheTablesQuietlyOnce) {
    auto g = graphOf({"A", "B"});
    insert(*g, 0, 1, "1");
    {
        CaptureStdout capture;
        g->ensureRelations();
        EXPECT_EQ(capture.text(), "");
    }
    EXPECT_EQ(g->nbNodeLabels, 3);
    EXPECT_EQ(g->relations[0], (std::map<std::string, int>{{"/1", 1}}));
    EXPECT_EQ(g->c_out[0][1], 1);
    EXPECT_EQ(g->neighbors[1], std::set<int>{0});

    // A second need finds them built.
    g->relations[0]["marker"] = 7;
    g->ensureRelations();
    EXPECT_EQ(g->relations[0]["marker"], 7);
}

TEST(EnsureRelations, KeepsTablesThatTheConstructorBuilt) {
    auto g = graphOf({"A"});
    CaptureStdout capture;
    g->fillNeighborsAndRelations();
    EXPECT_EQ(capture.text(), "\n\n\n2\n\n\n");
    g->NLabels[0]["marker"] = 1;
    g->ensureRelations();
    EXPECT_EQ(g->NLabels[0]["marker"], 1);
}

// ------------------------------------------------------------ reinitEdges

TEST(ReinitEdges, RemovesEveryEdgeAndKeepsTheCounters) {
    auto g = graphOf({"a", "b", "c"});
    insert(*g, 0, 1, "7");
    insert(*g, 1, 2, "3");
    insert(*g, 2, 2, "1");
    g->edges = static_cast<int>(g->E.size());
    g->reinitEdges();
    EXPECT_TRUE(g->E.empty());
    EXPECT_EQ(g->G.rows(), 0);
    EXPECT_EQ(g->G.m, 3u);
    EXPECT_EQ(g->G.n, 3u);
    EXPECT_EQ(g->getEdge(0, 1), nullptr);
    EXPECT_EQ(g->getEdge(2, 2), nullptr);
    for (const auto& v : g->V) {
        EXPECT_TRUE(v->in.empty());
        EXPECT_TRUE(v->out.empty());
        EXPECT_TRUE(v->edges.empty());
    }
    EXPECT_EQ(g->nb_labels, 7);
    EXPECT_EQ(g->edges, 3);
    EXPECT_EQ(g->V[0]->nb_out, 1);
    EXPECT_EQ(g->V[1]->nb_in, 1);
    EXPECT_EQ(g->V[2]->nb_in, 2);
    EXPECT_EQ(g->V[0]->sum_out, 1.0f);
    EXPECT_EQ(g->max_in_distrib, 2);

    // The graph takes arcs again.
    insert(*g, 1, 0, "2");
    ASSERT_EQ(g->E.size(), 1u);
    EXPECT_EQ(g->getEdge(1, 0)->label, "2");
    EXPECT_EQ(g->V[1]->out.size(), 1u);
}

// ------------------------------------------------------------------ write

TEST(Write, PlainGraphFile) {
    ScratchDir dir;
    auto g = graphOf({"A", "B", "C"});
    g->V[0]->weight[0] = 0.5f;
    g->V[0]->weight[1] = 2.0f;
    g->V[2]->weight[0] = 0.0f;
    g->V[2]->weight[1] = 1234567.0f;
    g->V[2]->weight[3] = 9.0f;  // after a negative slot: not written
    insert(*g, 0, 1, "1");
    insert(*g, 0, 1, "3");
    auto blank = arc(1, 2, "");
    blank->weight[0] = 0.25f;
    g->insertEdge(std::move(blank));
    auto loop = arc(2, 2, "9");
    loop->weight[0] = 1.5f;
    loop->weight[1] = 0.1f;
    g->insertEdge(std::move(loop));
    g->edges = static_cast<int>(g->E.size());

    test::writeFile("out.csv", "an older and much longer file\nwith two lines\n");
    g->write(0, "out.csv");
    // The header counts the arc lines written: the edge whose label is empty
    // has none.
    EXPECT_EQ(test::readFile("out.csv"),
              "3,2\n"
              "0,A,0.5,2\n"
              "1,B\n"
              "2,C,0,1.23457e+06\n"
              "0,1,13\n"
              "2,2,9,1.5,0.1\n");
}

TEST(Write, OnlyModeZeroWrites) {
    ScratchDir dir;
    auto g = graphOf({"A"});
    for (int mode : {1, 4, 12, -1}) g->write(mode, "m" + to_string(mode) + ".csv");
    for (int mode : {1, 4, 12, -1}) EXPECT_FALSE(test::fileExists("m" + to_string(mode) + ".csv"));
}

TEST(Write, AFileThatCannotBeOpenedIsNamedOnStandardError) {
    ScratchDir dir;
    auto g = graphOf({"A"});
    CaptureStderr errors;
    CaptureStdout capture;
    g->write(0, "no-such-dir/out.csv");
    EXPECT_EQ(capture.text(), "");
    EXPECT_NE(errors.text().find("no-such-dir/out.csv"), std::string::npos);
    EXPECT_FALSE(test::fileExists("no-such-dir"));
}

TEST(Write, AnEmptyGraph) {
    ScratchDir dir;
    Graph g;
    g.write(0, "empty.csv");
    EXPECT_EQ(test::readFile("empty.csv"), "0,0\n");
}

// ---------------------------------------------------------------- accessors

TEST(Graph, AccessorsCopyTheLists) {
    auto g = graphOf({"a", "b"});
    insert(*g, 0, 1, "1");
    g->edges = 1;
    EXPECT_EQ(g->getOrder(), 2);
    EXPECT_EQ(g->getSize(), 1);
    std::vector<Vertex*> v = g->getV();
    std::vector<Edge*> e = g->getE();
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[1], g->V[1].get());
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0], g->E[0].get());
    g->deleteEdge(e[0]);
    EXPECT_EQ(g->E.size(), 1u);
}

}  // namespace
}  // namespace graphmat
