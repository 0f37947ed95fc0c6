// Class and relation thread files: the rename history of every class of the
// newest version and the label history of every relation between them,
// followed back as long as the thread lasts.
#include <fstream>
#include <iostream>

#include "graph/OutputFiles.h"
#include "tunnel/Tunnel.h"
#include "tunnel/TunnelNumbers.h"

namespace graphmat {

namespace {

// A history: entries "version name__label", one per change of the label.
struct History {
    std::vector<std::string> entries;
    std::string last;  // label of the last entry
    void record(const std::string& version, const std::string& label) {
        if (!entries.empty() && label == last) return;
        entries.push_back(version + "__" + label);
        last = label;
    }
};

}  // namespace

void Tunnel::createHistories() {
    const int N = static_cast<int>(gseries.size());
    const int M = N - 1;
    const Graph& g0 = *gseries[0];
    const int n = g0.vertices;
    const int E0 = static_cast<int>(g0.E.size());

    std::cout << "\n ---Quick Facts--- \n";
    std::vector<int> thread_node(n, 0), thread_edge(E0, 0);
    std::vector<History> renam(n), restr(E0);

    for (int i = 0; i < n; ++i) {
        std::cout << "\n Node:" << i;
        renam[i].record(g0.name, g0.V[i]->label);
        for (int j = 0; j < M && m[i][j + 1] != -1; ++j) {
            thread_node[i] = j + 1;
            renam[i].record(gseries[j + 1]->name, gseries[j + 1]->V[m[i][j + 1]]->label);
        }
    }

    for (int x = 0; x < E0; ++x) {
        std::cout << "\n Edge:" << x;
        const Edge& e = *g0.E[x];
        const int a = e.from, b = e.to;
        restr[x].record(g0.name, e.getLabel2(6));
        for (int j = 0; j < M; ++j) {
            if (m[a][j + 1] == -1 || m[b][j + 1] == -1) break;
            const Edge* older = gseries[j + 1]->getEdge(m[a][j + 1], m[b][j + 1]);
            if (older == nullptr) break;
            thread_edge[x] = j + 1;
            restr[x].record(gseries[j + 1]->name, older->getLabel2(6));
        }
    }

    std::cout << "\n All done";
    std::ofstream classes, relations;
    openForWriting(classes, classThreadPath());
    openForWriting(relations, relationThreadPath());
    for (int i = 0; i < n; ++i) {
        const Vertex& v = *g0.V[i];
        classes << v.number << "," << v.label << "," << thread_node[i] << "," << renam[i].entries.size();
        for (const std::string& entry : renam[i].entries) classes << "," << entry;
        classes << "\n";
    }
    std::cout << "\n Node data written";
    for (int x = 0; x < E0; ++x) {
        std::cout << "\n Edge Data:" << x;
        const Edge& e = *g0.E[x];
        relations << e.from << "," << g0.V[e.from]->label << "," << e.to << "," << g0.V[e.to]->label << ","
                  << thread_edge[x] << "," << restr[x].entries.size();
        for (const std::string& entry : restr[x].entries) relations << "," << entry;
        relations << "\n";
    }
    std::cout << "\n Edge data written";
    closeWritten(classes, classThreadPath());
    closeWritten(relations, relationThreadPath());
}

}  // namespace graphmat
