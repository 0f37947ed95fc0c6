// A graph file read in the wrong reader mode: the hint names the mode whose
// reader reads the file, and a file that another mode reads while the chosen
// one leaves many of its lines unread ends every program with status 1
// before any work, naming the file, the lines not read and the mode to use.
// No shipped or generated file is refused in its own mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::contains;
using test::dataFile;
using test::exampleFile;
using test::RunOptions;
using test::RunResult;
using test::ScratchDir;

const RunOptions kGuarded{"", 120};
const std::vector<std::string> kWeights = {"-d", "1", "-g", "0.5", "-e", "1", "-y", "1"};

// The pair of plain graph files (numeric vertex labels) of the report.
const std::string kPair = "datasets/random/g_30_3_0.9_3_0.5_2_1_0_0_0_3";

void generatePair() {
    std::filesystem::create_directories("datasets/random");
    RunResult r = test::runProgram(
        GRAPHGEN_BIN, {"pair", "30", "3", "0.9", "3", "0.5", "2", "1", "0", "0", "./datasets/random/g", "3", "0"},
        kGuarded);
    ASSERT_EQ(r.status, 0) << r.err;
}

RunResult graphmat(const std::vector<std::string>& switches, const std::string& g1, const std::string& g2) {
    std::vector<std::string> args = kWeights;
    args.insert(args.end(), switches.begin(), switches.end());
    args.insert(args.end(), {"-o", g1, "-n", g2});
    return test::runProgram(GRAPHMAT_BIN, args, kGuarded);
}

// The edge list graph file of a plain graph file: its header and arcs.
void writeEdgeList(const std::string& plain, const std::string& path) {
    const std::vector<std::string> rows = test::lines(test::readFile(plain));
    const int vertices = std::stoi(rows[0]);
    std::string text;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (i == 0 || (i > static_cast<std::size_t>(vertices) && !rows[i].empty())) text += rows[i] + "\n";
    test::writeFile(path, text);
}

// A model graph file converted by the shipped tool.
void convertToClassDiagram(const std::string& model, const std::string& path) {
    RunResult r = test::runProgram("/usr/bin/awk", {"-f", exampleFile("../tools/model-to-class-diagram.awk"), model},
                                   {path, 60});
    ASSERT_EQ(r.status, 0) << r.err;
}

// The plain graph files of `graphgen pair` were taken for edge list graph
// files; read with the default mode, the hint now names the plain graph file,
// and read as edge lists (their vertex lines lost) they are refused.
TEST(WrongReaderMode, GeneratedPlainGraphFilesAreNamedAndRefusedAsEdgeLists) {
    ScratchDir dir;
    std::filesystem::create_directories("results");
    generatePair();
    const std::string a = kPair + "A.csv", b = kPair + "B.csv";

    RunResult r = graphmat({}, a, b);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "Graph file " + a +
                                    ": no line reads in reader mode 12; it looks like a plain graph file (reader "
                                    "mode 0)\n"))
        << r.err;

    r = graphmat({"-h", "6"}, a, b);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Graph file " + a +
                         ": 30 lines not read in reader mode 6 (the first: line 2); it looks like a plain graph file "
                         "(reader mode 0)\n"
                         "Graph file " + b +
                         ": 30 lines not read in reader mode 6 (the first: line 2); it looks like a plain graph file "
                         "(reader mode 0)\n"
                         "Graph file " + a + " is not used: read it with -h 0\n"
                         "Graph file " + b + " is not used: read it with -h 0\n");
    EXPECT_FALSE(contains(r.out, "Matching Cost"));
    EXPECT_TRUE(std::filesystem::is_empty("results"));

    r = graphmat({"-h", "0"}, a, b);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
}

// The example model graph files read as class diagrams: a tenth of their
// lines read, the run is refused before the search.
TEST(WrongReaderMode, ModelGraphFilesAreRefusedAsClassDiagrams) {
    ScratchDir dir;
    std::filesystem::create_directories("results");
    RunResult r = graphmat({"-h", "4"}, exampleFile("shop-v1.txt"), exampleFile("shop-v2.txt"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Graph file " + exampleFile("shop-v1.txt") +
                         ": 181 lines not read in reader mode 4 (the first: line 2); it looks like a model graph file "
                         "(reader mode 12)\n"
                         "Graph file " + exampleFile("shop-v2.txt") +
                         ": 190 lines not read in reader mode 4 (the first: line 2); it looks like a model graph file "
                         "(reader mode 12)\n"
                         "Graph file " + exampleFile("shop-v1.txt") + " is not used: read it with -h 12\n"
                         "Graph file " + exampleFile("shop-v2.txt") + " is not used: read it with -h 12\n");
    EXPECT_FALSE(contains(r.out, "No Matching Cost"));
    EXPECT_TRUE(std::filesystem::is_empty("results"));
}

// A series of model graph files: the tracker reads class diagrams and says
// how to convert the newest version, the first it reads.
TEST(WrongReaderMode, TheTrackerRefusesModelGraphFilesAndSaysHowToConvertThem) {
    ScratchDir dir;
    std::filesystem::create_directories("results");
    test::writeFile("series.txt",
                    "g," + exampleFile("shop-v2.txt") + "\ng," + exampleFile("shop-v1.txt") +
                        "\nm,shop-v1__shop-v2__1__0.5__1__1__0__1.csv\n");
    RunResult r = test::runProgram(TUNNEL_BIN, {"series.txt"}, kGuarded);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "series.txt line 1: " + exampleFile("shop-v2.txt") +
                                    " does not read as a class diagram file; it is a model graph file (reader mode "
                                    "12): convert it with awk -f tools/model-to-class-diagram.awk " +
                                    exampleFile("shop-v2.txt") + " > CLASS_DIAGRAM.txt and list the class diagram "
                                    "file\n"))
        << r.err;
    EXPECT_TRUE(std::filesystem::is_empty("results"));
}

// Every program that reads graph files refuses one read in a wrong mode.
TEST(WrongReaderMode, EveryProgramEndsWithStatus1) {
    ScratchDir dir;
    generatePair();
    const std::string plain = kPair + "A.csv", model = exampleFile("shop-v1.txt");
    const std::string lib = exampleFile("library-v1.txt");
    std::filesystem::create_directories("datasets/ds");
    std::filesystem::copy_file(model, "datasets/ds/v1.txt");
    std::filesystem::copy_file(exampleFile("shop-v2.txt"), "datasets/ds/v2.txt");
    std::filesystem::create_directories("results");
    test::writeFile("results/v1__v2__1__0.5__1__1__0__1.csv", "ns,0,0,a,a\n");
    std::filesystem::create_directories("graphs");
    std::filesystem::create_directories("logs");
    test::writeFile("log.txt", "n,0,0\n");
    // Each program says how to read the file in its own words: the switch
    // -h, graphgen's MODE argument, or the kind of file a program of one
    // fixed mode reads (and how to convert a model graph file into it).
    const std::string asEdgeList = "Graph file " + plain +
                                   ": 30 lines not read in reader mode 6 (the first: line 2); it looks like a plain "
                                   "graph file (reader mode 0)\n";
    const std::string asClassDiagram = "Graph file " + model +
                                       ": 181 lines not read in reader mode 4 (the first: line 2); it looks like a "
                                       "model graph file (reader mode 12)\n";
    struct Case {
        std::string what;
        std::string program;
        std::vector<std::string> args;
        std::string message;
        std::string advice;
    };
    const std::vector<Case> cases = {
        {"graphmat", GRAPHMAT_BIN, {"-h", "4", "-o", model, "-n", lib}, asClassDiagram,
         "Graph file " + model + " is not used: read it with -h 12\n"},
        {"graphstats", GRAPHSTATS_BIN, {"-h", "6", plain}, asEdgeList,
         "Graph file " + plain + " is not used: read it with -h 0\n"},
        {"logcost", LOGCOST_BIN, {"-h", "6", "-o", plain, "-n", plain, "-p", "log.txt"}, asEdgeList,
         "Graph file " + plain + " is not used: read it with -h 0\n"},
        {"reduce", REDUCE_BIN, {"-h", "4", model, lib}, asClassDiagram,
         "Graph file " + model + " is not used: read it with -h 12\n"},
        {"mces", MCES_BIN, {"-o", plain, "-n", plain}, asEdgeList,
         "Graph file " + plain + " is not used: mces reads edge list graph files (reader mode 6)\n"},
        {"evaluate", EVALUATE_BIN, {"v1__v2__1__0.5__1__1__0__1.csv", "ds"},
         "Graph file ./datasets/ds/v1.txt: 181 lines not read in reader mode 4",
         "Graph file ./datasets/ds/v1.txt is not used: evaluate reads class diagram files (reader mode 4); convert "
         "a model graph file with awk -f tools/model-to-class-diagram.awk ./datasets/ds/v1.txt > "
         "CLASS_DIAGRAM.txt\n"},
        {"graphgen mutate", GRAPHGEN_BIN, {"mutate", "6", plain, "0.2", "0.2", "0.1", "0", "5", "m.csv", "l.csv"},
         asEdgeList, "Graph file " + plain + " is not used: read it in reader mode 0\n"},
        {"graphgen shuffle", GRAPHGEN_BIN, {"shuffle", "6", plain, "5", "s.csv"}, asEdgeList,
         "Graph file " + plain + " is not used: read it in reader mode 0\n"},
    };
    for (const Case& c : cases) {
        RunResult r = test::runProgram(c.program, c.args, kGuarded);
        EXPECT_EQ(r.status, 1) << c.what;
        EXPECT_TRUE(contains(r.err, c.message)) << c.what << ": " << r.err;
        EXPECT_TRUE(contains(r.err, c.advice)) << c.what << ": " << r.err;
        EXPECT_FALSE(contains(r.err, "read it in reader mode 12")) << c.what << ": " << r.err;
        EXPECT_FALSE(contains(r.out, "Matching Cost")) << c.what;
    }
    EXPECT_FALSE(test::fileExists("eval_results.csv"));
    EXPECT_FALSE(test::fileExists("results.csv"));
    EXPECT_FALSE(test::fileExists("m.csv"));
    EXPECT_FALSE(test::fileExists("s.csv"));
    EXPECT_TRUE(std::filesystem::is_empty("graphs"));
}

// Generated files of each syntax, read in every mode of another syntax: the
// hint names their own mode, and in their own mode they read without a word.
TEST(WrongReaderMode, GeneratedFilesInEveryModeNameTheirOwn) {
    ScratchDir dir;
    generatePair();
    writeEdgeList(kPair + "A.csv", "edges.csv");
    convertToClassDiagram(dataFile("junit-framework-4.13.2.txt"), "diagram.txt");
    std::filesystem::create_directories("graphs");
    std::filesystem::create_directories("logs");
    struct Generated {
        std::string path;
        std::vector<int> ownModes;
        std::string looksLike;
    };
    const std::vector<Generated> files = {
        {kPair + "A.csv", {0}, "a plain graph file (reader mode 0)"},
        {"edges.csv", {6}, "an edge list graph file (reader mode 6)"},
        {"diagram.txt", {4, 5, 8, 9}, "a class diagram file (reader modes 4, 5, 8 and 9)"},
    };
    for (const Generated& file : files) {
        for (int mode : {0, 3, 4, 5, 6, 8, 9, 10, 11, 12}) {
            const std::string where = file.path + " in mode " + std::to_string(mode);
            RunResult r = test::runProgram(GRAPHSTATS_BIN, {"-h", std::to_string(mode), file.path}, kGuarded);
            const bool own = std::find(file.ownModes.begin(), file.ownModes.end(), mode) != file.ownModes.end();
            if (own) {
                EXPECT_EQ(r.status, 0) << where;
                EXPECT_EQ(r.err, "") << where;
            } else {
                // Every reading in a mode of another syntax is refused.
                EXPECT_TRUE(contains(r.err, "; it looks like " + file.looksLike)) << where << ": " << r.err;
                EXPECT_EQ(r.status, 1) << where << ": " << r.err;
            }
        }
    }
}

// Files of the right syntax with a few faulty lines run with the warning and
// name no other mode; files of another syntax are refused, by name and
// through a pipe alike; the words of a binary graph file are checked.
TEST(WrongReaderMode, FaultyFilesRunAndFilesOfAnotherSyntaxAreRefused) {
    ScratchDir dir;
    std::filesystem::create_directories("results");
    std::filesystem::create_directories("graphs");
    std::filesystem::create_directories("logs");
    const std::string lib1 = exampleFile("library-v1.txt"), lib2 = exampleFile("library-v2.txt");
    const std::string shop1 = exampleFile("shop-v1.txt"), shop2 = exampleFile("shop-v2.txt");
    // The library example with lines 9 and 15 cut to their first two fields.
    std::vector<std::string> rows = test::lines(test::readFile(lib1));
    rows[8] = "a,1";
    rows[14] = "m,4";
    std::string cut;
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) cut += rows[i] + "\n";
    test::writeFile("cut.txt", cut);
    // An edge list graph file two of whose arcs name vertex 99.
    test::writeFile("to99.csv", "10,12\n0,1,1\n1,2,1\n2,3,1\n3,99,1\n4,5,1\n5,6,1\n6,99,1\n7,8,1\n8,9,1\n9,0,1\n"
                                "0,5,2\n3,7,2\n");
    test::writeFile("ring.csv", "10,10\n0,1,1\n1,2,1\n2,3,1\n3,4,1\n4,5,1\n5,6,1\n6,7,1\n7,8,1\n8,9,1\n9,0,1\n");
    test::writeFile("short.bin", std::string("\x05\x00\x01\x00\x02\x00\x00\x00", 8));
    const std::vector<std::string> w = kWeights;
    auto with = [&w](std::vector<std::string> args) {
        args.insert(args.begin(), w.begin(), w.end());
        return args;
    };
    struct Case {
        std::string what;
        std::string program;
        std::vector<std::string> args;
        int status;
        std::string err;  // exact
    };
    const std::string cutWarning = "Graph file cut.txt: 2 lines not read in reader mode %M (the first: line 9)\n";
    auto inMode = [](std::string text, int mode) { return text.replace(text.find("%M"), 2, std::to_string(mode)); };
    const std::vector<Case> cases = {
        {"a class diagram in the default mode", GRAPHMAT_BIN, with({"-o", lib1, "-n", lib2}), 1,
         "Graph file " + lib1 + ": 9 lines not read in reader mode 12 (the first: line 7); it looks like a class "
         "diagram file (reader modes 4, 5, 8 and 9)\nGraph file " + lib2 + ": 11 lines not read in reader mode 12 "
         "(the first: line 8); it looks like a class diagram file (reader modes 4, 5, 8 and 9)\nGraph file " + lib1 +
         " is not used: read it with -h 4, 5, 8 or 9\nGraph file " + lib2 +
         " is not used: read it with -h 4, 5, 8 or 9\n"},
        {"two cut member lines", GRAPHMAT_BIN, with({"-h", "4", "-o", "cut.txt", "-n", lib2}), 0, inMode(cutWarning, 4)},
        {"two cut member lines, mode 5", GRAPHSTATS_BIN, {"-h", "5", "cut.txt"}, 0, inMode(cutWarning, 5)},
        {"two cut member lines, mode 8", GRAPHSTATS_BIN, {"-h", "8", "cut.txt"}, 0, inMode(cutWarning, 8)},
        {"two cut member lines, mode 9", GRAPHSTATS_BIN, {"-h", "9", "cut.txt"}, 0, inMode(cutWarning, 9)},
        {"arcs to no vertex", GRAPHSTATS_BIN, {"-h", "6", "to99.csv"}, 0,
         "Graph file to99.csv: 2 lines not read in reader mode 6 (the first: line 5)\n"},
        {"arcs to no vertex in mces", MCES_BIN, {"-o", "to99.csv", "-n", "ring.csv"}, 0,
         "Graph file to99.csv: 2 lines not read in reader mode 6 (the first: line 5)\n"},
        {"a model graph as a named edge list", GRAPHMAT_BIN, with({"-h", "3", "-o", shop1, "-n", shop2}), 1,
         "Graph file " + shop1 + ": 198 lines not read in reader mode 3 (the first: line 1); it looks like a model "
         "graph file (reader mode 12)\nGraph file " + shop2 + ": 208 lines not read in reader mode 3 (the first: "
         "line 1); it looks like a model graph file (reader mode 12)\nGraph file " + shop1 +
         " is not used: read it with -h 12\nGraph file " + shop2 + " is not used: read it with -h 12\n"},
        {"a text file as a binary graph", GRAPHSTATS_BIN, {"-h", "1", shop1}, 1,
         "Graph file " + shop1 + ": it is a text file, not a binary graph file (reader mode 1 reads 16-bit words); "
         "it looks like a model graph file (reader mode 12)\nGraph file " + shop1 + " is not used: read it with -h "
         "12\n"},
        {"binary words that end early", GRAPHSTATS_BIN, {"-h", "1", "short.bin"}, 1,
         "Graph file short.bin: its 16-bit words end at byte 8, before vertex 2 of the 5 it announces has its arc "
         "count (reader mode 1)\n"},
        {"model graphs through pipes read as class diagrams", "/bin/bash",
         {"-c", "exec \"$0\" -h 4 -o <(cat \"$1\") -n <(cat \"$2\")", GRAPHMAT_BIN, shop1, shop2}, 1, ""},
    };
    for (const Case& c : cases) {
        RunResult r = test::runProgram(c.program, c.args, kGuarded);
        EXPECT_EQ(r.status, c.status) << c.what << ": " << r.err;
        if (!c.err.empty()) {
            EXPECT_EQ(r.err, c.err) << c.what;
        } else {
            // The paths of the pipes differ from run to run.
            EXPECT_TRUE(contains(r.err, ": 181 lines not read in reader mode 4 (the first: line 2); it looks like a "
                                        "model graph file (reader mode 12)\n"))
                << c.what << ": " << r.err;
            EXPECT_TRUE(contains(r.err, " is not used: read it with -h 12\n")) << c.what << ": " << r.err;
        }
    }
}

// A plain or edge list graph file whose first line is not its header (a
// blank line, a junk line, a second byte-order mark before it) is refused by
// every program that reads it, with the reason and no other mode; so is a
// file of random bytes, of which most lines do not read, whatever another
// mode reads of it. No result is written.
TEST(WrongReaderMode, DamagedHeadersAndRandomBytesAreRefusedByEveryProgram) {
    ScratchDir dir;
    generatePair();
    std::filesystem::create_directories("results");
    std::filesystem::create_directories("graphs");
    std::filesystem::create_directories("logs");
    const std::string plain = test::readFile(kPair + "A.csv");
    writeEdgeList(kPair + "A.csv", "edges.csv");
    const std::string edges = test::readFile("edges.csv");
    std::string noise;
    std::uint32_t state = 9;
    for (int i = 0; i < 300000; ++i) {
        state = state * 1103515245u + 12345u;
        noise += static_cast<char>(state >> 23);
    }
    test::writeFile("noise.bin", noise);
    struct Case {
        std::string what;
        std::string first;  // put before the file's header
        bool edgeList;
    };
    const std::vector<Case> damaged = {
        {"a blank line", "\n", false}, {"a junk line", "exported by hand\n", true},
        {"a second byte-order mark", "\xEF\xBB\xBF\xEF\xBB\xBF", false}, {"a blank line", "\n", true}};
    for (const Case& c : damaged) {
        test::writeFile("F.csv", c.first + (c.edgeList ? edges : plain));
        const int mode = c.edgeList ? 6 : 0;
        const std::string refusal = "Graph file F.csv is not used: line 1, read as the header, is not VERTICES,ARCS "
                                    "(reader mode " + std::to_string(mode) + ")\n";
        // graphstats reads either; graphmat the plain file, mces the edge list.
        std::vector<std::pair<std::string, std::vector<std::string>>> runs = {
            {GRAPHSTATS_BIN, {"-h", std::to_string(mode), "F.csv"}}};
        if (c.edgeList)
            runs.push_back({MCES_BIN, {"-o", "F.csv", "-n", "edges.csv"}});
        else
            runs.push_back({GRAPHMAT_BIN, {"-h", "0", "-o", "F.csv", "-n", kPair + "B.csv"}});
        for (const auto& [program, args] : runs) {
            const RunResult r = test::runProgram(program, args, kGuarded);
            const std::string where = c.what + " before the header, " + program;
            EXPECT_EQ(r.status, 1) << where;
            EXPECT_EQ(r.err, refusal) << where;
        }
    }
    for (const char* mode : {"12", "3"}) {
        RunResult r = test::runProgram(GRAPHSTATS_BIN, {"-h", mode, "noise.bin"}, kGuarded);
        EXPECT_EQ(r.status, 1) << mode << ": " << r.err;
        EXPECT_TRUE(contains(r.err, "Graph file noise.bin")) << r.err;
        EXPECT_FALSE(contains(r.err, "it looks like")) << r.err;
        r = test::runProgram(GRAPHMAT_BIN, {"-h", mode, "-o", "noise.bin", "-n", "noise.bin"}, kGuarded);
        EXPECT_EQ(r.status, 1) << mode << ": " << r.err;
        EXPECT_FALSE(contains(r.out, "Matching Cost"));
    }
    EXPECT_TRUE(std::filesystem::is_empty("results"));
    EXPECT_TRUE(std::filesystem::is_empty("graphs"));
    EXPECT_FALSE(test::fileExists("results.csv"));
}

// A plain graph file whose header announces far more vertex lines than the
// file holds: two million announced, fifty junk lines (or four lines, two of
// them vertex lines). Most of its vertex lines are missing: it is refused
// with one line, before any table of the header's size is made and without
// a console line per missing vertex. The run's peak memory is recorded as
// a figure of the test (before: 1.4 GB and 2,000,000 "Missing Vertex" lines).
TEST(WrongReaderMode, AHeaderThatClaimsWhatTheFileLacksCostsNothing) {
    ScratchDir dir;
    std::filesystem::create_directories("graphs");
    std::filesystem::create_directories("logs");
    std::filesystem::create_directories("results");
    std::string junk = "2000000,5\n";
    for (int i = 0; i < 50; ++i) junk += "junk line " + std::to_string(i) + "\n";
    test::writeFile("junk.csv", junk);
    test::writeFile("four.csv", "2000000,5\n0,a\n1,b\n0,1,1\n1999999,0,1\n");
    struct Case {
        std::string path;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"junk.csv", "Graph file junk.csv is not used: most of it does not read in reader mode 0: 1999950 of the "
                     "2000000 vertex lines its header announces are missing; 50 of its 50 lines not read (the "
                     "first: line 2)\n"},
        {"four.csv", "Graph file four.csv is not used: most of it does not read in reader mode 0: 1999996 of the "
                     "2000000 vertex lines its header announces are missing\n"},
    };
    for (const Case& c : cases) {
        for (const auto& args : std::vector<std::vector<std::string>>{
                 {"-h", "0", c.path}, {}}) {
            const bool stats = !args.empty();
            const RunResult r = stats ? test::runProgram(GRAPHSTATS_BIN, args, kGuarded)
                                      : graphmat({"-h", "0"}, c.path, c.path);
            const std::string where = c.path + (stats ? " graphstats" : " graphmat");
            EXPECT_EQ(r.status, 1) << where;
            EXPECT_EQ(r.err, stats ? c.err : c.err + c.err) << where;
            EXPECT_FALSE(contains(r.out, "Missing Vertex")) << where;
            EXPECT_LT(r.peakKilobytes, 200 * 1024) << where;
            ::testing::Test::RecordProperty(c.path + (stats ? "-graphstats" : "-graphmat") + "-peak-kB",
                                            std::to_string(r.peakKilobytes));
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty("graphs"));
    EXPECT_TRUE(std::filesystem::is_empty("results"));
}

// A series whose version has four lines cut to their first two fields is
// tracked with the warning: the five reports are written.
TEST(WrongReaderMode, ASeriesWithCutLinesIsTracked) {
    ScratchDir dir;
    test::copyExampleFiles("series", test::exampleSeriesFiles());
    std::filesystem::create_directories("results");
    std::vector<std::string> rows = test::lines(test::readFile("shop-2.txt"));
    for (std::size_t i = 7; i <= 10; ++i) {
        const std::size_t second = rows[i].find(',', rows[i].find(',') + 1);
        rows[i] = rows[i].substr(0, second);
    }
    std::string text;
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) text += rows[i] + "\n";
    test::writeFile("shop-2.txt", text);
    RunResult r = test::runProgram(TUNNEL_BIN, {"series.txt"}, kGuarded);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "Graph file shop-2.txt: 4 lines not read in reader mode 4 (the first: line 8)\n");
    int reports = 0;
    for (const auto& entry : std::filesystem::directory_iterator("results")) reports += entry.is_regular_file();
    EXPECT_EQ(reports, 5);
}

// The documented mode of every shipped example and real model: no file is
// refused, none has a line that does not read.
TEST(WrongReaderMode, NoShippedFileIsRefusedInItsMode) {
    ScratchDir dir;
    std::filesystem::create_directories("graphs");
    std::filesystem::create_directories("logs");
    struct Shipped {
        std::string mode;
        std::vector<std::string> files;
    };
    std::vector<std::string> models = {exampleFile("shop-v1.txt"), exampleFile("shop-v2.txt")};
    for (const char* name : {"junit-3.8.2.txt", "junit-4.13.2.txt", "junit-framework-3.8.2.txt",
                             "junit-framework-4.13.2.txt", "junit-extensions-3.8.2.txt", "junit-extensions-4.13.2.txt",
                             "commons-lang-2.6.txt", "commons-lang3-3.12.txt"})
        models.push_back(dataFile(name));
    std::vector<std::string> diagrams;
    for (const char* name :
         {"library-v1.txt", "library-v2.txt", "series/shop-1.txt", "series/shop-2.txt", "series/shop-3.txt",
          "series/shop-4.txt", "datasets/cdiagrams/eclipse/shop-cd-1.txt", "datasets/cdiagrams/eclipse/shop-cd-2.txt",
          "datasets/cdiagrams/mylyn/shop-cd-1.txt", "datasets/cdiagrams/mylyn/shop-cd-2.txt",
          "evaluation/datasets/shop/v1.txt", "evaluation/datasets/shop/v2.txt"})
        diagrams.push_back(exampleFile(name));
    const std::vector<Shipped> shipped = {
        {"12", models},
        {"4", diagrams},
        {"9", diagrams},
        {"10", {exampleFile("order-sequence-v1.txt"), exampleFile("order-sequence-v2.txt")}},
        {"11", {exampleFile("door-states-v1.txt"), exampleFile("door-states-v2.txt")}},
    };
    for (const Shipped& s : shipped) {
        std::vector<std::string> args = {"-h", s.mode};
        args.insert(args.end(), s.files.begin(), s.files.end());
        RunResult r = test::runProgram(GRAPHSTATS_BIN, args, kGuarded);
        EXPECT_EQ(r.status, 0) << "mode " << s.mode;
        EXPECT_EQ(r.err, "") << "mode " << s.mode;
    }
}


// Blanks and tabs at the end of lines decide nothing: the edge list graph
// files of a generated pair with a blank or a tab after every line run in
// mode 6, in graphmat and mces; named edge lists with a blank after their
// first line or after every line run in mode 3. Each is refused in mode 0,
// as the clean file is, with the same words.
TEST(WrongReaderMode, BlanksThatEndLinesTurnNoFileAway) {
    ScratchDir dir;
    for (const char* folder : {"results", "graphs", "logs"}) std::filesystem::create_directories(folder);
    generatePair();
    writeEdgeList(kPair + "A.csv", "clean-A.csv");
    writeEdgeList(kPair + "B.csv", "clean-B.csv");
    std::string named;
    for (const std::string& row : test::lines(test::readFile("clean-A.csv")))
        if (std::count(row.begin(), row.end(), ',') == 2) {
            const std::size_t comma = row.find(',');
            named += "v" + row.substr(0, comma + 1) + "v" + row.substr(comma + 1) + "\n";
        }
    named = named.substr(named.find('\n') + 1);  // the header's count is no name
    test::writeFile("named.csv", named);
    struct Case {
        std::string mode, clean, tail;
        bool firstOnly;
    };
    const std::vector<Case> cases = {
        {"6", "clean-A.csv", " ", false},
        {"6", "clean-A.csv", "\t", false},
        {"3", "named.csv", " ", true},
        {"3", "named.csv", " ", false},
        {"3", "named.csv", "\t", false},
    };
    for (const Case& c : cases) {
        const std::string where = c.clean + " with '" + c.tail + "' after " + (c.firstOnly ? "its first line" : "every line");
        test::writeFile("F.csv", test::withTrailing(test::readFile(c.clean), c.tail, c.firstOnly));
        test::writeFile("G.csv", test::withTrailing(test::readFile(c.clean == "named.csv" ? "named.csv" : "clean-B.csv"),
                                              c.tail, c.firstOnly));
        RunResult r = graphmat({"-h", c.mode}, "F.csv", "G.csv");
        EXPECT_EQ(r.status, 0) << where << "\n" << r.err;
        EXPECT_EQ(r.err, "") << where;
        EXPECT_TRUE(test::fileExists("results/F__G__1__0.5__1__1__0__1.csv")) << where;
        if (c.mode == "6") {
            RunResult m = test::runProgram(MCES_BIN, {"-o", "F.csv", "-n", "G.csv", "-t", "7", "-m", "80"}, kGuarded);
            EXPECT_EQ(m.status, 0) << where << "\n" << m.err;
            EXPECT_EQ(m.err, "") << where;
        }
        RunResult clean = test::runProgram(GRAPHSTATS_BIN, {"-h", "0", c.clean}, kGuarded);
        test::writeFile(c.clean + ".blank", test::readFile("F.csv"));
        RunResult blank = test::runProgram(GRAPHSTATS_BIN, {"-h", "0", c.clean + ".blank"}, kGuarded);
        EXPECT_EQ(blank.status, clean.status) << where;
        EXPECT_EQ(blank.status, 1) << where;
        std::string expected = clean.err;
        for (std::size_t at = 0; (at = expected.find(c.clean, at)) != std::string::npos; at += c.clean.size() + 6)
            expected.replace(at, c.clean.size(), c.clean + ".blank");
        EXPECT_EQ(blank.err, expected) << where;
    }
}

// A plain graph file of blank lines under a header of millions of vertices
// is refused at once, by name and through a pipe, in a few MB: the header's
// bound counts lines with content, and blank lines are counted, not kept.
TEST(WrongReaderMode, BlankLinesUnderAHugeHeaderAreRefusedInAFewMegabytes) {
    ScratchDir dir;
    for (const char* folder : {"graphs", "logs"}) std::filesystem::create_directories(folder);
    test::writeFile("F.csv", "20000000,0\n" + std::string(10000000, '\n'));
    const std::string refusal = "Graph file F.csv is not used: most of it does not read in reader mode 0: 20000000 of "
                                "the 20000000 vertex lines its header announces are missing\n";
    RunResult r = test::runProgram(GRAPHSTATS_BIN, {"-h", "0", "F.csv"}, kGuarded);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, refusal);
    EXPECT_FALSE(contains(r.out, "Missing Vertex"));
    // The input itself is 10 MB; the vertex table alone would be gigabytes
    // (the sanitizers' own tables are not the program's).
    RecordProperty("peak_MB", std::to_string(r.peakKilobytes / 1024));
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(r.peakKilobytes, 64 * 1024);
#endif

    RunResult piped = test::runProgram("/bin/sh", {"-c", std::string(GRAPHSTATS_BIN) + " -h 0 /dev/stdin < F.csv"},
                                       kGuarded);
    EXPECT_EQ(piped.status, 1);
    EXPECT_TRUE(contains(piped.err, "20000000 of the 20000000 vertex lines its header announces are missing"))
        << piped.err;
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(piped.peakKilobytes, 64 * 1024);
#endif
}

}  // namespace
}  // namespace graphmat
