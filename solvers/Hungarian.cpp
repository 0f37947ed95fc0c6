#include "solvers/Hungarian.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <iostream>
#include <limits>

#include "graph/platform.h"
namespace graphmat {

namespace {

// The exponent of the lowest set bit of a finite, non-zero double: v is a
// multiple of 2 to that power.
int lowestBitExponent(double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    if (biased != 0) mantissa |= std::uint64_t{1} << 52;
    const int trailing = __builtin_ctzll(mantissa);
    return (biased == 0 ? -1074 : biased - 1075) + trailing;
}

// Buffers up to this many elements are kept from one solve to the next.
constexpr std::size_t kKeptCapacity = std::size_t{1} << 16;

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

// Reads the costs, reports the negative and non-finite ones, decides the
// engine and runs it.
template <class Fill>
void Hungarian::load(int rows, int cols, Fill&& fill) {
    n = std::max(rows, 0);
    m = std::max(cols, 0);
    l = std::max(n, m);
    k = std::min(n, m);
    if (l <= smallSide) {
        solveSmall(rows, cols, fill);
        finish();
        return;
    }
    checkPairTableFits(n, m, sizeof(double));
    const std::size_t count = static_cast<std::size_t>(n) * static_cast<std::size_t>(m);
    useFloat_ = true;
    // Small buffers keep their capacity for the next solve; large ones are
    // given back.
    costD_.clear();
    if (costD_.capacity() > kKeptCapacity) costD_.shrink_to_fit();
    costF_.resize(count);
    std::vector<double>& row = rowBuf_;
    row.resize(static_cast<std::size_t>(m) * 16);
    std::vector<std::size_t> nonFinite;
    double largest = 0;
    exceptions_.clear();
    // A cost that is not a float exactly is kept beside the floats (its
    // float slot holds a NaN) while such costs are few; past that, all
    // costs are kept as doubles.
    const std::size_t fewExceptions = count / 1024 + 256;
    auto store = [&](std::size_t at, double v) {
        if (useFloat_ && !isFloat(v) && exceptions_.size() >= fewExceptions) {
            // The floats read so far convert back exactly.
            costD_.assign(costF_.begin(), costF_.end());
            for (const auto& e : exceptions_) costD_[e.first] = e.second;
            exceptions_.clear();
            costF_.clear();
            if (costF_.capacity() > kKeptCapacity) costF_.shrink_to_fit();
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
    };
    // The costs are kept column by column (the searches walk columns), so
    // rows are read in blocks and written across.
    constexpr int kBlock = 16;
    for (int i0 = 0; i0 < n; i0 += kBlock) {
        const int rowsHere = std::min(kBlock, n - i0);
        for (int b = 0; b < rowsHere; ++b) {
            const int i = i0 + b;
            double* r = row.data() + static_cast<std::size_t>(b) * m;
            fill(i, r);
            if (plainRow(r, m, largest)) continue;
            for (int j = 0; j < m; ++j) {
                const double v = r[j];
                const bool finite = std::isfinite(v);
                if (v < 0 || !finite) std::cout << "\n" << rows << "," << cols << "/" << i << "," << j << " : " << v;
                if (finite) {
                    largest = std::max(largest, std::fabs(v));
                } else {
                    nonFinite.push_back(static_cast<std::size_t>(j) * n + i);
                    r[j] = 0.0;
                }
            }
        }
        // A block of floats (the usual case) goes straight across.
        bool floats = useFloat_;
        for (std::size_t at = 0, end = static_cast<std::size_t>(rowsHere) * m; at < end && floats; ++at)
            floats = isFloat(row[at]);
        for (int j = 0; j < m; ++j) {
            const std::size_t base = static_cast<std::size_t>(j) * n + i0;
            if (floats) {
                float* out = costF_.data() + base;
                for (int b = 0; b < rowsHere; ++b) out[b] = static_cast<float>(row[static_cast<std::size_t>(b) * m + j]);
            } else {
                for (int b = 0; b < rowsHere; ++b) store(base + b, row[static_cast<std::size_t>(b) * m + j]);
            }
        }
    }
    if (!nonFinite.empty()) {
        // Costlier than any assignment of finite cells, so such a cell is
        // taken only when nothing else completes the assignment.
        double big = 2.0 * l * (largest + 1);
        if (!std::isfinite(big)) big = std::numeric_limits<double>::max() / 4;
        for (std::size_t at : nonFinite) store(at, big);
    }
    std::sort(exceptions_.begin(), exceptions_.end());

    // The finest power of two that divides every cost, and the largest
    // magnitude: sums of such multiples are exact while they stay below
    // 2^53 times that power.
    int grain = INT_MAX;
    double maxAbs = 0;
    double lastNoted = 0;  // a value met again changes neither figure
    auto note = [&](double v) {
        if (v == 0 || v == lastNoted) return;
        lastNoted = v;
        maxAbs = std::max(maxAbs, std::fabs(v));
        grain = std::min(grain, lowestBitExponent(v));
    };
    if (useFloat_) {
        for (float v : costF_)
            if (v == v) note(v);
        for (const auto& e : exceptions_) note(e.second);
    } else {
        for (double v : costD_) note(v);
    }
    maxAbs_ = maxAbs;
    // A margin of 4 keeps every sum of two bounded terms exact as well.
    exactLimit_ = grain == INT_MAX ? std::numeric_limits<double>::infinity() : std::ldexp(1.0, 51 + grain);

    R_cov.assign(l, 0);
    C_cov.assign(l, 0);
    path.clear();
    path.reserve(2 * static_cast<std::size_t>(l));
    resetMarks();
    const bool exact = useFloat_ ? runExact(costF_.data()) : runExact(costD_.data());
    engine_ = exact ? Engine::Potentials : Engine::Square;
    if (!exact) {
        resetMarks();
        if (useFloat_)
            fillExplicit(costF_.data());
        else
            fillExplicit(costD_.data());
        runExplicit();
    }
    finish();
}

// A small problem runs the steps on an explicit square in one buffer, with
// each row's zeros and the covers as bit masks.
template <class Fill>
void Hungarian::solveSmall(int rows, int cols, Fill&& fill) {
    engine_ = Engine::Small;
    const int side = l;
    std::vector<double>& a = smallCells_;
    a.resize(static_cast<std::size_t>(side) * side);
    double largest = 0;
    std::vector<int> nonFinite;
    // Each row is read straight into the square; the padding is zero.
    for (int i = 0; i < n; ++i) {
        double* r = a.data() + static_cast<std::size_t>(i) * side;
        fill(i, r);
        std::fill(r + m, r + side, 0.0);
        if (plainRow(r, m, largest)) continue;
        for (int j = 0; j < m; ++j) {
            const double v = r[j];
            const bool finite = std::isfinite(v);
            if (v < 0 || !finite) std::cout << "\n" << rows << "," << cols << "/" << i << "," << j << " : " << v;
            if (finite)
                largest = std::max(largest, std::fabs(v));
            else
                nonFinite.push_back(i * side + j);
        }
    }
    std::fill(a.begin() + static_cast<std::ptrdiff_t>(n) * side, a.end(), 0.0);
    if (!nonFinite.empty()) {
        double big = 2.0 * side * (largest + 1);
        if (!std::isfinite(big)) big = std::numeric_limits<double>::max() / 4;
        for (int at : nonFinite) a[static_cast<std::size_t>(at)] = big;
    }

    R_cov.assign(side, 0);
    C_cov.assign(side, 0);
    path.clear();
    resetMarks();
    if (n == 1) {
        // One row over m columns: step 1 leaves its zeros where it holds its
        // smallest cost, step 2 stars the first of them and gives each
        // filler row the first column still free, and step 3 finds every
        // column covered.
        double minval = a[0];
        for (int j = 1; j < side; ++j)
            if (a[static_cast<std::size_t>(j)] < minval) minval = a[static_cast<std::size_t>(j)];
        int first = 0;
        while (a[static_cast<std::size_t>(first)] - minval != 0) ++first;
        starCol[0] = first;
        starRow[first] = 0;
        for (int i = 1, j = 0; i < side; ++i, ++j) {
            if (j == first) ++j;
            starCol[i] = j;
            starRow[j] = i;
        }
        std::fill(C_cov.begin(), C_cov.end(), 1);
        return;
    }
    // Per row, its zeros as bits over words of 64 columns; the covered
    // columns likewise.
    const int words = (side + 63) / 64;
    std::vector<std::uint64_t>& zero = smallZeros_;
    zero.assign(static_cast<std::size_t>(side) * words, 0);
    std::vector<std::uint64_t>& colCov = smallColCov_;
    colCov.assign(static_cast<std::size_t>(words), 0);
    std::vector<char>& open = smallOpen_;  // per column: 1 when uncovered
    auto rowZeros = [&](int i) {
        const double* r = a.data() + static_cast<std::size_t>(i) * side;
        std::uint64_t* z = zero.data() + static_cast<std::size_t>(i) * words;
        for (int w = 0; w < words; ++w) {
            std::uint64_t bits = 0;
            const int end = std::min(64, side - 64 * w);
            for (int b = 0; b < end; ++b)
                if (r[64 * w + b] == 0.0) bits |= std::uint64_t{1} << b;
            z[w] = bits;
        }
    };
    // Step 1.
    for (int i = 0; i < side; ++i) {
        double* r = a.data() + static_cast<std::size_t>(i) * side;
        double minval = r[0];
        for (int j = 1; j < side; ++j)
            if (r[j] < minval) minval = r[j];
        for (int j = 0; j < side; ++j) r[j] -= minval;
        rowZeros(i);
    }
    // Step 2. The starred columns and their count are kept from here on
    // (an augmenting path stars one more column and keeps the others).
    std::vector<std::uint64_t>& starred = smallStarred_;
    starred.assign(static_cast<std::size_t>(words), 0);
    int stars = 0;
    for (int i = 0; i < side; ++i) {
        const std::uint64_t* z = zero.data() + static_cast<std::size_t>(i) * words;
        for (int w = 0; w < words; ++w) {
            const std::uint64_t free = z[w] & ~starred[w];
            if (free == 0) continue;
            const int j = 64 * w + __builtin_ctzll(free);
            starCol[i] = j;
            starRow[j] = i;
            starred[w] |= std::uint64_t{1} << (j & 63);
            ++stars;
            break;
        }
    }
    std::vector<int>& primed = smallPrimed_;  // the rows primed in this phase
    primed.clear();
    while (true) {
        // Step 3: the starred columns are covered.
        colCov = starred;
        if (stars >= side) break;
        // Steps 4 and 6.
        bool ended = false;
        while (true) {
            int row = -1, col = -1;
            for (int i = 0; i < side && row < 0; ++i) {
                if (R_cov[i] != 0) continue;
                const std::uint64_t* z = zero.data() + static_cast<std::size_t>(i) * words;
                for (int w = words - 1; w >= 0; --w) {
                    const std::uint64_t bits = z[w] & ~colCov[w];
                    if (bits != 0) {
                        row = i;
                        col = 64 * w + 63 - __builtin_clzll(bits);
                        break;
                    }
                }
            }
            if (row < 0) {
                // Step 6.
                open.resize(static_cast<std::size_t>(side));
                for (int j = 0; j < side; ++j) open[j] = ((colCov[j >> 6] >> (j & 63)) & 1) == 0;
                double minval = 0;
                bool found = false;
                for (int i = 0; i < side; ++i) {
                    if (R_cov[i] != 0) continue;
                    const double* r = a.data() + static_cast<std::size_t>(i) * side;
                    for (int j = 0; j < side; ++j) {
                        if (!open[j]) continue;
                        if (!found || r[j] < minval) {
                            minval = r[j];
                            found = true;
                        }
                    }
                }
                if (!found || !std::isfinite(minval)) {
                    ended = true;
                    break;
                }
                for (int i = 0; i < side; ++i) {
                    double* r = a.data() + static_cast<std::size_t>(i) * side;
                    if (R_cov[i] != 0) {
                        for (int j = 0; j < side; ++j) {
                            r[j] += minval;
                            if (open[j]) r[j] -= minval;
                        }
                    } else {
                        for (int j = 0; j < side; ++j)
                            if (open[j]) r[j] -= minval;
                    }
                    rowZeros(i);
                }
                continue;
            }
            primeCol[row] = col;
            primed.push_back(row);
            if (starCol[row] < 0) {
                Z0_r = row;
                Z0_c = col;
                break;
            }
            R_cov[row] = 1;
            colCov[starCol[row] >> 6] &= ~(std::uint64_t{1} << (starCol[row] & 63));
        }
        if (ended) break;
        // Step 5, with only the primed rows (the covered ones among them)
        // to clear.
        path.clear();
        path.emplace_back(Z0_r, Z0_c);
        while (starRow[path.back().second] >= 0) {
            const int r = starRow[path.back().second];
            path.emplace_back(r, path.back().second);
            path.emplace_back(r, primeCol[r]);
        }
        const int gained = path.back().second;
        convert_path(static_cast<int>(path.size()) - 1);
        starred[gained >> 6] |= std::uint64_t{1} << (gained & 63);
        ++stars;
        for (int r : primed) {
            primeCol[r] = -1;
            R_cov[r] = 0;
        }
        primed.clear();
    }
    for (int j = 0; j < side; ++j) C_cov[j] = static_cast<int>((colCov[j >> 6] >> (j & 63)) & 1);
}

void Hungarian::resetMarks() {
    std::fill(R_cov.begin(), R_cov.end(), 0);
    std::fill(C_cov.begin(), C_cov.end(), 0);
    starCol.assign(l, -1);
    starRow.assign(l, -1);
    primeCol.assign(l, -1);
    Z0_r = Z0_c = -1;
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

// ---------------------------------------------------------------------------
// Potential engine. Every value is cost - rowPot_ - colPot_, computed
// exactly (see load), so it equals the value the explicit steps would hold
// in that cell. Step 6 moves the potentials instead of the cells: covered
// rows get rowPot_ - minval, uncovered columns colPot_ + minval.
//
// A phase runs from one step 3 to the next. The columns without a star at
// its start (U) stay uncovered the whole phase, and step 6 shifts the values
// of one row over all of them alike; so the least of them (minU_), how many
// columns hold it and the last of those columns follow by the same shift,
// and change otherwise only when a column of U gains a star. The columns
// that step 4 uncovers during the phase (W) are merged into minW_ and
// lastW_ one column at a time. The last uncovered zero of a row is thus the
// later of lastU_ (when minU_ is 0) and lastW_ (when minW_ is 0), and no
// row is ever scanned for it.

double Hungarian::exceptionAt(std::size_t at) const {
    const auto it = std::lower_bound(exceptions_.begin(), exceptions_.end(), std::make_pair(at, -HUGE_VAL));
    return it->second;
}

inline double Hungarian::costAt(const float* cost, std::size_t at) const {
    const float c = cost[at];
    return c == c ? static_cast<double>(c) : exceptionAt(at);
}

inline double Hungarian::costAt(const double* cost, std::size_t at) const { return cost[at]; }

template <class T>
inline double Hungarian::value(const T* cost, int i, int j) const {
    const double c = i < n && j < m ? costAt(cost, static_cast<std::size_t>(j) * n + i) : 0.0;
    return (c - rowPot_[i]) - colPot_[j];
}

// minU_, countU_ and lastU_ of row i from a scan of the unstarred columns.
template <class T>
void Hungarian::scanUnstarred(const T* cost, int i) {
    double least = std::numeric_limits<double>::infinity();
    int count = 0, last = -1;
    for (int j : unstarred_) {
        const double v = value(cost, i, j);
        if (v < least) {
            least = v;
            count = 1;
            last = j;
        } else if (v == least) {
            ++count;
            last = j;
        }
    }
    minU_[i] = least;
    countU_[i] = count;
    lastU_[i] = last;
}

void Hungarian::markZeroRow(int i) { zeroRows_[static_cast<std::size_t>(i) >> 6] |= std::uint64_t{1} << (i & 63); }

void Hungarian::clearZeroRow(int i) {
    zeroRows_[static_cast<std::size_t>(i) >> 6] &= ~(std::uint64_t{1} << (i & 63));
}

int Hungarian::firstZeroRow() const {
    for (std::size_t w = 0; w < zeroRows_.size(); ++w)
        if (zeroRows_[w] != 0) return static_cast<int>(w * 64) + __builtin_ctzll(zeroRows_[w]);
    return -1;
}

// Merges column j into minW_ and lastW_ of the uncovered rows.
template <class T>
void Hungarian::mergeColumn(const T* cost, int j) {
    const int* covered = R_cov.data();
    const double* pot = rowPot_.data();
    double* least = minW_.data();
    int* last = lastW_.data();
    const double shift = colPot_[j];
    auto merge = [&](int i, double c) {
        const double v = (c - pot[i]) - shift;
        if (v > least[i]) return;
        if (v < least[i]) {
            least[i] = v;
            last[i] = j;
            if (v == 0) markZeroRow(i);
        } else if (j > last[i]) {
            last[i] = j;
        }
    };
    const int real = j < m ? n : 0;
    const std::size_t base = static_cast<std::size_t>(j) * n;
    for (int i = 0; i < real; ++i)
        if (covered[i] == 0) merge(i, costAt(cost, base + i));
    for (int i = real; i < l; ++i)
        if (covered[i] == 0) merge(i, 0.0);
}

template <class T>
bool Hungarian::runExact(const T* cost) {
    rowPot_.assign(l, 0.0);
    colPot_.assign(l, 0.0);
    // Step 1: each row's smallest value (the order of the comparisons does
    // not change the smallest value).
    for (int i = 0; i < l; ++i) rowPot_[i] = i < n && m == l ? std::numeric_limits<double>::infinity() : 0.0;
    for (int j = 0; j < m; ++j) {
        const std::size_t base = static_cast<std::size_t>(j) * n;
        for (int i = 0; i < n; ++i) {
            const double c = costAt(cost, base + i);
            if (c < rowPot_[i]) rowPot_[i] = c;
        }
    }
    double rowBound = 0, colBound = 0;
    for (int i = 0; i < l; ++i) rowBound = std::max(rowBound, std::fabs(rowPot_[i]));
    potBound_ = rowBound;
    if (!(maxAbs_ + potBound_ <= exactLimit_)) return false;

    // Step 2: each row stars its leftmost zero in a column without a star.
    // The zeros of the caller's rows come from one pass over the columns;
    // the filler columns are zeros of a row whose smallest value is 0, and
    // a filler row is all zeros.
    if (zeros.size() < static_cast<std::size_t>(n)) zeros.resize(n);
    for (int i = 0; i < n; ++i) zeros[i].clear();
    for (int j = 0; j < m; ++j) {
        const std::size_t base = static_cast<std::size_t>(j) * n;
        for (int i = 0; i < n; ++i)
            if (costAt(cost, base + i) == rowPot_[i]) zeros[i].push_back(j);
    }
    int freeColumn = 0, freeFiller = m;  // the first column (filler column) that may lack a star
    for (int i = 0; i < l; ++i) {
        int star = -1;
        if (i < n) {
            for (int j : zeros[i])
                if (starRow[j] < 0) {
                    star = j;
                    break;
                }
            if (star < 0 && rowPot_[i] == 0) {
                while (freeFiller < l && starRow[freeFiller] >= 0) ++freeFiller;
                if (freeFiller < l) star = freeFiller;
            }
        } else {
            while (freeColumn < l && starRow[freeColumn] >= 0) ++freeColumn;
            if (freeColumn < l) star = freeColumn;
        }
        if (star >= 0) {
            starCol[i] = star;
            starRow[star] = i;
        }
    }
    // Large zero lists are given back.
    for (int i = 0; i < n; ++i)
        if (zeros[i].capacity() > kKeptCapacity) std::vector<int>().swap(zeros[i]);

    unstarred_.clear();
    for (int j = 0; j < l; ++j)
        if (starRow[j] < 0) unstarred_.push_back(j);
    const double none = std::numeric_limits<double>::infinity();
    minU_.assign(l, none);
    countU_.assign(l, 0);
    lastU_.assign(l, -1);
    minW_.assign(l, none);
    lastW_.assign(l, -1);
    zeroRows_.assign((static_cast<std::size_t>(l) + 63) / 64, 0);
    // The first minima over the unstarred columns, column by column.
    for (int j : unstarred_) {
        for (int i = 0; i < l; ++i) {
            const double v = value(cost, i, j);
            if (v < minU_[i]) {
                minU_[i] = v;
                countU_[i] = 1;
                lastU_[i] = j;
            } else if (v == minU_[i]) {
                ++countU_[i];
                lastU_[i] = j;
            }
        }
    }

    while (true) {
        // Step 3: the star columns are covered; done when all are.
        std::fill(R_cov.begin(), R_cov.end(), 0);
        for (int j = 0; j < l; ++j) C_cov[j] = starRow[j] >= 0 ? 1 : 0;
        if (unstarred_.empty()) return true;
        std::fill(zeroRows_.begin(), zeroRows_.end(), 0);
        std::fill(minW_.begin(), minW_.end(), none);
        std::fill(lastW_.begin(), lastW_.end(), -1);
        for (int i = 0; i < l; ++i)
            if (minU_[i] == 0) markZeroRow(i);

        // Steps 4 and 6.
        while (true) {
            const int row = firstZeroRow();
            if (row < 0) {
                // Step 6.
                double minval = 0;
                bool found = false;
                for (int i = 0; i < l; ++i) {
                    if (R_cov[i] != 0) continue;
                    const double least = std::min(minU_[i], minW_[i]);
                    if (!found || least < minval) {
                        minval = least;
                        found = true;
                    }
                }
                if (!found || !std::isfinite(minval)) return true;
                for (int i = 0; i < l; ++i) {
                    if (R_cov[i] != 0) {
                        rowPot_[i] -= minval;
                        rowBound = std::max(rowBound, std::fabs(rowPot_[i]));
                    } else {
                        minU_[i] -= minval;
                        minW_[i] -= minval;
                        if (minU_[i] == 0 || minW_[i] == 0) markZeroRow(i);
                    }
                }
                for (int j = 0; j < l; ++j)
                    if (C_cov[j] == 0) {
                        colPot_[j] += minval;
                        colBound = std::max(colBound, std::fabs(colPot_[j]));
                    }
                potBound_ = rowBound + colBound;
                if (!(maxAbs_ + potBound_ <= exactLimit_)) return false;
                continue;
            }
            // Step 4: the last uncovered zero of the row.
            const int col = std::max(minU_[row] == 0 ? lastU_[row] : -1, minW_[row] == 0 ? lastW_[row] : -1);
            if (col < 0) return false;  // cannot happen: the minima follow the values exactly
            primeCol[row] = col;
            if (starCol[row] < 0) {
                Z0_r = row;
                Z0_c = col;
                break;
            }
            const int star = starCol[row];
            R_cov[row] = 1;
            clearZeroRow(row);
            C_cov[star] = 0;
            // The uncovered column joins W.
            mergeColumn(cost, star);
        }

        // Step 5: the path's last column is the one that gains a star and
        // leaves U.
        step5();
        const int gained = path.back().second;
        const auto at = std::lower_bound(unstarred_.begin(), unstarred_.end(), gained);
        const std::size_t position = static_cast<std::size_t>(at - unstarred_.begin());
        unstarred_.erase(at);
        for (int i = 0; i < l; ++i) {
            if (value(cost, i, gained) != minU_[i]) continue;
            if (--countU_[i] == 0) {
                scanUnstarred(cost, i);
            } else if (lastU_[i] == gained) {
                // The last of the other columns that hold the least value.
                for (std::size_t p = position; p-- > 0;)
                    if (value(cost, i, unstarred_[p]) == minU_[i]) {
                        lastU_[i] = unstarred_[p];
                        break;
                    }
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Explicit engine: the steps on an l x l working square.

template <class T>
void Hungarian::fillExplicit(const T* cost) {
    const std::size_t side = static_cast<std::size_t>(l);
    checkPairTableFits(l, l, sizeof(double));
    cells.assign(side * side, 0.0);
    C.assign(side, nullptr);
    for (std::size_t i = 0; i < side; ++i) C[i] = cells.data() + i * side;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < m; ++j) C[i][j] = costAt(cost, static_cast<std::size_t>(j) * n + i);
    // Per-row zero lists keep their capacity from one solve to the next.
    if (zeros.size() < side) zeros.resize(side);
    for (std::size_t i = 0; i < side; ++i) zeros[i].clear();
}

void Hungarian::runExplicit() {
    int step = 1;
    while (step >= 1 && step <= 6) {
        switch (step) {
            case 1: step = step1(); break;
            case 2: step = step2(); break;
            case 3: step = step3(); break;
            case 4: step = step4(); break;
            case 5: step = step5(); break;
            case 6: step = step6(); break;
        }
    }
    // The working square is not needed any more.
    cells.clear();
    cells.shrink_to_fit();
    C.clear();
}

void Hungarian::collectZeros(int row) {
    std::vector<int>& z = zeros[row];
    z.clear();
    const double* r = C[row];
    for (int j = 0; j < l; ++j)
        if (r[j] == 0.0) z.push_back(j);
}

// Subtracts each row's smallest value from the row.
int Hungarian::step1() {
    for (int i = 0; i < l; ++i) {
        double* r = C[i];
        double minval = r[0];
        for (int j = 1; j < l; ++j)
            if (r[j] < minval) minval = r[j];
        for (int j = 0; j < l; ++j) r[j] -= minval;
        collectZeros(i);
    }
    return 2;
}

// Stars the leftmost zero of each row whose column holds no star yet.
int Hungarian::step2() {
    for (int i = 0; i < l; ++i) {
        for (int j : zeros[i]) {
            if (R_cov[i] == 0 && C_cov[j] == 0) {
                starCol[i] = j;
                starRow[j] = i;
                R_cov[i] = 1;
                C_cov[j] = 1;
            }
        }
    }
    clear_covers();
    return 3;
}

// Covers the columns of the stars; done when every column is covered.
int Hungarian::step3() {
    for (int i = 0; i < l; ++i)
        if (starCol[i] >= 0) C_cov[starCol[i]] = 1;
    int colcount = 0;
    for (int j = 0; j < l; ++j)
        if (C_cov[j] == 1) ++colcount;
    return colcount >= l ? 7 : 4;
}

// Primes uncovered zeros until one lies in a row without a star.
int Hungarian::step4() {
    int row = -1, col = -1;
    while (true) {
        find_a_zero(row, col);
        if (row == -1) return 6;
        primeCol[row] = col;
        if (!star_in_row(row)) {
            Z0_r = row;
            Z0_c = col;
            return 5;
        }
        find_star_in_row(row, col);
        R_cov[row] = 1;
        C_cov[col] = 0;
    }
}

// Builds the alternating path of primes and stars from (Z0_r, Z0_c) and
// swaps its marks.
int Hungarian::step5() {
    path.clear();
    path.emplace_back(Z0_r, Z0_c);
    while (true) {
        int c = path.back().second;
        int r = -1;
        find_star_in_col(c, r);
        if (r < 0) break;
        path.emplace_back(r, c);
        find_prime_in_row(r, c);
        path.emplace_back(r, c);
    }
    convert_path(static_cast<int>(path.size()) - 1);
    clear_covers();
    erase_primes();
    return 3;
}

// Adds the smallest uncovered value to every covered row and subtracts it
// from every uncovered column.
int Hungarian::step6() {
    double minval = 0;
    bool found = false;
    find_smallest(minval, found);
    // Cannot happen with finite costs; ends the solve rather than loop.
    if (!found || !std::isfinite(minval)) return 7;
    for (int i = 0; i < l; ++i) {
        double* r = C[i];
        if (R_cov[i] == 1) {
            for (int j = 0; j < l; ++j) {
                r[j] += minval;
                if (C_cov[j] == 0) r[j] -= minval;
            }
        } else {
            for (int j = 0; j < l; ++j)
                if (C_cov[j] == 0) r[j] -= minval;
        }
        collectZeros(i);
    }
    return 4;
}

// In the first row holding an uncovered zero, the last such zero.
void Hungarian::find_a_zero(int& row, int& col) const {
    row = -1;
    col = -1;
    for (int i = 0; i < l; ++i) {
        if (R_cov[i] != 0) continue;
        const std::vector<int>& z = zeros[i];
        for (auto it = z.rbegin(); it != z.rend(); ++it)
            if (C_cov[*it] == 0) {
                row = i;
                col = *it;
                return;
            }
    }
}

bool Hungarian::star_in_row(int row) const { return starCol[row] >= 0; }

void Hungarian::find_star_in_row(int row, int& col) const { col = starCol[row]; }

void Hungarian::find_star_in_col(int c, int& r) const { r = starRow[c]; }

void Hungarian::find_prime_in_row(int r, int& c) const {
    if (primeCol[r] >= 0) c = primeCol[r];
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

void Hungarian::clear_covers() {
    std::fill(R_cov.begin(), R_cov.end(), 0);
    std::fill(C_cov.begin(), C_cov.end(), 0);
}

void Hungarian::erase_primes() { std::fill(primeCol.begin(), primeCol.end(), -1); }

void Hungarian::find_smallest(double& minval, bool& found) const {
    found = false;
    for (int i = 0; i < l; ++i) {
        if (R_cov[i] != 0) continue;
        const double* r = C[i];
        for (int j = 0; j < l; ++j) {
            if (C_cov[j] != 0) continue;
            if (!found || r[j] < minval) {
                minval = r[j];
                found = true;
            }
        }
    }
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
