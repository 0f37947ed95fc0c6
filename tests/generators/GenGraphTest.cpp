// The random pair generator: hand-worked draws, the laws, the files of a
// pair, the earlier models and the parameter checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "generators/GenGraph.h"
#include "generators/GeneratorCommands.h"
#include "graph/CapacityChecks.h"
#include "graph/Graph.h"
#include "graph/OutputFiles.h"
#include "graph/Random.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::CaptureStdout;
using test::fileExists;
using test::readFile;
using test::ScratchDir;

using Arc = std::pair<int, int>;

// The arcs of a plain graph file as written: (from, to) -> label.
std::map<Arc, int> arcsOf(const std::string& path) {
    const std::vector<std::string> rows = test::lines(readFile(path));
    const int order = std::stoi(rows.at(0));
    std::map<Arc, int> arcs;
    for (std::size_t r = 1 + order; r < rows.size(); ++r) {
        if (rows[r].empty()) continue;
        int from, to, label;
        EXPECT_EQ(std::sscanf(rows[r].c_str(), "%d,%d,%d", &from, &to, &label), 3) << rows[r];
        arcs[{from, to}] = label;
    }
    return arcs;
}

// The vertex labels of a plain graph file by vertex number.
std::map<int, int> nodeLabelsOf(const std::string& path) {
    const std::vector<std::string> rows = test::lines(readFile(path));
    const int order = std::stoi(rows.at(0));
    std::map<int, int> labels;
    for (int r = 1; r <= order; ++r) {
        int number, label;
        EXPECT_EQ(std::sscanf(rows.at(r).c_str(), "%d,%d", &number, &label), 2);
        labels[number] = label;
    }
    return labels;
}

// The correspondence lines of a known-matching file (after its six counts).
std::map<int, int> knownMatching(const std::string& path) {
    const std::vector<std::string> rows = test::lines(readFile(path));
    std::map<int, int> known;
    for (std::size_t r = 6; r < rows.size(); ++r) {
        if (rows[r].empty()) continue;
        int x, y;
        EXPECT_EQ(std::sscanf(rows[r].c_str(), "%d,%d", &x, &y), 2);
        known[x] = y;
    }
    return known;
}

// Graph-1 arcs carried to graph 2 through a correspondence.
std::map<Arc, int> carried(const std::map<Arc, int>& arcs, const std::map<int, int>& correspondence) {
    std::map<Arc, int> result;
    for (const auto& [arc, label] : arcs) result[{correspondence.at(arc.first), correspondence.at(arc.second)}] = label;
    return result;
}

std::set<std::string> filesIn(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) names.insert(entry.path().filename().string());
    return names;
}

// Seed 1 draws 41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962,
// 24464, 5705, 28145, 23281, 16827, 9961, 491, 2995, 11942, 4827, 5436,
// 32391. With n = 3, e = 1.5 (p = 0.5), q = 1, one node and one arc label,
// pd = 0, pi = 50 (n2 = 3 + trunc(1.5) = 4), directed:
// - three common nodes (draws 1-3) and one extra node of graph 2 (draw 4),
//   all label 0;
// - the joint arc table is 0.5, 0.5, 0.5, 1 (q = 1): a draw u = r / 32768
//   above 0.5 gives an arc in both graphs; common pairs (0,1) (0,2) (1,0)
//   (1,2) (2,0) (2,1) draw 19169 15724 11478 29358 26962 24464: arcs
//   (0,1) (1,2) (2,0) (2,1), so m1 = 4 and score = 4;
// - the extra pairs of graph 2, (0,3) (1,3) (2,3) (3,0) (3,1) (3,2), draw
//   5705 28145 23281 16827 9961 491 against CE = 0.5, 1: arcs (1,3) (2,3)
//   (3,0), so m2 = 7;
// - graph 1's renumbering: 2995 % 3 = 1 swaps 0 and 1, 11942 % 2 = 0:
//   [1, 0, 2]; graph 2's: 4827 % 4 = 3 swaps 0 and 3, 5436 % 3 = 0,
//   32391 % 2 = 1 swaps 2 and 3: [3, 1, 0, 2].
TEST(GenGraphPair, HandWorkedSmallPair) {
    ScratchDir dir;
    std::filesystem::create_directories("datasets/random");
    CaptureStdout capture;
    GenGraph pair(3, 1.5, 1, 1, 1, 1, 1, 0, 50, "./datasets/random/g", 1, false);
    const std::string out = capture.text();

    EXPECT_EQ(out,
              "3,0.5,1,1,1,1,1,0,50,1\n"
              "\n PROBA 0 : 1\n"
              "0,0,1,1\n"
              "\n NSUMPROBA = 1\n"
              "\n ProbaE 0 : 0.5\n ProbaE 1 : 0.5"
              "\n0,0,0.5,0.5\n0,1,0.5,0.5\n1,0,0.5,0.5\n1,1,1,1"
              "\n CCC \n");
    const std::string P = "./datasets/random/g_3_1.5_1_1_1_1_1_0_50_0_1";
    EXPECT_EQ(readFile(P + "A.csv"), "3,4\n1,1\n0,1\n2,1\n1,0,1\n0,2,1\n2,1,1\n2,0,1\n");
    EXPECT_EQ(readFile(P + "B.csv"), "4,7\n3,1\n1,1\n0,1\n2,1\n3,1,1\n1,0,1\n1,2,1\n0,3,1\n0,1,1\n0,2,1\n2,3,1\n");
    EXPECT_EQ(readFile(P + ".csv"), "s,0\nl,0\nf,4\ne,0\nn,0\nv,0\n1,3\n0,1\n2,0\n");
    EXPECT_EQ(readFile("bat.txt"), "\ngraphmat -h 0 -o " + P + "A.csv -n " + P + "B.csv -s 1");
    EXPECT_EQ(readFile("score.txt"), "\n" + P + ",4");
    // A directed pair: no matrix files.
    EXPECT_EQ(filesIn("datasets/random"),
              (std::set<std::string>{"g_3_1.5_1_1_1_1_1_0_50_0_1A.csv", "g_3_1.5_1_1_1_1_1_0_50_0_1B.csv",
                                     "g_3_1.5_1_1_1_1_1_0_50_0_1.csv"}));

    EXPECT_EQ(pair.n1, 3);
    EXPECT_EQ(pair.n2, 4);
    EXPECT_EQ(pair.m1, 4);
    EXPECT_EQ(pair.m2, 7);
    EXPECT_EQ(pair.score, 4);
    EXPECT_EQ(pair.nodes2, (std::vector<int>{0, 0, 0, 0}));
    // write released the renumberings and the label matrices.
    EXPECT_TRUE(pair.to_shuffle1.empty());
    EXPECT_TRUE(pair.to_shuffle2.empty());
    EXPECT_TRUE(pair.edges1.empty());
    EXPECT_TRUE(pair.edges2.empty());
    EXPECT_EQ(randomDraws(), 21);
}

// Node counts n + trunc(n x (pd / 100)) in float: 29.0f / 100 x 100 rounds
// to 29 exactly (in double it would be 28.999999999999996).
TEST(GenGraphPair, NodeCountsFollowTheFloatArithmetic) {
    struct Case {
        int n;
        double pd, pi;
        int n1, n2;
    };
    for (const Case& c : {Case{100, 29, 0, 129, 100}, Case{10, 15, 20, 11, 12}, Case{10, 0, 0, 10, 10},
                          Case{7, 100, 250, 14, 24}}) {
        ScratchDir dir;
        CaptureStdout capture;
        GenGraph pair(c.n, 1, 0.5, 1, 1, 1, 1, c.pd, c.pi, "g", 2, false);
        EXPECT_EQ(pair.n1, c.n1) << c.n << " " << c.pd;
        EXPECT_EQ(pair.n2, c.n2) << c.n << " " << c.pi;
        const std::string P = pair.pairPrefix("g");
        EXPECT_EQ(test::lines(readFile(P + "A.csv")).at(0), std::to_string(c.n1) + "," + std::to_string(pair.m1));
        EXPECT_EQ(test::lines(readFile(P + "B.csv")).at(0), std::to_string(c.n2) + "," + std::to_string(pair.m2));
    }
}

// nl = 2, nld = 0.5: PN = 2/3, 1/3. With q = 0.5 the joint table cumulates
// 2/9 + 1/3 = 5/9, + 1/9 = 6/9, + 1/9 = 7/9, + 1/18 + 1/6 = 1.
// el = 2, eld = 0.5, p = 2 / 10 = 0.2f: PE = 0.8, 0.2 x 0.5 / 0.75 x 1 = 2/15,
// then 1/15 (in float 0.2f, so printed 0.133333 and 0.0666667).
TEST(GenGraphPair, LawsAndTablesAsPrinted) {
    ScratchDir dir;
    CaptureStdout capture;
    GenGraph pair(10, 2, 0.5, 2, 0.5, 2, 0.5, 10, 20, "g", 1, false);
    const std::string out = capture.text();
    EXPECT_EQ(out.substr(0, out.find("\n NSUMPROBA")),
              "10,0.2,0.5,2,0.5,2,0.5,10,20,1\n"
              "\n PROBA 0 : 0.666667\n PROBA 1 : 0.333333\n"
              "0,0,0.555556,0.555556\n0,1,0.666667,0.666667\n1,0,0.777778,0.777778\n1,1,1,1\n");
    EXPECT_NE(out.find("\n NSUMPROBA = 1\n\n ProbaE 0 : 0.8\n ProbaE 1 : 0.133333\n ProbaE 2 : 0.0666667\n0,0,"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("\n2,2,1,1\n CCC \n"), std::string::npos) << out;
    // The Part's example prefix.
    EXPECT_TRUE(fileExists("g_10_2_0.5_2_0.5_2_0.5_10_20_0_1A.csv"));
}

TEST(GenGraphPair, WalksStopAtTheLastCell) {
    const std::vector<double> table = {0.25, 0.5, 0.999};
    EXPECT_EQ(GenGraph::walk(table, 0.0), 0);
    EXPECT_EQ(GenGraph::walk(table, 0.25), 0);  // not below u: chosen
    EXPECT_EQ(GenGraph::walk(table, 0.2500001), 1);
    EXPECT_EQ(GenGraph::walk(table, 0.9995), 2);  // the total a hair below u
    EXPECT_EQ(GenGraph::walk({0.4}, 0.9), 0);

    const std::vector<double> law = GenGraph::labelLaw(3, 0.5f);
    EXPECT_DOUBLE_EQ(law[0], 4.0 / 7);
    EXPECT_DOUBLE_EQ(law[2], 1.0 / 7);
    EXPECT_EQ(GenGraph::labelLaw(4, 1.0f), std::vector<double>(4, 0.25));
    // q = 0: independent labels; q = 1: the diagonal only.
    EXPECT_EQ(GenGraph::jointTable({0.5, 0.5}, 0), (std::vector<double>{0.25, 0.5, 0.75, 1}));
    EXPECT_EQ(GenGraph::jointTable({0.5, 0.5}, 1), (std::vector<double>{0.5, 0.5, 0.5, 1}));
}

TEST(GenGraphPair, PrefixWritesFloatsAsTheStreamDoes) {
    GenGraph pair;
    pair.n = 12;
    pair.e = 0.00001f;
    pair.q = 0.25f;
    pair.nl = 3;
    pair.nld = 1;
    pair.el = 2;
    pair.eld = 0.5f;
    pair.pd = 100;
    pair.pi = 0;
    pair.undirected = 1;
    pair.seed = 9;
    EXPECT_EQ(pair.pairPrefix("./d/g"), "./d/g_12_1e-05_0.25_3_1_2_0.5_100_0_1_9");
}

// q = 1 and no extra nodes: both graphs are the same graph renumbered; no
// error of any kind, and every arc is a common arc counted in the score.
TEST(GenGraphPair, FullCorrelationGivesOneGraphTwice) {
    for (bool undirected : {false, true}) {
        ScratchDir dir;
        CaptureStdout capture;
        GenGraph pair(25, 4, 1, 4, 0.5, 3, 0.5, 0, 0, "g", 5, undirected);
        const std::string P = pair.pairPrefix("g");
        EXPECT_EQ(pair.struct_errors + pair.label_errors + pair.edge_errors + pair.n_node_errors +
                      pair.v_node_errors,
                  0);
        EXPECT_EQ(pair.m1, pair.m2);
        EXPECT_EQ(pair.score, pair.m1);
        EXPECT_GT(pair.m1, 0);
        const std::map<int, int> known = knownMatching(P + ".csv");
        ASSERT_EQ(known.size(), 25u);
        const auto arcs1 = arcsOf(P + "A.csv"), arcs2 = arcsOf(P + "B.csv");
        EXPECT_EQ(carried(arcs1, known), arcs2);
        const auto labels1 = nodeLabelsOf(P + "A.csv"), labels2 = nodeLabelsOf(P + "B.csv");
        for (const auto& [x, y] : known) EXPECT_EQ(labels1.at(x), labels2.at(y));
        if (undirected) {
            for (const auto& [arc, label] : arcs1) EXPECT_EQ(arcs1.count({arc.second, arc.first}), 1u);
        }
    }
}

// The counts of the known-matching file recounted from the two graph files
// through the correspondence, for a pair with every kind of difference.
TEST(GenGraphPair, CountsAgreeWithTheWrittenGraphs) {
    for (bool undirected : {false, true}) {
        ScratchDir dir;
        CaptureStdout capture;
        GenGraph pair(20, 5, 0.6, 3, 0.7, 4, 0.6, 15, 30, "g", 11, undirected);
        const std::string P = pair.pairPrefix("g");
        const std::map<int, int> known = knownMatching(P + ".csv");
        const auto arcs1 = arcsOf(P + "A.csv"), arcs2 = arcsOf(P + "B.csv");
        const auto labels1 = nodeLabelsOf(P + "A.csv"), labels2 = nodeLabelsOf(P + "B.csv");
        int structErrors = 0, labelErrors = 0, score = 0, edgeErrors = 0, nodeErrors = 0, nodeDistance = 0;
        for (const auto& [x1, y1] : known) {
            if (labels1.at(x1) != labels2.at(y1)) {
                ++nodeErrors;
                nodeDistance += std::abs(labels1.at(x1) - labels2.at(y1));
            }
            for (const auto& [x2, y2] : known) {
                if (x1 == x2) continue;
                const auto a1 = arcs1.find({x1, x2});
                const auto a2 = arcs2.find({y1, y2});
                const int a = a1 == arcs1.end() ? 0 : a1->second;
                const int b = a2 == arcs2.end() ? 0 : a2->second;
                if (a != b) {
                    (a != 0 && b != 0 ? labelErrors : structErrors) += 1;
                    edgeErrors += std::abs(a - b);
                } else if (a != 0) {
                    ++score;
                }
            }
        }
        // The file's counts, recounted over ordered pairs (the undirected
        // pair counts each unordered pair twice, as the file does).
        EXPECT_EQ(readFile(P + ".csv").substr(0, readFile(P + ".csv").find("\n", 0) + 1),
                  "s," + std::to_string(structErrors) + "\n");
        EXPECT_EQ(pair.struct_errors, structErrors);
        EXPECT_EQ(pair.label_errors, labelErrors);
        EXPECT_EQ(pair.score, score);
        EXPECT_EQ(pair.edge_errors, edgeErrors);
        EXPECT_EQ(pair.n_node_errors, nodeErrors);
        EXPECT_EQ(pair.v_node_errors, nodeDistance);
        EXPECT_GT(structErrors * labelErrors * score * nodeErrors, 0);
        EXPECT_EQ(static_cast<int>(arcs1.size()), pair.m1);
        EXPECT_EQ(static_cast<int>(arcs2.size()), pair.m2);
        if (undirected) {
            for (int count : {structErrors, labelErrors, score, edgeErrors}) EXPECT_EQ(count % 2, 0);
        }
    }
}

// One node and one arc label, undirected: the adjacency matrices and the
// label difference matrix come too.
TEST(GenGraphFiles, SingleLabelUndirectedPairsGetTheMatrixFiles) {
    ScratchDir dir;
    CaptureStdout capture;
    GenGraph pair(6, 2, 0.5, 1, 1, 1, 1, 50, 0, "g", 3, true);
    const std::string P = pair.pairPrefix("g");
    EXPECT_EQ(filesIn("."), (std::set<std::string>{P + "A.csv", P + "mA.csv", P + "B.csv", P + "mB.csv",
                                                   P + ".csv", P + "C.csv", "bat.txt", "score.txt", "results"}));
    for (const auto& [graph, matrix, order] :
         {std::make_tuple(P + "A.csv", P + "mA.csv", 9), std::make_tuple(P + "B.csv", P + "mB.csv", 6)}) {
        const auto arcs = arcsOf(graph);
        std::string expected;
        for (int r = 0; r < order; ++r) {
            for (int c = 0; c < order; ++c) expected += (arcs.count({r, c}) ? "1" : "0") + std::string("  ");
            expected += "\n";
        }
        EXPECT_EQ(readFile(matrix), expected) << matrix;
    }
    std::string zeros;
    for (int r = 0; r < 9; ++r) zeros += "0 0 0 0 0 0 \n";
    EXPECT_EQ(readFile(P + "C.csv"), zeros);
}

// The matrix files of a pair grow with the square of its node counts, and
// their size is known from the parameters: checked against the free space
// of their disk (set by the test) before anything is drawn. n = 6 with
// pd = 50 gives 9 and 6 nodes: mA.csv 9 rows of 9 cells "d  " and a line
// feed (252 bytes), mB.csv 6 x 19 (114), C.csv 9 rows of 6 values "0 " and a
// line feed (117): 483 bytes together.
TEST(GenGraphFiles, MatrixFilesAreDrawnOnlyWhenTheirDiskHoldsThem) {
    const std::vector<std::string> words = {"6", "2", "0.5", "1", "1", "1", "1", "50", "0", "g", "3", "1"};
    const std::string P = "g_6_2_0.5_1_1_1_1_50_0_1_3";
    std::map<std::string, std::string> written;
    {
        ScratchDir dir;
        CaptureStdout quiet;
        ASSERT_EQ(pairCommand(words), 0);
        written = test::treeHere();
    }
    EXPECT_EQ(written[P + "mA.csv"].size() + written[P + "mB.csv"].size() + written[P + "C.csv"].size(), 483u);

    ScratchDir dir;
    setFreeDiskOverride(482);
    {
        CaptureStdout out;
        test::CaptureStderr err;
        srand15(1);
        EXPECT_EQ(pairCommand(words), 1);
        EXPECT_EQ(err.text(), "graphgen pair: needs 4.5e-07 GB for the matrix files " + P + "mA.csv, " + P +
                                  "mB.csv and " + P + "C.csv; the disk has 4.49e-07 GB free\n");
        EXPECT_EQ(out.text(), "");
        EXPECT_EQ(randomDraws(), 0);
    }
    EXPECT_EQ(test::treeHere(), (std::map<std::string, std::string>{{"results", "(folder)"}}));

    setFreeDiskOverride(483);
    {
        CaptureStdout quiet;
        EXPECT_EQ(pairCommand(words), 0);
    }
    EXPECT_EQ(test::treeHere(), written);

    // Written again over itself on a full disk: the files it replaces give
    // their blocks back. A pair without matrix files is not counted.
    setFreeDiskOverride(0);
    std::vector<std::string> directed = words;
    directed[11] = "0";
    {
        CaptureStdout quiet;
        EXPECT_EQ(pairCommand(words), 0);
        EXPECT_EQ(pairCommand(directed), 0);
    }
    for (const std::string suffix : {"mA.csv", "mB.csv", "C.csv"}) EXPECT_EQ(readFile(P + suffix), written[P + suffix]);
    setFreeDiskOverride(-1);
}

TEST(GenGraphFiles, SameSeedSameFilesAndAppendedLines) {
    std::map<std::string, std::string> first;
    {
        ScratchDir dir;
        CaptureStdout capture;
        GenGraph pair(15, 3, 0.7, 3, 0.5, 3, 0.8, 20, 20, "g", 4, false);
        for (const std::string& name : filesIn(".")) {
            if (name != "results") first[name] = readFile(name);
        }
    }
    ScratchDir dir;
    CaptureStdout capture;
    GenGraph once(15, 3, 0.7, 3, 0.5, 3, 0.8, 20, 20, "g", 4, false);
    for (const auto& [name, content] : first) EXPECT_EQ(readFile(name), content) << name;
    GenGraph twice(15, 3, 0.7, 3, 0.5, 3, 0.8, 20, 20, "g", 4, false);
    for (const auto& [name, content] : first) {
        if (name == "bat.txt" || name == "score.txt")
            EXPECT_EQ(readFile(name), content + content) << name;
        else
            EXPECT_EQ(readFile(name), content) << name;
    }
}

// Arc labels of ten or more are one decimal number per arc line; the plain
// reader counts such a label per digit.
TEST(GenGraphFiles, PlainFilesReadBack) {
    ScratchDir dir;
    CaptureStdout capture;
    GenGraph pair(12, 6, 0.4, 3, 0.5, 14, 1, 25, 50, "g", 8, false);
    const std::string P = pair.pairPrefix("g");
    for (const std::string side : {"A", "B"}) {
        const std::string path = P + side + ".csv";
        Graph g(0, path);
        const auto arcs = arcsOf(path);
        const auto labels = nodeLabelsOf(path);
        EXPECT_EQ(g.vertices, side == "A" ? pair.n1 : pair.n2);
        EXPECT_EQ(g.edges, side == "A" ? pair.m1 : pair.m2);
        for (const auto& [number, label] : labels) EXPECT_EQ(g.V[number]->label, std::to_string(label));
        bool multiDigit = false;
        for (const auto& [arc, label] : arcs) {
            Edge* edge = g.getEdge(arc.first, arc.second);
            ASSERT_NE(edge, nullptr);
            EXPECT_EQ(edge->label, std::to_string(label));
            if (label >= 10) {
                multiDigit = true;
                EXPECT_GE(edge->labels[1], 1) << label;
                EXPECT_GE(edge->labels[label % 10], 1) << label;
            }
        }
        EXPECT_TRUE(multiDigit);
    }
}

TEST(GenGraphFiles, AFileThatDoesNotOpenLeavesNoHalfPair) {
    ScratchDir dir;
    resetOutputFailed();
    {
        // The directory of the prefix is missing: nothing is written.
        test::CaptureStderr errors;
        CaptureStdout capture;
        GenGraph pair(5, 1, 0.5, 2, 1, 2, 1, 0, 0, "missing/g", 1, false);
        EXPECT_TRUE(outputFailed());
        EXPECT_NE(errors.text().find("Cannot write missing/g_5_1_0.5_2_1_2_1_0_0_0_1A.csv"), std::string::npos);
        EXPECT_EQ(capture.text().find("CCC"), std::string::npos);
    }
    resetOutputFailed();
    // Graph 2's file cannot be created: graph 1's file and the known
    // matching, already opened, are removed again; nothing is appended.
    std::filesystem::create_directories("g_5_1_0.5_2_1_2_1_0_0_0_1B.csv");
    {
        test::CaptureStderr errors;
        CaptureStdout capture;
        GenGraph pair(5, 1, 0.5, 2, 1, 2, 1, 0, 0, "g", 1, false);
        EXPECT_TRUE(outputFailed());
        EXPECT_EQ(errors.text(), "Cannot write g_5_1_0.5_2_1_2_1_0_0_0_1B.csv\n");
    }
    EXPECT_EQ(filesIn("."), (std::set<std::string>{"g_5_1_0.5_2_1_2_1_0_0_0_1B.csv", "results"}));
    resetOutputFailed();
}

TEST(GenGraphPair, ASingleLabelWithAnotherDecayWritesNothing) {
    for (const auto& [nl, nld, el, eld] :
         {std::make_tuple(1, 0.5, 2, 1.0), std::make_tuple(3, 1.0, 1, 0.5)}) {
        ScratchDir dir;
        CaptureStdout capture;
        GenGraph pair(5, 1, 0.5, nl, nld, el, eld, 10, 10, "g", 1, false);
        EXPECT_EQ(capture.text(), "");
        EXPECT_EQ(filesIn("."), std::set<std::string>{"results"});
        EXPECT_EQ(randomDraws(), 0);  // seeded, nothing drawn
    }
}

TEST(GenGraphPair, ParametersThatDescribeNoPairAreRefusedBeforeAnyDraw) {
    struct Case {
        int n;
        double e, q;
        int nl;
        double nld;
        int el;
        double eld, pd, pi;
        std::string word;
    };
    const std::vector<Case> cases = {
        {0, 1, 0.5, 2, 1, 2, 1, 0, 0, "n "},
        {5, -1, 0.5, 2, 1, 2, 1, 0, 0, "e "},
        {5, 6, 0.5, 2, 1, 2, 1, 0, 0, "e must be at most n"},
        {5, 1, 1.5, 2, 1, 2, 1, 0, 0, "q "},
        {5, 1, -0.1, 2, 1, 2, 1, 0, 0, "q "},
        {5, 1, 0.5, 0, 1, 2, 1, 0, 0, "nl "},
        {5, 1, 0.5, 2, -0.5, 2, 1, 0, 0, "nld "},
        {5, 1, 0.5, 300, 1e30, 2, 1, 0, 0, "nld "},  // decay^count overflows: no law
        {5, 1, 0.5, 2, 1, 0, 1, 0, 0, "el "},
        {5, 1, 0.5, 2, 1, 2, -1, 0, 0, "eld "},
        {5, 1, 0.5, 2, 1, 2, 1, -5, 0, "pd "},
        {5, 1, 0.5, 2, 1, 2, 1, 0, -5, "pi "},
        {5, 1, 0.5, 2, 1, 2, 1, 1e12, 0, "n, pd, pi, nl and el"},
        {1 << 30, 1, 0.5, 2, 1, 2, 1, 0, 0, "n, pd, pi, nl and el"},
        {5, 1, 0.5, 1000000000, 0.5, 2, 1, 0, 0, "n, pd, pi, nl and el"},  // refused before its law is built
        {5, 1, 0.5, 2, 1, 1000000000, 1e30, 0, 0, "n, pd, pi, nl and el"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        srand15(1);
        CaptureStdout capture;
        try {
            GenGraph pair(c.n, c.e, c.q, c.nl, c.nld, c.el, c.eld, c.pd, c.pi, "g", 1, false);
            ADD_FAILURE() << "accepted " << c.word;
        } catch (const std::invalid_argument& error) {
            EXPECT_EQ(std::string(error.what()).find(c.word), 0u) << error.what();
        }
        EXPECT_EQ(capture.text(), "");
        EXPECT_EQ(randomDraws(), 0);
        EXPECT_EQ(filesIn("."), std::set<std::string>{"results"});
        EXPECT_EQ(GenGraph::parameterError(c.n, c.e, c.q, c.nl, c.nld, c.el, c.eld, c.pd, c.pi).find(c.word), 0u);
    }
    // Decays above 1 give a law too (growing towards the last label), as
    // does 0 (every draw the first label).
    EXPECT_EQ(GenGraph::parameterError(5, 1, 0.5, 3, 2.5, 3, 0, 0, 0), "");
}

// The tables of a pair against the memory figure of the machine (here set
// by the test): 300 nodes a side fit in a million bytes, 400 do not.
TEST(GenGraphPair, SizesAreComparedWithTheMachinesMemory) {
    setPhysicalMemoryOverride(1e6);
    EXPECT_EQ(GenGraph::parameterError(300, 1, 0.5, 3, 0.5, 2, 1, 0, 0), "");
    EXPECT_EQ(GenGraph::parameterError(400, 1, 0.5, 3, 0.5, 2, 1, 0, 0),
              "n, pd, pi, nl and el ask for tables of 1.30904e+06 bytes, more than the physical memory of this "
              "machine");
    EXPECT_NE(GenGraph::parameterError(300, 1, 0.5, 3, 0.5, 2, 1, 50, 0), "");  // 450 nodes in graph 1
    setPhysicalMemoryOverride(0);
}

// ----------------------------------------------------- earlier models

// The model without node labels: every node label 1; edge_errors is the
// number of differing common pairs (twice each when undirected).
TEST(GenGraphEarlierModels, WithoutNodeLabels) {
    ScratchDir dir;
    CaptureStdout capture;
    GenGraph pair(12, 3, 0.5, 3, 0.5, 25, 25, "g", 6, true);
    EXPECT_EQ(capture.text().substr(0, capture.text().find("\n") + 1), "12,0.25,0.5,3,0.5,25,25,6\n");
    EXPECT_EQ(pair.edge_errors, pair.label_errors + pair.struct_errors);
    EXPECT_GT(pair.edge_errors, 0);
    for (int count : {pair.label_errors, pair.struct_errors, pair.score}) EXPECT_EQ(count % 2, 0);
    const std::string P = pair.pairPrefix("g");
    EXPECT_EQ(P, "g_12_3_0.5_1_1_3_0.5_25_25_1_6");
    for (const std::string side : {"A", "B"})
        for (const auto& [number, label] : nodeLabelsOf(P + side + ".csv")) EXPECT_EQ(label, 1);
    EXPECT_EQ(nodeLabelsOf(P + "A.csv").size(), 15u);
    EXPECT_EQ(knownMatching(P + ".csv").size(), 12u);
}

// The two models of common nodes: graph 2 renumbered by to_shuffle, which
// the known-matching file carries; q = 1 gives the same arcs on both sides.
TEST(GenGraphEarlierModels, CommonNodesCarryTheirCorrespondence) {
    for (int model : {0, 1}) {
        ScratchDir dir;
        CaptureStdout capture;
        srand15(77);  // the unlabelled model draws from the generator as it stands
        GenGraph pair = model == 0 ? GenGraph(10, 0.3, 1, 3, 0.5, "g", 2) : GenGraph(10, 0.3, 1, "g", 2);
        const std::string P = pair.pairPrefix("g");
        EXPECT_EQ(P, model == 0 ? "g_10_3_1_1_1_3_0.5_0_0_0_2" : "g_10_3_1_1_1_1_1_0_0_0_2");
        const std::map<int, int> known = knownMatching(P + ".csv");
        ASSERT_EQ(known.size(), 10u);
        std::map<int, int> expected;
        for (int i = 0; i < 10; ++i) expected[i] = pair.to_shuffle[i];
        EXPECT_EQ(known, expected);
        EXPECT_NE(pair.to_shuffle, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
        const auto arcs1 = arcsOf(P + "A.csv"), arcs2 = arcsOf(P + "B.csv");
        EXPECT_EQ(carried(arcs1, known), arcs2);
        EXPECT_GT(pair.m1, 0);
        EXPECT_EQ(pair.score, pair.m1);
        EXPECT_EQ(pair.struct_errors + pair.label_errors + pair.edge_errors, 0);
    }
}

TEST(GenGraphEarlierModels, UnlabelledArcs) {
    {
        // p = 0: no arc on either side.
        ScratchDir dir;
        CaptureStdout capture;
        GenGraph pair(8, 0.0, 0.3, "g", 1);
        EXPECT_EQ(pair.m1 + pair.m2, 0);
        EXPECT_EQ(test::lines(readFile(pair.pairPrefix("g") + "B.csv")).at(0), "8,0");
    }
    // Not seeded by the constructor: the same generator state gives the
    // same files, and the counts agree with the files.
    std::string first;
    for (int run = 0; run < 2; ++run) {
        ScratchDir dir;
        CaptureStdout capture;
        srand15(5);
        GenGraph pair(15, 0.4, 0.2, "g", 1);
        const std::string P = pair.pairPrefix("g");
        const std::string files = readFile(P + "A.csv") + readFile(P + "B.csv") + readFile(P + ".csv");
        if (run == 0) first = files;
        EXPECT_EQ(files, first);
        const std::map<int, int> known = knownMatching(P + ".csv");
        const auto arcs1 = arcsOf(P + "A.csv"), arcs2 = arcsOf(P + "B.csv");
        int differing = 0, shared = 0;
        for (const auto& [x1, y1] : known)
            for (const auto& [x2, y2] : known) {
                if (x1 == x2) continue;
                const bool a = arcs1.count({x1, x2}) > 0, b = arcs2.count({y1, y2}) > 0;
                differing += a != b;
                shared += a && b;
            }
        EXPECT_EQ(pair.struct_errors, differing);
        EXPECT_EQ(pair.edge_errors, differing);
        EXPECT_EQ(pair.score, shared);
        EXPECT_GT(differing * shared, 0);
        EXPECT_EQ(static_cast<int>(arcs1.size()), pair.m1);
    }
}

TEST(GenGraphDate, BrokenDownLocalTime) {
    std::tm may{};
    may.tm_year = 111;
    may.tm_mon = 4;
    may.tm_mday = 17;
    may.tm_hour = 9;
    may.tm_min = 5;
    may.tm_sec = 3;
    may.tm_isdst = -1;
    EXPECT_EQ(getMeDate(std::mktime(&may)), "111_4_17_9_5_3");
    const std::string now = getMeDate();
    EXPECT_EQ(std::count(now.begin(), now.end(), '_'), 5) << now;
}

}  // namespace
}  // namespace graphmat
