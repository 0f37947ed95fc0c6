#include "RandomPairs.h"

#include <iterator>

namespace graphmat::test {

bool pickAllowedPair(const Match& match, std::mt19937& pick, int& i, int& j) {
    const int order1 = static_cast<int>(match.g1->V.size());
    i = static_cast<int>(pick() % order1);
    const std::vector<int>& allowed = match.move.row(i);
    if (allowed.empty()) return false;
    auto it = allowed.begin();
    std::advance(it, pick() % allowed.size());
    j = *it;
    if (pick() % 4 == 0 && match.blocks1[i] != i) i = match.blocks1[i];
    if (pick() % 4 == 0 && match.blocks2[j] != j) j = match.blocks2[j];
    return true;
}

}  // namespace graphmat::test
