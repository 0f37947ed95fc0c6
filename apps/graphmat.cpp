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

#include "graph/Graph.h"
#include "graph/platform.h"
#include "matching/Cost.h"
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

}  // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::cout << "\n START \n";

    std::string graph1, graph2, sim_graphs;
    int graph_type = 12, seed = 1, alg = 7, discrim = 80, umldiff = 0;
    double dwn = 0, dwe = 0, ew = 0, asy = 0, lw = 0, initMode = 1;
    const int direct = 1;

    if (argc - 1 < 3) {
        std::cerr << "Parameters e expected" << std::endl;
        return 1;
    }
    int arg = 1;
    while (arg < argc && argv[arg][0] == '-') {
        const char letter = argv[arg][1];
        if (std::string("onhdgeycsilrmu").find(letter) == std::string::npos || letter == '\0') {
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
        switch (letter) {
            case 'o': graph1 = value; break;
            case 'n': graph2 = value; break;
            case 'h': graph_type = std::atoi(value.c_str()); break;
            case 'd': dwn = std::atof(value.c_str()); break;
            case 'g': dwe = std::atof(value.c_str()); break;
            case 'e': ew = std::atof(value.c_str()); break;
            case 'y': asy = std::atof(value.c_str()); break;
            case 'c': lw = std::atof(value.c_str()); break;
            case 's': seed = std::atoi(value.c_str()); break;
            case 'i': initMode = std::atof(value.c_str()); break;
            case 'l': alg = std::atoi(value.c_str()); break;
            case 'r': discrim = std::atoi(value.c_str()); break;
            case 'm': sim_graphs = value; break;
            case 'u': umldiff = std::atoi(value.c_str()); break;
        }
        arg += 2;
    }
    if (graph1.empty() || graph2.empty()) {
        usage();
        return 1;
    }

    srand15(static_cast<unsigned>(seed));
    Cost costs;
    costs.initMode1(dwn, dwe, ew, asy, lw);

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
    }
    if (missing) {
        std::cout.flush();
        return 1;
    }
    if (asy == -1) {
        // Every price of the cost model divides by asymmetry + 1, so no
        // run with it can be priced (nor have been, for -u).
        std::cerr << "An asymmetry of -1 is not allowed (-y)" << std::endl;
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

    std::cout << "\n\n\nMatching Cost : " << match.bestCost << "\n";
    std::cout << "\nTime : " << (end - start) / 1000;
    std::cout << "\n\nIterations : " << match.iterations;
    // Every result file is closed by now: flush the standard streams and end
    // the process without taking the matcher's many small blocks, cells and
    // edges apart one by one (the system takes the memory back at once).
    std::cout.flush();
    std::fflush(nullptr);
    std::_Exit(outputFailed() ? 2 : 0);
}
