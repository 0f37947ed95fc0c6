#include "mces/vornmain.h"

#include <iostream>
#include <string>

#include "graph/Clock.h"
#include "graph/CommandLine.h"
#include "graph/Graph.h"
#include "graph/OutputFiles.h"
#include "graph/OutputFolders.h"
#include "graph/Random.h"
#include "mces/MCES.h"

namespace graphmat {

void use_MCES() {
    std::cerr << std::endl;
    std::cerr << "Legal switches:" << std::endl;
    std::cerr << "-o path of graph 1" << std::endl;
    std::cerr << "-n path of graph 2" << std::endl;
    std::cerr << "-t type of algorithm" << std::endl;
    std::cerr << "-a randomisation alpha" << std::endl;
    std::cerr << "-m type of similarity" << std::endl;
    std::cerr << "-s random seed" << std::endl;
}

namespace {

// Whether a graph file can be used; a refused plain graph file (what
// graphgen writes) is followed by the command that makes an edge list graph
// file of it: its header and arc lines, without the vertex lines.
bool usableEdgeList(const Graph& g, const std::string& path) {
    if (graphUsable(g, 6, path, ModeChoice::Fixed, "mces")) return true;
    if (g.reading.verdict.otherMode == 0)
        std::cerr << "Graph file " << path
                  << ": make an edge list graph file of a plain graph file by dropping its vertex lines: awk -F, "
                     "'NR == 1 { n = $1 } NR == 1 || NR > n + 1' "
                  << path << " > EDGE_LIST.csv" << std::endl;
    return false;
}

}  // namespace

int vornmain(int argc, char** argv) {
    std::string path1, path2;
    int algorithm = 1;
    float alpha = 0;
    int similarityCode = 0;
    int seed = 1;

    // Each usage error prints the usage lines and one line that names it.
    auto refuse = [](const std::string& fault) {
        use_MCES();
        reportUsageFault("mces", fault);
        return 1;
    };
    if (argc <= 4) return refuse("At least 4 arguments are needed, " + std::to_string(argc - 1) + " given");
    for (int k = 0; k < argc; ++k) {
        const std::string arg = argv[k];
        if (arg.empty() || arg[0] != '-') continue;
        const char letter = arg.size() > 1 ? arg[1] : '\0';
        if (letter != 'o' && letter != 'n' && letter != 's' && letter != 't' && letter != 'a' && letter != 'm')
            return refuse("Unknown switch " + arg);
        if (k + 1 >= argc)  // a switch without its value
            return refuse(std::string("Switch -") + letter + " needs a value");
        const std::string value = argv[++k];
        bool valid = true;
        switch (letter) {
            case 'o': path1 = value; break;
            case 'n': path2 = value; break;
            case 's': valid = parseSwitchValue(value, seed); break;
            case 't': valid = parseSwitchValue(value, algorithm); break;
            case 'a': valid = parseSwitchValue(value, alpha); break;
            case 'm': valid = parseSwitchValue(value, similarityCode); break;
            default: break;
        }
        if (!valid) {
            use_MCES();
            reportBadSwitch(letter, value, letter != 'a');
            return 1;
        }
    }

    // Without both paths there is nothing to match.
    if (path1.empty() || path2.empty()) return refuse("Switches -o and -n are needed");
    if (!outputFoldersReady({"results.csv"})) return 2;

    srand15(static_cast<unsigned>(seed));
    std::cout << "-o " << path1 << " -n " << path2 << " -s " << seed << " -t " << algorithm << " -a " << alpha
              << " -m " << similarityCode << "\n";

    const double start = clockMs();
    Graph graph1(6, path1);
    Graph graph2(6, path2);
    // Both files are checked, so that each one that cannot be used is named.
    const bool usable1 = usableEdgeList(graph1, path1);
    const bool usable2 = usableEdgeList(graph2, path2);
    if (!usable1 || !usable2) return 1;

    MCES matcher(algorithm, similarityCode, &graph1, &graph2, alpha, seed, 0.0, true);
    const double end = clockMs();

    OutputFile results;
    if (!results.open("results.csv", true)) return 2;
    results << "0,MCES," << matcher.r_alpha << "," << matcher.seed << "," << matcher.won << ","
            << (end - start) / 1000.0 << "," << graph1.name << "," << matcher.idAlgo << "," << matcher.similarity
            << "\n";
    return results.close() ? 0 : 2;
}

}  // namespace graphmat
