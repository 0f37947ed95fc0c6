// What every reader makes of lines it cannot read: a file of which no line
// (beside a header) reads is marked and named with the reader mode and the
// syntax it looks like; a file of which some lines do not read gets one line
// with their count and the first one's number; empty files and headers that
// announce nothing stay valid empty graphs.
#include <gtest/gtest.h>

#include "GraphDump.h"

namespace graphmat::test {
namespace {

struct UnreadCase {
    std::string what;
    int mode;
    std::string content;
    bool nothingRead;
    int notRead;
    int firstNotRead;
    std::string err;  // standard error of the reading, with "F" for the file's name
};

void PrintTo(const UnreadCase& c, std::ostream* out) { *out << c.what; }

class UnreadLinesTest : public ::testing::TestWithParam<UnreadCase> {};

TEST_P(UnreadLinesTest, CountsNamesAndMarks) {
    const UnreadCase& c = GetParam();
    ScratchDir dir;
    writeFile("F", c.content);
    CaptureStderr err;
    ReadGraph r = readGraph(c.mode, "F");
    EXPECT_TRUE(r.graph->reading.opened);
    EXPECT_EQ(r.graph->reading.verdict.nothingRead(), c.nothingRead);
    EXPECT_EQ(r.graph->reading.account.notRead(), c.notRead);
    EXPECT_EQ(r.graph->reading.account.firstNotRead(), c.firstNotRead);
    EXPECT_EQ(err.text(), c.err);
}

const std::string kModelGraph = "4,3\np,0,.\nc,1,p.A\nm,2,public@void@run@()\nr,0,1,9\nr,1,2,9\n";
const std::string kPlainGraph = "3,2\n0,a\n2,c\n1,b\n0,1,1\n1,2,3\n";

INSTANTIATE_TEST_SUITE_P(
    Readers, UnreadLinesTest,
    ::testing::Values(
        UnreadCase{"empty file", 12, "", false, 0, 0, ""},
        UnreadCase{"blank lines only", 4, "\n \n\r\n", false, 0, 0, ""},
        UnreadCase{"header announcing nothing", 0, "0,0\n", false, 0, 0, ""},
        UnreadCase{"header announcing nothing, mode 12", 12, "0,0\n\n", false, 0, 0, ""},
        UnreadCase{"model graph read whole", 12, kModelGraph, false, 0, 0, ""},
        UnreadCase{"plain graph read whole", 0, kPlainGraph, false, 0, 0, ""},
        UnreadCase{"plain graph as a model graph", 12, kPlainGraph, true, 5, 2,
                   "Graph file F: no line reads in reader mode 12; it looks like a plain graph file (reader mode 0)\n"},
        // Refused: its class line reads only out of order, so five lines in
        // all do not read as a class diagram's.
        UnreadCase{"model graph as a class diagram", 4, kModelGraph, false, 4, 2,
                   "Graph file F: 5 lines not read in reader mode 4 (the first: line 2); it looks like a model graph "
                   "file (reader mode 12)\n"},
        UnreadCase{"model graph as a plain graph", 0, kModelGraph, true, 5, 2,
                   "Graph file F: no line reads in reader mode 0; it looks like a model graph file (reader mode 12)\n"},
        UnreadCase{"random text", 4, "kq3Jz+u/Lw9\nXr!f 77\n", true, 2, 1,
                   "Graph file F: no line reads in reader mode 4\n"},
        UnreadCase{"a text without a header that reads", 6, "hello\n", true, 1, 1,
                   "Graph file F is not used: line 1, read as the header, is not VERTICES,ARCS (reader mode 6)\n"},
        UnreadCase{"blank lines are no unread lines", 0, "2,1\n0,a\n1,b\n\nx\n0,1,1\n\n", false, 1, 5,
                   "Graph file F: 1 line not read in reader mode 0 (the first: line 5)\n"},
        UnreadCase{"vertex out of range", 0, "2,0\n0,a\n5,b\n", false, 1, 3,
                   "Graph file F: 1 line not read in reader mode 0 (the first: line 3)\n"},
        // Read as plain graph files, their arcs would be vertex lines of a
        // file without the arcs its header announces: no other mode is named.
        UnreadCase{"edge list with a line short of its label", 6, "3,2\n0,1,1\n1,2\n", false, 1, 3,
                   "Graph file F: 1 line not read in reader mode 6 (the first: line 3)\n"},
        UnreadCase{"edge list with an arc to no vertex", 6, "3,2\n0,1,1\n1,7,1\n", false, 1, 3,
                   "Graph file F: 1 line not read in reader mode 6 (the first: line 3)\n"},
        UnreadCase{"longer edge list with an arc to no vertex", 6, "3,4\n0,1,1\n1,2,1\n2,0,1\n1,7,1\n", false, 1,
                   5, "Graph file F: 1 line not read in reader mode 6 (the first: line 5)\n"},
        UnreadCase{"named edge list with a hole", 3, "a,b,1\na,,2\n", false, 1, 2,
                   "Graph file F: 1 line not read in reader mode 3 (the first: line 2)\n"},
        // Mode 5 keeps no members, yet its member lines belong to the syntax.
        UnreadCase{"class diagram in mode 5", 5, "1,0\nc,0,p.A\na,0,private@int@x\n", false, 0, 0, ""},
        // The model graph reader takes a member of any number, but only out
        // of order: a fault of the file, no sign of another syntax.
        UnreadCase{"member of no class, mode 4", 4, "1,0\nc,0,p.A\na,3,private@int@x\n", false, 1, 3,
                   "Graph file F: 1 line not read in reader mode 4 (the first: line 3)\n"},
        // Mode 9 skips the header; a member of no class is found out after
        // the line pass, and still counted at its own line: two of the three
        // lines do not read.
        UnreadCase{"member of no class, mode 9", 9, "2,0\nc,0,p.A\nm,7,public@void@f@()\nq\n", false, 2, 3,
                   "Graph file F is not used: most of it does not read in reader mode 9: 2 of its 3 lines not read "
                   "(the first: line 3)\n"},
        UnreadCase{"member of no class among classes, mode 9", 9, "3,0\nc,0,p.A\nm,7,public@void@f@()\nc,1,p.B\nq\n",
                   false, 2, 3, "Graph file F: 2 lines not read in reader mode 9 (the first: line 3)\n"},
        UnreadCase{"sequence diagram", 10, "2,2\nc,0,p.A\nl,1,0,a\nm,0,1,go\n", false, 1, 4,
                   "Graph file F: 1 line not read in reader mode 10 (the first: line 4)\n"},
        UnreadCase{"state machine as a sequence diagram", 10, "2,2\ns,0,idle\ns,1,busy\nt,0,1,Go\n", true, 3, 2,
                   "Graph file F: no line reads in reader mode 10; it looks like a state machine file (reader mode "
                   "11)\n"},
        UnreadCase{"class diagram as a state machine", 11, "1,0\nc,0,p.A\n", true, 1, 2,
                   "Graph file F: no line reads in reader mode 11; it looks like a class diagram file (reader modes "
                   "4, 5, 8 and 9)\n"}),
    CaseName());

// Every example and real model reads whole in its own mode: the new
// accounting adds no line to a valid run.
TEST(UnreadLines, ExamplesAndRealDataReadWhole) {
    const std::vector<std::pair<int, std::string>> files = {
        {12, exampleFile("shop-v1.txt")},           {12, dataFile("junit-4.13.2.txt")},
        {12, dataFile("commons-lang-2.6.txt")},     {4, exampleFile("library-v1.txt")},
        {9, exampleFile("library-v2.txt")},         {8, exampleFile("series/shop-3.txt")},
        {5, exampleFile("series/shop-1.txt")},      {10, exampleFile("order-sequence-v2.txt")},
        {11, exampleFile("door-states-v1.txt")},
    };
    for (const auto& [mode, path] : files) {
        CaptureStderr err;
        ReadGraph r = readGraph(mode, path);
        EXPECT_EQ(r.graph->reading.account.notRead(), 0) << path << " line " << r.graph->reading.account.firstNotRead();
        EXPECT_GT(r.graph->reading.account.read(), 0) << path;
        EXPECT_EQ(err.text(), "") << path;
    }
}

}  // namespace
}  // namespace graphmat::test
