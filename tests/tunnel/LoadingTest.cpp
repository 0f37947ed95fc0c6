// Loading a series: the series list, the records of the steps, the cost
// model from the last match result file name, the creation costs of the
// oldest classes.
#include <gtest/gtest.h>

#include <filesystem>

#include "TunnelFixture.h"

namespace graphmat::test {
namespace {

namespace fs = std::filesystem;

TEST(Loading, ExampleSeriesWithARepeatedAndAReversedMatchLine) {
    ScratchDir dir;
    copyExampleFiles("series", exampleSeriesFiles());
    std::string list = readFile("series.txt");
    // The same pair again, and a run with the newer version as graph 1.
    list += "m,matches/shop-3__shop-4__1__0.5__1__1__0__1.csv\n";
    list += "m,matches/shop-4__shop-3__2__0.5__1__1__0__1.csv\n";
    writeFile("series.txt", list);
    CaptureStdout capture;
    CaptureStderr errors;
    Tunnel tunnel("series.txt");
    const std::string out = capture.text();

    ASSERT_EQ(tunnel.gseries.size(), 4u);
    ASSERT_EQ(tunnel.matchings.size(), 3u);
    for (int q = 0; q < 3; ++q) {
        EXPECT_EQ(tunnel.matchings[q]->position, q);
        EXPECT_EQ(tunnel.matchings[q]->g1, tunnel.gseries[q].get());
        EXPECT_EQ(tunnel.matchings[q]->g2, tunnel.gseries[q + 1].get());
    }
    // The repeated line is named and not read: one entry per step.
    for (int q = 0; q < 3; ++q) EXPECT_EQ(tunnel.matchings[q]->matchList.size(), 1u) << q;
    EXPECT_EQ(errors.text(),
              "series.txt line 8: the match result file matches/shop-3__shop-4__1__0.5__1__1__0__1.csv is not read: "
              "the step from \"shop-4\" to \"shop-3\" reads the match result file "
              "matches/shop-3__shop-4__1__0.5__1__1__0__1.csv (line 5); an \"m\" line after the first for a step is "
              "ignored\n"
              "series.txt line 9: the match result file matches/shop-4__shop-3__2__0.5__1__1__0__1.csv is not read: "
              "no two consecutive versions listed above this line are \"shop-4\" (older) and \"shop-3\" (newer)\n");
    EXPECT_EQ(tunnel.firstG->name, "shop-4");
    EXPECT_EQ(tunnel.lastG->name, "shop-1");
    EXPECT_EQ(tunnel.mseries, (std::vector<int>{0, 0, 0}));

    // Records 0, 1, 2 announced as they are made; each matched line found
    // twice, the repeated one looked up only; the reversed run looked up as
    // far as shop-3 and ignored, but its parameters (drop weight 2) make the
    // cost model.
    EXPECT_NE(out.find("\nshop-3.txt0\t"), std::string::npos);
    EXPECT_NE(out.find("\nshop-1.txt2\t"), std::string::npos);
    EXPECT_NE(out.find("\nTreat Match\ng1 : shop-4 nameg1 : shop-4\n\nFOUND TWICE\n"), std::string::npos);
    EXPECT_NE(out.find("seed : 1__0.5__1__1__0__1.csv\n\nTreat Match\ng1 : shop-4 nameg1 : shop-4\n\nTreat Match\n"),
              std::string::npos);
    EXPECT_NE(out.find("G1 : shop-4 G2 : shop-3 seed : 1__0.5__1__1__0__1.csv\n"), std::string::npos);
    EXPECT_NE(out.find("\nTreat Match\ng1 : shop-4 nameg1 : shop-3\ng1 : shop-3 nameg1 : shop-3\n\n TUNNEL Loaded"
                       "\n2,0.5,1,1,0\nMatchings : 3\n Creating Tunnel \n"),
              std::string::npos);
    EXPECT_EQ(tunnel.costs->dropWeightN, 2);

    // shop-1: class insertion round(1 x 100 x 2 / 2) = 100, each arc inserted
    // between unmatched ends 100 x 1 / 2 x 0.5 = 25; Cart has two arcs out,
    // Item none, Order three.
    EXPECT_EQ(tunnel.original_cost, (std::vector<int>{150, 100, 125, 175, 100}));
    // Members plus the weights of the arcs out.
    EXPECT_EQ(tunnel.b_original_cost, (std::vector<int>{7, 4, 4, 7, 1}));
}

TEST(Loading, CostParametersFromARunName) {
    Tunnel tunnel;
    CaptureStdout capture;
    ASSERT_TRUE(tunnel.setCostParameters("1__2__3__0.5__0.25__7.csv"));
    EXPECT_EQ(capture.text(), "\n1,2,3,0.5,0.25");
    EXPECT_EQ(tunnel.costs->dropWeightN, 1);
    EXPECT_EQ(tunnel.costs->dropWeightE, 2);
    EXPECT_EQ(tunnel.costs->edgeWeight, 3);
    EXPECT_EQ(tunnel.costs->asymmetry, 0.5);
    EXPECT_EQ(tunnel.costs->_lw, 0.25);
    for (const char* bad : {"", "1__2__3__0.5.csv", "1__2__3__x__0.25__7.csv", "1__2__3__0.5__0.25abc__7.csv",
                            "1__2__3__-1__0__7.csv"})
        EXPECT_FALSE(tunnel.setCostParameters(bad)) << bad;
}

}  // namespace
}  // namespace graphmat::test
