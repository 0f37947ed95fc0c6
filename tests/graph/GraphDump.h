// Test helpers for graph readers: a graph read with its standard output
// captured, and the vertex and edge tables as text.
#pragma once

#include <memory>
#include <string>

#include "graph/Graph.h"
#include "support/TestSupport.h"

namespace graphmat::test {

struct ReadGraph {
    std::unique_ptr<Graph> graph;
    std::string out;  // standard output of the construction
};

inline ReadGraph readGraph(int mode, const std::string& path) {
    ReadGraph result;
    CaptureStdout capture;
    result.graph = std::make_unique<Graph>(mode, path);
    result.out = capture.text();
    return result;
}

// One line per vertex: number | type | label | specif.
inline std::string vertexTable(const Graph& g) {
    std::string table;
    for (const auto& v : g.V)
        table += to_string(v->number) + " | " + to_string(v->type) + " | " + v->label + " | " + v->specif + "\n";
    return table;
}

// One line per edge: from | to | label | type | number.
inline std::string edgeTable(const Graph& g) {
    std::string table;
    for (const auto& e : g.E)
        table += to_string(e->from) + " | " + to_string(e->to) + " | " + e->label + " | " + to_string(e->type) +
                 " | " + to_string(e->number) + "\n";
    return table;
}

// The lines a graph constructor prints around a reader's own messages.
inline std::string fileHeader(const std::string& path, int mode) {
    return "File " + path + " ...Found \nMode " + to_string(mode) + "\n";
}

}  // namespace graphmat::test
