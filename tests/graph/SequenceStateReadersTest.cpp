// Sequence diagram files (mode 10) and state machine files (mode 11): the
// interactions become vertices between their ends.
#include <gtest/gtest.h>

#include "GraphDump.h"

namespace graphmat::test {
namespace {

const std::string FILL = "\n Acquisition Input Done\n Fill Neighbors";

std::string indexOf(const Graph& g) {
    std::string text;
    for (const auto& [key, number] : *g.classes) text += key + "=" + to_string(number) + ";";
    return text;
}

TEST(SequenceDiagram, EntitiesLifelinesAndMessages) {
    ScratchDir dir;
    const std::string path = fixture("graph/sequence.txt");
    ReadGraph r = readGraph(10, path);
    const Graph& g = *r.graph;
    EXPECT_EQ(vertexTable(g),
              "0 | 4 | shop.Order | \n"
              "1 | 5 | o1 | \n"
              "2 | 6 | create | x@5\n");
    EXPECT_EQ(edgeTable(g),
              "0 | 1 | 9 | 1 | 0\n"
              "0 | 2 | 5 | 1 | -1\n"
              "2 | 1 | 5 | 1 | -1\n");
    EXPECT_EQ(r.out, fileHeader(path, 10) + FILL);
    EXPECT_EQ(indexOf(g), "Order=0;o1=1;");
    EXPECT_EQ(g.root, -1);
}

// Lines outside the syntax are skipped; arcs to no vertex are refused.
TEST(SequenceDiagram, LinesOutsideTheSyntax) {
    struct Case {
        const char* line;
        int vertices;
        const char* messages;
    };
    const Case cases[] = {
        {"m,0,1,hi", 2, ""},
        {"m,0,1,hi,x", 2, ""},
        {"m,0,1,hi,x@", 2, ""},
        {"m,0,1,hi,x@y", 2, ""},
        {"m,0,1,hi,@", 2, ""},
        {"m,x,1,hi,x@5", 2, ""},
        {"m,0,,hi,x@5", 2, ""},
        {"l,2,0", 2, ""},
        {"l,2,x,b", 2, ""},
        {"c;2,B", 2, ""},
        {"x,2,B", 2, ""},
        {"m,0,9,hi,@5", 3, "\n Node does not exist: 2,9(5) !!!!"},
        {"m,0,1,hi,x@57@z", 3, "\n ****************\n ***57***\n ****************"
                               "\n ****************\n ***57***\n ****************"},
        {"l,2,-1,b", 3, "\n Node does not exist: -1,2(9) !!!!"},
        {"c,7,B", 3, "\n Order Problem: 7,B[2]"},
        {"c,2", 3, ""},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        writeFile("s.txt", std::string("3,1\nc,0,A\nl,1,0,a\n") + c.line + "\n");
        ReadGraph r = readGraph(10, "s.txt");
        EXPECT_EQ(r.graph->vertices, c.vertices);
        EXPECT_EQ(r.out, fileHeader("s.txt", 10) + c.messages + FILL);
    }
}

TEST(StateMachine, StatesNamedAfterTheirTransitions) {
    ScratchDir dir;
    const std::string path = fixture("graph/state-machine.txt");
    ReadGraph r = readGraph(11, path);
    const Graph& g = *r.graph;
    EXPECT_EQ(vertexTable(g),
              "0 | 8 | _from-stop_towa-start |  \n"
              "1 | 8 | _from-start_towa-stop |  \n"
              "2 | 9 | start | \n"
              "3 | 9 | stop | \n"
              "4 | 8 |  |  \n");
    EXPECT_EQ(edgeTable(g),
              "0 | 2 | 1 | 8 | -1\n"
              "2 | 1 | 1 | 9 | -1\n"
              "1 | 3 | 1 | 8 | -1\n"
              "3 | 0 | 1 | 9 | -1\n");
    EXPECT_EQ(r.out, fileHeader(path, 11) + "\ns,0,idle\ns,1,busy\nt,0,1,Start\nt,1,0,Stop\ns,4" + FILL);
    EXPECT_EQ(indexOf(g), "start=2;state=0;state=1;state=4;stop=3;");
}

TEST(StateMachine, LinesOutsideTheSyntaxAreEchoedAndSkipped) {
    struct Case {
        const char* line;
        int vertices;
        const char* label;  // of the state at position 0
        const char* messages;
    };
    const Case cases[] = {
        {"t,0,0", 1, "", ""},
        {"t,x,0,Go", 1, "", ""},
        {"t,0,9,Go", 2, "_towa-go", "\n Node does not exist: 1,9(1) !!!!"},
        {"t,0,0,GO\xC3\x89", 2, "_from-go\xC3\x89_towa-go\xC3\x89", ""},
        {"s,", 2, "", "\n Order Problem: ,state[1]"},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        writeFile("m.txt", std::string("1,0\ns,0\n") + c.line + "\nS,1\n");
        ReadGraph r = readGraph(11, "m.txt");
        EXPECT_EQ(r.graph->vertices, c.vertices);
        EXPECT_EQ(r.graph->V[0]->label, c.label);
        EXPECT_EQ(r.out, fileHeader("m.txt", 11) + "\ns,0\n" + c.line + c.messages + FILL);
    }
}

}  // namespace
}  // namespace graphmat::test
