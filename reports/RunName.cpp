#include "reports/RunName.h"

namespace graphmat {

std::string runName(const Graph& g1, const Graph& g2, const Cost& costs, int seed) {
    return g1.name + "__" + g2.name + "__" + to_string(costs.dropWeightN) + "__" + to_string(costs.dropWeightE) +
           "__" + to_string(costs.edgeWeight) + "__" + to_string(costs.asymmetry) + "__" + to_string(costs._lw) +
           "__" + to_string(seed);
}

}  // namespace graphmat
