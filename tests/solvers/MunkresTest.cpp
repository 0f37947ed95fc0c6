#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "BruteForceAssignment.h"
#include "solvers/Hungarian.h"
#include "solvers/Matrix.h"
#include "solvers/Munkres.h"
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::CaptureStdout;
using Rows = std::vector<std::vector<double>>;

Matrix<double> toMatrix(const Rows& rows) {
    Matrix<double> m(static_cast<int>(rows.size()), rows.empty() ? 0 : static_cast<int>(rows[0].size()));
    for (int i = 0; i < m.rows(); ++i)
        for (int j = 0; j < m.columns(); ++j) m(i, j) = rows[i][j];
    return m;
}

// Solves quietly; the chosen cells per row (-1 where none), after checking
// that the matrix holds only 0 and -1 and that no column is chosen twice.
std::vector<int> solveQuietly(Munkres& solver, Matrix<double>& m) {
    CaptureStdout quiet;
    solver.solve(m);
    std::vector<int> chosen(m.rows(), -1);
    std::vector<bool> used(m.columns(), false);
    for (int i = 0; i < m.rows(); ++i)
        for (int j = 0; j < m.columns(); ++j) {
            EXPECT_TRUE(m(i, j) == 0 || m(i, j) == -1) << i << "," << j << ": " << m(i, j);
            if (m(i, j) != 0) continue;
            EXPECT_EQ(chosen[i], -1) << "row " << i << " chosen twice";
            EXPECT_FALSE(used[j]) << "column " << j << " chosen twice";
            chosen[i] = j;
            used[j] = true;
        }
    return chosen;
}

double total(const Rows& a, const std::vector<int>& chosen) {
    double sum = 0;
    for (std::size_t i = 0; i < chosen.size(); ++i)
        if (chosen[i] >= 0) sum += a[i][chosen[i]];
    return sum;
}

int assignedCount(const std::vector<int>& chosen) {
    return static_cast<int>(std::count_if(chosen.begin(), chosen.end(), [](int j) { return j >= 0; }));
}

double bruteForce(const Rows& a) {
    return test::bruteForceAssignment(a, static_cast<int>(a.size()), a.empty() ? 0 : static_cast<int>(a[0].size()));
}

// ------------------------------------------------------------------ Matrix

TEST(MatrixTest, ResizeKeepsTheSharedBlockAndZeroesTheRest) {
    Matrix<int> m(2, 3);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j) m(i, j) = 10 * i + j + 1;
    m.resize(3, 2);
    EXPECT_EQ(m.rows(), 3);
    EXPECT_EQ(m.columns(), 2);
    const int expected[3][2] = {{1, 2}, {11, 12}, {0, 0}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 2; ++j) EXPECT_EQ(m(i, j), expected[i][j]) << i << "," << j;
    m.resize(1, 4);
    EXPECT_EQ(m(0, 0), 1);
    EXPECT_EQ(m(0, 1), 2);
    EXPECT_EQ(m(0, 2), 0);
    EXPECT_EQ(m(0, 3), 0);
    m.clear();
    EXPECT_EQ(m(0, 0), 0);
    EXPECT_EQ(m.minsize(), 1);
}

TEST(MatrixTest, CopiesAreDeepAndAnEmptySourceEmptiesTheTarget) {
    Matrix<double> a(2, 2);
    a(1, 1) = 5;
    Matrix<double> b = a;
    Matrix<double> c(1, 1);
    c = a;
    a(1, 1) = 7;
    EXPECT_EQ(b(1, 1), 5);
    EXPECT_EQ(c(1, 1), 5);
    EXPECT_EQ(c.rows(), 2);

    c = Matrix<double>();
    EXPECT_EQ(c.rows(), 0);
    EXPECT_EQ(c.columns(), 0);
    EXPECT_TRUE(c.m_matrix.empty());
}

TEST(MatrixDeathTest, ABadIndexEndsTheProcessNamingTheCheckAndTheIndex) {
    Matrix<double> m(2, 3);
    EXPECT_DEATH(m(2, 0), "x < m_rows.*element \\(2,0\\) of a 2 x 3 matrix");
    EXPECT_DEATH(m(0, 3), "y < m_columns.*\\(0,3\\)");
    EXPECT_DEATH(m(-1, 0), "x >= 0");
    EXPECT_DEATH(m(0, -4), "y >= 0");
    Matrix<int> empty;
    EXPECT_DEATH(empty(0, 0), "x < m_rows");
}

// ----------------------------------------------------------------- Munkres

TEST(MunkresTest, AnEmptyMatrixEndsAtOnce) {
    Matrix<double> m;
    Munkres solver;
    CaptureStdout out;
    solver.solve(m);
    EXPECT_EQ(out.text(), "\n STEP 1 \n\n STEP 2 \n\n STEP 3 \n");
    EXPECT_EQ(m.rows(), 0);
    EXPECT_EQ(m.columns(), 0);
}

TEST(MunkresTest, OneZeroPerRowAndColumnNeedsStepsOneToThree) {
    Matrix<double> m = toMatrix({{5, 1, 3}, {2, 4, 9}, {7, 8, 6}});
    Munkres solver;
    CaptureStdout out;
    solver.solve(m);
    EXPECT_EQ(out.text(), "\n STEP 1 \n\n STEP 2 \n\n STEP 3 \n0,1\n1,0\n2,2\n");
    const double expected[3][3] = {{-1, 0, -1}, {0, -1, -1}, {-1, -1, 0}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_EQ(m(i, j), expected[i][j]);
}

TEST(MunkresTest, TheTraceShowsPrimesAndTheAdjustment) {
    // After step 1 both rows have their zero in column 0: one star, then a
    // prime, an adjustment of 1 and an augmenting sequence.
    Matrix<double> m = toMatrix({{1, 2}, {1, 3}});
    Munkres solver;
    CaptureStdout out;
    solver.solve(m);
    EXPECT_EQ(out.text(),
              "\n STEP 1 \n\n STEP 2 \n\n STEP 3 \n\n STEP 4 \n\n STEP 6 \n\n STEP 4 \n0,1"
              "\n STEP 4 \n1,0\n STEP 5 \n\n STEP 3 \n0,1\n1,0\n");
    EXPECT_EQ(m(0, 1), 0);
    EXPECT_EQ(m(1, 0), 0);
}

TEST(MunkresTest, ARowMinimumOfOneTenthIsStillAssigned) {
    Matrix<double> m = toMatrix({{0.1, 0.5}, {0.7, 0.3}});
    Munkres solver;
    EXPECT_EQ(solveQuietly(solver, m), (std::vector<int>{0, 1}));
}

// The chosen cells have the least total, on square and rectangular
// matrices of either orientation, with and without ties, and agree in
// cost with Hungarian.
TEST(MunkresTest, SeededRandomMatricesAgreeWithBruteForceAndHungarian) {
    struct Shape {
        int rows, cols, range;  // range 0: real values, else integers 0..range-1
    };
    const Shape shapes[] = {{1, 1, 0}, {3, 3, 0}, {4, 4, 3},  {5, 5, 2},  {6, 6, 0}, {2, 5, 0},
                            {3, 6, 2}, {5, 2, 0}, {6, 3, 3},  {7, 4, 0},  {4, 1, 0}, {1, 4, 2},
                            {6, 6, 1}, {5, 7, 4}, {7, 5, 4},  {3, 3, 0}};
    std::mt19937 gen(2024);
    for (const Shape& shape : shapes) {
        for (int trial = 0; trial < 25; ++trial) {
            Rows a(shape.rows, std::vector<double>(shape.cols));
            for (auto& row : a)
                for (auto& v : row)
                    v = shape.range ? static_cast<double>(gen() % shape.range)
                                    : std::uniform_real_distribution<double>(0, 100)(gen);
            Matrix<double> m = toMatrix(a);
            Munkres solver;
            const std::vector<int> chosen = solveQuietly(solver, m);
            SCOPED_TRACE(std::to_string(shape.rows) + "x" + std::to_string(shape.cols) + " trial " +
                         std::to_string(trial));
            EXPECT_EQ(assignedCount(chosen), std::min(shape.rows, shape.cols));
            const double best = bruteForce(a);
            EXPECT_NEAR(total(a, chosen), best, 1e-9);

            Hungarian h;
            h.solve(a);
            std::vector<int> hChosen(h.results.begin(), h.results.begin() + shape.rows);
            for (int& j : hChosen)
                if (j >= shape.cols) j = -1;
            EXPECT_NEAR(total(a, chosen), total(a, hChosen), 1e-9);
        }
    }
}

TEST(MunkresTest, LargeValuesKeepTheLeastTotal) {
    // Beyond 2^24 a single-precision row minimum is not the row's minimum,
    // and every uncovered value is far above 2.
    const double base = 1e10;
    Rows a = {{base + 600, base + 1001, base + 7},
              {base + 601, base + 3, base + 900},
              {base + 2, base + 700, base + 650}};
    std::mt19937 gen(7);
    for (int trial = 0; trial < 30; ++trial) {
        Matrix<double> m = toMatrix(a);
        Munkres solver;
        const std::vector<int> chosen = solveQuietly(solver, m);
        EXPECT_EQ(total(a, chosen), bruteForce(a)) << "trial " << trial;
        for (auto& row : a)
            for (auto& v : row) v = base * (1 + gen() % 3) + static_cast<double>(gen() % 5000) + 0.5;
    }
}

TEST(MunkresTest, AReusedSolverStartsWithoutTheOldMarks) {
    Munkres solver;
    Matrix<double> first = toMatrix({{0, 5, 5}, {5, 0, 5}, {5, 5, 0}});
    solveQuietly(solver, first);
    Matrix<double> second = toMatrix({{5, 5, 0}, {0, 5, 5}, {5, 0, 5}});
    EXPECT_EQ(solveQuietly(solver, second), (std::vector<int>{2, 0, 1}));
    Matrix<double> smaller = toMatrix({{3, 1}, {1, 3}});
    EXPECT_EQ(solveQuietly(solver, smaller), (std::vector<int>{1, 0}));
}

TEST(MunkresTest, MoreRowsThanColumnsAssignsEveryColumnInTheCallersShape) {
    Rows a = {{1, 9}, {0, 8}, {5, 0}, {9, 9}};
    Matrix<double> m = toMatrix(a);
    Munkres solver;
    CaptureStdout out;
    solver.solve(m);
    EXPECT_EQ(m.rows(), 4);
    EXPECT_EQ(m.columns(), 2);
    // The least total: row 1 takes column 0 and row 2 column 1.
    const double expected[4][2] = {{-1, -1}, {0, -1}, {-1, 0}, {-1, -1}};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 2; ++j) EXPECT_EQ(m(i, j), expected[i][j]) << i << "," << j;
    EXPECT_NE(out.text().find("STEP 3 \n1,0\n2,1\n"), std::string::npos);
}

TEST(MunkresTest, CellsThatAreNotNumbersAreTakenOnlyWhenNeeded) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    Matrix<double> m = toMatrix({{nan, 1, 2}, {inf, 3, 1}, {4, nan, -inf}});
    Munkres solver;
    EXPECT_EQ(solveQuietly(solver, m), (std::vector<int>{1, 2, 0}));
    Matrix<double> onlyNan = toMatrix({{nan}});
    EXPECT_EQ(solveQuietly(solver, onlyNan), (std::vector<int>{0}));
}

}  // namespace
}  // namespace graphmat
