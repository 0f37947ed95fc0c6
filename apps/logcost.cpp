// logcost: the cost, under the driver's cost model, of the vertex
// correspondence that an edit-path log records between two graphs.
//   logcost [-h MODE] [-s SEED] [-d -g -e -y -c WEIGHT] -o OLD -n NEW -p LOG
#include <iostream>
#include <string>

#include "graph/CommandLine.h"
#include "graph/Graph.h"
#include "graph/InputFiles.h"
#include "graph/OutputFiles.h"
#include "graph/OutputFolders.h"
#include "graph/Random.h"
#include "matching/Cost.h"
#include "matching/CostSwitches.h"
#include "matching/Match.h"

using namespace graphmat;

namespace {

// The text of --help.
const char* const HELP = R"(logcost: prints the cost of the vertex correspondence that an edit-path log records.

Usage: logcost [-h MODE] [-s SEED] [-d -g -e -y -c WEIGHT] -o OLD -n NEW -p LOG
Each switch is followed by its value.
  -o PATH   the old graph (required)
  -n PATH   the new graph (required)
  -p PATH   the edit-path log written by graphgen noise or mutate (required);
            its n,old,new lines give the correspondence
  -h MODE   reader mode of both graphs, 0 to 12 (default 0: plain graph file)
  -d REAL   node drop weight (default 0)
  -g REAL   edge drop weight (default 0)
  -e REAL   edge weight (default 0)
  -y REAL   asymmetry between deletions and insertions, not -1 (default 0)
  -c REAL   label weight (default 0)
  -s INT    random seed (default 1)

Results: standard output, ending with the line "Log Matching Cost : " and the
cost; the matcher it builds writes ./results/sem_OLD__NEW_PAIRS.csv (./results/
must exist: without it the run ends at once with status 2).
Exit status: 0; 1 for a usage error or an input that does not open; 2 when a
file of the matcher could not be written.
Documentation: docs/USAGE.md, section "logcost: the cost of an edit-path log's correspondence".
)";

// The usage line, then the line that names what was wrong.
int usage(const std::string& problem) {
    std::cerr << "Usage: logcost [-h reader mode, default 0] [-s random seed]"
              << " [-d -g -e -y -c cost weights] -o old graph -n new graph -p edit-path log\n"
              << problem << std::endl;
    return 1;
}

int run(int argc, char** argv) {
    if (asksForHelp(argc, argv)) return printHelp(HELP);
    setVertexBytes(vertex_bytes::matching);
    std::string graph1, graph2, log;
    int mode = 0, seed = 1;
    CostWeights weights;
    for (int arg = 1; arg < argc; arg += 2) {
        const std::string key = argv[arg];
        if (key.size() != 2 || key[0] != '-' || std::string("onphsdgeyc").find(key[1]) == std::string::npos)
            return usage("Unknown switch " + key);
        if (arg + 1 >= argc) return usage("Switch " + key + " needs a value");
        const std::string value = argv[arg + 1];
        const char letter = key[1];
        bool valid = true;
        if (letter == 'o') graph1 = value;
        else if (letter == 'n') graph2 = value;
        else if (letter == 'p') log = value;
        else if (letter == 'h') valid = parseSwitchValue(value, mode);
        else if (letter == 's') valid = parseSwitchValue(value, seed);
        else valid = parseSwitchValue(value, *weights.forSwitch(letter));
        if (letter == 'h' && !readerModeRefusal(value).empty()) return usage(readerModeRefusal(value));
        if (!valid) return usage(badSwitchText(letter, value, letter == 'h' || letter == 's'));
    }
    if (graph1.empty() || graph2.empty() || log.empty()) return usage("Switches -o, -n and -p are needed");
    if (!weights.refusal().empty()) return usage(weights.refusal());
    if (!outputFoldersReady({"./results/"})) return 2;  // the matcher's file of shared terms

    srand15(static_cast<unsigned>(seed));
    Cost costs;
    weights.install(costs);
    Graph g1(mode, graph1);
    Graph g2(mode, graph2);
    bool missing = false;
    for (const auto& [graph, path] : {std::make_pair(&g1, graph1), std::make_pair(&g2, graph2)})
        if (!graphUsable(*graph, mode, path)) missing = true;
    if (missing) return 1;

    // Read before the matcher writes its files (getLog reads the same
    // bytes): a log that does not open ends the run with the files of an
    // earlier run as they were.
    const InputText logText = readInput(log);
    if (!logText.opened()) {
        reportMissingInput(logText);
        return 1;
    }
    Match match(&g1, &g2, &costs, seed, 3);
    const double cost = match.getLog(log);
    std::cout << "\n\n\nLog Matching Cost : " << cost << "\n";
    std::cout.flush();
    return outputFailed() ? 2 : 0;
}

}  // namespace

int main(int argc, char** argv) { return runEntryPoint(run, argc, argv); }
