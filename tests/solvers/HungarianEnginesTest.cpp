// The solver's engines against a frozen copy of the explicit steps: the
// whole assignment (not only its total) and the printed reports must be the
// same, on matrices where many assignments tie, whichever engine a solve
// starts on.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "BruteForceAssignment.h"
#include "HungarianTestAccess.h"
#include "ReferenceHungarian.h"
#include "solvers/Hungarian.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::CaptureStdout;
using Matrix = std::vector<std::vector<double>>;
using Engine = HungarianTestAccess::Engine;
using Choice = HungarianTestAccess::Choice;
using GiveUp = HungarianTestAccess::GiveUp;

// What the frozen steps give on a: the results and the printed reports.
struct Expected {
    std::vector<int> results;
    std::string text;
};

Expected referenceOf(const Matrix& a, int cols) {
    std::vector<const double*> table;
    for (const auto& row : a) table.push_back(row.data());
    test::ReferenceHungarian reference;
    CaptureStdout capture;
    reference.solve(table.data(), static_cast<int>(a.size()), cols);
    return {reference.results, capture.text()};
}

// Solves a with the solver starting on the engine of `choice` (a fresh
// one, and the shared one that has solved other problems before); both
// must give the expected results and print the expected reports. Returns
// the engine that ended the solve.
Engine expectAsExpected(const Expected& expected, const Matrix& a, int cols, Hungarian& shared,
                        const std::string& what, Choice choice) {
    const int rows = static_cast<int>(a.size());
    std::vector<const double*> table;
    for (const auto& row : a) table.push_back(row.data());
    Hungarian fresh;
    HungarianTestAccess::choose(fresh, choice);
    HungarianTestAccess::choose(shared, choice);
    std::string text, sharedText;
    {
        CaptureStdout capture;
        fresh.solve(table.data(), rows, cols);
        text = capture.text();
    }
    {
        CaptureStdout capture;
        shared.solve(rows, cols, [&](int i, double* out) { std::copy(a[i].begin(), a[i].end(), out); });
        sharedText = capture.text();
    }
    EXPECT_EQ(fresh.results, expected.results) << what;
    EXPECT_EQ(shared.results, expected.results) << what << " (reused solver)";
    EXPECT_EQ(text, expected.text) << what;
    EXPECT_EQ(sharedText, expected.text) << what << " (reused solver)";
    EXPECT_EQ(HungarianTestAccess::engine(shared), HungarianTestAccess::engine(fresh)) << what;
    EXPECT_EQ(HungarianTestAccess::giveUp(shared), HungarianTestAccess::giveUp(fresh)) << what;
    return HungarianTestAccess::engine(fresh);
}

// The same against the frozen steps' run on a.
Engine expectSameAsReference(const Matrix& a, int cols, Hungarian& shared, const std::string& what,
                             Choice choice = Choice::Potentials) {
    return expectAsExpected(referenceOf(a, cols), a, cols, shared, what, choice);
}

// Each choice of engine against one run of the frozen steps; returns the
// engine the solver's own choice ended on.
Engine expectEveryEngineAsReference(const Matrix& a, int cols, Hungarian& shared, const std::string& what) {
    const Expected expected = referenceOf(a, cols);
    EXPECT_EQ(expectAsExpected(expected, a, cols, shared, what + " (square)", Choice::Square), Engine::Square);
    expectAsExpected(expected, a, cols, shared, what + " (potentials first)", Choice::Potentials);
    return expectAsExpected(expected, a, cols, shared, what + " (by the costs)", Choice::ByCosts);
}

Matrix filled(int rows, int cols, const std::function<double(int, int)>& cell) {
    Matrix a(rows, std::vector<double>(cols));
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j) a[i][j] = cell(i, j);
    return a;
}

// The shape of the structural start: pair costs, a deletion and an
// insertion diagonal with 32767 off it, and free filler pairs.
Matrix structuralSquare(std::mt19937& gen, int order1, int order2, double diagonalExtra) {
    std::uniform_int_distribution<int> pair(0, 6), arcs(0, 5);
    const int side = order1 + order2;
    return filled(side, side, [&](int i, int j) -> double {
        if (i < order1 && j < order2) return 0.5 * pair(gen);
        if (i < order1) return j == order2 + i ? 0.5 * arcs(gen) + diagonalExtra : 32767.0;
        if (j < order2) return i == order1 + j ? 0.5 * arcs(gen) + diagonalExtra : 32767.0;
        return 0.0;
    });
}

TEST(HungarianEngines, PotentialsPickTheSameZerosAsTheExplicitSteps) {
    std::mt19937 gen(2801);
    Hungarian shared;
    struct Shape {
        int rows, cols;
    };
    // Squares, and rectangles padded with filler rows or filler columns.
    const Shape shapes[] = {{70, 70}, {65, 120}, {20, 150}, {130, 80}, {97, 97}, {1, 90}, {90, 1}};
    for (const Shape& s : shapes)
        for (int spread : {1, 3, 40}) {
            std::uniform_int_distribution<int> small(0, spread);
            // Integer costs with many ties, and halves.
            const Matrix ties = filled(s.rows, s.cols, [&](int, int) { return small(gen); });
            const std::string what = std::to_string(s.rows) + "x" + std::to_string(s.cols) + " spread " +
                                     std::to_string(spread);
            EXPECT_EQ(expectSameAsReference(ties, s.cols, shared, what), Engine::Potentials) << what;
            const Matrix halves = filled(s.rows, s.cols, [&](int, int) { return 0.5 * small(gen) + 2; });
            EXPECT_EQ(expectSameAsReference(halves, s.cols, shared, what + " halves"), Engine::Potentials);
        }
    // Constant blocks: the structural start's square, whole rows and
    // columns of equal costs, and an all-zero matrix.
    for (int round = 0; round < 3; ++round) {
        const Matrix square = structuralSquare(gen, 40 + 9 * round, 55 - 7 * round, 0);
        EXPECT_EQ(expectSameAsReference(square, static_cast<int>(square.size()), shared, "structural square"),
                  Engine::Potentials);
    }
    const Matrix stripes = filled(80, 100, [](int i, int j) { return i % 7 == 0 ? 5.0 : j % 5 == 0 ? 1.0 : 3.0; });
    EXPECT_EQ(expectSameAsReference(stripes, 100, shared, "stripes"), Engine::Potentials);
    const Matrix zeros = filled(70, 66, [](int, int) { return 0.0; });
    EXPECT_EQ(expectSameAsReference(zeros, 66, shared, "all zero"), Engine::Potentials);
}

TEST(HungarianEngines, CostsThatAreNotFloatsAreKeptExactly) {
    std::mt19937 gen(2802);
    Hungarian shared;
    // A diagonal of costs with more bits than a float holds (kept beside
    // the floats), still exact in double sums: the potentials engine.
    const Matrix fine = structuralSquare(gen, 50, 45, std::ldexp(1.0, -30));
    EXPECT_EQ(expectSameAsReference(fine, static_cast<int>(fine.size()), shared, "few doubles"),
              Engine::Potentials);
    // Every cost a double: kept as doubles.
    std::uniform_int_distribution<int> small(0, 4);
    const Matrix doubles = filled(75, 90, [&](int, int) { return small(gen) + std::ldexp(1.0, -28); });
    EXPECT_EQ(expectSameAsReference(doubles, 90, shared, "all doubles"), Engine::Potentials);
}

TEST(HungarianEngines, InexactCostsRunOnTheExplicitSquare) {
    std::mt19937 gen(2803);
    Hungarian shared;
    // 1 - similarity with similarities as floats, some of them tiny: sums
    // of such costs round, so the explicit steps run.
    std::uniform_real_distribution<float> similarity(0.0f, 1.0f);
    std::uniform_int_distribution<int> tiny(0, 9);
    // Above side 256 the costs are read into the potentials' store first;
    // the square is then filled from it.
    for (const auto& shape : {std::pair<int, int>{70, 110}, {120, 75}, {90, 90}, {262, 240}, {250, 270}}) {
        const Matrix a = filled(shape.first, shape.second, [&](int, int) {
            float s = similarity(gen);
            if (tiny(gen) == 0) s = s * 1e-6f;
            if (tiny(gen) == 1) s = std::round(s * 4) / 4;  // ties
            return 1.0 - s;
        });
        EXPECT_EQ(expectSameAsReference(a, shape.second, shared, "similarities"), Engine::Square);
    }
    // Coarse whole costs with a fine fraction: the exact range 2^(51+g)
    // is 16 in round 0, below the largest cost (24 and a fraction), so the
    // potentials hand over after step 1; from round 1 on it is 64 or more,
    // and the potentials of such random costs stay well inside it.
    std::uniform_int_distribution<int> coarse(0, 3), fraction(0, 1 << 20);
    for (int round = 0; round < 4; ++round) {
        const Matrix a = filled(80, 80, [&](int, int) {
            return 8 * coarse(gen) + std::ldexp(static_cast<double>(fraction(gen)), -47 + 2 * round);
        });
        const std::string what = "fine fractions " + std::to_string(round);
        const Engine engine = expectSameAsReference(a, 80, shared, what);
        EXPECT_EQ(engine, round == 0 ? Engine::Square : Engine::Potentials) << what;
        EXPECT_EQ(HungarianTestAccess::giveUp(shared), round == 0 ? GiveUp::AfterStep1 : GiveUp::None) << what;
    }
}

// Potentials that start inside the exact range and leave it part way. The
// costs are i x j, with 2^(e - 51) added at (1, 1) for the first power of
// two 2^e above the largest cost: the grain is then that fraction and the
// exact range 2^e, 1.3 to 1.6 times the largest cost. Row and column 0 are
// free, so step 1 leaves every potential at 0 and the range holds; the
// optimum is the anti-diagonal (the larger i, the smaller j), and on the
// way to it the step-6 sums grow to about the largest cost, which takes
// the potentials out of the range after a step 6. The solve starts again
// on the square and ends on the optimum.
TEST(HungarianEngines, PotentialsLeavingTheExactRangePartWayHandOverToTheSquare) {
    Hungarian shared;
    for (int side : {10, 40}) {
        const double largest = static_cast<double>(side - 1) * (side - 1);
        const double fine = std::ldexp(1.0, std::ilogb(largest) + 1 - 51);
        Matrix a = filled(side, side, [](int i, int j) { return static_cast<double>(i) * j; });
        a[1][1] += fine;
        const std::string what = "i x j, side " + std::to_string(side);
        // Few tied rows (row 0 alone): the costs choose the potentials.
        for (Choice choice : {Choice::ByCosts, Choice::Potentials}) {
            EXPECT_EQ(expectSameAsReference(a, side, shared, what, choice), Engine::Square) << what;
            EXPECT_EQ(HungarianTestAccess::giveUp(shared), GiveUp::AfterStep6) << what;
        }
        double total = 0, antiDiagonal = 0;
        for (int i = 0; i < side; ++i) {
            EXPECT_EQ(shared.results[i], side - 1 - i) << what << ", row " << i;
            total += a[i][shared.results[i]];
            antiDiagonal += static_cast<double>(i) * (side - 1 - i);
        }
        EXPECT_EQ(total, antiDiagonal) << what;
        if (side <= 10) {
            EXPECT_EQ(total, test::bruteForceAssignment(a, side, side)) << what;
        }
    }
}

TEST(HungarianEngines, NegativeAndNonFiniteCellsInALargeMatrix) {
    std::mt19937 gen(2804);
    Hungarian shared;
    std::uniform_int_distribution<int> small(0, 3), where(0, 200);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Matrix a = filled(72, 81, [&](int, int) -> double {
        const int w = where(gen);
        if (w == 0) return nan;
        if (w == 1) return inf;
        if (w == 2) return -small(gen) - 1;
        return small(gen);
    });
    expectSameAsReference(a, 81, shared, "negative and non-finite");
}

TEST(HungarianEngines, TheCostsChooseTheEngine) {
    std::mt19937 gen(2806);
    Hungarian shared;
    std::uniform_real_distribution<float> similarity(0.0f, 1.0f);
    std::uniform_int_distribution<int> halves(0, 6), wide(0, 10000);
    const std::function<double(int, int)> oneLess = [&](int, int) { return 1.0 - similarity(gen); };
    const std::function<double(int, int)> tieHeavy = [&](int, int) { return 0.5 * halves(gen); };
    const std::function<double(int, int)> fewTies = [&](int, int) { return wide(gen); };
    struct Case {
        const char* what;
        int rows, cols;
        const std::function<double(int, int)>& cost;
        Engine engine;
    };
    const Case cases[] = {
        // Up to side 256: costs with many ties on the square, costs with
        // few ties on the potentials.
        {"halves, side 256", 256, 256, tieHeavy, Engine::Square},
        {"halves, 100 x 120", 100, 120, tieHeavy, Engine::Square},
        {"halves, 120 x 100", 120, 100, tieHeavy, Engine::Square},
        {"1 - similarity, side 256", 256, 256, oneLess, Engine::Potentials},
        {"1 - similarity, 40 x 200", 40, 200, oneLess, Engine::Potentials},
        {"whole numbers up to 10000, 120 x 100", 120, 100, fewTies, Engine::Potentials},
        // Up to side 8, and one row: the square.
        {"1 - similarity, side 8", 8, 8, oneLess, Engine::Square},
        {"1 - similarity, 5 x 8", 5, 8, oneLess, Engine::Square},
        {"1 - similarity, one row", 1, 200, oneLess, Engine::Square},
        // Above side 256: the potentials.
        {"halves, side 257", 257, 257, tieHeavy, Engine::Potentials},
        {"halves, 40 x 300", 40, 300, tieHeavy, Engine::Potentials},
    };
    for (const Case& c : cases) {
        const Matrix a = filled(c.rows, c.cols, c.cost);
        EXPECT_EQ(expectSameAsReference(a, c.cols, shared, c.what, Choice::ByCosts), c.engine) << c.what;
    }
    const Matrix square = structuralSquare(gen, 120, 140, 0);
    EXPECT_EQ(expectSameAsReference(square, 260, shared, "structural square", Choice::ByCosts), Engine::Potentials);

    // The border: 3 rows in 8 whose least cost is held by two cells, the
    // tied rows first or last (the choice stops reading rows once its
    // answer is known).
    for (int tied : {5, 6})
        for (bool last : {false, true}) {
            const Matrix a = filled(16, 16, [&](int i, int j) -> double {
                const bool tiedRow = last ? i >= 16 - tied : i < tied;
                return tiedRow && j < 2 ? 0 : 1 + j * 16 + i;
            });
            const std::string what = std::to_string(tied) + " tied rows in 16, " + (last ? "last" : "first");
            EXPECT_EQ(expectSameAsReference(a, 16, shared, what, Choice::ByCosts),
                      tied == 6 ? Engine::Square : Engine::Potentials)
                << what;
        }
}

// Around the largest square that is read straight into the square: every
// engine, squares and rectangles, ties, similarities, -0.0 and non-finite
// costs.
TEST(HungarianEngines, SidesAroundTheLargestSquare) {
    std::mt19937 gen(2808);
    Hungarian shared;
    std::uniform_real_distribution<float> similarity(0.0f, 1.0f);
    std::uniform_int_distribution<int> halves(0, 6), where(0, 400);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Shape {
        int rows, cols;
    };
    for (const Shape& shape : {Shape{255, 255}, Shape{256, 256}, Shape{257, 257}, Shape{256, 257}, Shape{257, 255}}) {
        const std::string side = std::to_string(shape.rows) + " x " + std::to_string(shape.cols);
        const Matrix ties = filled(shape.rows, shape.cols, [&](int, int) {
            const double v = 0.5 * halves(gen);
            return v == 0 ? -0.0 : v;
        });
        expectEveryEngineAsReference(ties, shape.cols, shared, "halves and -0.0, " + side);
        const Matrix oneLess = filled(shape.rows, shape.cols, [&](int, int) -> double {
            const int w = where(gen);
            if (w == 0) return nan;
            if (w == 1) return inf;
            if (w == 2) return -0.0;
            return 1.0 - similarity(gen);
        });
        expectEveryEngineAsReference(oneLess, shape.cols, shared, "similarities, NaN and inf, " + side);
    }
}

// The bound that keeps the potentials exact stays finite for costs that
// are multiples of a huge power of two: while the potentials stay far below
// the largest double they run; costs close to it go to the square, where
// the steps' sums overflow exactly as the explicit steps' do.
TEST(HungarianEngines, HugeCostsKeepTheBoundFinite) {
    std::mt19937 gen(2809);
    Hungarian shared;
    std::uniform_int_distribution<int> small(0, 3);
    const Matrix fine = filled(270, 270, [&](int, int) { return std::ldexp(small(gen), 980); });
    EXPECT_EQ(expectSameAsReference(fine, 270, shared, "multiples of 2^980", Choice::ByCosts), Engine::Potentials);
    const Matrix huge = filled(270, 270, [&](int, int) { return std::ldexp(small(gen), 1022); });
    EXPECT_EQ(expectSameAsReference(huge, 270, shared, "multiples of 2^1022", Choice::ByCosts), Engine::Square);
}

TEST(HungarianEngines, OneRowTakesItsFirstLeastCost) {
    Hungarian shared;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Matrix rows[] = {
        {{3}},
        {{2, 1, 1, 5}},
        {{0, 0, 0}},
        {{4, -1, 7, -1}},
        {{nan, 2, inf, 2}},
        {{nan, inf}},
        {{0.1 + 0.2, 0.3, 0.30000000000000004}},
    };
    for (const Matrix& a : rows) {
        const int cols = static_cast<int>(a[0].size());
        EXPECT_EQ(expectSameAsReference(a, cols, shared, "one row of " + std::to_string(cols), Choice::ByCosts),
                  Engine::Square);
        EXPECT_EQ(shared.mark(0, shared.results[0]), 1);
        for (int j = 0; j < cols; ++j) EXPECT_EQ(shared.C_cov[j], 1) << "every column ends covered";
    }
    std::mt19937 gen(2807);
    std::uniform_int_distribution<int> small(0, 3), width(1, 256);
    for (int round = 0; round < 40; ++round) {
        const int cols = width(gen);
        const Matrix a = filled(1, cols, [&](int, int) { return small(gen); });
        expectSameAsReference(a, cols, shared, "one row " + std::to_string(round), Choice::ByCosts);
    }
}

TEST(HungarianEngines, SmallProblemsMatchTheReference) {
    std::mt19937 gen(2805);
    Hungarian shared;
    std::uniform_int_distribution<int> side(0, 200), small(0, 2);
    std::uniform_real_distribution<double> real(-1, 3);
    std::uniform_int_distribution<int> wideCost(0, 9);
    for (int round = 0; round < 150; ++round) {
        // Mostly one word of columns, some several.
        const int rows = side(gen) % (round % 3 == 0 ? 9 : round % 3 == 1 ? 65 : 201);
        const int cols = side(gen) % (round % 3 == 0 ? 9 : round % 3 == 1 ? 65 : 201);
        if (rows == 0) continue;
        const bool ties = round % 2 == 0;
        const Matrix a = filled(rows, cols, [&](int, int) { return ties ? small(gen) : real(gen); });
        EXPECT_EQ(expectSameAsReference(a, cols, shared, "small " + std::to_string(round), Choice::Square),
                  Engine::Square);
        expectSameAsReference(a, cols, shared, "small by the costs " + std::to_string(round), Choice::ByCosts);
        // Few rows over many columns: many filler rows, whose zeros span
        // several words.
        const int few = 1 + rows % 40;
        const Matrix wide = filled(few, std::max(cols, 65), [&](int, int) { return wideCost(gen); });
        EXPECT_EQ(expectSameAsReference(wide, std::max(cols, 65), shared, "wide " + std::to_string(round),
                                        Choice::Square),
                  Engine::Square);
    }
}

}  // namespace
}  // namespace graphmat
