// The four raw lists of a matching (entities of each graph, node pairs whose
// names differ, pairs that involve a merged block), written by
// Match::rawPrint in their plain form and by Match::rawPrint2 in their
// variant form.
#pragma once

#include <set>
#include <string>

#include "matching/Match.h"

namespace graphmat {

enum class RawListForm {
    Plain,    // quoted entity names; the pair list's category bare
    Variant,  // short entity names; every field of the pair list quoted
};

// Writes the four raw lists of m's current matching under ./results/. With
// a non-null pairKeys, the pair key "\"" + name 1 + "__" + name 2 + "\"" of
// every line of the pair list goes into it.
void writeRawLists(Match& m, RawListForm form, std::set<std::string>* pairKeys);

}  // namespace graphmat
