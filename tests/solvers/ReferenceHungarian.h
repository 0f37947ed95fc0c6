// A frozen copy of the assignment solver as it stood before its engines
// were rewritten: the Munkres steps on an explicit l x l square, with
// per-row zero lists. The tests compare the solver's whole assignment (and
// its printed reports) with this one, so any change in which zeros get
// primed and starred shows up.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iostream>
#include <limits>
#include <utility>
#include <vector>

namespace graphmat::test {

class ReferenceHungarian {
public:
    int n = 0, m = 0, l = 0, k = 0;
    std::vector<double*> C;
    std::vector<int> R_cov, C_cov, results;
    std::vector<std::pair<int, int>> path;
    int Z0_r = -1, Z0_c = -1;

    void solve(const double* const* _M, int rows, int cols) { run(_M, nullptr, rows, cols); }
    void solve(const std::vector<std::vector<double>>& matrix);

private:
    std::vector<double> cells;
    std::vector<int> starCol, starRow, primeCol;
    std::vector<std::vector<int>> zeros;
    std::vector<std::pair<int, int>> newStars_;

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


inline void ReferenceHungarian::solve(const std::vector<std::vector<double>>& matrix) {
    std::vector<const double*> rowPtrs;
    std::vector<std::size_t> rowLens;
    std::size_t cols = 0;
    for (const auto& row : matrix) {
        rowPtrs.push_back(row.data());
        rowLens.push_back(row.size());
        cols = std::max(cols, row.size());
    }
    run(rowPtrs.data(), rowLens.data(), static_cast<int>(matrix.size()), static_cast<int>(cols));
}

inline void ReferenceHungarian::run(const double* const* rowPtrs, const std::size_t* rowLens, int rows,
                    int cols) {
    int step = step0(rowPtrs, rowLens, rows, cols);
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
    results.assign(l, -1);
    std::fill(cells.begin(), cells.end(), -1.0);
    for (int i = 0; i < n; ++i) {
        const int j = starCol[i];
        if (j >= 0 && j < m) {
            C[i][j] = 0.0;
            results[i] = j;
        }
    }
}

inline int ReferenceHungarian::step0(const double* const* rowPtrs, const std::size_t* rowLens, int rows,
                     int cols) {
    n = std::max(rows, 0);
    m = std::max(cols, 0);
    l = std::max(n, m);
    k = std::min(n, m);
    const std::size_t side = static_cast<std::size_t>(l);
    cells.assign(side * side, 0.0);
    C.assign(side, nullptr);
    for (std::size_t i = 0; i < side; ++i) C[i] = cells.data() + i * side;

    std::vector<std::pair<int, int>> nonFinite;
    double largest = 0;
    for (int i = 0; i < n; ++i) {
        const int len = rowLens ? static_cast<int>(std::min<std::size_t>(rowLens[i], m)) : m;
        for (int j = 0; j < len; ++j) {
            const double v = rowPtrs[i][j];
            const bool finite = std::isfinite(v);
            if (v < 0 || !finite)
                std::cout << "\n" << rows << "," << cols << "/" << i << "," << j << " : " << v;
            if (finite) {
                C[i][j] = v;
                largest = std::max(largest, std::fabs(v));
            } else {
                nonFinite.emplace_back(i, j);
            }
        }
    }
    if (!nonFinite.empty()) {
        // Costlier than any assignment of finite cells, so such a cell is
        // taken only when nothing else completes the assignment.
        double big = 2.0 * l * (largest + 1);
        if (!std::isfinite(big)) big = std::numeric_limits<double>::max() / 4;
        for (const auto& cellPos : nonFinite) C[cellPos.first][cellPos.second] = big;
    }

    path.clear();
    path.reserve(2 * side);
    R_cov.assign(side, 0);
    C_cov.assign(side, 0);
    starCol.assign(side, -1);
    starRow.assign(side, -1);
    primeCol.assign(side, -1);
    // Per-row zero lists keep their capacity from one solve to the next.
    if (zeros.size() < side) zeros.resize(side);
    for (std::size_t i = 0; i < side; ++i) zeros[i].clear();
    Z0_r = Z0_c = -1;
    return 1;
}

inline void ReferenceHungarian::collectZeros(int row) {
    std::vector<int>& z = zeros[row];
    z.clear();
    const double* r = C[row];
    for (int j = 0; j < l; ++j)
        if (r[j] == 0.0) z.push_back(j);
}

// Subtracts each row's smallest value from the row.
inline int ReferenceHungarian::step1() {
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
inline int ReferenceHungarian::step2() {
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
inline int ReferenceHungarian::step3() {
    for (int i = 0; i < l; ++i)
        if (starCol[i] >= 0) C_cov[starCol[i]] = 1;
    int colcount = 0;
    for (int j = 0; j < l; ++j)
        if (C_cov[j] == 1) ++colcount;
    return colcount >= l ? 7 : 4;
}

// Primes uncovered zeros until one lies in a row without a star.
inline int ReferenceHungarian::step4() {
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
inline int ReferenceHungarian::step5() {
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
inline int ReferenceHungarian::step6() {
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
inline void ReferenceHungarian::find_a_zero(int& row, int& col) const {
    row = -1;
    col = -1;
    for (int i = 0; i < l; ++i) {
        if (R_cov[i] != 0) continue;
        for (int j : zeros[i]) {
            if (C_cov[j] == 0) {
                row = i;
                col = j;
            }
        }
        if (row != -1) return;
    }
}

inline bool ReferenceHungarian::star_in_row(int row) const { return starCol[row] >= 0; }

inline void ReferenceHungarian::find_star_in_row(int row, int& col) const { col = starCol[row]; }

inline void ReferenceHungarian::find_star_in_col(int c, int& r) const { r = starRow[c]; }

inline void ReferenceHungarian::find_prime_in_row(int r, int& c) const {
    if (primeCol[r] >= 0) c = primeCol[r];
}

// Stars on the path lose their mark; the other path cells become stars.
// The path's cells are distinct, so unstarring first gives the same marks
// as toggling them one by one.
inline void ReferenceHungarian::convert_path(int count) {
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

inline void ReferenceHungarian::clear_covers() {
    std::fill(R_cov.begin(), R_cov.end(), 0);
    std::fill(C_cov.begin(), C_cov.end(), 0);
}

inline void ReferenceHungarian::erase_primes() { std::fill(primeCol.begin(), primeCol.end(), -1); }

inline void ReferenceHungarian::find_smallest(double& minval, bool& found) const {
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

}  // namespace graphmat::test
