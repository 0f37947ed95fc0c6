// Field reading shared by the graph file readers: lines cut at ",", number
// fields that either parse or are reported as missing, weight fields, and
// the arc fields (from, to, label, weights) common to several syntaxes.
#pragma once

#include <cstddef>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include "graph/CapacityChecks.h"
#include "graph/Edge.h"
#include "graph/stdafx.h"

namespace graphmat {

// The fields of a line cut at ","; none for an empty line.
std::vector<std::string> lineFields(const std::string& line);

// Field i read as an int; false (value unchanged) when the field is missing
// or does not begin with a number.
bool intField(const std::vector<std::string>& fields, std::size_t i, int& value);

// Fields first, first + 1, ... are weights of slots 0, 1, ...: each field
// that reads as a number is stored as a float through addWeight (which keeps
// slots 0 to 4 only); a field that does not read leaves its slot unset.
template <class Item>
void readWeightFields(const std::vector<std::string>& fields, std::size_t first, Item& item) {
    for (std::size_t k = first; k < fields.size(); ++k) {
        double weight = 0;
        if (from_string(fields[k], weight)) item.addWeight(static_cast<float>(weight), static_cast<int>(k - first));
    }
}

// The arc whose from, to and label are fields first, first + 1 and
// first + 2, numbered `number`, with the weights that follow when
// `withWeights`. Null when from or to is missing or does not read as a
// number, or when the label is missing or empty: such a line is skipped.
std::unique_ptr<Edge> readArcFields(const std::vector<std::string>& fields, std::size_t first, int number,
                                    bool withWeights = true);

// True when fields first, first + 1 and first + 2 have the clean shape of
// an arc: two numbers and a label of digits (readArcFields takes any label
// that is not empty); blanks and tabs at the end of the line aside.
bool arcShaped(const std::vector<std::string>& fields, std::size_t first);

// True when field i is a label of digits; blanks and tabs that end the line
// (after its last field) do not count.
bool isDigitLabel(const std::vector<std::string>& fields, std::size_t i);

// True for a text of decimal digits only, at least one.
bool isDigitText(const std::string& text);

// The simple name of a label: its text after the last "." (the whole label
// when it has none).
std::string simpleName(const std::string& label);

// Field i, or the empty text when the line has fewer fields.
std::string fieldAt(const std::vector<std::string>& fields, std::size_t i);

// A vertex line's number field checked against the vertex's position: when
// the field is missing, does not read or differs, prints
// "\n Order Problem: " + field + "," + label + "[" + position + "]" and
// returns false. The vertex keeps its position as its number either way.
bool checkVertexOrder(const std::vector<std::string>& fields, std::size_t i, const std::string& label,
                      int position, std::ostream& trace);

}  // namespace graphmat
