// The judgement of the reader mode a graph file was read in, rule by rule
// (graph/ReaderModeJudgement.cpp): the first line that decides, most lines
// not read, another syntax that reads the file whole, another syntax that
// explains it, and the files that run with a warning. A file with faulty
// lines of its own syntax is never refused, a file of another syntax is
// (or reads whole in that mode, and is listed here), through a pipe as by
// name; the trial readings are silent, draw nothing and leave the graph as
// its own mode read it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <thread>
#include <tuple>

#include "GraphDump.h"
#include "graph/CapacityChecks.h"
#include "graph/CommandLine.h"
#include "graph/GraphFileFields.h"
#include "graph/Random.h"
#include "graph/ReaderModeJudgement.h"

namespace graphmat::test {
namespace {

// Every reader mode that reads a file (7 reads a text given in its place).
const std::vector<int> kFileModes = {0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12};

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

// The same graph with a whole-number weight on every vertex line: with
// their labels of digits, its vertex lines have the shape of arcs.
std::string weightedPlainGraph() {
    std::string text;
    int line = 0;
    std::istringstream plain(plainGraph());
    for (std::string row; std::getline(plain, row); ++line)
        text += row + (line >= 1 && line <= 30 ? "," + std::to_string(line % 4) : "") + "\n";
    return text;
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

std::string namedEdgeList() {
    static const char* const names[] = {"alice", "bob", "carol", "dave", "erin", "frank", "grace", "heidi"};
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += std::string(names[i % 8]) + "," + names[(i * 3 + 1) % 8] + "," + std::to_string(1 + i % 3) + "\n";
    return text;
}

// A sequence diagram: 6 entities, lifelines of two of them, 20 messages
// between the lifelines.
std::string sequenceDiagram() {
    std::string text = "28,44\n";
    for (int e = 0; e < 6; ++e) text += "c," + std::to_string(e) + ",shop.Entity" + std::to_string(e) + "\n";
    for (int l = 0; l < 2; ++l) text += "l," + std::to_string(6 + l) + "," + std::to_string(l) + ",life" + std::to_string(l) + "\n";
    for (int m = 0; m < 20; ++m)
        text += "m," + std::to_string(6 + m % 2) + "," + std::to_string(6 + (m + 1) % 2) + ",call" +
                std::to_string(m) + ",void@" + std::to_string(1 + m % 9) + "\n";
    return text;
}

// A state machine: 10 states, 20 transitions.
std::string stateMachine() {
    std::string text = "30,40\n";
    for (int s = 0; s < 10; ++s) text += "s," + std::to_string(s) + ",state" + std::to_string(s) + "\n";
    for (int t = 0; t < 20; ++t)
        text += "t," + std::to_string(t % 10) + "," + std::to_string((t * 3 + 1) % 10) + ",Go" + std::to_string(t) + "\n";
    return text;
}

// The 16-bit little-endian words of a binary graph file of 12 vertices, each
// with arcs to the next two (and their attributes, `labelled`).
std::string binaryGraph(bool labelled) {
    std::vector<unsigned> words = {12};
    if (labelled)
        for (unsigned v = 0; v < 12; ++v) words.push_back(v % 3);
    for (unsigned v = 0; v < 12; ++v) {
        words.push_back(2);
        for (unsigned k = 1; k <= 2; ++k) {
            words.push_back((v + k) % 12);
            if (labelled) words.push_back(k);
        }
    }
    std::string bytes;
    for (unsigned w : words) bytes += std::string{static_cast<char>(w & 0xFF), static_cast<char>(w >> 8)};
    return bytes;
}

// A file of each syntax and the modes that read it.
struct Sample {
    std::string name;
    std::string content;
    std::vector<int> ownModes;
    // The field of a line that names another vertex or class, or -1 when
    // the line names none (faults of the kind "missing vertex" go there).
    std::function<int(const std::vector<std::string>&)> reference;
};

int kindReference(const std::vector<std::string>& f, const std::string& kinds, int field) {
    return !f.empty() && f[0].size() == 1 && kinds.find(f[0][0]) != std::string::npos ? field : -1;
}

std::vector<Sample> samples() {
    auto arcs = [](const std::vector<std::string>& f) { return f.size() >= 3 ? 1 : -1; };
    return {
        {"model graph", readFile(exampleFile("shop-v1.txt")), {12},
         [](const auto& f) { return kindReference(f, "r", 2); }},
        {"plain graph", plainGraph(), {0}, arcs},
        {"weighted plain graph", weightedPlainGraph(), {0}, arcs},
        {"edge list", edgeList(), {6}, arcs},
        {"named edge list", namedEdgeList(), {3}, [](const auto&) { return -1; }},
        {"class diagram", readFile(exampleFile("series/shop-2.txt")), {4, 5, 8, 9},
         [](const auto& f) { return f.size() > 1 && (f[0] == "a" || f[0] == "m") ? 1 : kindReference(f, "r", 2); }},
        {"class diagram with relations", readFile(exampleFile("library-v1.txt")), {4, 5, 8, 9},
         [](const auto& f) { return f.size() > 1 && (f[0] == "a" || f[0] == "m") ? 1 : kindReference(f, "r", 2); }},
        {"sequence diagram", sequenceDiagram(), {10}, [](const auto& f) { return kindReference(f, "lm", 2); }},
        {"state machine", stateMachine(), {11}, [](const auto& f) { return kindReference(f, "t", 2); }},
        {"binary graph", binaryGraph(false), {1}, nullptr},
        {"binary graph with arc labels", binaryGraph(true), {2}, nullptr},
    };
}

// A line cut to its first fields, a reference to a vertex or class the file
// does not hold, a line replaced by stray text, stray text put between two
// lines (which, unlike a replaced vertex line, numbers no vertex anew), a
// line written twice.
enum class Fault { MissingFields, MissingVertex, StrayText, StrayLine, Twice };

std::string joined(const std::vector<std::string>& fields) {
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i) text += (i ? "," : "") + fields[i];
    return text;
}

// `sample` with `count` lines after its header given the fault, spread
// over the lines that can take it.
std::string withFaults(const Sample& sample, Fault fault, int count) {
    std::vector<std::string> rows = lines(sample.content);
    std::vector<std::size_t> eligible;
    // Line 1 is left whole: the header, or the first arc of a named edge
    // list, decides the syntax (a damaged one is refused: see the rules).
    const std::size_t first = 1;
    for (std::size_t i = first; i < rows.size(); ++i) {
        if (rows[i].empty()) continue;
        const std::vector<std::string> fields = lineFields(rows[i]);
        if (fault == Fault::MissingVertex && sample.reference(fields) < 0) continue;
        if (fault == Fault::MissingFields && fields.size() < 2) continue;
        eligible.push_back(i);
    }
    count = std::min<int>(count, static_cast<int>(eligible.size()));
    for (int k = 0; k < count; ++k) {
        std::string& row = rows[eligible[k * eligible.size() / count]];
        std::vector<std::string> fields = lineFields(row);
        switch (fault) {
            case Fault::MissingFields: fields.resize(fields.size() > 2 ? 2 : 1); break;
            case Fault::MissingVertex: fields[sample.reference(fields)] = "999"; break;
            case Fault::StrayText: fields = {"stray text from an editor"}; break;
            case Fault::StrayLine: fields.insert(fields.begin(), "stray text from an editor\n" + fields[0]); break;
            case Fault::Twice: fields[0] = joined(fields) + "\n" + fields[0]; break;
        }
        row = joined(fields);
    }
    std::string text;
    for (std::size_t i = 0; i < rows.size(); ++i) text += rows[i] + (i + 1 < rows.size() ? "\n" : "");
    return text;
}

// A binary file whose arcs name `count` vertices the file does not hold.
std::string withMissingTargets(const std::string& words, bool labelled, int count) {
    std::string bytes = words;
    // Arc targets sit after the count (and attributes) and each arc count.
    std::size_t at = 2 + (labelled ? 24 : 0);
    for (int v = 0; v < 12 && count > 0; ++v, --count) {
        bytes[at + 2] = static_cast<char>(0xE7);  // 999 = 0x03E7
        bytes[at + 3] = 0x03;
        at += 2 + 2 * (labelled ? 4 : 2);
    }
    return bytes;
}

struct Outcome {
    bool usable;
    int betterMode;  // the other syntax the verdict names, -1 none
    std::string err;
};

Outcome judge(int mode, const std::string& path) {
    CaptureStderr err;
    ReadGraph r = readGraph(mode, path);
    const bool usable = graphUsable(*r.graph, mode, path);
    return {usable, r.graph->reading.verdict.otherMode, err.text()};
}

// A file of its own syntax with faulty lines (1, 2, a tenth, three tenths
// of its lines; missing fields, a vertex or class it does not hold, stray
// text, a line written twice) is never refused in a mode of its syntax, and
// names no other mode.
TEST(ReaderModeJudgement, FaultyFilesOfTheirOwnSyntaxAreNeverRefused) {
    ScratchDir dir;
    for (const Sample& sample : samples()) {
        const int total = static_cast<int>(lines(sample.content).size());
        const bool binary = sample.ownModes[0] == 1 || sample.ownModes[0] == 2;
        for (Fault fault :
             {Fault::MissingFields, Fault::MissingVertex, Fault::StrayText, Fault::StrayLine, Fault::Twice}) {
            if (binary && fault != Fault::MissingVertex) continue;  // a binary file has no lines
            for (int count : {1, 2, std::max(1, total / 10), std::max(1, 3 * total / 10)}) {
                const std::string content = binary ? withMissingTargets(sample.content, sample.ownModes[0] == 2, count)
                                                   : withFaults(sample, fault, count);
                writeFile("F", content);
                for (int mode : sample.ownModes) {
                    const std::string where = sample.name + ", fault " + std::to_string(static_cast<int>(fault)) +
                                              " on " + std::to_string(count) + " lines, mode " + std::to_string(mode);
                    const Outcome o = judge(mode, "F");
                    if (sample.name == "weighted plain graph" && fault == Fault::Twice) {
                        // Its vertex lines are arcs too: with one repeated, the
                        // edge list reader reads every line the plain graph
                        // reader reads, and one more (rule 3; see the rule's
                        // cases below).
                        EXPECT_FALSE(o.usable) << where << "\n" << o.err;
                        EXPECT_EQ(o.betterMode, 6) << where << "\n" << o.err;
                        continue;
                    }
                    EXPECT_TRUE(o.usable) << where << "\n" << o.err;
                    EXPECT_EQ(o.betterMode, -1) << where << "\n" << o.err;
                }
            }
        }
    }
}

// Files of one syntax that read whole in a mode of another, and run there:
// the vertex lines of a plain graph file whose labels are digits and whose
// weights are whole numbers are arcs too, and an edge list graph file has
// no other lines.
const std::set<std::pair<std::string, int>> kReadWholeElsewhere = {{"weighted plain graph", 6}};

// Read in every mode of another syntax, each clean file is refused (or
// listed above), names its own syntax where the reading leaves lines, and
// through a pipe is judged exactly as by name.
TEST(ReaderModeJudgement, FilesInModesOfAnotherSyntaxAreRefusedByNameAndThroughAPipe) {
    ScratchDir dir;
    for (const Sample& sample : samples()) {
        writeFile("F", sample.content);
        for (int mode : kFileModes) {
            if (std::count(sample.ownModes.begin(), sample.ownModes.end(), mode)) continue;
            const std::string where = sample.name + " in mode " + std::to_string(mode);
            const Outcome byName = judge(mode, "F");
            EXPECT_EQ(byName.usable, kReadWholeElsewhere.count({sample.name, mode}) == 1) << where << "\n"
                                                                                          << byName.err;
            if (byName.betterMode >= 0) {
                EXPECT_EQ(syntaxOf(byName.betterMode), syntaxOf(sample.ownModes[0])) << where << "\n" << byName.err;
            }

            ASSERT_EQ(mkfifo("P", 0600), 0);
            std::thread writer([&] { writeFile("P", sample.content); });
            const Outcome piped = judge(mode, "P");
            writer.join();
            std::filesystem::remove("P");
            EXPECT_EQ(piped.usable, byName.usable) << where;
            EXPECT_EQ(piped.betterMode, byName.betterMode) << where;
            std::string err = piped.err;
            for (std::size_t at = err.find("Graph file P"); at != std::string::npos; at = err.find("Graph file P"))
                err.replace(at, 12, "Graph file F");
            EXPECT_EQ(err, byName.err) << where;
        }
    }
}

// The same files with one or two faulty lines of each kind, read in every
// mode of another syntax: a line that no mode reads is evidence of nothing,
// so they are refused all the same (those listed above may run). (A vertex line
// replaced by stray text numbers every later vertex anew, in its own syntax
// too: such a file is no file of one fault.)
TEST(ReaderModeJudgement, FaultyFilesInModesOfAnotherSyntaxAreRefusedToo) {
    ScratchDir dir;
    for (const Sample& sample : samples()) {
        if (sample.ownModes[0] == 1 || sample.ownModes[0] == 2) continue;  // no lines
        for (Fault fault : {Fault::MissingFields, Fault::MissingVertex, Fault::StrayLine}) {
            for (int count : {1, 2}) {
                writeFile("F", withFaults(sample, fault, count));
                for (int mode : kFileModes) {
                    if (std::count(sample.ownModes.begin(), sample.ownModes.end(), mode)) continue;
                    const std::string where = sample.name + ", fault " + std::to_string(static_cast<int>(fault)) +
                                              " on " + std::to_string(count) + " lines, mode " + std::to_string(mode);
                    const Outcome o = judge(mode, "F");
                    // A file listed above that reads whole elsewhere may lose that
                    // reading to its faults: then it is refused like the others.
                    if (!kReadWholeElsewhere.count({sample.name, mode})) {
                        EXPECT_FALSE(o.usable) << where << "\n" << o.err;
                    }
                    if (o.betterMode >= 0) {
                        EXPECT_EQ(syntaxOf(o.betterMode), syntaxOf(sample.ownModes[0])) << where << "\n" << o.err;
                    }
                }
            }
        }
    }
}

// Every shipped example and real model in its documented modes: nothing is
// said, nothing is judged.
TEST(ReaderModeJudgement, NoShippedFileIsJudgedInItsOwnMode) {
    std::vector<std::pair<std::string, std::vector<int>>> files;
    for (const char* name : {"shop-v1.txt", "shop-v2.txt"}) files.push_back({exampleFile(name), {12}});
    for (const char* name : {"junit-3.8.2.txt", "junit-4.13.2.txt", "junit-framework-3.8.2.txt",
                             "junit-framework-4.13.2.txt", "junit-extensions-3.8.2.txt", "junit-extensions-4.13.2.txt",
                             "commons-lang-2.6.txt", "commons-lang3-3.12.txt"})
        files.push_back({dataFile(name), {12}});
    for (const char* name :
         {"library-v1.txt", "library-v2.txt", "series/shop-1.txt", "series/shop-2.txt", "series/shop-3.txt",
          "series/shop-4.txt", "datasets/cdiagrams/eclipse/shop-cd-1.txt", "datasets/cdiagrams/eclipse/shop-cd-2.txt",
          "datasets/cdiagrams/mylyn/shop-cd-1.txt", "datasets/cdiagrams/mylyn/shop-cd-2.txt",
          "evaluation/datasets/shop/v1.txt", "evaluation/datasets/shop/v2.txt"})
        files.push_back({exampleFile(name), {4, 5, 8, 9}});
    for (const char* name : {"order-sequence-v1.txt", "order-sequence-v2.txt"}) files.push_back({exampleFile(name), {10}});
    for (const char* name : {"door-states-v1.txt", "door-states-v2.txt"}) files.push_back({exampleFile(name), {11}});
    for (const auto& [path, modes] : files)
        for (int mode : modes) {
            CaptureStderr err;
            ReadGraph r = readGraph(mode, path);
            EXPECT_EQ(r.graph->reading.account.uncredited(), 0) << path << " in mode " << mode;
            EXPECT_EQ(err.text(), "") << path << " in mode " << mode;
        }
}

struct RefusalCase {
    std::string what;
    int mode;
    std::string content;
    int betterMode;  // the other syntax the verdict names, -1 none
    bool refused;
    std::string err;  // standard error of reading and checking "F"
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.what; }

class WrongModeTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(WrongModeTest, RefusesOnlyFilesThatAnotherModeReadsAsTheirKind) {
    const RefusalCase& c = GetParam();
    ScratchDir dir;
    writeFile("F", c.content);
    const Outcome o = judge(c.mode, "F");
    EXPECT_EQ(o.betterMode, c.betterMode) << o.err;
    EXPECT_EQ(o.usable, !c.refused) << o.err;
    EXPECT_EQ(o.err, c.err);
}

// An edge list graph file as such files are written: arcs grouped by the
// vertex they start at (vertices 0 and 3 have two).
const std::string kEdgeList = "10,12\n0,1,1\n0,5,2\n1,2,1\n2,3,1\n3,4,1\n3,7,2\n4,5,1\n5,6,1\n6,7,1\n7,8,1\n8,9,1\n"
                              "9,0,1\n";

// Ten arcs over four vertices, with vertex lines before them.
const std::string kPlainTen = "4,10\n0,a\n1,b\n2,c\n3,d\n0,1,1\n1,2,1\n2,3,1\n3,0,1\n0,2,2\n1,3,2\n2,0,2\n3,1,2\n"
                              "0,3,3\n1,0,3\n";

// An edge list whose header announces ten vertices, two of whose twelve
// arcs name vertex 99; its first ten arcs start at ten different vertices,
// so that, read as a plain graph file, they are its ten vertex lines.
const std::string kEdgeListTo99 = "10,12\n0,1,1\n1,2,1\n2,3,1\n3,99,1\n4,5,1\n5,6,1\n6,99,1\n7,8,1\n8,9,1\n9,0,1\n"
                                  "0,5,2\n3,7,2\n";

// A class diagram of 20 classes, one member and 40 relations, ten of which
// name class 20, which it does not hold (the model graph reader, which
// makes the member a vertex, would find a vertex 20).
std::string relationsToAMissingClass() {
    std::string text = "20,40\n";
    for (int c = 0; c < 20; ++c) text += "c," + std::to_string(c) + ",app.C" + std::to_string(c) + "\n";
    text += "a,0,private@int@count\n";
    for (int k = 0; k < 40; ++k) {
        const int from = (k * 7) % 20;
        int to = (k * 3 + 1) % 20;
        if (to == from) to = (to + 1) % 20;
        if (k % 4 == 0) to = 20;
        text += "r," + std::to_string(from) + "," + std::to_string(to) + "," + std::to_string(1 + k % 3) + "\n";
    }
    return text;
}

// A sequence diagram of entities and messages, three of whose twenty
// messages have no label in their spec.
std::string messagesWithoutLabels() {
    std::string text = "5,20\n";
    for (int e = 0; e < 5; ++e) text += "c," + std::to_string(e) + ",shop.E" + std::to_string(e) + "\n";
    for (int m = 0; m < 20; ++m)
        text += "m," + std::to_string(m % 5) + "," + std::to_string((m + 1) % 5) + ",msg" + std::to_string(m) + ",x" +
                (m % 7 == 3 ? "" : "@" + std::to_string(1 + m % 9)) + "\n";
    return text;
}

// The plain graph file of ten vertices with the weight `weight` on each
// vertex line (their numeric labels make them arc-shaped), its header's arc
// count raised by `more`.
std::string weightedPlain(int more, const std::string& weight) {
    std::string text = "10," + std::to_string(20 + more) + "\n";
    for (int v = 0; v < 10; ++v) text += std::to_string(v) + "," + std::to_string(1 + v % 3) + "," + weight + "\n";
    for (int a = 0; a < 20; ++a)
        text += std::to_string(a % 10) + "," + std::to_string((a * 3 + 1) % 10) + "," + std::to_string(1 + a % 2) + "\n";
    return text;
}

// The library example with its lines 9 and 15 cut to their first two fields.
std::string libraryCut() {
    std::vector<std::string> rows = lines(readFile(exampleFile("library-v1.txt")));
    rows[8] = "a,1";
    rows[14] = "m,4";
    std::string text;
    for (const std::string& row : rows) text += row + "\n";
    return text.substr(0, text.size() - 1);
}

// A dense edge list graph file of 20 vertices: every arc from i to j with
// i + j odd, grouped by the vertex they start at (the first 20 start at
// vertices 0 and 1).
std::string denseEdgeList() {
    std::string arcs;
    int count = 0;
    for (int i = 0; i < 20; ++i)
        for (int j = 0; j < 20; ++j)
            if ((i + j) % 2 == 1) {
                arcs += std::to_string(i) + "," + std::to_string(j) + "," + std::to_string(1 + (i * j) % 3) + "\n";
                ++count;
            }
    return "20," + std::to_string(count) + "\n" + arcs;
}

// `text` with its line `number` (from 1) replaced by `line`, or left out
// when `line` is empty.
std::string withLine(const std::string& text, std::size_t number, const std::string& line) {
    std::vector<std::string> rows = lines(text);
    if (line.empty())
        rows.erase(rows.begin() + (number - 1));
    else
        rows[number - 1] = line;
    std::string out;
    for (const std::string& row : rows) out += row + "\n";
    return out;
}

// A plain graph file of ten vertices (labels of digits, the weights
// `weights` on every vertex line) whose header announces `announced` arcs
// and which holds the first `kept` of them.
std::string plainCutShort(int announced, int kept, const std::string& weights) {
    std::string text = "10," + std::to_string(announced) + "\n";
    for (int v = 0; v < 10; ++v) text += std::to_string(v) + "," + std::to_string(1 + v % 3) + weights + "\n";
    for (int a = 0; a < kept; ++a)
        text += std::to_string(a % 10) + "," + std::to_string((a * 3 + 1 + a / 10) % 10) + "," +
                std::to_string(1 + a % 2) + "\n";
    return text;
}

// A sequence diagram of `entities` entities, lifelines of the first two,
// and one message between them.
std::string entitiesAndOneMessage(int entities) {
    std::string text = std::to_string(entities + 3) + ",2\n";
    for (int e = 0; e < entities; ++e) text += "c," + std::to_string(e) + ",shop.E" + std::to_string(e) + "\n";
    text += "l," + std::to_string(entities) + ",0,o1\nl," + std::to_string(entities + 1) + ",1,o2\n";
    return text + "m," + std::to_string(entities) + "," + std::to_string(entities + 1) + ",pay,x@5\n";
}

// `count` bytes drawn by a linear congruential rule of its own.
std::string randomBytes(int count) {
    std::string bytes;
    std::uint32_t state = 5;
    for (int i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        bytes += static_cast<char>(state >> 23);
    }
    return bytes;
}

// A class diagram of `classes` classes, then a package line, which the
// model graph reader reads cleanly and the class diagram reader not at all,
// then `members` attribute lines, which the model graph reader reads only
// out of order.
std::string classesPackageMembers(int classes, int members) {
    std::string text = std::to_string(classes) + ",0\n";
    for (int c = 0; c < classes; ++c) text += "c," + std::to_string(c) + ",app.C" + std::to_string(c) + "\n";
    text += "p," + std::to_string(classes) + ",app\n";
    for (int m = 0; m < members; ++m) text += "a," + std::to_string(m) + ",private@int@n" + std::to_string(m) + "\n";
    return text;
}

// The lines of a plain graph file after `first`, which takes the place of
// its header line.
std::string plainAfter(const std::string& first) { return first + "\n" + plainGraph(); }

INSTANTIATE_TEST_SUITE_P(
    Files, WrongModeTest,
    ::testing::Values(
        RefusalCase{"plain graph as an edge list", 6, kPlainTen, 0, true,
                    "Graph file F: 4 lines not read in reader mode 6 (the first: line 2); it looks like a plain graph "
                    "file (reader mode 0)\nGraph file F is not used: read it with -h 0\n"},
        // A faulty line is a fault of the file, not a sign of another syntax.
        RefusalCase{"one unread line", 6, "4,2\n0,1,1\n1,2\n", -1, false,
                    "Graph file F: 1 line not read in reader mode 6 (the first: line 3)\n"},
        RefusalCase{"edge list with arcs to no vertex", 6, kEdgeListTo99, -1, false,
                    "Graph file F: 2 lines not read in reader mode 6 (the first: line 5)\n"},
        // Its first arcs taken for vertex lines: two of them repeat a vertex
        // (read only leniently), which the edge list reader reads cleanly.
        RefusalCase{"edge list as a plain graph", 0, kEdgeList, 6, true,
                    "Graph file F: 2 lines not read in reader mode 0 (the first: line 3); it looks like an edge list "
                    "graph file (reader mode 6)\nGraph file F is not used: read it with -h 6\n"},
        // Its first ten arcs start at ten different vertices: they read as a
        // plain graph file's vertex lines, and the header's arc count says
        // nothing of the syntax. It runs, with the arcs it lacks.
        RefusalCase{"edge list of distinct first arcs as a plain graph", 0,
                    "10,12\n0,1,1\n1,2,1\n2,3,1\n3,4,1\n4,5,1\n5,6,1\n6,7,1\n7,8,1\n8,9,1\n9,0,1\n0,5,2\n3,7,2\n", -1,
                    false, "Graph file F: 10 of the 12 arcs its header announces are missing (reader mode 0)\n"},
        // A plain graph file whose vertex lines carry weights reads cleanly.
        RefusalCase{"plain graph with weighted numeric vertices", 0, "3,2\n0,5,0.5\n1,6,1\n2,7,2\n0,1,1\n1,2,1\n",
                    -1, false, ""},
        RefusalCase{"two lines of twenty-one", 0, kPlainTen + "0,7,1\n1,9,1\n2,0,1\n3,2,1\n1,1,1\n2,2,1\n3,3,1\n",
                    -1, false, "Graph file F: 2 lines not read in reader mode 0 (the first: line 16)\n"},
        RefusalCase{"class diagram in mode 12", 12, readFile(exampleFile("library-v1.txt")), 4, true,
                    "Graph file F: 9 lines not read in reader mode 12 (the first: line 7); it looks like a class "
                    "diagram file (reader modes 4, 5, 8 and 9)\nGraph file F is not used: read it with -h 4, 5, 8 "
                    "or 9\n"},
        RefusalCase{"class diagram with two cut lines", 4, libraryCut(), -1, false,
                    "Graph file F: 2 lines not read in reader mode 4 (the first: line 9)\n"},
        RefusalCase{"class diagram with two cut lines, mode 9", 9, libraryCut(), -1, false,
                    "Graph file F: 2 lines not read in reader mode 9 (the first: line 9)\n"},
        // The two cut lines read in neither mode: the member lines that mode
        // 12 reads only out of order still tell the class diagram.
        RefusalCase{"class diagram with two cut lines, mode 12", 12, libraryCut(), 4, true,
                    "Graph file F: 9 lines not read in reader mode 12 (the first: line 7); it looks like a class "
                    "diagram file (reader modes 4, 5, 8 and 9)\nGraph file F is not used: read it with -h 4, 5, 8 "
                    "or 9\n"},
        RefusalCase{"edge list with arcs to no vertex as a plain graph", 0, kEdgeListTo99, -1, false,
                    "Graph file F: 10 of the 12 arcs its header announces are missing (reader mode 0)\n"},
        // A plain graph file whose vertex lines have the shape of arcs, and
        // whose header counts an arc or two more than it holds, is read, with
        // the arcs it lacks.
        RefusalCase{"weighted numeric vertices, a header one arc too many", 0,
                    "6,7\n0,1,0.5\n1,2,0.5\n2,3,0.5\n3,4,0.5\n4,5,0.5\n5,1,0.5\n0,1,1\n1,2,1\n2,3,1\n3,4,1\n4,5,1\n"
                    "5,0,1\n",
                    -1, false, "Graph file F: 1 of the 7 arcs its header announces is missing (reader mode 0)\n"},
        RefusalCase{"weighted numeric vertices, two arc lines lost", 0,
                    "6,8\n0,1,0.5\n1,2,0.5\n2,3,0.5\n3,4,0.5\n4,5,0.5\n5,1,0.5\n0,1,1\n1,2,1\n2,3,1\n3,4,1\n4,5,1\n"
                    "5,0,1\n",
                    -1, false, "Graph file F: 2 of the 8 arcs its header announces are missing (reader mode 0)\n"},
        RefusalCase{"model graph as a named edge list", 3, readFile(exampleFile("shop-v1.txt")), 12, true,
                    "Graph file F: 198 lines not read in reader mode 3 (the first: line 1); it looks like a model "
                    "graph file (reader mode 12)\nGraph file F is not used: read it with -h 12\n"},
        RefusalCase{"state machine as a named edge list", 3, readFile(exampleFile("door-states-v1.txt")), 11, true,
                    "Graph file F: 8 lines not read in reader mode 3 (the first: line 1); it looks like a state "
                    "machine file (reader mode 11)\nGraph file F is not used: read it with -h 11\n"},
        // Its header reads as no named arc, and a named edge list has none.
        RefusalCase{"edge list as a named edge list", 3, kEdgeList, 6, true,
                    "Graph file F: 1 line not read in reader mode 3 (the first: line 1); it looks like an edge list "
                    "graph file (reader mode 6)\nGraph file F is not used: read it with -h 6\n"},
        // A member line names class 7, which the file does not hold; mode 12
        // takes it (the seventh vertex) cleanly by chance: no evidence
        // against the class diagram all the same.
        RefusalCase{"class diagram with a member of a missing class, mode 12", 12,
                    [] {
                        std::vector<std::string> rows = lines(readFile(exampleFile("library-v1.txt")));
                        rows[8] = "a,7,private@String@name";
                        std::string text;
                        for (const std::string& row : rows) text += row + "\n";
                        return text.substr(0, text.size() - 1);
                    }(),
                    4, true,
                    "Graph file F: 8 lines not read in reader mode 12 (the first: line 7); it looks like a class "
                    "diagram file (reader modes 4, 5, 8 and 9)\nGraph file F is not used: read it with -h 4, 5, 8 "
                    "or 9\n"},
        // An arc to a vertex the file does not hold is a fault of the file:
        // no reading of its first lines as vertex lines is named; but four of
        // its seven lines do not read.
        RefusalCase{"edge list fixture with faults", 6, readFile(fixture("graph/edgelist.csv")), -1, true,
                    "Graph file F is not used: most of it does not read in reader mode 6: 4 of its 7 lines not read "
                    "(the first: line 5)\n"},
        RefusalCase{"named edge list", 12, "alice,bob,1\nbob,carol,2\ncarol,alice,1\ndave,alice,3\n", 3, true,
                    "Graph file F: no line reads in reader mode 12; it looks like a named edge list file (reader mode "
                    "3)\nGraph file F is not used: read it with -h 3\n"},
        RefusalCase{"text as a binary graph", 1, readFile(exampleFile("shop-v1.txt")), 12, true,
                    "Graph file F: it is a text file, not a binary graph file (reader mode 1 reads 16-bit words); it "
                    "looks like a model graph file (reader mode 12)\nGraph file F is not used: read it with -h 12\n"},
        RefusalCase{"binary words ending early", 1, std::string("\x05\x00\x01\x00\x02\x00\x00\x00", 8), -1, true,
                    "Graph file F: its 16-bit words end at byte 8, before vertex 2 of the 5 it announces has its arc "
                    "count (reader mode 1)\n"},
        RefusalCase{"binary words ending inside arcs", 2,
                    std::string("\x02\x00\x00\x00\x01\x00\x02\x00\x01\x00", 10), -1, true,
                    "Graph file F: its 16-bit words end at byte 10, inside the arcs of vertex 0 of the 2 it "
                    "announces (reader mode 2)\n"},
        // Cut inside the arcs of its last vertex: every vertex has its arc
        // count, the arcs before the cut are read.
        RefusalCase{"binary words ending inside the last arcs", 1,
                    std::string("\x02\x00\x01\x00\x01\x00\x02\x00\x00\x00", 10), -1, false,
                    "Graph file F: its 16-bit words end at byte 10, inside the arcs of vertex 1 of the 2 it announces, "
                    "its last; the arcs before are read (reader mode 1)\n"},
        RefusalCase{"binary file with bytes after its arcs", 1, std::string("\x01\x00\x00\x00\x07", 5), -1, false,
                    "Graph file F: 1 byte after the arcs of its last vertex not read (reader mode 1)\n"},
        RefusalCase{"binary file as a plain graph", 0, binaryGraph(false), 1, true,
                    "Graph file F: no line reads in reader mode 0; it looks like a binary graph file (reader mode "
                    "1)\nGraph file F is not used: read it with -h 1\n"},
        RefusalCase{"empty binary file", 1, "", -1, false, ""},
        // Faults of the file in their own mode that another syntax happens
        // to read are no sign of it.
        RefusalCase{"relations to a missing class", 4, relationsToAMissingClass(), -1, false,
                    "Graph file F: 10 lines not read in reader mode 4 (the first: line 23)\n"},
        RefusalCase{"messages without labels", 10, messagesWithoutLabels(), -1, false,
                    "Graph file F: 3 lines not read in reader mode 10 (the first: line 10)\n"},
        // A header that counts five arcs too many is a fault of the file.
        RefusalCase{"weighted plain graph, header five arcs too many", 0, weightedPlain(5, "2"), -1, false,
                    "Graph file F: 5 of the 25 arcs its header announces are missing (reader mode 0)\n"},
        // Its vertex lines read as arcs labelled 2: an edge list of 30 arcs,
        // which it cannot be told from.
        RefusalCase{"weighted plain graph as an edge list", 6, weightedPlain(0, "2"), -1, false, ""},
        // Its vertex lines read as arcs labelled "0.5", which is no label of
        // digits: only leniently.
        RefusalCase{"plain graph weighted 0.5 as an edge list", 6, weightedPlain(0, "0.5"), 0, true,
                    "Graph file F: 10 lines not read in reader mode 6 (the first: line 2); it looks like a plain graph "
                    "file (reader mode 0)\nGraph file F is not used: read it with -h 0\n"},
        // One "line" of bytes that fill a binary file exactly: 50 vertices
        // (the first word, the bytes "2" and 0), each without arcs.
        RefusalCase{"binary file without a line feed as a plain graph", 0, std::string("2\0", 2) + std::string(100, '\0'),
                    1, true,
                    "Graph file F: no line reads in reader mode 0; it looks like a binary graph file (reader mode "
                    "1)\nGraph file F is not used: read it with -h 1\n"},
        RefusalCase{"carriage returns alone", 0, "3,2\r0,a\r1,b\r2,c\r0,1,1\r1,2,1\r", -1, true,
                    "Graph file F: its lines end with a carriage return alone, read in reader mode 0 as one line; end "
                    "them with line feeds\n"},
        // A binary graph file whose words hold bytes 13 and no byte 10 is
        // named as a binary graph file, as one of other bytes is: 14
        // vertices, vertex 0 with two arcs to vertex 13.
        RefusalCase{"binary file with carriage returns and no line feed as a plain graph", 0,
                    std::string("\x0E\x00\x02\x00\x0D\x00\x0D\x00", 8) + std::string(26, '\0'), 1, true,
                    "Graph file F: no line reads in reader mode 0; it looks like a binary graph file (reader mode "
                    "1)\nGraph file F is not used: read it with -h 1\n"},
        // Carriage returns alone in a file of byte 0 that fills no binary
        // graph file's words: text of carriage returns all the same.
        RefusalCase{"carriage returns alone with a byte 0", 0, std::string("3,2\r0,a\r1,b\r2,c\r0,1,1\r1,2,\0\r", 28),
                    -1, true,
                    "Graph file F: its lines end with a carriage return alone, read in reader mode 0 as one line; end "
                    "them with line feeds\n"},
        RefusalCase{"labelled binary file in mode 1", 1, std::string("\x01\x00\x32\x00\x00\x00", 6), 2, true,
                    "Graph file F: its 16-bit words end at byte 6, inside the arcs of vertex 0 of the 1 it announces "
                    "(reader mode 1); it looks like a binary graph file with arc labels (reader mode 2)\nGraph file F "
                    "is not used: read it with -h 2\n"}),
    CaseName());

// The rules, each on both sides of its boundary, with the files that showed
// where an earlier judgement went wrong.
INSTANTIATE_TEST_SUITE_P(
    Rules, WrongModeTest,
    ::testing::Values(
        // 1. The first line decides: the header of a plain or edge list graph
        // file, the first arc of a named edge list.
        RefusalCase{"plain graph after a blank line", 0, plainAfter(""), -1, true, "Graph file F is not used: line 1, read as the header, is not VERTICES,ARCS (reader mode 0)\n"},
        RefusalCase{"plain graph after a junk line", 0, plainAfter("junk"), -1, true, "Graph file F is not used: line 1, read as the header, is not VERTICES,ARCS (reader mode 0)\n"},
        RefusalCase{"plain graph after a long line", 0, plainAfter(std::string(100000, 'x')), -1, true, "Graph file F is not used: line 1, read as the header, is not VERTICES,ARCS (reader mode 0)\n"},
        RefusalCase{"plain graph after a second byte-order mark", 0, "\xEF\xBB\xBF\xEF\xBB\xBF" + plainGraph(), -1,
                    true, "Graph file F is not used: line 1, read as the header, is not VERTICES,ARCS (reader mode 0)\n"},
        RefusalCase{"plain graph with a byte not ASCII in its header", 0, "3\xC3" + plainGraph().substr(1), -1, true, "Graph file F is not used: line 1, read as the header, is not VERTICES,ARCS (reader mode 0)\n"},
        RefusalCase{"edge list after a blank line", 6, "\n" + edgeList(), -1, true, "Graph file F is not used: line 1, read as the header, is not VERTICES,ARCS (reader mode 6)\n"},
        RefusalCase{"edge list announcing no vertices", 6, "0,3\n0,1,1\n1,2,1\n2,0,1\n", -1, true, "Graph file F is not used: line 1, read as the header, announces no vertices (reader mode 6)\n"},
        RefusalCase{"plain graph announcing no vertices", 0, "0,0\n", -1, false, ""},
        RefusalCase{"plain graph as a named edge list", 3, plainAfter(""), -1, true, "Graph file F is not used: line 2, the first with content, is no named arc NAME,NAME,LABEL, and a "
                    "named edge list has no header (reader mode 3)\n"},
        RefusalCase{"edge list fixture as a named edge list", 3, readFile(fixture("graph/edgelist.csv")), -1, true, "Graph file F is not used: line 1, the first with content, is no named arc NAME,NAME,LABEL, and a "
                    "named edge list has no header (reader mode 3)\n"},
        RefusalCase{"sequence diagram without its header as a named edge list", 3,
                    [] {
                        // Its first entity line, read as the header, leaves the
                        // numbering broken once: a fault of the file.
                        std::vector<std::string> rows = lines(readFile(exampleFile("order-sequence-v1.txt")));
                        rows.erase(rows.begin() + 5);
                        rows.erase(rows.begin());
                        std::string text;
                        for (const std::string& row : rows) text += row + "\n";
                        return text;
                    }(),
                    10, true,
                    "Graph file F: 6 lines not read in reader mode 3 (the first: line 1); it looks like a sequence "
                    "diagram file (reader mode 10)\nGraph file F is not used: read it with -h 10\n"},
        RefusalCase{"named edge list with a header-like second line", 3, "a,b,1\n4,3\nb,c,2\nc,a,1\n", -1, false,
                    "Graph file F: 1 line not read in reader mode 3 (the first: line 2)\n"},
        // 2. Most lines not read: half of them runs, more is refused.
        RefusalCase{"half of the lines not read", 12, "4,0\nc,0,A\nc,1,B\nx\ny\n", -1, false, "Graph file F: 2 lines not read in reader mode 12 (the first: line 4)\n"},
        RefusalCase{"most lines not read", 12, "5,0\nc,0,A\nc,1,B\nx\ny\nz\n", -1, true, "Graph file F is not used: most of it does not read in reader mode 12: 3 of its 5 lines not read "
                    "(the first: line 4)\n"},
        RefusalCase{"random bytes as a model graph", 12, randomBytes(200000), -1, true, "Graph file F: no line reads in reader mode 12\n"},
        RefusalCase{"random bytes as a named edge list", 3, randomBytes(200000), -1, true, "Graph file F is not used: line 1, the first with content, is no named arc NAME,NAME,LABEL, and a "
                    "named edge list has no header (reader mode 3)\n"},
        RefusalCase{"random bytes after a class line", 12, "1,0\nc,0,A\n" + randomBytes(200000), -1, true, "Graph file F is not used: most of it does not read in reader mode 12: 835 of its 836 lines not read "
                    "(the first: line 3)\n"},
        RefusalCase{"random bytes after a named arc", 3, "a,b,1\n" + randomBytes(200000), -1, true, "Graph file F is not used: most of it does not read in reader mode 3: 634 of its 836 lines not read "
                    "(the first: line 2)\n"},
        // 3. Another syntax reads the file no worse, line for line, and
        // better: refused; one line it reads worse, and it runs.
        RefusalCase{"thirty entities and one message, mode 12", 12, entitiesAndOneMessage(30), 10, true, "Graph file F: 2 lines not read in reader mode 12 (the first: line 32); it looks like a sequence "
                    "diagram file (reader mode 10)\nGraph file F is not used: read it with -h 10\n"},
        RefusalCase{"thirty entities and one message, mode 4", 4, entitiesAndOneMessage(30), 10, true, "Graph file F: 3 lines not read in reader mode 4 (the first: line 32); it looks like a sequence "
                    "diagram file (reader mode 10)\nGraph file F is not used: read it with -h 10\n"},
        RefusalCase{"weighted plain graph with a repeated vertex line", 0,
                    "4,4\n0,1,2\n1,2,1\n1,3,1\n3,0,2\n0,1,1\n1,2,1\n2,3,1\n3,0,1\n", 6, true,
                    "Graph file F: 1 line not read in reader mode 0 (the first: line 4); it looks like an edge list "
                    "graph file (reader mode 6)\nGraph file F is not used: read it with -h 6\n"},
        RefusalCase{"the same with a vertex line without its weight", 0,
                    "4,4\n0,1,2\n1,2,1\n1,3,1\n3,0\n0,1,1\n1,2,1\n2,3,1\n3,0,1\n", -1, false, ""},
        RefusalCase{"a dense edge list as a plain graph", 0, denseEdgeList(), 6, true, "Graph file F: 18 lines not read in reader mode 0 (the first: line 3); it looks like an edge list "
                    "graph file (reader mode 6)\nGraph file F is not used: read it with -h 6\n"},
        RefusalCase{"a plain graph file with an arc cut short as an edge list", 6,
                    withLine(plainGraph(), 40, "9,6"), 0, true, "Graph file F: 31 lines not read in reader mode 6 (the first: line 2); it looks like a plain graph "
                    "file (reader mode 0)\nGraph file F is not used: read it with -h 0\n"},
        // (In mode 9, the model graph's relations name classes beyond the
        // file's class lines: faults of the file, most of it.)
        RefusalCase{"a model graph file with a vertex line deleted, mode 9", 9,
                    withLine(readFile(exampleFile("shop-v1.txt")), 5, ""), 12, true, "Graph file F: 174 lines not read in reader mode 9 (the first: line 2); it looks like a model graph "
                    "file (reader mode 12)\nGraph file F is not used: read it with -h 12\n"},
        // 4. Another syntax explains the lines not read cleanly, losing one
        // line in ten of them or fewer (the package line, which the class
        // diagram reader does not read) ...
        // (It runs, and its warning names the syntax that reads the lines
        // it takes only leniently: rule 5.)
        RefusalCase{"a package and nine members, mode 12", 12, classesPackageMembers(20, 9), 4, false,
                    "Graph file F: 9 lines not read in reader mode 12 (the first: line 23); it looks like a class "
                    "diagram file (reader modes 4, 5, 8 and 9)\n"},
        RefusalCase{"a package and ten members, mode 12", 12, classesPackageMembers(20, 10), 4, true,
                    "Graph file F: 10 lines not read in reader mode 12 (the first: line 23); it looks like a class "
                    "diagram file (reader modes 4, 5, 8 and 9)\nGraph file F is not used: read it with -h 4, 5, 8 "
                    "or 9\n"},
        // ... and at least one line in ten of the file.
        RefusalCase{"ten members of 101 lines, mode 12", 12, classesPackageMembers(90, 10), 4, false,
                    "Graph file F: 10 lines not read in reader mode 12 (the first: line 93); it looks like a class "
                    "diagram file (reader modes 4, 5, 8 and 9)\n"},
        RefusalCase{"ten members of 100 lines, mode 12", 12, classesPackageMembers(89, 10), 4, true,
                    "Graph file F: 10 lines not read in reader mode 12 (the first: line 92); it looks like a class "
                    "diagram file (reader modes 4, 5, 8 and 9)\nGraph file F is not used: read it with -h 4, 5, 8 "
                    "or 9\n"},
        // 5. Faults of the file run with the warning, no other mode named: a
        // plain graph file cut short (its vertex lines have the shape of
        // arcs; the header's arc count tells nothing of the syntax) ...
        RefusalCase{"plain graph cut short", 0, plainCutShort(40, 25, ",0,0"), -1, false, "Graph file F: 15 of the 40 arcs its header announces are missing (reader mode 0)\n"},
        // ... a relation of mode 9 to a class the file does not hold, a
        // binary arc to a vertex the file does not hold ...
        RefusalCase{"relation to a missing class, mode 9", 9, "3,2\nc,0,a.A\nc,1,a.B\nc,2,b.C\nr,0,1,1\nr,0,7,3\n", -1,
                    false, "Graph file F: 1 line not read in reader mode 9 (the first: line 6)\n"},
        RefusalCase{"binary arc to a missing vertex", 1, std::string("\x03\x00\x01\x00\x60\xEA\x01\x00\x02\x00\x00\x00", 12),
                    -1, false, "Graph file F: 1 arc names a vertex the file does not hold (reader mode 1)\n"},
        // ... a header whose numbers are written otherwise ...
        RefusalCase{"header +30,90", 0, withLine(plainGraph(), 1, "+30,90"), -1, false, ""},
        RefusalCase{"header 30.0,90.0", 0, withLine(plainGraph(), 1, "30.0,90.0"), -1, false, ""},
        RefusalCase{"header 30,,90", 0, withLine(plainGraph(), 1, "30,,90"), -1, false, ""},
        RefusalCase{"header 30", 0, withLine(plainGraph(), 1, "30"), -1, false, ""},
        // ... a vertex line missing (an unlabelled vertex stands in for it).
        RefusalCase{"a vertex line missing", 0, "4,0\n0,a\n1,b\n2,c\n", -1, false,
                    "Graph file F: 1 of the 4 vertex lines its header announces is missing (reader mode 0)\n"},
        RefusalCase{"plain graph of a header twelve arcs too many", 0, plainCutShort(32, 20, ",0"), -1, false, "Graph file F: 12 of the 32 arcs its header announces are missing (reader mode 0)\n"},
        // ... a transition or message to a vertex the file does not hold.
        RefusalCase{"transition to no state", 11, "2,2\ns,0,idle\ns,1,busy\nt,0,1,Start\nt,1,7,Stop\n", -1, false,
                    "Graph file F: 1 line not read in reader mode 11 (the first: line 5)\n"},
        RefusalCase{"message from no vertex", 10,
                    "4,4\nc,0,shop.Order\nc,1,shop.Payment\nl,2,0,o1\nm,2,2,ping,x@1\nm,7,2,pay,y@2\n", -1, false,
                    "Graph file F: 1 line not read in reader mode 10 (the first: line 6)\n"},
        // Binary files: the other binary mode that reads every word is named.
        RefusalCase{"unlabelled binary file in mode 2", 2, binaryGraph(false), 1, true, "Graph file F: its 16-bit words end at byte 74, inside the arcs of vertex 3 of the 12 it announces "
                    "(reader mode 2); it looks like a binary graph file (reader mode 1)\nGraph file F is not used: read "
                    "it with -h 1\n"},
        RefusalCase{"labelled binary file in mode 1", 1, binaryGraph(true), 2, true, "Graph file F: 96 bytes after the arcs of its last vertex not read (reader mode 1); it looks like a "
                    "binary graph file with arc labels (reader mode 2)\nGraph file F is not used: read it with -h 2\n"}),
    CaseName());

// A sequence diagram of one lifeline read as a class diagram: its message
// reads as a member of the entity, its lifeline line not at all, and the
// sequence diagram reader reads every line.
TEST(ReaderModeJudgement, ASequenceDiagramIsRefusedInEveryClassDiagramMode) {
    ScratchDir dir;
    writeFile("F", readFile(fixture("graph/sequence.txt")));
    for (int mode : {4, 5, 8, 9}) {
        const Outcome o = judge(mode, "F");
        EXPECT_FALSE(o.usable) << mode;
        EXPECT_EQ(o.betterMode, 10) << mode;
        EXPECT_EQ(o.err, "Graph file F: 1 line not read in reader mode " + std::to_string(mode) +
                             " (the first: line 3); it looks like a sequence diagram file (reader mode 10)\nGraph "
                             "file F is not used: read it with -h 10\n");
    }
}

// A trial reading that fails (here: the plain and edge list readers, whose
// vertex tables do not fit a machine of 4 KB) reads nothing: it neither
// refuses the file nor is named. A model graph file with three stray lines
// runs with the warning.
TEST(ReaderModeJudgement, ATrialThatFailsReadsNothing) {
    ScratchDir dir;
    std::vector<std::string> rows = lines(readFile(exampleFile("shop-v1.txt")));
    for (int at : {150, 100, 50}) rows.insert(rows.begin() + at, "stray text from an editor");
    std::string text;
    for (const std::string& row : rows) text += row + "\n";
    writeFile("F", text);
    setPhysicalMemoryOverride(4096);
    const Outcome o = judge(12, "F");
    setPhysicalMemoryOverride(0);
    EXPECT_TRUE(o.usable) << o.err;
    EXPECT_EQ(o.betterMode, -1);
    EXPECT_EQ(o.err, "Graph file F: 3 lines not read in reader mode 12 (the first: line 51)\n");
}

// A class diagram with three member lines cut short: the lines are named,
// no other mode is (the model graph reader takes such lines only out of
// order).
TEST(ReaderModeJudgement, CutMemberLinesNameNoOtherMode) {
    ScratchDir dir;
    std::vector<std::string> rows = lines(readFile(exampleFile("series/shop-2.txt")));
    int cut = 0;
    for (std::string& row : rows)
        if (cut < 3 && (row.rfind("a,", 0) == 0 || row.rfind("m,", 0) == 0)) {
            row = lineFields(row)[0] + "," + lineFields(row)[1];
            ++cut;
        }
    std::string text;
    for (const std::string& row : rows) text += row + "\n";
    writeFile("F", text);
    const Outcome o = judge(4, "F");
    EXPECT_TRUE(o.usable);
    EXPECT_EQ(o.err, "Graph file F: 3 lines not read in reader mode 4 (the first: line 8)\n");
}

// The advice of a refusal in the words of the program: the switch, the
// argument, or what a program of one fixed mode reads and how to convert.
TEST(ReaderModeJudgement, TheAdviceFollowsHowTheProgramChoosesItsMode) {
    ScratchDir dir;
    writeFile("F", readFile(exampleFile("shop-v1.txt")));
    CaptureStderr quiet;
    ReadGraph r = readGraph(4, "F");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"switch", "Graph file F is not used: read it with -h 12\n"},
        {"argument", "Graph file F is not used: read it in reader mode 12\n"},
        {"fixed", "Graph file F is not used: tunnel reads class diagram files (reader mode 4); convert a model graph "
                  "file with awk -f tools/model-to-class-diagram.awk F > CLASS_DIAGRAM.txt\n"},
    };
    for (const auto& [choice, advice] : cases) {
        CaptureStderr err;
        const ModeChoice how = choice == "switch"     ? ModeChoice::Switch
                               : choice == "argument" ? ModeChoice::Argument
                                                      : ModeChoice::Fixed;
        EXPECT_FALSE(graphUsable(*r.graph, 4, "F", how, "tunnel"));
        EXPECT_EQ(err.text(), advice);
    }
}

// The trial readings print nothing (the readers of modes 0 and 6 frame the
// arc label 12 of this plain graph file), draw no random number, keep the
// state of standard output and leave the graph as its own reader made it.
TEST(ReaderModeJudgement, TrialReadingsAreSilentAndChangeNothing) {
    ScratchDir dir;
    const std::string content = "3,2\n0,a\n1,b\n2,c\n0,1,1\n1,2,12\n";
    writeFile("F", content);
    srand15(5);
    rand15();
    const std::uint32_t state = randomState();
    const long draws = randomDraws();

    CaptureStderr err;
    ReadGraph judged = readGraph(12, "F");
    EXPECT_EQ(judged.graph->reading.verdict.otherMode, 0) << err.text();
    EXPECT_EQ(randomState(), state);
    EXPECT_EQ(randomDraws(), draws);
    EXPECT_TRUE(judged.graph->reading.verdict.nothingRead());
    EXPECT_EQ(judged.out.rfind(fileHeader("F", 12) + "\n Acquisition Input Done", 0), 0u) << judged.out;
    EXPECT_FALSE(contains(judged.out, "***12***")) << judged.out;

    // The reader alone, on the same lines.
    Graph alone;
    std::istringstream lines(content);
    {
        CaptureStdout quiet;
        alone.initMode12(lines);
    }
    EXPECT_EQ(vertexTable(*judged.graph), vertexTable(alone));
    EXPECT_EQ(edgeTable(*judged.graph), edgeTable(alone));
    EXPECT_EQ(judged.graph->reading.account.read(), alone.reading.account.read());
    EXPECT_EQ(judged.graph->reading.account.notRead(), alone.reading.account.notRead());

    // A console that failed stays failed: no trial touches it.
    std::cout.setstate(std::ios::badbit);
    {
        CaptureStderr quiet;
        Graph again(12, "F");
        EXPECT_EQ(again.reading.verdict.otherMode, 0);
    }
    EXPECT_TRUE(std::cout.bad());
    std::cout.clear();
}

// A trial graph is sized by the file's lines, not by its header: an edge
// list whose header announces two million vertices, read in mode 12, is
// judged on a machine of 64 MB, where a graph of that many vertices would
// not fit (its trial would read nothing and name no mode).
TEST(ReaderModeJudgement, ATrialIsSizedByTheLinesOfTheFile) {
    ScratchDir dir;
    writeFile("F", "2000000,12\n0,1,1\n1,2,1\n2,3,1\n3,4,1\n4,5,1\n5,6,1\n6,7,1\n7,8,1\n8,9,1\n9,0,1\n0,5,2\n3,7,2\n");
    setPhysicalMemoryOverride(64.0 * 1024 * 1024);
    const Outcome o = judge(12, "F");
    setPhysicalMemoryOverride(0);
    EXPECT_EQ(o.betterMode, 6) << o.err;
    EXPECT_FALSE(o.usable);

    // Arcs between vertices the trial graph does not keep, but the header
    // announces, read all the same.
    writeFile("F", "100,4\n90,91,1\n91,92,1\n92,99,1\n99,90,2\n");
    const Outcome sparse = judge(12, "F");
    EXPECT_EQ(sparse.betterMode, 6) << sparse.err;
    EXPECT_EQ(sparse.err, "Graph file F: no line reads in reader mode 12; it looks like an edge list graph file "
                          "(reader mode 6)\nGraph file F is not used: read it with -h 6\n");
}

// A header of two billion vertices (informative in mode 12) costs the
// trials nothing, and no other syntax reads the file: its own reading
// stands, with the line it does not read.
TEST(ReaderModeJudgement, AHugeHeaderCostsTheTrialsNothing) {
    ScratchDir dir;
    writeFile("F", "2000000000,2\np,0,.\nc,1,A\nq,2\nr,0,1,9\n");
    CaptureStderr err;
    ReadGraph r = readGraph(12, "F");
    EXPECT_EQ(r.graph->reading.account.read(), 3);
    EXPECT_EQ(r.graph->reading.verdict.otherMode, -1);
    EXPECT_EQ(err.text(), "Graph file F: 1 line not read in reader mode 12 (the first: line 4)\n");
    EXPECT_TRUE(contains(r.out, "\n Acquisition Input Done")) << r.out;
}


// Blanks and tabs at the end of a line never decide a syntax: with a blank
// or a tab after every line, or after the first, every sample file gets in
// every reader mode the verdict, and the words, of the clean file.
TEST(ReaderModeJudgement, BlanksThatEndALineDecideNothing) {
    ScratchDir dir;
    for (const Sample& sample : samples()) {
        if (sample.ownModes[0] == 1 || sample.ownModes[0] == 2) continue;  // no lines
        for (int mode : kFileModes) {
            if (mode == 1 || mode == 2) continue;  // a text file there is refused as one
            writeFile("F", sample.content);
            const Outcome clean = judge(mode, "F");
            for (const std::string tail : {" ", "\t", " \t "})
                for (bool firstOnly : {false, true}) {
                    writeFile("F", withTrailing(sample.content, tail, firstOnly));
                    const Outcome o = judge(mode, "F");
                    const std::string where = sample.name + " in mode " + std::to_string(mode) + ", '" + tail +
                                              "' after " + (firstOnly ? "the first line" : "every line");
                    EXPECT_EQ(o.usable, clean.usable) << where << "\n" << o.err;
                    EXPECT_EQ(o.betterMode, clean.betterMode) << where << "\n" << o.err;
                    EXPECT_EQ(o.err, clean.err) << where;
                }
        }
    }
}

// Blank lines cost nothing and change no verdict, wherever they stand but
// where a plain graph file's header announces a vertex line (there a blank
// line is a missing vertex line): a thousand of them at the end of every
// sample file, or one after every line, in every text mode.
TEST(ReaderModeJudgement, BlankLinesChangeNoVerdict) {
    ScratchDir dir;
    for (const Sample& sample : samples()) {
        if (sample.ownModes[0] == 1 || sample.ownModes[0] == 2) continue;
        for (int mode : kFileModes) {
            if (mode == 1 || mode == 2) continue;
            writeFile("F", sample.content);
            const Outcome clean = judge(mode, "F");
            writeFile("F", sample.content + std::string(1000, '\n'));
            const Outcome o = judge(mode, "F");
            const std::string where = sample.name + " in mode " + std::to_string(mode);
            EXPECT_EQ(o.usable, clean.usable) << where << "\n" << o.err;
            EXPECT_EQ(o.betterMode, clean.betterMode) << where << "\n" << o.err;
            EXPECT_EQ(o.err, clean.err) << where;
            // A blank line after every line: the verdict stands (the line
            // numbers in its words are those of the longer file).
            std::string spaced;
            for (const std::string& row : lines(sample.content)) spaced += row + "\n\n";
            writeFile("F", spaced);
            const Outcome s = judge(mode, "F");
            EXPECT_EQ(s.usable, clean.usable) << where << ", spaced\n" << s.err;
            if (syntaxOf(sample.ownModes[0]) == 0) {
                // Half its vertex lines are now blank: missing, as its own
                // reader says; another syntax's reading may now read it
                // better than the plain graph reader does.
                if (mode == 0) {
                    EXPECT_TRUE(contains(s.err, "15 of the 30 vertex lines its header announces are missing")) << s.err;
                }
                continue;
            }
            EXPECT_EQ(s.betterMode, clean.betterMode) << where << ", spaced\n" << s.err;
        }
    }
}

// The blank lines of a plain graph file whose header announces a million
// vertex lines and more make no table of that size: the file is refused at
// once, in a few MB (the vertex table alone would take hundreds).
TEST(ReaderModeJudgement, BlankLinesUnderAHugeHeaderMakeNoTable) {
    ScratchDir dir;
    writeFile("F", "2000000,0\n" + std::string(1000000, '\n'));
    setPhysicalMemoryOverride(64.0 * 1024 * 1024);
    CaptureStderr err;
    ReadGraph r = readGraph(0, "F");
    setPhysicalMemoryOverride(0);
    EXPECT_EQ(r.graph->vertices, 0);
    EXPECT_FALSE(r.graph->reading.verdict.usable());
    EXPECT_EQ(err.text(), "Graph file F is not used: most of it does not read in reader mode 0: 2000000 of the "
                          "2000000 vertex lines its header announces are missing\n");
    EXPECT_FALSE(contains(r.out, "Missing Vertex")) << r.out.substr(0, 200);
}

// A header may announce up to twice as many vertex lines as the file has
// lines with content after it (blank lines aside): such a graph keeps its
// vertices, the missing ones unlabelled; one more, and no table is made.
TEST(ReaderModeJudgement, AHeaderMakesItsTableUpToTwiceTheLinesWithContent) {
    ScratchDir dir;
    const std::vector<std::tuple<std::string, int, bool>> cases = {
        {"4,0\n0,a\n1,b\n", 4, true},
        {"4,0\n0,a\n1,b\n\n\n\n\n", 4, true},
        {"5,0\n0,a\n1,b\n", 0, false},
        {"5,0\n0,a\n1,b\n\n\n\n\n\n\n", 0, false},
    };
    for (const auto& [content, vertices, usable] : cases) {
        writeFile("F", content);
        CaptureStderr quiet;
        ReadGraph r = readGraph(0, "F");
        EXPECT_EQ(r.graph->vertices, vertices) << content;
        EXPECT_EQ(r.graph->reading.verdict.usable(), usable) << content;
        if (vertices > 0 && r.graph->V.size() > 1) {
            EXPECT_EQ(r.graph->V[1]->label, "b") << content;
        }
    }
}

// Damage that renumbers: a vertex line written twice or lost in a file
// whose arcs name their ends by position (sequence diagrams, state
// machines) is a fault of the file where the numbering breaks, counted in
// the warning; the file is refused in the class diagram modes as the clean
// file is.
std::string exampleWithLine(const std::string& example, int number, bool twice) {
    std::vector<std::string> rows = lines(readFile(exampleFile(example)));
    if (twice)
        rows.insert(rows.begin() + (number - 1), rows[number - 1]);
    else
        rows.erase(rows.begin() + (number - 1));
    std::string text;
    for (const std::string& row : rows) text += row + "\n";
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Renumbering, WrongModeTest,
    ::testing::Values(
        RefusalCase{"a sequence diagram with an entity line twice", 10, exampleWithLine("order-sequence-v2.txt", 2, true),
                    -1, false, "Graph file F: 1 line not read in reader mode 10 (the first: line 3)\n"},
        RefusalCase{"a sequence diagram without an entity line", 10, exampleWithLine("order-sequence-v2.txt", 3, false),
                    -1, false, "Graph file F: 1 line not read in reader mode 10 (the first: line 3)\n"},
        RefusalCase{"a state machine without its first state line", 11, exampleWithLine("door-states-v1.txt", 2, false),
                    -1, false, "Graph file F: 1 line not read in reader mode 11 (the first: line 2)\n"},
        RefusalCase{"a state machine with its first state line twice", 11, exampleWithLine("door-states-v1.txt", 2, true),
                    -1, false, "Graph file F: 1 line not read in reader mode 11 (the first: line 3)\n"},
        RefusalCase{"numbers from 1", 11, "2,1\ns,1,idle\ns,2,busy\nt,0,1,Go\n", -1, false,
                    "Graph file F: 1 line not read in reader mode 11 (the first: line 2)\n"},
        RefusalCase{"the largest number", 11, "3,1\ns,0,idle\ns,2147483647,busy\ns,2,done\nt,0,1,Go\n", -1, false,
                    "Graph file F: 2 lines not read in reader mode 11 (the first: line 3)\n"},
        RefusalCase{"a sequence diagram with an entity line twice, mode 4", 4,
                    exampleWithLine("order-sequence-v2.txt", 2, true), 10, true, "Graph file F: 8 lines not read in reader mode 4 (the first: line 3); it looks like a sequence diagram file (reader mode 10)\nGraph file F is not used: read it with -h 10\n"},
        RefusalCase{"a sequence diagram without an entity line, mode 9", 9,
                    exampleWithLine("order-sequence-v2.txt", 3, false), 10, true, "Graph file F: 8 lines not read in reader mode 9 (the first: line 3); it looks like a sequence diagram file (reader mode 10)\nGraph file F is not used: read it with -h 10\n"},
        RefusalCase{"a state machine without its first state line, mode 5", 5,
                    exampleWithLine("door-states-v1.txt", 2, false), 11, true, "Graph file F: no line reads in reader mode 5; it looks like a state machine file (reader mode 11)\nGraph file F is not used: read it with -h 11\n"},
        RefusalCase{"a state machine with its first state line twice, mode 8", 8,
                    exampleWithLine("door-states-v1.txt", 2, true), 11, true, "Graph file F: no line reads in reader mode 8; it looks like a state machine file (reader mode 11)\nGraph file F is not used: read it with -h 11\n"}),
    CaseName());

// The graph of a renumbered file stays as its reader makes it: each line
// whose number is not its position is told on the trace, and the arcs
// reach the vertices at the positions they name.
TEST(ReaderModeJudgement, ARenumberedFileReadsAsItsReaderMakesIt) {
    ScratchDir dir;
    writeFile("F", exampleWithLine("order-sequence-v2.txt", 2, true));
    CaptureStderr quiet;
    ReadGraph r = readGraph(10, "F");
    EXPECT_TRUE(r.graph->reading.verdict.usable());
    EXPECT_EQ(r.graph->vertices, 11);
    EXPECT_TRUE(contains(r.out, "\n Order Problem: 0,shop.Customer[1]")) << r.out;
    EXPECT_TRUE(contains(r.out, "\n Order Problem: 5,payment1[6]")) << r.out;
    ASSERT_NE(r.graph->getEdge(3, 7), nullptr);  // "m,3,4,create": from position 3, now shop.Payment
    EXPECT_EQ(r.graph->V[3]->label, "shop.Payment");
}

// A plain graph file (of 30 vertices) with vertex lines deleted and the
// same arcs as an edge list (90 arcs), damaged alike: a warning names the
// syntax that reads most of what the chosen mode does not read well, or
// the file is refused naming it; the same damage in a file of the mode's
// own syntax names no other mode.
std::string withoutLines(const std::string& text, const std::set<std::size_t>& numbers) {
    std::string out;
    std::size_t number = 0;
    for (const std::string& row : lines(text))
        if (!numbers.count(++number)) out += row + "\n";
    return out;
}

// Every seventh line after the first with tabs for its commas.
std::string tabsForCommas(const std::string& text) {
    std::string out;
    std::size_t number = 0;
    for (std::string row : lines(text)) {
        if (++number > 1 && number % 7 == 0) std::replace(row.begin(), row.end(), ',', '\t');
        out += row + "\n";
    }
    return out;
}

// Every other arc to vertex 100 + its line.
std::string halfTheArcsToNoVertex(const std::string& text) {
    std::string out;
    std::size_t number = 0;
    for (const std::string& row : lines(text)) {
        std::vector<std::string> fields = lineFields(row);
        if (++number > 1 && number % 2 == 0 && fields.size() >= 3) fields[1] = std::to_string(100 + number);
        out += joined(fields) + "\n";
    }
    return out;
}

// A class diagram of 13 classes and 166 member and relation lines, its
// members after its classes, its relations last.
std::string thirteenClasses() {
    std::string text = "13,17\n";
    for (int c = 0; c < 13; ++c) text += "c," + std::to_string(c) + ",junit.framework.C" + std::to_string(c) + "\n";
    for (int c = 0; c < 13; ++c) {
        for (int a = 0; a < 1 + (c * 5) % 3; ++a)
            text += "a," + std::to_string(c) + ",private@int@field" + std::to_string(a) + "\n";
        for (int m = 0; m < 5 + (c * 7) % 8; ++m)
            text += "m," + std::to_string(c) + ",public@void@run" + std::to_string(m) + "@(int)\n";
    }
    for (int r = 0; r < 17; ++r)
        text += "r," + std::to_string(r % 13) + "," + std::to_string((r * 5 + 1) % 13) + "," + std::to_string(1 + r % 3) +
                "\n";
    return text;
}

// About 45 % of the lines after the first, drawn by a rule of its own.
std::string withoutNearlyHalf(const std::string& text, std::uint32_t seed) {
    std::set<std::size_t> gone;
    std::uint32_t state = seed;
    for (std::size_t number = 2; number <= lines(text).size(); ++number) {
        state = state * 1103515245u + 12345u;
        if ((state >> 16) % 100 < 45) gone.insert(number);
    }
    return withoutLines(text, gone);
}

INSTANTIATE_TEST_SUITE_P(
    DamagedFiles, WrongModeTest,
    ::testing::Values(
        RefusalCase{"a plain graph without six vertex lines, as an edge list", 6,
                    withoutLines(plainGraph(), {3, 8, 13, 18, 23, 28}), 0, false, "Graph file F: 24 lines not read in reader mode 6 (the first: line 2); it looks like a plain graph file (reader mode 0)\n"},
        RefusalCase{"a plain graph without six vertex lines", 0, withoutLines(plainGraph(), {3, 8, 13, 18, 23, 28}), -1,
                    false, "Graph file F: 6 of the 90 arcs its header announces are missing (reader mode 0)\n"},
        RefusalCase{"an edge list with tabs for commas, as a plain graph", 0, tabsForCommas(edgeList()), 6, true,
                    "Graph file F: 29 lines not read in reader mode 0 (the first: line 3); it looks like an edge list graph file (reader mode 6)\nGraph file F is not used: read it with -h 6\n"},
        RefusalCase{"an edge list with tabs for commas", 6, tabsForCommas(edgeList()), -1, false, "Graph file F: 13 lines not read in reader mode 6 (the first: line 7)\n"},
        RefusalCase{"an edge list with trailing garbage, as a plain graph", 0,
                    edgeList() + "#garbage\nxx yy zz\n%%%%\nend\n", 6, true, "Graph file F: 24 lines not read in reader mode 0 (the first: line 3); it looks like an edge list graph file (reader mode 6)\nGraph file F is not used: read it with -h 6\n"},
        RefusalCase{"an edge list with trailing garbage", 6, edgeList() + "#garbage\nxx yy zz\n%%%%\nend\n", -1, false,
                    "Graph file F: 4 lines not read in reader mode 6 (the first: line 92)\n"},
        RefusalCase{"an edge list with half its arcs to no vertex, as a plain graph", 0,
                    halfTheArcsToNoVertex(edgeList()), 6, true, "Graph file F: 50 lines not read in reader mode 0 (the first: line 3); it looks like an edge list graph file (reader mode 6)\nGraph file F is not used: read it with -h 6\n"},
        RefusalCase{"an edge list with half its arcs to no vertex", 6, halfTheArcsToNoVertex(edgeList()), -1, false,
                    "Graph file F: 45 lines not read in reader mode 6 (the first: line 2)\n"},
        // (Mode 12 reads its member lines only out of order; the class
        // diagram reader takes the members and relations of the classes
        // lost as faults of the file: here most of its lines, where the
        // warning names it, the rules cannot.)
        RefusalCase{"a class diagram without nearly half its lines, mode 12", 12, withoutNearlyHalf(thirteenClasses(), 4), 4,
                    true, "Graph file F: 85 lines not read in reader mode 12 (the first: line 2); it looks like a class "
                    "diagram file (reader modes 4, 5, 8 and 9)\nGraph file F is not used: read it with -h 4, 5, 8 or 9\n"},
        RefusalCase{"a class diagram without nearly half its lines", 4, withoutNearlyHalf(thirteenClasses(), 4), -1, false,
                    "Graph file F: 36 lines not read in reader mode 4 (the first: line 56)\n"},
        RefusalCase{"another class diagram without nearly half its lines, mode 12", 12,
                    withoutNearlyHalf(thirteenClasses(), 5), 4, false, "Graph file F: 78 lines not read in reader mode 12 (the first: line 3); it looks like a class diagram file (reader modes 4, 5, 8 and 9)\n"},
        RefusalCase{"another class diagram without nearly half its lines", 4, withoutNearlyHalf(thirteenClasses(), 5), -1,
                    true, "Graph file F is not used: most of it does not read in reader mode 4: 51 of its 86 lines not read (the first: line 35)\n"}),
    CaseName());


// Five classes, `members` attribute lines (read in mode 12 out of order,
// in mode 4 cleanly) and a relation from class 0 to vertex 5: the first
// member in mode 12, a class the file does not hold in mode 4.
std::string fiveClassesAndMembers(int members) {
    std::string text = "5,1\n";
    for (int c = 0; c < 5; ++c) text += "c," + std::to_string(c) + ",app.C" + std::to_string(c) + "\n";
    for (int m = 0; m < members; ++m) text += "a," + std::to_string(m) + ",private@int@x" + std::to_string(m) + "\n";
    return text + "r,0,5,1\n";
}

// A plain graph file of `announced` vertices with the vertex lines of
// vertices 0 to `vertexLines` - 1, then 30 arcs among the announced
// vertices, starting at 0, 1, 2, ... in turn, then `junk` lines of no
// syntax: read
// in mode 0, the arcs that take the place of the missing vertex lines read
// only leniently (their vertices have lines).
std::string plainShortOfVertexLines(int announced, int vertexLines, int junk) {
    std::string text = std::to_string(announced) + ",30\n";
    for (int v = 0; v < vertexLines; ++v) text += std::to_string(v) + "," + std::string(1, static_cast<char>('a' + v)) + "\n";
    for (int a = 0; a < 30; ++a)
        text += std::to_string(a % announced) + "," + std::to_string((a + 1) % announced) + "," +
                std::to_string(1 + a % 2) + "\n";
    for (int j = 0; j < junk; ++j) text += "junk line " + std::to_string(j) + "\n";
    return text;
}

// Each threshold of the rules, on both sides.
INSTANTIATE_TEST_SUITE_P(
    Thresholds, WrongModeTest,
    ::testing::Values(
        // A header may announce twice as many vertex lines as the file has
        // lines with content after it; more makes no table (the file is
        // refused, most of its vertex lines missing).
        RefusalCase{"four vertices announced over two vertex lines", 0, "4,0\n0,a\n1,b\n", -1, false,
                    "Graph file F: 2 of the 4 vertex lines its header announces are missing (reader mode 0)\n"},
        RefusalCase{"five vertices announced over two vertex lines", 0, "5,0\n0,a\n1,b\n", -1, true,
                    "Graph file F is not used: most of it does not read in reader mode 0: 3 of the 5 vertex lines its "
                    "header announces are missing\n"},
        RefusalCase{"four vertices announced over two vertex lines and blanks", 0, "4,0\n0,a\n1,b\n\n\n\n\n", -1, false,
                    "Graph file F: 2 of the 4 vertex lines its header announces are missing (reader mode 0)\n"},
        RefusalCase{"three vertices announced over blank lines", 0, "3,0\n\n\n\n", -1, true,
                    "Graph file F is not used: most of it does not read in reader mode 0: 3 of the 3 vertex lines its "
                    "header announces are missing\n"},
        RefusalCase{"a blank line among the vertex lines", 0, "3,1\n0,a\n\n2,c\n0,2,1\n", -1, false, "Graph file F: 1 of the 3 vertex lines its header announces is missing (reader mode 0)\n"},
        // Rule 4 takes two lines that another syntax reads cleanly, where
        // the chosen mode reads them not at all or only leniently.
        RefusalCase{"one sign of another syntax", 12, fiveClassesAndMembers(1), -1, false, ""},
        RefusalCase{"two signs of another syntax", 12, fiveClassesAndMembers(2), 4, true, "Graph file F: 2 lines not read in reader mode 12 (the first: line 7); it looks like a class diagram file (reader modes 4, 5, 8 and 9)\nGraph file F is not used: read it with -h 4, 5, 8 or 9\n"},
        // The warning names another syntax where it reads cleanly at least
        // two of the lines the chosen mode does not read well ...
        RefusalCase{"one line another syntax reads", 6, plainShortOfVertexLines(3, 1, 0), -1, false, "Graph file F: 1 line not read in reader mode 6 (the first: line 2)\n"},
        RefusalCase{"two lines another syntax reads", 6, plainShortOfVertexLines(3, 2, 0), 0, false, "Graph file F: 2 lines not read in reader mode 6 (the first: line 2); it looks like a plain graph file (reader mode 0)\n"},
        // ... most of them ...
        RefusalCase{"half of them", 6, plainShortOfVertexLines(3, 2, 2), -1, false, "Graph file F: 4 lines not read in reader mode 6 (the first: line 2)\n"},
        RefusalCase{"most of them", 6, plainShortOfVertexLines(3, 2, 1), 0, false, "Graph file F: 3 lines not read in reader mode 6 (the first: line 2); it looks like a plain graph file (reader mode 0)\n"},
        // ... and more of them than it loses of those the chosen mode reads.
        RefusalCase{"as many lost as read", 6, plainShortOfVertexLines(4, 2, 0), -1, false, "Graph file F: 2 lines not read in reader mode 6 (the first: line 2)\n"},
        RefusalCase{"one fewer lost", 6, plainShortOfVertexLines(3, 2, 0), 0, false, "Graph file F: 2 lines not read in reader mode 6 (the first: line 2); it looks like a plain graph file (reader mode 0)\n"},
        // A file whose lines end with a carriage return alone: two of them.
        RefusalCase{"one carriage return", 12, "1,0\rc,0,A", -1, false, ""},
        RefusalCase{"two carriage returns", 12, "1,0\rc,0,A\r", -1, true, "Graph file F: its lines end with a carriage return alone, read in reader mode 12 as one line; end them with line feeds\n"}),
    CaseName());

}  // namespace
}  // namespace graphmat::test
