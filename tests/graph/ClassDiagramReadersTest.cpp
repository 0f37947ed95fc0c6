// Class diagram files read line by line: classes with their members inside
// (mode 4), classes and relations only (mode 5), and the package tree with
// levels and containment arcs (mode 8).
#include <gtest/gtest.h>

#include "GraphDump.h"

namespace graphmat::test {
namespace {

const std::string FILL = "\n Acquisition Input Done\n Fill Neighbors";

// The keys of a member map, in order.
template <class Map>
std::string keys(const Map& members) {
    std::string text;
    for (const auto& [key, member] : members) text += key + ";";
    return text;
}

// The index entry of a vertex, or "<none>".
std::string indexKeyOf(const Graph& g, int vertex) {
    for (const auto& [key, number] : *g.classes)
        if (number == vertex) return key;
    return "<none>";
}

TEST(ClassDiagramMode4, ClassesMembersAndRelations) {
    ScratchDir dir;
    const std::string path = fixture("graph/class-diagram.txt");
    ReadGraph r = readGraph(4, path);
    const Graph& g = *r.graph;

    EXPECT_EQ(vertexTable(g),
              "0 | 1 | app.model.Item | \n"
              "1 | 1 | app.Shop | \n"
              "2 | 1 | Main | \n");
    // The second relation from 2 to 1 folds into the first edge.
    EXPECT_EQ(edgeTable(g),
              "1 | 0 | 1 | -1 | 0\n"
              "2 | 1 | 23 | -1 | 1\n");
    EXPECT_EQ(r.out, fileHeader(path, 4) + FILL);
    EXPECT_EQ(g.vertices, 3);
    EXPECT_EQ(g.edges, 2);
    EXPECT_EQ(g.root, -1);
    EXPECT_EQ(g.nbClasses, 0);
    for (const auto& v : g.V) EXPECT_EQ(v->level, 0);

    ASSERT_TRUE(g.classes);
    EXPECT_EQ(g.classes->size(), 3u);
    EXPECT_EQ(indexKeyOf(g, 0), "Item");
    EXPECT_EQ(indexKeyOf(g, 1), "Shop");
    EXPECT_EQ(indexKeyOf(g, 2), "Main");

    // Members stay inside their class, two with one key both kept.
    EXPECT_EQ(keys(g.V[1]->attributes), "app.model.Item_last;int_count;int_count;");
    EXPECT_EQ(keys(g.V[1]->methods), "app.model.Item_buy;");
    EXPECT_EQ(g.V[1]->methods.begin()->second->inputs, "app.model.Item,int");
    EXPECT_EQ(g.V[1]->attributes.begin()->second->visibility, 0);
    EXPECT_EQ(keys(g.V[2]->methods), "void_main;");
    EXPECT_TRUE(g.V[0]->attributes.empty() && g.V[0]->methods.empty());

    EXPECT_FLOAT_EQ(g.V[0]->weight[0], 1.5f);
    EXPECT_FLOAT_EQ(g.V[0]->weight[1], 2.0f);
    EXPECT_FLOAT_EQ(g.V[0]->weight[2], -1.0f);
    EXPECT_FLOAT_EQ(g.getEdge(1, 0)->weight[0], 0.75f);
    for (int i = 0; i < g.vertices; ++i) ASSERT_TRUE(g.V[i]->nodes && g.V[i]->nodes->count(i));
}

TEST(ClassDiagramMode4, BadLinesAreSkippedOrReported) {
    ScratchDir dir;
    const std::string path = fixture("graph/class-diagram-faults.txt");
    ReadGraph r = readGraph(4, path);
    const Graph& g = *r.graph;

    // Classes keep their positions as numbers; a class without a label has
    // no index entry.
    EXPECT_EQ(vertexTable(g),
              "0 | 1 | a.A | \n"
              "1 | 1 | a.B | \n"
              "2 | 1 |  | \n");
    EXPECT_EQ(g.classes->size(), 2u);
    // A relation read before its classes is refused (and uses up number 0);
    // lines without a readable end or label use no number.
    EXPECT_EQ(edgeTable(g), "0 | 1 | 112 | -1 | 1\n");
    EXPECT_EQ(r.out, fileHeader(path, 4) +
                         "\n Node does not exist: 0,1(1) !!!!"
                         "\n Order Problem: x,a.B[1]"
                         "\n Order Problem: 7,[2]"
                         "\n Class does not exist: a,5,int@n !!!!"
                         "\n Class does not exist: a,x,int@n !!!!"
                         "\n Class does not exist: m,-1,void@f@() !!!!"
                         "\n ****************\n ***12***\n ****************"
                         "\n Node does not exist: 0,9(2) !!!!" +
                         FILL);
    EXPECT_TRUE(g.V[0]->methods.empty() && g.V[1]->attributes.empty());
    EXPECT_EQ(keys(g.V[2]->methods), "void_g;");
}

TEST(ClassDiagramMode5, ClassesAndRelationsOnly) {
    ScratchDir dir;
    const std::string path = fixture("graph/class-diagram.txt");
    ReadGraph r = readGraph(5, path);
    const Graph& g = *r.graph;
    EXPECT_EQ(vertexTable(g),
              "0 | 0 | app.model.Item | \n"
              "1 | 0 | app.Shop | \n"
              "2 | 0 | Main | \n");
    EXPECT_EQ(edgeTable(g),
              "1 | 0 | 1 | -1 | 0\n"
              "2 | 1 | 23 | -1 | 1\n");
    EXPECT_EQ(r.out, fileHeader(path, 5) + FILL);
    EXPECT_FALSE(g.classes);
    for (const auto& v : g.V) EXPECT_TRUE(v->attributes.empty() && v->methods.empty());

    // Member lines, even bad ones, change nothing.
    writeFile("members.txt", "1,0\nc,0,A\na,0,int@x\na,9,int@y\nm,0,void@f@()\n");
    writeFile("bare.txt", "1,0\nc,0,A\n");
    ReadGraph withMembers = readGraph(5, "members.txt");
    ReadGraph bare = readGraph(5, "bare.txt");
    EXPECT_EQ(vertexTable(*withMembers.graph), vertexTable(*bare.graph));
    EXPECT_EQ(withMembers.out, fileHeader("members.txt", 5) + FILL);
}

const std::string ROUNDS_1 = "\n ROUND 1: START \n\n ROUND 1: END \n";
const std::string ROUND_2 = "\n ROUND 2: START \n\n ROUND 2: END \n";
const std::string ROUND_3_START = "\n ROUND 3: START \n";
const std::string ROUND_3_END = "\n ROUND 3: END \n";

// One line per vertex: number | type | label | level.
std::string levelTable(const Graph& g) {
    std::string table;
    for (const auto& v : g.V)
        table += to_string(v->number) + " | " + to_string(v->type) + " | " + v->label + " | " + to_string(v->level) +
                 "\n";
    return table;
}

const char* const PACKAGE_LEVELS =
    "0 | 1 | app.model.Item | 3\n"
    "1 | 1 | app.Shop | 2\n"
    "2 | 1 | Main | 1\n"
    "3 | 0 | . | 0\n"
    "4 | 0 | app | 1\n"
    "5 | 0 | app.model | 2\n";

const char* const PACKAGE_EDGES =
    "0 | 5 | 3 | -1 | 0\n"
    "1 | 4 | 3 | -1 | 1\n"
    "2 | 3 | 3 | -1 | 2\n"
    "4 | 3 | 3 | -1 | 3\n"
    "5 | 4 | 3 | -1 | 4\n";

TEST(ClassDiagramMode8, PackageTreeLevelsAndContainment) {
    ScratchDir dir;
    const std::string path = fixture("graph/class-diagram-packages.txt");
    ReadGraph r = readGraph(8, path);
    const Graph& g = *r.graph;
    EXPECT_EQ(levelTable(g), PACKAGE_LEVELS);
    EXPECT_EQ(edgeTable(g), PACKAGE_EDGES);
    EXPECT_EQ(r.out, fileHeader(path, 8) + ROUNDS_1 + ROUND_2 + ROUND_3_START + ROUND_3_END + FILL);
    EXPECT_EQ(g.root, -1);
    // Only the classes are indexed; members are read as in mode 4.
    EXPECT_EQ(g.classes->size(), 3u);
    EXPECT_EQ(indexKeyOf(g, 0), "Item");
    EXPECT_EQ(indexKeyOf(g, 3), "<none>");
    EXPECT_EQ(keys(g.V[0]->attributes), "int_count;");
    for (int i = 0; i < g.vertices; ++i) ASSERT_TRUE(g.V[i]->nodes && g.V[i]->nodes->count(i));
}

// A header that miscounts the classes is reported; the graph is built from
// the classes read.
TEST(ClassDiagramMode8, HeaderThatMiscountsTheClasses) {
    struct Case {
        const char* header;
        const char* message;
    };
    const Case cases[] = {
        {"3,0", ""},
        {"1,0", "\n!!!!!!!!!!!!!!!!!!!!!! \tHeader: 1 classes, 3 read\n"},
        {"9,0", "\n!!!!!!!!!!!!!!!!!!!!!! \tHeader: 9 classes, 3 read\n"},
        {"x", "\n!!!!!!!!!!!!!!!!!!!!!! \tHeader: x classes, 3 read\n"},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        writeFile("d.txt", std::string(c.header) + "\nc,0,app.model.Item\nc,1,app.Shop\nc,2,Main\n");
        ReadGraph r = readGraph(8, "d.txt");
        EXPECT_EQ(levelTable(*r.graph), PACKAGE_LEVELS);
        EXPECT_EQ(edgeTable(*r.graph), PACKAGE_EDGES);
        EXPECT_EQ(r.out, fileHeader("d.txt", 8) + ROUNDS_1 + c.message + ROUND_2 + ROUND_3_START + ROUND_3_END + FILL);
    }
}

TEST(ClassDiagramMode8, EmptyFilesGiveTheRootPackageAlone) {
    ScratchDir dir;
    for (const char* content : {"0,0\n", ""}) {
        writeFile("d.txt", content);
        ReadGraph r = readGraph(8, "d.txt");
        EXPECT_EQ(levelTable(*r.graph), "0 | 0 | . | 0\n");
        EXPECT_TRUE(r.graph->E.empty());
        EXPECT_EQ(r.out, fileHeader("d.txt", 8) + ROUNDS_1 + ROUND_2 + ROUND_3_START + ROUND_3_END + FILL);
    }
}

// A label that begins with "." hangs below "."; empty package names inside
// a path still form a chain of packages.
TEST(ClassDiagramMode8, LabelsWithEmptyPackageNames) {
    ScratchDir dir;
    writeFile("d.txt", "2,1\nc,0,.Hidden\nc,1,a..B\nr,1,0,2\n");
    ReadGraph r = readGraph(8, "d.txt");
    const Graph& g = *r.graph;
    EXPECT_EQ(levelTable(g),
              "0 | 1 | .Hidden | 2\n"
              "1 | 1 | a..B | 3\n"
              "2 | 0 | . | 0\n"
              "3 | 0 | a | 1\n"
              "4 | 0 | a. | 2\n");
    EXPECT_EQ(edgeTable(g),
              "1 | 0 | 2 | -1 | 0\n"
              "0 | 2 | 3 | -1 | 1\n"
              "1 | 4 | 3 | -1 | 2\n"
              "3 | 2 | 3 | -1 | 3\n"
              "4 | 3 | 3 | -1 | 4\n");
    EXPECT_EQ(r.out, fileHeader("d.txt", 8) + ROUNDS_1 + ROUND_2 + ROUND_3_START +
                         "\n!!!!!!!!!!!!!!!!!!!!!! \t.Hidden(2) --> .(0)\n" + ROUND_3_END + FILL);
}

}  // namespace
}  // namespace graphmat::test

namespace graphmat::test {
namespace {

// One line per vertex: number | type | label | level | specif.
std::string memberTable(const Graph& g) {
    std::string table;
    for (const auto& v : g.V)
        table += to_string(v->number) + " | " + to_string(v->type) + " | " + v->label + " | " + to_string(v->level) +
                 " | " + v->specif + "\n";
    return table;
}

std::string indexKeys(const Graph& g) {
    std::string text;
    for (int i = 0; i < static_cast<int>(g.V.size()); ++i) text += indexKeyOf(g, i) + ";";
    return text;
}

// The header line and a relation line before its classes change nothing.
TEST(ClassDiagramMode9, MembersAsVerticesWithDerivedRelations) {
    ScratchDir dir;
    const std::string path = fixture("graph/class-diagram-members.txt");
    ReadGraph r = readGraph(9, path);
    const Graph& g = *r.graph;
    EXPECT_EQ(memberTable(g),
              "0 | 1 | app.Item | 2 | \n"
              "1 | 1 | app.Shop | 2 | \n"
              "2 | 0 | . | 0 | \n"
              "3 | 0 | app | 1 | \n"
              "4 | 2 | app.Shop.buy | 3 | ,app.Item,buy,\n"
              "5 | 3 | app.Shop.last | 3 | ,app.Item,last\n");
    EXPECT_EQ(edgeTable(g),
              "1 | 0 | 1 | 1 | 0\n"
              "1 | 4 | 9 | 2 | 1\n"
              "4 | 0 | 8 | 2 | 2\n"
              "1 | 5 | 9 | 3 | 3\n"
              "5 | 0 | 6 | 3 | 4\n"
              "3 | 0 | 9 | 1 | 5\n"
              "3 | 1 | 9 | 1 | 6\n"
              "2 | 3 | 9 | 0 | 7\n");
    EXPECT_EQ(r.out, fileHeader(path, 9) + FILL);
    EXPECT_EQ(g.root, 2);
    EXPECT_EQ(g.nbClasses, 2);
    EXPECT_EQ(g.nbPackages, 2);
    EXPECT_EQ(g.nbMethods, 1);
    EXPECT_EQ(g.nbAttributes, 1);
    EXPECT_EQ(indexKeys(g), "Item;Shop;;app;buy;last;");
    for (int i = 0; i < g.vertices; ++i) ASSERT_TRUE(g.V[i]->nodes && g.V[i]->nodes->count(i));
}

TEST(ClassDiagramMode9, BadLinesAndTurnedContainment) {
    ScratchDir dir;
    writeFile("d.txt",
              "c,0,Main\n"
              "c,5,app.Item\n"
              "c,2,app.Shop\n"
              "m,2,app.Item@sell@(app.Item,int)\n"
              "m,7,void@lost@()\n"
              "a,x,int@n\n"
              "m,1\n"
              "r,0,2,9\n"
              "r,0,99,1\n"
              "r,0\n");
    ReadGraph r = readGraph(9, "d.txt");
    const Graph& g = *r.graph;
    // The class out of order keeps its position as its number; a class
    // without "." hangs below "." with no package of its own.
    EXPECT_EQ(memberTable(g),
              "0 | 1 | Main | 1 | \n"
              "1 | 1 | app.Item | 2 | \n"
              "2 | 1 | app.Shop | 2 | \n"
              "3 | 0 | . | 0 | \n"
              "4 | 0 | app | 1 | \n"
              "5 | 2 | app.Shop.sell | 3 | ,app.Item,sell,app.Item,int\n");
    // The file's containment turns around; return type and parameter of one
    // class make one edge with the digits 8 and 7.
    EXPECT_EQ(edgeTable(g),
              "2 | 0 | 9 | 1 | 0\n"
              "2 | 5 | 9 | 2 | 2\n"
              "5 | 1 | 87 | 2 | 3\n"
              "3 | 0 | 9 | 1 | 5\n"
              "4 | 1 | 9 | 1 | 6\n"
              "4 | 2 | 9 | 1 | 7\n"
              "3 | 4 | 9 | 0 | 8\n");
    EXPECT_EQ(r.out, fileHeader("d.txt", 9) +
                         "\n Class does not exist: m,7,void@lost@() !!!!"
                         "\n Class does not exist: a,x,int@n !!!!"
                         "\n Order Problem: 5,app.Item[1]"
                         "\n Node does not exist: 0,99(1) !!!!" +
                         FILL);
    EXPECT_EQ(g.root, 3);
    EXPECT_EQ(g.nbMethods, 1);
    EXPECT_EQ(g.nbAttributes, 0);
}

TEST(ClassDiagramMode9, EmptyFileGivesTheRootPackage) {
    ScratchDir dir;
    writeFile("d.txt", "");
    ReadGraph r = readGraph(9, "d.txt");
    EXPECT_EQ(memberTable(*r.graph), "0 | 0 | . | 0 | \n");
    EXPECT_EQ(r.graph->root, 0);
    EXPECT_TRUE(r.graph->E.empty());
}

}  // namespace
}  // namespace graphmat::test
