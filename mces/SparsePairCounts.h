// A rows x cols table of whole-number pair counts that are mostly zero, with
// a real-valued total per row and per column: only the non-zero entries of a
// row are kept, in column order. It reads like the dense (rows + 1) x
// (cols + 1) table of doubles it replaces: t(i, j) is the count as a double,
// t(i, cols) the row total, t(rows, j) the column total, t(rows, cols) 0, so
// every comparison and sum over it stays the same.
#pragma once

#include <algorithm>
#include <vector>

namespace graphmat {

class SparsePairCounts {
public:
    struct Entry {
        int col;
        int count;
    };

    // Every count and total 0.
    void reset(int rows, int cols) {
        rows_ = std::max(rows, 0);
        cols_ = std::max(cols, 0);
        std::vector<std::vector<Entry>>(rows_).swap(entries_);
        rowTotal_.assign(rows_, 0.0);
        colTotal_.assign(cols_, 0.0);
    }
    void clear() { reset(0, 0); }

    int count(int i, int j) const {
        const std::vector<Entry>& row = entries_[i];
        auto it = std::lower_bound(row.begin(), row.end(), j, [](const Entry& e, int c) { return e.col < c; });
        return it != row.end() && it->col == j ? it->count : 0;
    }
    double operator()(int i, int j) const {
        if (i == rows_) return j == cols_ ? 0.0 : colTotal_[j];
        if (j == cols_) return rowTotal_[i];
        return count(i, j);
    }

    // Sets the count of (i, j); totals are kept apart (addToTotals).
    void set(int i, int j, int value) {
        std::vector<Entry>& row = entries_[i];
        if (row.empty() || row.back().col < j) {  // the usual case: a row filled in column order
            if (value != 0) row.push_back({j, value});
            return;
        }
        auto it = std::lower_bound(row.begin(), row.end(), j, [](const Entry& e, int c) { return e.col < c; });
        if (it != row.end() && it->col == j) {
            if (value != 0)
                it->count = value;
            else
                row.erase(it);
        } else if (value != 0) {
            row.insert(it, {j, value});
        }
    }
    void addToTotals(int i, int j, double value) {
        rowTotal_[i] += value;
        colTotal_[j] += value;
    }

    // The non-zero entries of row i, in column order.
    const std::vector<Entry>& row(int i) const { return entries_[i]; }

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    long nonZero() const {
        long total = 0;
        for (const auto& row : entries_) total += static_cast<long>(row.size());
        return total;
    }

private:
    int rows_ = 0, cols_ = 0;
    std::vector<std::vector<Entry>> entries_;
    std::vector<double> rowTotal_, colTotal_;
};

}  // namespace graphmat
