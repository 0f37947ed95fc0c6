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
                         "(reader mode 0); the file is not used: read it in reader mode 0\n"
                         "Graph file " + b +
                         ": 30 lines not read in reader mode 6 (the first: line 2); it looks like a plain graph file "
                         "(reader mode 0); the file is not used: read it in reader mode 0\n");
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
                         ": 169 lines not read in reader mode 4 (the first: line 2); it looks like a model graph file "
                         "(reader mode 12); the file is not used: read it in reader mode 12\n"
                         "Graph file " + exampleFile("shop-v2.txt") +
                         ": 177 lines not read in reader mode 4 (the first: line 2); it looks like a model graph file "
                         "(reader mode 12); the file is not used: read it in reader mode 12\n");
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
    const std::string asEdgeList = "Graph file " + plain +
                                   ": 30 lines not read in reader mode 6 (the first: line 2); it looks like a plain "
                                   "graph file (reader mode 0); the file is not used: read it in reader mode 0\n";
    const std::string asClassDiagram = "Graph file " + model +
                                       ": 169 lines not read in reader mode 4 (the first: line 2); it looks like a "
                                       "model graph file (reader mode 12); the file is not used: read it in reader "
                                       "mode 12\n";
    struct Case {
        std::string what;
        std::string program;
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"graphmat", GRAPHMAT_BIN, {"-h", "4", "-o", model, "-n", lib}, asClassDiagram},
        {"graphstats", GRAPHSTATS_BIN, {"-h", "6", plain}, asEdgeList},
        {"logcost", LOGCOST_BIN, {"-h", "6", "-o", plain, "-n", plain, "-p", "log.txt"}, asEdgeList},
        {"reduce", REDUCE_BIN, {"-h", "4", model, lib}, asClassDiagram},
        {"mces", MCES_BIN, {"-o", plain, "-n", plain}, asEdgeList},
        {"evaluate", EVALUATE_BIN, {"v1__v2__1__0.5__1__1__0__1.csv", "ds"},
         "Graph file ./datasets/ds/v1.txt: 169 lines not read in reader mode 4"},
        {"graphgen mutate", GRAPHGEN_BIN, {"mutate", "6", plain, "0.2", "0.2", "0.1", "0", "5", "m.csv", "l.csv"},
         asEdgeList},
        {"graphgen shuffle", GRAPHGEN_BIN, {"shuffle", "6", plain, "5", "s.csv"}, asEdgeList},
    };
    for (const Case& c : cases) {
        RunResult r = test::runProgram(c.program, c.args, kGuarded);
        EXPECT_EQ(r.status, 1) << c.what;
        EXPECT_TRUE(contains(r.err, c.message)) << c.what << ": " << r.err;
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
            } else if (!r.err.empty()) {
                // An edge list reads whole as a plain graph file, a class
                // diagram as a model graph file: those runs say nothing.
                EXPECT_TRUE(contains(r.err, "; it looks like " + file.looksLike)) << where << ": " << r.err;
            } else {
                EXPECT_TRUE((mode == 0 && file.path == "edges.csv") || (mode == 12 && file.path == "diagram.txt"))
                    << where;
            }
        }
    }
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

}  // namespace
}  // namespace graphmat
