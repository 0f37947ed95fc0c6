// Vertex ranking: a random walk with teleport over the labelled arcs, for the
// whole graph (`u`) and per label digit (`uu`), with the score statistics,
// rank orders and levels, the neighbourhood score of one vertex and the
// metrics files.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>
#include <string>

#include "graph/Graph.h"
#include "graph/OutputFiles.h"

namespace graphmat {

namespace {

// Number of vertices the ranking works on: `vertices`, never more than `V`
// holds.
int rankedCount(const Graph& g) {
    return std::min(std::max(g.vertices, 0), static_cast<int>(g.V.size()));
}

// Minimum, maximum, mean, population standard deviation and capped maximum
// (mean + 2 x deviation, or the maximum when larger) of the first n values.
// A variance that rounding makes negative counts as 0; no values give 0s.
struct ScoreStatistics {
    double min = 0, max = 0, mean = 0, deviation = 0, maxi = 0;
};

ScoreStatistics scoreStatistics(const std::vector<double>& s, int n) {
    ScoreStatistics st;
    double squares = 0;
    for (int i = 0; i < n; ++i) {
        if (i == 0 || st.min > s[i]) st.min = s[i];
        if (i == 0 || s[i] > st.max) st.max = s[i];
        st.mean += s[i];
        squares += s[i] * s[i];
    }
    if (n > 0) {
        st.mean = st.mean / n;
        double variance = squares / n - st.mean * st.mean;
        st.deviation = variance > 0 ? std::sqrt(variance) : 0.0;
    }
    st.maxi = st.mean + 2 * st.deviation;
    if (st.max > st.maxi) st.maxi = st.max;
    return st;
}

// Copies the statistics into the five members that hold them.
void storeStatistics(const ScoreStatistics& st, double& min, double& max, double& mean, double& deviation,
                     double& maxi) {
    min = st.min;
    max = st.max;
    mean = st.mean;
    deviation = st.deviation;
    maxi = st.maxi;
}

// Steps after which a walk that has not settled is given up. With weights
// of 0 or more every step shrinks the change by the factor 1 - c, so such a
// walk settles within a few hundred steps; only negative label weights of
// config.txt can keep it going.
constexpr int MAX_WALK_STEPS = 10000;

// The "ew" lines of config.txt that give a label digit a negative weight.
std::string negativeWeights(const Graph& g) {
    std::string listed;
    for (int d = 0; d < MAX_LABELS; ++d)
        if (g.edge_weight[d] < 0)
            listed += (listed.empty() ? "ew," : " ew,") + to_string(d) + "," + to_string(g.edge_weight[d]);
    return listed.empty() ? "none" : listed;
}

// Iterates x = step(x) from the uniform vector until the change between two
// steps falls below c x delta / (1 - c) (or is not a number), then scales
// the entries to a sum of 1. A change of exactly 0 is a fixed point: further
// steps would give the same vector, so the walk ends there too. A walk whose
// change is not finite, or that has not settled after MAX_WALK_STEPS, leaves
// every vertex the uniform score 1/n (no value that is not a number reaches
// later steps) and says so on standard error.
template <class Step>
std::vector<double> walkScores(const Graph& g, double delta, int n, Step step) {
    if (n <= 0) return {};
    std::vector<double> x(n, 1.0 / n);
    const double threshold = g.c * delta / (1 - g.c);
    bool settled = true;
    for (int steps = 1;; ++steps) {
        std::vector<double> y = std::move(x);
        x = step(y);
        double change = g.specialNorm(x.data(), y.data(), n);
        if (!std::isfinite(change)) {
            settled = false;
            break;
        }
        if (change < threshold || change == 0) break;
        if (steps >= MAX_WALK_STEPS) {
            settled = false;
            break;
        }
    }
    if (!settled) {
        std::cerr << "Vertex ranking of " << (g.name.empty() ? std::string("a graph") : g.name)
                  << " did not settle; every vertex gets the same score. Negative label weights of config.txt: "
                  << negativeWeights(g) << std::endl;
        return std::vector<double>(n, 1.0 / n);
    }
    double sum = 0;
    for (double value : x) sum += value;
    if (sum != 0)
        for (double& value : x) value = value / sum;
    return x;
}

// Per value: the number of values strictly larger (equal values share a
// rank, the best have rank 0). A value that is not a number has rank 0 and
// outranks nothing.
std::vector<int> ranksOf(const std::vector<double>& values, int n) {
    auto valueAt = [&](int i) { return i < static_cast<int>(values.size()) ? values[i] : 0.0; };
    std::vector<double> sorted;
    sorted.reserve(n);
    for (int i = 0; i < n; ++i)
        if (!std::isnan(valueAt(i))) sorted.push_back(valueAt(i));
    std::sort(sorted.begin(), sorted.end());
    std::vector<int> ranks(n, 0);
    for (int i = 0; i < n; ++i) {
        double v = valueAt(i);
        if (std::isnan(v)) continue;
        ranks[i] = static_cast<int>(sorted.end() - std::upper_bound(sorted.begin(), sorted.end(), v));
    }
    return ranks;
}

double entryOr0(const std::vector<double>& values, int i) {
    return i < static_cast<int>(values.size()) ? values[i] : 0.0;
}

// The metrics file of the graph, truncated; a file that does not open is
// named on standard error.
bool openMetrics(OutputFile& out, const std::string& graphName) {
    std::string path = "logs/" + graphName + "_metrics.csv";
    return openForWriting(out, path);
}

}  // namespace

double Graph::specialNorm(const double* x, const double* y, int n) const {
    double sum = 0;
    for (int i = 0; i < n; ++i) sum += std::fabs(x[i] - y[i]);
    return sum;
}

std::vector<double> Graph::T(const std::vector<double>& x, int n) const {
    if (n <= 0) return {};
    std::vector<double> y(n, c / n);
    const int last = std::min({n, static_cast<int>(V.size()), static_cast<int>(x.size())});
    for (int p = 0; p < last; ++p) {
        const Vertex& source = *V[p];
        // Out-arcs that weigh nothing in all pass nothing on (0 / 0 counts as 0).
        if (source.sum_out == 0) continue;
        for (const Edge* e : source.out) {
            if (e->to < 0 || e->to >= n) continue;
            y[e->to] += (1 - c) * e->label_weight / source.sum_out * x[p];
        }
    }
    return y;
}

std::vector<double> Graph::computeU(double delta, int n) const {
    return walkScores(*this, delta, n, [&](const std::vector<double>& x) { return T(x, n); });
}

std::vector<double> Graph::T2(const std::vector<double>& x, int n, int label) const {
    if (n <= 0) return {};
    std::vector<double> y(n, c / n);
    const int last = std::min({n, static_cast<int>(V.size()), static_cast<int>(x.size()),
                               static_cast<int>(c_out.size())});
    for (int p = 0; p < last; ++p) {
        if (label < 0 || label >= static_cast<int>(c_out[p].size()) || c_out[p][label] <= 0) continue;
        for (const Edge* e : V[p]->out) {
            if (e->to < 0 || e->to >= n) continue;
            // Each arc of the edge is one character of its label, read on its own.
            for (char ch : e->label) {
                if (ch < '0' || ch > '9' || ch - '0' != label) continue;
                y[e->to] += (1 - c) * x[p] / c_out[p][label];
            }
        }
    }
    return y;
}

std::vector<std::vector<double>>& Graph::computeU2(double delta, int n) {
    uu.assign(nb_labels + 1, std::vector<double>());
    for (int k = 1; k <= nb_labels; ++k)
        uu[k] = walkScores(*this, delta, n, [&](const std::vector<double>& x) { return T2(x, n, k); });
    return uu;
}

void Graph::nodeRank(double _c, double epsilon) {
    const int n = rankedCount(*this);
    c = _c;
    u = computeU(epsilon, n);

    hub.assign(n, 0.0);
    norm.assign(n, 0.0);
    for (int i = 0; i < n; ++i) {
        for (const Edge* e : V[i]->out)
            if (e->to >= 0 && e->to < n) hub[i] += u[e->to];
        double outs = static_cast<double>(V[i]->out.size());
        double ins = static_cast<double>(V[i]->in.size());
        norm[i] = std::sqrt(outs * outs + ins * ins);
    }

    storeStatistics(scoreStatistics(u, n), min_u, max_u, mean_u, std_u, maxi_u);
    storeStatistics(scoreStatistics(norm, n), min_norm, max_norm, mean_norm, std_norm, maxi_norm);

    sortNodes();
    hasRanking = true;
}

void Graph::nodeRank2(double _c, double epsilon) {
    ensureRelations();  // the per-digit walk divides by c_out
    const int n = rankedCount(*this);
    c = _c;
    computeU2(epsilon, n);
    uu_stats.assign(nb_labels + 1, std::vector<double>());
    for (int k = 1; k <= nb_labels; ++k) {
        storeStatistics(scoreStatistics(uu[k], n), min_u, max_u, mean_u, std_u, maxi_u);
        uu_stats[k] = {min_u, mean_u, std_u, maxi_u, max_u};
    }
}

void Graph::sortNodes() {
    const int n = rankedCount(*this);
    rank = ranksOf(u, n);
    _rank = ranksOf(norm, n);
    level.assign(n, 0);
    level_count.assign(100, 0);
    for (int i = 0; i < n; ++i) {
        level[i] = static_cast<int>(static_cast<long long>(rank[i]) * 100 / n);
        level_count[level[i]] += 1;
    }
}

double Graph::getLocalRank(int node, int cover) {
    std::cout << "\n ***___MiniGraph___*** : " << node << " \n";
    const int n = static_cast<int>(V.size());
    std::set<int> ball{node};
    for (int step = 0; step < cover; ++step) {
        std::set<int> reached;
        for (int v : ball) {
            if (v < 0 || v >= n) continue;
            for (const Edge* e : V[v]->edges) {
                reached.insert(e->from);
                reached.insert(e->to);
            }
        }
        ball.insert(reached.begin(), reached.end());
    }

    std::map<int, int> newNumber;
    for (int v : ball) newNumber.emplace(v, static_cast<int>(newNumber.size()));
    std::string arcs;
    int arcCount = 0;
    for (int v : ball) {
        if (v < 0 || v >= n) continue;
        for (const Edge* e : V[v]->out) {
            auto target = newNumber.find(e->to);
            if (target == newNumber.end()) continue;
            for (char ch : e->label) {
                if (ch < '0' || ch > '9') continue;
                arcs += "\ne," + to_string(newNumber[v]) + "," + to_string(target->second) + "," + ch;
                ++arcCount;
            }
        }
        std::cout << "\t" << v;
    }
    const int ballSize = static_cast<int>(ball.size());
    std::string text = to_string(ballSize) + "," + to_string(arcCount) + arcs;
    std::cout << "\n";

    double result = 1.0;
    if (ballSize < 2) {
        std::cout << node << "," << result << "\n";
        return result;
    }
    Graph local(7, text);
    const int localNode = newNumber[node];
    result = entryOr0(local.u, localNode);
    std::cout << node << "," << localNode << "," << result << "\n";
    return result;
}

void Graph::printU() const {
    OutputFile out;
    if (!openMetrics(out, name)) return;
    const int n = rankedCount(*this);
    for (int i = 0; i < n; ++i) {
        const Vertex& v = *V[i];
        out << v.number << "," << v.label << "," << entryOr0(u, i) << "," << entryOr0(local_u, i) << ","
            << (i < static_cast<int>(rank.size()) ? rank[i] : 0) << "," << v.edges.size() << "," << v.in.size()
            << "," << v.out.size() << "\n";
    }
}

void Graph::printU2() const {
    OutputFile out;
    if (!openMetrics(out, name)) return;
    const int n = rankedCount(*this);
    for (int i = 0; i < n; ++i) {
        const Vertex& v = *V[i];
        out << v.number << "," << v.label << "," << entryOr0(u, i);
        for (int k = 1; k <= nb_labels; ++k)
            out << "," << (k < static_cast<int>(uu.size()) ? entryOr0(uu[k], i) : 0.0);
        out << "," << v.edges.size() << "," << v.in.size() << "," << v.out.size() << "\n";
    }
}

void Graph::ensureRanking() {
    if (hasRanking) return;
    ensureRelations();
    nodeRank(0.15, 1e-8);
}

}  // namespace graphmat
