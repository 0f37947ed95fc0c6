// The flat stores of the search answer as the tree maps they stand in for:
// checked against a std::map model over many random operations, through
// several growths of their tables.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <stdexcept>
#include <vector>

#include "matching/PairMap.h"
#include "matching/SignatureStore.h"

namespace graphmat {
namespace {

TEST(SignatureStoreTest, AnswersAsAMapFromMemberListToNumber) {
    SignatureStore store;
    std::map<std::vector<int>, int> model;
    std::mt19937 pick(7);
    int next = 100;
    for (int round = 0; round < 20000; ++round) {
        std::vector<int> members;
        const int size = 2 + static_cast<int>(pick() % 4);
        int at = static_cast<int>(pick() % 6);
        for (int k = 0; k < size; ++k) members.push_back(at += 1 + static_cast<int>(pick() % 5));
        const auto known = model.find(members);
        ASSERT_EQ(store.find(members), known == model.end() ? -1 : known->second) << "round " << round;
        if (known == model.end()) {
            store.insert(members, next);
            model[members] = next++;
        }
    }
    EXPECT_EQ(store.size(), model.size());
    for (const auto& [members, number] : model) ASSERT_EQ(store.at(members), number);
}

TEST(SignatureStoreTest, TellsListsApartThatShareMembersOrLength) {
    SignatureStore store;
    EXPECT_TRUE(store.empty());
    EXPECT_EQ(store.find({1, 2}), -1);
    store.insert({1, 2}, 10);
    store.insert({1, 2, 3}, 11);
    store.insert({2, 1}, 12);  // never asked in this order by the search, but a list all the same
    EXPECT_EQ(store.find({1, 2}), 10);
    EXPECT_EQ(store.find({1, 2, 3}), 11);
    EXPECT_EQ(store.find({2, 1}), 12);
    EXPECT_EQ(store.find({1}), -1);
    EXPECT_EQ(store.find({1, 2, 3, 4}), -1);
    EXPECT_THROW(store.at({3}), std::out_of_range);
    store.clear();
    EXPECT_TRUE(store.empty());
    EXPECT_EQ(store.find({1, 2}), -1);
}

TEST(FlatPairStoresTest, AnswerAsAMapFromPairToValue) {
    FlatPairMap<int> flat;
    PairMap<double> stable;
    std::map<std::pair<unsigned, unsigned>, int> model;
    std::vector<std::pair<std::pair<unsigned, unsigned>, const double*>> addresses;
    std::mt19937 pick(11);
    for (int round = 0; round < 30000; ++round) {
        const unsigned i = pick() % 300, j = pick() % 5000;
        const auto known = model.find({i, j});
        const int* f = flat.find(i, j);
        ASSERT_EQ(f == nullptr, known == model.end());
        ASSERT_EQ(stable.exists(i, j), known != model.end());
        if (known != model.end()) {
            ASSERT_EQ(*f, known->second);
            ASSERT_EQ(*stable.find(i, j), known->second);
        } else {
            flat(i, j) = round;
            stable(i, j) = round;
            addresses.push_back({{i, j}, stable.find(i, j)});
            model[{i, j}] = round;
        }
    }
    EXPECT_EQ(flat.count(), static_cast<int>(model.size()));
    EXPECT_EQ(stable.count(), static_cast<int>(model.size()));
    EXPECT_EQ(stable.rows(), 300);
    // Values never move: every address handed out is still the value's.
    for (const auto& [pair, at] : addresses) {
        ASSERT_EQ(stable.find(pair.first, pair.second), at);
        ASSERT_EQ(*at, model.at(pair));
    }
}

TEST(FlatPairStoresTest, StoreTheLargestPairsLikeAnyOther) {
    constexpr unsigned top = ~0u;
    const std::vector<std::pair<unsigned, unsigned>> pairs{{top, top}, {top, 0}, {0, top}, {1, 2}};
    FlatPairMap<int> flat;
    PairMap<int> stable;
    EXPECT_FALSE(flat.exists(top, top));
    EXPECT_FALSE(stable.exists(top, top));
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        flat(pairs[k].first, pairs[k].second) = static_cast<int>(k) + 10;
        stable(pairs[k].first, pairs[k].second) = static_cast<int>(k) + 10;
        flat(pairs[k].first, pairs[k].second) += 0;  // a second store creates nothing
        stable(pairs[k].first, pairs[k].second) += 0;
    }
    EXPECT_EQ(flat.count(), 4);
    EXPECT_EQ(stable.count(), 4);
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        SCOPED_TRACE(k);
        ASSERT_TRUE(flat.find(pairs[k].first, pairs[k].second));
        EXPECT_EQ(*flat.find(pairs[k].first, pairs[k].second), static_cast<int>(k) + 10);
        EXPECT_EQ(*stable.find(pairs[k].first, pairs[k].second), static_cast<int>(k) + 10);
    }
    EXPECT_FALSE(flat.exists(top, 1));
    EXPECT_FALSE(stable.exists(2, 1));
    flat.clear();
    EXPECT_FALSE(flat.exists(top, top));
}

}  // namespace
}  // namespace graphmat
