// Edges: defaults, accessors, copies and the label-count comparisons.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "graph/Edge.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

static_assert(!std::is_copy_constructible_v<Edge>, "an edge is copied only by duplicate");
static_assert(!std::is_copy_assignable_v<Edge>, "an edge is copied only by duplicate");
static_assert(!std::is_polymorphic_v<Edge>, "an edge has no virtual operation");

// Gives an edge the label counts that a graph keeps for its label.
void countLabel(Edge& e) {
    e.labels.fill(0);
    for (char ch : e.label)
        if (ch >= '0' && ch <= '9') e.labels[ch - '0'] += 1;
}

TEST(Edge, DefaultsOfANewEdge) {
    Edge e;
    EXPECT_EQ(e.number, -1);
    EXPECT_EQ(e.from, -1);
    EXPECT_EQ(e.to, -1);
    EXPECT_EQ(e.type, -1);
    EXPECT_EQ(e.label, "");
    for (int d = 0; d < MAX_LABELS; ++d) EXPECT_EQ(e.labels[d], 0);
    for (int i = 0; i < MAX_W; ++i) EXPECT_EQ(e.weight[i], -1.0f);
    EXPECT_EQ(e.label_weight, 0.0f);
}

TEST(Edge, ConstructorsAndAccessors) {
    const float wt[MAX_W] = {1.5f, 2.5f, 3.5f, 0.0f, 4.0f};
    Edge e(3, 7, "4", wt);
    EXPECT_EQ(e.getFrom(), 3);
    EXPECT_EQ(e.getTo(), 7);
    EXPECT_EQ(e.getLabel(), "4");
    EXPECT_EQ(e.weight[0], 1.5f);
    EXPECT_EQ(e.weight[2], 3.5f);
    EXPECT_EQ(e.weight[3], -1.0f);
    EXPECT_EQ(e.weight[4], -1.0f);
    EXPECT_EQ(e.type, -1);
    EXPECT_EQ(e.setNumber(12), 12);
    EXPECT_EQ(e.getNumber(), 12);
    EXPECT_EQ(e.setFrom(1), 1);
    EXPECT_EQ(e.setTo(2), 2);
    EXPECT_EQ(e.setLabel("99"), "99");
    EXPECT_EQ(e.from, 1);
    EXPECT_EQ(e.to, 2);
    EXPECT_EQ(e.label, "99");
    EXPECT_EQ(e.getWeight(), e.weight);
}

TEST(Edge, SetWeightStopsBeforeTheFirstZeroAndAddWeightStaysInRange) {
    Edge e;
    const float zeroFirst[3] = {0.0f, 4.0f, 5.0f};
    e.setWeight(zeroFirst);
    for (int i = 0; i < MAX_W; ++i) EXPECT_EQ(e.weight[i], -1.0f);
    EXPECT_EQ(e.addWeight(2.0f, 4), 2.0f);
    EXPECT_EQ(e.weight[4], 2.0f);
    e.addWeight(6.0f, 5);
    e.addWeight(6.0f, -3);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(e.weight[i], -1.0f);
}

TEST(Edge, CompareLooksAtTheCountsOfDigitsOneToNl) {
    Edge e13(0, 1, "13"), e31(2, 3, "31"), e1(0, 1, "1"), e10(0, 1, "10"), e33(0, 1, "33"), e3(0, 1, "3"),
        e19(0, 1, "19");
    for (Edge* e : {&e13, &e31, &e1, &e10, &e33, &e3, &e19}) countLabel(*e);
    EXPECT_EQ(e13.compare(nullptr, 9), -1);
    EXPECT_EQ(e13.compare(&e31, 9), 2);
    EXPECT_EQ(e1.compare(&e10, 9), 2);  // digit 0 is not compared
    EXPECT_EQ(e13.compare(&e33, 9), 1);
    EXPECT_EQ(e13.compare(&e33, 0), 2);
    EXPECT_EQ(e3.compare(&e33, 2), 2);  // digit 3 lies beyond nl
    EXPECT_EQ(e3.compare(&e33, 3), 1);
    EXPECT_EQ(e1.compare(&e19, 8), 2);
    EXPECT_EQ(e1.compare(&e19, 9), 1);
    EXPECT_EQ(e1.compare(&e19, 50), 1);  // reads no further than slot 9
}

TEST(Edge, GetLabel2WritesTheCountsOfDigitsOneToNl) {
    Edge e33(0, 1, "33"), e133(0, 1, "133"), e9(0, 1, "9");
    for (Edge* e : {&e33, &e133, &e9}) countLabel(*e);
    EXPECT_EQ(e33.getLabel2(3), "002");
    EXPECT_EQ(e133.getLabel2(3), "102");
    EXPECT_EQ(e33.getLabel2(0), "");
    EXPECT_EQ(e33.getLabel2(-4), "");
    EXPECT_EQ(e9.getLabel2(9), "000000001");
    EXPECT_EQ(e9.getLabel2(12), "000000001");
}

TEST(Edge, WithoutLabelCountsTheCountsAreZeros) {
    // An edge that never entered a graph.
    Edge a(0, 1, "13"), b(0, 1, "2");
    EXPECT_EQ(a.compare(&b, 9), 2);
    EXPECT_EQ(a.getLabel2(3), "000");
}

TEST(Edge, DuplicateIsAnIndependentCopy) {
    Edge e(4, 5, "44");
    countLabel(e);
    e.number = 8;
    e.type = 2;
    e.weight[0] = 3.0f;
    e.label_weight = 6.0f;
    auto copy = e.duplicate();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->number, 8);
    EXPECT_EQ(copy->from, 4);
    EXPECT_EQ(copy->to, 5);
    EXPECT_EQ(copy->type, 2);
    EXPECT_EQ(copy->label, "44");
    EXPECT_EQ(copy->labels[4], 2);
    EXPECT_EQ(copy->compare(&e, 9), 2);
    // Weights and the label weight are not copied.
    EXPECT_EQ(copy->weight[0], -1.0f);
    EXPECT_EQ(copy->label_weight, 0.0f);
    copy->labels[4] = 7;
    copy->label += "4";
    EXPECT_EQ(e.labels[4], 2);
    EXPECT_EQ(e.label, "44");
}

TEST(Edge, PrintWritesTheEndsAndTheLabel) {
    Edge e(3, 9, "19");
    test::CaptureStdout capture;
    e.print();
    EXPECT_EQ(capture.text(), "\n 3>9( 19 ); \n");
}

}  // namespace
}  // namespace graphmat
