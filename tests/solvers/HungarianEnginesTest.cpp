// The solver's engines against a frozen copy of the explicit steps: the
// whole assignment (not only its total) and the printed reports must be the
// same, on matrices where many assignments tie.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

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

// Solves a with the frozen steps and with the solver (a fresh one, and the
// shared one that has solved other problems before), whose small engine
// takes squares up to smallSide; all three must give the same results and
// print the same reports. Returns the engine used.
Engine expectSameAsReference(const Matrix& a, int cols, Hungarian& shared, const std::string& what,
                             Choice choice = Choice::Potentials) {
    const int rows = static_cast<int>(a.size());
    std::vector<const double*> table;
    for (const auto& row : a) table.push_back(row.data());

    test::ReferenceHungarian reference;
    std::string referenceText, text, sharedText;
    {
        CaptureStdout capture;
        reference.solve(table.data(), rows, cols);
        referenceText = capture.text();
    }
    Hungarian fresh;
    HungarianTestAccess::choose(fresh, choice);
    HungarianTestAccess::choose(shared, choice);
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
    EXPECT_EQ(fresh.results, reference.results) << what;
    EXPECT_EQ(shared.results, reference.results) << what << " (reused solver)";
    EXPECT_EQ(text, referenceText) << what;
    EXPECT_EQ(sharedText, referenceText) << what << " (reused solver)";
    EXPECT_EQ(HungarianTestAccess::engine(shared), HungarianTestAccess::engine(fresh)) << what;
    return HungarianTestAccess::engine(fresh);
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
    for (const auto& shape : {std::pair<int, int>{70, 110}, {120, 75}, {90, 90}}) {
        const Matrix a = filled(shape.first, shape.second, [&](int, int) {
            float s = similarity(gen);
            if (tiny(gen) == 0) s = s * 1e-6f;
            if (tiny(gen) == 1) s = std::round(s * 4) / 4;  // ties
            return 1.0 - s;
        });
        EXPECT_EQ(expectSameAsReference(a, shape.second, shared, "similarities"), Engine::Square);
    }
    // Costs exact at the start whose potentials outgrow the exact range
    // part way: the solve starts again on the explicit square. Whichever
    // engine ends it, the assignment is the reference's.
    std::uniform_int_distribution<int> coarse(0, 3), fraction(0, 1 << 20);
    for (int round = 0; round < 4; ++round) {
        const Matrix a = filled(80, 80, [&](int, int) {
            return 8 * coarse(gen) + std::ldexp(static_cast<double>(fraction(gen)), -47 + 2 * round);
        });
        expectSameAsReference(a, 80, shared, "growing potentials " + std::to_string(round));
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

TEST(HungarianEngines, TheSideOfTheSquareChoosesTheEngine) {
    std::mt19937 gen(2806);
    Hungarian shared;
    // By default the small engine takes squares up to 256, the potentials
    // the larger ones.
    const Matrix square = structuralSquare(gen, 120, 140, 0);
    EXPECT_EQ(expectSameAsReference(square, 260, shared, "side 260", Choice::ByCosts), Engine::Potentials);
    const Matrix smaller(square.begin(), square.begin() + 100);
    EXPECT_EQ(expectSameAsReference(smaller, 256, shared, "side 256", Choice::ByCosts), Engine::Square);
    // Small squares on the potentials too.
    std::uniform_int_distribution<int> side(1, 12), small(0, 2);
    for (int round = 0; round < 200; ++round) {
        const int rows = side(gen), cols = side(gen);
        const Matrix a = filled(rows, cols, [&](int, int) { return small(gen); });
        EXPECT_EQ(expectSameAsReference(a, cols, shared, "tiny " + std::to_string(round)), Engine::Potentials);
    }
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
        EXPECT_EQ(expectSameAsReference(a, cols, shared, "one row of " + std::to_string(cols), Choice::ByCosts), Engine::Square);
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
        EXPECT_EQ(expectSameAsReference(a, cols, shared, "small " + std::to_string(round), Choice::ByCosts), Engine::Square);
        // Few rows over many columns: many filler rows, whose zeros span
        // several words.
        const int few = 1 + rows % 40;
        const Matrix wide = filled(few, std::max(cols, 65), [&](int, int) { return wideCost(gen); });
        EXPECT_EQ(expectSameAsReference(wide, std::max(cols, 65), shared, "wide " + std::to_string(round), Choice::ByCosts),
                  Engine::Square);
    }
}

}  // namespace
}  // namespace graphmat
