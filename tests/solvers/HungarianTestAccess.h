// The tests' seam into Hungarian: which engine a solve starts on, which
// one ended it, and why the potentials handed it over. Callers of the
// solver see none of them.
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
    using GiveUp = Hungarian::GiveUp;
    static GiveUp giveUp(const Hungarian& solver) { return solver.giveUp_; }
};

}  // namespace graphmat
