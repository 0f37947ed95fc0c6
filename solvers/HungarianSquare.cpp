// The square: the Munkres steps on the explicit l x l working values, as
// they are written, with each row's zeros and the covered and starred
// columns as bit words. It is the explicit steps themselves: every value is
// computed by the same operations in the same order (step 1 subtracts each
// row's least value; step 6 adds the least uncovered value to each cell of
// a covered row, then subtracts it from each uncovered column), so the
// zeros are the same bit for bit, rounding included. The bit words change
// only how a zero is found: step 2 stars the first zero of a row whose
// column holds no star (the lowest free bit), step 4 primes the last
// uncovered zero of the first row that holds one (the highest uncovered
// bit), which are the cells the explicit scans pick. Any costs may run
// here; the potentials hand over to it when they cannot stay exact.
#include <algorithm>
#include <cmath>

#include "graph/CapacityChecks.h"
#include "solvers/Hungarian.h"

namespace graphmat {

// The square from the cost store, for costs the potentials could not keep
// exact.
void Hungarian::fillSquare() {
    checkPairTableFits(l, l, sizeof(double));
    const std::size_t side = static_cast<std::size_t>(l);
    square_.assign(side * side, 0.0);
    auto copy = [&](const auto* cost) {
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < m; ++j)
                square_[static_cast<std::size_t>(i) * side + j] = costAt(cost, static_cast<std::size_t>(j) * n + i);
    };
    if (useFloat_)
        copy(costF_.data());
    else
        copy(costD_.data());
}

void Hungarian::releaseSquare() {
    keepSmall(square_);
    keepSmall(squareZeros_);
}

// Runs the steps on square_, which holds the costs (the padding zero).
void Hungarian::runSquare() {
    engine_ = Engine::Square;
    resetMarks();
    const int side = l;
    std::vector<double>& a = square_;
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
    std::vector<std::uint64_t>& zero = squareZeros_;
    zero.assign(static_cast<std::size_t>(side) * words, 0);
    std::vector<std::uint64_t>& colCov = squareColCov_;
    colCov.assign(static_cast<std::size_t>(words), 0);
    std::vector<char>& open = squareOpen_;  // per column: 1 when uncovered
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
    std::vector<std::uint64_t>& starred = squareStarred_;
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
    std::vector<int>& primed = squarePrimed_;  // the rows primed in this phase
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
                // Cannot happen with finite costs; ends the solve rather
                // than loop.
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
        augment();
        const int gained = path.back().second;
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

}  // namespace graphmat
