// GraphMutation's token mode (node operations chosen by weight and paid in
// tokens), the node tables and the renumbered copy.
#include <fstream>
#include <iostream>
#include <utility>

#include "generators/GraphMutation.h"
#include "graph/OutputFiles.h"
#include "graph/Random.h"
#include "graph/stdafx.h"

namespace graphmat {

int GraphMutation::chooseNodeOperation() { return weightedPick(nodeOperationsWeights, 0, 3); }

int GraphMutation::applyNodeOperation(int op) {
    switch (op) {
        case 0: addNode(); break;
        case 1: deleteNode(); break;
        case 2: mergeNodes(); break;
        case 3: splitNode(); break;
        default: return 0;
    }
    return nodeOperationsTokens[op];
}

int GraphMutation::untreatedCount() const {
    int count = 0;
    for (int t : treated)
        if (t == -1) ++count;
    return count;
}

// Draws until an untreated vertex comes up; the caller makes sure there is
// one. Beyond 32768 vertices two draws make one number, so that every
// vertex can come up.
int GraphMutation::pickUntreated() {
    const int N = static_cast<int>(treated.size());
    for (;;) {
        const long draw = N <= RAND15_MAX + 1 ? rand15() : static_cast<long>(rand15()) * (RAND15_MAX + 1) + rand15();
        const int r = static_cast<int>(draw % N);
        if (treated[r] == -1) return r;
    }
}

void GraphMutation::addNode() { ++addedNodes; }

void GraphMutation::deleteNode() {
    const int r = pickUntreated();
    deleted[r] = 1;
    treated[r] = 1;
    ++deletedNodes;
}

void GraphMutation::mergeNodes() {
    const int a = pickUntreated();
    merged[a] = a;
    treated[a] = 1;
    const int b = pickUntreated();
    merged[b] = a;
    deleted[b] = 1;
    treated[b] = 1;
    ++mergedNodes;
    ++deletedNodes;
}

void GraphMutation::splitNode() {
    const int a = pickUntreated();
    splitted1[a] = a;
    splitted2[a] = addedNodes;
    ++addedNodes;
    treated[a] = 1;
    ++splittedNodes;
}

bool GraphMutation::printNodeTables() {
    std::cout << "Added : " << addedNodes << "\n"
              << "Deleted : " << deletedNodes << "\n"
              << "Merged : " << mergedNodes << "\n"
              << "Splitted : " << splittedNodes << "\n";
    const std::string path = NODE_TABLE;
    std::ofstream out;
    if (!openForWriting(out, path)) return false;
    for (std::size_t i = 0; i < deleted.size(); ++i)
        out << i << ";" << deleted[i] << ";" << merged[i] << ";" << splitted1[i] << ";" << splitted2[i] << "\n";
    return closeWritten(out, path);
}

std::unique_ptr<Graph> GraphMutation::shuffle(const Graph* g) {
    auto copy = std::make_unique<Graph>();
    const int n = std::min(std::max(g->vertices, 0), static_cast<int>(g->V.size()));
    old_numbers.assign(n, -1);
    new_numbers.assign(n, -1);
    std::vector<int> perm(n);
    for (int k = 0; k < n; ++k) perm[k] = k;
    for (int k = 0; k + 1 < n; ++k) std::swap(perm[k], perm[rand15() % (n - k) + k]);
    for (int p = 0; p < n; ++p) {
        const int o = perm[p];
        old_numbers[p] = o;
        new_numbers[o] = p;
        auto v = std::make_unique<Vertex>();
        v->number = p;
        v->label = to_string(o);
        copy->V.push_back(std::move(v));
    }
    copy->vertices = static_cast<int>(copy->V.size());
    // Every edge that still carries an arc, in order, under its edge index.
    for (std::size_t k = 0; k < g->E.size(); ++k) {
        const Edge& source = *g->E[k];
        if (source.label.empty() || source.from < 0 || source.from >= n || source.to < 0 || source.to >= n)
            continue;
        auto e = std::make_unique<Edge>();
        e->setNumber(static_cast<int>(k));
        e->setFrom(new_numbers[source.from]);
        e->setTo(new_numbers[source.to]);
        e->setLabel(source.label);
        e->setWeight(source.weight);
        copy->insertEdge(std::move(e));
    }
    copy->edges = static_cast<int>(copy->E.size());
    return copy;
}

}  // namespace graphmat
