#include "generators/EditPathLog.h"

#include <algorithm>
#include <fstream>
#include <iostream>

#include "graph/OutputFiles.h"

namespace graphmat {

namespace {

int entryOr(const std::vector<int>* table, int i, int missing) {
    if (table == nullptr || i < 0 || i >= static_cast<int>(table->size())) return missing;
    return (*table)[i];
}

bool marked(const std::vector<std::vector<std::string>>* marks, int i, int j) {
    if (marks == nullptr || i >= static_cast<int>(marks->size())) return false;
    const auto& row = (*marks)[i];
    return j < static_cast<int>(row.size()) && !row[j].empty();
}

// The label of the edge from -> to, empty when there is none.
std::string edgeLabel(const Graph& g, int from, int to) {
    const Edge* e = g.getEdge(from, to);
    return e ? logField(e->label) : std::string();
}

}  // namespace

std::string logField(const std::string& label) {
    std::string field = label;
    for (char& ch : field)
        if (ch == ',') ch = ';';
    return field;
}

bool writeEditPathLog(const EditPath& path, const std::string& filename, bool announce) {
    std::ofstream out;
    if (!openForWriting(out, filename)) return false;
    const Graph& oldGraph = *path.oldGraph;
    const Graph& newGraph = *path.newGraph;
    out << "nd," << path.deletedNodes << "\n";
    out << "esi," << path.unChangedEdges << "\n";
    out << "i," << path.addedNodes << "\n";

    const int oldCount = std::min(oldGraph.vertices, static_cast<int>(oldGraph.V.size()));
    const int newCount = std::min(newGraph.vertices, static_cast<int>(newGraph.V.size()));
    for (int i = 0; i < oldCount; ++i) {
        const Vertex& v = *oldGraph.V[i];
        const int partner = entryOr(path.new_numbers, i, -1);
        out << "n," << i << "," << partner << "," << logField(v.label);
        if (partner != -1) {
            if (partner >= 0 && partner < newCount) out << "," << logField(newGraph.V[partner]->label);
            out << "\n";
            continue;
        }
        out << "\n";
        for (const Edge* e : v.edges) out << "d," << logField(e->label) << "," << e->from << "," << e->to << "\n";
    }
    if (announce) std::cout << "nodes written\n";

    for (int i = 0; i < newCount; ++i)
        for (int j = 0; j < newCount; ++j) {
            if (marked(path.addEdges, i, j)) out << "a," << edgeLabel(newGraph, i, j) << "," << i << "," << j << "\n";
            if (marked(path.modifEdges, i, j))
                out << "m,"
                    << edgeLabel(oldGraph, entryOr(path.old_numbers, i, -1), entryOr(path.old_numbers, j, -1))
                    << "," << edgeLabel(newGraph, i, j) << "," << i << "," << j << "\n";
        }
    if (announce) std::cout << "edges written\n";
    return closeWritten(out, filename);
}

}  // namespace graphmat
