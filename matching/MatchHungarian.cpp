// The single-assignment matcher: one assignment of the vertices of the two
// graphs over a structural similarity of every pair (rank position and
// degrees), in place of the search.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>

#include "graph/CapacityChecks.h"
#include "matching/Cost.h"
#include "solvers/Hungarian.h"
#include "matching/Match.h"

namespace graphmat {

namespace {

// Similarity of two vertices from their rank positions and in/out degrees:
// the mean of the rank similarity r and the degree similarity d, both in
// [0, 1]. Both graphs must be ranked.
float structuralSimilarity(const Graph& g1, int i, const Graph& g2, int j) {
    const Vertex& a = *g1.V[i];
    const Vertex& b = *g2.V[j];
    const int in1 = static_cast<int>(a.in.size()), out1 = static_cast<int>(a.out.size());
    const int in2 = static_cast<int>(b.in.size()), out2 = static_cast<int>(b.out.size());
    const double norm1 = std::sqrt(static_cast<double>(in1) * in1 + static_cast<double>(out1) * out1);
    const double norm2 = std::sqrt(static_cast<double>(in2) * in2 + static_cast<double>(out2) * out2);
    const double dIn = in1 - in2, dOut = out1 - out2;
    const double norm12 = std::sqrt(dIn * dIn + dOut * dOut);

    double r = 1 - std::fabs(g1.u[i] / g1.maxi_u - g2.u[j] / g2.maxi_u);
    if (!(r > 0)) r = 0;  // negative, or not a number
    const double largest = std::max(norm1, norm2);
    double d = 0;  // two vertices without arcs are not alike by degree
    if (largest != 0) {
        d = 1 - norm12 / largest;
        if (d < 0) d = 0;
    }

    // The cell is a float; each step adds a double to it and stores the
    // result as a float again.
    float cell = 0;
    cell = static_cast<float>(cell + r);
    cell = static_cast<float>(cell + d);
    cell /= 2;
    return cell;
}

}  // namespace

int Match::hungarian(const std::string& /*sim_path*/, int sense) {
    // The similarity file named by -m only selects this road: it is neither
    // opened nor read (a named pipe without a writer would hold the run).
    const int order1 = static_cast<int>(g1->V.size());
    const int order2 = static_cast<int>(g2->V.size());
    // Every pair gets a stored similarity and a cost cell of the solver.
    checkPairTableFits(order1, order2, sizeof(float) + 0.125 + sizeof(double));
    // The rank similarity needs `u` and `maxi_u`, which only some readers
    // fill: rank the graphs now when they are not ranked yet.
    g1->ensureRanking();
    g2->ensureRanking();
    for (int i = 0; i < order1; ++i)
        for (int j = 0; j < order2; ++j) _M(i, j) = structuralSimilarity(*g1, i, *g2, j);

    // A pair's cost is its similarity (1000 where a pair has none). The
    // solver minimises, so with a non-zero sense it is handed 1 - similarity
    // and the assignment maximises the total similarity; with sense 0 it
    // minimises the similarities as they are. The solver reads the costs
    // row by row, so no matrix of them is kept here.
    auto similarity = [&](int i, int j) -> double {
        const float* s = _M.find(i, j);
        return s ? static_cast<double>(*s) : 1000.0;
    };
    Hungarian solver;
    solver.solve(order1, order2, [&](int i, double* row) {
        for (int j = 0; j < order2; ++j) {
            const float* s = _M.find(i, j);
            row[j] = !s ? 1000.0 : sense != 0 ? 1.0 - *s : static_cast<double>(*s);
        }
    });
    // The partner of each graph-1 vertex, -1 when the solver left it on a
    // filler column.
    std::vector<int> assigned(order1, -1);
    for (int i = 0; i < order1; ++i)
        if (solver.results[i] >= 0 && solver.results[i] < order2) assigned[i] = solver.results[i];

    float summatch = 0, min_w = 0;
    for (int i = 0; i < order1; ++i)
        if (assigned[i] != -1) summatch = static_cast<float>(summatch + similarity(i, assigned[i]));
    for (int i = 0; i < order1; ++i)
        for (int j = 0; j < order2; ++j)
            if (g1->V[i]->getLabel() == g2->V[j]->getLabel())
                if (const float* s = _M.find(i, j)) min_w += *s;
    std::cout << summatch << "\t" << min_w << std::endl;

    // The assignment is written over the pre-matching; former partners are
    // cleared so that the partner arrays stay inverse.
    for (int i = 0; i < order1; ++i) {
        const int j = assigned[i];
        if (j == -1) continue;
        pairUp(M12, M21, i, j);
        std::cout << "[" << g1->V[i]->getLabel() << "," << g2->V[j]->getLabel() << "]\t";
    }
    bestMatch = M12;
    bestMatch2 = M21;
    iterations = 0;

    // The counters the reports read, as a start solution sets them: matched
    // graph-1 vertices, and the isolated ones among the matched and the
    // unmatched.
    numberOfMatchs = 0;
    nb_matched = 0;
    nb_matched_isolated = 0;
    nb_unmatched_isolated = 0;
    for (int i = 0; i < order1; ++i) {
        const bool isolated = g1->V[i]->edges.empty();
        if (M12[i] == -1) {
            if (isolated) ++nb_unmatched_isolated;
            continue;
        }
        ++numberOfMatchs;
        ++nb_matched;
        if (isolated) ++nb_matched_isolated;
    }

    bestCost = cost(cost_mode);
    std::cout << "\nMatch -- Cost=" << bestCost << "\n";
    output(1);
    return 0;
}

}  // namespace graphmat
