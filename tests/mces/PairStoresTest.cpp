// The matcher's sparse pair stores: the mostly-zero counts read like the
// dense table with margins they replace, and the candidate cells are made
// blank, stay where they are, and are found by row and column.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "graph/Random.h"
#include "mces/CandidateCells.h"
#include "mces/SparsePairCounts.h"

namespace graphmat {
namespace {

// Random writes (zeros, overwrites, columns out of order) against a dense
// model of (rows + 1) x (cols + 1) doubles whose last row and column hold
// the totals.
TEST(SparsePairCounts, ReadsLikeTheDenseTableWithMargins) {
    const int rows = 5, cols = 7;
    SparsePairCounts t;
    t.reset(rows, cols);
    std::vector<std::vector<double>> dense(rows + 1, std::vector<double>(cols + 1, 0.0));
    srand15(17);
    for (int step = 0; step < 400; ++step) {
        const int i = rand15() % rows, j = rand15() % cols;
        const int value = rand15() % 3 == 0 ? 0 : rand15() % 9 - 4;
        t.set(i, j, value);
        dense[i][j] = value;
        if (step % 7 == 0) {
            t.addToTotals(i, j, value);
            dense[i][cols] += value;
            dense[rows][j] += value;
        }
    }
    long nonZero = 0;
    for (int i = 0; i <= rows; ++i)
        for (int j = 0; j <= cols; ++j) {
            ASSERT_EQ(t(i, j), dense[i][j]) << i << "," << j;
            if (i < rows && j < cols) {
                ASSERT_EQ(t.count(i, j), static_cast<int>(dense[i][j]));
                nonZero += dense[i][j] != 0;
            }
        }
    EXPECT_EQ(t.nonZero(), nonZero);
    for (int i = 0; i < rows; ++i) {
        int last = -1;
        for (const SparsePairCounts::Entry& e : t.row(i)) {
            EXPECT_GT(e.col, last) << "a row keeps its entries in column order";
            EXPECT_NE(e.count, 0) << "a zero is not stored";
            last = e.col;
        }
    }
    t.reset(rows, cols);
    EXPECT_EQ(t.nonZero(), 0);
    EXPECT_EQ(t(0, cols), 0.0);
}

TEST(CandidateCells, CellsAreMadeBlankAndStayPut) {
    CandidateCells cells;
    cells.reset(40, 50);
    EXPECT_EQ(cells.find(3, 4), nullptr);
    cell& first = cells(3, 4);
    EXPECT_EQ(first.x, 3);
    EXPECT_EQ(first.y, 4);
    EXPECT_EQ(first.delta, -1.0);
    EXPECT_EQ(first.delta_m, 0.0);
    EXPECT_EQ(first.layer, -1);
    EXPECT_EQ(first.tabu, 0);
    EXPECT_EQ(first.prevInLayer, nullptr);
    EXPECT_EQ(first.nextInLayer, nullptr);
    first.delta_m = 7.5;
    // Many more cells: the first keeps its address and its fields.
    for (int i = 0; i < 40; ++i)
        for (int j = 0; j < 50; j += 3) cells(i, j);
    EXPECT_EQ(cells.find(3, 4), &first);
    EXPECT_EQ(&cells(3, 4), &first);
    EXPECT_EQ(first.delta_m, 7.5);
    EXPECT_EQ(cells.size(), 1 + 40 * 17);
}

TEST(CandidateCells, RowAndColumnVisitTheirOwnCells) {
    CandidateCells cells;
    cells.reset(6, 6);
    const std::vector<std::pair<int, int>> made{{0, 0}, {2, 3}, {2, 5}, {4, 3}, {5, 1}, {2, 1}, {1, 3}};
    for (const auto& [i, j] : made) cells(i, j);
    std::multiset<std::pair<int, int>> visited;
    cells.forRowAndColumn(2, 3, [&](cell& c) { visited.insert({c.x, c.y}); });
    // Row 2: (2,3), (2,5), (2,1); column 3: (2,3), (4,3), (1,3).
    const std::multiset<std::pair<int, int>> expected{{2, 3}, {2, 5}, {2, 1}, {2, 3}, {4, 3}, {1, 3}};
    EXPECT_EQ(visited, expected);
    visited.clear();
    cells.forRowAndColumn(3, 4, [&](cell& c) { visited.insert({c.x, c.y}); });
    EXPECT_TRUE(visited.empty());
}

}  // namespace
}  // namespace graphmat
