// A dense matrix held as a table of rows, with element access that always
// checks its indexes: a bad index ends the process with a message naming
// the failed condition and the index, never a read outside the table.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <vector>

namespace graphmat {

// Ends the process after naming the failed check of a Matrix access.
[[noreturn]] inline void matrixCheckFailed(const char* condition, int line, int x, int y, int rows, int columns) {
    std::cerr << "Matrix check failed: " << condition << " (solvers/Matrix.h:" << line << ") for element (" << x
              << "," << y << ") of a " << rows << " x " << columns << " matrix" << std::endl;
    std::abort();
}

template <class T>
class Matrix {
public:
    // The rows, each of m_columns values; empty when the matrix has no
    // storage. Change the shape only through resize.
    std::vector<std::vector<T>> m_matrix;
    int m_rows = 0;
    int m_columns = 0;

    // An empty matrix: no storage, 0 x 0.
    Matrix() = default;
    // An all-zero matrix of the given size.
    Matrix(int rows, int columns) { resize(rows, columns); }
    // Copies are deep: the copy owns rows of its own.
    Matrix(const Matrix&) = default;
    Matrix& operator=(const Matrix&) = default;
    Matrix(Matrix&&) noexcept = default;
    Matrix& operator=(Matrix&&) noexcept = default;

    T& operator()(int x, int y) {
        check(x, y);
        return m_matrix[x][y];
    }
    const T& operator()(int x, int y) const {
        check(x, y);
        return m_matrix[x][y];
    }

    // New size: the block that the old and the new size share keeps its
    // values, every other cell is 0.
    void resize(int rows, int columns) {
        if (rows < 0) matrixCheckFailed("rows >= 0", __LINE__, rows, columns, m_rows, m_columns);
        if (columns < 0) matrixCheckFailed("columns >= 0", __LINE__, rows, columns, m_rows, m_columns);
        m_matrix.resize(static_cast<std::size_t>(rows));
        for (auto& row : m_matrix) row.resize(static_cast<std::size_t>(columns), T{});
        m_rows = rows;
        m_columns = columns;
    }

    // Sets every element to 0.
    void clear() {
        for (auto& row : m_matrix) std::fill(row.begin(), row.end(), T{});
    }

    int rows() const { return m_rows; }
    int columns() const { return m_columns; }
    int minsize() const { return std::min(m_rows, m_columns); }

private:
    void check(int x, int y) const {
        if (!(x >= 0)) matrixCheckFailed("x >= 0", __LINE__, x, y, m_rows, m_columns);
        if (!(y >= 0)) matrixCheckFailed("y >= 0", __LINE__, x, y, m_rows, m_columns);
        if (!(x < m_rows)) matrixCheckFailed("x < m_rows", __LINE__, x, y, m_rows, m_columns);
        if (!(y < m_columns)) matrixCheckFailed("y < m_columns", __LINE__, x, y, m_rows, m_columns);
    }
};

}  // namespace graphmat
