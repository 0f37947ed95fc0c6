// The least total cost of an assignment of small whole-number costs, by
// shortest augmenting paths over row and column potentials (every sum is a
// whole number, so the arithmetic is exact). Callers that need only the
// optimum, not which of several tied assignments the step-by-step solver
// would pick, use it on the many small problems of neighbourhood matching.
#pragma once

#include <vector>

namespace graphmat {

class IntegerAssignment {
public:
    // Assigns each of the `rows` rows of the row-major `cost` matrix (rows x
    // cols, rows <= cols) to its own column at the least total cost; then
    // columnOf[r] is the column of row r. Buffers are kept for the next call.
    void solve(const std::vector<int>& cost, int rows, int cols);

    std::vector<int> columnOf;

private:
    std::vector<long long> rowPotential_, columnPotential_, slack_;
    std::vector<int> rowOfColumn_, previous_;
    std::vector<char> visited_;
};

}  // namespace graphmat
