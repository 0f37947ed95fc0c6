// MCES: the two constructors, the shared initialisation (tables, first gains,
// decoding of the similarity code), the destructor and the state trace.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <unordered_map>

#include "graph/CapacityChecks.h"
#include "mces/MCES.h"

namespace graphmat {

double MCES::feedTimeLimitMs = 60000.0;

namespace {

// A real number truncated toward zero into an int; values beyond the int
// range are clamped and a value that is not a number gives 0.
int truncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

int internText(std::unordered_map<std::string, int>& ids, const std::string& text) {
    auto [it, added] = ids.try_emplace(text, static_cast<int>(ids.size()));
    (void)added;
    return it->second;
}

int vertexCount(const Graph* g) { return std::max(0, std::min(g->vertices, static_cast<int>(g->V.size()))); }

}  // namespace

void MCES::storeParameters(int algo, int simili, float _random, int _seed, double nod_err) {
    idAlgo = algo;
    r_alpha = _random;
    seed = _seed;
    similarity = simili;
    findfast = false;
    ff.reset();
    node_error = truncateToInt(nod_err);
}

MCES::MCES(int algo, int simili, Graph* _g1, Graph* _g2, float _random, int _seed, double nod_err, bool greed) {
    greedy = greed;
    storeParameters(algo, simili, _random, _seed, nod_err);
    initialize(_g1, _g2);
    if (!greedy) return;
    startGreedy();
    BIAS = 1.0;
    runGreedyLoop();
}

MCES::MCES(int algo, int simili, Graph* _g1, Graph* _g2, float _random, int _seed, const int* kbt, double nod_err) {
    greedy = true;
    storeParameters(algo, simili, _random, _seed, nod_err);
    initialize(_g1, _g2);
    findfast = true;
    startGreedy();
    BIAS = 0.0;
    // Seed pairs: one outside graph 2, or naming a graph-2 vertex that an
    // earlier seed took, is skipped, so the partner arrays stay inverse.
    for (int i = 0; kbt != nullptr && i < n1_; ++i) {
        const int partner = kbt[i];
        if (partner < 0 || partner >= n2_ || M21[partner] != -1) continue;
        M12[i] = partner;
        M21[partner] = i;
        updateG(i, partner);
    }
    runGreedyLoop();
}

MCES::~MCES() = default;

void MCES::startGreedy() {
    ff = std::make_unique<FastFind>(BOTTOM_FF, TOP_FF, H_LAYERS, L_LAYERS, std::max(n1_, n2_), M12.data(),
                                    M21.data(), nullptr, nullptr);
    M.reset(n1_, n2_);
    std::cout << "\n INIT " << n1_ << "/" << n2_ << " \n";
}

void MCES::runGreedyLoop() {
    const unsigned none = static_cast<unsigned>(-1);
    while (true) {
        paire next = find();
        if (next.x1 == none) break;
        const int x = static_cast<int>(next.x1);
        const int y = static_cast<int>(next.x2);
        if (idAlgo == 0 || idAlgo == 1 || idAlgo == 8)
            update1(x, y);
        else
            update(x, y);
    }
    std::cout << "\n WON = " << won;
}

void MCES::prepareTables() {
    std::unordered_map<std::string, int> vertexLabels;
    std::unordered_map<std::string, int> edgeLabels;
    auto prepare = [&](Graph* graph, GraphTables& t) {
        const int n = vertexCount(graph);
        t.labelId.assign(n, 0);
        t.labelValue.assign(n, 0);
        t.neighbourCount.assign(n, 0);
        t.arcCount.assign(n, 0);
        for (int i = 0; i < n; ++i) {
            const Vertex* v = graph->V[i].get();
            t.labelId[i] = internText(vertexLabels, v->label);
            int value = 0;  // a label that is not a number reads as 0
            from_string(v->label, value);
            t.labelValue[i] = value;
            t.arcCount[i] = v->nb_in + v->nb_out;
        }
        const int width = graph->nb_labels + 1;
        t.c_in.assign(n, width, 0);
        t.c_out.assign(n, width, 0);
        t.links.assign(n, std::vector<NeighbourLink>());
        auto edgeId = [&](const Edge* e) { return e ? internText(edgeLabels, e->label) : -1; };
        for (int i = 0; i < n; ++i) {
            if (i < static_cast<int>(graph->c_in.size())) {
                const std::vector<int>& in = graph->c_in[i];
                const std::vector<int>& out = graph->c_out[i];
                for (int k = 0; k < width && k < static_cast<int>(in.size()); ++k) t.c_in(i, k) = in[k];
                for (int k = 0; k < width && k < static_cast<int>(out.size()); ++k) t.c_out(i, k) = out[k];
            }
            if (i >= static_cast<int>(graph->neighbors.size())) continue;
            for (int nb : graph->neighbors[i]) {
                if (nb < 0 || nb >= n) continue;
                t.links[i].push_back({nb, t.labelId[nb], edgeId(graph->getEdge(i, nb)), edgeId(graph->getEdge(nb, i))});
            }
            t.neighbourCount[i] = static_cast<int>(graph->neighbors[i].size());
        }
    };
    prepare(g1, t1);
    prepare(g2, t2);
}

void MCES::initialize(Graph* _g1, Graph* _g2) {
    std::cout << "\n MCES \n";
    g1 = _g1;
    g2 = _g2;
    // The per-digit arc counts, neighbour sets and relation maps, built
    // quietly for graphs of every reader mode.
    g1->ensureRelations();
    g2->ensureRelations();
    n1_ = vertexCount(g1);
    n2_ = vertexCount(g2);

    // The similarity code: a signed code of one to three digits; its first
    // digit with the code's sign is the similarity type, the next the
    // discrimination type, the units digit of three the smoothing level.
    const int s = similarity;
    bool withSim = false, withDiscrim = false;
    int level = 0;
    if (s >= -9 && s <= 9) {
        param_sim = s;
        withSim = true;
    } else if (s >= -99 && s <= 99) {
        param_sim = s / 10;
        param_discrim = std::abs(s) % 10;
        withSim = withDiscrim = true;
    } else if (s >= -999 && s <= 999) {
        param_sim = s / 100;
        param_discrim = (std::abs(s) / 10) % 10;
        level = std::abs(s) % 10;
        withSim = withDiscrim = true;
    }

    // The dense pair tables this run makes must fit in memory before any of
    // them is allocated: the similarities and the overlap bits throughout,
    // the connection counts for algorithms 0, 1 and 8; first the
    // discrimination factors (and the smoothing's scratch table), then in
    // their place the gains and, when alpha is not 0, the scores. (The
    // mostly-zero statistic and the candidate cells grow with the pairs that
    // have a value, not with all pairs.)
    const bool withConnexions = idAlgo == 0 || idAlgo == 1 || idAlgo == 8;
    const double discrimPhase = withDiscrim ? sizeof(float) * (level >= 2 ? 2 : 1) : 0.0;
    const double greedyPhase = sizeof(float) + (r_alpha != 0 ? sizeof(double) : 0);
    const double perPair =
        sizeof(float) + 0.125 + (withConnexions ? sizeof(int) : 0) + std::max(discrimPhase, greedyPhase);
    checkPairTableFits(n1_ + 1.0, n2_ + 1.0, perPair);
    nb_labels = 1 + std::min(g1->nb_labels, g2->nb_labels);
    nb_node_labels = 1 + std::min(g1->nbNodeLabels, g2->nbNodeLabels);

    won = 0;
    nbMatched = 0;
    alpha = n1_ * n2_;

    g.clear();  // made after the similarities, see below
    gamma.clear();
    topPairs_.clear();
    scored_ = false;
    livePairs_.clear();
    liveChecked_ = liveIndexed_ = false;
    // setPromoted makes potential and the overlap bits.
    if (withConnexions)
        connexions.assign(n1_ + 1, n2_ + 1, 0);
    else
        connexions.clear();
    simil.clear();  // setSim makes it; zeros without a similarity type
    discrim.clear();
    M12.assign(n1_, -1);
    M21.assign(n2_, -1);
    for (int i = 0; i < n1_; ++i) matched1.insert(i);
    for (int j = 0; j < n2_; ++j) matched2.insert(j);

    prepareTables();

    setPromoted();
    if (withSim)
        setSim(param_sim);
    else
        simil.assign(n1_, n2_, 0.0f);
    if (withDiscrim) setDiscrim(param_discrim, level);
    discrim.clear();  // its product is in simil; nothing reads it later

    // The gains (and the scores) take the place of the discrimination
    // factors: nothing above reads them.
    g.assign(n1_ + 1, n2_ + 1, 0.0f);
    if (r_alpha != 0) gamma.assign(n1_, n2_, 0.0);
    // First gains: a pair of differently labelled vertices starts at minus
    // the label penalty (minus the distance of the labels read as numbers
    // when the penalty is negative). The penalty is negated as an integer,
    // so a penalty of nothing is a plain 0 and never a negative zero.
    for (int i = 0; i < n1_ && node_error != 0; ++i) {  // a penalty of 0 leaves every gain at +0
        float* row = g.row(i);
        for (int j = 0; j < n2_; ++j) {
            if (sameLabel(i, j)) continue;
            long long penalty = node_error;
            if (node_error < 0) penalty = std::llabs(static_cast<long long>(t1.labelValue[i]) - t2.labelValue[j]);
            row[j] = static_cast<float>(-penalty);
        }
    }

    rescore(true);
}

void MCES::printState() const {
    auto printVertices = [&](const Graph* graph, const GraphTables& t, const std::vector<int>& partners) {
        for (int i = 0; i < static_cast<int>(partners.size()); ++i) {
            if (partners[i] >= 0) continue;
            std::cout << i << " : ";
            for (int k = 0; k < nb_labels && k < t.c_in.cols(); ++k)
                if (t.c_in(i, k) + t.c_out(i, k) != 0)
                    std::cout << k << "(" << t.c_in(i, k) << "," << t.c_out(i, k) << ")";
            std::cout << "\t";
            if (i < static_cast<int>(graph->relations.size()))
                for (const auto& [key, count] : graph->relations[i]) std::cout << key << "(" << count << ")";
            std::cout << "\n";
        }
    };
    std::cout << "\n G1: \n";
    printVertices(g1, t1, M12);
    std::cout << "\n G2: \n";
    printVertices(g2, t2, M21);

    auto printWithMargins = [&](const char* title, auto& table) {
        std::cout << title;
        for (int i = 0; i <= n1_; ++i) {
            for (int j = 0; j <= n2_; ++j) {
                if (i == n1_ || j == n2_ || (M12[i] < 0 && M21[j] < 0))
                    std::cout << table(i, j) << "\t";
                else
                    std::cout << "*" << "\t";
            }
            std::cout << "\n";
        }
    };
    printWithMargins("\n potential: \n", potential);
    if (!connexions.empty()) printWithMargins("\n connexions: \n", connexions);

    auto printInner = [&](const char* title, auto& table) {
        std::cout << title;
        for (int i = 0; i < n1_; ++i) {
            for (int j = 0; j < n2_; ++j) {
                if (M12[i] < 0 && M21[j] < 0)
                    std::cout << table(i, j) << "\t";
                else
                    std::cout << "*" << "\t";
            }
            std::cout << "\n";
        }
    };
    printInner("\n g: \n", g);
    if (!gamma.empty()) printInner("\n gamma: \n", gamma);
}

}  // namespace graphmat
