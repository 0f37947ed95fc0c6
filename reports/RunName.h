// The run name: the stem shared by the result files of one matching run and
// by its raw pair list, built from the two graph names, the cost parameters
// and the seed.
#pragma once

#include <string>

#include "graph/Graph.h"
#include "matching/Cost.h"

namespace graphmat {

// graph-1 name "__" graph-2 name "__" dropWeightN "__" dropWeightE "__"
// edgeWeight "__" asymmetry "__" _lw "__" seed, numbers in default stream
// formatting (0, 0.5, 100, 1e+06).
std::string runName(const Graph& g1, const Graph& g2, const Cost& costs, int seed);

}  // namespace graphmat
