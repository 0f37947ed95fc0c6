// GraphMutation: the constructor, the weighted pick, the vertex mutation
// drawn vertex by vertex, the arc mutation and the log.
#include "generators/GraphMutation.h"

#include <algorithm>
#include <iostream>
#include <stdexcept>
#include <utility>

#include "generators/EditPathLog.h"
#include "graph/CapacityChecks.h"
#include "graph/Random.h"
#include "graph/stdafx.h"

namespace graphmat {

namespace {

double uniformDraw() { return rand15() / 32767.0; }

// Whether an event of probability p happens for the draw u: never for
// p <= 0, always for p >= 1, otherwise u < p (strict) or u <= p.
bool fires(double u, double p, bool strict) {
    if (p <= 0) return false;
    if (p >= 1) return true;
    return strict ? u < p : u <= p;
}

// A ratio whose denominator may be 0: 0 then.
double ratio(double numerator, double denominator) { return denominator == 0 ? 0.0 : numerator / denominator; }

// Recounts an edge's per-digit arc counts and label weight after its label
// text was replaced.
void recount(Edge& e, const Graph& g) {
    e.labels.fill(0);
    e.label_weight = 0;
    for (char ch : e.label) {
        if (ch < '0' || ch > '9') continue;
        e.labels[ch - '0'] += 1;
        e.label_weight = static_cast<float>(e.label_weight + g.edge_weight[ch - '0']);
    }
}

// The graph file and the log have no quoting: a "," in a copied label
// becomes ";".
std::string plainLabel(const std::string& label) { return logField(label); }

}  // namespace

GraphMutation::GraphMutation() = default;

int GraphMutation::weightedPick(const double* weights, int first, int last, int skip) {
    double sum = 0;
    int choice = -1;
    for (int c = first; c <= last; ++c) {
        if (c == skip) continue;
        sum += weights[c];
        const double u = uniformDraw();
        // A weight of 0 never wins, not even against a draw of 0.
        if (weights[c] > 0 && weights[c] / sum >= u) choice = c;
    }
    return choice;
}

GraphMutation::GraphMutation(Graph* old, double delNodes, double addNodes, double edgeNoise, int nodeMode) {
    if (old == nullptr || old->V.empty() || old->vertices <= 0)
        throw std::invalid_argument("the graph to mutate has no vertices");
    const int N = std::min(old->vertices, static_cast<int>(old->V.size()));
    // The statistics the mutation reads: computed here when no step has.
    if (old->label_distrib.empty()) old->collectStats();

    const char* nodeNames[4] = {"addNode", "deleteNode", "mergeNodes", "splitNode"};
    const char* edgeNames[4] = {"addEdge", "deleteEdge", "modifyEdge", "same"};
    const int tokens[4] = {1, 1, 3, 3};
    for (int k = 0; k < 4; ++k) {
        nodeOperations[k] = nodeNames[k];
        edgeOperations[k] = edgeNames[k];
        nodeOperationsTokens[k] = tokens[k];
    }
    nodeOperationsWeights[0] = addNodes;
    nodeOperationsWeights[1] = delNodes;
    nodeOperationsWeights[2] = 0.03;
    nodeOperationsWeights[3] = 0.03;

    density = ratio(old->edges, static_cast<double>(N) * N);
    _old = old;
    edgeNoiseLevel = edgeNoise;
    nodeNoiseLevel = addNodes + delNodes;
    nodeTokens = static_cast<int>(std::clamp(nodeNoiseLevel * N, -1e9, 1e9));
    edgeTokens = static_cast<int>(std::clamp(edgeNoise * N * N, -1e9, 1e9));
    for (auto* table : {&treated, &deleted, &merged, &splitted1, &splitted2, &new_numbers, &old_numbers})
        table->assign(N, -1);

    loop_proba = ratio(old->loops, old->vertices);
    multi_proba = ratio(old->multi_arcs, static_cast<double>(old->multi_arcs) + old->edges);
    nbLabels = old->nb_labels;
    if (nbLabels > MAX_LABELS - 1) {
        std::cout << "Nb labels " << nbLabels << " above " << MAX_LABELS - 1 << ": digits 1 to "
                  << MAX_LABELS - 1 << " are drawn\n";
        nbLabels = MAX_LABELS - 1;
    }
    if (nbLabels < 1) nbLabels = 1;
    for (int k = 0; k <= nbLabels; ++k)
        edgeLabelsWeights[k] =
            k < static_cast<int>(old->label_distrib.size()) ? static_cast<double>(old->label_distrib[k]) : 0.0;

    addedNodes = deletedNodes = mergedNodes = splittedNodes = 0;
    modifiedNodes = addedEdges = deletedEdges = modifiedEdges = 0;
    _new = mutateNodes(nodeMode == 0 ? 0 : 1);
    mutateEdges(_new.get());
}

void GraphMutation::insertArc(Graph& g, int number, int from, int to, const std::string& label,
                              const float* weight) {
    auto e = std::make_unique<Edge>();
    e->setNumber(number);
    e->setFrom(from);
    e->setTo(to);
    e->setLabel(label);
    if (weight) {
        e->weight[0] = weight[0];
        e->weight[1] = weight[1];
    }
    g.insertEdge(std::move(e));
}

std::unique_ptr<Graph> GraphMutation::mutateNodes(int mode) {
    const int N = static_cast<int>(deleted.size());
    auto g = std::make_unique<Graph>();

    if (mode == 1) {
        for (int i = 0; i < N; ++i) {
            if (fires(uniformDraw(), nodeOperationsWeights[1], false)) {
                deleted[i] = 1;
                treated[i] = 1;
                ++deletedNodes;
            }
            if (fires(uniformDraw(), nodeOperationsWeights[0], false)) ++addedNodes;
        }
    } else {
        while (nodeTokens > 0) {
            const int op = chooseNodeOperation();
            if (op < 0) break;
            const int needed = op == 0 ? 0 : op == 2 ? 2 : 1;
            if (untreatedCount() < needed) {
                std::cout << "Token mode: no untreated vertex left for " << nodeOperations[op]
                          << "; the node operations end\n";
                break;
            }
            nodeTokens -= applyNodeOperation(op);
        }
    }

    // Surviving old vertices first, in old order.
    int running = 0;
    for (int r = 0; r < N; ++r) {
        if (deleted[r] == 1) {
            new_numbers[r] = -1;
            continue;
        }
        new_numbers[r] = running;
        old_numbers[running] = r;
        const Vertex& source = *_old->V[r];
        auto v = std::make_unique<Vertex>();
        v->number = running;
        v->label = plainLabel(source.label);
        v->weight[0] = source.weight[0];
        v->weight[1] = source.weight[1];
        g->V.push_back(std::move(v));
        ++running;
    }
    const int S = running;
    max_new_number = S - 1;

    // Added vertices, numbered from S on. Split copies are added vertices:
    // the copy of old vertex a is added vertex splitted2[a], with a's label.
    std::vector<int> copyOf(std::max(addedNodes, 0), -1);
    for (int a = 0; a < N; ++a)
        if (splitted2[a] >= 0 && splitted2[a] < addedNodes) copyOf[splitted2[a]] = a;
    for (int k = 0; k < addedNodes; ++k) {
        auto v = std::make_unique<Vertex>();
        v->number = S + k;
        if (copyOf[k] >= 0) {
            const Vertex& source = *_old->V[copyOf[k]];
            v->label = plainLabel(source.label);
            v->weight[0] = source.weight[0];
            v->weight[1] = source.weight[1];
        } else {
            v->label = "add";
            v->weight[0] = 0;
            v->weight[1] = 0;
        }
        g->V.push_back(std::move(v));
    }
    g->vertices = static_cast<int>(g->V.size());
    g->reinitEdges();

    // Arcs between surviving vertices; a merged vertex's arcs go to its
    // merge target.
    int edgeNumber = 0;
    auto survives = [&](int v) { return v >= 0 && v < N && (deleted[v] != 1 || merged[v] != -1); };
    auto mapped = [&](int v) { return new_numbers[merged[v] != -1 ? merged[v] : v]; };
    for (const auto& e : _old->E) {
        if (!survives(e->from) || !survives(e->to)) continue;
        insertArc(*g, edgeNumber++, mapped(e->from), mapped(e->to), e->label, e->weight);
    }
    const int order = g->vertices;
    // Two marks per ordered pair of the mutated graph, and a walk over every
    // pair: refused by arithmetic when the marks cannot fit in memory.
    checkPairTableFits(order, order, 2 * sizeof(std::string));
    addEdges.assign(order, std::vector<std::string>(order));
    modifEdges.assign(order, std::vector<std::string>(order));

    // Random arcs touching the added vertices.
    const int trials =
        addedNodes == 0 ? 0 : static_cast<int>(ratio(_old->edges, _old->vertices) * order);
    std::cout << "trials = " << trials << "\n";
    for (int t = 0; t < trials; ++t) {
        int node1 = static_cast<int>(uniformDraw() * (order - 1));
        int node2 = static_cast<int>(uniformDraw() * (order - 1));
        bool skip = false;
        while (node2 == node1) {
            if (fires(uniformDraw(), loop_proba, false)) break;
            if (order < 2) {  // no other vertex to draw
                skip = true;
                break;
            }
            node2 = static_cast<int>(uniformDraw() * (order - 1));
        }
        if (skip || (node1 < S && node2 < S)) continue;
        if (g->getEdge(node1, node2) != nullptr && !fires(uniformDraw(), multi_proba, false)) continue;
        const int digit = weightedPick(edgeLabelsWeights, 1, nbLabels);
        if (digit < 0) continue;
        insertArc(*g, edgeNumber++, node1, node2, to_string(digit), nullptr);
        addEdges[node1][node2] = g->getEdge(node1, node2)->label;
    }
    return g;
}

Graph* GraphMutation::mutateEdges(Graph* g) {
    int arcs = static_cast<int>(g->E.size());
    const int order = std::min(g->vertices, static_cast<int>(g->V.size()));
    const double V2 = static_cast<double>(g->V.size()) * static_cast<double>(g->V.size());
    density = ratio(arcs, V2);
    const double p_add = ratio(edgeNoiseLevel * arcs * (1 - density), V2 - arcs);
    const double p_del = 1 - density;
    std::cout << "Nb Labels : " << nbLabels << "\t" << p_add << "\t" << p_del << "\t" << density << "\n";

    unChangedEdges = 0;
    int added = 0, dropped = 0;
    if (static_cast<int>(addEdges.size()) < order) addEdges.resize(order);
    if (static_cast<int>(modifEdges.size()) < order) modifEdges.resize(order);
    for (auto* marks : {&addEdges, &modifEdges})
        for (auto& row : *marks)
            if (static_cast<int>(row.size()) < order) row.resize(order);

    for (int i = 0; i < order; ++i)
        for (int j = 0; j < order; ++j) {
            const double u = uniformDraw();
            if (i == j && !fires(u, loop_proba, true)) continue;
            const double m = uniformDraw();
            if (!fires(m, edgeNoiseLevel, true)) continue;

            Edge* e = g->getEdge(i, j);
            if (e == nullptr) {
                if (fires(m, p_add, true)) {
                    ++added;
                    std::cout << m << "," << p_add << "\n";
                    const int digit = weightedPick(edgeLabelsWeights, 1, nbLabels);
                    if (digit >= 0) {
                        insertArc(*g, 1000, i, j, to_string(digit), nullptr);
                        ++arcs;
                        addEdges[i][j] = g->getEdge(i, j)->label;
                    }
                }
            } else {
                const std::string L = e->label;
                std::string relabelled;
                for (char ch : L) {
                    if (fires(uniformDraw(), density, false)) {
                        const int d = ch >= '0' && ch <= '9' ? ch - '0' : -1;
                        uniformDraw();  // a draw that decides nothing
                        const int digit = weightedPick(edgeLabelsWeights, 1, nbLabels, d);
                        if (digit >= 0) relabelled += to_string(digit);
                    } else {
                        ++dropped;
                    }
                }
                e->setLabel(relabelled);
                recount(*e, *g);
                if (i <= max_new_number && j <= max_new_number) {
                    if (relabelled.empty() || relabelled != L)
                        modifEdges[i][j] = relabelled.empty() ? "0" : relabelled;
                    else
                        ++unChangedEdges;
                } else {
                    addEdges[i][j] = relabelled;
                }
                if (relabelled.empty()) --arcs;
            }

            if (!addEdges[i][j].empty() && !modifEdges[i][j].empty()) std::cout << "ALERT ADD && MODIF\n";
            if (!addEdges[i][j].empty()) {
                const Edge* now = g->getEdge(i, j);
                if (now == nullptr || now->label.empty()) std::cout << "ADD != GRAPH\n";
            }
        }
    g->edges = arcs;
    std::cout << "Arcs : " << g->edges << "/" << g->E.size() << "/" << added << "/" << dropped << "\n";
    return g;
}

bool GraphMutation::write(int, const std::string& filename) {
    if (!_old || !_new) return false;
    return writeEditPathLog({_old, _new.get(), &new_numbers, &old_numbers, &addEdges, &modifEdges, deletedNodes,
                             unChangedEdges, addedNodes},
                            filename, false);
}

}  // namespace graphmat
