// A map from (row, column) pairs of vertex or block numbers to values, for
// the matcher's hot per-pair stores: hashed look-ups, and addresses of stored
// values that stay valid for as long as the value is stored.
#pragma once

#include <cstdint>
#include <unordered_map>

namespace graphmat {

template <class T>
class PairMap {
public:
    bool exists(unsigned i, unsigned j) const { return cells_.count(key(i, j)) != 0; }

    // The stored value at (i, j), or null; creates nothing.
    T* find(unsigned i, unsigned j) {
        auto it = cells_.find(key(i, j));
        return it == cells_.end() ? nullptr : &it->second;
    }
    const T* find(unsigned i, unsigned j) const {
        auto it = cells_.find(key(i, j));
        return it == cells_.end() ? nullptr : &it->second;
    }

    // The value at (i, j), created value-initialised when absent.
    T& operator()(unsigned i, unsigned j) {
        auto [it, created] = cells_.try_emplace(key(i, j));
        if (created) ++rowSizes_[i];
        return it->second;
    }

    // Number of stored values, and of rows holding at least one.
    int count() const { return static_cast<int>(cells_.size()); }
    int rows() const { return static_cast<int>(rowSizes_.size()); }

private:
    static std::uint64_t key(unsigned i, unsigned j) { return (static_cast<std::uint64_t>(i) << 32) | j; }

    std::unordered_map<std::uint64_t, T> cells_;
    std::unordered_map<unsigned, int> rowSizes_;
};

}  // namespace graphmat
