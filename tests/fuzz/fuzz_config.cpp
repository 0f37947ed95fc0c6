// "config.txt", the label weights every graph reads before its file: any
// input as the configuration of a small graph with arcs of every digit.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSupport.h"
#include "graph/Graph.h"
#include "graph/stdafx.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    graphmat::fuzz::quietHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    graphmat::fuzz::writeInput(graphmat::CONFIG, data, size);
    graphmat::Graph g(7, "3,4\ne,0,1,0123\ne,1,2,456\ne,2,0,789\ne,0,0,9");
    g.ensureRelations();
    // Whatever the weights, the ranking ends with finite scores.
    for (double score : g.u)
        if (!std::isfinite(score)) __builtin_trap();
    return 0;
}
