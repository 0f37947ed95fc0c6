// Shortest augmenting paths with potentials: each row in turn is added to the
// assignment along the cheapest path of reduced costs from it to a free
// column; the potentials keep every reduced cost of the current assignment
// at 0 and every other one at 0 or more.
#include "solvers/IntegerAssignment.h"

#include <limits>

namespace graphmat {

void IntegerAssignment::solve(const std::vector<int>& cost, int rows, int cols) {
    constexpr long long kFar = std::numeric_limits<long long>::max() / 4;
    // Index 0 is the virtual column that a new row starts from.
    rowPotential_.assign(static_cast<std::size_t>(rows) + 1, 0);
    columnPotential_.assign(static_cast<std::size_t>(cols) + 1, 0);
    rowOfColumn_.assign(static_cast<std::size_t>(cols) + 1, 0);
    previous_.assign(static_cast<std::size_t>(cols) + 1, 0);
    for (int row = 1; row <= rows; ++row) {
        rowOfColumn_[0] = row;
        int column = 0;
        slack_.assign(static_cast<std::size_t>(cols) + 1, kFar);
        visited_.assign(static_cast<std::size_t>(cols) + 1, 0);
        do {
            visited_[column] = 1;
            const int r = rowOfColumn_[column];
            const int* line = cost.data() + static_cast<std::size_t>(r - 1) * cols;
            long long delta = kFar;
            int next = 0;
            for (int j = 1; j <= cols; ++j) {
                if (visited_[j]) continue;
                const long long reduced = line[j - 1] - rowPotential_[r] - columnPotential_[j];
                if (reduced < slack_[j]) {
                    slack_[j] = reduced;
                    previous_[j] = column;
                }
                if (slack_[j] < delta) {
                    delta = slack_[j];
                    next = j;
                }
            }
            for (int j = 0; j <= cols; ++j) {
                if (visited_[j]) {
                    rowPotential_[rowOfColumn_[j]] += delta;
                    columnPotential_[j] -= delta;
                } else {
                    slack_[j] -= delta;
                }
            }
            column = next;
        } while (rowOfColumn_[column] != 0);
        // Turn the path around: every column on it takes the row before it.
        do {
            const int before = previous_[column];
            rowOfColumn_[column] = rowOfColumn_[before];
            column = before;
        } while (column != 0);
    }
    columnOf.assign(static_cast<std::size_t>(rows), -1);
    for (int j = 1; j <= cols; ++j)
        if (rowOfColumn_[j] != 0) columnOf[rowOfColumn_[j] - 1] = j - 1;
}

}  // namespace graphmat
