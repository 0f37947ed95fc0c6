#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "graph/Edge.h"
#include "graph/Vertex.h"
#include "matching/Cost.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::CaptureStdout;
using test::ScratchDir;
using test::writeFile;

// A vertex of the given type; members > 0 gives it a nodes set of that
// many members (a plain vertex has one), 0 leaves it without a set.
std::unique_ptr<Vertex> vertex(short type, int members, const std::string& label = "v") {
    auto v = std::make_unique<Vertex>();
    v->type = type;
    v->label = label;
    if (members > 0) {
        v->nodes = std::make_unique<NodeSet>();
        for (int i = 0; i < members; ++i) v->nodes->insert(i);
    }
    return v;
}

// An edge of the given type whose label text holds one digit per arc.
std::unique_ptr<Edge> edge(int type, const std::string& label) {
    auto e = std::make_unique<Edge>(0, 1, label);
    e->type = type;
    for (char ch : label)
        if (ch >= '0' && ch <= '9') ++e->labels[ch - '0'];
    return e;
}

TEST(CostSetup, DefaultModelHasTheDefaultWeightsAndMatrix) {
    Cost c;
    EXPECT_EQ(c._lw, 0);
    EXPECT_DOUBLE_EQ(c._aw, 1.0 / 3);
    EXPECT_DOUBLE_EQ(c._mw, 2.0 / 3);
    for (double w : {c.packageMatch, c.classMatch, c.methodMatch, c.attributeMatch, c.renameToken})
        EXPECT_EQ(w, 100);
    for (double w : {c.dropWeightN, c.dropWeightE, c.edgeWeight, c.asymmetry}) EXPECT_EQ(w, 0);
    for (double w : {c.packageInsertion, c.packageDeletion, c.classInsertion, c.classDeletion,
                     c.methodInsertion, c.methodDeletion, c.attributeInsertion,
                     c.attributeDeletion})
        EXPECT_EQ(w, 0);
    // The error parameters start defined, and at 0 (not the product 1 of
    // the synthetic-pair formulas).
    EXPECT_EQ(c.node_error, 0);
    EXPECT_EQ(c.lab_error, 0);
    EXPECT_EQ(c.str_error, 0);
    EXPECT_EQ(c._cnd, 2);
    EXPECT_EQ(c._cni, 2);
    EXPECT_EQ(c._cesi, -2);
    EXPECT_EQ(c._cess, 10);
    EXPECT_EQ(c._cesl, 5);
    EXPECT_EQ(c.M12, nullptr);
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j)
            EXPECT_EQ(c.edgeMatrix[i][j], (i != j && (i > 5 || j > 5)) ? 32767 : 0) << i << "," << j;
}

TEST(CostSetup, EveryConstructorStartsTheErrorParametersAtZero) {
    CaptureStdout capture;
    Cost fromInts(1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 100, 50, 100, 100);
    double nodeM[3] = {1, 2, 3};
    double row[4] = {0, 0, 0, 0};
    double* edgeM[4] = {row, row, row, row};
    double edgeD[4] = {1, 2, 3, 4};
    double edgeI[4] = {5, 6, 7, 8};
    Cost fromArrays(nodeM, edgeM, edgeD, edgeI);
    for (const Cost* c : {&fromInts, &fromArrays}) {
        EXPECT_EQ(c->node_error, 0);
        EXPECT_EQ(c->lab_error, 0);
        EXPECT_EQ(c->str_error, 0);
    }
    EXPECT_EQ(fromArrays.edgeInsertionMatrix[3], 8);
    EXPECT_EQ(fromArrays.nodeMatrix[2], 3);
}

TEST(CostSetup, IntegerConstructorReducesPenaltiesAndPrintsThem) {
    CaptureStdout capture;
    Cost c(1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 100, 50, 100, 100);
    EXPECT_EQ(capture.text(),
              "COST PARAMETERISED : cnd=2.000000 cni=3.000000 cns=1.000000 ced=4.000000 "
              "cei=5.000000 cess=7.000000 cesl=-3.000000 lw=0.000000 aw=0.000000 mw=0.000000\n");
    EXPECT_EQ(c._cesi, -9);
    EXPECT_EQ(c.dropWeightN, 1);
    EXPECT_EQ(c.dropWeightE, 0.5);
    EXPECT_EQ(c.asymmetry, 1);
    EXPECT_EQ(c.classDeletion, 50);
    EXPECT_EQ(c.bonus, 6 + 7 + 4 + 5);
    // s = 7, l = 6: a symmetric matrix with a zero diagonal.
    EXPECT_EQ(c.edgeMatrix2[4][3], 13);
    EXPECT_EQ(c.edgeMatrix2[3][4], 13);
    EXPECT_EQ(c.edgeMatrix2[7][0], 21);
    EXPECT_EQ(c.edgeMatrix2[0][7], 21);
    EXPECT_EQ(c.edgeMatrix2[6][1], 13);
    EXPECT_EQ(c.edgeMatrix2[5][5], 0);
}

TEST(CostSetup, DerivedCostsRoundAndTheLabelMatrixCeils) {
    struct Case {
        double dwn, ew, asy;
        double classInsertion, classDeletion, insertLabel1, substitute12;
    };
    const Case cases[] = {
        {1, 0, 1, 50, 50, 0, 0},
        {2, 0, 0, 0, 200, 0, 0},
        // 0.07 x 100 is 7.000000000000001 in double precision: ceil gives 8.
        {0, 1, 0.07, 0, 0, 8, 100},
        {0.333, 0.5, 0, 0, 33, 0, 50},
        {0.005, 0.001, 1, 0, 0, 1, 1},  // costs of 0.25 round down, the matrix ceils
    };
    for (const Case& k : cases) {
        Cost c;
        c.initMode1(k.dwn, 0, k.ew, k.asy, 0);
        EXPECT_EQ(c.classInsertion, k.classInsertion) << k.dwn << " " << k.asy;
        EXPECT_EQ(c.classDeletion, k.classDeletion) << k.dwn << " " << k.asy;
        EXPECT_EQ(c.edgeMatrix[0][1], k.insertLabel1) << k.ew << " " << k.asy;
        EXPECT_EQ(c.edgeMatrix[1][2], k.substitute12) << k.ew;
        EXPECT_EQ(c.edgeMatrix[6][1], 32767);
        EXPECT_EQ(c.edgeMatrix[0][9], 32767);
    }
}

TEST(CostVertexPrices, TypedClassDiagramPrices) {
    Cost c;
    c.initMode1(1, 0, 0, 1, 0);
    auto cls = vertex(1, 1);
    auto cls2 = vertex(1, 2);
    auto method = vertex(2, 1);
    auto bare = vertex(1, 0);  // no nodes set: no member factor
    auto pkg = vertex(0, 1);
    auto attr = vertex(3, 3);
    struct Case {
        const char* what;
        double price, expected;
    };
    const Case cases[] = {
        {"class deletion", c.cnd(3, cls.get()), 50},
        {"class insertion", c.cni(3, cls.get()), 50},
        {"block deletion", c.cnd(3, cls2.get()), 100},
        {"no set", c.cnd(3, bare.get()), 50},
        {"package", c.cnd(3, pkg.get()), 50},
        {"attribute block", c.cni(3, attr.get()), 150},
        {"null insertion", c.cni(3, nullptr), 0},
        {"mode 0", c.cnd(0, cls2.get()), 4},
        {"mode 1", c.cni(1, cls2.get()), 100},
        {"mode 2, product 0", c.cnd(2, cls.get()), 0},
        {"mode 5", c.cnd(5, cls.get()), 0},
    };
    for (const Case& k : cases) EXPECT_EQ(k.price, k.expected) << k.what;

    Cost noInsert;
    noInsert.initMode1(2, 0, 0, 0, 0);
    EXPECT_EQ(noInsert.cni(3, cls.get()), 0);
    EXPECT_EQ(noInsert.cnd(3, cls.get()), 200);
    EXPECT_EQ(noInsert.classDeletion, 200);
    EXPECT_EQ(method->type, 2);
}

TEST(CostVertexPrices, SubstitutionWithSimilarity) {
    Cost c;
    auto cls = vertex(1, 1);
    auto cls2 = vertex(1, 2);
    auto method = vertex(2, 1);
    auto t9 = vertex(9, 1);
    auto t9b = vertex(9, 2);
    auto bare9 = vertex(9, 0);
    struct Case {
        const char* what;
        const Vertex *a, *b;
        double expected;
    };
    const Case cases[] = {
        {"two plain classes", cls.get(), cls.get(), 25},
        {"block of two vs class", cls2.get(), cls.get(), 50},
        {"class vs method", cls.get(), method.get(), 32767},
        {"two type-9 vertices", t9.get(), t9.get(), 25},
        {"type-9 block vs type-9", t9b.get(), t9.get(), 32767},
        {"type-9 without sets", bare9.get(), bare9.get(), 25},
        {"null", nullptr, cls.get(), 0},
    };
    for (const Case& k : cases) EXPECT_EQ(c.raw_cns(3, k.a, k.b, 0.75f), k.expected) << k.what;
    EXPECT_EQ(c.raw_cns(1, cls.get(), cls.get(), 0.75f), 0.75);
    EXPECT_EQ(c.raw_cns(0, cls.get(), cls.get(), 0.75f), 0);
    EXPECT_EQ(c.raw_cns(7, cls.get(), method.get(), 0.75f), 0);

    c.initMode1(1, 0, 0, 1, 0);
    // Relative to deletion plus insertion.
    EXPECT_EQ(c.cns(3, cls.get(), cls.get(), 0.75f), 25 - (50 + 50));
    EXPECT_EQ(c.cns(0, cls.get(), cls.get(), 0.75f), 0 - (2 + 2));
    EXPECT_EQ(c.cns(1, cls.get(), cls.get(), 0.5f), 0.5 - (50 + 50));
    EXPECT_EQ(c.cns(3, nullptr, cls.get(), 0.5f), 0);
}

TEST(CostVertexPrices, SyntheticPairLabelPrices) {
    Cost c;
    auto three = vertex(1, 1, "3");
    auto seven = vertex(1, 1, "7");
    auto five = vertex(1, 1, "5");
    auto word = vertex(1, 1, "x");
    struct Case {
        double nodeError;
        const Vertex *a, *b;
        double expected;
    };
    const Case cases[] = {
        {-1, three.get(), seven.get(), 4},  {-1, five.get(), five.get(), -5},
        {0, five.get(), five.get(), 0},     {1000, five.get(), five.get(), 0},
        {2, five.get(), five.get(), -2},    {2, three.get(), seven.get(), 2},
        {-1, word.get(), seven.get(), 7},  // a label that is no number reads 0
    };
    for (const Case& k : cases) {
        c.initMode2(1, 1, k.nodeError);
        EXPECT_EQ(c.raw_cns(2, k.a, k.b, 0.5f), k.expected) << k.nodeError;
    }
    c.initMode2(1, 1, 1);  // error product 1
    EXPECT_EQ(c.raw_cns(2, three.get(), seven.get(), 0.5f), 2);
    EXPECT_EQ(c.raw_cns(2, five.get(), five.get(), 0.5f), 0);
    EXPECT_EQ(c.cnd(2, three.get()), 0.5);
    EXPECT_EQ(c.cni(2, three.get()), 0.5);
}

TEST(CostEdgePrices, TypedDeletionScalesByMatchedEndsAndBlocks) {
    Cost c;
    c.initMode1(0, 0.5, 1, 0, 0);
    auto e = edge(1, "11");
    struct Case {
        int mfrom, mto;
        double expected;
    };
    const Case cases[] = {
        {-1, -1, 100},  // both ends free: 2 x 100 x 0.5
        {1, -1, 150},   // one end matched: 2 x 100 x 0.75
        {1, 1, 150},
        {2, 3, 900},    // blocks of 2 and 3 members
        {2, -1, 300},   // a free end counts -1, the product's magnitude
        {-5, 3, 450},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(c.ced(3, e.get(), k.mfrom, k.mto), k.expected) << k.mfrom << "," << k.mto;
        EXPECT_EQ(c.cei(3, e.get(), k.mfrom, k.mto), 0) << "asymmetry 0 makes insertions free";
    }
    EXPECT_EQ(c.ced(3, nullptr, 1, 1), 0);
    EXPECT_EQ(c.ced(0, e.get(), 1, 1), 2);
    EXPECT_EQ(c.cei(0, e.get(), 1, 1), 2);
    EXPECT_EQ(c.ced(5, e.get(), 1, 1), 0);

    c.initMode1(0, 1, 1, 1, 0);
    // An insertion costs asymmetry times the deletion, both over asymmetry + 1.
    EXPECT_EQ(c.cei(3, e.get(), 1, 1), 100);
    EXPECT_EQ(c.ced(3, e.get(), 1, 1), 100);
    auto method = edge(2, "4");
    EXPECT_EQ(c.ced(3, method.get(), -1, -1), 50);
}

TEST(CostEdgePrices, ClassCostModeCompoundsTheDropWeightAtEachDigit) {
    Cost c;
    c.initMode1(0, 0.5, 1, 1, 0);
    auto e = edge(1, "12");
    // 50, 75, then the total is halved and rounded at every later digit:
    // 38, 19, 10, 5, 3, 2, 1.
    EXPECT_EQ(c.ced(1, e.get(), 1, 1), 1);
    EXPECT_EQ(c.cei(1, e.get(), 1, 1), 1);
    auto nine = edge(1, "9");
    EXPECT_EQ(c.ced(1, nine.get(), 1, 1), 16384);  // round(0.5 x 32767)
}

TEST(CostEdgePrices, SubstitutionPricesTheArcsNotShared) {
    Cost c;
    c.initMode1(0, 0, 1, 1, 0);
    auto a = edge(1, "12");
    auto b = edge(1, "21");
    auto only1 = edge(1, "1");
    auto other = edge(2, "12");
    auto unknown = edge(-1, "1");
    auto twice = edge(1, "1122");
    struct Case {
        const char* what;
        int mode;
        const Edge *e1, *e2;
        int nods1, nods2;
        double expected;
    };
    const Case cases[] = {
        {"identical counts, mode 3", 3, a.get(), b.get(), 1, 1, 0},
        {"identical counts, mode 1", 1, a.get(), b.get(), 1, 1, 0},
        {"known types differ", 3, a.get(), other.get(), 1, 1, 32767},
        {"unknown type is no mismatch", 3, unknown.get(), other.get(), 1, 1, 50},
        {"arc only in edge1", 3, a.get(), only1.get(), 1, 1, 50},
        {"arc only in edge2", 3, only1.get(), a.get(), 1, 1, 50},
        {"block factor of nods 4 is 2", 3, a.get(), only1.get(), 4, 1, 100},
        {"block factor of nods 5 is 3", 3, only1.get(), a.get(), 1, -5, 150},
        {"block factor of nods 0 is 1", 3, twice.get(), only1.get(), 0, 0, 150},
        {"null edge1", 3, nullptr, a.get(), 0, 1, 100},
        {"null edge2", 3, a.get(), nullptr, 1, 0, 100},
        {"mode 1 arcs one side", 1, twice.get(), only1.get(), 1, 1, 300},
        {"mode 0", 0, a.get(), only1.get(), 1, 1, 0},
        {"mode 5", 5, a.get(), only1.get(), 1, 1, 0},
    };
    for (const Case& k : cases)
        EXPECT_EQ(c.raw_ces(k.mode, k.e1, k.e2, k.nods1, k.nods2), k.expected) << k.what;
    // Relative to deletion plus insertion (ends counted as matched, so the
    // drop weight 0 halves to 0.5): 50 - (25 + 50).
    EXPECT_EQ(c.ces(3, a.get(), only1.get()), -25);
}

TEST(CostEdgePrices, SyntheticPairEdgePrices) {
    Cost c;
    auto twelve = edge(1, "12");
    auto three = edge(1, "3");
    struct Case {
        double s, l;
        const Edge *e1, *e2;
        double expected;
    };
    const Case cases[] = {
        {1, 1, twelve.get(), twelve.get(), 0},   {1, 1, twelve.get(), three.get(), 2},
        {1, 1, twelve.get(), nullptr, 1.5},      {-1, -2, twelve.get(), twelve.get(), -12},
        {-1, -2, twelve.get(), three.get(), 9},  {3, 4, twelve.get(), twelve.get(), -1},
        {3, 4, twelve.get(), nullptr, 3},        {3, 4, twelve.get(), three.get(), 4},
    };
    for (const Case& k : cases) {
        c.initMode2(k.s, k.l, 1);
        EXPECT_EQ(c.raw_ces(2, k.e1, k.e2, 1, 1), k.expected) << k.s << "," << k.l;
    }
    c.initMode2(1, 1, 1);
    EXPECT_EQ(c.ced(2, three.get(), 1, 1), 0.5);
    c.initMode2(1, 1, 0.5);
    EXPECT_EQ(c.cei(2, three.get(), 1, 1), 0);
}

// Match weight of a type code, written out for the check below.
double weightOf(const Cost& c, int type) {
    if ((type & 3) == 0) return c.packageMatch;
    const int r = type % 4;
    return r == 2 ? c.methodMatch : r == 3 ? c.attributeMatch : c.classMatch;
}

TEST(CostPrices, FollowTheWrittenOrderOfOperationsBitForBit) {
    // Weights that are not exact in binary, so that any other grouping of
    // the products and quotients gives other doubles.
    std::mt19937 gen(31337);
    std::uniform_real_distribution<double> weight(0, 3);
    for (int trial = 0; trial < 2000; ++trial) {
        const double dwn = weight(gen), dwe = weight(gen), ew = weight(gen), asy = weight(gen);
        Cost c;
        c.initMode3(100.0 / 3, 70.7, 100, 10.1, dwn, dwe, ew, asy);
        ASSERT_EQ(c.classInsertion, round(asy * 100 * dwn / (asy + 1)));
        ASSERT_EQ(c.attributeDeletion, round(100.0 / 3 * dwn / (asy + 1)));
        ASSERT_EQ(c.edgeMatrix[0][4], std::ceil(asy * 100 * ew));

        const int n1 = static_cast<int>(gen() % 4), n2 = static_cast<int>(gen() % 4);
        auto v1 = vertex(static_cast<short>(static_cast<int>(gen() % 21) - 10), n1);
        auto v2 = vertex(gen() % 2 ? v1->type : static_cast<short>(gen() % 12), n2);
        const double w1 = weightOf(c, v1->type);
        double del = w1 * dwn / (asy + 1), ins = w1 * asy * dwn / (asy + 1);
        if (n1 > 0) del = del * n1, ins = ins * n1;
        ASSERT_EQ(c.cnd(3, v1.get()), del);
        ASSERT_EQ(c.cni(3, v1.get()), ins);
        const float sim = std::uniform_real_distribution<float>(0, 1)(gen);
        const int members = std::max(n1, 1) + std::max(n2, 1);
        double sub = (1 - static_cast<double>(sim)) * (members - 1) * w1;
        if (v1->type != v2->type || (v1->type > 8 && members > 2)) sub = 32767;
        ASSERT_EQ(c.raw_cns(3, v1.get(), v2.get(), sim), sub);

        auto e1 = edge(static_cast<int>(gen() % 8) - 2, "");
        auto e2 = edge(gen() % 2 ? e1->type : static_cast<int>(gen() % 6), "");
        for (int k = 0; k < 10; ++k) {
            e1->labels[k] = static_cast<short>(gen() % 3);
            e2->labels[k] = static_cast<short>(gen() % 3);
        }
        const int mfrom = static_cast<int>(gen() % 6) - 2, mto = static_cast<int>(gen() % 6) - 2;
        double adjust = (mfrom < 0 && mto < 0) ? dwe : (dwe + 1) / 2;
        const int f = mfrom < 0 ? -1 : mfrom, t = mto < 0 ? -1 : mto;
        if (f > 1 || t > 1) adjust = adjust * std::abs(f * t);
        const double we = weightOf(c, e1->type);
        double edel = 0, eins = 0, rdel = 0, rins = 0;
        for (int k = 1; k <= 9; ++k) {
            edel += e1->labels[k] * we * ew / (asy + 1) * adjust;
            eins += e1->labels[k] * we * ew * asy / (asy + 1) * adjust;
            rdel = round(dwe * (rdel + e1->labels[k] * c.edgeMatrix[k][0]));
            rins = round(dwe * (rins + e1->labels[k] * c.edgeMatrix[0][k]));
        }
        ASSERT_EQ(c.ced(3, e1.get(), mfrom, mto), edel) << trial;
        ASSERT_EQ(c.cei(3, e1.get(), mfrom, mto), eins) << trial;
        ASSERT_EQ(c.ced(1, e1.get(), mfrom, mto), rdel) << trial;
        ASSERT_EQ(c.cei(1, e1.get(), mfrom, mto), rins) << trial;

        const int nods1 = static_cast<int>(gen() % 12) - 3, nods2 = static_cast<int>(gen() % 12) - 3;
        const double f1 = std::max((std::abs(nods1) - 1) / 2 + 1, 1);
        const double f2 = std::max((std::abs(nods2) - 1) / 2 + 1, 1);
        double typed = 0, classCosts = 0;
        for (int k = 1; k <= 9; ++k) {
            const int shared = std::min<int>(e1->labels[k], e2->labels[k]);
            const int c1 = e1->labels[k] - shared, c2 = e2->labels[k] - shared;
            typed += (c1 * f1 + asy * c2 * f2) * we * ew / (asy + 1);
            classCosts += c1 * c.edgeMatrix[k][0] + c2 * c.edgeMatrix[0][k];
        }
        if (e1->type != -1 && e2->type != -1 && e1->type != e2->type) typed = 32767;
        ASSERT_EQ(c.raw_ces(3, e1.get(), e2.get(), nods1, nods2), typed) << trial;
        ASSERT_EQ(c.raw_ces(1, e1.get(), e2.get(), nods1, nods2), classCosts) << trial;
    }
}

// The typed edge substitution skips the digits neither edge keeps only
// where they add an exact zero: with an asymmetry of -1 or a weight that is
// not finite every digit is summed as written (not-a-number included).
TEST(CostPrices, TypedEdgeSubstitutionSkipsOnlyExactZeros) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Weights {
        double edgeWeight, asymmetry, classMatch;
    };
    for (const Weights& w : {Weights{1.3, 0.7, 100}, Weights{1.3, -1, 100}, Weights{inf, 0.7, 100},
                             Weights{1.3, inf, 100}, Weights{1.3, 0.7, inf}, Weights{-inf, 2, 100}}) {
        Cost c;
        c.initMode3(1, 1, w.classMatch, 1, 1, 1, w.edgeWeight, w.asymmetry);
        auto e1 = edge(1, "");
        auto e2 = edge(1, "");
        e1->labels[2] = 2;
        e2->labels[2] = 1;
        e2->labels[5] = 1;
        const double we = weightOf(c, 1);
        double expected = 0;
        for (int k = 1; k <= 9; ++k) {
            const int shared = std::min<int>(e1->labels[k], e2->labels[k]);
            const int c1 = e1->labels[k] - shared, c2 = e2->labels[k] - shared;
            expected += (c1 * 1.0 + c.asymmetry * c2 * 1.0) * we * c.edgeWeight / (c.asymmetry + 1);
        }
        const double got = c.raw_ces(3, e1.get(), e2.get(), 1, 1);
        if (std::isnan(expected)) {
            EXPECT_TRUE(std::isnan(got)) << w.edgeWeight << " " << w.asymmetry << " " << w.classMatch;
        } else {
            EXPECT_EQ(got, expected) << w.edgeWeight << " " << w.asymmetry << " " << w.classMatch;
        }
    }
}

TEST(CostEstimate, HistogramEstimateCountsDigitsThreeAndNineTwice) {
    Cost c;
    c.initMode1(0, 0, 1, 0, 0);
    Vertex v1, v2;
    auto out1 = edge(1, "1");
    auto out3 = edge(1, "3");
    auto shared = edge(2, "4");
    auto shared2 = edge(2, "4");
    auto odd = edge(7, "1");  // type outside the table: not counted
    v1.out = {out1.get(), out3.get(), odd.get()};
    v1.in = {shared.get()};
    v2.in = {shared2.get()};
    // Only node1 has the label-1 and label-3 arcs: 100 + 2 x 100.
    EXPECT_EQ(c.estimateO(0, &v1, &v2), 300);
    EXPECT_EQ(c.estimateO(0, &v1, nullptr), 0);
    c.initMode1(0, 1, 1, 0, 0);
    // With a full edge drop weight every arc of node1 is credited back.
    EXPECT_EQ(c.estimateO(0, &v1, &v2), 0 - 100 * 1);
}

TEST(CostEditPath, PricesTheLogLineByLine) {
    ScratchDir dir;
    Cost c;
    writeFile("path.log", "n,3,-1,A\nn,4,7,B,C\nnd,1\n");
    {
        CaptureStdout capture;
        EXPECT_EQ(c.cost(0, "path.log"), 6);
        EXPECT_EQ(capture.text(), "path.log / Path Cost = 6\n");
    }
    struct Case {
        const char* line;
        double added;
    };
    const Case cases[] = {
        {"nd,3", 0},       {"esi,12", 0},      {"i,2", 4},        {"d,1,2,7", 1},
        {"a,1,3,4", 1},    {"m,4,,3,5", 12},   {"m,,4,3,5", 12},  {"m,4,5,3,5", 7},
        {"n,1,-1,X", 2},   {"n,1,2,X,Y", 4},   {"", 0},           {"n", 0},
        {"n,1", 0},        {"m,4", 0},         {"i", 0},          {"i,x", 0},
        {"zz,1,2", 0},     {"n,1,2,X,Y\r", 4},
    };
    for (const Case& k : cases) {
        writeFile("one.log", std::string(k.line) + "\n");
        CaptureStdout capture;
        EXPECT_EQ(c.cost(0, "one.log"), k.added) << "'" << k.line << "'";
    }
    CaptureStdout capture;
    EXPECT_EQ(c.cost(0, "missing.log"), 0);
    EXPECT_EQ(capture.text(), "missing.log / Path Cost = 0\n");
}

TEST(CostModes, UnknownModePricesEverythingZero) {
    Cost c;
    c.initMode1(1, 1, 1, 1, 0);
    auto v = vertex(1, 2);
    auto e = edge(1, "123");
    for (int mode : {-1, 4, 5}) {
        EXPECT_EQ(c.cnd(mode, v.get()), 0);
        EXPECT_EQ(c.cni(mode, v.get()), 0);
        EXPECT_EQ(c.raw_cns(mode, v.get(), v.get(), 0.f), 0);
        EXPECT_EQ(c.cns(mode, v.get(), v.get(), 0.f), 0);
        EXPECT_EQ(c.ced(mode, e.get(), 1, 1), 0);
        EXPECT_EQ(c.cei(mode, e.get(), 1, 1), 0);
        EXPECT_EQ(c.raw_ces(mode, e.get(), nullptr, 1, 1), 0);
        EXPECT_EQ(c.ces(mode, e.get(), nullptr), 0);
    }
}

TEST(CostModes, AsymmetryMinusOneDoesNotCrash) {
    Cost c;
    c.initMode1(1, 1, 1, -1, 0);
    auto v = vertex(1, 1);
    auto e = edge(1, "1");
    (void)c.cnd(3, v.get());
    (void)c.cei(3, e.get(), -1, -1);
    (void)c.raw_ces(3, e.get(), nullptr, 1, 1);
    (void)c.estimateO(0, v.get(), v.get());
    SUCCEED();
}

}  // namespace
}  // namespace graphmat
