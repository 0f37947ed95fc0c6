// graphstats: describes a collection of graphs. Reads each file in the
// reader mode of -h and, by the kind of -k, appends its summary row to
// "./graphs/all_graphs.csv" and writes "./graphs/<name>.csv" (details, the
// default), does the same with the version row of a class diagram
// (versions), prints the whole graph (print) or writes its adjacency matrix
// file "m<name>" (matrix).
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "graph/CommandLine.h"
#include "graph/Graph.h"
#include "graph/InputFiles.h"
#include "graph/OutputFiles.h"
#include "graph/OutputFolders.h"

using namespace graphmat;

namespace {

// The text of --help.
const char* const HELP = R"(graphstats: describes graphs: summary rows, degree and label distributions, matrices.

Usage: graphstats [-h MODE] [-k details|versions|print|matrix] FILE...
  FILE...   the graph files (at least one)
  -h MODE   reader mode of the files, 0 to 12 (default 12: model graph file)
  -k KIND   what to write of each graph (default details):
            details   a summary row and the distributions
            versions  the same with semicolons, and the version row
            print     the whole graph on standard output
            matrix    the adjacency matrix file
Results, per graph NAME (its file name without folder and extension):
details and versions append a row to ./graphs/all_graphs.csv and write
./graphs/NAME.csv and ./logs/isolated_NAME.csv (versions also appends to
./graphs/all_versions.csv); matrix writes ./mNAME. details and versions need
./graphs/ and ./logs/: without them a run ends at once with status 2.
Exit status: 0; 1 for a usage error or a graph file that does not open or is
refused (the others are still read); 2 when a file cannot be written.
Documentation: docs/USAGE.md, section "graphstats: describe a collection of graphs".
)";

// The usage lines, then the line that names what was wrong.
int usage(const std::string& problem) {
    std::cerr << "Usage: graphstats [-h MODE] [-k details|versions|print|matrix] FILE..." << std::endl;
    std::cerr << "-h reader mode of the files (default 12)" << std::endl;
    std::cerr << "-k what to write of each graph (default details)" << std::endl;
    std::cerr << problem << std::endl;
    return 1;
}

int run(int argc, char** argv) {
    if (asksForHelp(argc, argv)) return printHelp(HELP);
    int mode = 12;
    std::string kind = "details";
    int arg = 1;
    for (; arg < argc && argv[arg][0] == '-'; arg += 2) {
        const std::string flag = argv[arg];
        if (flag != "-h" && flag != "-k") return usage("Unknown switch " + flag);
        if (arg + 1 >= argc) return usage("Switch " + flag + " needs a value");
        const std::string value = argv[arg + 1];
        if (flag == "-k") {
            kind = value;
            continue;
        }
        const std::string refusal = readerModeRefusal(value);
        if (!refusal.empty()) return usage(refusal);
        if (!parseSwitchValue(value, mode)) return usage(badSwitchText('h', value, true));
    }
    if (kind != "details" && kind != "versions" && kind != "print" && kind != "matrix")
        return usage("Not a kind (-k): " + kind);
    if (arg >= argc) return usage("No graph file");
    // details and versions: ./graphs/ and the isolated vertices under
    // ./logs/; matrix: the current folder; print: the console alone.
    std::vector<std::string> folders = {"./graphs/", "./logs/"};
    if (kind == "matrix") folders = {"./"};
    if (kind == "print") folders.clear();
    if (!outputFoldersReady(folders)) return 2;

    // Each graph is read before its own files are written. One that is
    // refused (a device, a read that fails) is named like one that does not
    // open, and the others are still read.
    bool missing = false;
    for (; arg < argc; ++arg) {
        std::unique_ptr<Graph> g;
        try {
            g = std::make_unique<Graph>(mode, argv[arg]);
        } catch (const InputError& refused) {
            std::cout.flush();
            std::cerr << refused.what() << std::endl;
            missing = true;
            continue;
        }
        if (!graphUsable(*g, mode, argv[arg])) {
            missing = true;
            continue;
        }
        if (kind == "details") g->graphDetails();
        if (kind == "versions") g->mozillaDetails();
        if (kind == "print") g->print();
        if (kind == "matrix") g->toMatrixFile();
    }
    std::cout.flush();
    return outputFailed() ? 2 : missing ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) { return runEntryPoint(run, argc, argv); }
