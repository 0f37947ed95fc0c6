// Random candidate pairs for tests that walk chains of moves on a matcher.
#pragma once

#include <random>

#include "matching/Match.h"

namespace graphmat::test {

// Picks a graph-1 vertex at random and one of its allowed graph-2 vertices,
// each lifted now and then to the live block that holds it. False when the
// picked vertex has no allowed partner.
bool pickAllowedPair(const Match& match, std::mt19937& pick, int& i, int& j);

}  // namespace graphmat::test
