// Flat hashed stores keyed by (row, column) pairs of vertex or block
// numbers, for look-ups on the hot paths of the readers and the matchers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <utility>
#include <vector>

namespace graphmat {

// A map from (row, column) pairs to small plain values, stored flat: one
// open-addressed table of 64-bit keys and values (linear probing, at most
// three quarters full), 16 bytes a slot instead of a tree node per value.
// Look-ups and stores give the same answers as a map would; the address of a
// stored value is valid only until the next value is created. No order of
// its values is offered.
template <class T>
class FlatPairMap {
public:
    bool exists(unsigned i, unsigned j) const { return find(i, j) != nullptr; }

    // The stored value at (i, j), or null; creates nothing.
    const T* find(unsigned i, unsigned j) const {
        const std::uint64_t k = key(i, j);
        if (k == EMPTY) return hasEmptyKey_ ? &emptyKeyValue_ : nullptr;
        if (slots_.empty()) return nullptr;
        for (std::size_t s = home(k);; s = (s + 1) & mask()) {
            if (slots_[s].key == k) return &slots_[s].value;
            if (slots_[s].key == EMPTY) return nullptr;
        }
    }
    T* find(unsigned i, unsigned j) { return const_cast<T*>(static_cast<const FlatPairMap*>(this)->find(i, j)); }

    // The value at (i, j), created value-initialised when absent.
    T& operator()(unsigned i, unsigned j) { return *insert(i, j).first; }

    // The value at (i, j), created value-initialised when absent, and
    // whether it was created now.
    std::pair<T*, bool> insert(unsigned i, unsigned j) {
        const std::uint64_t k = key(i, j);
        if (k == EMPTY) {  // the one pair whose key marks free slots: kept beside the table
            const bool created = !hasEmptyKey_;
            if (created) {
                hasEmptyKey_ = true;
                emptyKeyValue_ = T{};
                ++count_;
            }
            return {&emptyKeyValue_, created};
        }
        if ((count_ + 1) * 4 > slots_.size() * 3) grow();
        std::size_t s = home(k);
        while (slots_[s].key != k && slots_[s].key != EMPTY) s = (s + 1) & mask();
        const bool created = slots_[s].key == EMPTY;
        if (created) {
            slots_[s] = {k, T{}};
            ++count_;
        }
        return {&slots_[s].value, created};
    }

    int count() const { return static_cast<int>(count_); }
    void clear() {
        slots_.clear();
        count_ = 0;
        hasEmptyKey_ = false;
    }

private:
    static constexpr std::uint64_t EMPTY = ~std::uint64_t{0};
    struct Slot {
        std::uint64_t key;
        T value;
    };
    static std::uint64_t key(unsigned i, unsigned j) { return (static_cast<std::uint64_t>(i) << 32) | j; }
    std::size_t mask() const { return slots_.size() - 1; }
    std::size_t home(std::uint64_t k) const {
        k ^= k >> 33;  // the finaliser of MurmurHash3: every key bit reaches the low bits
        k *= 0xff51afd7ed558ccdULL;
        k ^= k >> 33;
        k *= 0xc4ceb9fe1a85ec53ULL;
        k ^= k >> 33;
        return static_cast<std::size_t>(k) & mask();
    }
    void grow() {
        std::vector<Slot> old;
        old.swap(slots_);
        slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{EMPTY, T{}});
        for (const Slot& slot : old) {
            if (slot.key == EMPTY) continue;
            std::size_t s = home(slot.key);
            while (slots_[s].key != EMPTY) s = (s + 1) & mask();
            slots_[s] = slot;
        }
    }

    std::vector<Slot> slots_;
    std::size_t count_ = 0;
    bool hasEmptyKey_ = false;  // whether (~0u, ~0u) holds a value
    T emptyKeyValue_{};
};

// A FlatPairMap with the interface of the sparse matrix it replaces for the
// edge index of a graph: the nominal size and the number of rows holding a
// value.
template <class T>
class HashedMatrix {
public:
    unsigned m = 0;  // nominal number of rows; informative only
    unsigned n = 0;  // nominal number of columns; informative only

    // Records the nominal size and removes every cell.
    void reinit(unsigned i, unsigned j) {
        m = i;
        n = j;
        cells_.clear();
        rows_.clear();
    }
    bool exists(unsigned i, unsigned j) const { return cells_.exists(i, j); }
    const T* find(unsigned i, unsigned j) const { return cells_.find(i, j); }
    T* find(unsigned i, unsigned j) { return cells_.find(i, j); }
    T& operator()(unsigned i, unsigned j) {
        const auto [value, created] = cells_.insert(i, j);
        if (created) rows_.insert(i);
        return *value;
    }
    int count() const { return cells_.count(); }
    int rows() const { return static_cast<int>(rows_.size()); }

private:
    FlatPairMap<T> cells_;
    std::unordered_set<unsigned> rows_;
};

}  // namespace graphmat
