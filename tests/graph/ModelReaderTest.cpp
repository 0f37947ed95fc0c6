// Model graph files: vertices, member naming, derived typing relations,
// consistency messages, package qualification and malformed lines.
#include <gtest/gtest.h>

#include "GraphDump.h"

namespace graphmat::test {
namespace {

const char* const BASIC_VERTICES =
    "0 | 0 | . | \n"
    "1 | 0 | app | \n"
    "2 | 0 | app.model | \n"
    "3 | 0 | app.util | \n"
    "4 | 0 | app.application | \n"
    "5 | 1 | app.model.Shop | \n"
    "6 | 1 | app.model.Item | \n"
    "7 | 1 | app.model.Shop.Cart | \n"
    "8 | 2 | app.model.Shop.buy | public,app.model.Item,buy,app.model.Item,int\n"
    "9 | 2 | app.model.Shop.Cart.clear | static,void,clear,\n"
    "10 | 3 | app.model.Shop.last | private,app.model.Item,last\n"
    "11 | 3 | app.model.Shop.Cart.count | ,int,count\n"
    "12 | 2 | void@helper@() | ,void,helper,\n";

const char* const BASIC_EDGES =
    "0 | 1 | 9 | 0 | 0\n"
    "1 | 2 | 9 | 0 | 1\n"
    "1 | 3 | 9 | 0 | 2\n"
    "1 | 4 | 9 | 0 | 3\n"
    "2 | 5 | 9 | 0 | 4\n"
    "2 | 6 | 9 | 0 | 5\n"
    "2 | 7 | 9 | 0 | 6\n"
    "5 | 8 | 9 | 1 | 7\n"
    "7 | 9 | 9 | 1 | 8\n"
    "5 | 10 | 9 | 1 | 9\n"
    "7 | 11 | 9 | 1 | 10\n"
    "8 | 10 | 5 | 2 | 11\n"
    "9 | 11 | 5 | 2 | 12\n"
    "5 | 6 | 3 | 1 | 13\n"
    "7 | 5 | 1 | 1 | 14\n"
    "8 | 8 | 4 | 2 | 15\n"
    "8 | 6 | 87 | 2 | 16\n"
    "10 | 6 | 6 | 3 | 18\n";

TEST(ModelReader, ReadsAWellFormedModel) {
    ScratchDir dir;
    const std::string path = fixture("graph/model-basic.txt");
    ReadGraph r = readGraph(12, path);
    const Graph& g = *r.graph;

    EXPECT_EQ(vertexTable(g), BASIC_VERTICES);
    EXPECT_EQ(edgeTable(g), BASIC_EDGES);
    EXPECT_EQ(r.out, fileHeader(path, 12) + "\n Isolated Method: 12,void@helper@() !!!!" +
                         "\n Acquisition Input Done\n Fill Neighbors");

    EXPECT_EQ(g.name, "model-basic");
    EXPECT_EQ(g.vertices, 13);
    EXPECT_EQ(g.edges, 18);
    EXPECT_EQ(g.root, 0);
    EXPECT_EQ(g.nbPackages, 5);
    EXPECT_EQ(g.nbClasses, 3);
    EXPECT_EQ(g.nbMethods, 3);
    EXPECT_EQ(g.nbAttributes, 2);
    EXPECT_EQ(g.nb_labels, 9);

    // Class weights go to slots 0, 1, ...; relation weights likewise.
    EXPECT_FLOAT_EQ(g.V[7]->weight[0], 2.5f);
    EXPECT_FLOAT_EQ(g.V[7]->weight[1], 0.5f);
    EXPECT_FLOAT_EQ(g.V[7]->weight[2], -1.0f);
    EXPECT_FLOAT_EQ(g.V[5]->weight[0], -1.0f);
    EXPECT_FLOAT_EQ(g.getEdge(5, 6)->weight[0], 0.75f);

    // Return type and parameter naming one class: one edge, one arc of each.
    const Edge* typing = g.getEdge(8, 6);
    ASSERT_NE(typing, nullptr);
    EXPECT_EQ(typing->labels[8], 1);
    EXPECT_EQ(typing->labels[7], 1);

    // The simple-name index holds the text of field 3 after its last ".".
    ASSERT_TRUE(g.classes);
    EXPECT_EQ(g.classes->size(), 13u);
    auto keyOf = [&](int vertex) {
        for (const auto& entry : *g.classes)
            if (entry.second == vertex) return entry.first;
        return std::string("<none>");
    };
    EXPECT_EQ(keyOf(0), "");
    EXPECT_EQ(keyOf(3), "util");
    EXPECT_EQ(keyOf(7), "Cart");
    EXPECT_EQ(keyOf(8), "Item");
    EXPECT_EQ(keyOf(11), "int@count");
    EXPECT_EQ(keyOf(12), "void@helper@()");

    for (int i = 0; i < g.vertices; ++i) ASSERT_TRUE(g.V[i]->nodes && g.V[i]->nodes->count(i));
}

TEST(ModelReader, MalformedLinesAreReportedOrSkipped) {
    ScratchDir dir;
    const std::string path = fixture("graph/model-faults.txt");
    ReadGraph r = readGraph(12, path);
    const Graph& g = *r.graph;

    // Vertices keep their positions whatever their number fields say, and the
    // member passes work on the vertices the lines made.
    EXPECT_EQ(vertexTable(g),
              "0 | 0 | root | \n"
              "1 | 0 | a | \n"
              "2 | 0 | a.b | \n"
              "3 | 1 | a.b.K | \n"
              "4 | 1 | a.b.L | \n"
              "5 | 2 | a.b.L.f | ,void,f,\n"
              "6 | 2 | a.b.L. | ,,,\n"
              "7 | 3 | a.b.K. | ,,\n"
              "8 | 1 | a.b.Late | \n");
    EXPECT_EQ(edgeTable(g),
              "0 | 1 | 9 | 0 | 0\n"
              "1 | 2 | 9 | 0 | 1\n"
              "2 | 1 | 9 | 0 | 2\n"
              "2 | 3 | 9 | 0 | 3\n"
              "2 | 4 | 9 | 0 | 4\n"
              "4 | 5 | 9 | 1 | 5\n"
              "3 | 6 | 9 | 1 | 6\n"
              "4 | 6 | 9 | 1 | 7\n"
              "3 | 7 | 9 | 1 | 8\n"
              "3 | 4 | 13 | 1 | 9\n"
              "5 | 3 | 4 | 2 | 10\n"
              "3 | 0 | 9 | 1 | 11\n"
              "8 | 4 | 2 | 1 | 13\n"
              "4 | 7 | 5 | 1 | 14\n");
    EXPECT_EQ(r.out, fileHeader(path, 12) +
                         "\n Order Problem: 5,a.b.L[4]"
                         "\n Order Problem: x,void@f@()[5]"
                         "\n Order Problem: 5,[6]"
                         "\n Order Problem: 3,[7]"
                         "\n ****************\n ***13***\n ****************"
                         "\n Node does not exist: 3,9(9) !!!!"
                         "\n Method with more than one parent: 6, PARENTS [3,4] !!!!"
                         "\n Call Graph Problem: 5,a.b.L.f calling 3,a.b.K"
                         "\n Container Problem: 3,a.b.K contains 0,root"
                         "\n Attribute Use Problem: 4,a.b.L using 7,a.b.K."
                         "\n Acquisition Input Done\n Fill Neighbors");
    EXPECT_EQ(g.nbPackages, 3);
    EXPECT_EQ(g.nbClasses, 3);
    EXPECT_EQ(g.nbMethods, 2);
    EXPECT_EQ(g.nbAttributes, 1);
    // A line without a label field has no simple-name entry.
    EXPECT_EQ(g.classes->size(), 7u);
}

TEST(ModelReader, OutOfSequenceNumberIsReportedOnceAndVerticesKeepPositions) {
    ScratchDir dir;
    writeFile("order.txt", "6,0\np,0,.\np,1,a\np,2,b\np,2,c\np,4,d\np,5,e\n");
    ReadGraph r = readGraph(12, "order.txt");
    EXPECT_EQ(r.out, fileHeader("order.txt", 12) +
                         "\n Order Problem: 2,c[3]\n Acquisition Input Done\n Fill Neighbors");
    ASSERT_EQ(r.graph->V.size(), 6u);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(r.graph->V[i]->number, i);
    EXPECT_EQ(r.graph->V[3]->label, "c");
}

TEST(ModelReader, MembersAndParentsFollowTheContainmentEdges) {
    ScratchDir dir;
    writeFile("members.txt",
              "0,0\n"
              "p,0,.\n"
              "c,1,org.app.Shop\n"
              "c,2,org.app.Item\n"
              "c,3,org.app.Other\n"
              "m,4,public@org.app.Item@buy@(int,org.app.Item)\n"
              "m,5,Item@make@()\n"
              "a,6,org.app.Item@item\n"
              "r,0,1,9\n"
              "r,3,4,9\n"
              "r,1,4,9\n"
              "r,1,5,9\n"
              "r,6,1,9\n");
    ReadGraph r = readGraph(12, "members.txt");
    const Graph& g = *r.graph;
    // The last parent names the method; the bare class name derives nothing.
    EXPECT_EQ(g.V[4]->label, "org.app.Shop.buy");
    EXPECT_EQ(g.V[5]->label, "org.app.Shop.make");
    EXPECT_EQ(g.V[6]->label, "org.app.Item@item");
    ASSERT_NE(g.getEdge(4, 2), nullptr);
    EXPECT_EQ(g.getEdge(4, 2)->label, "87");
    EXPECT_EQ(g.getEdge(5, 2), nullptr);
    EXPECT_EQ(g.getEdge(6, 2), nullptr);
    EXPECT_EQ(r.out, fileHeader("members.txt", 12) +
                         "\n Method with more than one parent: 4,public@org.app.Item@buy@(int PARENTS [3,1] !!!!"
                         "\n Isolated Attribute: 6,org.app.Item@item !!!!"
                         "\n Container Problem: 6,org.app.Item@item contains 1,org.app.Shop"
                         "\n Acquisition Input Done\n Fill Neighbors");
}

TEST(ModelReader, PackagesAreQualifiedOnceAlongTheTree) {
    ScratchDir dir;
    // 'application' inside 'app' is not yet qualified although it begins
    // with 'app'; 'app.model' is; 'x' and 'y' contain each other.
    writeFile("packages.txt",
              "0,0\n"
              "p,0,.\n"
              "p,1,app\n"
              "p,2,application\n"
              "p,3,app.model\n"
              "p,4,app\n"
              "p,5,x\n"
              "p,6,y\n"
              "r,0,1,9\n"
              "r,1,2,9\n"
              "r,1,3,9\n"
              "r,1,4,9\n"
              "r,3,3,9\n"
              "r,0,5,9\n"
              "r,5,6,9\n"
              "r,6,5,9\n"
              "r,6,0,9\n"
              "r,6,2,9\n");
    ReadGraph r = readGraph(12, "packages.txt");
    const Graph& g = *r.graph;
    EXPECT_EQ(g.V[0]->label, ".");
    EXPECT_EQ(g.V[1]->label, "app");
    EXPECT_EQ(g.V[2]->label, "app.application");
    EXPECT_EQ(g.V[3]->label, "app.model");
    EXPECT_EQ(g.V[4]->label, "app");
    EXPECT_EQ(g.V[5]->label, "x");
    EXPECT_EQ(g.V[6]->label, "x.y");
}

// A package inside two packages, without a cycle: the walk qualifies it by
// the first container it reaches it from (breadth-first, the containers in
// the order of the walk, not of the file), once; its own packages follow.
TEST(ModelReader, APackageWithTwoContainersIsQualifiedByTheFirstOneWalked) {
    for (const std::string& arcs : {std::string("r,1,3,9\nr,2,3,9\n"), std::string("r,2,3,9\nr,1,3,9\n")}) {
        SCOPED_TRACE(arcs);
        ScratchDir dir;
        writeFile("two.txt", "0,0\np,0,.\np,1,a\np,2,b\np,3,c\np,4,d\nr,0,1,9\nr,0,2,9\n" + arcs + "r,3,4,9\n");
        ReadGraph r = readGraph(12, "two.txt");
        const Graph& g = *r.graph;
        EXPECT_EQ(g.V[1]->label, "a");
        EXPECT_EQ(g.V[2]->label, "b");
        EXPECT_EQ(g.V[3]->label, "a.c");
        EXPECT_EQ(g.V[4]->label, "a.c.d");
    }
}

TEST(ModelReader, LineEndingsAndHeaderDoNotChangeTheGraph) {
    ScratchDir dir;
    const std::string lf = readFile(fixture("graph/model-basic.txt"));
    std::string crlf, otherHeader = "999,1,extra" + lf.substr(lf.find('\n'));
    for (char ch : lf) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    writeFile("basic.txt", lf);
    writeFile("crlf.txt", crlf);
    writeFile("header.txt", otherHeader);
    ReadGraph reference = readGraph(12, "basic.txt");
    for (const std::string path : {"crlf.txt", "header.txt"}) {
        SCOPED_TRACE(path);
        ReadGraph other = readGraph(12, path);
        EXPECT_EQ(vertexTable(*other.graph), vertexTable(*reference.graph));
        EXPECT_EQ(edgeTable(*other.graph), edgeTable(*reference.graph));
        EXPECT_EQ(other.out.substr(other.out.find("Mode")), reference.out.substr(reference.out.find("Mode")));
        EXPECT_EQ(other.graph->vertices, 13);
        EXPECT_EQ(other.graph->edges, 18);
    }
}

TEST(ModelReader, EmptyFileAndMissingFile) {
    ScratchDir dir;
    writeFile("empty.txt", "");
    ReadGraph empty = readGraph(12, "empty.txt");
    EXPECT_EQ(empty.out, fileHeader("empty.txt", 12) + "\n Acquisition Input Done\n Fill Neighbors");
    EXPECT_TRUE(empty.graph->V.empty());
    EXPECT_TRUE(empty.graph->E.empty());

    ReadGraph missing = readGraph(12, "absent.txt");
    EXPECT_EQ(missing.out, "File absent.txt ...Not Found \n");
    EXPECT_EQ(missing.graph->vertices, 0);
}

// The real class diagrams read without a message and with the counts their
// extraction reported; the file carries relation kinds 1-5 and 9 only, so
// those arcs number exactly the relation lines.
TEST(ModelReader, RealModelsReadCompletely) {
    struct Expected {
        const char* file;
        int packages, classes, methods, attributes, relationLines;
    };
    const Expected table[] = {
        {"junit-extensions-3.8.2.txt", 3, 7, 28, 4, 71},
        {"junit-extensions-4.13.2.txt", 3, 6, 26, 3, 65},
        {"junit-framework-3.8.2.txt", 3, 13, 126, 23, 366},
        {"junit-framework-4.13.2.txt", 3, 17, 194, 29, 532},
        {"junit-3.8.2.txt", 8, 102, 586, 131, 2005},
        {"junit-4.13.2.txt", 35, 338, 1721, 340, 5986},
        {"commons-lang-2.6.txt", 13, 128, 2295, 508, 6866},
        {"commons-lang3-3.12.txt", 21, 334, 3705, 902, 11124},
    };
    ScratchDir dir;
    for (const Expected& x : table) {
        SCOPED_TRACE(x.file);
        const std::string path = dataFile(x.file);
        ReadGraph r = readGraph(12, path);
        const Graph& g = *r.graph;
        EXPECT_EQ(r.out, fileHeader(path, 12) + "\n Acquisition Input Done\n Fill Neighbors");
        EXPECT_EQ(g.nbPackages, x.packages);
        EXPECT_EQ(g.nbClasses, x.classes);
        EXPECT_EQ(g.nbMethods, x.methods);
        EXPECT_EQ(g.nbAttributes, x.attributes);
        EXPECT_EQ(g.vertices, x.packages + x.classes + x.methods + x.attributes);
        long fileArcs = 0, derivedArcs = 0;
        for (const auto& e : g.E) {
            for (int d : {1, 2, 3, 4, 5, 9}) fileArcs += e->labels[d];
            for (int d : {6, 7, 8}) derivedArcs += e->labels[d];
        }
        EXPECT_EQ(fileArcs, x.relationLines);
        EXPECT_GT(derivedArcs, 0);
        // Every member is named after its container.
        for (const auto& v : g.V) {
            if (v->type == 2 || v->type == 3) {
                EXPECT_EQ(v->label.find('@'), std::string::npos) << v->label;
            }
        }
    }
}

}  // namespace
}  // namespace graphmat::test
