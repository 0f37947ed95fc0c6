// graphmat: the command line of a matching run. Reads the switches, builds
// the cost model and the two graphs, and runs the Tabu search (or, with -m,
// the single assignment), or writes the diagram difference report (-u 1).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <limits>
#include <sstream>
#include <string>

#include "graph/CommandLine.h"
#include "graph/Graph.h"
#include "graph/platform.h"
#include "matching/Cost.h"
#include "matching/CostSwitches.h"
#include "matching/Match.h"
#include "reports/CsvDiff.h"
#include "reports/RunName.h"

using namespace graphmat;

namespace {

void usage() {
    std::cerr << std::endl;
    std::cerr << "Legal switches:" << std::endl;
    std::cerr << "-o path of graph 1 " << std::endl;
    std::cerr << "-n path of graph 2" << std::endl;
    std::cerr << "-m path of similarity file" << std::endl;
    std::cerr << "-d direction of similarity file" << std::endl;
    std::cerr << "-s random seed" << std::endl;
}

// A cost truncated towards zero and written as a whole number, for any
// value: beyond the range of the integer types the digits come from the
// double itself; a value that is not finite is written as the stream does.
std::string truncated(double value) {
    const double whole = std::trunc(value);
    if (!std::isfinite(whole)) return graphmat::to_string(whole);
    if (std::fabs(whole) < 9.2e18) return std::to_string(static_cast<long long>(whole));
    std::ostringstream out;
    out << std::fixed << std::setprecision(0) << whole;
    return out.str();
}

int run(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::cout << "\n START \n";

    std::string graph1, graph2, sim_graphs;
    int graph_type = 12, seed = 1, alg = 7, discrim = 80, umldiff = 0, umlreport = 0;
    double initMode = 1;
    CostWeights weights;
    const int direct = 1;

    if (argc - 1 < 3) {
        std::cerr << "Parameters e expected" << std::endl;
        return 1;
    }
    int arg = 1;
    while (arg < argc && argv[arg][0] == '-') {
        const char letter = argv[arg][1];
        if (std::string("onhdgeycsilrmuw").find(letter) == std::string::npos || letter == '\0') {
            usage();
            ++arg;
            continue;
        }
        if (arg + 1 >= argc) {  // a switch without its value
            usage();
            return 1;
        }
        const std::string value = argv[arg + 1];
        std::cout << " -" << letter << " " << value;
        bool valid = true;
        switch (letter) {
            case 'o': graph1 = value; break;
            case 'n': graph2 = value; break;
            case 'h': valid = parseSwitchValue(value, graph_type); break;
            case 'd': case 'g': case 'e': case 'y': case 'c':
                valid = parseSwitchValue(value, *weights.forSwitch(letter));
                break;
            case 's': valid = parseSwitchValue(value, seed); break;
            case 'i': valid = parseSwitchValue(value, initMode); break;
            case 'l': valid = parseSwitchValue(value, alg); break;
            case 'r': valid = parseSwitchValue(value, discrim); break;
            case 'm': sim_graphs = value; break;
            case 'u': valid = parseSwitchValue(value, umldiff); break;
            case 'w': valid = parseSwitchValue(value, umlreport); break;
        }
        if (!valid) {
            std::cout.flush();
            usage();
            reportBadSwitch(letter, value, std::string("hslruw").find(letter) != std::string::npos);
            return 1;
        }
        arg += 2;
    }
    if (graph1.empty() || graph2.empty()) {
        usage();
        return 1;
    }

    srand15(static_cast<unsigned>(seed));
    Cost costs;
    weights.install(costs);

    Graph g1(graph_type, graph1);
    std::cout << "\n G1: " << g1.vertices << "\t" << g1.edges << "\n";
    Graph g2(graph_type, graph2);
    std::cout << "\n G2: " << g2.vertices << "\t" << g2.edges << "\n";
    // A graph file that does not open ends the run: there is nothing to
    // match (a graph text, mode 7, is no file).
    bool missing = false;
    for (const auto& [graph, path] : {std::make_pair(&g1, graph1), std::make_pair(&g2, graph2)}) {
        if (graph_type != 7 && !graph->fileOpened) {
            reportMissingInput(path);
            missing = true;
        }
        if (graph->nothingRead) missing = true;  // named by its reader
    }
    if (missing) {
        std::cout.flush();
        return 1;
    }
    if (!weights.refusal().empty()) {
        // No run with it can be priced (nor have been, for -u).
        std::cerr << weights.refusal() << std::endl;
        std::cout.flush();
        return 1;
    }

    if (umldiff == 1) {
        const std::string d = "./results/";
        const std::string run = runName(g1, g2, costs, seed);
        csvDiff(d + "raw_" + g1.name + ".csv", d + "raw_" + g2.name + ".csv", d + "uml_" + g1.name + ".csv",
                d + "uml_" + g2.name + ".csv", d + "raw_" + run + ".csv",
                d + "uml_" + g1.name + "__" + g2.name + ".csv");
        std::cout.flush();
        return outputFailed() ? 2 : 1;
    }

    Match match(&g1, &g2, &costs, seed, 3);
    std::cout << "\n\n\nNo Matching Cost : " << truncated(match.no_matching_cost) << "\n";

    const double start = clockMs();
    if (sim_graphs.empty()) {
        std::cout << "\n" << initMode;
        match.Tabu(initMode, alg, discrim);
    } else {
        match.hungarian(sim_graphs, direct);
    }
    const double end = clockMs();
    // -w 1: the raw lists in their variant form and the UML difference report.
    if (umlreport == 1) match.rawPrint2();

    std::cout << "\n\n\nMatching Cost : " << match.bestCost << "\n";
    std::cout << "\nTime : " << (end - start) / 1000;
    std::cout << "\n\nIterations : " << match.iterations;
    // Every result file is closed by now: flush the standard streams and end
    // the process without taking the matcher's many small blocks, cells and
    // edges apart one by one (the system takes the memory back at once).
    exitWithoutTeardown(outputFailed() ? 2 : 0);
}

}  // namespace

int main(int argc, char** argv) { return runEntryPoint(run, argc, argv); }
