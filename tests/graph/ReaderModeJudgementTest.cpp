// Which reader mode a file of which lines do not read looks like, judged by
// reading it in every other mode, and when such a file is refused: the hint
// names the mode whose reader reads the file, the trial readings are silent,
// draw nothing and leave the graph as its own mode read it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "GraphDump.h"
#include "graph/platform.h"

namespace graphmat::test {
namespace {

// The reader modes that read text files by lines. Mode 9 is left out: on a
// file whose class numbers do not fit it waits for the user at a console.
const std::vector<int> kLineModes = {0, 3, 4, 5, 6, 8, 10, 11, 12};

// The mode that stands for each syntax in the hints.
int syntaxMode(int mode) { return mode == 5 || mode == 8 || mode == 9 ? 4 : mode; }

struct JudgedFile {
    std::string path;
    int mode;  // the reader mode of its syntax
};

// A plain graph file as the generators write it: numeric vertex labels.
std::string plainGraph() {
    std::ostringstream text;
    const int n = 30;
    text << n << "," << 3 * n << "\n";
    for (int i = 0; i < n; ++i) text << (i * 7) % n << "," << (i * 5) % 3 << "\n";
    for (int i = 0; i < n; ++i)
        for (int k = 1; k <= 3; ++k) text << i << "," << (i + k * k + 1) % n << "," << 1 + (i + k) % 2 << "\n";
    return text.str();
}

// The same arcs as an edge list graph file.
std::string edgeList() {
    std::string text;
    int line = 0;
    std::istringstream plain(plainGraph());
    for (std::string row; std::getline(plain, row); ++line)
        if (line == 0 || line > 30) text += row + "\n";
    return text;
}

const std::string kNamedEdgeList = "alice,bob,1\nbob,carol,2\ncarol,alice,1\ndave,alice,3\n";

// Every shipped example, every real model and a file of each syntax the
// generators write.
std::vector<JudgedFile> judgedFiles() {
    writeFile("plain.csv", plainGraph());
    writeFile("edges.csv", edgeList());
    writeFile("named.csv", kNamedEdgeList);
    std::vector<JudgedFile> files = {{"plain.csv", 0}, {"edges.csv", 6}, {"named.csv", 3}};
    for (const char* name : {"shop-v1.txt", "shop-v2.txt"}) files.push_back({exampleFile(name), 12});
    for (const char* name :
         {"library-v1.txt", "library-v2.txt", "series/shop-1.txt", "series/shop-2.txt", "series/shop-3.txt",
          "series/shop-4.txt", "datasets/cdiagrams/eclipse/shop-cd-1.txt", "datasets/cdiagrams/eclipse/shop-cd-2.txt",
          "datasets/cdiagrams/mylyn/shop-cd-1.txt", "datasets/cdiagrams/mylyn/shop-cd-2.txt",
          "evaluation/datasets/shop/v1.txt", "evaluation/datasets/shop/v2.txt"})
        files.push_back({exampleFile(name), 4});
    for (const char* name : {"order-sequence-v1.txt", "order-sequence-v2.txt"}) files.push_back({exampleFile(name), 10});
    for (const char* name : {"door-states-v1.txt", "door-states-v2.txt"}) files.push_back({exampleFile(name), 11});
    for (const char* name : {"junit-3.8.2.txt", "junit-4.13.2.txt", "junit-framework-3.8.2.txt",
                             "junit-framework-4.13.2.txt", "junit-extensions-3.8.2.txt", "junit-extensions-4.13.2.txt",
                             "commons-lang-2.6.txt", "commons-lang3-3.12.txt"})
        files.push_back({dataFile(name), 12});
    return files;
}

// A file read in a mode of another syntax: either lines do not read and the
// hint names the file's own mode, or every line reads (a class diagram file
// is a valid model graph file, an edge list graph file a valid plain graph
// file: vertex lines take the first arcs) and nothing is judged. Files of
// real size (50 lines or more) are refused, but for a header alone that does
// not read in mode 3.
TEST(ReaderModeJudgement, EveryFileInEveryWrongModeNamesItsOwnMode) {
    ScratchDir dir;
    for (const JudgedFile& file : judgedFiles()) {
        for (int mode : kLineModes) {
            if (syntaxMode(mode) == file.mode) continue;
            CaptureStderr err;
            ReadGraph r = readGraph(mode, file.path);
            const Graph& g = *r.graph;
            const std::string where = file.path + " in mode " + std::to_string(mode);
            if (g.account.notRead == 0) {
                EXPECT_EQ(g.betterMode, -1) << where;
                EXPECT_EQ(err.text(), "") << where;
                continue;
            }
            EXPECT_EQ(g.betterMode, file.mode) << where << ": " << err.text();
            EXPECT_TRUE(contains(err.text(), "; it looks like ")) << where;
            if (g.account.lines < 50) continue;
            EXPECT_TRUE(g.nothingRead || g.wrongMode || (mode == 3 && g.account.notRead == 1))
                << where << ": " << err.text();
        }
    }
}

// Read in a mode of its own syntax, no shipped or generated file is refused
// nor judged.
TEST(ReaderModeJudgement, NoFileInItsOwnModeIsJudged) {
    ScratchDir dir;
    for (const JudgedFile& file : judgedFiles()) {
        for (int mode : kLineModes) {
            if (syntaxMode(mode) != file.mode) continue;
            CaptureStderr err;
            ReadGraph r = readGraph(mode, file.path);
            EXPECT_EQ(r.graph->account.notRead, 0) << file.path << " in mode " << mode;
            EXPECT_FALSE(r.graph->wrongMode) << file.path << " in mode " << mode;
            EXPECT_EQ(err.text(), "") << file.path << " in mode " << mode;
        }
    }
}

struct RefusalCase {
    std::string what;
    int mode;
    std::string content;
    int betterMode;
    bool wrongMode;
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.what; }

class WrongModeTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(WrongModeTest, RefusesOnlyFilesThatAnotherModeReads) {
    const RefusalCase& c = GetParam();
    ScratchDir dir;
    writeFile("F", c.content);
    CaptureStderr err;
    ReadGraph r = readGraph(c.mode, "F");
    EXPECT_EQ(r.graph->betterMode, c.betterMode) << err.text();
    EXPECT_EQ(r.graph->wrongMode, c.wrongMode) << err.text();
    EXPECT_EQ(contains(err.text(), "; the file is not used: read it in reader mode "), c.wrongMode) << err.text();
    EXPECT_EQ(graphUsable(*r.graph, c.mode, "F"), !c.wrongMode && !r.graph->nothingRead);
}

// Ten arcs over four vertices, with vertex lines before them.
const std::string kPlainTen = "4,10\n0,a\n1,b\n2,c\n3,d\n0,1,1\n1,2,1\n2,3,1\n3,0,1\n0,2,2\n1,3,2\n2,0,2\n3,1,2\n"
                              "0,3,3\n1,0,3\n";

INSTANTIATE_TEST_SUITE_P(
    Files, WrongModeTest,
    ::testing::Values(
        // Four vertex lines of fourteen (at least one in ten) do not read as
        // arcs; mode 0 reads them all.
        RefusalCase{"plain graph as an edge list", 6, kPlainTen, 0, true},
        // One line that does not read is a fault of the file.
        RefusalCase{"one unread line", 6, "4,2\n0,1,1\n1,2\n", 0, false},
        // Two lines of twenty-one: fewer than one in ten.
        RefusalCase{"few unread lines", 0, kPlainTen + "0,7,1\n1,9,1\n2,0,1\n3,2,1\n1,1,1\n2,2,1\n3,3,1\n", -1, false},
        // The better mode leaves more than a tenth as many lines unread.
        RefusalCase{"another mode with faults of its own", 4,
                    "3,2\nc,0,A\np,1,x\np,2,y\nq,3\nr,0,1,1\nr,0,2,1\nq,4\n", 12, false},
        // Mode 3 takes any line of three fields: a class diagram file with
        // a line of another kind is named a class diagram all the same (the
        // stray line keeps it from being refused).
        RefusalCase{"class diagram with a stray line", 10, "2,1\nc,0,A\nc,1,B\nr,0,1,1\nC,9,Upper\n", 4, false},
        RefusalCase{"class diagram", 10, "3,3\nc,0,A\nc,1,B\nc,2,C\nr,0,1,1\nr,1,2,1\nr,2,0,3\n", 4, true},
        RefusalCase{"named edge list", 12, kNamedEdgeList, 3, false},
        // Read whole in its mode: nothing to judge.
        RefusalCase{"class diagram as a model graph", 12, "2,1\nc,0,A\nc,1,B\nr,0,1,1\n", -1, false}),
    CaseName());

// The trial readings print nothing (mode 0 reports the missing vertex 2 of
// this file), draw no random number, keep the state of standard output and
// leave the graph as its own reader made it.
TEST(ReaderModeJudgement, TrialReadingsAreSilentAndChangeNothing) {
    ScratchDir dir;
    const std::string content = "3,1\n0,a\n1,b\n0,1,1\n";
    writeFile("F", content);
    srand15(5);
    rand15();
    const std::uint32_t state = randomState();
    const long draws = randomDraws();

    CaptureStderr err;
    ReadGraph judged = readGraph(6, "F");
    EXPECT_EQ(judged.graph->betterMode, 0) << err.text();
    EXPECT_EQ(randomState(), state);
    EXPECT_EQ(randomDraws(), draws);
    EXPECT_TRUE(judged.graph->wrongMode);
    EXPECT_EQ(judged.out.rfind(fileHeader("F", 6) + "\n Acquisition Input Done", 0), 0u) << judged.out;
    EXPECT_FALSE(contains(judged.out, "Missing Vertex")) << judged.out;

    // The reader alone, on the same lines.
    Graph alone;
    std::istringstream lines(content);
    {
        CaptureStdout quiet;
        alone.initMode6(lines);
    }
    EXPECT_EQ(vertexTable(*judged.graph), vertexTable(alone));
    EXPECT_EQ(edgeTable(*judged.graph), edgeTable(alone));
    EXPECT_EQ(judged.graph->account.read, alone.account.read);
    EXPECT_EQ(judged.graph->account.notRead, alone.account.notRead);

    // A console that failed stays failed.
    std::cout.setstate(std::ios::badbit);
    {
        CaptureStderr quiet;
        Graph again(6, "F");
        EXPECT_EQ(again.betterMode, 0);
    }
    EXPECT_TRUE(std::cout.bad());
    std::cout.clear();
}

// A trial reading that fails (here modes 0 and 6, whose readers refuse the
// header's two billion vertices) counts as reading nothing; the console
// comes back all the same and the file's own reading stands.
TEST(ReaderModeJudgement, ATrialThatFailsReadsNothing) {
    ScratchDir dir;
    writeFile("F", "2000000000,2\np,0,.\nc,1,A\nq,2\nr,0,1,9\n");
    CaptureStderr err;
    ReadGraph r = readGraph(12, "F");
    EXPECT_EQ(r.graph->account.read, 3);
    EXPECT_EQ(r.graph->betterMode, -1);
    EXPECT_EQ(err.text(), "Graph file F: 1 line not read in reader mode 12 (the first: line 4)\n");
    EXPECT_TRUE(contains(r.out, "\n Acquisition Input Done")) << r.out;
}

// A pipe is read once, into memory: it is judged on those bytes exactly as
// the same file given by name.
TEST(ReaderModeJudgement, APipeIsJudgedAsTheFileItCarries) {
    ScratchDir dir;
    writeFile("file", kPlainTen);
    std::string fileErr;
    ReadGraph byName;
    {
        CaptureStderr err;
        byName = readGraph(6, "file");
        fileErr = err.text();
    }
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    std::thread writer([] {
        std::ofstream out("pipe");
        out << kPlainTen;
    });
    CaptureStderr err;
    ReadGraph piped = readGraph(6, "pipe");
    writer.join();
    EXPECT_EQ(piped.graph->account.notRead, byName.graph->account.notRead);
    EXPECT_EQ(piped.graph->betterMode, byName.graph->betterMode);
    EXPECT_EQ(piped.graph->wrongMode, byName.graph->wrongMode);
    EXPECT_NE(byName.graph->betterMode, -1);
    EXPECT_EQ("Graph file file" + err.text().substr(std::string("Graph file pipe").size()), fileErr);
}

}  // namespace
}  // namespace graphmat::test
