// Start solutions of the search: the known matching, a start matching by
// start-solution mode, its cost, and the first filling of the delta matrix
// and the candidate structure; mode 0 runs the similarity experiment.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "graph/CapacityChecks.h"
#include "graph/Clock.h"
#include "graph/InputFiles.h"
#include "graph/OutputFiles.h"
#include "graph/Random.h"
#include "matching/Cost.h"
#include "solvers/FastFind.h"
#include "solvers/Hungarian.h"
#include "graph/CommandLine.h"
#include "matching/Match.h"
#include "mces/MCES.h"

namespace graphmat {

namespace {

bool hasArcs(const Vertex& v) { return !v.edges.empty(); }

// The vertex labels of two graphs as numbers, so that comparing the labels
// of a pair compares two ints.
class LabelIds {
public:
    LabelIds(const Graph& a, const Graph& b) {
        std::unordered_map<std::string, int> ids;
        auto number = [&](const Graph& g, std::vector<int>& out) {
            for (const auto& v : g.V) out.push_back(ids.try_emplace(v->label, static_cast<int>(ids.size())).first->second);
        };
        number(a, id1_);
        number(b, id2_);
    }
    bool same(int i, int j) const { return id1_[i] == id2_[j]; }

private:
    std::vector<int> id1_, id2_;
};

}  // namespace

// Stores the similarities of a finished matcher in _M for every pair, as a
// per-pair copy would, but by taking over the matcher's table when it covers
// exactly the two graphs.
void Match::takeSimilarities(DenseMatrix<float>&& simil) {
    const int order1 = static_cast<int>(g1->V.size());
    const int order2 = static_cast<int>(g2->V.size());
    if (simil.rows() == order1 && simil.cols() == order2) {
        std::vector<float> values = simil.release();
        if (_M.assignAll(std::move(values))) return;
        simil = DenseMatrix<float>();
    }
    for (int i = 0; i < order1 && i < simil.rows(); ++i)
        for (int j = 0; j < order2 && j < simil.cols(); ++j) _M(i, j) = simil(i, j);
}

std::string Match::knownMatchingPath(const std::string& graph1Name) {
    return "./datasets/random/" + graph1Name.substr(0, graph1Name.empty() ? 0 : graph1Name.size() - 1) + ".csv";
}

// Reads the known matching of the run into kbt: six lines skipped, then one
// "x,y" pair per line.
static void readKnownMatching(Match& m) {
    const std::string path = Match::knownMatchingPath(m.g1->name);
    std::cout << "\n" << path;
    const int order1 = static_cast<int>(m.g1->V.size());
    const int order2 = static_cast<int>(m.g2->V.size());
    m.kbt.assign(order1, -1);
    InputFile file;
    if (!file.open(path)) reportMissingInput(file.text());
    std::string line;
    for (int lineNumber = 0; file.is_open() && readLine(file, line); ++lineNumber) {
        if (lineNumber < 6) continue;
        auto fields = splitString(line, SEPARATOR);
        if (!fields || fields->size() < 2) continue;
        int x = -1, y = -1;
        if (!from_string((*fields)[0], x) || !from_string((*fields)[1], y)) continue;
        if (x < 0 || x >= order1 || y < 0 || y >= order2) continue;
        if (m.g1->V[x]->label != m.g2->V[y]->label && m.costs->node_error >= 1000) continue;
        m.kbt[x] = y;
    }
    std::cout << "\n MU ACQUIRED \n";
}

void Match::initGammaMatrix_v2(int alg, int discrim) {
    const int order1 = static_cast<int>(g1->V.size());
    const int order2 = static_cast<int>(g2->V.size());

    // Step 1: reset.
    minAll = 500000.0;
    nb_labels = std::min(g1->nb_labels, g2->nb_labels) + 1;
    std::cout << "\n INIT " << order1 << "/" << order2 << " \n";
    greedy_time = 0;
    nb_matched = 0;
    nb_matched_isolated = 0;
    nb_unmatched_isolated = 0;
    initialChosenCell_ = std::make_unique<cell>();
    initialChosenCell_->x = -1;
    initialChosenCell_->y = -1;
    chosenCell = initialChosenCell_.get();
    std::cout << "\n Before Pairs " << "\n Before TMP ";
    computeSim = 0;
    _computeSim = 0;

    // Step 2: the known matching.
    if (readsKnownMatching(initType)) readKnownMatching(*this);

    // Step 3: the start matching.
    const double nodeError = costs->node_error;
    auto sameLabel = [&](int i, int j) { return g1->V[i]->label == g2->V[j]->label; };
    // Solves the assignment whose cell (i, j) is `cellCost(i, j)` (graph-1
    // vertices in the first rows; the solver takes the rows one at a time,
    // so no matrix is kept here) and pairs each graph-1 vertex with the
    // graph-2 vertex of its column, unless differing labels are forbidden;
    // returns the optimum, the sum of the assigned cells of graph-1 rows.
    auto assignAndPair = [&](int rows, int columns, auto&& cellCost) {
        Hungarian solver;
        solver.solve(rows, columns, [&](int i, double* row) {
            for (int j = 0; j < columns; ++j) row[j] = cellCost(i, j);
        });
        double optimum = 0;
        for (int i = 0; i < order1; ++i) {
            const int r = solver.results[i];
            if (r == -1) continue;
            optimum += cellCost(i, r);
            if (r < order2 && (nodeError < 1000 || sameLabel(i, r))) pairUp(M12, M21, i, r);
        }
        return optimum;
    };
    if (initType == 4) {
        double before = clockMs();
        greedy_time = clockMs() - before;
    } else if (initType == 2) {
        double before = clockMs();
        auto greedy = std::make_unique<MCES>(alg, discrim, g1, g2, 0.0f, randomSeed, nodeError, true);
        greedy_time = clockMs() - before;
        for (int i = 0; i < order1; ++i) M12[i] = greedy->M12[i];
        for (int j = 0; j < order2; ++j) M21[j] = greedy->M21[j];
        for (int i = 0; i < order1; ++i)
            for (int j = 0; j < order2; ++j)
                if (!greedy->overlaps(i, j)) updateMoves(i, j, false);
        similaritiesUnstored = true;
    } else if (initType == 3) {
        const double p = costs->node_error * costs->lab_error * costs->str_error;
        if (p == 0)
            fillSimMatrixH();
        else if (p == 1)
            fillSimMatrixH1();
        std::cout << "\n RB MATCH MATRIX FILLED ";
        const int n = order1 + order2;
        // The square of the structural start: pairs, then the deletion and
        // insertion diagonals (32767 off them), then the free pairs of the
        // fillers. The solver reads it row by row; no copy is kept here.
        auto structural = [&](int i, int j) -> double {
            if (i < order1 && j < order2) {
                // A pair without a stored similarity reads (and stores) 0.
                double v = _M(i, j);
                if (!sameLabel(i, j) && nodeError >= 1000) v = nodeError;
                return v;
            }
            if (i < order1) {
                if (j != order2 + i) return 32767.0;
                return 0.5 * g1->V[i]->edges.size() + (p == 1 ? costs->cnd(cost_mode, g1->V[i].get()) : 0);
            }
            if (j < order2) {
                if (i != order1 + j) return 32767.0;
                return 0.5 * g2->V[j]->edges.size() + (p == 1 ? costs->cni(cost_mode, g2->V[j].get()) : 0);
            }
            return 0;
        };
        double optimum = assignAndPair(n, n, structural);
        double c = cost(cost_mode);
        std::cout << "\n\n Optimum " << optimum << " -- " << c << "\n\n";
    } else if (initType == 5) {
        DenseMatrix<float> similarities;
        {
            MCES statistics(alg, discrim, g1, g2, 0.0f, randomSeed, nodeError, false);
            similarities = std::move(statistics.simil);
        }
        // The solver's costs: max(|V1|, |V2|) squared, told per pair of the
        // similarities (at most 8 bytes a cell; 4 when they are floats).
        if (order1 > 0 && order2 > 0) {
            const double side = std::max(order1, order2);
            const double squarePerPair = sizeof(double) * side * side / (static_cast<double>(order1) * order2);
            checkPairTableFits(order1, order2, squarePerPair);
        }
        const LabelIds labels(*g1, *g2);
        auto similarityCost = [&](int i, int j) -> double {
            return labels.same(i, j) ? 1 - similarities(i, j) : 10000.0;
        };
        similaritiesUnstored = true;
        double optimum = assignAndPair(order1, order1 > 0 ? order2 : 0, similarityCost);  // no rows: no columns
        similarities.clear();
        std::cout << "\n\n OPTIMUM: " << optimum << "\n\n";
    } else if (initType > 0 && initType < 1) {
        // Selection sampling: each known pair survives as a seed with the
        // running probability wanted / (vertices left).
        int wanted = static_cast<int>(initType * order1);
        int k = 0;
        std::vector<int> seed(order1, -1);
        for (int i = 0; i < order1; ++i) {
            seed[i] = kbt[i];
            double a = rand15() / 32767.0;
            double p = kbt[i] == -1 ? 0.0 : static_cast<double>(wanted) / (order1 - i);
            if (a > p) {
                seed[i] = -1;
            } else {
                --wanted;
                std::cout << "\n" << k << "\t" << i << "=" << seed[i];
                ++k;
            }
        }
        std::cout << "\n";
        double before = clockMs();
        auto seeded = std::make_unique<MCES>(alg, discrim, g1, g2, 0.0f, randomSeed, seed.data(), nodeError);
        greedy_time = clockMs() - before;
        for (int i = 0; i < order1; ++i) M12[i] = seeded->M12[i];
        for (int j = 0; j < order2; ++j) M21[j] = seeded->M21[j];
    }

    // Step 4: counts.
    std::cout << "\n Count Matches ";
    for (int i = 0; i < order1; ++i) {
        if (M12[i] == -1) continue;
        ++numberOfMatchs;
        ++nb_matched;
        if (!hasArcs(*g1->V[i])) ++nb_matched_isolated;
    }
    std::cout << "\t ...Done\n";

    // Step 5: the similarity experiment ends the run.
    if (initType == 0) similarityExperiment(alg, discrim);

    // Step 6: the first cost.
    init_numberOfGoodMatchs = 0;
    if (initType != 1)
        for (int i = 0; i < order1; ++i)
            if (M12[i] == kbt[i]) ++init_numberOfGoodMatchs;
    std::cout << "\n Before Cost Computation";
    currentCost = cost(cost_mode);
    std::cout << "\n\n **********" << currentCost << "(" << init_numberOfGoodMatchs << ")" << "*************\n\n";
    initScore = currentCost;
    bestCost = currentCost;
    bestMatch = M12;
    bestMatch2 = M21;
    std::cout << "\n M1D Before Init \n" << "\n\n Filter" << "\t ...Done \n";

    // Step 7: every valid move between relevant vertices enters the delta
    // matrix and the candidate structure; a start pair whose removal would
    // raise the cost is fixed for the run. A plain pair that is not allowed
    // is never valid, so only allowed pairs are visited.
    std::cout << "\n FIRST UPDATES";
    for (int i = 0; i < order1; ++i) {
        if (!isRelevant1(i)) continue;
        for (int j : move.row(i)) {
            if (!isRelevant2(j) || !isValidMove(i, j)) continue;
            cell* c = &ensureCell(i, j);  // a fresh cell has layer -1 and tabu 0 here
            c->delta = computeDelta(cost_mode, g1->V[i].get(), g2->V[j].get());
            c->delta_m = -c->delta;
            if (M12[i] == j && M21[j] == i && c->delta_m < 0) {
                c->tabu = FIXED_TABU;
                c->fixed = true;
            }
            ff->insert(c, false);
        }
    }

    // Step 8: summary.
    recomputeAll = false;
    int unmatched = 0;
    for (int i = 0; i < order1; ++i) {
        if (M12[i] != -1) continue;
        ++unmatched;
        if (!hasArcs(*g1->V[i])) ++nb_unmatched_isolated;
    }
    std::cout << "\nMatched : " << numberOfMatchs << " Same Name : " << nb_matched << "(" << nb_matched_isolated
              << ")" << "\tOthers : " << unmatched << "(" << nb_unmatched_isolated << ") === " << currentCost << "\n";
}

void Match::similarityExperiment(int alg, int discrim) {
    const int order1 = static_cast<int>(g1->V.size());
    const int order2 = static_cast<int>(g2->V.size());
    granul_distrib = 10000.0;
    sim_distrib.assign(10001, 0);
    {
        DenseMatrix<float> similarities;
        {
            MCES statistics(alg, discrim, g1, g2, 0.0f, randomSeed, costs->node_error, false);
            similarities = std::move(statistics.simil);
        }
        takeSimilarities(std::move(similarities));
    }
    sim_eval.assign(2, std::vector<double>(24, 0.0));
    std::vector<int> candidateHits, acceptedHits;
    int c0 = 0, c1 = 0;

    const int upperBand = 10000, lowerBand = 100;
    std::cout << upperBand << "_" << lowerBand + 1 << "\n";
    std::vector<paire> candidates;
    for (int i = 0; i < order1; ++i) {
        if (!hasArcs(*g1->V[i]) || M12[i] != -1) continue;
        for (int j = 0; j < order2; ++j) {
            if (!hasArcs(*g2->V[j]) || M21[j] != -1) continue;
            const float* s = _M.find(i, j);
            float value = s ? *s : 0.0f;
            if (value > lowerBand / granul_distrib && value <= upperBand / granul_distrib)
                candidates.push_back({static_cast<unsigned>(i), static_cast<unsigned>(j), value});
        }
    }
    candidates = sort_paires(candidates);
    std::cout << candidates.size() << "\n";

    auto similarity = [&](int i, int j) {
        const float* s = _M.find(i, j);
        return s ? static_cast<double>(*s) : 0.0;
    };
    auto knownPair = [&](int x, int y) { return x >= 0 && x < static_cast<int>(kbt.size()) && kbt[x] == y; };
    for (const paire& candidate : candidates) {
        const int x = static_cast<int>(candidate.x1), y = static_cast<int>(candidate.x2);
        const double s = candidate.val;
        if (knownPair(x, y)) candidateHits.push_back(c0);
        ++c0;
        if (M12[x] != -1 || M21[y] != -1) continue;

        // Among the pairs of equal similarity around (x, y), the one whose
        // match lowers the cost most; later ties are drawn at random.
        int chosenX = -1, chosenY = -1, ties = 0;
        double bestDelta = 0;
        bool first = true;
        auto consider = [&](int i, int j) {
            double d = computeDelta(cost_mode, g1->V[i].get(), g2->V[j].get());
            if (first || d < bestDelta) {
                first = false;
                chosenX = i;
                chosenY = j;
                bestDelta = d;
                ties = 0;
            } else {
                ++ties;
                if (1.0 / ties >= rand15() / 32767.0) {
                    chosenX = i;
                    chosenY = j;
                }
            }
        };
        for (int j = 0; j < order2; ++j)
            if (M21[j] == -1 && similarity(x, j) == s) consider(x, j);
        for (int i = 0; i < order1; ++i)
            if (M12[i] == -1 && similarity(i, y) == s) consider(i, y);
        if (!first && bestDelta <= 0) {
            if (knownPair(chosenX, chosenY)) acceptedHits.push_back(c1);
            ++c1;
            M12[chosenX] = chosenY;
            M21[chosenY] = chosenX;
        }
    }

    // Hit statistics: how many known pairs lie within the first 1%, 2%, 5%,
    // 10%, 20% and 50% of the list, and the rank of the pair that fills each.
    auto fillRow = [&](const std::vector<int>& hits, std::vector<double>& row) {
        const int cutoffs[6] = {order1 / 100, order1 / 50, order1 / 20, order1 / 10, order1 / 5, order1 / 2};
        bool fired[6] = {false, false, false, false, false, false};
        for (std::size_t q = 0; q < hits.size(); ++q) {
            std::cout << "\t" << hits[q];
            for (int k = 0; k < 6; ++k) {
                if (!fired[k] && hits[q] + 1 > cutoffs[k]) {
                    fired[k] = true;
                    row[2 * k] = static_cast<double>(q);
                    row[2 * k + 1] = cutoffs[k];
                }
                if (cutoffs[k] - 1 == static_cast<int>(q)) {
                    row[12 + 2 * k] = static_cast<double>(q + 1);
                    row[13 + 2 * k] = hits[q] + 1;
                }
            }
        }
        std::cout << "\n\n";
        for (double value : row) std::cout << value << "\t";
    };
    std::cout << "\n ***************** \n";
    fillRow(candidateHits, sim_eval[0]);
    std::cout << "\n ***************** \n";
    fillRow(acceptedHits, sim_eval[1]);

    OutputFile results;
    openForWriting(results, "sim_results.csv", true);
    auto fields = splitString(g1->name, "_");
    auto field = [&](std::size_t k) {
        return fields && k < fields->size() ? (*fields)[k] : std::string();
    };
    results << discrim << "," << g1->name;
    for (std::size_t k = 1; k <= 10; ++k) results << "," << field(k);
    results << "," << field(11).substr(0, 1);
    results << "," << order1 << "," << order2 << "," << g1->edges << "," << g2->edges;
    for (double value : sim_eval[0]) results << "," << value;
    for (double value : sim_eval[1]) results << "," << value;
    results << "\n";
    results.close();
    exitWithoutTeardown(outputFailed() ? 2 : 1);
}

}  // namespace graphmat
