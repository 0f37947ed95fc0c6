// A map from (row, column) pairs of vertex or block numbers to values, for
// the matcher's hot per-pair stores: hashed look-ups, and addresses of stored
// values that stay valid for as long as the value is stored.
#pragma once

#include <cstdint>
#include <deque>
#include <unordered_set>
#include <utility>
#include <vector>

#include "graph/CapacityChecks.h"
#include "graph/FlatPairMap.h"

namespace graphmat {

// A store of values for the plain vertex pairs of two graphs that may come to
// hold every pair: one contiguous array allocated on the first write, with a
// presence flag per pair, so that a full matrix costs a few bytes per pair.
template <class T>
class DensePairMap {
public:
    void resize(int rows, int cols) {
        rows_ = rows > 0 ? rows : 0;
        cols_ = cols > 0 ? cols : 0;
        values_.clear();
        present_.clear();
        rowSizes_.clear();
        count_ = 0;
        rowsUsed_ = 0;
    }

    bool exists(int i, int j) const { return find(i, j) != nullptr; }

    // The stored value at (i, j), or null; creates nothing.
    const T* find(int i, int j) const {
        if (!inside(i, j) || present_.empty() || !present_[index(i, j)]) return nullptr;
        return &values_[index(i, j)];
    }
    T* find(int i, int j) { return const_cast<T*>(static_cast<const DensePairMap*>(this)->find(i, j)); }

    // The value at (i, j), created value-initialised when absent. A pair
    // outside the two graphs goes to a shared scratch value.
    T& operator()(int i, int j) {
        if (!inside(i, j)) {
            scratch_ = T{};
            return scratch_;
        }
        if (values_.empty()) {
            checkPairTableFits(rows_, cols_, sizeof(T) + 0.125);  // a value and its presence bit
            values_.assign(static_cast<std::size_t>(rows_) * cols_, T{});
            present_.assign(static_cast<std::size_t>(rows_) * cols_, false);
            rowSizes_.assign(rows_, 0);
        }
        std::size_t k = index(i, j);
        if (!present_[k]) {
            present_[k] = true;
            ++count_;
            if (rowSizes_[i]++ == 0) ++rowsUsed_;
        }
        return values_[k];
    }

    // Stores a value for every pair at once: values holds rows x cols
    // entries, row-major, and becomes the store (no copy). The same as
    // writing each pair in turn. False (and nothing taken) when values has
    // another size.
    bool assignAll(std::vector<T>&& values) {
        if (values.size() != static_cast<std::size_t>(rows_) * cols_) return false;
        values_ = std::move(values);
        present_.assign(values_.size(), true);
        rowSizes_.assign(rows_, cols_);
        count_ = static_cast<long>(values_.size());
        rowsUsed_ = cols_ > 0 ? rows_ : 0;
        return true;
    }

    int count() const { return static_cast<int>(count_); }
    int rows() const { return rowsUsed_; }

private:
    bool inside(int i, int j) const { return i >= 0 && j >= 0 && i < rows_ && j < cols_; }
    std::size_t index(int i, int j) const { return static_cast<std::size_t>(i) * cols_ + j; }

    int rows_ = 0, cols_ = 0;
    std::vector<T> values_;
    std::vector<bool> present_;
    std::vector<int> rowSizes_;
    long count_ = 0;
    int rowsUsed_ = 0;
    T scratch_{};
};

// A map from (row, column) pairs to values whose addresses stay valid for as
// long as the map lives (values are never removed): the values sit in a deque
// in creation order, found through a flat hash index of their positions.
// Look-ups and stores give the same answers as a node-based hash map would,
// without a heap node per value.
template <class T>
class PairMap {
public:
    bool exists(unsigned i, unsigned j) const { return index_.exists(i, j); }

    // The stored value at (i, j), or null; creates nothing.
    T* find(unsigned i, unsigned j) {
        const std::uint32_t* at = index_.find(i, j);
        return at ? &values_[*at] : nullptr;
    }
    const T* find(unsigned i, unsigned j) const {
        const std::uint32_t* at = index_.find(i, j);
        return at ? &values_[*at] : nullptr;
    }

    // The value at (i, j), created value-initialised when absent.
    T& operator()(unsigned i, unsigned j) {
        const auto [at, created] = index_.insert(i, j);
        if (created) {
            *at = static_cast<std::uint32_t>(values_.size());
            values_.emplace_back();
            rows_.insert(i);
        }
        return values_[*at];
    }

    // Number of stored values, and of rows holding at least one.
    int count() const { return static_cast<int>(values_.size()); }
    int rows() const { return static_cast<int>(rows_.size()); }

private:
    std::deque<T> values_;
    FlatPairMap<std::uint32_t> index_;
    std::unordered_set<unsigned> rows_;
};

}  // namespace graphmat
