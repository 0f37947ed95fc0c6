// A two-dimensional container that stores only the cells ever touched.
// Cells live in node-based maps, so the address of a stored value stays
// valid for as long as the cell is stored.
#pragma once

#include <map>
#include <memory>
#include <vector>

namespace graphmat {

template <class T>
class SparseMatrix {
public:
    std::map<unsigned, std::map<unsigned, T>> mat;
    unsigned m = 0;  // nominal number of rows; informative only
    unsigned n = 0;  // nominal number of columns; informative only

    SparseMatrix() = default;
    SparseMatrix(unsigned rows, unsigned cols) : m(rows), n(cols) {}

    // Records the nominal size and removes every cell.
    void reinit(unsigned i, unsigned j) {
        m = i;
        n = j;
        mat.clear();
    }

    // True when (i, j) holds a cell; creates nothing.
    bool exists(unsigned i, unsigned j) const { return find(i, j) != nullptr; }

    // The stored value at (i, j), or null; creates nothing.
    T* find(unsigned i, unsigned j) {
        auto row = mat.find(i);
        if (row == mat.end()) return nullptr;
        auto it = row->second.find(j);
        return it == row->second.end() ? nullptr : &it->second;
    }
    const T* find(unsigned i, unsigned j) const {
        auto row = mat.find(i);
        if (row == mat.end()) return nullptr;
        auto it = row->second.find(j);
        return it == row->second.end() ? nullptr : &it->second;
    }

    // The value at (i, j), created value-initialised when absent.
    T& operator()(unsigned i, unsigned j) { return mat[i][j]; }

    // A new vector with a copy of every stored value, rows ascending, then
    // columns ascending within a row.
    std::unique_ptr<std::vector<T>> getVector() const {
        auto values = std::make_unique<std::vector<T>>();
        for (const auto& row : mat)
            for (const auto& entry : row.second) values->push_back(entry.second);
        return values;
    }

    int count() const {
        std::size_t total = 0;
        for (const auto& row : mat) total += row.second.size();
        return static_cast<int>(total);
    }

    int rows() const { return static_cast<int>(mat.size()); }
};

}  // namespace graphmat
