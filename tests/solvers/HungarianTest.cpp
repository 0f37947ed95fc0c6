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
#include "support/TestSupport.h"

namespace graphmat {
namespace {

using test::CaptureStdout;
using Matrix = std::vector<std::vector<double>>;

std::vector<int> solveRows(const Matrix& a, int rows) {
    Hungarian h;
    h.solve(a);
    return std::vector<int>(h.results.begin(), h.results.begin() + rows);
}

// Checks that results and cell() describe one assignment of the rectangle
// and returns its total as cell() gives it.
double checkedTotal(const Hungarian& h, const Matrix& a, int rows, int cols) {
    const int l = std::max(rows, cols);
    EXPECT_EQ(static_cast<int>(h.results.size()), l);
    std::vector<bool> used(std::max(cols, 0), false);
    int assigned = 0;
    double sum = 0;
    for (int i = 0; i < l; ++i) {
        const int j = h.results[i];
        if (i >= rows) {
            EXPECT_EQ(j, -1) << "filler row " << i;
        }
        if (j < 0) continue;
        EXPECT_LT(j, cols);
        EXPECT_FALSE(used[j]) << "column " << j << " twice";
        used[j] = true;
        ++assigned;
        sum += a[i][j];
    }
    EXPECT_EQ(assigned, std::min(rows, cols)) << "every real row or column is assigned";
    // cell() reads 0 only inside the rows x cols region (not on filler rows
    // or columns, not outside the square), at most once per row and column,
    // and -1 everywhere else; its zeros are the assigned pairs.
    int zeros = 0;
    double cellSum = 0;
    std::vector<int> inColumn(std::max(cols, 0), 0);
    for (int i = -1; i <= l; ++i) {
        int inRow = 0;
        for (int j = -1; j <= l; ++j) {
            const double v = h.cell(i, j);
            if (v == -1.0) continue;
            EXPECT_EQ(v, 0.0) << i << "," << j;
            const bool inside = i >= 0 && i < rows && j >= 0 && j < cols;
            EXPECT_TRUE(inside) << "a zero outside the region at " << i << "," << j;
            if (!inside) continue;
            ++zeros;
            ++inRow;
            EXPECT_EQ(++inColumn[j], 1) << "column " << j;
            cellSum += a[i][j];
        }
        EXPECT_LE(inRow, 1) << "row " << i;
    }
    EXPECT_EQ(zeros, assigned);
    EXPECT_EQ(cellSum, sum);
    return cellSum;
}

// A literal transcription of the solver's steps (full scans, a mark matrix),
// used to check that the solver picks the same optimum among equal ones.
struct LiteralMunkres {
    int l = 0, n = 0, m = 0;
    std::vector<std::vector<double>> C;
    std::vector<std::vector<int>> M;
    std::vector<int> R, Cv;
    int z0r = -1, z0c = -1;

    std::vector<int> solve(const Matrix& a, int rows, int cols) {
        n = rows;
        m = cols;
        l = std::max(rows, cols);
        C.assign(l, std::vector<double>(l, 0.0));
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < cols; ++j) C[i][j] = a[i][j];
        M.assign(l, std::vector<int>(l, 0));
        R.assign(l, 0);
        Cv.assign(l, 0);
        int step = 1;
        while (step >= 1 && step <= 6) {
            switch (step) {
                case 1:
                    for (int i = 0; i < l; ++i) {
                        double mn = C[i][0];
                        for (int j = 0; j < l; ++j) mn = std::min(mn, C[i][j]);
                        for (int j = 0; j < l; ++j) C[i][j] -= mn;
                    }
                    step = 2;
                    break;
                case 2:
                    for (int i = 0; i < l; ++i)
                        for (int j = 0; j < l; ++j)
                            if (C[i][j] == 0 && R[i] == 0 && Cv[j] == 0) {
                                M[i][j] = 1;
                                R[i] = Cv[j] = 1;
                            }
                    std::fill(R.begin(), R.end(), 0);
                    std::fill(Cv.begin(), Cv.end(), 0);
                    step = 3;
                    break;
                case 3: {
                    for (int i = 0; i < l; ++i)
                        for (int j = 0; j < l; ++j)
                            if (M[i][j] == 1) Cv[j] = 1;
                    int count = 0;
                    for (int j = 0; j < l; ++j) count += Cv[j];
                    step = count >= l ? 7 : 4;
                    break;
                }
                case 4:
                    step = step4();
                    break;
                case 5:
                    step5();
                    step = 3;
                    break;
                case 6: {
                    double mn = 0;
                    bool first = true;
                    for (int i = 0; i < l; ++i)
                        for (int j = 0; j < l; ++j)
                            if (R[i] == 0 && Cv[j] == 0 && (first || C[i][j] < mn)) {
                                mn = C[i][j];
                                first = false;
                            }
                    for (int i = 0; i < l; ++i)
                        for (int j = 0; j < l; ++j) {
                            if (R[i] == 1) C[i][j] += mn;
                            if (Cv[j] == 0) C[i][j] -= mn;
                        }
                    step = 4;
                    break;
                }
            }
        }
        std::vector<int> res(l, -1);
        for (int i = 0; i < l; ++i)
            for (int j = 0; j < l; ++j)
                if (M[i][j] == 1 && i < n && j < m) res[i] = j;
        return res;
    }
    int step4() {
        while (true) {
            int row = -1, col = -1;
            for (int i = 0; i < l && row == -1; ++i)
                for (int j = 0; j < l; ++j)
                    if (C[i][j] == 0 && R[i] == 0 && Cv[j] == 0) {
                        row = i;
                        col = j;
                    }
            if (row == -1) return 6;
            M[row][col] = 2;
            int star = -1;
            for (int j = 0; j < l; ++j)
                if (M[row][j] == 1) star = j;
            if (star == -1) {
                z0r = row;
                z0c = col;
                return 5;
            }
            R[row] = 1;
            Cv[star] = 0;
        }
    }
    void step5() {
        std::vector<std::pair<int, int>> path{{z0r, z0c}};
        while (true) {
            int r = -1;
            for (int i = 0; i < l; ++i)
                if (M[i][path.back().second] == 1) r = i;
            if (r < 0) break;
            path.emplace_back(r, path.back().second);
            int c = -1;
            for (int j = 0; j < l; ++j)
                if (M[r][j] == 2) c = j;
            path.emplace_back(r, c);
        }
        for (auto& p : path) M[p.first][p.second] = M[p.first][p.second] == 1 ? 0 : 1;
        std::fill(R.begin(), R.end(), 0);
        std::fill(Cv.begin(), Cv.end(), 0);
        for (auto& row : M)
            for (int& mk : row)
                if (mk == 2) mk = 0;
    }
};

Matrix randomMatrix(std::mt19937& gen, int rows, int cols, bool ties) {
    std::uniform_int_distribution<int> small(0, 3);
    std::uniform_real_distribution<double> real(-5, 20);
    Matrix a(rows, std::vector<double>(cols));
    for (auto& row : a)
        for (double& v : row) v = ties ? small(gen) : real(gen);
    return a;
}

TEST(HungarianSolve, ReachesTheBruteForceOptimumUpToSixBySix) {
    std::mt19937 gen(4242);
    CaptureStdout quiet;  // negative cells are reported
    int solved = 0;
    for (int rows = 0; rows <= 6; ++rows)
        for (int cols = 0; cols <= 6; ++cols)
            for (int trial = 0; trial < 12; ++trial) {
                const Matrix a = randomMatrix(gen, rows, cols, trial % 2 == 0);
                const Matrix copy = a;
                // A table of row pointers carries the column count even
                // without rows; the vector form must agree where it can.
                std::vector<const double*> table;
                for (const auto& row : a) table.push_back(row.data());
                Hungarian h;
                h.solve(table.data(), rows, cols);
                EXPECT_EQ(a, copy) << "the input is not written";
                if (rows > 0) {
                    Hungarian byVector;
                    byVector.solve(a);
                    EXPECT_EQ(byVector.results, h.results);
                }
                const double total = checkedTotal(h, a, rows, cols);
                EXPECT_NEAR(total, test::bruteForceAssignment(a, rows, cols), 1e-9) << rows << "x" << cols;
                ++solved;
            }
    EXPECT_EQ(solved, 7 * 7 * 12);
}

TEST(HungarianSolve, PicksTheSameOptimumAsTheLiteralSteps) {
    std::mt19937 gen(77);
    CaptureStdout quiet;
    for (int trial = 0; trial < 400; ++trial) {
        const int rows = 1 + static_cast<int>(gen() % 12);
        const int cols = 1 + static_cast<int>(gen() % 12);
        const Matrix a = randomMatrix(gen, rows, cols, trial % 3 != 0);
        LiteralMunkres literal;
        std::vector<int> want = literal.solve(a, rows, cols);
        Hungarian h;
        h.solve(a);
        ASSERT_EQ(h.results, want) << "trial " << trial << " " << rows << "x" << cols;
    }
    // A larger rectangle of many ties.
    const Matrix big = randomMatrix(gen, 45, 60, true);
    LiteralMunkres literal;
    Hungarian h;
    h.solve(big);
    EXPECT_EQ(h.results, literal.solve(big, 45, 60));
}

TEST(HungarianTies, ScanOrdersDecideAmongEqualOptima) {
    struct Case {
        const char* what;
        Matrix a;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"all zero 2x2: the diagonal", {{0, 0}, {0, 0}}, {0, 1}},
        {"all zero 3x3", {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, {0, 1, 2}},
        // Step 4 primes the last uncovered zero of a row: (1,2), then (2,2).
        {"last uncovered zero of the first row", {{1, 0, 0}, {0, 1, 1}, {0, 1, 1}}, {1, 0, 2}},
        {"equal rows", {{1, 2}, {1, 2}}, {0, 1}},
        {"more columns", {{5, 5, 5}}, {0}},
        // Step 6 adds the minimum to each covered row, then takes it from
        // each uncovered column. After the 1e-17 has been taken, the minimum
        // is 0.09999999999999999, and the round trip turns the 0.1 of the
        // covered row 3 into 0.10000000000000002; that moves the later minima
        // and zeros and decides between equal optima (leaving such cells
        // untouched, or subtracting first, picks another).
        {"step 6 arithmetic decides a tie",
         {{0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0},
          {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0},
          {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0},
          {0, 0, 0, 0, 0, 0, 0, 0, 0.1, 0, 0},
          {1, 1, 1, 1, 1, 1, 1, 1, 0.2, 1, 1},
          {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0},
          {1, 1, 1, 1, 1, 0.1, 1, 1, 1, 1, 1},
          {1, 0, 1, 1, 1, 1, 1, 1, 1, 1e-17, 1},
          {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0},
          {0.1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1},
          {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0},
          {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}},
         {0, 9, 2, 3, 8, 4, 5, 1, 10, -1, 6, 7}},
    };
    for (const Case& k : cases) {
        const int rows = static_cast<int>(k.a.size());
        EXPECT_EQ(solveRows(k.a, rows), k.expected) << k.what;
        LiteralMunkres literal;
        const std::vector<int> steps = literal.solve(k.a, rows, static_cast<int>(k.a[0].size()));
        EXPECT_EQ(std::vector<int>(steps.begin(), steps.begin() + rows), k.expected) << k.what;
    }
}

TEST(HungarianShapes, FillerRowsAndColumns) {
    {
        // Three rows, two columns: one real row goes to the filler column.
        const Matrix a = {{1, 9}, {9, 1}, {5, 5}};
        Hungarian h;
        h.solve(a);
        EXPECT_EQ(h.results, (std::vector<int>{0, 1, -1}));
        EXPECT_EQ(h.l, 3);
        EXPECT_EQ(h.k, 2);
        EXPECT_EQ(checkedTotal(h, a, 3, 2), 2);
        EXPECT_EQ(h.cell(2, 2), -1.0);
    }
    {
        const Matrix a = {{3, 1, 2}, {1, 3, 3}};
        Hungarian h;
        h.solve(a);
        EXPECT_EQ(h.results, (std::vector<int>{1, 0, -1}));
    }
    struct Empty {
        int rows, cols;
    };
    for (const Empty& e : {Empty{0, 0}, Empty{0, 3}, Empty{2, 0}}) {
        Hungarian h;
        double* none[1] = {nullptr};
        h.solve(none, e.rows, e.cols);
        EXPECT_EQ(h.results, std::vector<int>(std::max(e.rows, e.cols), -1));
    }
}

TEST(HungarianInput, RowPointerTableAndReuse) {
    double r0[] = {4, 1, 3}, r1[] = {2, 0, 5}, r2[] = {3, 2, 2};
    double* table[] = {r0, r1, r2};
    Hungarian h;
    h.solve(table, 3, 3);
    EXPECT_EQ(h.results, (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(r0[0], 4);
    // A second problem on the same object replaces the first.
    h.solve(Matrix{{0, 1}, {1, 0}, {2, 2}, {0, 0}});
    EXPECT_EQ(h.results, (std::vector<int>{0, 1, -1, -1}));
    EXPECT_EQ(h.l, 4);
}

TEST(HungarianInput, NegativeAndNonFiniteCellsAreReported) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Matrix a = {{-3, 2}, {nan, 1}, {inf, -inf}};
    CaptureStdout capture;
    Hungarian h;
    h.solve(a);
    EXPECT_EQ(capture.text(), "\n3,2/0,0 : -3\n3,2/1,0 : nan\n3,2/2,0 : inf\n3,2/2,1 : -inf");
    // Non-finite cells are priced high: the finite optimum is taken.
    EXPECT_EQ(h.results, (std::vector<int>{0, 1, -1}));
    const Matrix onlyBad = {{nan, inf}, {inf, 0}};
    CaptureStdout again;
    Hungarian h2;
    h2.solve(onlyBad);
    EXPECT_EQ(h2.results, (std::vector<int>{0, 1}));
}

TEST(HungarianState, PrintStateShowsCoversValuesAndMarks) {
    Hungarian h;
    h.solve(Matrix{{0, 1}, {1, 0}});
    CaptureStdout capture;
    h.printState();
    // The final step leaves every column covered.
    EXPECT_EQ(capture.text(), "\n|0(1)\t|-1(0)\t\n|-1(0)\t|0(1)\t\n");
}

}  // namespace
}  // namespace graphmat
