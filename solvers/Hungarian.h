// Minimum-cost assignment of the rows of a rectangular cost matrix to its
// columns: the matrix is padded with zero costs to a square and solved with
// the Munkres steps (starred and primed zeros, row and column covers). The
// scan orders fix which of several equal optima is returned, so the same
// input always yields the same assignment.
//
// Two engines run the same steps and prime and star the same cells in the
// same order, so the assignment does not depend on which one runs:
// - the square (HungarianSquare.cpp): the explicit l x l working values,
//   with each row's zeros and the covers as bit words;
// - the potentials (HungarianPotentials.cpp): row and column potentials
//   over the unchanged costs (value = cost - row potential - column
//   potential), kept exact in double arithmetic, with per-row minima that
//   spare every scan of the square. When the potentials cannot stay exact
//   the solve starts again on the square.
// Hungarian.cpp reads the costs, reports the negative and non-finite ones,
// chooses the engine and gives the result.
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

private:
    // The tests choose the engine and read which one ended a solve.
    friend class HungarianTestAccess;
    enum class Engine { Square, Potentials };
    // The engine a solve starts on: chosen from the costs (see
    // Hungarian.cpp), or set by a test.
    enum class Choice { ByCosts, Square, Potentials };
    Choice choice_ = Choice::ByCosts;
    Engine engine_ = Engine::Square;  // the engine that ended the last solve
    // Why the potentials handed the last solve to the square: their bound
    // failed after step 1 or after a step 6, or (cannot happen) they lost
    // the column of an uncovered zero or an uncovered row; None when they
    // ended it or did not run.
    enum class GiveUp { None, AfterStep1, AfterStep6, LostTrack };
    GiveUp giveUp_ = GiveUp::None;

    // Empties a buffer; one of up to kKeptCapacity elements keeps its
    // capacity for the next solve, a larger one is given back.
    static constexpr std::size_t kKeptCapacity = std::size_t{1} << 16;
    template <class Buffer>
    static void keepSmall(Buffer& buffer) {
        buffer.clear();
        if (buffer.capacity() > kKeptCapacity) buffer.shrink_to_fit();
    }

    // ---- reading the costs (Hungarian.cpp)
    double largest_ = 0;  // largest finite cost magnitude read
    std::vector<std::pair<int, int>> nonFinite_;  // (row, column) of the non-finite costs read
    template <class Fill>
    void load(int rows, int cols, Fill&& fill);
    template <class Fill>
    void readRow(Fill& fill, int i, int rows, int cols, double* r);
    double nonFinitePrice() const;
    bool squareFirst() const;

    // The cost store of the potentials: the caller's costs, rows x cols,
    // column by column; as floats (with the few costs that are not floats
    // exactly beside them), else as doubles (Hungarian.cpp).
    std::vector<float> costF_;
    std::vector<double> costD_;
    std::vector<std::pair<std::size_t, double>> exceptions_;  // (index, cost) of the non-float costs, sorted
    std::vector<double> rowBuf_;  // the rows being read
    bool useFloat_ = true;
    std::size_t fewExceptions_ = 0;  // exceptions_ beyond this many: all costs as doubles
    double maxAbs_ = 0;     // largest magnitude of a cost (0 for the padding)
    double exactLimit_ = 0;  // potentials stay exact while maxAbs_ + |u| + |v| stays below this
    void beginStore();
    void storeCost(std::size_t at, double v);
    void storeRows(const double* rows, std::size_t stride, int i0, int count);
    void finishStore();
    void releaseStore();
    double exceptionAt(std::size_t at) const;
    double costAt(const float* cost, std::size_t at) const;
    double costAt(const double* cost, std::size_t at) const;

    // Marks shared by both engines: per row the column of its star and of
    // its prime, per column the row of its star (-1 when none).
    std::vector<int> starCol;
    std::vector<int> starRow;
    std::vector<int> primeCol;
    std::vector<std::pair<int, int>> newStars_;  // convert_path's new stars, reused
    void resetMarks();
    void augment();
    void convert_path(int count);
    void finish();

    // ---- the square (HungarianSquare.cpp)
    std::vector<double> square_;               // the l x l working values, row by row
    std::vector<std::uint64_t> squareZeros_;   // per row, its zeros as bits
    std::vector<std::uint64_t> squareColCov_;  // the covered columns, as bits
    std::vector<char> squareOpen_;             // per column: 1 when uncovered
    std::vector<std::uint64_t> squareStarred_;  // the starred columns, as bits
    std::vector<int> squarePrimed_;            // the rows primed in the current phase
    void fillSquare();
    void runSquare();
    void releaseSquare();

    // ---- the potentials (HungarianPotentials.cpp)
    std::vector<double> rowPot_;  // value(i, j) = cost(i, j) - rowPot_[i] - colPot_[j]
    std::vector<double> colPot_;
    std::vector<std::vector<int>> rowZeros_;  // step 2: per row, the columns of its zeros, ascending
    std::vector<int> unstarred_;  // U: the columns without a star at the phase start, ascending
    std::vector<double> minU_;    // per row: least value over U
    std::vector<int> countU_;     // per row: columns of U that hold minU_
    std::vector<int> lastU_;      // per row: the last of them
    std::vector<double> minW_;    // per row: least value over the columns uncovered in the phase
    std::vector<int> lastW_;      // per row: the last column that holds minW_
    std::vector<int> openRows_;   // the rows not covered in the phase, ascending
    std::vector<std::uint64_t> zeroRows_;  // uncovered rows with an uncovered zero, as a bit set
    double potBound_ = 0;         // largest |rowPot_| + largest |colPot_| so far
    void measureGrain();
    bool runPotentials();
    template <class T>
    GiveUp runExact(const T* cost);
    template <class T>
    double value(const T* cost, int i, int j) const;
    template <class T>
    void scanUnstarred(const T* cost, int i);
    template <class T>
    void mergeColumn(const T* cost, int j);
    void markZeroRow(int i);
    void clearZeroRow(int i);
    int firstZeroRow() const;
};

// A cost of the store: a float, or (its float slot holds a NaN) one of the
// exceptions.
inline double Hungarian::costAt(const float* cost, std::size_t at) const {
    const float c = cost[at];
    return c == c ? static_cast<double>(c) : exceptionAt(at);
}

inline double Hungarian::costAt(const double* cost, std::size_t at) const { return cost[at]; }

}  // namespace graphmat
