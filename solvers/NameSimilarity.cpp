#include "solvers/NameSimilarity.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "graph/stdafx.h"
#include "solvers/Hungarian.h"

namespace graphmat {

int Distance::Minimum(int a, int b, int c) { return std::min(std::min(a, b), c); }

int* Distance::GetCellPointer(int* pOrigin, int col, int row, int nCols) {
    return pOrigin + row * (nCols + 1) + col;
}

int Distance::GetAt(int* pOrigin, int col, int row, int nCols) { return *GetCellPointer(pOrigin, col, row, nCols); }

void Distance::PutAt(int* pOrigin, int col, int row, int nCols, int x) {
    *GetCellPointer(pOrigin, col, row, nCols) = x;
}

int Distance::LD(const char* s, const char* t) {
    const int n = static_cast<int>(std::strlen(s));
    const int m = static_cast<int>(std::strlen(t));
    if (n == 0) return m;
    if (m == 0) return n;
    std::vector<int> table(static_cast<std::size_t>(m + 1) * static_cast<std::size_t>(n + 1));
    int* d = table.data();
    for (int i = 0; i <= n; ++i) PutAt(d, i, 0, n, i);
    for (int j = 0; j <= m; ++j) PutAt(d, 0, j, n, j);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= m; ++j) {
            const int cost = s[i - 1] == t[j - 1] ? 0 : 1;
            PutAt(d, i, j, n,
                  Minimum(GetAt(d, i - 1, j, n) + 1, GetAt(d, i, j - 1, n) + 1, GetAt(d, i - 1, j - 1, n) + cost));
        }
    return GetAt(d, n, m, n);
}

float Distance::NLD(const char* s, const char* t) {
    const int d = LD(s, t);
    const int longest = std::max({0, static_cast<int>(std::strlen(s)), static_cast<int>(std::strlen(t))});
    if (longest == 0) return 0;  // two empty texts are equal
    return static_cast<float>(static_cast<double>(d) / longest);
}

float Distance::WNLD(const char* s, const char* t) { return NLD(s, t); }

double IdSim(std::string str1, std::string str2) {
    const auto words1 = IdSplitter(str1);
    const auto words2 = IdSplitter(str2);
    const int len1 = static_cast<int>(str1.size());
    const int len2 = static_cast<int>(str2.size());
    const std::size_t nb1 = words1 ? words1->size() : 0;
    const std::size_t nb2 = words2 ? words2->size() : 0;

    if (std::min(nb1, nb2) <= 1) {
        const std::string lower1 = toLowerAscii(str1);
        const std::string lower2 = toLowerAscii(str2);
        if (lower1 == lower2) return 1;
        if (std::min(nb1, nb2) == 0) return 0;
        if (len1 > len2 && lower1.find(lower2) != std::string::npos) return 2.0 * len2 / (len1 + len2);
        if (len2 > len1 && lower2.find(lower1) != std::string::npos) return 2.0 * len1 / (len1 + len2);
        return 0;
    }

    // One row per word of str1, one column per word of str2: max_len less
    // the length of the contained word of the pair.
    const double max_len = std::max(len1, len2);
    std::vector<std::vector<double>> matrix(nb1, std::vector<double>(nb2, max_len));
    for (std::size_t i = 0; i < nb1; ++i) {
        const std::string w1 = toLowerAscii((*words1)[i]);
        for (std::size_t j = 0; j < nb2; ++j) {
            const std::string w2 = toLowerAscii((*words2)[j]);
            if (w1 == w2)
                matrix[i][j] -= static_cast<double>(w1.size());
            else if (w1.find(w2) != std::string::npos)
                matrix[i][j] -= static_cast<double>(w2.size());
            else if (w2.find(w1) != std::string::npos)
                matrix[i][j] -= static_cast<double>(w1.size());
        }
    }
    Hungarian solver;
    solver.solve(matrix);
    double optimum = 0;
    for (std::size_t i = 0; i < nb1; ++i) {
        const int j = solver.results[i];
        if (j >= 0) optimum += max_len - matrix[i][j];
    }
    return 2 * optimum / (len1 + len2);
}

}  // namespace graphmat
