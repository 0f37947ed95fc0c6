// The vertex numbers a vertex or block stands for: a set of ints kept as a
// sorted vector. It is walked in ascending order and answers membership as
// a std::set<int> would, in four bytes a member instead of a tree node
// (the search keeps one for each of its many thousand blocks).
#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <utility>
#include <vector>

namespace graphmat {

// Set operations on an ascending list of ints without repeats. Adding puts
// the value in its place (at the back in the usual case, where values come
// ascending); both say whether the list changed.
inline std::pair<std::vector<int>::iterator, bool> insertSorted(std::vector<int>& list, int value) {
    if (list.empty() || list.back() < value) {
        list.push_back(value);
        return {list.end() - 1, true};
    }
    auto at = std::lower_bound(list.begin(), list.end(), value);
    if (*at == value) return {at, false};
    return {list.insert(at, value), true};
}

inline bool eraseSorted(std::vector<int>& list, int value) {
    auto at = std::lower_bound(list.begin(), list.end(), value);
    if (at == list.end() || *at != value) return false;
    list.erase(at);
    return true;
}

// Puts a list of ints in ascending order without repeats.
inline void settleSorted(std::vector<int>& list) {
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
}

class NodeSet {
public:
    using value_type = int;
    using const_iterator = std::vector<int>::const_iterator;
    using iterator = const_iterator;  // members are changed only through insert and erase

    NodeSet() = default;
    NodeSet(std::initializer_list<int> members) {
        for (int m : members) insert(m);
    }
    template <class It>
    NodeSet(It first, It last) {
        insert(first, last);
    }

    // Adds a member; false (and the member's place) when it was there.
    std::pair<const_iterator, bool> insert(int member) {
        const auto [at, added] = insertSorted(members_, member);
        return {at, added};
    }
    template <class It>
    void insert(It first, It last) {
        for (; first != last; ++first) insert(*first);
    }
    std::size_t erase(int member) { return eraseSorted(members_, member) ? 1 : 0; }
    void clear() { members_.clear(); }
    void reserve(std::size_t n) { members_.reserve(n); }

    std::size_t count(int member) const { return std::binary_search(members_.begin(), members_.end(), member); }
    const_iterator find(int member) const {
        auto at = std::lower_bound(members_.begin(), members_.end(), member);
        return at != members_.end() && *at == member ? at : members_.end();
    }
    std::size_t size() const { return members_.size(); }
    bool empty() const { return members_.empty(); }
    const_iterator begin() const { return members_.begin(); }
    const_iterator end() const { return members_.end(); }

    friend bool operator==(const NodeSet& a, const NodeSet& b) { return a.members_ == b.members_; }
    friend bool operator!=(const NodeSet& a, const NodeSet& b) { return a.members_ != b.members_; }

private:
    std::vector<int> members_;  // ascending, no repeats
};

}  // namespace graphmat
