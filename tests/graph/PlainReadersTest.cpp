// Plain graph files (mode 0), binary graph files (modes 1 and 2), named edge
// lists (mode 3), edge list graph files (mode 6) and graph texts (mode 7).
#include <gtest/gtest.h>

#include "GraphDump.h"

namespace graphmat::test {
namespace {

const std::string FILL_RELATIONS_5 = "\n\n\n5\n\n\n";

TEST(PlainGraphFile, VertexLinesByNumberAndBadLines) {
    ScratchDir dir;
    const std::string path = fixture("graph/plain.csv");
    ReadGraph r = readGraph(0, path);
    const Graph& g = *r.graph;
    EXPECT_EQ(vertexTable(g),
              "0 | 0 | A2 | \n"
              "1 | 0 | B | \n"
              "2 | 0 | C | \n"
              "3 | 0 |  | \n"
              "4 | 0 |  | \n"
              "5 | 0 |  | \n");
    EXPECT_EQ(edgeTable(g),
              "0 | 1 | 1 | -1 | 0\n"
              "1 | 2 | 34 | -1 | 1\n"
              "2 | 2 | 12 | -1 | 4\n");
    EXPECT_EQ(r.out, fileHeader(path, 0) +
                         "\n Vertex out of range: 7,X[6] !!!!"
                         "\n Missing Vertex: 3 !!!!"
                         "\n Missing Vertex: 4 !!!!"
                         "\n Missing Vertex: 5 !!!!"
                         "\n Node does not exist: 0,7(2) !!!!"
                         "\n ****************\n ***12***\n ****************"
                         "\n Acquisition Input Done" +
                         FILL_RELATIONS_5);
    EXPECT_EQ(g.vertices, 6);
    EXPECT_EQ(g.edges, 3);
    // The second line for vertex 0 replaced the first, weights included.
    EXPECT_FLOAT_EQ(g.V[0]->weight[0], 1.5f);
    EXPECT_FLOAT_EQ(g.V[0]->weight[1], -1.0f);
    EXPECT_FLOAT_EQ(g.getEdge(1, 2)->weight[0], 0.25f);
    EXPECT_EQ(g.getEdge(1, 2)->labels[3], 1);
    EXPECT_EQ(g.getEdge(1, 2)->labels[4], 1);
    // Ranked per label digit after reading.
    EXPECT_EQ(g.uu.size(), 5u);
    EXPECT_EQ(g.uu[4].size(), 6u);
    EXPECT_FALSE(g.hasRanking);
}

TEST(PlainGraphFile, SmallFiles) {
    struct Case {
        const char* name;
        const char* content;
        const char* vertices;
        const char* edges;
        const char* messages;  // between "Mode 0\n" and "\n Acquisition Input Done"
        int labelCount;
        float weight0;  // weight slot 0 of vertex 0, when there is one
    };
    const Case cases[] = {
        {"shuffled vertex lines", "3,2\n2,C\n0,A,0.5\n1,B\n0,1,1\n1,2,3\n",
         "0 | 0 | A | \n1 | 0 | B | \n2 | 0 | C | \n", "0 | 1 | 1 | -1 | 0\n1 | 2 | 3 | -1 | 1\n", "", 4, 0.5f},
        // The header's count decides: the first edge line is read as vertex 0.
        {"overstated header", "2,1\n0,A\n0,1,1\n1,0,2\n", "0 | 0 | 1 | \n1 | 0 |  | \n",
         "1 | 0 | 2 | -1 | 0\n", "\n Missing Vertex: 1 !!!!", 3, 1.0f},
        {"negative count", "-2,0\n0,1,1\n", "", "", "\n Node does not exist: 0,1(1) !!!!", 1, 0},
        {"crlf", "2,1\r\n0,A\r\n1,B\r\n0,1,2\r\n", "0 | 0 | A | \n1 | 0 | B | \n", "0 | 1 | 2 | -1 | 0\n", "", 3, -1.0f},
        // One of the two vertex lines missing: an unlabelled vertex stands in.
        {"one vertex line missing", "2,0\n0,A\n", "0 | 0 | A | \n1 | 0 |  | \n", "", "\n Missing Vertex: 1 !!!!", 3,
         -1.0f},
        // A header announcing more vertex lines than twice the file's lines
        // makes no table (the file is refused: most of it is missing).
        {"header only", "3,0\n", "", "", "", 1, -1.0f},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile("g.csv", c.content);
        ReadGraph r = readGraph(0, "g.csv");
        EXPECT_EQ(vertexTable(*r.graph), c.vertices);
        EXPECT_EQ(edgeTable(*r.graph), c.edges);
        EXPECT_EQ(r.out, fileHeader("g.csv", 0) + c.messages + "\n Acquisition Input Done\n\n\n" +
                             to_string(c.labelCount) + "\n\n\n");
        if (!r.graph->V.empty()) {
            EXPECT_FLOAT_EQ(r.graph->V[0]->weight[0], c.weight0);
        }
    }
}

TEST(PlainGraphFile, WrittenGraphReadsBack) {
    ScratchDir dir;
    ReadGraph first = readGraph(0, fixture("graph/plain.csv"));
    first.graph->write(0, "copy.csv");
    EXPECT_EQ(readFile("copy.csv"),
              "6,3\n0,A2,1.5\n1,B\n2,C\n3,\n4,\n5,\n0,1,1\n1,2,34,0.25\n2,2,12\n");
    ReadGraph second = readGraph(0, "copy.csv");
    EXPECT_EQ(vertexTable(*second.graph), vertexTable(*first.graph));
    for (std::size_t i = 0; i < first.graph->E.size(); ++i) {
        const Edge& a = *first.graph->E[i];
        const Edge& b = *second.graph->E[i];
        EXPECT_EQ(b.from, a.from);
        EXPECT_EQ(b.to, a.to);
        EXPECT_EQ(b.label, a.label);
        EXPECT_EQ(b.labels, a.labels);
        EXPECT_FLOAT_EQ(b.weight[0], a.weight[0]);
    }
}

TEST(BinaryGraphFile, UnlabelledStopsAtTheEndOfTheFile) {
    ScratchDir dir;
    const std::string path = fixture("graph/unlabelled.bin");
    ReadGraph r = readGraph(1, path);
    const Graph& g = *r.graph;
    EXPECT_EQ(vertexTable(g), "0 | 0 | 0 | \n1 | 0 | 1 | \n2 | 0 | 2 | \n");
    EXPECT_EQ(edgeTable(g), "0 | 1 | 1 | -1 | 0\n0 | 2 | 1 | -1 | 1\n2 | 0 | 1 | -1 | 3\n");
    EXPECT_EQ(r.out, fileHeader(path, 1) +
                         "\n Node does not exist: 1,5(1) !!!!\n Acquisition Input Done\n Fill Neighbors");
    for (const auto& v : g.V) {
        EXPECT_EQ(v->weight[0], 0.0f);
        EXPECT_EQ(v->weight[1], 0.0f);
        EXPECT_EQ(v->weight[2], -1.0f);
    }
}

TEST(BinaryGraphFile, LabelledTakesTheAttributeModuloFourPlusOne) {
    ScratchDir dir;
    const std::string path = fixture("graph/labelled.bin");
    ReadGraph r = readGraph(2, path);
    EXPECT_EQ(vertexTable(*r.graph), "0 | 0 | 0 | \n1 | 0 | 1 | \n2 | 0 | 2 | \n");
    // Attribute 7 gives '4', 8 gives '1', 3 gives '4'; the last arc lacks its
    // attribute word and is dropped.
    EXPECT_EQ(edgeTable(*r.graph), "0 | 1 | 4 | -1 | 0\n0 | 2 | 1 | -1 | 1\n1 | 1 | 4 | -1 | 2\n");
    EXPECT_EQ(r.out, fileHeader(path, 2) + "\n Acquisition Input Done\n Fill Neighbors");
}

TEST(BinaryGraphFile, ShortFiles) {
    ScratchDir dir;
    writeFile("two.bin", std::string("\x02\x00\x01\x00\x01\x00\x00\x00", 8));
    ReadGraph two = readGraph(1, "two.bin");
    EXPECT_EQ(vertexTable(*two.graph), "0 | 0 | 0 | \n1 | 0 | 1 | \n");
    EXPECT_EQ(edgeTable(*two.graph), "0 | 1 | 1 | -1 | 0\n");

    writeFile("odd.bin", std::string("\x05", 1));
    ReadGraph odd = readGraph(2, "odd.bin");
    EXPECT_TRUE(odd.graph->V.empty());
    // Vertices are known from the first word even when the rest is missing.
    writeFile("count.bin", std::string("\x02\x00", 2));
    ReadGraph count = readGraph(2, "count.bin");
    EXPECT_EQ(count.graph->vertices, 2);
    EXPECT_TRUE(count.graph->E.empty());
}

TEST(NamedEdgeList, NamesBecomeVerticesAndArcsGoBothWays) {
    ScratchDir dir;
    const std::string path = fixture("graph/named.csv");
    ReadGraph r = readGraph(3, path);
    const Graph& g = *r.graph;
    EXPECT_EQ(vertexTable(g), "0 | 0 | a | \n1 | 0 | b | \n2 | 0 | c | \n3 | 0 |  b | \n");
    EXPECT_EQ(edgeTable(g),
              "0 | 1 | 14 | -1 | 0\n"
              "1 | 0 | 14 | -1 | 1\n"
              "1 | 2 | 2 | -1 | 2\n"
              "2 | 1 | 2 | -1 | 3\n"
              "0 | 0 | 33 | -1 | 4\n"
              "3 | 2 | 5 | -1 | 8\n"
              "2 | 3 | 5 | -1 | 9\n");
    EXPECT_EQ(r.out, fileHeader(path, 3) + "\n Acquisition Input Done\n Fill Neighbors");
    EXPECT_EQ(g.vertices, 4);
    EXPECT_EQ(g.nodeNumbers.size(), 4u);
    EXPECT_EQ(g.nodeNumbers.at(" b"), 3);
    EXPECT_EQ(g.V[0]->weight[1], 0.0f);
    EXPECT_FALSE(g.classes);
    EXPECT_EQ(g.root, -1);
}

TEST(EdgeListGraphFile, NumberedVerticesAndEdgeLines) {
    ScratchDir dir;
    const std::string path = fixture("graph/edgelist.csv");
    ReadGraph r = readGraph(6, path);
    const Graph& g = *r.graph;
    EXPECT_EQ(vertexTable(g), "0 | 0 | 0 | \n1 | 0 | 1 | \n2 | 0 | 2 | \n3 | 0 | 3 | \n");
    EXPECT_EQ(edgeTable(g), "0 | 1 | 1 | -1 | 0\n1 | 2 | 2 | -1 | 1\n2 | 3 | 9 | -1 | 2\n");
    EXPECT_EQ(r.out, fileHeader(path, 6) + "\n Node does not exist: 3,9(1) !!!!\n Acquisition Input Done" +
                         FILL_RELATIONS_5);
    EXPECT_FLOAT_EQ(g.getEdge(1, 2)->weight[0], 0.5f);
    EXPECT_EQ(g.V[0]->weight[0], -1.0f);
    EXPECT_EQ(g.uu.size(), 10u);
    EXPECT_EQ(g.uu_stats.size(), 10u);
}

TEST(GraphText, CommandsRelabelAndAddArcs) {
    ScratchDir dir;
    std::string text = readFile(fixture("graph/text.txt"));
    CaptureStdout capture;
    Graph g(7, text);
    EXPECT_EQ(capture.text(), "\n\n\n4\n\n\n");
    EXPECT_EQ(vertexTable(g), "0 | 0 | Root | \n1 | 0 | 1 | \n2 | 0 | 2 | \n");
    EXPECT_EQ(edgeTable(g), "0 | 2 | 5 | -1 | 0\n2 | 1 | 1 | -1 | 1\n");
    EXPECT_EQ(g.E[1]->weight[0], -1.0f);
    EXPECT_EQ(g.name, "sample");
    EXPECT_EQ(g.vertices, 3);
    EXPECT_EQ(g.edges, 2);
    EXPECT_TRUE(g.hasRanking);
    EXPECT_EQ(g.u.size(), 3u);
}

TEST(GraphText, ShortAndEmptyTexts) {
    ScratchDir dir;
    CaptureStdout capture;
    Graph example(7, "3,1\nc,0,Root\ne,0,2,5\n");
    EXPECT_EQ(vertexTable(example), "0 | 0 | Root | \n1 | 0 | 1 | \n2 | 0 | 2 | \n");
    EXPECT_EQ(edgeTable(example), "0 | 2 | 5 | -1 | 0\n");

    Graph empty(7, "");
    EXPECT_EQ(empty.vertices, 0);
    EXPECT_FALSE(empty.reading.verdict.nothingRead()) << "an empty text is an empty graph";
    Graph blank(7, " \n\t\n");
    EXPECT_FALSE(blank.reading.verdict.nothingRead());
    EXPECT_TRUE(empty.u.empty());
    EXPECT_EQ(empty.mean_u, 0.0);
    EXPECT_EQ(empty.std_u, 0.0);
    EXPECT_EQ(empty.maxi_u, 0.0);

    Graph oneField(7, "2\ne,0,1,3");
    EXPECT_EQ(oneField.vertices, 2);
    EXPECT_EQ(edgeTable(oneField), "0 | 1 | 3 | -1 | 0\n");

    // A text without its header (a file's path, most often) is nothing to
    // work on: named on standard error.
    CaptureStderr errors;
    Graph badHeader(7, "x,1\ne,0,1,3");
    EXPECT_EQ(badHeader.vertices, 0);
    EXPECT_TRUE(badHeader.E.empty());
    EXPECT_TRUE(badHeader.reading.verdict.nothingRead());
    Graph path(7, "examples/shop-v1.txt");
    EXPECT_TRUE(path.reading.verdict.nothingRead());
    EXPECT_EQ(errors.text(),
              "Graph text \"x,1\": no header VERTICES,EDGES; reader mode 7 reads the text itself as the graph, not a "
              "file\nGraph text \"examples/shop-v1.txt\": no header VERTICES,EDGES; reader mode 7 reads the text "
              "itself as the graph, not a file\n");
    EXPECT_TRUE(example.reading.verdict.nothingRead() == false && oneField.reading.verdict.nothingRead() == false);
    capture.text();
}

}  // namespace
}  // namespace graphmat::test
