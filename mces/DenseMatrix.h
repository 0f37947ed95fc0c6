// A dense rows x cols matrix in one contiguous block (row-major), for the
// per-pair tables of the common-edge-subgraph matcher: one allocation, no
// row pointers, constant-time element access as m(i, j).
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace graphmat {

template <class T>
class DenseMatrix {
public:
    DenseMatrix() = default;
    DenseMatrix(int rows, int cols, const T& fill = T()) { assign(rows, cols, fill); }

    // Resizes to rows x cols with every entry set to fill.
    void assign(int rows, int cols, const T& fill = T()) {
        rows_ = std::max(rows, 0);
        cols_ = std::max(cols, 0);
        data_.assign(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_), fill);
    }
    // Sets every entry to value, keeping the size.
    void fill(const T& value) { std::fill(data_.begin(), data_.end(), value); }
    // Hands the entries (row-major) over to the caller and leaves the
    // matrix empty.
    std::vector<T> release() {
        rows_ = cols_ = 0;
        return std::move(data_);
    }
    // Releases the storage.
    void clear() {
        rows_ = cols_ = 0;
        std::vector<T>().swap(data_);
    }

    T& operator()(int i, int j) { return data_[index(i, j)]; }
    const T& operator()(int i, int j) const { return data_[index(i, j)]; }
    T* row(int i) { return data_.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(cols_); }
    const T* row(int i) const {
        return data_.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(cols_);
    }

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    bool empty() const { return data_.empty(); }
    std::size_t size() const { return data_.size(); }

private:
    std::size_t index(int i, int j) const {
        return static_cast<std::size_t>(i) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(j);
    }

    int rows_ = 0;
    int cols_ = 0;
    std::vector<T> data_;
};

}  // namespace graphmat
