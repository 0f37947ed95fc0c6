// Noisy graph pairs and the edit-path log writer: the counts and lines of a
// log, the noise laws as the files show them, the files read back through
// the plain graph reader, and same seed same files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "generators/EditPathLog.h"
#include "generators/GraphNoise.h"
#include "graph/Graph.h"
#include "graph/OutputFiles.h"
#include "graph/Random.h"
#include "graph/stdafx.h"
#include "LogFields.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::CaptureStdout;
using test::readFile;
using test::ScratchDir;

// A scratch directory with the ./benchmark/ folder the generator writes to.
struct BenchmarkDir {
    ScratchDir dir;
    BenchmarkDir() { std::filesystem::create_directory("benchmark"); }
};

std::vector<std::string> fields(const std::string& line) { return test::logFields(line); }

// The non-empty lines of a file.
std::vector<std::string> linesOf(const std::string& path) {
    std::vector<std::string> result;
    for (const std::string& line : test::lines(readFile(path)))
        if (!line.empty()) result.push_back(line);
    return result;
}

// Lines of a log whose kind is `kind`.
std::vector<std::vector<std::string>> linesOfKind(const std::string& path, const std::string& kind) {
    std::vector<std::vector<std::string>> result;
    for (const std::string& line : linesOf(path))
        if (fields(line)[0] == kind) result.push_back(fields(line));
    return result;
}

// Draws a noisy pair (seeded) with its standard output captured.
std::string makePair(int k, int v, int epsi, unsigned seed, std::unique_ptr<GraphNoise>* keep = nullptr) {
    srand15(seed);
    CaptureStdout out;
    auto noise = std::make_unique<GraphNoise>(k, v, epsi);
    if (keep) *keep = std::move(noise);
    return out.text();
}

// Label of the arc from -> to in a graph read back from its file, 0 when none.
int arcLabel(const Graph& g, int from, int to) {
    const Edge* e = g.getEdge(from, to);
    return e ? std::atoi(e->label.c_str()) : 0;
}

std::unique_ptr<Graph> readBack(const std::string& path) {
    CaptureStdout quiet;
    return std::make_unique<Graph>(0, path);
}

TEST(GraphNoise, NoNoiseCopiesTheGraphUnderARenumbering) {
    BenchmarkDir scratch;
    const int n = 6;
    std::unique_ptr<GraphNoise> noise;
    const std::string out = makePair(7, n, 0, 3, &noise);
    EXPECT_NE(out.find("nodes written\n"), std::string::npos);
    EXPECT_NE(out.find("edges written\n"), std::string::npos);

    const std::string log = "./benchmark/log_7.txt";
    const std::vector<std::string> rows = linesOf(log);
    ASSERT_EQ(rows.size(), 3u + n);
    EXPECT_EQ(rows[0], "nd,0");
    EXPECT_EQ(rows[1], "esi," + std::to_string(n * (n - 1)));
    EXPECT_EQ(rows[2], "i,0");
    for (int i = 0; i < n; ++i) {
        const auto f = fields(rows[3 + i]);
        ASSERT_EQ(f.size(), 5u) << rows[3 + i];
        EXPECT_EQ(f[0], "n");
        EXPECT_EQ(f[1], std::to_string(i));
        EXPECT_EQ(f[2], std::to_string(noise->new_numbers[i]));
        EXPECT_EQ(f[3], f[4]);
    }

    // Both files read back: the log's correspondence carries every arc and
    // every vertex label of the original onto the noisy copy.
    auto original = readBack("./benchmark/original_7.txt");
    auto noisy = readBack("./benchmark/noisy_7.txt");
    ASSERT_EQ(original->vertices, n);
    ASSERT_EQ(noisy->vertices, n);
    EXPECT_EQ(original->edges, noisy->edges);
    for (int i = 0; i < n; ++i) {
        const int m = noise->new_numbers[i];
        EXPECT_EQ(noise->old_numbers[m], i);
        EXPECT_EQ(original->V[i]->label, noisy->V[m]->label);
        for (int j = 0; j < n; ++j) EXPECT_EQ(arcLabel(*original, i, j), arcLabel(*noisy, m, noise->new_numbers[j]));
    }
}

// The laws of the noise as the files and the log show them: labels move by
// 0 to 2|epsilon| (down for a positive amplitude, up for a negative one),
// clamped to 0..100; "a" lines only where labels rise, "m" lines exactly
// where an existing arc changed.
TEST(GraphNoise, TheNoiseLawsHoldOnTheFiles) {
    for (int epsi : {3, -3, 40}) {
        SCOPED_TRACE(epsi);
        BenchmarkDir scratch;
        const int n = 12;
        std::unique_ptr<GraphNoise> noise;
        makePair(1, n, epsi, 11, &noise);
        auto original = readBack("./benchmark/original_1.txt");
        auto noisy = readBack("./benchmark/noisy_1.txt");
        const std::string log = "./benchmark/log_1.txt";

        std::map<std::pair<int, int>, std::vector<std::string>> added, modified;
        for (const auto& f : linesOfKind(log, "a")) added[{std::stoi(f[2]), std::stoi(f[3])}] = f;
        for (const auto& f : linesOfKind(log, "m")) modified[{std::stoi(f[3]), std::stoi(f[4])}] = f;
        if (epsi > 0) {
            EXPECT_TRUE(added.empty());
        }

        int unchanged = 0;
        for (int c = 0; c < n; ++c) {
            const int y = std::atoi(noisy->V[c]->label.c_str());
            const int x = std::atoi(original->V[noise->old_numbers[c]]->label.c_str());
            const int change = epsi > 0 ? x - y : y - x;
            EXPECT_TRUE((change >= 0 && change <= 2 * std::abs(epsi)) || y == 0 || y == 100) << x << " -> " << y;
            for (int e = 0; e < n; ++e) {
                if (e == c) continue;
                const int oldLabel = arcLabel(*original, noise->old_numbers[c], noise->old_numbers[e]);
                const int newLabel = arcLabel(*noisy, c, e);
                if (oldLabel == newLabel) ++unchanged;
                const bool isAdded = added.count({c, e}) > 0, isModified = modified.count({c, e}) > 0;
                EXPECT_EQ(isAdded, oldLabel == 0 && newLabel != 0);
                EXPECT_EQ(isModified, oldLabel != 0 && newLabel != oldLabel);
                const std::pair<int, int> pair(c, e);
                if (isAdded) {
                    EXPECT_EQ(added[pair][1], std::to_string(newLabel));
                }
                if (isModified) {
                    EXPECT_EQ(modified[pair][1], std::to_string(oldLabel));
                    EXPECT_EQ(modified[pair][2], newLabel == 0 ? "" : std::to_string(newLabel));
                }
            }
        }
        EXPECT_EQ(linesOf(log)[1], "esi," + std::to_string(unchanged));
        EXPECT_EQ(noise->unChangedEdges, unchanged);
    }
}

TEST(GraphNoise, ASingleVertexGivesTheCountsAndOneVertexLine) {
    BenchmarkDir scratch;
    makePair(2, 1, 5, 1);
    const std::vector<std::string> rows = linesOf("./benchmark/log_2.txt");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], "nd,0");
    EXPECT_EQ(rows[1], "esi,0");
    EXPECT_EQ(rows[2], "i,0");
    EXPECT_EQ(fields(rows[3]).size(), 5u);
    EXPECT_EQ(rows[3].substr(0, 6), "n,0,0,");
    EXPECT_EQ(readFile("./benchmark/noisy_2.txt").substr(0, 4), "1,0\n");
}

TEST(GraphNoise, SameSeedSameFiles) {
    std::map<std::string, std::string> first;
    for (int run = 0; run < 2; ++run) {
        BenchmarkDir scratch;
        makePair(4, 9, 2, 77);
        for (const std::string name : {"original_4.txt", "noisy_4.txt", "log_4.txt"}) {
            const std::string text = readFile("./benchmark/" + name);
            if (run == 0)
                first[name] = text;
            else
                EXPECT_EQ(text, first[name]) << name;
        }
    }
}

TEST(GraphNoise, AMissingBenchmarkFolderIsNamed) {
    ScratchDir scratch;
    resetOutputFailed();
    test::CaptureStderr err;
    makePair(5, 3, 1, 1);
    EXPECT_TRUE(outputFailed());
    EXPECT_NE(err.text().find("./benchmark/log_5.txt"), std::string::npos);
    resetOutputFailed();
}

// ----------------------------------------------------------------- the writer

std::unique_ptr<Graph> handGraph(const std::vector<std::string>& labels,
                                 const std::vector<std::tuple<int, int, std::string>>& arcs) {
    auto g = std::make_unique<Graph>();
    for (std::size_t i = 0; i < labels.size(); ++i) {
        auto v = std::make_unique<Vertex>();
        v->number = static_cast<int>(i);
        v->label = labels[i];
        g->V.push_back(std::move(v));
    }
    g->vertices = static_cast<int>(labels.size());
    g->reinitEdges();
    CaptureStdout quiet;
    for (const auto& [from, to, label] : arcs) {
        auto e = std::make_unique<Edge>();
        e->setNumber(static_cast<int>(g->E.size()));
        e->setFrom(from);
        e->setTo(to);
        e->setLabel(label);
        g->insertEdge(std::move(e));
    }
    g->edges = static_cast<int>(g->E.size());
    return g;
}

TEST(EditPathLogWriter, AnArcThatVanishedHasAnEmptyNewLabel) {
    ScratchDir scratch;
    // Old vertices 0..5; new vertex i is old vertex 5 - i. The old arc
    // 2 -> 0 (new pair 3 -> 5) of label 4 fell away.
    auto oldGraph = handGraph({"a", "b", "c", "d", "e", "f"}, {{2, 0, "4"}});
    auto newGraph = handGraph({"f", "e", "d", "c", "b", "a"}, {});
    std::vector<int> newNumbers = {5, 4, 3, 2, 1, 0}, oldNumbers = {5, 4, 3, 2, 1, 0};
    std::vector<std::vector<std::string>> add(6, std::vector<std::string>(6)), modif = add;
    modif[3][5] = "*";
    const EditPath path{oldGraph.get(), newGraph.get(), &newNumbers, &oldNumbers, &add, &modif, 0, 29, 0};
    ASSERT_TRUE(writeEditPathLog(path, "log.txt", false));
    EXPECT_EQ(readFile("log.txt"),
              "nd,0\nesi,29\ni,0\nn,0,5,a,a\nn,1,4,b,b\nn,2,3,c,c\nn,3,2,d,d\nn,4,1,e,e\nn,5,0,f,f\nm,4,,3,5\n");
}

TEST(EditPathLogWriter, ADeletedVertexListsItsArcs) {
    ScratchDir scratch;
    // Old vertex 2 is deleted: its arcs (2 -> 7 and 0 -> 2, in its list's
    // order) follow its line. New vertex 7 is added and gains an arc.
    auto oldGraph = handGraph({"v0", "v1", "v2", "v3", "v4", "v5", "v6", "v7"}, {{2, 7, "1"}, {0, 2, "35"}});
    auto newGraph = handGraph({"v0", "v1", "v3", "v4", "v5", "v6", "v7", "add"}, {{7, 0, "2"}});
    std::vector<int> newNumbers = {0, 1, -1, 2, 3, 4, 5, 6}, oldNumbers = {0, 1, 3, 4, 5, 6, 7, -1};
    std::vector<std::vector<std::string>> add(8, std::vector<std::string>(8)), modif = add;
    add[7][0] = "2";
    const EditPath path{oldGraph.get(), newGraph.get(), &newNumbers, &oldNumbers, &add, &modif, 1, 0, 1};
    ASSERT_TRUE(writeEditPathLog(path, "log.txt", false));
    const std::vector<std::string> rows = linesOf("log.txt");
    ASSERT_EQ(rows.size(), 3u + 8 + 2 + 1);
    EXPECT_EQ(rows[0], "nd,1");
    EXPECT_EQ(rows[2], "i,1");
    EXPECT_EQ(rows[5], "n,2,-1,v2");
    EXPECT_EQ(rows[6], "d,1,2,7");
    EXPECT_EQ(rows[7], "d,35,0,2");
    EXPECT_EQ(rows[8], "n,3,2,v3,v3");
    EXPECT_EQ(rows.back(), "a,2,7,0");
}

TEST(EditPathLogWriter, ACommaInALabelNeverShiftsTheFields) {
    ScratchDir scratch;
    auto oldGraph = handGraph({"f(int,int)"}, {});
    auto newGraph = handGraph({"f(int,long)"}, {});
    std::vector<int> numbers = {0};
    EditPath path;  // no marks
    path.oldGraph = oldGraph.get();
    path.newGraph = newGraph.get();
    path.new_numbers = path.old_numbers = &numbers;
    ASSERT_TRUE(writeEditPathLog(path, "log.txt", false));
    EXPECT_EQ(linesOf("log.txt").back(), "n,0,0,f(int;int),f(int;long)");
}

TEST(EditPathLogWriter, AFileThatCannotBeOpenedIsAFailure) {
    ScratchDir scratch;
    auto g = handGraph({"x"}, {});
    std::vector<int> numbers = {0};
    EditPath path;  // no marks
    path.oldGraph = path.newGraph = g.get();
    path.new_numbers = path.old_numbers = &numbers;
    test::CaptureStderr err;
    resetOutputFailed();
    EXPECT_FALSE(writeEditPathLog(path, "missing/log.txt", false));
    EXPECT_NE(err.text().find("missing/log.txt"), std::string::npos);
    resetOutputFailed();
}

}  // namespace
}  // namespace graphmat
