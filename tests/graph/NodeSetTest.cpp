// A member set answers as std::set<int> does: the same members in the same
// order and the same answers, whatever the order of its changes.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "graph/NodeSet.h"

namespace graphmat {
namespace {

TEST(NodeSetTest, AnswersAsAStdSetOverRandomChanges) {
    NodeSet members;
    std::set<int> model;
    std::mt19937 pick(3);
    for (int round = 0; round < 5000; ++round) {
        const int value = static_cast<int>(pick() % 64) - 8;
        switch (pick() % 3) {
            case 0: {
                const auto [at, added] = members.insert(value);
                ASSERT_EQ(added, model.insert(value).second);
                ASSERT_EQ(*at, value);
                break;
            }
            case 1: ASSERT_EQ(members.erase(value), model.erase(value)); break;
            default:
                ASSERT_EQ(members.count(value), model.count(value));
                ASSERT_EQ(members.find(value) != members.end(), model.count(value) == 1);
        }
        ASSERT_EQ(std::vector<int>(members.begin(), members.end()), std::vector<int>(model.begin(), model.end()));
        ASSERT_EQ(members.size(), model.size());
    }
}

TEST(NodeSetTest, BuildsFromListsAndRangesWithoutRepeats) {
    EXPECT_TRUE(NodeSet{}.empty());
    EXPECT_EQ(NodeSet({5, 1, 5, 3}), NodeSet({1, 3, 5}));
    const std::vector<int> numbers{9, 4, 12, 4};
    const NodeSet fromRange(numbers.begin(), numbers.end());
    EXPECT_EQ(std::vector<int>(fromRange.begin(), fromRange.end()), (std::vector<int>{4, 9, 12}));
    EXPECT_NE(fromRange, NodeSet({4, 9}));
    NodeSet cleared{1, 2};
    cleared.clear();
    EXPECT_TRUE(cleared.empty());
}

}  // namespace
}  // namespace graphmat
