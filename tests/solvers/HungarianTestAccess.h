// The tests' seam into Hungarian: which engine a solve starts on, and which
// one ended it. Callers of the solver see neither.
#pragma once

#include "solvers/Hungarian.h"

namespace graphmat {

class HungarianTestAccess {
public:
    using Engine = Hungarian::Engine;
    using Choice = Hungarian::Choice;
    // ByCosts (the default): the solver's own choice; Square or
    // Potentials: that engine (the potentials still hand over to the square
    // when they cannot stay exact).
    static void choose(Hungarian& solver, Choice choice) { solver.choice_ = choice; }
    static Engine engine(const Hungarian& solver) { return solver.engine_; }
};

}  // namespace graphmat
