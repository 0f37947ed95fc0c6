// The Tabu search: from the start solution, take a best candidate move,
// carry it out, keep the running cost and the best matching, re-evaluate the
// candidates around the move and those whose tenure ends, until the best cost
// stagnates or no candidate is left; then report the best matching.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iostream>

#include "graph/Clock.h"
#include "graph/OutputFiles.h"
#include "matching/Cost.h"
#include "solvers/FastFind.h"
#include "matching/Match.h"

namespace graphmat {

namespace {

// The stored similarity of a pair, 0 when none is stored; stores nothing.
float storedSimilarity(const PairMap<float>& store, int x, int y) {
    const float* s = store.find(x, y);
    return s ? *s : 0.0f;
}

std::string labelOf(const Vertex* v) { return v ? v->label : std::string(); }

// The vertex and block numbers the delta-matrix update walks, gathered in a
// vector and then settled into ascending order without repeats: the walk
// over a settled list is the walk over the set it stands for.
using NumberList = std::vector<int>;

bool holds(const NumberList& settled, int number) {
    return std::binary_search(settled.begin(), settled.end(), number);
}

// Adds a vertex or block number and its members to a list.
void addWithMembers(NumberList& into, int number, const Vertex* v) {
    into.push_back(number);
    if (v && v->nodes) into.insert(into.end(), v->nodes->begin(), v->nodes->end());
}

}  // namespace

void Match::findMatch() {
    if (ff->nbCandidates == 0) return;
    double start = clockMs();
    chosenCell = ff->find();
    find_time += clockMs() - start;
}

void Match::Tabu(double _init, int alg, int discrim) {
    initType = _init;
    bestCost = currentCost;
    initialChosenCell_ = std::make_unique<cell>();
    initialChosenCell_->x = -1;
    initialChosenCell_->y = -1;
    chosenCell = initialChosenCell_.get();
    const double t0 = clockMs();
    std::cout << "\nInit ...\n\n";

    stagnation_length = static_cast<int>(std::ceil(MAX_ITERATIONS * max_vertices));
    if (stagnation_length > 100) stagnation_length = 100;
    if (stagnation_length <= 9) stagnation_length = 10;
    stagnation = 0;
    recomputeAll = false;
    iterations = 0;
    std::cout << "\n\n STAGNATION = " << stagnation_length;
    bestIterations = -1;

    initGammaMatrix_v2(alg, discrim);

    init_time = clockMs() - t0;
    update_time = 0;
    find_time = 0;
    comp_time = 0;
    good = nb_matched;
    const double loopStart = clockMs();
    std::cout << "\n\n NBMATCHES = " << numberOfMatchs << "\n";

    const int order1 = static_cast<int>(g1->V.size());
    const int order2 = static_cast<int>(g2->V.size());
    const bool searching = !(_init > 0 && _init < 1);
    while (searching) {
        findMatch();
        if (ff->nbCandidates == 0 || chosenCell == nullptr) break;

        cell& chosen = *chosenCell;
        const int x = chosen.x, y = chosen.y;
        double delta = chosen.delta;
        if (iterations < chosen.tabu)
            std::cout << "\n\n\n\t\t\t\t[[[[" << currentCost << " / " << x << "[" << labelOf(getVertex1(x)) << "] / "
                      << y << "[" << labelOf(getVertex2(y)) << "] / " << chosen.tabu << "/" << iterations
                      << "]]]]\n\n\n";
        oldMatch1 = getM21(y);
        oldMatch2 = getM12(x);

        // A move that fits no kind changes nothing and so adds nothing.
        if (!enactMove()) delta = 0;
        currentCost += delta;

        if (bestCost > currentCost) {
            stagnation = 0;
            bestCost = currentCost;
            bestIterations = iterations;
            bestMatch = M12;
            bestBlock = blocks1;
            bestMatch2 = M21;
            bestBlock2 = blocks2;
        } else {
            ++stagnation;
        }

        Vertex* v1 = getVertex1(x);
        Vertex* v2 = getVertex2(y);
        double substitution = costs->raw_cns(cost_mode, v1, v2, storedSimilarity(_N, x, y));
        std::cout << bestCost << "--> " << stagnation << "/>" << good << " on " << numberOfMatchs << "< ("
                  << oldMatch1 << "," << oldMatch2 << ") = > [(" << x << ")" << labelOf(v1) << ", " << labelOf(v2)
                  << "(" << y << ")] : " << delta << "(" << currentCost << ") " << substitution << ","
                  << (clockMs() - loopStart) / 1000 << "s \n";
        std::cout << stagnation << "\t\t\t FF Content : " << ff->nbCandidates << " / "
                  << (order2 - numberOfMatchs + 1) * (order1 - numberOfMatchs + 1) + numberOfMatchs - 1
                  << " -----  bestLayer : " << ff->bestLayer << "(" << ff->layers[ff->bestLayer].size
                  << ") secondBest : " << ff->secondBest << "(" << ff->layers[ff->secondBest].size
                  << ") Seuil : " << ff->insert_threshold << " \n";

        if (afterMove) afterMove();

        ++iterations;
        const bool goOn = stagnation < stagnation_length;
        if (goOn) {
            updateDeltaMatrix();
            if (afterUpdate) afterUpdate();
        }
        tabu_i[i_parser].clear();
        i_parser = (i_parser + 1) % TABU_MAX;
        if (!goOn) break;
    }

    std::cout << "END1. \n";
    const auto [similarityRows, similarityCount] = similarityStoreCounts();
    std::cout << "\n Memory stats: \t M --> [" << M.rows() << "," << M.count() << "] \t _M --> [" << similarityRows
              << "," << similarityCount << "] \t _N --> [" << _N.rows() << "," << _N.count() << "]\n";

    nb_matched = 0;
    nb_matched_isolated = 0;
    nb_unmatched_isolated = 0;
    numberOfMatchs = 0;
    for (int i = 0; i < order1; ++i) {
        M12[i] = bestMatch[i];
        blocks1[i] = bestBlock[i];
        if (bestMatch[i] != -1) ++numberOfMatchs;
    }
    for (int j = 0; j < order2; ++j) {
        M21[j] = bestMatch2[j];
        blocks2[j] = bestBlock2[j];
    }

    numberOfGoodMatchs = 0;
    if (initType != 1)
        for (int i = 0; i < order1 && i < static_cast<int>(kbt.size()); ++i)
            if (M12[i] == kbt[i]) ++numberOfGoodMatchs;

    std::cout << "\n" << numberOfMatchs << "\tSame Name : " << nb_matched << "(" << nb_matched_isolated << ")"
              << "\tOthers : " << numberOfMatchs - nb_matched << "(" << nb_unmatched_isolated << ")" << "\n";

    matchedEdges = 0;
    perfectMatchedEdges = 0;
    double finalCost = cost(cost_mode);
    std::cout << "\nMatch -- Cost=" << bestCost << "**" << finalCost << "(" << cost_mode << ") ["
              << (g1->edges + g2->edges + 2 * finalCost) << "]\n";
    bestCost = finalCost;
    currentCost = finalCost;
    searchCost = finalCost;

    if (initType != 1) {
        // The known matching replaces the partners, over singleton
        // memberships; a graph-2 vertex already taken keeps its first partner.
        std::fill(M12.begin(), M12.end(), -1);
        std::fill(M21.begin(), M21.end(), -1);
        for (int i = 0; i < order1; ++i) blocks1[i] = i;
        for (int j = 0; j < order2; ++j) blocks2[j] = j;
        for (int i = 0; i < order1 && i < static_cast<int>(kbt.size()); ++i) {
            int k = kbt[i];
            if (k < 0 || k >= order2 || M21[k] != -1) continue;
            if (costs->node_error < 1000 || g1->V[i]->label == g2->V[k]->label) {
                M12[i] = k;
                M21[k] = i;
            }
        }
        upperBound = cost(cost_mode);
        std::cout << "\n*****" << (g1->edges + g2->edges + 2 * upperBound) << "*****\n";
    }

    std::cout << "\n COMPUTE SIM: " << _computeSim << " / " << computeSim;
    output(cost_mode);
}

void Match::updateDeltaMatrix() {
    const double start = clockMs();
    const int order1 = static_cast<int>(g1->V.size());
    const int order2 = static_cast<int>(g2->V.size());

    // The neighbourhood of the last move: the blocks it touched, their
    // members, the members' graph neighbours and their blocks.
    auto neighbourhood = [&](const std::set<int>* concerned, const std::vector<int>& membership, Graph* g,
                             bool left) {
        NumberList numbers;
        if (concerned == nullptr) return numbers;
        for (int n : *concerned) {
            int b = membership[n];
            Vertex* block = getVertex(b, left);
            addWithMembers(numbers, b, block);
            if (!block || !block->nodes) continue;
            for (int m : *block->nodes) {
                if (m < 0 || m >= static_cast<int>(g->neighbors.size())) continue;
                for (int u : g->neighbors[m]) {
                    int holder = membership[u];
                    addWithMembers(numbers, holder, getVertex(holder, left));
                }
            }
        }
        settleSorted(numbers);
        return numbers;
    };
    NumberList lines = neighbourhood(concerned1.get(), blocks1, g1, true);
    NumberList columns = neighbourhood(concerned2.get(), blocks2, g2, false);

    // Partners of the lines join the columns, then partners of the columns
    // join the lines.
    for (int l : lines) {
        int p = getM12(l);
        if (p != -1) addWithMembers(columns, p, getVertex2(p));
    }
    settleSorted(columns);
    for (int c : columns) {
        int q = getM21(c);
        if (q != -1) addWithMembers(lines, q, getVertex1(q));
    }
    settleSorted(lines);

    // Matchable columns and lines: the columns (lines) themselves, and every
    // plain vertex allowed with a plain line (column).
    NumberList matchableColumns = columns;
    for (int l : lines)
        if (l < order1) matchableColumns.insert(matchableColumns.end(), move.row(l).begin(), move.row(l).end());
    settleSorted(matchableColumns);
    NumberList matchableLines = lines;
    for (int c : columns)
        if (c < order2) matchableLines.insert(matchableLines.end(), move.column(c).begin(), move.column(c).end());
    settleSorted(matchableLines);

    auto refresh = [&](int x, int y) {
        if (!isValidMove(x, y)) {
            removeFromFF(x, y);
            return;
        }
        cell& c = ensureCell(x, y);
        Vertex* v1 = getVertex1(x);
        Vertex* v2 = getVertex2(y);
        _N(x, y) = intSim(cost_mode, v1, v2);
        c.delta = computeDelta(cost_mode, v1, v2);
        c.delta_m = -c.delta;
        ff->insert(&c, false);
    };

    // A plain pair that is not allowed is never a valid move and never has
    // a cell in the candidate structure, so only allowed plain pairs and
    // pairs with a block are visited; the order stays ascending.
    auto firstBlock = [](const NumberList& numbers, int order) {
        return std::lower_bound(numbers.begin(), numbers.end(), order);
    };
    for (int l : lines) {
        if (l < order1) {
            for (int c : move.row(l)) refresh(l, c);  // allowed columns are all matchable
            for (auto it = firstBlock(matchableColumns, order2); it != matchableColumns.end(); ++it) refresh(l, *it);
        } else {
            for (int c : matchableColumns) refresh(l, c);
        }
    }
    // Matchable lines that are not lines are plain vertices allowed with a
    // plain column.
    for (int c : columns) {
        if (c < order2) {
            for (int m : move.column(c))
                if (!holds(lines, m)) refresh(m, c);
        } else {
            for (int m : matchableLines)
                if (!holds(lines, m)) refresh(m, c);
        }
    }

    std::vector<cell*> expiring;
    expiring.swap(tabu_i[i_parser]);
    for (cell* c : expiring) refresh(c->x, c->y);

    update_time += clockMs() - start;
}

void Match::feedFastFind() {
    const int order1 = static_cast<int>(g1->V.size());
    const int order2 = static_cast<int>(g2->V.size());
    for (int i = 0; i < order1; ++i)
        for (int j = 0; j < order2; ++j) {
            if (!movable(i, j)) continue;
            bool bothFree = M12[i] == -1 && M21[j] == -1;
            bool together = M12[i] == j && M21[j] == i;
            if (!bothFree && !together) continue;
            cell& c = ensureCell(i, j);
            c.delta = computeDelta(cost_mode, getVertex1(i), getVertex2(j));
            c.delta_m = -c.delta;
            ff->insert(&c, true);
        }
}

void Match::feedMatching() {
    const int order1 = static_cast<int>(g1->V.size());
    const int order2 = static_cast<int>(g2->V.size());
    std::cout << "\n Before M21\n";
    std::fill(M21.begin(), M21.end(), -1);
    std::fill(bestMatch2.begin(), bestMatch2.end(), -1);
    for (int i = 0; i < order1; ++i) {
        M12[i] = -1;
        bestMatch[i] = -1;
        std::cout << i << "/\t";
        for (int j = 0; j < order2; ++j)
            if (g1->V[i]->label == g2->V[j]->label)
                _N(i, j) = intSim(cost_mode, g1->V[i].get(), g2->V[j].get());
    }
    OutputFile log;
    openForWriting(log, "test_log.csv");
    nb_matched = order1;
    nb_matched_isolated = 0;
    nb_unmatched_isolated = 0;
    for (int i = 0; i < order1; ++i) {
        int best = -1;
        float bestSim = 0;
        for (int j = 0; j < order2; ++j) {
            if (M21[j] != -1 || g1->V[i]->label != g2->V[j]->label) continue;
            float s = storedSimilarity(_N, i, j);
            if (best == -1 || s < bestSim) {
                best = j;
                bestSim = s;
            }
        }
        const bool isolated = g1->V[i]->edges.empty();
        if (best == -1) {
            --nb_matched;
            if (isolated) ++nb_unmatched_isolated;
            continue;
        }
        ++numberOfMatchs;
        bestMatch[i] = best;
        bestMatch2[best] = i;
        M12[i] = best;
        M21[best] = i;
        if (isolated) ++nb_matched_isolated;
        currentCost = currentCost - computeDelta(cost_mode, g1->V[i].get(), g2->V[best].get());
        double c = cost(cost_mode);
        if (currentCost != c) std::cout << "\n\n !!!!! \n\n";
        currentCost = c;
        std::cout << "\t*" << g1->V[i]->label << "* = *" << g2->V[best]->label << "*{" << currentCost << " } \n";
    }
    std::cout << "\nSame Name : " << nb_matched << "(" << nb_matched_isolated << ")" << "\tOthers : "
              << order1 - nb_matched << "(" << nb_unmatched_isolated << ") === " << currentCost << "\n";
    bestCost = currentCost;
    bestMatch = M12;
    bestMatch2 = M21;
}

std::pair<int, int> Match::similarityStoreCounts() const {
    if (!similaritiesUnstored) return {_M.rows(), _M.count()};
    const int order1 = static_cast<int>(g1->V.size());
    const int order2 = static_cast<int>(g2->V.size());
    return {order2 > 0 ? order1 : 0, static_cast<int>(static_cast<long>(order1) * order2)};
}

void Match::printGammaMatrix() {
    const int order1 = static_cast<int>(g1->V.size());
    const int order2 = static_cast<int>(g2->V.size());
    std::cout << "\n";
    for (int i = 0; i < order1; ++i) {
        for (int j = 0; j < order2; ++j)
            if (const cell* c = M.find(i, j)) std::cout << c->delta << "\t";
        std::cout << "\n";
    }
    std::cout << "\n\n";
    for (int i = 0; i < order1; ++i) {
        for (int j = 0; j < order2; ++j)
            if (const float* s = _M.find(i, j)) std::cout << *s << "\t";
        std::cout << "\n";
    }
    std::cout << "\n\n";
    for (int i = 0; i < order1; ++i) {
        for (int j = 0; j < order2; ++j)
            if (const float* s = _N.find(i, j)) std::cout << *s << "\t";
        std::cout << "\n";
    }
}

}  // namespace graphmat
