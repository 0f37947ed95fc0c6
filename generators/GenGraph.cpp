#include "generators/GenGraph.h"

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <stdexcept>

#include "graph/CapacityChecks.h"
#include "graph/Random.h"
#include "graph/stdafx.h"

namespace graphmat {

namespace {

// A uniform draw in [0, 1) of the generator: r / 32768.
double uniform() { return rand15() / 32768.0; }

// The running sums of a law: value k is law(0) + ... + law(k).
std::vector<double> cumulated(const std::vector<double>& law) {
    std::vector<double> sums(law.size());
    for (std::size_t k = 0; k < law.size(); ++k) sums[k] = k == 0 ? law[0] : sums[k - 1] + law[k];
    return sums;
}

bool isDistribution(const std::vector<double>& law) {
    for (double value : law)
        if (!std::isfinite(value) || value < 0) return false;
    return true;
}

}  // namespace

// ------------------------------------------------------------------ laws

std::vector<double> GenGraph::labelLaw(int count, float decay) {
    std::vector<double> law(count);
    for (int k = 0; k < count; ++k) {
        if (decay != 1)
            law[k] = (1 - decay) / (1 - std::pow(decay, count)) * std::pow(decay, k);
        else
            law[k] = 1.0 / count;
    }
    return law;
}

std::vector<double> GenGraph::jointTable(const std::vector<double>& law, float q) {
    const std::size_t count = law.size();
    std::vector<double> table(count * count);
    double previous = 0;
    for (std::size_t a = 0; a < count; ++a)
        for (std::size_t b = 0; b < count; ++b) {
            double value = previous + law[a] * (1 - q) * law[b];
            if (a == b) value += q * law[a];
            table[a * count + b] = value;
            previous = value;
        }
    return table;
}

int GenGraph::walk(const std::vector<double>& cumulated, double u) {
    const int last = static_cast<int>(cumulated.size()) - 1;
    int cell = 0;
    while (cell < last && u > cumulated[cell]) ++cell;
    return cell;
}

// PE(0) = 1 - p; PE(d) = p (1 - eld) / (1 - eld^el) eld^(d-1), or p / el
// when eld is 1.
std::vector<double> GenGraph::edgeLaw(bool print) const {
    std::vector<double> law(el + 1);
    law[0] = 1 - p;
    if (print) std::cout << "\n ProbaE " << 0 << " : " << law[0];
    for (int d = 1; d <= el; ++d) {
        if (eld != 1)
            law[d] = p * (1 - eld) / (1 - std::pow(eld, el)) * std::pow(eld, d - 1);
        else
            law[d] = p / el;
        if (print) std::cout << "\n ProbaE " << d << " : " << law[d];
    }
    return law;
}

// The identity on 0..order-1, then entry k swapped with entry
// k + (r mod (order - k)) for k = 0..order-2.
std::vector<int> GenGraph::shuffled(int order) {
    std::vector<int> permutation(order);
    for (int k = 0; k < order; ++k) permutation[k] = k;
    for (int k = 0; k + 1 < order; ++k) std::swap(permutation[k], permutation[k + rand15() % (order - k)]);
    return permutation;
}

// --------------------------------------------------------- parameter check

std::string GenGraph::modelError(int _n, float _p, const std::string& pWord, float _q, int _nl, float _nld, int _el,
                                 float _eld, float _pd, float _pi) {
    if (_n < 1) return "n must be at least 1";
    if (!std::isfinite(_p) || _p < 0 || _p > 1) return pWord;
    if (!std::isfinite(_q) || _q < 0 || _q > 1) return "q must lie between 0 and 1";
    if (_nl < 1) return "nl must be at least 1";
    if (!std::isfinite(_nld) || _nld < 0) return "nld must be a decay of at least 0 that gives a law of nl labels";
    if (_el < 1) return "el must be at least 1";
    if (!std::isfinite(_eld) || _eld < 0) return "eld must be a decay of at least 0 that gives a law of el labels";
    if (!std::isfinite(_pd) || _pd < 0) return "pd must be a percentage of at least 0";
    if (!std::isfinite(_pi) || _pi < 0) return "pi must be a percentage of at least 0";
    // Sizes by arithmetic alone, before any law or table is built: a label
    // count of a billion is refused at once, not after its law is computed.
    const std::string tooLarge = sizeError(_n, _nl, _el, _pd, _pi);
    if (!tooLarge.empty()) return tooLarge;
    if (!isDistribution(labelLaw(_nl, _nld))) return "nld must be a decay of at least 0 that gives a law of nl labels";
    if (!isDistribution(labelLaw(_el, _eld))) return "eld must be a decay of at least 0 that gives a law of el labels";
    return "";
}

std::string GenGraph::sizeError(int _n, int _nl, int _el, float _pd, float _pi) {
    // The node counts as the constructor computes them (in float).
    const double order1 = _n + std::trunc(static_cast<double>(static_cast<float>(_n * (_pd / 100))));
    const double order2 = _n + std::trunc(static_cast<double>(static_cast<float>(_n * (_pi / 100))));
    const double labels = _nl, arcLabels = _el + 1.0;
    // The two dense label matrices with their row tables; per node its label,
    // its written number and the inverse of the renumbering; the node label
    // law, its running sums and joint table; the same for the arc labels.
    const double bytes = sizeof(int) * (order1 * order1 + order2 * order2) +
                         (sizeof(std::vector<int>) + 3 * sizeof(int)) * (order1 + order2) +
                         sizeof(double) * (labels * labels + 2 * labels + arcLabels * arcLabels + 2 * arcLabels);
    if (order1 > std::numeric_limits<int>::max() || order2 > std::numeric_limits<int>::max() ||
        bytes > physicalMemoryBytes())
        return "n, pd, pi, nl and el ask for tables of " + to_string(bytes) +
               " bytes, more than the physical memory of this machine";
    return "";
}

std::string GenGraph::parameterError(int _n, double _e, double _q, int _nl, double _nld, int _el, double _eld,
                                     double _pd, double _pi) {
    const float storedE = static_cast<float>(_e);
    if (!std::isfinite(storedE) || storedE < 0) return "e must be a number of at least 0";
    const float arcProbability = _n >= 1 ? storedE / _n : 0;
    return modelError(_n, arcProbability, "e must be at most n (e / n is the probability of an arc)",
                      static_cast<float>(_q), _nl, static_cast<float>(_nld), _el, static_cast<float>(_eld),
                      static_cast<float>(_pd), static_cast<float>(_pi));
}

// ------------------------------------------------------------ the pair

GenGraph::GenGraph() = default;

GenGraph::GenGraph(int _n, double _e, double _q, int _nl, double _nld, int _el, double _eld, double _pd,
                   double _pi, std::string filename, int _seed, bool undir) {
    const std::string error = parameterError(_n, _e, _q, _nl, _nld, _el, _eld, _pd, _pi);
    if (!error.empty()) throw std::invalid_argument(error);

    store(_n, _e, _q, _nl, _nld, _el, _eld, _pd, _pi, _seed, undir);
    srand15(static_cast<unsigned>(seed));
    if ((nl == 1 && nld != 1) || (el == 1 && eld != 1)) return;

    std::cout << n << "," << p << "," << q << "," << nl << "," << nld << "," << el << "," << eld << "," << pd
              << "," << pi << "," << seed << "\n";
    allocate();

    // Node labels: the joint table of the common nodes, normalised so that
    // its last cell is 1.
    const std::vector<double> nodeLaw = labelLaw(nl, nld);
    for (int k = 0; k < nl; ++k) std::cout << "\n PROBA " << k << " : " << nodeLaw[k];
    std::cout << "\n";
    std::vector<double> nodeTable = jointTable(nodeLaw, q);
    for (int a = 0; a < nl; ++a)
        for (int b = 0; b < nl; ++b) {
            const double value = nodeTable[a * nl + b];
            std::cout << a << "," << b << "," << value << "," << value << "\n";
        }
    const double nodeTotal = nodeTable.back();
    for (double& value : nodeTable) value = value / nodeTotal;

    for (int i = 0; i < n; ++i) {
        const int cell = walk(nodeTable, uniform());
        const int a = cell / nl, b = cell % nl;
        nodes1[i] = a;
        nodes2[i] = b;
        if (a != b) {
            n_node_errors += 1;
            v_node_errors += std::abs(a - b);
        }
    }
    const std::vector<double> nodeSum = cumulated(nodeLaw);
    std::cout << "\n NSUMPROBA = " << nodeSum[nl - 1] << "\n";
    for (int i = n; i < n1; ++i) nodes1[i] = walk(nodeSum, uniform());
    for (int i = n; i < n2; ++i) nodes2[i] = walk(nodeSum, uniform());

    drawArcs(true);
    write(filename);
}

// Arcs: the joint table of the common pairs (its total is 1 by
// construction), then the single law of the extra pairs, then the
// renumberings. The full model prints its law and table and sums the label
// differences; the model without node labels counts a differing pair once.
void GenGraph::drawArcs(bool fullModel) {
    const std::vector<double> arcLaw = edgeLaw(fullModel);
    const std::vector<double> arcTable = jointTable(arcLaw, q);
    if (fullModel)
        for (int a = 0; a <= el; ++a)
            for (int b = 0; b <= el; ++b) {
                const double value = arcTable[a * (el + 1) + b];
                std::cout << "\n" << a << "," << b << "," << value << "," << value;
            }
    const bool undir = undirected == 1;
    drawCommonPairs(arcTable, undir, fullModel);
    if (undir) {
        struct_errors *= 2;
        label_errors *= 2;
        score *= 2;
        if (fullModel) edge_errors *= 2;
    }
    if (!fullModel) edge_errors = label_errors + struct_errors;
    const std::vector<double> arcSum = cumulated(arcLaw);
    drawExtraPairs(edges1, n1, m1, arcSum, undir);
    drawExtraPairs(edges2, n2, m2, arcSum, undir);

    to_shuffle1 = shuffled(n1);
    to_shuffle2 = shuffled(n2);
}

// The parameters as the members hold them (floats), the node counts and
// the arc probability in the members' arithmetic.
void GenGraph::store(int _n, double _e, double _q, int _nl, double _nld, int _el, double _eld, double _pd,
                     double _pi, int _seed, bool undir) {
    undirected = undir ? 1 : 0;
    n = _n;
    pd = static_cast<float>(_pd);
    pi = static_cast<float>(_pi);
    q = static_cast<float>(_q);
    e = static_cast<float>(_e);
    nld = static_cast<float>(_nld);
    eld = static_cast<float>(_eld);
    nl = _nl;
    el = _el;
    seed = _seed;
    // In float, as the members are: n = 100 with pd = 29 gives 129 nodes.
    n1 = n + static_cast<int>(n * (pd / 100));
    n2 = n + static_cast<int>(n * (pi / 100));
    p = e / n;
}

std::vector<std::string> GenGraph::pairFiles(const std::string& filename, int _n, double _e, double _q, int _nl,
                                             double _nld, int _el, double _eld, double _pd, double _pi, int _seed,
                                             bool undir) {
    GenGraph probe;
    probe.store(_n, _e, _q, _nl, _nld, _el, _eld, _pd, _pi, _seed, undir);
    return pairFiles(probe.pairPrefix(filename), probe.hasMatrixFiles());
}

std::vector<PlannedFile> GenGraph::matrixFiles(const std::string& filename, int _n, double _e, double _q, int _nl,
                                               double _nld, int _el, double _eld, double _pd, double _pi, int _seed,
                                               bool undir) {
    GenGraph probe;
    probe.store(_n, _e, _q, _nl, _nld, _el, _eld, _pd, _pi, _seed, undir);
    return probe.matrixFiles(probe.pairPrefix(filename));
}

// Both label matrices and node label arrays, zero, and every count zero.
void GenGraph::allocate() {
    edges1.assign(n1, std::vector<int>(n1, 0));
    edges2.assign(n2, std::vector<int>(n2, 0));
    nodes1.assign(n1, 0);
    nodes2.assign(n2, 0);
    m1 = m2 = label_errors = struct_errors = score = edge_errors = n_node_errors = v_node_errors = 0;
}

void GenGraph::drawCommonPairs(const std::vector<double>& table, bool undir, bool sumEdgeErrors) {
    const int labels = el + 1;
    for (int i = 0; i < n; ++i)
        for (int j = undir ? i + 1 : 0; j < n; ++j) {
            if (j == i) continue;
            const int cell = walk(table, uniform());
            const int a = cell / labels, b = cell % labels;
            edges1[i][j] = a;
            if (a != 0) ++m1;
            if (undir) {
                edges1[j][i] = a;
                if (a != 0) ++m1;
            }
            edges2[i][j] = b;
            if (b != 0) ++m2;
            if (undir) {
                edges2[j][i] = b;
                if (b != 0) ++m2;
            }
            if (a != b) {
                if (a != 0 && b != 0)
                    ++label_errors;
                else
                    ++struct_errors;
                if (sumEdgeErrors) edge_errors += std::abs(a - b);
            } else if (a != 0) {
                ++score;
            }
        }
}

void GenGraph::drawExtraPairs(std::vector<std::vector<int>>& edges, int order, int& arcs,
                              const std::vector<double>& cumulated, bool undir) {
    for (int i = 0; i < order; ++i)
        for (int j = undir ? i + 1 : 0; j < order; ++j) {
            if (j == i || (i < n && j < n)) continue;
            const int label = walk(cumulated, uniform());
            edges[i][j] = label;
            if (label != 0) ++arcs;
            if (undir) {
                edges[j][i] = label;
                if (label != 0) ++arcs;
            }
        }
}

// -------------------------------------------------- the earlier models

GenGraph::GenGraph(int _n, double _e, double _q, int _el, double _d, double _pd, double _pi, std::string filename,
                   int _seed, bool undir) {
    const std::string error = parameterError(_n, _e, _q, 1, 1.0, _el, _d, _pd, _pi);
    if (!error.empty()) throw std::invalid_argument(error);

    // What the files say of the nodes: one label, which every node has.
    store(_n, _e, _q, 1, 1.0, _el, _d, _pd, _pi, _seed, undir);
    srand15(static_cast<unsigned>(seed));
    if (el == 1 && eld != 1) return;

    std::cout << n << "," << p << "," << q << "," << el << "," << eld << "," << pd << "," << pi << "," << seed
              << "\n";
    allocate();
    drawArcs(false);
    write(filename);
}

GenGraph::GenGraph(int _n, double _p, double _q, int _el, double _d, std::string filename, int _seed) {
    const std::string error = modelError(_n, static_cast<float>(_p), "p must lie between 0 and 1",
                                         static_cast<float>(_q), 1, 1, _el, static_cast<float>(_d), 0, 0);
    if (!error.empty()) throw std::invalid_argument(error);

    n = _n;
    q = static_cast<float>(_q);
    p = static_cast<float>(_p);
    el = _el;
    eld = static_cast<float>(_d);
    seed = _seed;
    srand15(static_cast<unsigned>(seed));
    if (el == 1 && eld != 1) return;

    std::cout << n << "," << p << "," << q << "," << el << "," << eld << "," << seed << "\n";
    prepareCommonNodeModel();
    // Graph 2 is kept in the order of graph 1: written through to_shuffle2
    // = to_shuffle, node i of graph 1 is node to_shuffle[i] of graph 2.
    drawCommonPairs(jointTable(edgeLaw(false), q), false, true);
    write(filename);
}

GenGraph::GenGraph(int _n, double _p, double _q, std::string filename, int _seed) {
    const std::string error = modelError(_n, static_cast<float>(_p), "p must lie between 0 and 1",
                                         static_cast<float>(_q), 1, 1, 1, 1, 0, 0);
    if (!error.empty()) throw std::invalid_argument(error);

    n = _n;
    q = static_cast<float>(_q);
    p = static_cast<float>(_p);
    seed = _seed;
    el = 1;
    eld = 1;
    prepareCommonNodeModel();

    // Four outcomes for an ordered pair: no arc, an arc in graph 2 only, in
    // graph 1 only, in both.
    const double c = 1 - p;
    const std::vector<double> outcomes =
        cumulated({c * q + c * (1 - q) * c, c * (1 - q) * p, c * (1 - q) * p, p * q + p * (1 - q) * p});
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            if (j == i) continue;
            const int k = walk(outcomes, uniform());
            const int a = (k == 2 || k == 3) ? 1 : 0;
            const int b = (k == 1 || k == 3) ? 1 : 0;
            edges1[i][j] = a;
            m1 += a;
            edges2[i][j] = b;  // in the order of graph 1, as above
            m2 += b;
            if (a != b) ++struct_errors;
            if (a == 1 && b == 1) ++score;
        }
    edge_errors = struct_errors;
    write(filename);
}

// The members the files of a model of common nodes need: n nodes on both
// sides, no extra nodes, one node label, a directed pair; graph 1 written
// as drawn and graph 2 through the renumbering to_shuffle.
void GenGraph::prepareCommonNodeModel() {
    n1 = n2 = n;
    e = p * n;
    pd = pi = 0;
    nl = 1;
    nld = 1;
    undirected = 0;
    allocate();
    to_shuffle = shuffled(n);
    to_shuffle1.resize(n);
    for (int i = 0; i < n; ++i) to_shuffle1[i] = i;
    to_shuffle2 = to_shuffle;
}

// ------------------------------------------------------------ date text

std::string getMeDate(std::time_t when) {
    std::tm fields{};
    localtime_r(&when, &fields);
    return to_string(fields.tm_year) + "_" + to_string(fields.tm_mon) + "_" + to_string(fields.tm_mday) + "_" +
           to_string(fields.tm_hour) + "_" + to_string(fields.tm_min) + "_" + to_string(fields.tm_sec);
}

std::string getMeDate() { return getMeDate(std::time(nullptr)); }

}  // namespace graphmat
