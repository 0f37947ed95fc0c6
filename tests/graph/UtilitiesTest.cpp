// The text, number, set and pair helpers of the shared header.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "graph/stdafx.h"

// The helpers must win over the standard library's functions of the same
// name even where a unit pulls the whole std namespace in.
using namespace std;

namespace graphmat {
namespace {

using Pieces = std::vector<std::string>;

// ------------------------------------------------------------- splitString

struct SplitCase {
    std::string text;
    std::string delim;
    Pieces pieces;
};

TEST(SplitString, CutsAtEveryDelimiterAndDropsOnlyAnEmptyLastPiece) {
    const std::vector<SplitCase> cases = {
        {"a", ",", {"a"}},
        {"a,b,c", ",", {"a", "b", "c"}},
        {",", ",", {""}},
        {",,", ",", {"", ""}},
        {"a,,b", ",", {"a", "", "b"}},
        {"a,b,", ",", {"a", "b"}},
        {",a", ",", {"", "a"}},
        {"a b  c ", " ", {"a", "b", "", "c"}},
        {"x__y__", "__", {"x", "y"}},
        {"x___y", "__", {"x", "_y"}},
        {"\"a\",\"b\"", "\",\"", {"\"a", "b\""}},
        {"7\r", ",", {"7\r"}},
        {"abc", "", {"abc"}},  // an empty delimiter never loops
    };
    for (const SplitCase& c : cases) {
        auto pieces = splitString(c.text, c.delim);
        ASSERT_NE(pieces, nullptr) << "'" << c.text << "' at '" << c.delim << "'";
        EXPECT_EQ(*pieces, c.pieces) << "'" << c.text << "' at '" << c.delim << "'";
    }
}

TEST(SplitString, EmptyTextIsNullNotAnEmptyVector) {
    EXPECT_EQ(splitString("", ","), nullptr);
    EXPECT_EQ(splitString("", ""), nullptr);
}

// ------------------------------------------------- replaceString, FindAndReplace

TEST(ReplaceString, JoinsThePiecesSoATrailingPatternIsDropped) {
    struct Case {
        std::string text, pattern, replacement, expected;
    };
    const std::vector<Case> cases = {
        {"a,b,", ",", ";", "a;b"},
        {"a,,b", ",", ";", "a;;b"},
        {",a", ",", ";", ";a"},
        {"x$y$", "$", ".", "x.y"},
        {"Outer$Inner", "$", ".", "Outer.Inner"},
        {"no pattern", "$", ".", "no pattern"},
        {"", ",", ";", ""},
        {"a,b", "", ";", "a,b"},
        {"a--b--c", "--", "+", "a+b+c"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(replaceString(c.text, c.pattern, c.replacement), c.expected) << "'" << c.text << "'";
}

TEST(FindAndReplace, ResumesBehindTheInsertedText) {
    struct Case {
        std::string text, pattern, replacement, expected;
    };
    const std::vector<Case> cases = {
        {"aaa", "a", "aa", "aaaaaa"},
        {"a,b,", ",", ";", "a;b;"},  // unlike replaceString, the last one too
        {"abcabc", "bc", "", "aa"},
        {"abc", "", "x", "abc"},  // an empty pattern changes nothing
        {"", "a", "b", ""},
        {"x.y.z", ".", "::", "x::y::z"},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        FindAndReplace(text, c.pattern, c.replacement);
        EXPECT_EQ(text, c.expected) << "'" << c.text << "'";
    }
}

// ------------------------------------------------------------- from_string

TEST(FromString, IntTakesTheLongestLeadingNumberOrLeavesTheTarget) {
    struct Case {
        std::string text;
        bool ok;
        int value;  // the target after the call; it starts at 5
    };
    const std::vector<Case> cases = {
        {"42", true, 42},
        {" 42", true, 42},
        {"\t-17", true, -17},
        {"+3", true, 3},
        {"12abc", true, 12},
        {"7\r", true, 7},
        {"4.9", true, 4},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"abc", false, 5},
        {"", false, 5},
        {"   ", false, 5},
        {"-", false, 5},
        {"x1", false, 5},
        {"99999999999", false, 5},
        {"2147483648", false, 5},
        {"-2147483649", false, 5},
    };
    for (const Case& c : cases) {
        int target = 5;
        EXPECT_EQ(from_string(c.text, target), c.ok) << "'" << c.text << "'";
        EXPECT_EQ(target, c.value) << "'" << c.text << "'";
    }
}

TEST(FromString, DoubleTakesTheLongestLeadingNumberOrLeavesTheTarget) {
    struct Case {
        std::string text;
        bool ok;
        double value;  // the target after the call; it starts at 0.25
    };
    const std::vector<Case> cases = {
        {"2.5", true, 2.5},
        {" 0.5", true, 0.5},
        {"-1e3", true, -1000.0},
        {"3.5e2xyz", true, 350.0},
        {"7\r", true, 7.0},
        {".5", true, 0.5},
        {"1,5", true, 1.0},  // "," is no decimal point
        {"1.2.3", true, 1.2},
        {"-.5", true, -0.5},
        {"5.", true, 5.0},
        {"1e5x", true, 1e5},
        // An exponent mark without digits is not part of the number.
        {"1e", true, 1.0},
        {"1ex", true, 1.0},
        {"2e+", true, 2.0},
        {"1.5E-z", true, 1.5},
        {".", false, 0.25},
        {"-", false, 0.25},
        {"e5", false, 0.25},
        {"abc", false, 0.25},
        {"", false, 0.25},
        {"1e999", false, 0.25},
        {"-1e999", false, 0.25},
    };
    for (const Case& c : cases) {
        double target = 0.25;
        EXPECT_EQ(from_string(c.text, target), c.ok) << "'" << c.text << "'";
        EXPECT_EQ(target, c.value) << "'" << c.text << "'";
    }
}

// --------------------------------------------------------------- to_string

TEST(ToString, DefaultStreamFormatting) {
    EXPECT_EQ(to_string(2.0), "2");
    EXPECT_EQ(to_string(0.1), "0.1");
    EXPECT_EQ(to_string(0.5), "0.5");
    EXPECT_EQ(to_string(100.0), "100");
    EXPECT_EQ(to_string(1234567.0), "1.23457e+06");
    EXPECT_EQ(to_string(123456.0), "123456");
    EXPECT_EQ(to_string(0.00001), "1e-05");
    EXPECT_EQ(to_string(0.0001), "0.0001");
    EXPECT_EQ(to_string(1.0 / 3.0), "0.333333");
    EXPECT_EQ(to_string(-2.5), "-2.5");
    EXPECT_EQ(to_string(1e100), "1e+100");
    EXPECT_EQ(to_string(2.5f), "2.5");
    EXPECT_EQ(to_string(0.1f), "0.1");
    EXPECT_EQ(to_string(1234567.0f), "1.23457e+06");
    EXPECT_EQ(to_string(-3), "-3");
    EXPECT_EQ(to_string(0), "0");
    EXPECT_EQ(to_string(static_cast<short>(-12)), "-12");
    EXPECT_EQ(to_string(2147483647), "2147483647");
}

TEST(ToString, AnUnqualifiedCallNeverPicksTheStandardOne) {
    // std::to_string(2.0) would give "2.000000".
    std::string twoD = to_string(2.0);
    std::string twoF = to_string(2.0f);
    std::string seven = to_string(7);
    EXPECT_EQ(twoD, "2");
    EXPECT_EQ(twoF, "2");
    EXPECT_EQ(seven, "7");
}

// --------------------------------------------------- set_inter, stringISet

TEST(SetInter, KeepsTheStringsOfTheFirstSetThatTheSecondHolds) {
    std::set<std::string> a = {"get", "item", "count"};
    std::set<std::string> b = {"count", "set", "item"};
    std::set<std::string> none;
    auto both = set_inter(&a, &b);
    ASSERT_NE(both, nullptr);
    EXPECT_EQ(*both, (std::set<std::string>{"count", "item"}));
    auto empty = set_inter(&a, &none);
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->empty());
}

TEST(StringISet, AscendingValuesJoinedByCommas) {
    std::set<int> values = {7, 1, 4};
    std::set<int> negative = {3, -1};
    std::set<int> one = {12};
    std::set<int> empty;
    EXPECT_EQ(stringISet(&values), "1,4,7");
    EXPECT_EQ(stringISet(&negative), "-1,3");
    EXPECT_EQ(stringISet(&one), "12");
    EXPECT_EQ(stringISet(&empty), "");
    EXPECT_EQ(stringISet(nullptr), "");
}

// ------------------------------------------------ sort_paires and compaire

TEST(SortPaires, LargestValueFirstAndTheCallersVectorUntouched) {
    std::vector<paire> pairs = {{0, 0, 0.5}, {1, 1, 2.0}, {2, 2, -1.0}, {3, 3, 1.5}};
    std::vector<paire> sorted = sort_paires(pairs);
    ASSERT_EQ(sorted.size(), 4u);
    EXPECT_EQ(sorted[0].x1, 1u);
    EXPECT_EQ(sorted[1].x1, 3u);
    EXPECT_EQ(sorted[2].x1, 0u);
    EXPECT_EQ(sorted[3].x1, 2u);
    EXPECT_EQ(pairs[0].x1, 0u);
    EXPECT_EQ(pairs[1].val, 2.0);
    EXPECT_TRUE(sort_paires({}).empty());
}

TEST(SortPaires, TiesKeepTheirOrderAndNotANumberGoesLast) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<paire> pairs = {{0, 9, 1.0}, {1, 8, nan}, {2, 7, 3.0}, {3, 6, 1.0}, {4, 5, nan}, {5, 4, 1.0}};
    std::vector<paire> sorted = sort_paires(pairs);
    std::vector<unsigned> order;
    for (const paire& p : sorted) order.push_back(p.x1);
    EXPECT_EQ(order, (std::vector<unsigned>{2, 0, 3, 5, 1, 4}));
}

TEST(Compaire, TrueOnlyWhenTheFirstScoresHigher) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(compaire({0, 0, 2.0}, {0, 0, 1.0}));
    EXPECT_FALSE(compaire({0, 0, 1.0}, {0, 0, 2.0}));
    EXPECT_FALSE(compaire({0, 0, 1.0}, {0, 0, 1.0}));
    EXPECT_FALSE(compaire({0, 0, nan}, {0, 0, 1.0}));
    EXPECT_FALSE(compaire({0, 0, 1.0}, {0, 0, nan}));
}

// ------------------------------------------------------------------- round

TEST(Round, FloorOfXPlusOneHalf) {
    struct Case {
        double x, expected;
    };
    const std::vector<Case> cases = {
        {2.5, 3.0}, {-2.5, -2.0}, {-2.6, -3.0}, {-0.5, 0.0}, {0.49, 0.0}, {0.5, 1.0},
        {-1.5, -1.0}, {3.0, 3.0}, {-3.0, -3.0}, {1e10 + 0.5, 1e10 + 1.0},
    };
    for (const Case& c : cases) EXPECT_EQ(round(c.x), c.expected) << c.x;
    // Unqualified, round is the project's even for a float argument.
    EXPECT_EQ(round(-2.5f), -2.0);
}

// ------------------------------------------------------- constants, records

TEST(SharedHeader, ConstantsAndZeroInitialisedRecords) {
    EXPECT_EQ(MAX_W, 5);
    EXPECT_EQ(MAX_LABELS, 10);
    EXPECT_EQ(MAX_DEGREE, 50);
    EXPECT_EQ(MAX_MULTI, 5);
    EXPECT_EQ(MAX_COST, 500000);
    EXPECT_EQ(MAX_ITERATIONS, 0.1);
    EXPECT_EQ(TABU_IN_MIN, 5);
    EXPECT_EQ(TABU_IN_MAX, 20);
    EXPECT_EQ(TABU_OUT_MIN, 5);
    EXPECT_EQ(TABU_OUT_MAX, 10);
    EXPECT_EQ(TABU_MAX, 100);
    EXPECT_EQ(TOP_FF, 100);
    EXPECT_EQ(BOTTOM_FF, 100);
    EXPECT_EQ(H_LAYERS, 1);
    EXPECT_EQ(L_LAYERS, 1);
    EXPECT_EQ(CONFIG, "config.txt");
    EXPECT_EQ(SEPARATOR, ",");

    cell c{};
    EXPECT_EQ(c.x, 0);
    EXPECT_EQ(c.y, 0);
    EXPECT_EQ(c.delta, 0.0);
    EXPECT_EQ(c.delta_m, 0.0);
    EXPECT_EQ(c.delta2, 0.0);
    EXPECT_EQ(c.delta2_m, 0.0);
    EXPECT_EQ(c.layer, 0);
    EXPECT_EQ(c.tabu, 0);
    semarel s{};
    EXPECT_EQ(s.sum, 0);
    for (int k = 0; k < SEMAREL_SLOTS; ++k) EXPECT_EQ(s.count[k], 0);
    EXPECT_EQ(SEMAREL_SLOTS, 9);
}

TEST(AsciiHelpers, BytesAboveTheAsciiRangeAreNeitherCapitalsNorChanged) {
    EXPECT_TRUE(isUpperAscii('A'));
    EXPECT_TRUE(isUpperAscii('Z'));
    EXPECT_FALSE(isUpperAscii('a'));
    EXPECT_FALSE(isUpperAscii('@'));
    EXPECT_FALSE(isUpperAscii('['));
    EXPECT_FALSE(isUpperAscii(static_cast<char>(0xC9)));  // Latin-1 capital E acute
    EXPECT_EQ(toLowerAscii(std::string("GetHTML_Zx")), "gethtml_zx");
    const std::string utf8 = "\xC3\x89TAT\xFF";
    EXPECT_EQ(toLowerAscii(utf8), "\xC3\x89tat\xFF");
}

}  // namespace
}  // namespace graphmat
