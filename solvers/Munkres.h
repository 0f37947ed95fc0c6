// A second minimum-cost assignment solver beside Hungarian, working in place
// on a dense Matrix<double> in the six Munkres steps (starred and primed
// zeros, covered rows and columns), each traced on standard output. After
// solve the matrix holds 0 at the chosen cells and -1 everywhere else, the
// result convention of Hungarian.
#pragma once

#include <list>
#include <utility>
#include <vector>

#include "solvers/Matrix.h"

namespace graphmat {

class Munkres {
public:
    Matrix<int> mask_matrix;  // per work cell: 0 plain, 1 starred zero, 2 primed zero
    Matrix<double> matrix;    // the work matrix, reduced step by step
    std::vector<bool> row_mask;  // covered rows (during solve)
    std::vector<bool> col_mask;  // covered columns (during solve)
    double smallest_uncovered = 0;  // not used by the steps
    int saverow = 0, savecol = 0;   // the zero primed last by step 4

    // Solves the assignment on m (lower values are better) and writes the
    // result into m: 0 at each chosen cell, -1 elsewhere. With no more rows
    // than columns every row gets a cell, otherwise every column; either way
    // the chosen cells have the least total. Each chosen cell is printed as
    // row "," column "\n" in row-major order. A cell that is not a finite
    // number is priced above any assignment of finite cells.
    void solve(Matrix<double>& m);

    // One step each; the number of the next step, 0 when done.
    int step1();
    int step2();
    int step3();
    int step4();
    int step5();
    int step6();

    // First uncovered cell, in row-major order, whose value equals item.
    bool find_uncovered_in_matrix(double item, int& row, int& col);
    static bool pair_in_list(const std::pair<int, int>& needle, const std::list<std::pair<int, int>>& haystack);

private:
    // The work matrix is the caller's transposed (more rows than columns).
    bool transposed_ = false;
    // Prints a work cell in the caller's orientation: row "," column.
    void printCell(int row, int col) const;
};

}  // namespace graphmat
