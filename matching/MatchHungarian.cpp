// The single-assignment matcher: one assignment of the vertices of the two
// graphs over a structural similarity of every pair (rank position and
// degrees), in place of the search.
#include <cmath>
#include <fstream>
#include <iostream>

#include "matching/Cost.h"
#include "matching/Hungarian.h"
#include "matching/Match.h"

namespace graphmat {

namespace {

// Similarity of two vertices from their rank positions and in/out degrees.
float structuralSimilarity(const Graph& g1, int i, const Graph& g2, int j) {
    const Vertex& a = *g1.V[i];
    const Vertex& b = *g2.V[j];
    const double in1 = static_cast<double>(a.in.size()), out1 = static_cast<double>(a.out.size());
    const double in2 = static_cast<double>(b.in.size()), out2 = static_cast<double>(b.out.size());
    const double norm1 = std::sqrt(in1 * in1 + out1 * out1);
    const double norm2 = std::sqrt(in2 * in2 + out2 * out2);
    const double norm12 = std::sqrt((in1 - in2) * (in1 - in2) + (out1 - out2) * (out1 - out2));
    double r = 1 - std::fabs(g1.u[i] / g1.maxi_u - g2.u[j] / g2.maxi_u);
    if (!(r > 0)) r = 0;
    const double largest = std::max(norm1, norm2);
    double d = 0;
    if (largest != 0) {
        d = 1 - norm12 / largest;
        if (d < 0) d = 0;
    }
    float cell = 0;
    cell += static_cast<float>(r);
    cell += static_cast<float>(d);
    cell /= 2;
    return cell;
}

}  // namespace

int Match::hungarian(const std::string& sim_path, int sense) {
    std::ifstream similarityFile(sim_path);  // opened, not read

    const int order1 = static_cast<int>(g1->V.size());
    const int order2 = static_cast<int>(g2->V.size());
    g1->ensureRanking();
    g2->ensureRanking();
    for (int i = 0; i < order1; ++i)
        for (int j = 0; j < order2; ++j) _M(i, j) = structuralSimilarity(*g1, i, *g2, j);

    // The similarity matrix as built; with a non-zero sense the assignment
    // maximises the total similarity (it solves on 1 - similarity).
    std::vector<std::vector<double>> similarity(order1, std::vector<double>(order2, 1000.0));
    std::vector<std::vector<double>> toSolve(order1, std::vector<double>(order2, 1000.0));
    for (int i = 0; i < order1; ++i)
        for (int j = 0; j < order2; ++j)
            if (const float* s = _M.find(i, j)) {
                similarity[i][j] = *s;
                toSolve[i][j] = sense != 0 ? 1.0 - *s : static_cast<double>(*s);
            }
    Hungarian solver;
    solver.solve(toSolve);

    float summatch = 0, min_w = 0;
    for (int i = 0; i < order1; ++i) {
        int j = solver.results[i];
        if (j >= 0 && j < order2) summatch += static_cast<float>(similarity[i][j]);
    }
    for (int i = 0; i < order1; ++i)
        for (int j = 0; j < order2; ++j)
            if (g1->V[i]->label == g2->V[j]->label)
                if (const float* s = _M.find(i, j)) min_w += *s;
    std::cout << summatch << "\t" << min_w << std::endl;

    for (int i = 0; i < order1; ++i) {
        int j = solver.results[i];
        if (j < 0 || j >= order2) continue;
        // Former partners are cleared so the partner arrays stay inverse.
        if (M12[i] != -1 && M12[i] < order2 && M21[M12[i]] == i) M21[M12[i]] = -1;
        if (M21[j] != -1 && M21[j] < order1 && M12[M21[j]] == j) M12[M21[j]] = -1;
        M12[i] = j;
        M21[j] = i;
        std::cout << "[" << g1->V[i]->label << "," << g2->V[j]->label << "]\t";
    }
    bestMatch = M12;
    bestMatch2 = M21;

    // The counters the reports read, as the start solution would set them.
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
