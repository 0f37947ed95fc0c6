#include "generators/GraphNoise.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "generators/EditPathLog.h"
#include "graph/ConsolePause.h"
#include "graph/Random.h"
#include "graph/stdafx.h"

namespace graphmat {

namespace {

const std::string BENCHMARK_DIR = "./benchmark/";

double uniformDraw() { return rand15() / 32767.0; }

// The integer value of a generated label (decimal digits only).
int labelValue(const Edge* e) { return e ? std::atoi(e->label.c_str()) : 0; }

void insertArc(Graph& g, int from, int to, int label) {
    auto e = std::make_unique<Edge>();
    e->setNumber(static_cast<int>(g.E.size()));
    e->setFrom(from);
    e->setTo(to);
    e->setLabel(to_string(label));
    g.insertEdge(std::move(e));
}

}  // namespace

int GraphNoise::noiseDraw(int x) const {
    // In 64 bits: 2 x epsilon does not overflow for any int amplitude.
    const long long shift = static_cast<long long>(2 * uniformDraw() * epsilon);
    const long long y = shift + x - 2LL * epsilon;
    return static_cast<int>(std::clamp(y, 0LL, 100LL));
}

GraphNoise::GraphNoise(int num_graph, int v, int epsi) {
    n = std::max(v, 0);
    epsilon = epsi;
    const std::string k = to_string(num_graph);

    // The original: vertex labels 0..100, an arc on each ordered pair of
    // distinct vertices whose label draw is not 0.
    original = std::make_unique<Graph>();
    for (int i = 0; i < n; ++i) {
        auto vertex = std::make_unique<Vertex>();
        vertex->number = i;
        vertex->label = to_string(static_cast<int>(uniformDraw() * 100));
        original->V.push_back(std::move(vertex));
    }
    original->vertices = static_cast<int>(original->V.size());
    original->reinitEdges();
    for (int j = 0; j < n; ++j)
        for (int t = 0; t < n; ++t) {
            if (t == j) continue;
            const int label = static_cast<int>(uniformDraw() * 100);
            if (label != 0) insertArc(*original, j, t, label);
        }
    original->edges = static_cast<int>(original->E.size());
    original->name = "original_" + k;
    const std::vector<std::string> files = outputFiles(num_graph);
    original->write(0, files[0]);

    // The noisy copy: noisy vertex m is original vertex perm[m].
    noisy = std::make_unique<Graph>();
    std::vector<int> perm(n);
    for (int i = 0; i < n; ++i) perm[i] = i;
    for (int i = 0; i + 1 < n; ++i) std::swap(perm[i], perm[i + rand15() % (n - i)]);
    old_numbers.assign(n, -1);
    new_numbers.assign(n, -1);
    for (int m = 0; m < n; ++m) {
        old_numbers[m] = perm[m];
        new_numbers[perm[m]] = m;
        auto vertex = std::make_unique<Vertex>();
        vertex->number = m;
        vertex->label = to_string(noiseDraw(std::atoi(original->V[perm[m]]->label.c_str())));
        noisy->V.push_back(std::move(vertex));
    }
    noisy->vertices = static_cast<int>(noisy->V.size());
    noisy->reinitEdges();
    addEdges.assign(n, std::vector<std::string>(n));
    modifEdges.assign(n, std::vector<std::string>(n));
    unChangedEdges = 0;
    for (int c = 0; c < n; ++c)
        for (int e = 0; e < n; ++e) {
            if (e == c) continue;
            const int x = labelValue(original->getEdge(old_numbers[c], old_numbers[e]));
            const int y = noiseDraw(x);
            if (y == x) ++unChangedEdges;
            if (y != 0) insertArc(*noisy, c, e, y);
            if (x == 0 && y != 0)
                addEdges[c][e] = "+";
            else if (y != x)
                modifEdges[c][e] = "*";
        }
    noisy->edges = static_cast<int>(noisy->E.size());
    noisy->name = "noisy_" + k;
    noisy->write(0, files[1]);

    write(0, files[2]);
    pauseConsole();
}

std::vector<std::string> GraphNoise::outputFiles(int num_graph) {
    const std::string k = to_string(num_graph);
    return {BENCHMARK_DIR + "original_" + k + ".txt", BENCHMARK_DIR + "noisy_" + k + ".txt",
            BENCHMARK_DIR + "log_" + k + ".txt"};
}

bool GraphNoise::write(int, const std::string& filename) {
    deletedNodes = 0;
    addedNodes = 0;
    return writeEditPathLog({original.get(), noisy.get(), &new_numbers, &old_numbers, &addEdges, &modifEdges,
                             deletedNodes, unChangedEdges, addedNodes},
                            filename, true);
}

}  // namespace graphmat
