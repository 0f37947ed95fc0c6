// The weights of the cost model as the command lines set them: the switches
// -d (node drop weight), -g (edge drop weight), -e (edge weight), -y
// (asymmetry) and -c (label weight), shared by every entry that prices a
// matching, so that one set of switches means the same costs everywhere.
#pragma once

#include <string>

#include "matching/Cost.h"

namespace graphmat {

struct CostWeights {
    double dropWeightN = 0;  // -d
    double dropWeightE = 0;  // -g
    double edgeWeight = 0;   // -e
    double asymmetry = 0;    // -y
    double labelWeight = 0;  // -c

    // The weight that switch `letter` sets; null for any other letter.
    double* forSwitch(char letter);
    // Cost::initMode1 with the five weights.
    void install(Cost& costs) const;
    // Every price divides by asymmetry + 1: the message that refuses an
    // asymmetry of -1, empty for any other value.
    std::string refusal() const;
    // True when the node drop weight and the edge weight are 0 (as by
    // default): every deletion and insertion of a vertex or an edge is then
    // priced 0, whatever -g, -y and -c are, so the empty matching costs 0
    // and no matching costs less.
    bool editsCostNothing() const;
};


}  // namespace graphmat
