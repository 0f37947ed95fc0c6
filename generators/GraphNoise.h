// Noisy graph pairs: a random labelled digraph, a copy of it under a random
// renumbering whose vertex and arc labels carry bounded integer noise, and
// the edit-path log that records the true correspondence and the changed
// arcs, written under "./benchmark/".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graph/Graph.h"

namespace graphmat {

class GraphNoise {
public:
    std::unique_ptr<Graph> original;  // the random labelled digraph
    std::unique_ptr<Graph> noisy;     // the renumbered noisy copy
    int n = 0;                        // vertex count of both graphs
    int epsilon = 0;                  // noise amplitude
    // By pair of noisy numbers: a non-empty text marks a pair that gained an
    // arc (addEdges) or whose arc label changed, possibly to no arc
    // (modifEdges).
    std::vector<std::vector<std::string>> addEdges;
    std::vector<std::vector<std::string>> modifEdges;
    int addedNodes = 0;    // written as 0: the noisy copy keeps every vertex
    int deletedNodes = 0;  // likewise
    int mergedNodes = 0, splittedNodes = 0, modifiedNodes = 0, addedEdges = 0, deletedEdges = 0,
        modifiedEdges = 0;  // not used by this generator
    // Ordered pairs of distinct vertices whose label (0: no arc) is the same
    // in both graphs.
    int unChangedEdges = 0;
    std::vector<int> new_numbers;  // noisy number of each original vertex
    std::vector<int> old_numbers;  // original number of each noisy vertex

    // Draws the pair with `v` vertices (none when v < 1) and noise amplitude
    // `epsi`, writes "./benchmark/original_<k>.txt", "./benchmark/noisy_<k>.txt"
    // and "./benchmark/log_<k>.txt" (k = num_graph), then pauses on a
    // terminal. Draws from the generator as it stands: the caller seeds it.
    GraphNoise(int num_graph, int v, int epsi);

    // The files of pair k: the original, the noisy copy and the log.
    static std::vector<std::string> outputFiles(int num_graph);

    // The edit-path log of the pair; `mode` is not used. False when the file
    // could not be written.
    bool write(int mode, const std::string& filename);

    // The noise draw of a label: trunc(2 u epsilon) + x - 2 epsilon with a
    // fresh draw u, clamped to 0..100.
    int noiseDraw(int x) const;
};

}  // namespace graphmat
