// Minimum-cost assignment of the rows of a rectangular cost matrix to its
// columns: the matrix is padded with zero costs to a square and solved with
// the Munkres steps (starred and primed zeros, row and column covers). The
// scan orders fix which of several equal optima is returned, so the same
// input always yields the same assignment.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace graphmat {

class Hungarian {
public:
    int n = 0;  // rows of the caller's matrix
    int m = 0;  // columns of the caller's matrix
    int l = 0;  // side of the square working matrix: max(n, m)
    int k = 0;  // min(n, m)
    // The working matrix, l rows of l doubles (row pointers into one block).
    // After solve: 0.0 at each assigned cell inside the n x m region, -1.0
    // everywhere else.
    std::vector<double*> C;
    std::vector<int> R_cov;  // row cover flags
    std::vector<int> C_cov;  // column cover flags
    // Per row of the square: the assigned column, or -1 for a filler row or
    // a row assigned to a filler column.
    std::vector<int> results;
    std::vector<std::pair<int, int>> path;  // (row, column) cells of the augmenting path
    int Z0_r = -1;
    int Z0_c = -1;

    Hungarian() = default;
    Hungarian(const Hungarian&) = delete;
    Hungarian& operator=(const Hungarian&) = delete;
    virtual ~Hungarian() = default;

    // _M holds rows row pointers of cols doubles each; lower costs are
    // better. The caller's matrix is not written. A negative or non-finite
    // cell is reported on standard output; a non-finite one is then priced
    // 2 x side x (largest finite magnitude + 1), so the solve always ends.
    void solve(const double* const* _M, int rows, int cols);
    // The same on a vector of rows; cols is the longest row's length and
    // cells missing from a shorter row cost 0.
    void solve(const std::vector<std::vector<double>>& matrix);

    // Mark of cell (row, col): 0 none, 1 starred zero, 2 primed zero.
    int mark(int row, int col) const;
    // Writes the working state (covers, values, marks) to standard output.
    void printState() const;

private:
    std::vector<double> cells;        // the l x l working values, row-major
    std::vector<int> starCol;         // per row: column of its star, -1 when none
    std::vector<int> starRow;         // per column: row of its star, -1 when none
    std::vector<int> primeCol;        // per row: column of its prime, -1 when none
    std::vector<std::vector<int>> zeros;  // per row: columns of its exact zeros, ascending
    std::vector<std::pair<int, int>> newStars_;  // convert_path's new stars, reused

    int step0(const double* const* rowPtrs, const std::size_t* rowLens, int rows, int cols);
    int step1();
    int step2();
    int step3();
    int step4();
    int step5();
    int step6();
    void run(const double* const* rowPtrs, const std::size_t* rowLens, int rows, int cols);
    void find_a_zero(int& row, int& col) const;
    bool star_in_row(int row) const;
    void find_star_in_row(int row, int& col) const;
    void find_star_in_col(int c, int& r) const;
    void find_prime_in_row(int r, int& c) const;
    void convert_path(int count);
    void clear_covers();
    void erase_primes();
    void find_smallest(double& minval, bool& found) const;
    void collectZeros(int row);
};

}  // namespace graphmat
