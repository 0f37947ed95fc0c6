#include "generators/GeneratorCommands.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "generators/GenGraph.h"
#include "generators/SameFile.h"
#include "graph/CapacityChecks.h"
#include "graph/CommandLine.h"
#include "graph/OutputFiles.h"
#include "graph/OutputFolders.h"

namespace graphmat {

void pairUsage(std::ostream& out) {
    out << "Usage: graphgen pair n e q nl nld el eld pd pi filename seed undirected\n"
           "  a random graph pair with a known correspondence:\n"
           "  n           number of common nodes (at least 1)\n"
           "  e           mean-degree parameter: an ordered pair of distinct nodes carries an arc\n"
           "              with probability p = e / n (0 to n)\n"
           "  q           correlation of the two graphs' labels on the common part (0 to 1)\n"
           "  nl          number of node labels (at least 1)\n"
           "  nld         decay of the node label law (at least 0; 1 gives uniform labels and is\n"
           "              the only decay for a single label)\n"
           "  el          number of arc labels (at least 1)\n"
           "  eld         decay of the edge label law (as nld)\n"
           "  pd          percentage of extra nodes in graph 1 (at least 0)\n"
           "  pi          percentage of extra nodes in graph 2 (at least 0)\n"
           "  filename    stem of the pair's files, e.g. ./datasets/random/g\n"
           "  seed        seed of the random generator\n"
           "  undirected  1 for an undirected pair, 0 for a directed one\n";
}

int pairCommand(const std::vector<std::string>& words) {
    auto refuse = [](const std::string& message) {
        std::cerr << "graphgen pair: " << message << "\n";
        pairUsage(std::cerr);
        return 1;
    };
    if (words.size() != 12)
        return refuse("expected 12 parameters, got " + std::to_string(words.size()));

    int n = 0, nl = 0, el = 0, seed = 0, undirected = 0;
    double e = 0, q = 0, nld = 0, eld = 0, pd = 0, pi = 0;
    struct Whole {
        const char* name;
        int index;
        int* value;
    };
    for (const Whole& w : {Whole{"n", 0, &n}, Whole{"nl", 3, &nl}, Whole{"el", 5, &el}, Whole{"seed", 10, &seed}})
        if (!readWholeNumber(words[w.index], INT_MIN, INT_MAX, *w.value))
            return refuse(wholeNumberRefusal(w.name, words[w.index]));
    struct Real {
        const char* name;
        int index;
        double* value;
    };
    for (const Real& r : {Real{"e", 1, &e}, Real{"q", 2, &q}, Real{"nld", 4, &nld}, Real{"eld", 6, &eld},
                          Real{"pd", 7, &pd}, Real{"pi", 8, &pi}})
        if (!parseSwitchValue(words[r.index], *r.value))
            return refuse(std::string(r.name) + " must be a finite number, not '" + words[r.index] + "'");
    const std::string& filename = words[9];
    if (filename.empty()) return refuse("filename must not be empty");
    if (!readWholeNumber(words[11], 0, 1, undirected))
        return refuse("undirected must be 0 or 1, not '" + words[11] + "'");

    const std::string error = GenGraph::parameterError(n, e, q, nl, nld, el, eld, pd, pi);
    if (!error.empty()) return refuse(error);
    // The generator writes nothing for a single label with another decay.
    if (nl == 1 && static_cast<float>(nld) != 1) return refuse("nld must be 1 when nl is 1 (a single node label)");
    if (el == 1 && static_cast<float>(eld) != 1) return refuse("eld must be 1 when el is 1 (a single arc label)");
    const std::vector<std::string> files =
        GenGraph::pairFiles(filename, n, e, q, nl, nld, el, eld, pd, pi, seed, undirected == 1);
    std::vector<RoleAndPath> outputs;
    for (const std::string& file : files) outputs.push_back({"file", file});
    const std::string clash = coincidingFiles({}, outputs);
    if (!clash.empty()) return refuse(clash);
    if (!outputFoldersReady(files)) return 2;
    // Every file, "bat.txt" and "score.txt" included, before anything is drawn.
    if (!outputFilesReady(files)) return 2;
    // The matrix files grow with the square of the node counts: they are
    // checked against the free space of their disk before anything is drawn.
    const std::vector<PlannedFile> matrices =
        GenGraph::matrixFiles(filename, n, e, q, nl, nld, el, eld, pd, pi, seed, undirected == 1);
    if (!matrices.empty()) {
        const std::string refusal = diskSpaceRefusal(
            matrices, "the matrix files " + matrices[0].path + ", " + matrices[1].path + " and " + matrices[2].path);
        if (!refusal.empty()) {
            std::cerr << "graphgen pair: " << refusal << "\n";
            return 1;
        }
        // Beyond the file-size cap: named before anything is drawn.
        bool fit = true;
        for (const PlannedFile& matrix : matrices) fit = withinSizeCap(matrix.path, matrix.bytes) && fit;
        if (!fit) return 2;
    }

    GenGraph pair(n, e, q, nl, nld, el, eld, pd, pi, filename, seed, undirected == 1);
    std::cout.flush();
    return outputFailed() ? 2 : 0;
}

}  // namespace graphmat
