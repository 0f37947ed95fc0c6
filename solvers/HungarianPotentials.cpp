// The potentials: the Munkres steps without the working square. The costs
// stay as read (the cost store) and the working value of a cell is
// cost - row potential - column potential; step 6 moves the potentials of
// the covered rows and the uncovered columns instead of the cells.
//
// What it keeps equal to the explicit steps, and why: let 2^g be the finest
// power of two that divides every cost and B the largest cost magnitude.
// Every value the steps form (reductions, step-6 sums, potentials) is a sum
// of such multiples; while B + |largest row potential| + |largest column
// potential| stays at or below 2^(51+g), every such sum and every sum of two
// of them is a multiple of 2^g below 2^(53+g), held exactly by a double.
// Then the explicit steps compute exact values, the potentials compute the
// same exact values, and a cell is 0 in one exactly when it is 0 in the
// other, so both prime and star the same cells in the same order. The bound
// is checked after step 1 and after every step 6; when it fails the run is
// given up (runPotentials returns false, giveUp_ says after which step) and
// the square solves the problem from the start.
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
#include <algorithm>
#include <cassert>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <numeric>

#include "solvers/Hungarian.h"

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

}  // namespace

// The finest power of two that divides every cost, and the largest
// magnitude: sums of such multiples are exact while they stay below 2^53
// times that power.
void Hungarian::measureGrain() {
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
    // A margin of 4 keeps every sum of two bounded terms exact as well. The
    // bound is at most 2^1021, so that four times it is still a finite
    // double: costs that are all multiples of 2^973 or more would otherwise
    // make it infinite, and every check would pass while sums overflow.
    exactLimit_ = grain == INT_MAX ? std::numeric_limits<double>::infinity()
                                   : std::ldexp(1.0, std::min(51 + grain, DBL_MAX_EXP - 3));
}

// Solves on the potentials from the cost store; false when they could not
// stay exact (the marks are then left part way, and giveUp_ says where).
bool Hungarian::runPotentials() {
    engine_ = Engine::Potentials;
    measureGrain();
    resetMarks();
    giveUp_ = useFloat_ ? runExact(costF_.data()) : runExact(costD_.data());
    return giveUp_ == GiveUp::None;
}

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

// Merges column j into minW_ and lastW_ of the uncovered rows (openRows_:
// the covered rows are not visited at all).
template <class T>
void Hungarian::mergeColumn(const T* cost, int j) {
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
    const int* open = openRows_.data();
    const std::size_t count = openRows_.size();
    std::size_t k = 0;
    for (; k < count && open[k] < real; ++k) merge(open[k], costAt(cost, base + open[k]));
    for (; k < count; ++k) merge(open[k], 0.0);
}

template <class T>
Hungarian::GiveUp Hungarian::runExact(const T* cost) {
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
    if (!(maxAbs_ + potBound_ <= exactLimit_)) return GiveUp::AfterStep1;

    // Step 2: each row stars its leftmost zero in a column without a star.
    // The zeros of the caller's rows come from one pass over the columns;
    // the filler columns are zeros of a row whose smallest value is 0, and
    // a filler row is all zeros.
    if (rowZeros_.size() < static_cast<std::size_t>(n)) rowZeros_.resize(n);
    for (int i = 0; i < n; ++i) rowZeros_[i].clear();
    for (int j = 0; j < m; ++j) {
        const std::size_t base = static_cast<std::size_t>(j) * n;
        for (int i = 0; i < n; ++i)
            if (costAt(cost, base + i) == rowPot_[i]) rowZeros_[i].push_back(j);
    }
    int freeColumn = 0, freeFiller = m;  // the first column (filler column) that may lack a star
    for (int i = 0; i < l; ++i) {
        int star = -1;
        if (i < n) {
            for (int j : rowZeros_[i])
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
        if (rowZeros_[i].capacity() > kKeptCapacity) std::vector<int>().swap(rowZeros_[i]);

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
        openRows_.resize(static_cast<std::size_t>(l));
        std::iota(openRows_.begin(), openRows_.end(), 0);
        for (int j = 0; j < l; ++j) C_cov[j] = starRow[j] >= 0 ? 1 : 0;
        if (unstarred_.empty()) return GiveUp::None;
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
                if (!found || !std::isfinite(minval)) return GiveUp::None;
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
                if (!(maxAbs_ + potBound_ <= exactLimit_)) return GiveUp::AfterStep6;
                continue;
            }
            // Step 4: the last uncovered zero of the row.
            const int col = std::max(minU_[row] == 0 ? lastU_[row] : -1, minW_[row] == 0 ? lastW_[row] : -1);
            // Cannot happen: the minima follow the values exactly. A release
            // build gives the run up, and the square solves the problem.
            assert(col >= 0 && "an uncovered zero without its column");
            if (col < 0) return GiveUp::LostTrack;
            primeCol[row] = col;
            if (starCol[row] < 0) {
                Z0_r = row;
                Z0_c = col;
                break;
            }
            const int star = starCol[row];
            R_cov[row] = 1;
            // The row is uncovered (it holds an uncovered zero), so it is
            // in the list. Cannot fail either; a release build gives the
            // run up as above rather than erase another row.
            const auto open = std::lower_bound(openRows_.begin(), openRows_.end(), row);
            assert(open != openRows_.end() && *open == row && "an uncovered row missing from the open rows");
            if (open == openRows_.end() || *open != row) return GiveUp::LostTrack;
            openRows_.erase(open);
            clearZeroRow(row);
            C_cov[star] = 0;
            // The uncovered column joins W.
            mergeColumn(cost, star);
        }

        // Step 5: the path's last column is the one that gains a star and
        // leaves U.
        augment();
        std::fill(primeCol.begin(), primeCol.end(), -1);
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

}  // namespace graphmat
