// Graph statistics and dumps: distributions, means and deviations, the
// summary rows and details files, the printed graph and the matrix file.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "GraphDump.h"
#include "graph/CapacityChecks.h"
#include "graph/OutputFiles.h"

namespace graphmat::test {
namespace {

// A graph named `name` with one vertex per label and the given arcs.
std::unique_ptr<Graph> graphOf(const std::string& name, const std::vector<std::string>& labels,
                               const std::vector<std::tuple<int, int, std::string>>& arcs = {}) {
    auto g = std::make_unique<Graph>();
    g->name = name;
    for (std::size_t i = 0; i < labels.size(); ++i)
        g->V.push_back(std::make_unique<Vertex>(static_cast<int>(i), labels[i]));
    g->vertices = static_cast<int>(labels.size());
    CaptureStdout quiet;
    for (const auto& [from, to, label] : arcs) g->insertEdge(std::make_unique<Edge>(from, to, label));
    g->edges = static_cast<int>(g->E.size());
    return g;
}

// A working directory with the folders the statistics write into.
struct StatsDir {
    ScratchDir dir;
    StatsDir() {
        std::filesystem::create_directory("logs");
        std::filesystem::create_directory("graphs");
    }
};

std::string collect(Graph& g) {
    CaptureStdout capture;
    g.collectStats();
    return capture.text();
}

// Two parallel arcs 0 -> 1 (digits 1 and 3), a self-loop on 2, and the
// label "13" again on 2 -> 0.
std::unique_ptr<Graph> multiGraph() {
    return graphOf("m", {"a", "b", "c"}, {{0, 1, "1"}, {0, 1, "3"}, {2, 2, "2"}, {1, 2, "1"}, {2, 0, "1"}, {2, 0, "3"}});
}

TEST(GraphStatistics, MultiArcsAndSelfLoops) {
    StatsDir dir;
    auto g = multiGraph();
    EXPECT_EQ(collect(*g),
              "\n2/2/3/3/2\n"
              "0:a\t1\t1\t2\n"
              "1:b\t1\t1\t2\n"
              "2:c\t2\t2\t3\n"
              "\n [;13;;2;;1;]\n");
    EXPECT_EQ(g->loops, 1);
    EXPECT_EQ(g->multi_arcs, 2);
    EXPECT_EQ(g->nbNodeLabels, 3);
    EXPECT_EQ(g->in_distrib, (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(g->out_distrib, (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(g->all_distrib, (std::vector<int>{0, 0, 2, 1}));
    // Label entry 0: the 9 ordered pairs less the 4 edges.
    EXPECT_EQ(g->label_distrib, (std::vector<long long>{5, 3, 1, 2}));
    EXPECT_EQ(g->multi_distrib, (std::vector<int>{0, 2, 2}));
    EXPECT_DOUBLE_EQ(g->mean_in_distrib, 4.0 / 3);
    EXPECT_DOUBLE_EQ(g->std_in_distrib, std::sqrt(6.0 / 3 - 16.0 / 9));
    EXPECT_DOUBLE_EQ(g->mean_label_distrib, 11.0 / 6);
    EXPECT_DOUBLE_EQ(g->std_label_distrib, std::sqrt(25.0 / 6 - 121.0 / 36));
    EXPECT_DOUBLE_EQ(g->mean_multi_distrib, 1.5);
    EXPECT_DOUBLE_EQ(g->std_multi_distrib, 0.5);
    // The minima are those insertEdge kept while the arcs went in.
    EXPECT_EQ(g->min_in_distrib, 0);
    EXPECT_EQ(g->min_all_distrib, 1);
    EXPECT_TRUE(readFile("logs/isolated_m.csv").empty());

    // Running it again gives the same figures.
    collect(*g);
    EXPECT_EQ(g->multi_distrib, (std::vector<int>{0, 2, 2}));
    EXPECT_EQ(g->loops, 1);
}

TEST(GraphStatistics, DetailsFilesOfAGraphWithArcs) {
    StatsDir dir;
    auto g = multiGraph();
    {
        CaptureStdout quiet;
        g->graphDetails();
        g->mozillaDetails();
    }
    const std::string values =
        "m,3,4,3,3,1,2,0,0,1.33333,0.471405,2,0,1.33333,0.471405,2,1,2.33333,0.471405,3,1.83333,0.897527,1.5,0.5,2";
    std::string semicolons = values;
    std::replace(semicolons.begin(), semicolons.end(), ',', ';');
    EXPECT_EQ(readFile("graphs/all_graphs.csv"), values + "\n;" + semicolons + ";3;1;2;\n");
    EXPECT_EQ(readFile("graphs/all_versions.csv"), "m,3,0,0,3,1,2,\n");
    EXPECT_EQ(readFile("graphs/m.csv"),
              "Name;|V|;|E|;|LV|;|LE|;Loops;Multi-arcs;Isolated Nodes;Min_in_degree;Mean_in_degree;Std_in_degree;"
              "Max_in_degree;Min_out_degree;Mean_out_degree;Std_out_degree;Max_out_degree;Min_degree;Mean_degree;"
              "Std_degree;Max_degree;Mean_label;Std_label;Mean_multi;Std_multi;Max_multi;\n;" +
                  semicolons +
                  ";3;1;2;\n"
                  "\nIn Distribution\n0 <> 0;1 <> 2;2 <> 1;"
                  "\nOut Distribution\n0 <> 0;1 <> 2;2 <> 1;"
                  "\nEdge Distribution\n0 <> 0;1 <> 0;2 <> 2;3 <> 1;"
                  "\nLabel Distribution\n0 <> 5;1 <> 3;2 <> 1;3 <> 2;"
                  "\nMulti-Arc Distribution\n0 <> 0;1 <> 2;2 <> 2;");
}

// Without arcs: every vertex isolated, the label and multi-arc figures not
// a number, their sections left out, and the missing label counts 0.
TEST(GraphStatistics, GraphWithoutArcs) {
    StatsDir dir;
    auto g = graphOf("g", {"a", "b", "a"});
    {
        CaptureStdout quiet;
        g->graphDetails();
        g->mozillaDetails();
    }
    EXPECT_EQ(g->in_distrib, (std::vector<int>{3}));
    EXPECT_EQ(g->all_distrib, (std::vector<int>{3}));
    EXPECT_EQ(g->label_distrib, (std::vector<long long>{9, 0}));
    EXPECT_TRUE(std::isnan(g->mean_label_distrib) && std::isnan(g->std_multi_distrib));
    EXPECT_EQ(readFile("logs/isolated_g.csv"), "0,a\n1,b\n2,a\n");
    const std::string values = "g,3,0,2,1,0,0,3,0,0,0,0,0,0,0,0,0,0,0,0,nan,nan,nan,nan,0";
    std::string semicolons = values;
    std::replace(semicolons.begin(), semicolons.end(), ',', ';');
    EXPECT_EQ(readFile("graphs/all_graphs.csv"), values + "\n;" + semicolons + ";0;0;0;\n");
    EXPECT_EQ(readFile("graphs/all_versions.csv"), "g,3,0,0,0,0,0,\n");
    const std::string details = readFile("graphs/g.csv");
    EXPECT_NE(details.find(";0;0;0;\n\nIn Distribution\n0 <> 3;\nOut Distribution\n0 <> 3;\nEdge Distribution\n0 <> 3;"),
              std::string::npos);
    EXPECT_EQ(details.find("Label Distribution"), std::string::npos);

    // No vertices at all: degree figures 0, never a NaN there.
    auto empty = graphOf("e", {});
    collect(*empty);
    EXPECT_EQ(empty->mean_in_distrib, 0);
    EXPECT_EQ(empty->std_all_distrib, 0);
    EXPECT_EQ(empty->label_distrib[0], 0);
}

TEST(GraphStatistics, LabelDigitOneAloneHasNoLabelSection) {
    StatsDir dir;
    auto g = graphOf("one", {"a", "b"}, {{0, 1, "1"}});
    {
        CaptureStdout quiet;
        g->graphDetails();
    }
    EXPECT_EQ(readFile("graphs/one.csv"),
              "one,2,1,2,1,0,0,0,0,0.5,0.5,1,0,0.5,0.5,1,1,1,0,1,1,0,1,0,1\n"
              "\nIn Distribution\n0 <> 1,1 <> 1,"
              "\nOut Distribution\n0 <> 1,1 <> 1,"
              "\nEdge Distribution\n0 <> 0,1 <> 2,");
}

TEST(GraphStatistics, PairCountPastTwoToThe31) {
    StatsDir dir;
    std::vector<std::string> labels(50000, "v");
    auto g = graphOf("big", labels, {{0, 1, "2"}});
    collect(*g);
    EXPECT_EQ(g->label_distrib[0], 2500000000LL - 1);
}

TEST(GraphStatistics, MissingFoldersAreNamedAndTheOtherFilesWritten) {
    ScratchDir dir;
    std::filesystem::create_directory("graphs");
    resetOutputFailed();
    auto g = graphOf("g", {"a"});
    CaptureStderr errors;
    {
        CaptureStdout quiet;
        g->graphDetails();
    }
    EXPECT_EQ(errors.text(), "Cannot write ./logs/isolated_g.csv\n");
    EXPECT_TRUE(fileExists("graphs/g.csv"));
    EXPECT_TRUE(outputFailed());
    resetOutputFailed();
}

TEST(GraphDumps, PrintAndMatrixFile) {
    StatsDir dir;
    auto g = graphOf("p", {"app.ShopCart", ""}, {{0, 1, "9"}, {0, 1, "3"}});
    g->V[0]->type = 1;
    g->V[0]->level = 2;
    CaptureStdout capture;
    g->print();
    EXPECT_EQ(capture.text(),
              "\n\n PRINT ZE GRAPH \n\n|V|=2, |E|=1\n"
              "******************************** VERTICES & EDGES ******************************* \n"
              "\n0, app.ShopCart, 1,2\n"
              "\n***2***\t\tShop\tCart\n"
              "\tIN : 0\n\t\t"
              "\n\tOUT : 1\n\t\t0/ ( 93 ); "
              "\n\tALL : 1\n\t\t0/app.ShopCart --> ( 93 ); "
              "\n1, , 0,0\n"
              "\n***0***\t\n"
              "\tIN : 1\n\t\t0/ app.ShopCart( 93 ); "
              "\n\tOUT : 0\n\t\t"
              "\n\tALL : 1\n\t\t0/app.ShopCart --> ( 93 ); ");
    g->toMatrixFile();
    EXPECT_EQ(readFile("mp"), "0  93  \n0  0  \n");
}

// The matrix file's size is counted before it is written, cell by cell: a
// disk that holds exactly that many bytes takes the file as it has always
// been written, one byte less refuses it before anything is created.
TEST(GraphDumps, TheMatrixFileIsWrittenOnlyWhenItsDiskHoldsIt) {
    struct Case {
        std::string what;
        std::unique_ptr<Graph> graph;
        std::string matrix;
    };
    Case cases[] = {
        {"folded arcs of two digits", graphOf("p", {"a", ""}, {{0, 1, "9"}, {0, 1, "3"}}), "0  93  \n0  0  \n"},
        {"a loop and an empty label", graphOf("q", {"a", "b", "c"}, {{2, 2, "2"}, {0, 2, ""}}),
         "0  0    \n0  0  0  \n0  0  2  \n"},
        {"parallel arcs both ways", multiGraph(), "0  13  0  \n0  0  1  \n13  0  2  \n"},
        {"vertices without arcs", graphOf("e", {"a", "b"}), "0  0  \n0  0  \n"},
        {"no vertex", graphOf("z", {}), ""},
    };
    ScratchDir dir;
    for (Case& c : cases) {
        const std::string path = "m" + c.graph->name;
        const std::string n = std::to_string(c.graph->V.size());
        setFreeDiskOverride(static_cast<double>(c.matrix.size()));
        EXPECT_NO_THROW(c.graph->toMatrixFile()) << c.what;
        EXPECT_EQ(readFile(path), c.matrix) << c.what;
        std::filesystem::remove(path);
        if (c.matrix.empty()) continue;
        setFreeDiskOverride(static_cast<double>(c.matrix.size() - 1));
        try {
            c.graph->toMatrixFile();
            ADD_FAILURE() << c.what << ": not refused";
        } catch (const DiskSpaceError& e) {
            const std::string text = e.what();
            EXPECT_EQ(text.rfind("needs ", 0), 0u) << text;
            EXPECT_TRUE(contains(text, " GB for the adjacency matrix file " + path + " of " + n + " x " + n +
                                           " vertex pairs; the disk has "))
                << text;
        }
        EXPECT_FALSE(fileExists(path)) << c.what;
    }
    setFreeDiskOverride(-1);
}

// A header's count asks for the matrix: refused, an earlier matrix file of
// the graph stays as it was; on the disk itself the file is written.
TEST(GraphDumps, ARefusedMatrixLeavesTheEarlierFile) {
    ScratchDir dir;
    writeFile("big.txt", "100,0\n");
    writeFile("mbig", "earlier\n");
    CaptureStdout quiet;
    Graph g(6, "big.txt");
    setFreeDiskOverride(0);
    EXPECT_THROW(g.toMatrixFile(), DiskSpaceError);
    setFreeDiskOverride(-1);
    EXPECT_EQ(readFile("mbig"), "earlier\n");
    g.toMatrixFile();
    std::string row;
    for (int j = 0; j < 100; ++j) row += "0  ";
    std::string matrix;
    for (int i = 0; i < 100; ++i) matrix += row + "\n";
    EXPECT_EQ(readFile("mbig"), matrix);
}

}  // namespace
}  // namespace graphmat::test
