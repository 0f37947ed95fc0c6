// Match: pair matrices built from the structure of the two graphs alone,
// for the structural assignment start: a neighbour-correspondence distance
// from the common-edge-subgraph statistics, a local edit-cost estimate per
// pair, and an arc-label overlap similarity with its histogram.
#include <algorithm>
#include <cmath>
#include <iostream>
#include <vector>

#include "matching/Cost.h"
#include "solvers/Hungarian.h"
#include "matching/Match.h"
#include "mces/MCES.h"

namespace graphmat {

namespace {

int neighbourCount(const Graph* g, int v) {
    return v < static_cast<int>(g->neighbors.size()) ? static_cast<int>(g->neighbors[v].size()) : 0;
}

}  // namespace

void Match::fillSimMatrixH() {
    const int order1 = static_cast<int>(g1->V.size());
    const int order2 = static_cast<int>(g2->V.size());
    const double nodeError = costs ? costs->node_error : 0.0;
    // Similarity code 1 selects HENodes, the best neighbour correspondence,
    // as the matcher's potential.
    auto structure = std::make_unique<MCES>(5, 1, g1, g2, 0.0f, randomSeed, nodeError, false);
    for (int i = 0; i < order1; ++i) {
        const Vertex* v1 = g1->V[i].get();
        const int in1 = v1->nb_in, out1 = v1->nb_out, s1 = neighbourCount(g1, i);
        for (int j = 0; j < order2; ++j) {
            const Vertex* v2 = g2->V[j].get();
            const int in2 = v2->nb_in, out2 = v2->nb_out, s2 = neighbourCount(g2, j);
            const long long degrees = 4LL * (in1 + out1 - s1) + 3LL * (2 * s1 - in1 - out1) +
                                      3LL * (2 * s2 - in2 - out2) + 4LL * (in2 + out2 - s2);
            _M(i, j) = static_cast<float>(degrees - 2LL * structure->potential.count(i, j));
        }
    }
}

void Match::fillSimMatrixH1() {
    g1->ensureRelations();
    g2->ensureRelations();
    const int order1 = static_cast<int>(g1->V.size());
    const int order2 = static_cast<int>(g2->V.size());
    for (int i = 0; i < order1; ++i)
        for (int j = 0; j < order2; ++j) _M(i, j) = static_cast<float>(bestNMatches1(i, j));
}

double Match::bestNMatches1(int x, int y) {
    g1->ensureRelations();
    g2->ensureRelations();
    Vertex* vx = g1->V[x].get();
    Vertex* vy = g2->V[y].get();
    const int s1 = neighbourCount(g1, x);
    const int s2 = neighbourCount(g2, y);
    const double base = costs->raw_cns(cost_mode, vx, vy, 0.0f);
    if (s1 == 0 && s2 == 0) return base;
    if (s1 == 0 || s2 == 0) return base + 0.5 * (s1 > 0 ? vx->getNEdges() : vy->getNEdges());

    const std::vector<int> A(g1->neighbors[x].begin(), g1->neighbors[x].end());
    const std::vector<int> B(g2->neighbors[y].begin(), g2->neighbors[y].end());
    // Rows: substitute or delete each neighbour of x; columns: substitute
    // or insert each neighbour of y; the fillers pair deletions with
    // insertions at no cost.
    const int side = s1 + s2;
    std::vector<double> cells(static_cast<std::size_t>(side) * side, 0.0);
    auto at = [&](int r, int c) -> double& { return cells[static_cast<std::size_t>(r) * side + c]; };
    auto arcs = [](const Edge* to, const Edge* from) { return (to ? 1 : 0) + (from ? 1 : 0); };
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c)
            if (r < s1 || c < s2) at(r, c) = 32767.0;
    for (int r = 0; r < s1; ++r) {
        const Edge* out1 = g1->getEdge(x, A[r]);
        const Edge* in1 = g1->getEdge(A[r], x);
        for (int c = 0; c < s2; ++c) {
            const Edge* out2 = g2->getEdge(y, B[c]);
            const Edge* in2 = g2->getEdge(B[c], y);
            at(r, c) = costs->raw_ces(cost_mode, out1, out2, getENodes1(out1), getENodes2(out2)) +
                       costs->raw_ces(cost_mode, in1, in2, getENodes1(in1), getENodes2(in2));
        }
        at(r, s2 + r) = costs->cnd(cost_mode, g1->V[A[r]].get()) + 0.5 * arcs(out1, in1);
    }
    for (int c = 0; c < s2; ++c) {
        const int arcs2 = arcs(g2->getEdge(y, B[c]), g2->getEdge(B[c], y));
        at(s1 + c, c) = costs->cni(cost_mode, g2->V[B[c]].get()) + 0.5 * arcs2;
    }

    // One solver for every pair: it keeps its buffers from solve to solve.
    thread_local Hungarian solver;
    solver.solve(side, side, [&](int r, double* row) { std::copy(&at(r, 0), &at(r, 0) + side, row); });
    double optimum = 0;
    for (int r = 0; r < side && r < static_cast<int>(solver.results.size()); ++r) {
        const int c = solver.results[r];
        if (c >= 0 && c < side) optimum += at(r, c);
    }
    return static_cast<float>(base + optimum);
}

void Match::fillSimMatrix() {
    g1->ensureRelations();
    g2->ensureRelations();
    const int order1 = static_cast<int>(g1->V.size());
    const int order2 = static_cast<int>(g2->V.size());
    auto count = [](const std::vector<std::vector<int>>& table, int v, int k) {
        return v < static_cast<int>(table.size()) && k < static_cast<int>(table[v].size()) ? table[v][k] : 0;
    };

    int maxS = 0;
    for (int i = 0; i < order1; ++i) {
        for (int j = 0; j < order2; ++j) {
            int s = 0;
            for (int k = 1; k < nb_labels; ++k)
                s += std::min(count(g1->c_in, i, k), count(g2->c_in, j, k)) +
                     std::min(count(g1->c_out, i, k), count(g2->c_out, j, k));
            _M(i, j) = static_cast<float>(s);
            if (s > maxS) maxS = s;
        }
    }

    for (int i = 0; i < order1; ++i) {
        const Vertex* v1 = g1->V[i].get();
        for (int j = 0; j < order2; ++j) {
            const Vertex* v2 = g2->V[j].get();
            const float m = _M(i, j);
            const int degrees = v1->nb_in + v1->nb_out + v2->nb_in + v2->nb_out;
            float value = degrees != 0 ? 2 * m / degrees : 0.0f;
            // No pair shares a labelled arc when maxS is 0: every value is 0.
            value = value * (maxS != 0 ? m / maxS : 0.0f);
            _M(i, j) = value;
            if (value < 0) std::cout << value << "\n";
            const double slot = graphmat::round(value * granul_distrib);
            if (sim_distrib.empty() || !(slot >= 0) || slot >= static_cast<double>(sim_distrib.size())) continue;
            sim_distrib[static_cast<std::size_t>(slot)] += 1;
        }
    }
}

}  // namespace graphmat
