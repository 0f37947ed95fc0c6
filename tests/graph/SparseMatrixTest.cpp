// The sparse matrix: creation on access, lookups that create nothing, and
// addresses that stay valid.
#include <gtest/gtest.h>

#include "graph/Edge.h"
#include "graph/SparseMatrix.h"
#include "graph/stdafx.h"

namespace graphmat {
namespace {

TEST(SparseMatrix, ANewMatrixIsEmptyAndExistsCreatesNothing) {
    SparseMatrix<float> m;
    EXPECT_EQ(m.rows(), 0);
    EXPECT_EQ(m.count(), 0);
    EXPECT_FALSE(m.exists(0, 0));
    EXPECT_FALSE(m.exists(7, 3));
    EXPECT_EQ(m.rows(), 0);
    EXPECT_EQ(m.count(), 0);
    EXPECT_TRUE(m.mat.empty());
}

TEST(SparseMatrix, AReadCreatesAZeroCell) {
    SparseMatrix<float> m;
    EXPECT_EQ(m(3, 4), 0.0f);
    EXPECT_EQ(m.rows(), 1);
    EXPECT_EQ(m.count(), 1);
    EXPECT_TRUE(m.exists(3, 4));
    EXPECT_FALSE(m.exists(3, 5));
    EXPECT_FALSE(m.exists(4, 3));
    EXPECT_EQ(m.rows(), 1);
    m(3, 4) = 2.5f;
    EXPECT_EQ(m(3, 4), 2.5f);
    EXPECT_EQ(m.count(), 1);
}

TEST(SparseMatrix, CellsOfEveryInstanceStartAtZero) {
    SparseMatrix<bool> allowed;
    EXPECT_FALSE(allowed(1, 2));
    SparseMatrix<Edge*> adjacency;
    EXPECT_EQ(adjacency(0, 0), nullptr);
    SparseMatrix<cell> delta(3, 3);
    cell& c = delta(2, 1);
    EXPECT_EQ(c.x, 0);
    EXPECT_EQ(c.y, 0);
    EXPECT_EQ(c.delta, 0.0);
    EXPECT_EQ(c.delta_m, 0.0);
    EXPECT_EQ(c.layer, 0);
    EXPECT_EQ(c.tabu, 0);
    SparseMatrix<semarel> profile(2, 2);
    semarel& s = profile(1, 1);
    EXPECT_EQ(s.sum, 0);
    for (int k = 0; k < SEMAREL_SLOTS; ++k) EXPECT_EQ(s.count[k], 0);
}

TEST(SparseMatrix, AStoredValueKeepsItsAddress) {
    SparseMatrix<cell> m(10, 10);
    cell* first = &m(1, 1);
    first->tabu = 17;
    for (unsigned i = 0; i < 40; ++i)
        for (unsigned j = 0; j < 25; ++j) m(i * 7 + 2, j * 3 + 2).x = static_cast<int>(i);
    EXPECT_EQ(m.count(), 1001);
    EXPECT_EQ(&m(1, 1), first);
    EXPECT_EQ(first->tabu, 17);
    first->delta = -4.0;
    EXPECT_EQ(m(1, 1).delta, -4.0);
}

TEST(SparseMatrix, GetVectorFollowsRowsThenColumns) {
    SparseMatrix<float> m;
    m(1, 0) = 3.0f;
    m(0, 5) = 2.0f;
    m(0, 2) = 1.0f;
    auto values = m.getVector();
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(*values, (std::vector<float>{1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(m.count(), 3);
    EXPECT_EQ(m.rows(), 2);

    SparseMatrix<float> empty;
    auto none = empty.getVector();
    ASSERT_NE(none, nullptr);
    EXPECT_TRUE(none->empty());
}

TEST(SparseMatrix, GetVectorReturnsTheZeroCellsThatReadsLeftBehind) {
    SparseMatrix<Edge*> m;
    Edge e;
    m(0, 1) = &e;
    (void)m(0, 0);  // a creating read
    auto values = m.getVector();
    ASSERT_EQ(values->size(), 2u);
    EXPECT_EQ((*values)[0], nullptr);
    EXPECT_EQ((*values)[1], &e);
}

TEST(SparseMatrix, ReinitEmptiesTheMatrixAndRecordsTheSize) {
    SparseMatrix<float> m(2, 2);
    EXPECT_EQ(m.m, 2u);
    EXPECT_EQ(m.n, 2u);
    m(0, 0) = 1.0f;
    m(1, 1) = 1.0f;
    m.reinit(4, 5);
    EXPECT_EQ(m.rows(), 0);
    EXPECT_EQ(m.count(), 0);
    EXPECT_FALSE(m.exists(0, 0));
    EXPECT_FALSE(m.exists(1, 1));
    EXPECT_EQ(m.m, 4u);
    EXPECT_EQ(m.n, 5u);
}

TEST(SparseMatrix, KeysBeyondTheNominalSizeAreStoredLikeAnyOther) {
    SparseMatrix<float> m(2, 2);
    m(10, 10) = 1.5f;
    EXPECT_TRUE(m.exists(10, 10));
    EXPECT_EQ(m(10, 10), 1.5f);
    m(4000000000u, 4000000000u) = 2.5f;
    EXPECT_TRUE(m.exists(4000000000u, 4000000000u));
    EXPECT_EQ(m.count(), 2);
}

TEST(SparseMatrix, FindReadsWithoutCreating) {
    SparseMatrix<float> m;
    EXPECT_EQ(m.find(1, 1), nullptr);
    EXPECT_EQ(m.rows(), 0);
    m(1, 1) = 4.0f;
    float* stored = m.find(1, 1);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(*stored, 4.0f);
    EXPECT_EQ(stored, &m(1, 1));
    EXPECT_EQ(m.find(1, 2), nullptr);
    EXPECT_EQ(m.count(), 1);
}

}  // namespace
}  // namespace graphmat
