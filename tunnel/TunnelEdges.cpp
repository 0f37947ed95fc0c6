// Tunnel edges and label statistics: the classes whose thread reaches the
// oldest version form the tunnel; for every ordered pair of them the label
// signatures of the relation between their images are collected across the
// versions and written, with how stable they are, to the raw tunnel file.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "graph/OutputFiles.h"
#include "tunnel/Tunnel.h"
#include "tunnel/TunnelNumbers.h"

namespace graphmat {

namespace {

// The label signature of an edge: the arc counts of label digits 1 to 6
// written one after another, read as a number. Read into a double (the
// value an occurrence holds), so a text too long for an int still gives its
// value: exact up to 15 digits, the nearest double beyond.
double signatureOf(const Edge& e) { return std::strtod(e.getLabel2(6).c_str(), nullptr); }

}  // namespace

void Tunnel::createTunnelEdges() {
    const int N = static_cast<int>(gseries.size());
    const int M = N - 1;
    const Graph& g0 = *gseries[0];
    const int n = g0.vertices;

    // Reverse threads: a vertex of version v belongs to the class of the
    // first vertex of version v - 1 matched to it.
    _m.assign(N, std::vector<int>());
    _m[0].resize(std::max(n, 0));
    for (int o = 0; o < n; ++o) _m[0][o] = o;
    for (int v = 1; v < N; ++v) {
        const std::vector<int>& mj = matchings[v - 1]->matchList[mseries[v - 1]];
        const int size = gseries[v]->vertices;
        std::vector<int> firstPartner(std::max(size, 0), -1);
        for (int p = 0; p < static_cast<int>(mj.size()); ++p)
            if (mj[p] != -1 && firstPartner[mj[p]] == -1) firstPartner[mj[p]] = p;
        _m[v].assign(std::max(size, 0), -1);
        for (int o = 0; o < size; ++o)
            if (firstPartner[o] != -1) _m[v][o] = _m[v - 1][firstPartner[o]];
    }
    std::cout << "\n Created Reverse Tunnel \n";

    std::ofstream raw;
    openForWriting(raw, rawPath());

    // Threads as labels, and the tunnel.
    int T = 0;
    threads.assign(n, N);
    for (int i = 0; i < n; ++i) {
        raw << "\n" << g0.V[i]->label;
        for (int j = 0; j < M; ++j) {
            if (m[i][j + 1] == -1) {
                threads[i] = j + 1;
                break;
            }
            raw << "," << gseries[j + 1]->V[m[i][j + 1]]->label;
        }
        if (m[i][M] != -1) ++T;
    }
    raw << "\n\n tunnelSize," << T;
    std::cout << "\n Filed Tunnel \n";

    tunnelSize = T;
    tunnelled.clear();
    _tunnelled.assign(n, -1);
    for (int i = 0; i < n; ++i) {
        if (m[i][M] == -1) continue;
        _tunnelled[i] = static_cast<int>(tunnelled.size());
        tunnelled.push_back(i);
    }
    tunnelEdges.clear();
    std::cout << T << "*\n";

    // Signatures seen between tunnelled classes, version by version.
    for (int v = 0; v < N; ++v) {
        std::cout << "\n GRAPH " << v << "\n";
        for (const auto& e : gseries[v]->E) {
            const int f = _m[v][e->from], t = _m[v][e->to];
            if (f == -1 || t == -1 || m[f][M] == -1 || m[t][M] == -1) continue;
            std::vector<occurrence>& list = tunnelEdges[{_tunnelled[f], _tunnelled[t]}];
            const double signature = signatureOf(*e);
            auto seen = std::find_if(list.begin(), list.end(),
                                     [&](const occurrence& o) { return o.value == signature; });
            if (seen != list.end())
                seen->count += 1;
            else
                list.push_back({signature, 1});
        }
    }

    // Pairs with one signature in every version are perfect; the others are
    // listed with their signatures.
    std::vector<int> labelStats(N + 1, 0), m_labelStats(N + 1, 0);
    int perfect = 0, orig_edges = 0;
    for (const auto& [pair, list] : tunnelEdges) {
        const int s = static_cast<int>(list.size());
        if (s == 0) continue;
        if (s == 1 && list[0].count == N) {
            ++perfect;
            continue;
        }
        const int from = tunnelled[pair.first], to = tunnelled[pair.second];
        raw << "\n" << g0.V[from]->label << "," << g0.V[to]->label;
        if (g0.getEdge(from, to) != nullptr) ++orig_edges;
        m_labelStats[s] += 1;
        int max = 0, sum = 0;
        for (const occurrence& o : list) {
            raw << "," << o.value << "\\" << o.count;
            labelStats[o.count] += 1;
            sum += o.count;
            max = std::max(max, static_cast<int>(o.count));
        }
        raw << std::string(s < 7 ? 7 - s : 1, ',') << max << "," << sum;
    }

    // The statistics lines go to the file and to standard output alike.
    auto writeStats = [&](const char* name, const std::vector<int>& table, int from) {
        for (int k = from; k <= N; ++k) {
            if (table[k] <= 0) continue;
            std::ostringstream line;
            line << "\n " << name << "," << k << "," << table[k];
            raw << line.str();
            std::cout << line.str();
        }
    };
    writeStats("labelStats", labelStats, 0);
    raw << "\n\n Original Edges in the tunnel : " << perfect + orig_edges << "\n\n";
    raw << "\n\n Perfect Edge Matching : " << perfect << "\n\n";
    writeStats("multilabelStats", m_labelStats, 2);
    raw << "\n\n Threads \n\n";
    for (int i = 0; i < n; ++i) raw << i << "," << threads[i] << "\n";
    raw << "\n\n Costs in tunnel \n\n";
    for (int i : tunnelled) raw << i << "," << _cost[i] << "\n";
    closeWritten(raw, rawPath());
}

}  // namespace graphmat
