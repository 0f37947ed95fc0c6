// Minimum-cost assignment of the rows of a rectangular cost matrix to its
// columns: the matrix is padded with zero costs to a square and solved with
// the Munkres steps (starred and primed zeros, row and column covers). The
// scan orders fix which of several equal optima is returned, so the same
// input always yields the same assignment.
//
// Three engines run the same steps and prime and star the same cells in the
// same order: small squares on an explicit working square with each row's
// zeros as bit words; larger ones on row and column potentials over the
// unchanged costs (value = cost - row potential - column potential), kept
// exact in double arithmetic, with per-row minima that spare every scan of
// the square; and, when the potentials cannot stay exact, on the explicit
// square.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace graphmat {

class Hungarian {
public:
    int n = 0;  // rows of the caller's matrix
    int m = 0;  // columns of the caller's matrix
    int l = 0;  // side of the square working matrix: max(n, m)
    int k = 0;  // min(n, m)
    std::vector<int> R_cov;  // row cover flags
    std::vector<int> C_cov;  // column cover flags
    // Per row of the square: the assigned column, or -1 for a filler row or
    // a row assigned to a filler column.
    std::vector<int> results;
    std::vector<std::pair<int, int>> path;  // (row, column) cells of the augmenting path
    int Z0_r = -1;
    int Z0_c = -1;
    // Problems whose square has at most this side run on the small engine.
    int smallSide = 256;

    Hungarian() = default;
    Hungarian(const Hungarian&) = delete;
    Hungarian& operator=(const Hungarian&) = delete;
    virtual ~Hungarian() = default;

    // _M holds rows row pointers of cols doubles each; lower costs are
    // better. The caller's matrix is not written. A negative or non-finite
    // cell is reported on standard output; a non-finite one is then priced
    // 2 x side x (largest finite magnitude + 1), so the solve always ends.
    // One object may solve any number of problems one after the other; its
    // buffers keep their capacity.
    void solve(const double* const* _M, int rows, int cols);
    // The same on a vector of rows; cols is the longest row's length and
    // cells missing from a shorter row cost 0.
    void solve(const std::vector<std::vector<double>>& matrix);
    // The same with the rows handed over one at a time, in order:
    // fillRow(row, out) writes the cols costs of the row into out. The
    // caller need not hold the whole matrix.
    using RowFiller = std::function<void(int row, double* out)>;
    void solve(int rows, int cols, const RowFiller& fillRow);

    // The result as a matrix over the square: 0.0 at each assigned cell
    // inside the rows x cols region, -1.0 everywhere else.
    double cell(int row, int col) const;
    // Mark of cell (row, col): 0 none, 1 starred zero, 2 primed zero.
    int mark(int row, int col) const;
    // Writes the state (covers, result cells, marks) to standard output.
    void printState() const;
    // The engine of the last solve: small problems run on an explicit
    // square with bit masks; larger ones on the potentials, or on an
    // explicit square when the potentials could not stay exact.
    enum class Engine { Small, Potentials, Square };
    Engine engine() const { return engine_; }

private:
    // The caller's costs, rows x cols, column by column: as floats (with the
    // few costs that are not floats exactly beside them), else as doubles.
    std::vector<float> costF_;
    std::vector<double> costD_;
    std::vector<std::pair<std::size_t, double>> exceptions_;  // (index, cost) of the non-float costs, sorted
    std::vector<double> rowBuf_;  // the rows being read
    bool useFloat_ = true;
    Engine engine_ = Engine::Small;
    std::vector<double> smallCells_;  // the small engine's square
    std::vector<std::uint64_t> smallZeros_;  // its rows' zeros, as bits
    std::vector<std::uint64_t> smallColCov_;  // its covered columns, as bits
    std::vector<char> smallOpen_;  // its uncovered columns
    std::vector<std::uint64_t> smallStarred_;  // its starred columns, as bits
    std::vector<int> smallPrimed_;  // the rows it primed in the current phase
    double maxAbs_ = 0;     // largest magnitude of a cost (0 for the padding)
    double exactLimit_ = 0;  // potentials stay exact while maxAbs_ + |u| + |v| stays below this

    std::vector<int> starCol;   // per row: column of its star, -1 when none
    std::vector<int> starRow;   // per column: row of its star, -1 when none
    std::vector<int> primeCol;  // per row: column of its prime, -1 when none
    std::vector<std::pair<int, int>> newStars_;  // convert_path's new stars, reused

    // Explicit engine: the l x l working values and per-row exact zeros.
    std::vector<double> cells;
    std::vector<double*> C;
    std::vector<std::vector<int>> zeros;  // per row: columns of its exact zeros, ascending

    // Potential engine (see Hungarian.cpp).
    std::vector<double> rowPot_;  // value(i, j) = cost(i, j) - rowPot_[i] - colPot_[j]
    std::vector<double> colPot_;
    std::vector<int> unstarred_;  // U: the columns without a star at the phase start, ascending
    std::vector<double> minU_;    // per row: least value over U
    std::vector<int> countU_;     // per row: columns of U that hold minU_
    std::vector<int> lastU_;      // per row: the last of them
    std::vector<double> minW_;    // per row: least value over the columns uncovered in the phase
    std::vector<int> lastW_;      // per row: the last column that holds minW_
    std::vector<std::uint64_t> zeroRows_;  // uncovered rows with an uncovered zero, as a bit set
    double potBound_ = 0;         // largest |rowPot_| + largest |colPot_| so far

    template <class Fill>
    void load(int rows, int cols, Fill&& fill);
    template <class Fill>
    void solveSmall(int rows, int cols, Fill&& fill);
    template <class T>
    bool runExact(const T* cost);
    template <class T>
    void fillExplicit(const T* cost);
    void runExplicit();
    void finish();
    void resetMarks();

    // Potential engine steps.
    template <class T>
    double value(const T* cost, int i, int j) const;
    template <class T>
    void scanUnstarred(const T* cost, int i);
    double exceptionAt(std::size_t at) const;
    double costAt(const float* cost, std::size_t at) const;
    double costAt(const double* cost, std::size_t at) const;
    template <class T>
    void mergeColumn(const T* cost, int j);
    void markZeroRow(int i);
    void clearZeroRow(int i);
    int firstZeroRow() const;

    // Explicit engine steps.
    int step1();
    int step2();
    int step3();
    int step4();
    int step5();
    int step6();
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
