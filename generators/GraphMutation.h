// Mutated graph copies: a copy of a loaded graph with random vertex
// deletions and additions (drawn vertex by vertex, or spent from a token
// budget on additions, deletions, merges and splits), then random arc
// relabelling, dropping and adding. The vertex correspondence and every
// changed pair are recorded for the edit-path log.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graph/Graph.h"

namespace graphmat {

class GraphMutation {
public:
    // The node table file that printNodeTables writes.
    static constexpr const char* NODE_TABLE = "logs/log_mutation.csv";

    Graph* _old = nullptr;         // the input graph; read, never changed
    std::unique_ptr<Graph> _new;   // the mutated graph
    std::string nodeOperations[4];
    int nodeOperationsTokens[4] = {0, 0, 0, 0};
    double nodeOperationsWeights[4] = {0, 0, 0, 0};
    std::string edgeOperations[4];
    int nbLabels = 1;                  // label digits 1..nbLabels are drawn
    double edgeLabelsWeights[MAX_LABELS] = {};  // weight of each label digit
    // Per old vertex (N entries, -1 for untouched).
    std::vector<int> deleted, merged, splitted1, splitted2, new_numbers, treated;
    std::vector<int> old_numbers;  // per surviving new number: its old vertex
    int max_new_number = -1;       // largest new number of a surviving old vertex
    // By pair of new numbers (N' x N'): the label of arcs gained on the pair,
    // and the new label of a changed edge ("0" when it lost all its arcs).
    std::vector<std::vector<std::string>> addEdges, modifEdges;
    double loop_proba = 0;   // a drawn self-loop stays: loops / vertices
    double multi_proba = 0;  // a drawn arc may double an edge: multi_arcs / (multi_arcs + edges)
    int addedNodes = 0, deletedNodes = 0, mergedNodes = 0, splittedNodes = 0, modifiedNodes = 0, addedEdges = 0,
        deletedEdges = 0, modifiedEdges = 0;
    int unChangedEdges = 0;  // touched pairs of surviving old vertices left unchanged
    int nodeTokens = 0;      // node token budget of the token mode
    int edgeTokens = 0;
    double nodeNoiseLevel = 0;  // addNodes + delNodes
    double edgeNoiseLevel = 0;  // probability that a vertex pair is touched
    double density = 0;         // arcs / vertices squared

    // Only the operation names, empty; for shuffle.
    GraphMutation();
    // Mutates `old` (not owned): vertices by `nodeMode` (1: a deletion and
    // an addition draw per vertex; 0: the token mode), then the arcs. Runs
    // the statistics step on `old` when it has not run. Throws
    // std::invalid_argument, before any draw, for a graph without vertices.
    GraphMutation(Graph* old, double delNodes, double addNodes, double edgeNoise, int nodeMode = 1);
    virtual ~GraphMutation() = default;

    std::unique_ptr<Graph> mutateNodes(int mode);
    Graph* mutateEdges(Graph* g);
    // The edit-path log of the mutation; `mode` is not used. False when the
    // file could not be written.
    bool write(int mode, const std::string& filename);

    // Token mode.
    int chooseNodeOperation();
    int applyNodeOperation(int op);
    void addNode();
    void deleteNode();
    void mergeNodes();
    void splitNode();
    // The node counters on standard output and "logs/log_mutation.csv".
    // False when the file could not be written.
    bool printNodeTables();
    // A copy of g under a random renumbering, vertex p labelled with its old
    // number; old_numbers and new_numbers describe the renumbering.
    std::unique_ptr<Graph> shuffle(const Graph* g);

    // Weighted pick among candidates first..last (skipping `skip`): each
    // candidate of positive weight is chosen with probability its weight
    // over the total; one draw per candidate not skipped; -1 when none.
    static int weightedPick(const double* weights, int first, int last, int skip = -1);

private:
    int pickUntreated();
    int untreatedCount() const;
    void insertArc(Graph& g, int number, int from, int to, const std::string& label, const float* weight);
};

}  // namespace graphmat
