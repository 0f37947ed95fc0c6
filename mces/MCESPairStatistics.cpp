// MCES: the pair statistics (how much the neighbourhoods of two vertices
// have in common), their statistic groups and report, and the best
// neighbour correspondence of a pair.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <unordered_map>

#include "solvers/Hungarian.h"
#include "mces/MCES.h"

namespace graphmat {

namespace {

// min, max, mean and standard deviation of one statistic over the examined
// pairs, accumulated pair by pair in local sums and handed to the members
// named at the end. A value of +0 leaves both sums as they are (they start
// at +0 and never become -0) and meets the extremes in any order alike (no
// value is -0 or not a number), so zeros are only noted and met once.
struct StatGroup {
    double& minOut;
    double& maxOut;
    double& meanOut;
    double& devOut;
    double min = 0, max = -1, mean = 0, dev = 0;
    bool zeroSeen = false;

    void start(double first) { min = first; }
    // For a statistic that is seldom other than 0.
    void add(double x) {
        if (x == 0) {
            zeroSeen = true;
            return;
        }
        addAny(x);
    }
    // For one that often is: no branch to mispredict.
    void addAny(double x) {
        mean += x;
        dev += x * x;
        min = x < min ? x : min;
        max = x > max ? x : max;
    }
    void finish(long count) {
        if (zeroSeen) {
            if (0.0 < min) min = 0.0;
            if (0.0 > max) max = 0.0;
        }
        if (count == 0) {
            mean = 0;
            dev = 0;
        } else {
            mean = mean / count;
            const double variance = dev / count - mean * mean;
            dev = variance > 0 ? std::sqrt(variance) : 0.0;
        }
        minOut = min;
        maxOut = max;
        meanOut = mean;
        devOut = dev;
    }
    void print(const char* name) const {
        std::cout << name << min << " | " << mean << " | " << dev << " | " << max << " \n ";
    }
};

// 2 x value / total as a real division, 0 when total is 0.
double twiceOver(int value, int total) { return total == 0 ? 0.0 : 2.0 * value / total; }

// Length of the third "/"-separated field of a key (0 when it has none).
std::size_t thirdFieldLength(const std::string& key) {
    const std::size_t first = key.find('/');
    if (first == std::string::npos) return 0;
    const std::size_t second = key.find('/', first + 1);
    if (second == std::string::npos) return 0;
    const std::size_t third = key.find('/', second + 1);
    return (third == std::string::npos ? key.size() : third) - second - 1;
}

}  // namespace

void MCES::buildKeys(int simType) {
    const int t = std::abs(simType);
    std::unordered_map<std::string, int> ids;
    keyWeight_.clear();
    auto build = [&](Graph* graph, GraphTables& tables) {
        const int n = static_cast<int>(tables.labelId.size());
        tables.keys.assign(n, std::vector<KeyCount>());
        const std::vector<std::map<std::string, int>>* maps = nullptr;
        if (t == 3 || t == 4 || t == 9)
            maps = &graph->NLabels;
        else if (t == 5 || t == 6)
            maps = &graph->relations;
        else if (t == 7 || t == 8)
            maps = &graph->Nrelations;
        if (!maps) return;
        for (int i = 0; i < n && i < static_cast<int>(maps->size()); ++i) {
            for (const auto& [key, count] : (*maps)[i]) {
                auto [it, added] = ids.try_emplace(key, static_cast<int>(ids.size()));
                if (added) {
                    // Weight of a key in PEdges2 (its length less one) or
                    // in PENodes2 (the label characters of its relation
                    // part plus one).
                    const int length = static_cast<int>(key.size());
                    keyWeight_.push_back(t == 7 || t == 8 ? length - static_cast<int>(thirdFieldLength(key)) - 1
                                                          : length - 1);
                }
                tables.keys[i].push_back({it->second, count});
            }
            std::sort(tables.keys[i].begin(), tables.keys[i].end(),
                      [](const KeyCount& p, const KeyCount& q) { return p.key < q.key; });
        }
    };
    build(g1, t1);
    build(g2, t2);
    // Per key, the graph-2 vertices that hold it, with their counts.
    keyHolders_.assign(keyWeight_.size(), std::vector<KeyHolder>());
    for (int j = 0; j < static_cast<int>(t2.keys.size()); ++j)
        for (const KeyCount& kc : t2.keys[j]) keyHolders_[kc.key].push_back({j, kc.count});
}

void MCES::prepareRow(int i) {
    MeasuredRow& r = measuredRow_;
    r.vertex = i;
    if (r.arcsByLabel) {
        // OEdges of (i, j) for every j: the labels vertex i has, each over
        // graph 2's counts of that label.
        const int n2 = r.inByLabel.cols();
        r.oEdges.assign(n2, 0);
        const int* in1 = t1.c_in.row(i);
        const int* out1 = t1.c_out.row(i);
        for (int k = 1; k < nb_labels; ++k) {
            for (const auto& [count, counts2] : {std::make_pair(in1[k], r.inByLabel.row(k)),
                                                 std::make_pair(out1[k], r.outByLabel.row(k))}) {
                if (count == 0) continue;
                int* sums = r.oEdges.data();
                for (int j = 0; j < n2; ++j) sums[j] += std::min(count, counts2[j]);
            }
        }
    }
    // The common keys of (i, j) for every j at once, from the graph-2
    // vertices that hold each key of i: the sum of min(count in i, count in
    // j) and of those minima times the key's weight.
    const std::size_t n2 = t2.keys.size();
    if (r.keyStamp.size() != n2) {
        r.keyStamp.assign(n2, 0);
        r.keyMinima.assign(n2, 0);
        r.keyWeighted.assign(n2, 0);
    }
    ++r.stamp;
    for (const KeyCount& a : t1.keys[i]) {
        if (a.key >= static_cast<int>(keyHolders_.size())) continue;
        for (const KeyHolder& b : keyHolders_[a.key]) {
            const int j = b.vertex;
            if (r.keyStamp[j] != r.stamp) {
                r.keyStamp[j] = r.stamp;
                r.keyMinima[j] = 0;
                r.keyWeighted[j] = 0;
            }
            const int m = std::min(a.count, b.count);
            r.keyMinima[j] += m;
            r.keyWeighted[j] += m * keyWeight_[a.key];
        }
    }
}

void MCES::arrangeArcCounts() {
    // A label that vertex i lacks adds min(0, count) = 0 when no count of
    // graph 2 is below 0 (the working counts never are, but the loop over
    // every label stays for safety). Graph 2's counts are then kept label by
    // label, so that a row's OEdges are summed over the labels vertex i has,
    // for every j at once.
    MeasuredRow& r = measuredRow_;
    const int n2 = t2.c_in.rows();
    bool byLabel = true;
    for (int j = 0; j < n2 && byLabel; ++j) {
        const int* in2 = t2.c_in.row(j);
        const int* out2 = t2.c_out.row(j);
        for (int k = 1; k < nb_labels; ++k)
            if (in2[k] < 0 || out2[k] < 0) byLabel = false;
    }
    r.arcsByLabel = byLabel;
    r.inByLabel.clear();
    r.outByLabel.clear();
    if (!byLabel) return;
    r.inByLabel.assign(nb_labels, n2, 0);
    r.outByLabel.assign(nb_labels, n2, 0);
    for (int j = 0; j < n2; ++j)
        for (int k = 1; k < nb_labels; ++k) {
            r.inByLabel(k, j) = t2.c_in(j, k);
            r.outByLabel(k, j) = t2.c_out(j, k);
        }
}

MCES::PairStatistics MCES::measureInRow(int j, bool withLinks) {
    const MeasuredRow& r = measuredRow_;
    const int i = r.vertex;
    PairStatistics p;
    const int t = std::abs(param_sim);
    const bool same = sameLabel(i, j);
    if (same) {
        p.oNodes += 1;
        p.peNodes += 1;
        p.peNodes2 += 1;
    }
    if (!same && node_error >= 1000) return p;
    const int* in1 = t1.c_in.row(i);
    const int* out1 = t1.c_out.row(i);
    const int* in2 = t2.c_in.row(j);
    const int* out2 = t2.c_out.row(j);
    if (r.arcsByLabel) {
        p.oEdges += r.oEdges[j];
    } else {
        for (int k = 1; k < nb_labels; ++k) p.oEdges += std::min(in1[k], in2[k]) + std::min(out1[k], out2[k]);
    }
    if (withLinks)
        for (int k = 1; k < nb_labels; ++k) p.links += in1[k] * in2[k] + out1[k] * out2[k];
    // The keys that both vertices hold (whole-number sums: their order does
    // not matter).
    const bool common = r.keyStamp[j] == r.stamp;
    const int minima = common ? r.keyMinima[j] : 0;
    const int weighted = common ? r.keyWeighted[j] : 0;
    if (t == 3 || t == 4 || t == 9) {
        p.oNodes += minima;
    } else if (t == 5 || t == 6) {
        p.pEdges += minima;
        p.pEdges2 += weighted;
    } else if (t == 7 || t == 8) {
        p.peNodes += minima;
        p.peNodes2 += weighted;
    }
    if (t == 1 || t == 9) p.heNodes = bestNMatches(i, j, p.oEdges + p.oNodes);
    return p;
}

MCES::PairStatistics MCES::measurePair(int i, int j, bool withLinks) {
    arrangeArcCounts();
    prepareRow(i);
    return measureInRow(j, withLinks);
}

// One pass over the unmatched pairs: the statistics of each pair, of which
// only what later steps read is kept (the selected statistic, whether the
// neighbourhoods overlap, and the connection counts where they are kept),
// and the sums and extremes of every statistic, printed at the end.
void MCES::setPromoted() {
    const bool withConnexions = !connexions.empty();
    potential.reset(n1_, n2_);
    overlap_.assign(static_cast<std::size_t>(n1_) * static_cast<std::size_t>(n2_), false);
    if (withConnexions) {
        for (int i = 0; i <= n1_; ++i) connexions(i, n2_) = 0;
        for (int j = 0; j <= n2_; ++j) connexions(n1_, j) = 0;
    }

    StatGroup groups[] = {
        {minPotential, maxPotential, meanPotential, stdPotential},
        {minOEdges, maxOEdges, meanOEdges, stdOEdges},
        {minONodes, maxONodes, meanONodes, stdONodes},
        {minPEdges, maxPEdges, meanPEdges, stdPEdges},
        {minPEdges2, maxPEdges2, meanPEdges2, stdPEdges2},
        {minPENodes, maxPENodes, meanPENodes, stdPENodes},
        {minPENodes2, maxPENodes2, meanPENodes2, stdPENodes2},
        {minHENodes, maxHENodes, meanHENodes, stdHENodes},
        {_minOEdges, _maxOEdges, _meanOEdges, _stdOEdges},
        {_minONodes, _maxONodes, _meanONodes, _stdONodes},
        {_minPEdges, _maxPEdges, _meanPEdges, _stdPEdges},
        {_minPEdges2, _maxPEdges2, _meanPEdges2, _stdPEdges2},
        {_minPENodes, _maxPENodes, _meanPENodes, _stdPENodes},
        {_minPENodes2, _maxPENodes2, _meanPENodes2, _stdPENodes2},
        {_minHENodes, _maxHENodes, _meanHENodes, _stdHENodes},
    };
    for (StatGroup& group : groups) group.start(static_cast<double>(g1->edges));
    numG = 0;
    allG = 0;
    long examined = 0;
    bool otherStatisticsZero = false;  // a pair had all statistics but OEdges 0
    int lastTotal1 = 0, lastTotal2 = 0;

    const int t = std::abs(param_sim);
    buildKeys(param_sim);
    arrangeArcCounts();
    // twiceOver(OEdges, total 2) of nearly every pair, from a table of the
    // small values the two take: the same quotients, without a division on
    // the way of every pair.
    constexpr int kEdges = 32, kTotals = 256;
    std::vector<double> shares(static_cast<std::size_t>(kEdges) * kTotals);
    for (int e = 0; e < kEdges; ++e)
        for (int total = 0; total < kTotals; ++total) shares[static_cast<std::size_t>(e) * kTotals + total] = twiceOver(e, total);
    auto oEdgeShares = [&](int edges, int total) {
        if (edges >= 0 && edges < kEdges && total >= 0 && total < kTotals)
            return shares[static_cast<std::size_t>(edges) * kTotals + total];
        return twiceOver(edges, total);
    };

    for (int i = 0; i < n1_; ++i) {
        if (M12[i] >= 0) continue;
        prepareRow(i);
        for (int j = 0; j < n2_; ++j) {
            if (M21[j] >= 0) continue;
            ++examined;
            const int tot1 = total1(i, j);
            const int tot2 = total2(i, j);
            const int tot = tot2 + 2 * tot1;
            lastTotal1 = tot1;
            lastTotal2 = tot2;

            const PairStatistics p = measureInRow(j, withConnexions);
            if (p.oEdges + p.oNodes != 0) setOverlap(i, j, true);

            int selected = 0;
            switch (t) {
                case 1:
                case 9: selected = p.heNodes; break;
                case 2: selected = p.oEdges; break;
                case 3: selected = p.oNodes; break;
                case 4: selected = p.oNodes + p.oEdges; break;
                case 5: selected = p.pEdges; break;
                case 6: selected = p.pEdges2; break;
                case 7: selected = p.peNodes; break;
                case 8: selected = p.peNodes2; break;
                default: break;
            }
            const double value = selected;
            potential.set(i, j, selected);
            if (value > 0) numG += 1;
            if (value != 0) {  // adding +0 changes no sum (see StatGroup)
                allG += value;
                potential.addToTotals(i, j, value);
            }

            if (withConnexions) {
                connexions(i, j) = p.links;
                connexions(i, n2_) += p.links;
                connexions(n1_, j) += p.links;
            }

            groups[0].add(value);
            groups[1].addAny(p.oEdges);
            groups[8].addAny(oEdgeShares(p.oEdges, tot2));
            // The other statistics are 0 for nearly every pair: such a pair
            // is only noted.
            if ((p.oNodes | p.pEdges | p.pEdges2 | p.peNodes | p.peNodes2 | p.heNodes) == 0) {
                otherStatisticsZero = true;
                continue;
            }
            groups[2].add(p.oNodes);
            groups[3].add(p.pEdges);
            groups[4].add(p.pEdges2);
            groups[5].add(p.peNodes);
            groups[6].add(p.peNodes2);
            groups[7].add(p.heNodes);
            // The totals are counts (0 or more), so a statistic of 0 gives
            // +0 without the division.
            auto twiceShare = [](int statistic, int total) {
                return statistic == 0 ? 0.0 : twiceOver(statistic, total);
            };
            groups[9].add(p.oNodes == 0 ? 0.0 : 2.0 * p.oNodes / (tot1 + 2));
            groups[10].add(twiceShare(p.pEdges, tot1));
            groups[11].add(twiceShare(p.pEdges2, tot2));
            groups[12].add(tot1 == 0 || p.peNodes == 0 ? 0.0 : 2.0 * p.peNodes / (tot1 + 2));
            groups[13].add(p.peNodes2 == 0 ? 0.0 : 2.0 * p.peNodes2 / (tot1 + tot2 + 2));
            groups[14].add(twiceShare(p.heNodes, tot));
        }
    }

    if (otherStatisticsZero)
        for (int k : {2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14}) groups[k].zeroSeen = true;
    for (StatGroup& group : groups) group.finish(examined);

    const char* names[] = {"OEdges: ", "ONodes: ", "PEdges: ", "PEdges2: ", "PENodes: ", "PENodes2: ", "HENodes: "};
    for (int k = 0; k < 7; ++k) groups[1 + k].print(names[k]);
    std::cout << "\n Total 1: " << lastTotal1 << "\n Total 2: " << lastTotal2 << "\n";
    const char* normalised[] = {"_OEdges: ",  "_ONodes: ",   "_PEdges: ", "_PEdges2: ",
                                "_PENodes: ", "_PENodes2: ", "_HENodes: "};
    for (int k = 0; k < 7; ++k) groups[8 + k].print(normalised[k]);
}

std::vector<int> MCES::solveCosts(int rows, int cols) {
    costRows_.resize(rows);
    for (int r = 0; r < rows; ++r) costRows_[r] = costs_.data() + static_cast<std::size_t>(r) * cols;
    thread_local Hungarian solver;  // reused: it keeps its buffers between the neighbourhood solves
    solver.solve(costRows_.data(), rows, cols);
    std::vector<int> assigned(rows, -1);
    for (int r = 0; r < rows && r < static_cast<int>(solver.results.size()); ++r) {
        const int c = solver.results[r];
        assigned[r] = c >= 0 && c < cols ? c : -1;
    }
    return assigned;
}

int MCES::bestNMatches(int x, int y, int overlap) {
    if (param_sim == 9) {
        const int r = overlap;
        if (static_cast<double>(r) / (total1(x, y) + total2(x, y) + 2) < 0.5) return r;
    }
    const std::vector<NeighbourLink>& A = t1.links[x];
    const std::vector<NeighbourLink>& B = t2.links[y];
    const int a = static_cast<int>(A.size());
    const int b = static_cast<int>(B.size());
    if (a == 0 || b == 0) return 0;

    // Cost of pairing neighbour p of x with neighbour q of y: 4 less their
    // agreement (centre labels, edge to, edge from, neighbour labels), or
    // the label penalty for a hard label mismatch.
    // The costs are whole numbers; they are kept with the smaller side as
    // rows (cell (r, c) of x's neighbour r and y's neighbour c).
    const bool across = a > b;
    const int rows = across ? b : a, cols = across ? a : b;
    wholeCosts_.resize(static_cast<std::size_t>(a) * b);
    auto at = [&](int r, int c) -> int& {
        return wholeCosts_[across ? static_cast<std::size_t>(c) * cols + r : static_cast<std::size_t>(r) * cols + c];
    };
    const int centres = sameLabel(x, y) ? 1 : 0;
    long zeros = 0, worthless = 0, hard = 0;
    for (int r = 0; r < a; ++r) {
        const NeighbourLink& p = A[r];
        for (int c = 0; c < b; ++c) {
            const NeighbourLink& q = B[c];
            const bool labels = p.labelId == q.labelId;
            if (!labels && node_error >= 1000) {
                at(r, c) = node_error;
                ++worthless;
                ++hard;
                continue;
            }
            const int agreement = centres + (p.out != -1 && p.out == q.out ? 1 : 0) +
                                  (p.in != -1 && p.in == q.in ? 1 : 0) + (labels ? 1 : 0);
            at(r, c) = 4 - agreement;
            if (agreement == 4) ++zeros;
            if (agreement == 0) ++worthless;
        }
    }
    const long cells = static_cast<long>(a) * b;
    if (zeros == cells) return 4 * std::min(a, b);
    if (worthless == cells) return 0;

    // The count is 4 x (pairs of the optimum that cost at most 4) less their
    // costs. Every optimum pairs min(a, b) neighbours; two optima of equal
    // total with the same number of label penalties have the same count, and
    // while 4 x min(a, b) < node_error the number of penalties is fixed by
    // the total, so any optimum gives the count of the step-by-step solver.
    // Beyond that bound the step-by-step solver's own optimum is taken.
    double optimum = 0;
    if (hard == 0 || 4.0 * rows < node_error) {
        wholeSolver_.solve(wholeCosts_, rows, cols);
        for (int r = 0; r < rows; ++r) {
            const int cost = wholeCosts_[static_cast<std::size_t>(r) * cols + wholeSolver_.columnOf[r]];
            if (cost <= 4) optimum += 4 - cost;
        }
        return static_cast<int>(optimum);
    }
    costs_.resize(static_cast<std::size_t>(a) * b);
    for (int r = 0; r < a; ++r)
        for (int c = 0; c < b; ++c) costs_[static_cast<std::size_t>(r) * b + c] = at(r, c);
    const std::vector<int> assigned = solveCosts(a, b);
    for (int r = 0; r < a; ++r) {
        if (assigned[r] == -1) continue;
        const double cost = costs_[static_cast<std::size_t>(r) * b + assigned[r]];
        if (cost <= 4) optimum += 4 - cost;
    }
    return static_cast<int>(optimum);
}

}  // namespace graphmat
