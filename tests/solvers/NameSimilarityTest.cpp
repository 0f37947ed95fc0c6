#include <gtest/gtest.h>

#include <string>

#include "solvers/NameSimilarity.h"

namespace graphmat {
namespace {

TEST(DistanceTest, EditDistancesAndTheirNormalisedForms) {
    struct Case {
        const char* s;
        const char* t;
        int ld;
        float nld;
    };
    const Case cases[] = {
        {"flaw", "lawn", 2, 0.5f},   {"", "abc", 3, 1.0f},     {"abc", "", 3, 1.0f},
        {"", "", 0, 0.0f},           {"same", "same", 0, 0.0f}, {"kitten", "sitting", 3, 3.0f / 7},
        {"Name", "name", 1, 0.25f},  {"a", "b", 1, 1.0f},       {"ab", "abcd", 2, 0.5f},
    };
    Distance d;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.s) + " / " + c.t);
        EXPECT_EQ(d.LD(c.s, c.t), c.ld);
        EXPECT_EQ(d.NLD(c.s, c.t), c.nld);
        EXPECT_EQ(d.WNLD(c.s, c.t), d.NLD(c.s, c.t));
    }
}

TEST(DistanceTest, CellsOfTheEditTableLieRowByRow) {
    Distance d;
    int table[3 * 4] = {};
    d.PutAt(table, 2, 1, 3, 7);  // 4 columns: row 1, column 2
    EXPECT_EQ(table[1 * 4 + 2], 7);
    EXPECT_EQ(d.GetAt(table, 2, 1, 3), 7);
    EXPECT_EQ(d.GetCellPointer(table, 3, 2, 3), table + 11);
    EXPECT_EQ(d.Minimum(4, 2, 3), 2);
}

TEST(IdSimTest, WordContainmentAndPairing) {
    struct Case {
        const char* a;
        const char* b;
        double sim;
    };
    const Case cases[] = {
        {"getName", "getname", 1},                 // two words against one, equal lower-cased
        {"OrderItem", "Item", 2.0 * 4 / 13},       // one side a single word, contained
        {"Item", "OrderItem", 2.0 * 4 / 13},
        {"abc", "abd", 0},                         // equal lengths, no containment
        {"getUserName", "setUserId", 0.4},         // only user pairs with user
        {"getUserName", "getUserName", 1},
        {"getName", "nameGet", 2.0 * 7 / 14},      // pairing across positions
        {"getItems", "setItem", 2.0 * 4 / 15},     // item contained in items
        {"", "", 1},                               // no words: equal texts
        {"__", "__", 1},
        {"__", "_", 0},
        {"", "name", 0},
        {"name", "__", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_DOUBLE_EQ(IdSim(c.a, c.b), c.sim);
    }
}

}  // namespace
}  // namespace graphmat
