#include "graph/CapacityChecks.h"
#include "graph/CommandLine.h"
#include "mces/vornmain.h"

namespace {

// The text of --help.
const char* const HELP = R"(mces: runs the greedy common-edge-subgraph matcher alone on two graphs.

Usage: mces -o GRAPH1 -n GRAPH2 [-t ALGORITHM] [-a ALPHA] [-m CODE] [-s SEED]
Each switch is followed by its value; at least four arguments.
  -o PATH   graph 1, an edge list graph file (reader mode 6) (required)
  -n PATH   graph 2, an edge list graph file (required)
  -t INT    algorithm number, 0 to 9 (default 1)
  -a REAL   randomisation alpha (default 0)
  -m INT    similarity code (default 0)
  -s INT    random seed (default 1)

Results: one line appended to ./results.csv (the current folder):
0,MCES,alpha,seed,gain,seconds,graph-1 name,algorithm,similarity code.
Exit status: 0; 1 for a usage error, a graph that does not open or tables too
large for memory; 2 when results.csv cannot be written.
Documentation: docs/USAGE.md, section "mces: the common-edge-subgraph matcher alone".
)";

int run(int argc, char** argv) {
    if (graphmat::asksForHelp(argc, argv)) return graphmat::printHelp(HELP);
    graphmat::setVertexBytes(graphmat::vertex_bytes::commonEdges);
    return graphmat::vornmain(argc, argv);
}

}  // namespace

int main(int argc, char** argv) { return graphmat::runEntryPoint(run, argc, argv); }
