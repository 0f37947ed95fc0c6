// The least total of an assignment found by trying them all, for checking
// the assignment solvers on small matrices.
#pragma once

#include <algorithm>
#include <limits>
#include <numeric>
#include <vector>

namespace graphmat::test {

// Least total over all assignments of the rows x cols matrix padded with
// zeros to a square (all permutations): the smaller side is fully assigned.
inline double bruteForceAssignment(const std::vector<std::vector<double>>& a, int rows, int cols) {
    const int l = std::max(rows, cols);
    std::vector<int> perm(l);
    std::iota(perm.begin(), perm.end(), 0);
    double best = std::numeric_limits<double>::infinity();
    do {
        double sum = 0;
        for (int i = 0; i < rows; ++i)
            if (perm[i] < cols) sum += a[i][perm[i]];
        best = std::min(best, sum);
    } while (std::next_permutation(perm.begin(), perm.end()));
    return l == 0 ? 0 : best;
}

}  // namespace graphmat::test
