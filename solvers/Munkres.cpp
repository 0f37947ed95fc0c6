#include "solvers/Munkres.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <limits>

namespace graphmat {

namespace {

// A cell that is not a finite number costs more than any assignment of the
// finite cells, so it is taken only when nothing else completes the
// assignment (and no step ever compares a value that is not a number).
void priceNonFinite(Matrix<double>& m) {
    double largest = 0;
    bool any = false;
    for (int i = 0; i < m.rows(); ++i)
        for (int j = 0; j < m.columns(); ++j) {
            const double v = m(i, j);
            if (std::isfinite(v))
                largest = std::max(largest, std::fabs(v));
            else
                any = true;
        }
    if (!any) return;
    double big = 2.0 * std::max(m.rows(), m.columns()) * (largest + 1);
    if (!std::isfinite(big)) big = std::numeric_limits<double>::max() / 4;
    for (int i = 0; i < m.rows(); ++i)
        for (int j = 0; j < m.columns(); ++j)
            if (!std::isfinite(m(i, j))) m(i, j) = big;
}

}  // namespace

void Munkres::solve(Matrix<double>& m) {
    // The steps reach the least total when no row is left over, so a matrix
    // with more rows than columns is solved as its transpose.
    transposed_ = m.rows() > m.columns();
    if (transposed_) {
        matrix = Matrix<double>(m.columns(), m.rows());
        for (int i = 0; i < m.rows(); ++i)
            for (int j = 0; j < m.columns(); ++j) matrix(j, i) = m(i, j);
    } else {
        matrix = m;
    }
    priceNonFinite(matrix);
    // A reused solver starts from no marks.
    mask_matrix.resize(matrix.rows(), matrix.columns());
    mask_matrix.clear();
    row_mask.assign(static_cast<std::size_t>(matrix.rows()), false);
    col_mask.assign(static_cast<std::size_t>(matrix.columns()), false);

    int step = 1;
    while (step != 0) {
        switch (step) {
            case 1: step = step1(); break;
            case 2: step = step2(); break;
            case 3: step = step3(); break;
            case 4: step = step4(); break;
            case 5: step = step5(); break;
            case 6: step = step6(); break;
            default: step = 0; break;
        }
    }

    // The result in the caller's shape, chosen cells listed row by row.
    for (int i = 0; i < m.rows(); ++i)
        for (int j = 0; j < m.columns(); ++j) {
            const bool starred = transposed_ ? mask_matrix(j, i) == 1 : mask_matrix(i, j) == 1;
            if (starred) {
                m(i, j) = 0;
                std::cout << i << "," << j << "\n";
            } else {
                m(i, j) = -1;
            }
        }
    matrix = m;
    row_mask.clear();
    col_mask.clear();
}

void Munkres::printCell(int row, int col) const {
    if (transposed_) std::swap(row, col);
    std::cout << row << "," << col;
}

// Subtracts each row's smallest value, held in single precision, from the
// row: where the minimum is no float the row keeps a tiny remainder (of
// either sign) in place of its zero, which step 6 treats like any value.
int Munkres::step1() {
    std::cout << "\n STEP 1 \n";
    for (int row = 0; row < matrix.rows(); ++row) {
        float min = static_cast<float>(matrix(row, 0));
        for (int col = 0; col < matrix.columns(); ++col)
            if (matrix(row, col) < min) min = static_cast<float>(matrix(row, col));
        for (int col = 0; col < matrix.columns(); ++col) matrix(row, col) -= min;
    }
    return 2;
}

// Stars each zero whose row and column hold no star yet, in row-major order.
int Munkres::step2() {
    std::cout << "\n STEP 2 \n";
    std::vector<bool> starredRow(static_cast<std::size_t>(matrix.rows()), false);
    std::vector<bool> starredCol(static_cast<std::size_t>(matrix.columns()), false);
    for (int row = 0; row < matrix.rows(); ++row)
        for (int col = 0; col < matrix.columns(); ++col)
            if (matrix(row, col) == 0 && !starredRow[row] && !starredCol[col]) {
                mask_matrix(row, col) = 1;
                starredRow[row] = starredCol[col] = true;
            }
    return 3;
}

// Covers every column with a star; done when there are as many as the
// smaller side.
int Munkres::step3() {
    std::cout << "\n STEP 3 \n";
    int covered = 0;
    for (int row = 0; row < matrix.rows(); ++row)
        for (int col = 0; col < matrix.columns(); ++col)
            if (mask_matrix(row, col) == 1) {
                col_mask[col] = true;
                ++covered;
            }
    return covered >= matrix.minsize() ? 0 : 4;
}

// Primes an uncovered zero; a star in its row moves the cover from the
// star's column to the row, no star starts an augmenting sequence.
int Munkres::step4() {
    std::cout << "\n STEP 4 \n";
    if (!find_uncovered_in_matrix(0.0, saverow, savecol)) return 6;
    mask_matrix(saverow, savecol) = 2;
    printCell(saverow, savecol);
    for (int col = 0; col < matrix.columns(); ++col)
        if (mask_matrix(saverow, col) == 1) {
            row_mask[saverow] = true;
            col_mask[col] = false;
            return 4;
        }
    return 5;
}

// Alternates primes and stars from the last prime, swaps them along the
// sequence, then drops every prime and every cover.
int Munkres::step5() {
    std::cout << "\n STEP 5 \n";
    std::list<std::pair<int, int>> seq;
    seq.emplace_back(saverow, savecol);
    int col = savecol;
    for (;;) {
        int starRow = -1;
        for (int row = 0; row < matrix.rows(); ++row)
            if (mask_matrix(row, col) == 1 && !pair_in_list({row, col}, seq)) {
                starRow = row;
                break;
            }
        if (starRow < 0) break;
        seq.emplace_back(starRow, col);
        int primeCol = -1;
        for (int c = 0; c < matrix.columns(); ++c)
            if (mask_matrix(starRow, c) == 2 && !pair_in_list({starRow, c}, seq)) {
                primeCol = c;
                break;
            }
        if (primeCol < 0) break;
        seq.emplace_back(starRow, primeCol);
        col = primeCol;
    }
    for (const auto& [row, c] : seq) {
        int& mark = mask_matrix(row, c);
        if (mark == 1) mark = 0;
        if (mark == 2) mark = 1;
    }
    for (int row = 0; row < matrix.rows(); ++row)
        for (int c = 0; c < matrix.columns(); ++c)
            if (mask_matrix(row, c) == 2) mask_matrix(row, c) = 0;
    std::fill(row_mask.begin(), row_mask.end(), false);
    std::fill(col_mask.begin(), col_mask.end(), false);
    return 3;
}

// Takes the smallest uncovered value h, adds it to the covered rows and
// subtracts it from the uncovered columns: a new uncovered zero, the stars
// and primes unchanged.
int Munkres::step6() {
    std::cout << "\n STEP 6 \n";
    bool found = false;
    double h = 0;
    for (int row = 0; row < matrix.rows(); ++row) {
        if (row_mask[row]) continue;
        for (int col = 0; col < matrix.columns(); ++col)
            if (!col_mask[col] && (!found || matrix(row, col) < h)) {
                h = matrix(row, col);
                found = true;
            }
    }
    if (!found) return 0;  // every line covered: nothing left to improve
    if (h > 1) std::cout << "!!!!!!!!!!!\n";
    for (int row = 0; row < matrix.rows(); ++row)
        for (int col = 0; col < matrix.columns(); ++col) {
            if (row_mask[row]) matrix(row, col) += h;
            if (!col_mask[col]) matrix(row, col) -= h;
        }
    return 4;
}

bool Munkres::find_uncovered_in_matrix(double item, int& row, int& col) {
    for (int r = 0; r < matrix.rows(); ++r) {
        if (row_mask[r]) continue;
        for (int c = 0; c < matrix.columns(); ++c)
            if (!col_mask[c] && matrix(r, c) == item) {
                row = r;
                col = c;
                return true;
            }
    }
    return false;
}

bool Munkres::pair_in_list(const std::pair<int, int>& needle, const std::list<std::pair<int, int>>& haystack) {
    return std::find(haystack.begin(), haystack.end(), needle) != haystack.end();
}

}  // namespace graphmat
