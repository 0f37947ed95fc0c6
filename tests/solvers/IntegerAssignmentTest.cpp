// The whole-number assignment: its total is the least one (checked against
// every assignment on small matrices full of ties and of label penalties),
// every row gets a column of its own, and its buffers serve problems of any
// shape one after the other.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "BruteForceAssignment.h"
#include "graph/Random.h"
#include "solvers/IntegerAssignment.h"

namespace graphmat {
namespace {

TEST(IntegerAssignment, LeastTotalWithEveryRowOnAColumnOfItsOwn) {
    srand15(5);
    IntegerAssignment solver;  // one object for every problem
    for (int trial = 0; trial < 600; ++trial) {
        const int rows = 1 + rand15() % 6;
        const int cols = rows + rand15() % 3;
        // Costs 0 to 4 (many ties), sometimes a label penalty of 1000.
        const bool penalties = trial % 3 == 0;
        std::vector<int> cost(static_cast<std::size_t>(rows) * cols);
        std::vector<std::vector<double>> dense(rows, std::vector<double>(cols));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                int v = rand15() % 5;
                if (penalties && rand15() % 3 == 0) v = 1000;
                cost[static_cast<std::size_t>(r) * cols + c] = v;
                dense[r][c] = v;
            }
        solver.solve(cost, rows, cols);
        ASSERT_EQ(solver.columnOf.size(), static_cast<std::size_t>(rows));
        std::set<int> used;
        long long total = 0;
        for (int r = 0; r < rows; ++r) {
            const int c = solver.columnOf[r];
            ASSERT_GE(c, 0);
            ASSERT_LT(c, cols);
            used.insert(c);
            total += cost[static_cast<std::size_t>(r) * cols + c];
        }
        EXPECT_EQ(used.size(), static_cast<std::size_t>(rows)) << "trial " << trial;
        EXPECT_EQ(static_cast<double>(total), test::bruteForceAssignment(dense, rows, cols)) << "trial " << trial;
    }
}

TEST(IntegerAssignment, ASingleCellAndEqualCosts) {
    IntegerAssignment solver;
    solver.solve({7}, 1, 1);
    EXPECT_EQ(solver.columnOf, std::vector<int>{0});
    solver.solve(std::vector<int>(9, 2), 3, 3);
    EXPECT_EQ(std::set<int>(solver.columnOf.begin(), solver.columnOf.end()), (std::set<int>{0, 1, 2}));
}

}  // namespace
}  // namespace graphmat
