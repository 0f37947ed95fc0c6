// The analysis of a series built in code: class threads and history
// metrics, tunnel edges and label statistics, rename and label histories.
#include <gtest/gtest.h>

#include <cmath>

#include "TunnelFixture.h"

namespace graphmat::test {
namespace {

// Three versions, newest first:
//   new: 0 a.B, 1 a.D, 2 a.E, 3 a.F; arcs B->E 1, B->F 1, F->B 2, F->F 3
//   mid: 0 a.B, 1 a.E, 2 a.F;        arcs B->E 1, B->F 1, F->B 2, F->F 33
//   old: 0 a.C, 1 a.X, 2 a.F;        arcs F->C 2, F->F 3
// a.B is renamed from a.C; a.D is new; a.E was created in mid; a.F lives
// through the series.
struct Series : ::testing::Test {
    ScratchDir dir;
    Tunnel tunnel;
    std::string out;

    void SetUp() override {
        CaptureStdout capture;
        tunnel.addVersion(makeVersion("new", {{"a.B"}, {"a.D"}, {"a.E"}, {"a.F"}},
                                      {{0, 2, "1"}, {0, 3, "1"}, {3, 0, "2"}, {3, 3, "3"}}));
        tunnel.addVersion(makeVersion("mid", {{"a.B"}, {"a.E"}, {"a.F"}},
                                      {{0, 1, "1"}, {0, 2, "1"}, {2, 0, "2"}, {2, 2, "33"}}));
        tunnel.addVersion(makeVersion("old", {{"a.C"}, {"a.X"}, {"a.F"}}, {{2, 0, "2"}, {2, 2, "3"}}));
        // Rank scores chosen so that the scaled scores are whole numbers.
        const std::vector<std::vector<double>> scores = {
            {0.1505, 0.2005, 0.0505, 0.3005}, {0.1405, 0.3005, 0.4005}, {0.1205, 0.5005, 0.2505}};
        for (int v = 0; v < 3; ++v) {
            tunnel.gseries[v]->u = scores[v];
            tunnel.gseries[v]->hub = scores[v];
        }
        writeFile("results/mid__new__1__1__0__1__0__1.csv",
                  matchFile(*tunnel.matchings[0], {{0, 0, "4", "0"}, {1, 2, "3", "0"}, {2, 3, "1", "1"}}));
        writeFile("results/old__mid__1__1__0__1__0__1.csv",
                  matchFile(*tunnel.matchings[1], {{0, 0, "6", "0"}, {2, 2, "0", "0"}}));
        tunnel.getMatches(tunnel.matchings[0].get(), "results/mid__new__1__1__0__1__0__1.csv");
        tunnel.getMatches(tunnel.matchings[1].get(), "results/old__mid__1__1__0__1__0__1.csv");
        // Edge weight 0: creating a relation costs nothing; a class costs 2.
        EXPECT_TRUE(tunnel.setCostParameters("1__1__0__1__0__1.csv"));
        tunnel.costs->classInsertion = 2;
        tunnel.prepareAnalysis();
        tunnel.createTunnel({0, 0});
        out = capture.text();
    }

    // The metrics row of a class, by column name.
    std::map<std::string, std::string> metrics(int i) const {
        auto rows = csvRows(readFile("results/tunnel_new.csv"));
        std::map<std::string, std::string> row;
        for (std::size_t k = 0; k < rows[0].size(); ++k) row[rows[0][k]] = rows.at(i + 1).at(k);
        return row;
    }
};

std::string fmt(double x) { return to_string(x); }

TEST_F(Series, ThreadsFollowTheImages) {
    EXPECT_EQ(tunnel.m, (std::vector<std::vector<int>>{{0, 0, 0}, {1, -1, -1}, {2, 1, -1}, {3, 2, 2}}));
    EXPECT_EQ(tunnel._m, (std::vector<std::vector<int>>{{0, 1, 2, 3}, {0, 2, 3}, {0, -1, 3}}));
    EXPECT_EQ(tunnel.threads, (std::vector<int>{3, 1, 2, 3}));
    EXPECT_EQ(tunnel.tunnelled, (std::vector<int>{0, 3}));
    EXPECT_EQ(tunnel._tunnelled, (std::vector<int>{0, -1, -1, 1}));
    EXPECT_EQ(tunnel._cost, (std::vector<int>{10, 0, 3, 2}));
}

TEST_F(Series, TraceFile) {
    EXPECT_EQ(readFile("results/_tunnel_new.csv"),
              "p,0,a.B,150,140,120,\n"
              "c,0,a.B,4,6,2,\n"
              "p,1,a.D,200,\n"
              "c,1,a.D,0,2,\n"
              "p,2,a.E,50,300,\n"
              "c,2,a.E,3,0,2,\n"
              "p,3,a.F,300,400,250,\n"
              "c,3,a.F,2,0,2,\n");
}

TEST_F(Series, MetricsHeaderAndRowsHold101Fields) {
    auto rows = csvRows(readFile("results/tunnel_new.csv"));
    ASSERT_EQ(rows.size(), 5u);
    for (const auto& row : rows) EXPECT_EQ(row.size(), 101u);
    EXPECT_EQ(rows[0].front(), "class");
    EXPECT_EQ(rows[0].back(), "newClass");
    EXPECT_EQ(rows[1].front(), "a.B");
}

TEST_F(Series, MetricsOfAClassThatReachesTheOldestVersion) {
    auto row = metrics(0);
    EXPECT_EQ(row["LastEC"], "4");
    EXPECT_EQ(row["EC"], "12");
    EXPECT_EQ(row["MeanEC"], "4");
    EXPECT_EQ(row["StdEC"], fmt(std::sqrt((16.0 + 36 + 4) / 3 - 16)));
    EXPECT_EQ(row["logEC"], fmt(std::log10(13.0)));
    EXPECT_EQ(row["CR"], "150");
    EXPECT_EQ(row["MeanCR"], fmt(410.0 / 3));
    EXPECT_EQ(row["Hub"], "150");
    EXPECT_EQ(row["nbBugs"], "0");
    EXPECT_EQ(row["newClass"], "0");
    // Its image in mid has three arcs: two out, one in.
    EXPECT_EQ(row["lastNbRel"], "3");
    EXPECT_EQ(row["lastNbRelIn"], "1");
    EXPECT_EQ(row["lastNbRelOut"], "2");
    // mid's B gains an arc to E (unmatched in old) and one to F (no edge in old).
    EXPECT_EQ(row["nbAddRel"], "2");
    EXPECT_EQ(row["lastNbAddRel"], "0");
    EXPECT_EQ(row["nbModRel"], "1");
    // Basic costs: step 0 nothing, step 1 two added arcs out, created with nothing.
    EXPECT_EQ(row["bEC"], "2");
}

TEST_F(Series, MetricsOfANewClass) {
    auto row = metrics(1);
    EXPECT_EQ(row["newClass"], "1");
    EXPECT_EQ(row["LastEC"], "2");  // its creation cost
    EXPECT_EQ(row["EC"], "2");
    EXPECT_EQ(row["MeanEC"], fmt(2.0 / 3));
    EXPECT_EQ(row["CR"], "200");
    EXPECT_EQ(row["MeanCR"], fmt(200.0 / 3));
    EXPECT_EQ(row["StdCR"], fmt(std::sqrt(40000.0 / 3 - (200.0 / 3) * (200.0 / 3))));
    EXPECT_EQ(row["lastNbAtt"], "0");
    EXPECT_EQ(row["lastNbRel"], "0");
}

TEST_F(Series, MetricsOfAClassWithASelfRelation) {
    auto row = metrics(3);
    // mid's F: arcs from B (1), to B (1), a loop of two arcs (in and out).
    EXPECT_EQ(row["lastNbRel"], "4");
    EXPECT_EQ(row["lastNbRelIn"], "3");
    EXPECT_EQ(row["lastNbRelOut"], "3");
    // The loop lost one arc in step 0 (counted at both ends: twice) and
    // gained one in step 1; the arc from B is new in step 1.
    EXPECT_EQ(row["lastNbModRel"], "2");
    EXPECT_EQ(row["nbModRel"], "5");
    EXPECT_EQ(row["nbDelRel"], "2");
    EXPECT_EQ(row["nbAddRel"], "3");
    EXPECT_EQ(row["lastP_ModRel"], "50");   // of 4 arcs
    EXPECT_EQ(row["p_ModRel"], "200");      // 50 + 3 of 2 arcs
    // Basic costs 1 + 1 and the creation: members 0 and two arcs out.
    EXPECT_EQ(row["bEC"], "4");
}

TEST_F(Series, RawTunnelFile) {
    EXPECT_EQ(readFile("results/raw_tunnel_new.csv"),
              "\na.B,a.B,a.C\na.D\na.E,a.E\na.F,a.F,a.F"
              "\n\n tunnelSize,2"
              // B->F in new and mid only; F->B the same in every version
              // (perfect, not listed); the loop of F changed once.
              "\na.B,a.F,100000\\2,,,,,,2,2"
              "\na.F,a.F,1000\\2,2000\\1,,,,,2,3"
              "\n labelStats,1,1\n labelStats,2,2"
              "\n\n Original Edges in the tunnel : 3\n\n"
              "\n\n Perfect Edge Matching : 1\n\n"
              "\n multilabelStats,2,1"
              "\n\n Threads \n\n0,3\n1,1\n2,2\n3,3\n"
              "\n\n Costs in tunnel \n\n0,10\n3,2\n");
    EXPECT_NE(out.find("\n labelStats,2,2\n multilabelStats,2,1"), std::string::npos);
}

TEST_F(Series, ClassThreadFile) {
    EXPECT_EQ(readFile("results/ctunnel_new.csv"),
              "0,a.B,2,2,new__a.B,old__a.C\n"
              "1,a.D,0,1,new__a.D\n"
              "2,a.E,1,1,new__a.E\n"
              "3,a.F,2,1,new__a.F\n");
}

TEST_F(Series, RelationThreadFile) {
    EXPECT_EQ(readFile("results/rtunnel_new.csv"),
              // E has no image in old: the thread stops at mid
              "0,a.B,2,a.E,1,1,new__100000\n"
              // old has no edge from C to F
              "0,a.B,3,a.F,1,1,new__100000\n"
              "3,a.F,0,a.B,2,1,new__010000\n"
              "3,a.F,3,a.F,2,3,new__001000,mid__002000,old__001000\n");
}

TEST_F(Series, ProgressText) {
    std::vector<std::string> marks = {"\n Setted Series \n", "\n Match 0 : 0 \n", "\n Match 1 : 0 \n",
                                      "\n Created Tunnel \n", "\n Created Reverse Tunnel \n", "\n Filed Tunnel \n",
                                      "2*\n", "\n GRAPH 2\n", "\n ---Quick Facts--- \n", "\n Edge data written"};
    std::size_t at = 0;
    for (const std::string& mark : marks) {
        std::size_t found = out.find(mark, at);
        ASSERT_NE(found, std::string::npos) << mark;
        at = found + mark.size();
    }
}

// A relation whose images lose their edge in one version and regain it in
// the next: its thread stops where the edge is first missing.
TEST(Histories, RelationThreadStopsAtTheFirstMissingEdge) {
    ScratchDir dir;
    Tunnel tunnel;
    CaptureStdout quiet;
    std::vector<std::unique_ptr<Graph>> versions;
    const std::vector<std::vector<Arc>> arcs = {{{0, 1, "1"}}, {{0, 1, "11"}}, {}, {{0, 1, "1"}}};
    for (int v = 0; v < 4; ++v) versions.push_back(makeVersion("v" + std::to_string(v), {{"a.A"}, {"a.B"}}, arcs[v]));
    const std::vector<MatchRow> same = {{0, 0}, {1, 1}};
    addSeries(tunnel, std::move(versions), {same, same, same});
    analyse(tunnel);
    EXPECT_EQ(readFile("results/rtunnel_v0.csv"), "0,a.A,1,a.B,1,2,v0__100000,v1__200000\n");
    // The pair is tunnelled: signatures 100000 (v0, v3) and 200000 (v1).
    EXPECT_NE(readFile("results/raw_tunnel_v0.csv").find("\na.A,a.B,100000\\2,200000\\1,,,,,2,3"),
              std::string::npos);
}

TEST(Analysis, NoTunnelledClass) {
    ScratchDir dir;
    Tunnel tunnel;
    CaptureStdout quiet;
    std::vector<std::unique_ptr<Graph>> versions;
    versions.push_back(makeVersion("new", {{"a.A"}}, {}));
    versions.push_back(makeVersion("old", {{"a.A"}}, {}));
    addSeries(tunnel, std::move(versions), {{}});
    analyse(tunnel);
    EXPECT_EQ(readFile("results/raw_tunnel_new.csv"),
              "\na.A\n\n tunnelSize,0"
              "\n\n Original Edges in the tunnel : 0\n\n\n\n Perfect Edge Matching : 0\n\n"
              "\n\n Threads \n\n0,1\n\n\n Costs in tunnel \n\n");
    // A lone vertex ranks 1; creation cost: the class insertion cost (50).
    EXPECT_EQ(readFile("results/_tunnel_new.csv"), "p,0,a.A,1000,\nc,0,a.A,0,50,\n");
}

TEST(Analysis, ASignatureTooLongForAnIntIsStillCounted) {
    ScratchDir dir;
    Tunnel tunnel;
    CaptureStdout quiet;
    // Twelve arcs of each of the digits 1 to 6: the text 121212121212.
    std::string many;
    for (char d = '1'; d <= '6'; ++d) many += std::string(12, d);
    std::vector<std::unique_ptr<Graph>> versions;
    for (const char* name : {"new", "old"}) versions.push_back(makeVersion(name, {{"a.A"}, {"a.B"}}, {{0, 1, many}}));
    versions.push_back(makeVersion("older", {{"a.A"}, {"a.B"}}, {}));
    const std::vector<MatchRow> same = {{0, 0}, {1, 1}};
    addSeries(tunnel, std::move(versions), {same, same});
    analyse(tunnel);
    const auto& list = tunnel.tunnelEdges.at({0, 1});
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].value, 121212121212.0);
    EXPECT_EQ(list[0].count, 2);
    EXPECT_NE(readFile("results/raw_tunnel_new.csv").find("\na.A,a.B,1.21212e+11\\2,,,,,,2,2"), std::string::npos);
}

}  // namespace
}  // namespace graphmat::test
