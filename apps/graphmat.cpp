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
#include <vector>

#include "graph/Clock.h"
#include "graph/CommandLine.h"
#include "graph/Graph.h"
#include "graph/InputFiles.h"
#include "graph/OutputFiles.h"
#include "graph/OutputFolders.h"
#include "graph/Random.h"
#include "matching/Cost.h"
#include "matching/CostSwitches.h"
#include "matching/Match.h"
#include "reports/CsvDiff.h"
#include "reports/RunName.h"

using namespace graphmat;

namespace {

// The text of --help.
const char* const HELP = R"(graphmat: matches two graphs (two versions of a class diagram) at least edit cost.

Usage: graphmat [-SWITCH VALUE]... -o GRAPH1 -n GRAPH2
Switches come before the first argument that does not begin with "-", each
followed by its value; at least three arguments. An unknown switch takes no
value: it prints the usage lines, is named, and the run goes on.
  -o PATH   graph 1, the old version (required)
  -n PATH   graph 2, the new version (required)
  -h MODE   reader mode of both files, 0 to 12 (default 12: model graph file;
            4: class diagram file; 0: plain graph file)
  -d REAL   node drop weight (default 0)
  -g REAL   edge drop weight (default 0)
  -e REAL   edge weight (default 0)
  -y REAL   asymmetry between deletions and insertions, not -1 (default 0)
  -c REAL   label weight (default 0)
  -s INT    random seed, also part of the result file names (default 1)
  -i REAL   start-solution mode: 1, 2, 3, 4, 5, 0, or a share strictly between
            0 and 1 of a known matching (default 1); any other value (6, -1,
            1.5) runs as 4 (the search from the pre-matching) with no warning;
            every mode but 1 reports the known matching read from
            ./datasets/random/NAME.csv, NAME the graph-1 name without its last
            character: without that file the run ends with status 1
            (-i 1 matches without one); after the run, standard error says
            so and gives the cost of the matching the search found
  -l INT    algorithm number of the common-edge-subgraph matcher (default 7)
  -r INT    similarity code of the common-edge-subgraph matcher (default 80)
  -m PATH   the single assignment instead of the search; PATH names a
            similarity file, neither opened nor read (default: the search)
  -u 0|1    1: write the diagram difference report of an earlier run and stop
            (default 0)
  -w 0|1    1: after the result files, write the UML difference report
            (default 0)
With -d and -e 0 (all weights 0 by default) deleting and inserting cost
nothing, so no matching costs less than the empty one (standard error says so
after the run); try -d 1 -g 0.5 -e 1 -y 1.

Results: ./results/RUN.csv, the match result file (one ns row per matched pair),
its companions RUN.csv.csv, RUN.csv.csv.csv and RUN.csv.csv.csv.csv, and the raw
lists ./results/raw_*.csv, where RUN is GRAPH1__GRAPH2__d__g__e__y__c__s.
./results/ must exist and be writable: without it a run ends at once with
status 2. tools/summary.sh results prints what a run found.
Standard output: the cost of the empty matching, the cost of the matching
found, the time and the iterations.
Exit status: 0 after a run; 1 for a usage error, a graph file that does not
open, is a device, is read in a wrong reader mode (or of which no line reads)
or whose counts need more memory than the machine has, a start mode other
than 1 without its known-matching file, -u 1 or start-solution mode 0; 2 when
./results/ is missing or a result file (or the console output) could not be
written.
Documentation: docs/USAGE.md, section "graphmat: match two graphs".
)";

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
    if (asksForHelp(argc, argv)) return printHelp(HELP);
    setVertexBytes(vertex_bytes::matching);
    std::cout << "\n START \n";

    std::string graph1, graph2, sim_graphs;
    int graph_type = 12, seed = 1, alg = 7, discrim = 80, umldiff = 0, umlreport = 0;
    double initMode = 1;
    CostWeights weights;
    const int direct = 1;

    if (argc - 1 < 3) {
        std::cerr << "Parameters e expected" << std::endl;
        reportUsageFault("graphmat", "At least 3 arguments are needed, " + std::to_string(argc - 1) + " given");
        return 1;
    }
    // An unknown switch prints the usage lines and the run goes on; what
    // it leads to later (no -o or -n read) names itself without a second list.
    bool usagePrinted = false;
    int arg = 1;
    while (arg < argc && argv[arg][0] == '-') {
        const char letter = argv[arg][1];
        if (std::string("onhdgeycsilrmuw").find(letter) == std::string::npos || letter == '\0') {
            usage();
            usagePrinted = true;
            reportUsageFault("graphmat", std::string("Unknown switch ") + argv[arg] +
                                             " (ignored; an unknown switch takes no value)");
            ++arg;
            continue;
        }
        if (arg + 1 >= argc) {  // a switch without its value
            usage();
            reportUsageFault("graphmat", std::string("Switch -") + letter + " needs a value");
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
        const std::string refusal = letter == 'h' ? readerModeRefusal(value) : "";
        // Every price divides by the asymmetry + 1: -1 is a usage error,
        // refused before any graph is read.
        const std::string weightRefusal = valid && letter == 'y' ? weights.refusal() : "";
        if (!valid || !refusal.empty() || !weightRefusal.empty()) {
            std::cout.flush();
            usage();
            if (!weightRefusal.empty())
                reportUsageFault("graphmat", weightRefusal);
            else if (refusal.empty())
                reportBadSwitch(letter, value, std::string("hslruw").find(letter) != std::string::npos);
            else
                std::cerr << refusal << std::endl;
            return 1;
        }
        arg += 2;
    }
    if (graph1.empty() || graph2.empty()) {
        if (!usagePrinted) usage();
        std::string fault = "Switches -o and -n are needed";
        if (arg < argc)
            fault += std::string(": the switches end at \"") + argv[arg] +
                     "\", the first argument that does not begin with \"-\"";
        reportUsageFault("graphmat", fault);
        return 1;
    }
    // Start mode 0 (the search's, not -m's nor -u's) appends its row to
    // ./sim_results.csv beside the matcher's file in ./results/.
    const bool experiment = umldiff != 1 && sim_graphs.empty() && initMode == 0;
    if (!outputFoldersReady(experiment ? std::vector<std::string>{"./results/", "sim_results.csv"}
                                       : std::vector<std::string>{"./results/"})) {
        std::cout.flush();
        return 2;
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
    for (const auto& [graph, path] : {std::make_pair(&g1, graph1), std::make_pair(&g2, graph2)})
        if (!graphUsable(*graph, graph_type, path)) missing = true;
    if (missing) {
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

    // Start modes other than 1 report the known matching: without its file
    // the run would report an empty one.
    if (sim_graphs.empty() && Match::readsKnownMatching(initMode)) {
        // Read now, before any file is written; the start step reads the
        // same bytes again.
        const InputText known = readInput(Match::knownMatchingPath(g1.name));
        if (!known.opened()) {
            std::cout.flush();
            std::cerr << "Cannot read " << known.path() << ": " << known.failure() << "; start modes other than 1"
                      << " report the known matching read from this file (-i 1 matches without one)" << std::endl;
            return 1;
        }
    }

    // -w 1 reads its listing after the result files are written: read it
    // now, before the matcher writes its first file, so that a listing that
    // is refused leaves the files of an earlier run as they were. The report
    // reads the same bytes again (and names a listing that does not open).
    if (umlreport == 1) readInput(Match::umlListingPath(g1.name, g2.name));

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
    if (sim_graphs.empty() && Match::readsKnownMatching(initMode))
        std::cerr << "Start mode " << initMode << ": the result files and \"Matching Cost\" report the known matching"
                  << " read from " << Match::knownMatchingPath(g1.name) << ", not the matching found; the matching"
                  << " the search found costs " << match.searchCost << std::endl;
    if (weights.editsCostNothing())
        std::cerr << "The weights -d and -e are 0: deleting and inserting vertices and edges cost nothing, so no"
                  << " matching costs less than the empty one; the README's weights -d 1 -g 0.5 -e 1 -y 1 make the"
                  << " matching meaningful" << std::endl;
    // Every result file is closed by now: flush the standard streams and end
    // the process without taking the matcher's many small blocks, cells and
    // edges apart one by one (the system takes the memory back at once).
    exitWithoutTeardown(outputFailed() ? 2 : 0);
}

}  // namespace

int main(int argc, char** argv) { return runEntryPoint(run, argc, argv); }
