// The experiment entry of the common-edge-subgraph matcher: runs the greedy
// matcher alone on two edge list graph files and appends one result line to
// "results.csv" in the current directory.
#pragma once

namespace graphmat {

// Switches: -o path of graph 1, -n path of graph 2, -t algorithm number
// (default 1), -a randomisation alpha (0), -m similarity code (0), -s random
// seed (1). Returns the exit status: 0 after a run, 1 for a usage error or a
// graph file that does not open, 2 when "results.csv" cannot be written.
int vornmain(int argc, char** argv);

// Writes the legal switches to standard error.
void use_MCES();

}  // namespace graphmat
