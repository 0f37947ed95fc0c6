// The solver's public face and what both engines share: reading the costs
// (with the report of negative and non-finite cells and the price of a
// non-finite one, written once, so both engines see the same costs), the
// cost store of the potentials, the choice of the engine, the marks and the
// augmenting path of step 5, and the result.
#include "solvers/Hungarian.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <iostream>
#include <limits>

#include "graph/CapacityChecks.h"

namespace graphmat {

namespace {

// Squares up to this side are read straight into the explicit square (at
// most 512 KiB); larger problems into the cost store of the potentials.
constexpr int kSquareSide = 256;

// Whether a row holds only finite costs of at least 0 (nothing to report);
// if so, its largest cost is taken into largest.
bool plainRow(const double* r, int count, double& largest) {
    double most = largest;
    bool plain = true;
    for (int j = 0; j < count; ++j) {
        const double v = r[j];
        plain &= v >= 0 && v <= DBL_MAX;
        most = std::max(most, v);
    }
    if (plain) largest = most;
    return plain;
}

bool isFloat(double v) {
    if (!(std::fabs(v) <= FLT_MAX)) return false;
    return static_cast<double>(static_cast<float>(v)) == v;
}

}  // namespace

void Hungarian::solve(const double* const* _M, int rows, int cols) {
    // Without columns no row is read (the table may hold no pointers then).
    load(rows, cols, [&](int i, double* out) {
        if (cols > 0) std::copy(_M[i], _M[i] + cols, out);
    });
}

void Hungarian::solve(const std::vector<std::vector<double>>& matrix) {
    std::size_t cols = 0;
    for (const auto& row : matrix) cols = std::max(cols, row.size());
    load(static_cast<int>(matrix.size()), static_cast<int>(cols), [&](int i, double* out) {
        const auto& row = matrix[static_cast<std::size_t>(i)];
        std::copy(row.begin(), row.end(), out);
        std::fill(out + row.size(), out + cols, 0.0);
    });
}

void Hungarian::solve(int rows, int cols, const RowFiller& fillRow) { load(rows, cols, fillRow); }

// Reads row i through fill into r (m costs); reports its negative and
// non-finite costs, takes its finite magnitudes into largest_ and notes its
// non-finite costs, which hold 0 until every row is read and their price
// is known.
template <class Fill>
void Hungarian::readRow(Fill& fill, int i, int rows, int cols, double* r) {
    fill(i, r);
    if (plainRow(r, m, largest_)) return;
    for (int j = 0; j < m; ++j) {
        const double v = r[j];
        const bool finite = std::isfinite(v);
        if (v < 0 || !finite) std::cout << "\n" << rows << "," << cols << "/" << i << "," << j << " : " << v;
        if (finite) {
            largest_ = std::max(largest_, std::fabs(v));
        } else {
            nonFinite_.emplace_back(i, j);
            r[j] = 0.0;
        }
    }
}

// Costlier than any assignment of finite cells, so a non-finite cell is
// taken only when nothing else completes the assignment.
double Hungarian::nonFinitePrice() const {
    const double big = 2.0 * l * (largest_ + 1);
    return std::isfinite(big) ? big : std::numeric_limits<double>::max() / 4;
}

// Reads the costs, reports the negative and non-finite ones, chooses the
// engine and runs it.
template <class Fill>
void Hungarian::load(int rows, int cols, Fill&& fill) {
    n = std::max(rows, 0);
    m = std::max(cols, 0);
    l = std::max(n, m);
    k = std::min(n, m);
    largest_ = 0;
    nonFinite_.clear();
    giveUp_ = GiveUp::None;
    path.reserve(2 * static_cast<std::size_t>(l));
    const std::size_t side = static_cast<std::size_t>(l);
    if (l <= kSquareSide) {
        // Each row is read straight into the square; the padding is zero.
        square_.resize(side * side);
        for (int i = 0; i < n; ++i) {
            double* r = square_.data() + static_cast<std::size_t>(i) * side;
            readRow(fill, i, rows, cols, r);
            std::fill(r + m, r + side, 0.0);
        }
        std::fill(square_.begin() + static_cast<std::ptrdiff_t>(n) * l, square_.end(), 0.0);
        if (!nonFinite_.empty()) {
            const double price = nonFinitePrice();
            for (const auto& c : nonFinite_) square_[static_cast<std::size_t>(c.first) * side + c.second] = price;
        }
        bool solved = false;
        if (!squareFirst()) {
            beginStore();
            storeRows(square_.data(), side, 0, n);
            std::sort(exceptions_.begin(), exceptions_.end());
            solved = runPotentials();
        }
        if (!solved) runSquare();
        finish();
        return;
    }

    checkPairTableFits(n, m, sizeof(double));
    beginStore();
    // The costs are kept column by column (the searches walk columns), so
    // rows are read in blocks and written across.
    constexpr int kBlock = 16;
    rowBuf_.resize(static_cast<std::size_t>(m) * kBlock);
    for (int i0 = 0; i0 < n; i0 += kBlock) {
        const int rowsHere = std::min(kBlock, n - i0);
        for (int b = 0; b < rowsHere; ++b)
            readRow(fill, i0 + b, rows, cols, rowBuf_.data() + static_cast<std::size_t>(b) * m);
        storeRows(rowBuf_.data(), static_cast<std::size_t>(m), i0, rowsHere);
    }
    if (!nonFinite_.empty()) {
        const double price = nonFinitePrice();
        for (const auto& c : nonFinite_) storeCost(static_cast<std::size_t>(c.second) * n + c.first, price);
    }
    std::sort(exceptions_.begin(), exceptions_.end());
    if (choice_ == Choice::Square || !runPotentials()) {
        // The square replaces the store.
        fillSquare();
        releaseStore();
        runSquare();
        releaseSquare();
    }
    finish();
}

// Which engine a square of side up to kSquareSide starts on (larger
// problems start on the potentials: the square would take 8 x side x side
// bytes against the store's 4 x rows x cols, and on costs with few ties it
// is slower by more than the side grows).
//
// The speed is decided by how often step 6 runs: on the square each step 6
// updates every cell, on the potentials it moves 2 x side potentials, but
// the potentials pay an upkeep of per-row minima on every prime and star.
// Costs with many ties leave many zeros after each step 6, so the square
// needs few of them: on squares of side 96 to 256, costs of a few values
// (multiples of 0.5 up to 3, whole numbers up to 20 or 100) ran 1.15 to 3
// times faster on the square; costs with few ties (1 - similarity, whole
// numbers up to 10000, similarities with 1000 for the missing pairs) ran 3
// to 15 times faster on the potentials, from side 32 on. A cheap sign of
// ties is a row whose least cost is held by two or more cells: the square
// goes first when at least 3 rows in 8 of the caller's are such rows (the
// costs of a few values above had 3/8 to all such rows, those with few ties
// below 1/8; in between, the two engines were within about 2 times of each
// other). Up to side 8 the square was faster on every kind of costs (by up
// to 25%: the potentials' setup weighs more than the steps there).
//
// The rows are read only until the answer is known: as soon as 3 in 8 of
// all rows are tied, or too few rows are left to get there.
bool Hungarian::squareFirst() const {
    if (choice_ != Choice::ByCosts) return choice_ == Choice::Square;
    // Tiny squares; and one row, which the square places at once.
    if (l <= 8 || n <= 1) return true;
    int tied = 0;
    for (int i = 0; i < n; ++i) {
        if (8 * tied >= 3 * n) return true;
        if (8 * (tied + n - i) < 3 * n) return false;
        const double* r = square_.data() + static_cast<std::size_t>(i) * l;
        double least = r[0];
        int held = 1;
        for (int j = 1; j < m; ++j) {
            if (r[j] < least) {
                least = r[j];
                held = 1;
            } else if (r[j] == least) {
                ++held;
            }
        }
        if (held > 1) ++tied;
    }
    return 8 * tied >= 3 * n;
}

// ---------------------------------------------------------------------------
// The cost store.

void Hungarian::beginStore() {
    const std::size_t count = static_cast<std::size_t>(n) * static_cast<std::size_t>(m);
    useFloat_ = true;
    // Small buffers keep their capacity for the next solve; large ones are
    // given back.
    keepSmall(costD_);
    costF_.resize(count);
    exceptions_.clear();
    fewExceptions_ = count / 1024 + 256;
}

// A cost that is not a float exactly is kept beside the floats (its float
// slot holds a NaN) while such costs are few; past that, all costs are kept
// as doubles.
void Hungarian::storeCost(std::size_t at, double v) {
    if (useFloat_ && !isFloat(v) && exceptions_.size() >= fewExceptions_) {
        // The floats read so far convert back exactly.
        costD_.assign(costF_.begin(), costF_.end());
        for (const auto& e : exceptions_) costD_[e.first] = e.second;
        exceptions_.clear();
        keepSmall(costF_);
        useFloat_ = false;
    }
    if (!useFloat_) {
        costD_[at] = v;
    } else if (isFloat(v)) {
        costF_[at] = static_cast<float>(v);
    } else {
        costF_[at] = std::numeric_limits<float>::quiet_NaN();
        exceptions_.emplace_back(at, v);
    }
}

// Stores rows i0 .. i0 + count - 1, row b of them at rows + b x stride.
void Hungarian::storeRows(const double* rows, std::size_t stride, int i0, int count) {
    // Rows of floats (the usual case) go straight across.
    bool floats = useFloat_;
    for (int b = 0; b < count && floats; ++b)
        for (int j = 0; j < m && floats; ++j) floats = isFloat(rows[b * stride + j]);
    for (int j = 0; j < m; ++j) {
        const std::size_t base = static_cast<std::size_t>(j) * n + i0;
        if (floats) {
            float* out = costF_.data() + base;
            for (int b = 0; b < count; ++b) out[b] = static_cast<float>(rows[b * stride + j]);
        } else {
            for (int b = 0; b < count; ++b) storeCost(base + b, rows[b * stride + j]);
        }
    }
}

void Hungarian::releaseStore() {
    keepSmall(costF_);
    keepSmall(costD_);
    keepSmall(exceptions_);
}

double Hungarian::exceptionAt(std::size_t at) const {
    const auto it = std::lower_bound(exceptions_.begin(), exceptions_.end(), std::make_pair(at, -HUGE_VAL));
    return it->second;
}

// ---------------------------------------------------------------------------
// Marks and result.

void Hungarian::resetMarks() {
    R_cov.assign(l, 0);
    C_cov.assign(l, 0);
    starCol.assign(l, -1);
    starRow.assign(l, -1);
    primeCol.assign(l, -1);
    path.clear();
    Z0_r = Z0_c = -1;
}

// Step 5: the alternating path of primes and stars from (Z0_r, Z0_c), whose
// marks are swapped. Each engine clears its covers and primes itself.
void Hungarian::augment() {
    path.clear();
    path.emplace_back(Z0_r, Z0_c);
    while (starRow[path.back().second] >= 0) {
        const int r = starRow[path.back().second];
        path.emplace_back(r, path.back().second);
        path.emplace_back(r, primeCol[r]);
    }
    convert_path(static_cast<int>(path.size()) - 1);
}

// Stars on the path lose their mark; the other path cells become stars.
// The path's cells are distinct, so unstarring first gives the same marks
// as toggling them one by one.
void Hungarian::convert_path(int count) {
    std::vector<std::pair<int, int>>& newStars = newStars_;
    newStars.clear();
    for (int i = 0; i <= count; ++i) {
        const int r = path[i].first, c = path[i].second;
        if (starCol[r] == c) {
            starCol[r] = -1;
            if (starRow[c] == r) starRow[c] = -1;
        } else {
            newStars.emplace_back(r, c);
        }
    }
    for (const auto& s : newStars) {
        starCol[s.first] = s.second;
        starRow[s.second] = s.first;
    }
}

void Hungarian::finish() {
    results.assign(l, -1);
    for (int i = 0; i < n; ++i) {
        const int j = starCol[i];
        if (j >= 0 && j < m) results[i] = j;
    }
}

double Hungarian::cell(int row, int col) const {
    if (row < 0 || row >= n || col < 0 || col >= m || row >= static_cast<int>(results.size())) return -1.0;
    return results[row] == col ? 0.0 : -1.0;
}

int Hungarian::mark(int row, int col) const {
    if (row < 0 || row >= l || col < 0 || col >= l) return 0;
    if (starCol[row] == col) return 1;
    if (primeCol[row] == col) return 2;
    return 0;
}

void Hungarian::printState() const {
    std::cout << "\n";
    for (int i = 0; i < l; ++i) {
        if (i > 0) std::cout << "\n";
        for (int j = 0; j < l; ++j) {
            if (R_cov[i] == 1) std::cout << "-";
            if (C_cov[j] == 1) std::cout << "|";
            std::cout << cell(i, j) << "(" << mark(i, j) << ")\t";
        }
    }
    std::cout << "\n";
}

}  // namespace graphmat
