#include "matching/CostSwitches.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace graphmat {

double* CostWeights::forSwitch(char letter) {
    switch (letter) {
        case 'd': return &dropWeightN;
        case 'g': return &dropWeightE;
        case 'e': return &edgeWeight;
        case 'y': return &asymmetry;
        case 'c': return &labelWeight;
        default: return nullptr;
    }
}

void CostWeights::install(Cost& costs) const {
    costs.initMode1(dropWeightN, dropWeightE, edgeWeight, asymmetry, labelWeight);
}

std::string CostWeights::refusal() const {
    return asymmetry == -1 ? "An asymmetry of -1 is not allowed (-y)" : "";
}

bool CostWeights::editsCostNothing() const { return dropWeightN == 0 && edgeWeight == 0; }


}  // namespace graphmat
