// Block numbers by member list, for the blocks the search builds: the member
// lists sit back to back in one array and an open-addressed table of entry
// positions is probed by a hash of the list. It answers exactly as a map
// from member list to number would, in some 30 bytes a block instead of a
// tree node and a vector each. No order of its entries is offered.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace graphmat {

class SignatureStore {
public:
    // The number stored for the member list, or -1.
    int find(const std::vector<int>& members) const {
        if (table_.empty()) return -1;
        const std::uint64_t h = hash(members);
        for (std::size_t s = h & mask();; s = (s + 1) & mask()) {
            const std::int32_t at = table_[s];
            if (at < 0) return -1;
            if (entries_[at].hash == h && same(entries_[at], members)) return entries_[at].number;
        }
    }

    // The number stored for the member list; throws std::out_of_range when
    // there is none.
    int at(const std::vector<int>& members) const {
        const int number = find(members);
        if (number < 0) throw std::out_of_range("no block with these members");
        return number;
    }

    // Records a member list not stored yet, with its block number.
    void insert(const std::vector<int>& members, int number) {
        if ((entries_.size() + 1) * 2 > table_.size()) grow();
        const std::uint64_t h = hash(members);
        entries_.push_back({h, static_cast<std::uint32_t>(pool_.size()),
                            static_cast<std::uint32_t>(members.size()), number});
        pool_.insert(pool_.end(), members.begin(), members.end());
        place(static_cast<std::int32_t>(entries_.size() - 1));
    }

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    void clear() {
        pool_.clear();
        entries_.clear();
        table_.clear();
    }

private:
    struct Entry {
        std::uint64_t hash;
        std::uint32_t offset;  // first member in pool_
        std::uint32_t length;
        int number;
    };

    static std::uint64_t hash(const std::vector<int>& members) {
        std::uint64_t h = 0x9e3779b97f4a7c15ULL ^ members.size();
        for (int m : members) {
            h ^= static_cast<std::uint32_t>(m);
            h *= 0xff51afd7ed558ccdULL;
            h ^= h >> 32;
        }
        return h;
    }
    bool same(const Entry& e, const std::vector<int>& members) const {
        if (e.length != members.size()) return false;
        for (std::size_t k = 0; k < members.size(); ++k)
            if (pool_[e.offset + k] != members[k]) return false;
        return true;
    }
    std::size_t mask() const { return table_.size() - 1; }
    void place(std::int32_t at) {
        std::size_t s = entries_[at].hash & mask();
        while (table_[s] >= 0) s = (s + 1) & mask();
        table_[s] = at;
    }
    void grow() {
        table_.assign(table_.empty() ? 64 : table_.size() * 2, -1);
        for (std::size_t k = 0; k < entries_.size(); ++k) place(static_cast<std::int32_t>(k));
    }

    std::vector<int> pool_;
    std::vector<Entry> entries_;
    std::vector<std::int32_t> table_;
};

}  // namespace graphmat
