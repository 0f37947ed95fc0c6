// The edit-path log: how an old graph was turned into a new one (the new
// number of every old vertex, the arcs of deleted vertices, the pairs that
// gained an arc or changed its label, and three counts). Written by the
// noisy pair and the mutation generators, read by the log scoring.
#pragma once

#include <string>
#include <vector>

#include "graph/Graph.h"

namespace graphmat {

// Everything a log is written from. Marks: a non-empty text marks a pair of
// new numbers. Numbers or pairs outside the tables are never read: an entry
// that is missing reads as -1 (a number) or an empty label.
struct EditPath {
    const Graph* oldGraph = nullptr;
    const Graph* newGraph = nullptr;
    const std::vector<int>* new_numbers = nullptr;  // per old vertex, -1 when deleted
    const std::vector<int>* old_numbers = nullptr;  // per new vertex that came from an old one
    const std::vector<std::vector<std::string>>* addEdges = nullptr;
    const std::vector<std::vector<std::string>>* modifEdges = nullptr;
    int deletedNodes = 0;
    int unChangedEdges = 0;
    int addedNodes = 0;
};

// A label as a log field: the log has no quoting, so a "," inside a label
// is written as ";" and never shifts the fields after it.
std::string logField(const std::string& label);

// Writes the log to `filename` (truncated). With `announce`, prints
// "nodes written\n" after the vertex lines and "edges written\n" after the
// pair lines. False when the file could not be opened or written (named on
// standard error).
bool writeEditPathLog(const EditPath& path, const std::string& filename, bool announce);

}  // namespace graphmat
