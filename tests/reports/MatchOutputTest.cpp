// The result files of a matching run on a small pair of models with a
// matching set by hand: plain pairs, a merged block, deleted and inserted
// classes, a self-loop and parallel arcs. The expected files under
// fixtures/reports/ were worked out by hand from the cost model.
#include <gtest/gtest.h>

#include "graph/OutputFiles.h"
#include "support/TestSupport.h"
#include "matching/Cost.h"
#include "matching/Match.h"
#include "reports/CsvDiff.h"
#include "reports/RunName.h"

namespace graphmat {
namespace {

using test::CaptureStderr;
using test::CaptureStdout;
using test::fixture;
using test::readFile;
using test::ScratchDir;

const std::string RUN = "old__new__1__0.5__1__1__0__1";
const std::string RESULT = "./results/" + RUN + ".csv";
const std::string EXTRACT = RESULT + ".csv";
const std::string REVIEW = EXTRACT + ".csv";
const std::string SUMMARY = REVIEW + ".csv";
const std::string RAW_PAIRS = "./results/raw_" + RUN + ".csv";

// The two models of a small shop, matched by the driver's cost model with
// drop weights 1 and 0.5, edge weight 1, asymmetry 1 and label weight 0.
// Building the matcher pre-matches the identical subtrees: ".", "app",
// "app.Shop" and "app.Coupon".
class ShopPair {
public:
    Cost costs;
    std::unique_ptr<Graph> g1, g2;
    std::unique_ptr<Match> m;

    explicit ShopPair(const std::string& old = "reports/old.txt", const std::string& young = "reports/new.txt") {
        costs.initMode1(1, 0.5, 1, 1, 0);
        g1 = std::make_unique<Graph>(12, fixture(old));
        g2 = std::make_unique<Graph>(12, fixture(young));
        m = std::make_unique<Match>(g1.get(), g2.get(), &costs, 1, 3);
    }

    void unpair(int i, int j) {
        m->M12[i] = -1;
        m->M21[j] = -1;
    }
    void pair(int i, int j) { m->updateState(m->getVertex1(i), m->getVertex2(j), true); }

    // The matching of the expected files: the two "app.Coupon" classes
    // apart, pay with pay, Order with Bill, and the block {Cart, CartItem}
    // (number 8) with Basket.
    void setHandMatching() {
        unpair(6, 5);
        pair(7, 6);
        pair(5, 4);
        Vertex* block = m->updateBlock(m->getVertex1(3), 4, true, true);
        ASSERT_NE(block, nullptr);
        ASSERT_EQ(block->number, 8);
        m->updateState(block, m->getVertex2(3), true);
        settle();
    }

    // The search ends with its best matching in the partner arrays and in
    // bestMatch2, which the inserted rows follow.
    void settle() { m->bestMatch2 = m->M21; }
};

// The summary text between the banners of the "same names" and the
// "deleted" sections.
std::string sameNamesSection(const std::string& summary) {
    const std::string from = ",,*Non-Matched classes with same names*\n,,************************************\n";
    const std::string to = "\n,,***********************************\n,,*Deleted classes*";
    std::size_t start = summary.find(from);
    std::size_t end = summary.find(to);
    if (start == std::string::npos || end == std::string::npos || end < start) return "<sections missing>";
    return summary.substr(start + from.size(), end - start - from.size());
}

TEST(MatchOutput, HandMatchingGivesTheExpectedReportsAndRawLists) {
    ScratchDir dir;
    CaptureStdout out;
    ShopPair shop;
    ASSERT_EQ(shop.m->M12, (std::vector<int>{0, 1, 2, -1, -1, -1, 5, -1})) << "pre-matching changed";
    shop.setHandMatching();
    shop.m->cost(3);  // the search ends on the full cost of its best matching
    const std::vector<int> m12 = shop.m->M12, m21 = shop.m->M21, b1 = shop.m->blocks1, b2 = shop.m->blocks2;

    shop.m->output(3);
    const std::string console = out.text();

    const std::pair<std::string, std::string> files[] = {
        {RESULT, "expected-result.csv"},
        {EXTRACT, "expected-extract.csv"},
        {REVIEW, "expected-review.csv"},
        {SUMMARY, "expected-summary.csv"},
        {"./results/raw_old.csv", "expected-raw-old.csv"},
        {"./results/raw_new.csv", "expected-raw-new.csv"},
        {RAW_PAIRS, "expected-raw-pairs.csv"},
        {RAW_PAIRS + "_MERGES.csv", "expected-raw-merges.csv"},
    };
    for (const auto& [written, expected] : files)
        EXPECT_EQ(readFile(written), readFile(fixture("reports/" + expected))) << written;

    EXPECT_NEAR(shop.m->bestCost, 797.959190, 1e-5);
    EXPECT_EQ(shop.m->currentCost, shop.m->bestCost);
    EXPECT_EQ(shop.m->matchedEdges, 8);
    EXPECT_EQ(shop.m->perfectMatchedEdges, 6);
    EXPECT_EQ(shop.m->M12, m12);
    EXPECT_EQ(shop.m->M21, m21);
    EXPECT_EQ(shop.m->blocks1, b1);
    EXPECT_EQ(shop.m->blocks2, b2);
    EXPECT_NE(console.find("\n\n,,***********************************\n,,*Matched classes with different names*\n"),
              std::string::npos);
    EXPECT_EQ(console.find("*Deleted classes*"), std::string::npos);
}

// The single assignment reports with cost mode 1 while the matcher keeps
// cost mode 3: the vertex rows price substitutions (the similarity itself),
// deletions and edge deletions and insertions in mode 1, while edge
// substitutions, the header's total and the move deltas stay in mode 3.
TEST(MatchOutput, ModeOnePricesVertexAndEdgeDropColumnsOnly) {
    ScratchDir dir;
    CaptureStdout out;
    ShopPair shop;
    shop.setHandMatching();
    shop.m->cost(3);

    shop.m->output(1);

    // Mode 1 with edge drop weight 0.5: an arc labelled 9 costs
    // round(0.5 x 32767) = 16384 to delete or insert, an arc labelled 1 or 2
    // costs 1 (the running total is halved and rounded at every later
    // digit); a class deletion costs 50.
    const std::string nodes =
        "ns,0,0,.,.,,,,1,1,0,175\n"
        "ns,1,1,app,app,,,,1,16435,16384,437.5\n"
        "ns,2,2,app.Shop,app.Shop,,,,1,1,50,237.5\n"
        "ns,5,4,app.Order,app.Bill,,,,0,51,51,250\n"
        "ns,7,6,app.Shop.pay,app.Shop.pay,,,,0.857143,0.857143,0,285.714\n"
        "ns,8,3,_3_4__-cart-item--,app.Basket,,,,0.0816327,200.082,0,16.3265\n";
    const std::string result = readFile(RESULT);
    EXPECT_NE(result.find("\nCost:797.959 "), std::string::npos);
    EXPECT_NE(result.find(nodes + "nd,app.Coupon,,,,,,,50,16435,\nni,5,app.Coupon,,,,,,0,,16385,\n"),
              std::string::npos)
        << result;
    EXPECT_NE(readFile(EXTRACT).find("\n\n" + nodes + "\n\n EDGES,"), std::string::npos);
    EXPECT_NEAR(shop.m->bestCost, 797.959190, 1e-5);
    EXPECT_NE(readFile(SUMMARY).find("\n5_app.Order,4_app.Bill,0,0,51,51,250\n"), std::string::npos);

    // With asymmetry 2 a mode-1 deletion is the rounded class deletion cost
    // (33), a mode-3 one would be 33.3333.
    shop.costs.initMode1(1, 0.5, 1, 2, 0);
    shop.m->output(1);
    EXPECT_NE(readFile("./results/old__new__1__0.5__1__2__0__1.csv").find("\nnd,app.Coupon,,,,,,,33,"),
              std::string::npos);
}

TEST(MatchOutput, RawListsReadAMissingSimilarityAsZeroAndStoreNothing) {
    ScratchDir dir;
    CaptureStdout out;
    ShopPair shop;
    shop.setHandMatching();
    ASSERT_FALSE(shop.m->_N.exists(8, 3));

    shop.m->rawPrint();

    EXPECT_EQ(readFile(RAW_PAIRS + "_MERGES.csv"),
              "\"3_app.Cart____4_app.CartItem____\",\"3_app.Basket____\",Class,0\n");
    EXPECT_FALSE(shop.m->_N.exists(8, 3));
    EXPECT_EQ(readFile(RAW_PAIRS), readFile(fixture("reports/expected-raw-pairs.csv")));
    // The vertex text keeps "$" and drops nothing but the commas.
    EXPECT_EQ(shop.m->writeVertex1(7), "7_app.Shop.pay_public;void;pay;app.Order;int;java.util.Map$Entry___");
    EXPECT_EQ(shop.m->writeVertex2(3), "3_app.Basket____");
}

TEST(MatchOutput, PartnersNamingNoCurrentBlockCountAsUnmatched) {
    ScratchDir dir;
    CaptureStdout out;
    ShopPair shop;
    shop.setHandMatching();
    // A partner that names no vertex, and one that names a vertex now held
    // by the block {3, 4}.
    shop.m->M12[6] = 99;
    shop.m->M21[5] = 3;

    shop.m->output(3);

    const std::string result = readFile(RESULT);
    EXPECT_EQ(result.find("ns,6,"), std::string::npos);
    EXPECT_NE(result.find("\nnd,app.Coupon,,,,,,,50,125,\n"), std::string::npos) << result;
    EXPECT_NE(result.find("\nni,5,app.Coupon,,,,,,0,,75,\n"), std::string::npos) << result;
    EXPECT_NE(result.find("\ned,app,app.Coupon,9,,,,,1\n"), std::string::npos);
    EXPECT_NE(result.find("\nei,,,,app.Coupon,app.Bill,2,,0\n"), std::string::npos);
    EXPECT_EQ(sameNamesSection(readFile(SUMMARY)), "\n6_app.Coupon,5_app.Coupon");
    EXPECT_EQ(readFile(RAW_PAIRS), readFile(fixture("reports/expected-raw-pairs.csv")));
}

// A run that reports another matching than its best one (the known matching
// of a start-solution mode other than 1): the "ns" and "nd" rows follow the
// partner arrays, the "ni" rows and the inserted entries the best matching.
TEST(MatchOutput, InsertedRowsFollowTheBestMatchingNotThePartnerArrays) {
    ScratchDir dir;
    CaptureStdout out;
    ShopPair shop;
    shop.setHandMatching();
    ASSERT_EQ(shop.m->M21, (std::vector<int>{0, 1, 2, 8, 5, -1, 7}));
    // Best matching: Basket and Bill free, Coupon taken.
    shop.m->bestMatch2 = {0, 1, 2, -1, -1, 6, 7};

    shop.m->output(3);

    std::vector<std::string> kinds;
    for (const std::string& line : test::lines(readFile(RESULT)))
        if (line.rfind("ns,", 0) == 0 || line.rfind("ni,", 0) == 0)
            kinds.push_back(line.substr(0, line.find(',', line.find(',', 3) + 1)));
    EXPECT_EQ(kinds, (std::vector<std::string>{"ns,0,0", "ns,1,1", "ns,2,2", "ns,5,4", "ns,7,6", "ns,8,3",
                                               "ni,3,app.Basket", "ni,4,app.Bill"}));
    const std::string summary = readFile(SUMMARY);
    const std::string inserted = ",,*Inserted classes*\n,,*********************************** \n";
    ASSERT_NE(summary.find(inserted), std::string::npos);
    EXPECT_EQ(summary.substr(summary.find(inserted) + inserted.size()), "app.Basket\napp.Bill\n");
    EXPECT_NE(readFile(REVIEW).find(inserted + "\n,,i1-----app.Basket\n||Relations||\n"), std::string::npos);
    EXPECT_NE(readFile(REVIEW).find("\n,,i2-----app.Bill\n||Relations||\n"), std::string::npos);
}

struct SameNamesCase {
    const char* name;
    const char* graph1;
    const char* graph2;
    std::vector<std::pair<int, int>> unpair, pair;
    const char* section;
};

void PrintTo(const SameNamesCase& c, std::ostream* out) { *out << c.name; }

class SameNames : public ::testing::TestWithParam<SameNamesCase> {};

TEST_P(SameNames, ListsUnmatchedNamesakesWithTheirPartners) {
    const SameNamesCase& c = GetParam();
    ScratchDir dir;
    CaptureStdout out;
    ShopPair shop(c.graph1, c.graph2);
    for (auto [i, j] : c.unpair) shop.unpair(i, j);
    for (auto [i, j] : c.pair) shop.pair(i, j);
    shop.settle();

    shop.m->output(3);

    const std::string summary = "./results/" + runName(*shop.g1, *shop.g2, shop.costs, 1) + ".csv.csv.csv.csv";
    EXPECT_EQ(sameNamesSection(readFile(summary)), c.section);
}

INSTANTIATE_TEST_SUITE_P(
    Matchings, SameNames,
    ::testing::Values(
        SameNamesCase{"PairedNamesakes", "reports/old.txt", "reports/new.txt", {}, {{7, 6}}, ""},
        SameNamesCase{"FreeNamesakes", "reports/old.txt", "reports/new.txt", {{6, 5}}, {},
                      "\n6_app.Coupon,5_app.Coupon\n7_app.Shop.pay,6_app.Shop.pay"},
        SameNamesCase{"Graph2SideTaken", "reports/old.txt", "reports/new.txt", {{6, 5}}, {{7, 6}, {5, 5}},
                      "\n6_app.Coupon,5_app.Coupon(5_app.Order)"},
        SameNamesCase{"Graph1SideTaken", "reports/old.txt", "reports/new.txt", {{6, 5}}, {{7, 6}, {6, 4}},
                      "\n6_app.Coupon(4_app.Bill),5_app.Coupon"},
        // p.X is matched to the first of two graph-2 classes p.X: the
        // second is no missed match.
        SameNamesCase{"PartnerKeepsTheName", "reports/dup-a.txt", "reports/dup-b.txt", {}, {}, ""},
        SameNamesCase{"NamesakesAllFree", "reports/dup-a.txt", "reports/dup-b.txt", {{2, 2}}, {},
                      "\n2_p.X,2_p.X\n2_p.X,3_p.X"}),
    [](const ::testing::TestParamInfo<SameNamesCase>& info) { return std::string(info.param.name); });

TEST(MatchOutput, EmptyMatchingDeletesEveryBlockAndInsertsEveryVertex) {
    ScratchDir dir;
    CaptureStdout out;
    ShopPair shop;
    std::fill(shop.m->M12.begin(), shop.m->M12.end(), -1);
    std::fill(shop.m->M21.begin(), shop.m->M21.end(), -1);

    shop.m->output(3);

    auto count = [](const std::string& text, const std::string& prefix) {
        int n = 0;
        for (const std::string& line : test::lines(text))
            if (line.rfind(prefix, 0) == 0) ++n;
        return n;
    };
    const std::string result = readFile(RESULT), extract = readFile(EXTRACT);
    EXPECT_EQ(count(result, "ns,"), 0);
    EXPECT_EQ(count(result, "nd,"), 8);
    EXPECT_EQ(count(result, "ni,"), 7);
    EXPECT_EQ(count(result, "ed,"), 12);
    EXPECT_EQ(count(result, "ei,"), 11);
    EXPECT_EQ(count(result, "es1,"), 0);
    // The extract keeps the edge rows and none of the vertex rows.
    EXPECT_EQ(count(extract, "ed,"), 12);
    EXPECT_EQ(count(extract, "ei,"), 11);
    EXPECT_EQ(count(extract, "nd,") + count(extract, "ni,"), 0);
    EXPECT_EQ(readFile(RAW_PAIRS), "\"class1\",\"class2\",\"category\"\n");
    EXPECT_EQ(readFile(RAW_PAIRS + "_MERGES.csv"), "");
    EXPECT_EQ(shop.m->matchedEdges, 0);
}

TEST(MatchOutput, UnwritableResultFilesAreNamedAndTheRunGoesOn) {
    ScratchDir dir(false);  // no ./results/
    CaptureStdout out;
    ShopPair shop;
    shop.setHandMatching();
    CaptureStderr err;
    resetOutputFailed();

    shop.m->output(3);

    EXPECT_TRUE(outputFailed());
    resetOutputFailed();
    const std::string messages = err.text();
    for (const std::string& path : {RESULT, EXTRACT, REVIEW, SUMMARY, RAW_PAIRS, RAW_PAIRS + "_MERGES.csv",
                                    std::string("./results/raw_old.csv"), std::string("./results/raw_new.csv")})
        EXPECT_NE(messages.find("Cannot write " + path + "\n"), std::string::npos) << path;
    EXPECT_NEAR(shop.m->bestCost, 797.959190, 1e-5);
    EXPECT_EQ(shop.m->matchedEdges, 8);
}

TEST(RunName, JoinsGraphNamesCostParametersAndSeed) {
    ScratchDir dir;
    CaptureStdout out;
    ShopPair shop;
    EXPECT_EQ(runName(*shop.g1, *shop.g2, shop.costs, 1), RUN);
    Cost plain;
    plain.initMode1(1e6, 0.25, 100, 0, 0.5);
    EXPECT_EQ(runName(*shop.g1, *shop.g2, plain, -3), "old__new__1e+06__0.25__100__0__0.5__-3");
}

// The raw lists of a run feed the diagram difference report.
TEST(MatchOutput, RawListsOfARunFeedTheDifferenceReport) {
    ScratchDir dir;
    CaptureStdout out;
    ShopPair shop;
    shop.setHandMatching();
    shop.m->output(3);
    test::writeFile("./results/uml_old.csv",
                    "\"app.Order\",\"Class\"\n\"app.Cart\",\"Class\"\n\"app.Coupon\",\"Class\"\n");
    test::writeFile("./results/uml_new.csv", "\"app.Bill\",\"Class\"\n\"app.Basket\",\"Class\"\n");
    test::writeFile("./results/uml_old__new.csv", "\"app.Order\",\"app.Bill\",Class\n");

    csvDiff("./results/raw_old.csv", "./results/raw_new.csv", "./results/uml_old.csv", "./results/uml_new.csv",
            RAW_PAIRS, "./results/uml_old__new.csv");

    EXPECT_EQ(readFile(RAW_PAIRS + "_diff.csv"),
              "\n\n M1 inter M2 \n\n\"app.Coupon__\"\n\"app.Order__app.Bill\"\n"
              "\n\n M1 - M2 \n\n,\"app.Cart__app.Basket\"\n"
              "\n\n M2 - M1 \n\n,\"__app.Basket\"\n,\"app.Cart__\"\n");
}

}  // namespace
}  // namespace graphmat
