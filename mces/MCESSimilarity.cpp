// MCES: the similarity matrix from the pair statistics, its sharpening by
// rival counts and degrees, the neighbourhood smoothing, and the mutually
// best pairs.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "mces/MCES.h"
#include "mces/PlusZero.h"

namespace graphmat {

namespace {

// 2 x value / total as a real division, 0 when total is 0.
double twiceOver(double value, double total) { return total == 0 ? 0.0 : 2.0 * value / total; }

// value / maximum, 0 when the maximum is 0 (then every value is 0 too).
double share(double value, double maximum) { return maximum == 0 ? 0.0 : value / maximum; }

// Scratch of rivalCounts, kept between its calls.
struct RivalScratch {
    std::vector<std::pair<float, int>> order;
    std::vector<float> nonZero;
};

// The rivals of an entry of value v among entries of which `zeros` are 0
// and the others are [first, last), sorted and numbers: the entries that
// are at least v - 0.1, the entry itself excluded.
long rivalsAmong(const float* first, const float* last, long zeros, float v) {
    const double threshold = static_cast<double>(v) - 0.1;
    const float* from = std::partition_point(first, last, [&](float e) { return static_cast<double>(e) < threshold; });
    return static_cast<long>(last - from) + (0.0 < threshold ? 0 : zeros) - 1;
}

// The rivals of each of the n entries of `values`: the number of entries
// that are at least its value s - 0.1, its own entry excluded.
void rivalCounts(const float* values, int n, RivalScratch& scratch, long* counts) {
    // Mostly zeros (the usual similarities): the zeros all have one count,
    // and only the other entries are sorted; a count is found by bisection.
    std::vector<float>& nonZero = scratch.nonZero;
    nonZero.clear();
    long zeros = 0;
    bool number = true;
    for (int k = 0; k < n; ++k) {
        const float v = values[k];
        if (v == 0)
            ++zeros;
        else if (v != v)
            number = false;
        else
            nonZero.push_back(v);
    }
    if (number && nonZero.size() <= static_cast<std::size_t>(n) / 8) {
        std::sort(nonZero.begin(), nonZero.end());
        const float* first = nonZero.data();
        const float* last = first + nonZero.size();
        const long zeroCount = zeros > 0 ? rivalsAmong(first, last, zeros, 0.0f) : 0;
        for (int k = 0; k < n; ++k)
            counts[k] = values[k] == 0 ? zeroCount : rivalsAmong(first, last, zeros, values[k]);
        return;
    }

    // Otherwise one sort of the entries; as s grows so does s - 0.1, so the
    // first entry that reaches it only moves forward.
    std::vector<std::pair<float, int>>& order = scratch.order;
    order.resize(n);
    for (int k = 0; k < n; ++k) order[k] = {values[k], k};
    std::sort(order.begin(), order.end(),
              [](const std::pair<float, int>& a, const std::pair<float, int>& b) { return a.first < b.first; });
    int first = 0;  // the first entry (in ascending order) not below the threshold
    for (int k = 0; k < n; ++k) {
        const double threshold = order[k].first - 0.1;
        while (first < n && static_cast<double>(order[first].first) < threshold) ++first;
        const long within = n - first;
        counts[order[k].second] = within > 0 ? within - 1 : 0;
    }
}

}  // namespace

void MCES::setSim(int simi_type) {
    simil.assign(n1_, n2_, 0.0f);
    const int t = std::abs(simi_type);
    const bool scaled = simi_type < 0 && t != 3;
    if (t == 3) {
        g1->ensureRanking();
        g2->ensureRanking();
    }
    // Every type but 3 reads the statistic it selected in setPromoted, the
    // one potential holds (for type 4 the sum of ONodes and OEdges).
    // A statistic of 0 gives +0 (the totals are counts, so every divisor is
    // 0 or more and a divisor of 0 gives 0), which simil already holds;
    // scaled, or for type 3, every pair is worked out.
    const bool zeroIsBlank = !scaled && t != 3;
    if (t >= 1 && t <= 9) {
        for (int i = 0; i < n1_; ++i) {
            const std::vector<SparsePairCounts::Entry>& counts = potential.row(i);
            auto next = counts.begin();
            for (int j = 0; j < n2_; ++j) {
                if (zeroIsBlank) {
                    if (next == counts.end()) break;
                    j = next->col;
                }
                int statistic = 0;
                if (next != counts.end() && next->col == j) statistic = (next++)->count;
                const double tot1 = total1(i, j);
                const double tot2 = total2(i, j);
                const double tot = tot2 + 2 * tot1;
                double value = 0, scale = 1;
                switch (t) {
                    case 1:
                    case 9:
                        value = twiceOver(statistic, tot);
                        scale = share(statistic, maxHENodes);
                        break;
                    case 2:
                        value = twiceOver(statistic, tot2);
                        scale = share(statistic, maxOEdges);
                        break;
                    case 3: {
                        const double u1 = i < static_cast<int>(g1->u.size()) ? g1->u[i] : 0.0;
                        const double u2 = j < static_cast<int>(g2->u.size()) ? g2->u[j] : 0.0;
                        value = u1 + u2 == 0 ? 0.0 : 2 * std::min(u1, u2) / (u1 + u2);
                        break;
                    }
                    case 4:
                        value = 2.0 * statistic / (tot1 + tot2 + 2);
                        scale = share(statistic, maxONodes + maxOEdges);
                        break;
                    case 5:
                        value = twiceOver(statistic, tot1);
                        scale = share(statistic, maxPEdges);
                        break;
                    case 6:
                        value = twiceOver(statistic, tot2);
                        scale = share(statistic, maxPEdges2);
                        break;
                    case 7:
                        value = tot1 == 0 ? 0.0 : 2.0 * statistic / (tot1 + 2);
                        scale = share(statistic, maxPENodes);
                        break;
                    case 8:
                        value = 2.0 * statistic / (tot1 + tot2 + 2);
                        scale = share(statistic, maxPENodes2);
                        break;
                    default: break;
                }
                if (scaled) value = value * scale;
                simil(i, j) = std::isnan(value) ? 0.0f : static_cast<float>(value);
            }
        }
    }

    float best = 0;
    for (int i = 0; i < n1_; ++i) {
        if (allPlusZero(simil.row(i), n2_)) continue;
        for (int j = 0; j < n2_; ++j)
            if (simil(i, j) > best) best = simil(i, j);
    }
    std::cout << "\n\n\n BESTSIM = " << best << "\n\n\n";
}

float MCES::extendSim(const DenseMatrix<float>& sim, int x, int y) {
    const std::vector<NeighbourLink>& A = t1.links[x];
    const std::vector<NeighbourLink>& B = t2.links[y];
    const int a = static_cast<int>(A.size());
    const int b = static_cast<int>(B.size());
    const int maxN = std::max(a, b);
    const int minN = std::min(a, b);
    if (minN == 0) return 0;

    // Cost of pairing neighbour p with q: 1 less their similarity times the
    // share of the two directions in which the edges agree (both absent, or
    // both present with the same label text).
    costs_.assign(static_cast<std::size_t>(a) * b, 0.0);
    long zeros = 0, ones = 0;
    for (int r = 0; r < a; ++r) {
        const NeighbourLink& p = A[r];
        double* row = costs_.data() + static_cast<std::size_t>(r) * b;
        for (int c = 0; c < b; ++c) {
            const NeighbourLink& q = B[c];
            const float s = sim(p.vertex, q.vertex);
            const int e = (p.out == q.out ? 1 : 0) + (p.in == q.in ? 1 : 0);
            const float cost = 1 - s * e / 2;
            row[c] = cost;
            if (cost == 0) ++zeros;
            if (cost == 1) ++ones;
        }
    }
    const long cells = static_cast<long>(a) * b;
    if (zeros == cells) return 1;
    if (ones == cells) return 0;

    const std::vector<int> assigned = solveCosts(a, b);
    double total = 0;
    for (int r = 0; r < a; ++r)
        if (assigned[r] != -1) total += 1 - costs_[static_cast<std::size_t>(r) * b + assigned[r]];
    return static_cast<float>(total / maxN);
}

template <class Sharpen, class AsStored>
bool MCES::sharpenSparse(Sharpen sharpen, AsStored asStored) {
    // The pairs that are not +0, row by row; the path is left when one is
    // not a number or when they pass an eighth of the pairs.
    struct Live {
        int i, j;
        float v;
    };
    const long long bound = static_cast<long long>(n1_) * n2_ / 8;
    std::vector<Live> live;
    for (int i = 0; i < n1_; ++i) {
        const float* row = simil.row(i);
        if (allPlusZero(row, n2_)) continue;
        for (int j = 0; j < n2_; ++j) {
            if (plusZero(row[j])) continue;
            if (row[j] != row[j] || static_cast<long long>(live.size()) >= bound) return false;
            live.push_back({i, j, row[j]});
        }
    }
    // Each row's and each column's non-zero values, sorted (-0 counts as 0).
    auto sortedGroups = [&](int groups, auto groupOf, std::vector<int>& start, std::vector<float>& values) {
        start.assign(static_cast<std::size_t>(groups) + 1, 0);
        for (const Live& e : live)
            if (e.v != 0) ++start[groupOf(e) + 1];
        for (int k = 0; k < groups; ++k) start[k + 1] += start[k];
        values.resize(static_cast<std::size_t>(start[groups]));
        std::vector<int> fill(start.begin(), start.end() - 1);
        for (const Live& e : live)
            if (e.v != 0) values[static_cast<std::size_t>(fill[groupOf(e)]++)] = e.v;
        for (int k = 0; k < groups; ++k) std::sort(values.begin() + start[k], values.begin() + start[k + 1]);
    };
    std::vector<int> rowStart, colStart;
    std::vector<float> rowValues, colValues;
    sortedGroups(n1_, [](const Live& e) { return e.i; }, rowStart, rowValues);
    sortedGroups(n2_, [](const Live& e) { return e.j; }, colStart, colValues);
    for (const Live& e : live) {
        const float* row = rowValues.data();
        const float* col = colValues.data();
        const long r1 = rivalsAmong(row + rowStart[e.i], row + rowStart[e.i + 1],
                                    n2_ - (rowStart[e.i + 1] - rowStart[e.i]), e.v);
        const long r2 = rivalsAmong(col + colStart[e.j], col + colStart[e.j + 1],
                                    n1_ - (colStart[e.j + 1] - colStart[e.j]), e.v);
        sharpen(e.i, e.j, r1, asStored(r2));
    }
    return true;
}

void MCES::setDiscrim(int discrimi_type, int lv2) {
    const double deg_moy1 = g1->vertices == 0 ? 0.0 : static_cast<double>(g1->edges) / g1->vertices;
    const double deg_moy2 = g2->vertices == 0 ? 0.0 : static_cast<double>(g2->edges) / g2->vertices;
    std::cout << "\n Deg Moy 1 : " << deg_moy1;
    std::cout << "\n Deg Moy 2 : " << deg_moy2;

    // Mixes simil with its neighbourhood similarity, all computed from the
    // matrix as it was before the pass.
    auto smooth = [&]() {
        DenseMatrix<float> temp(n1_, n2_, 0.0f);
        for (int i = 0; i < n1_; ++i)
            for (int j = 0; j < n2_; ++j) temp(i, j) = extendSim(simil, i, j);
        for (int i = 0; i < n1_; ++i)
            for (int j = 0; j < n2_; ++j) simil(i, j) = (simil(i, j) + temp(i, j)) / 2;
    };
    if (lv2 == 1 || lv2 == 3) smooth();

    // The factor of a pair from its rival counts in its row (r1) and its
    // column (r2), and the degree factor. Every factor is a finite number of
    // 0 or more, which leaves a similarity of +0 as it is.
    const bool sumForm = discrimi_type == 4 || discrimi_type == 6 || discrimi_type == 8;
    const bool productForm = discrimi_type == 5 || discrimi_type == 7 || discrimi_type == 9;
    auto sharpen = [&](int i, int j, long r1, long r2) {
        double base = 1;  // types 8 and 9: the degree factor alone
        switch (discrimi_type) {
            case 0:
            case 4: base = 1.0 / (r1 + r2 + 1); break;
            case 1:
            case 5: base = r1 * r2 == 0 ? 1.0 : 1.0 / (static_cast<double>(r1) * r2); break;
            case 2:
            case 6: base = 1 - static_cast<double>(r1 + r2) / (n1_ + n2_); break;
            case 3:
            case 7: base = 1 - static_cast<double>(r1) * r2 / (static_cast<double>(n1_) * n2_); break;
            default: break;
        }
        float factors = static_cast<float>(base);
        if (sumForm || productForm) {
            const double d1 = g1->V[i]->getNEdges();
            const double d2 = g2->V[j]->getNEdges();
            const double num = sumForm ? d1 + d2 : d1 * d2;
            const double den = sumForm ? deg_moy1 + deg_moy2 : deg_moy1 * deg_moy2;
            double factor = den == 0 ? (num == 0 ? 0.0 : 1.0) : num / den;
            if (factor > 1) factor = 1;
            factors *= factor;
        }
        simil(i, j) *= factors;
    };
    // A column count passes through a float, as the table of counts kept it.
    auto asStored = [](long count) { return static_cast<long>(static_cast<float>(count)); };

    if (!sharpenSparse(sharpen, asStored)) {
        // Rival counts: per pair, the other entries of its column (then of
        // its row) that come within 0.1 of it, each column and row sorted
        // once. The column counts wait in discrim. The columns go a block at
        // a time, so that each row is read and written a few adjacent entries
        // at once rather than one.
        discrim.assign(n1_, n2_, 0.0f);
        RivalScratch order;
        constexpr int kBlock = 16;
        std::vector<std::vector<float>> columns(kBlock, std::vector<float>(n1_));
        std::vector<std::vector<long>> columnCounts(kBlock, std::vector<long>(n1_));
        for (int j0 = 0; j0 < n2_; j0 += kBlock) {
            const int width = std::min(kBlock, n2_ - j0);
            for (int i = 0; i < n1_; ++i) {
                const float* row = simil.row(i) + j0;
                for (int b = 0; b < width; ++b) columns[b][i] = row[b];
            }
            for (int b = 0; b < width; ++b) rivalCounts(columns[b].data(), n1_, order, columnCounts[b].data());
            for (int i = 0; i < n1_; ++i) {
                float* out = discrim.row(i) + j0;
                for (int b = 0; b < width; ++b) out[b] = static_cast<float>(columnCounts[b][i]);
            }
        }
        std::vector<long> rowCounts(n2_);
        for (int i = 0; i < n1_; ++i) {
            rivalCounts(simil.row(i), n2_, order, rowCounts.data());
            for (int j = 0; j < n2_; ++j)
                if (!plusZero(simil(i, j))) sharpen(i, j, rowCounts[j], static_cast<long>(discrim(i, j)));
        }
        discrim.clear();
    }

    if (lv2 == 2 || lv2 == 3) smooth();

    bestPairs = std::make_unique<std::vector<paire>>();
    std::vector<float> rowMax(n1_, 0.0f), colMax(n2_, 0.0f);
    float best = 0;
    std::vector<int> rows;  // the rows that are not blank
    for (int i = 0; i < n1_; ++i)
        if (!allPlusZero(simil.row(i), n2_)) rows.push_back(i);
    for (const int i : rows) {
        for (int j = 0; j < n2_; ++j) {
            const float s = simil(i, j);
            if (s > rowMax[i]) rowMax[i] = s;
            if (s > colMax[j]) colMax[j] = s;
            if (s > best) best = s;
        }
    }
    int counter = 0;
    std::vector<int> count1(n1_, 0), count2(n2_, 0);
    for (const int i : rows) {
        for (int j = 0; j < n2_; ++j) {
            const float s = simil(i, j);
            if (!(s > 0.5) || s != rowMax[i] || s != colMax[j]) continue;
            if (count1[i] == 0 && count2[j] == 0) ++counter;
            ++count1[i];
            ++count2[j];
            bestPairs->push_back({static_cast<unsigned>(i), static_cast<unsigned>(j), s});
        }
    }
    std::cout << "\n\n\n BEST PAIRS : " << counter << "\t" << best << "\n\n\n";
}

}  // namespace graphmat
