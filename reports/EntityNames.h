// How the raw lists and the comparison reports name a vertex by text.
#pragma once

#include <string>

#include "graph/Vertex.h"

namespace graphmat {

// The word written for a vertex type code; empty for codes outside 0 to 6.
std::string category(int type);

// The parameter types of a method's signature text (its fourth and later
// pieces) joined by ","; with shortTypes each type is cut to its text after
// its last ".". Empty when the text has three pieces or fewer.
std::string parameterText(const std::string& specif, bool shortTypes);

// The name of a plain vertex between double quotes: its label, for a method
// followed by its parameter types in parentheses; every "$" becomes ".".
std::string entityName(const Vertex& v);

// The same without the quotes and with every parameter type cut to its text
// after its last ".": the name an outside difference listing uses.
std::string shortEntityName(const Vertex& v);

}  // namespace graphmat
