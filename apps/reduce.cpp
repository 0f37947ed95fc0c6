// reduce: pairs the obviously corresponding vertices of two class diagrams
// and writes the obvious pairs and the two reduced class diagram files into
// ./results/, so that only the rest needs matching.
#include <iostream>
#include <string>
#include <vector>

#include "graph/CommandLine.h"
#include "graph/Graph.h"
#include "graph/OutputFiles.h"
#include "graph/OutputFolders.h"
#include "matching/Match.h"

using namespace graphmat;

namespace {

// The text of --help.
const char* const HELP = R"(reduce: pairs the obviously corresponding vertices of two class diagrams and keeps the rest.

Usage: reduce [-h MODE] [-v 1|2] GRAPH1 GRAPH2
  GRAPH1, GRAPH2  the two graph files (required)
  -h MODE   reader mode of both graphs: 4, 8 or 9 (class diagram files) or 12
            (model graph files) (default 4)
  -v 1|2    1: copy the kept lines of ./datasets/cdiagrams/eclipse/NAME.txt;
            2: regenerate class and member lines and copy the kept relation
            lines of ./datasets/cdiagrams/mylyn/NAME.txt (default 1)
With model graph files (mode 12) few members are paired: members are indexed by
their full text and looked up by their simple name.

Results, where A and B are the graph names: ./results/_A__B.csv (the obvious
pairs), ./results/_A.txt and ./results/_B.txt (the reduced class diagram files);
./results/ must exist: without it the run ends at once with status 2.
Exit status: 0; 1 for a usage error, a graph file that does not open or a gold
file of that name that is kept; 2 when a result file cannot be written.
Documentation: docs/USAGE.md, section "reduce: set aside the obvious part of two class diagrams".
)";

// The usage lines, then the line that names what was wrong.
int usage(const std::string& problem) {
    std::cerr << "Usage: reduce [-h MODE] [-v 1|2] GRAPH1 GRAPH2\n"
              << "-h reader mode of both graphs (default 4)\n"
              << "-v 1: copy the kept lines of ./datasets/cdiagrams/eclipse/NAME.txt (default)\n"
              << "   2: regenerate class and member lines, copy the kept relation lines of\n"
              << "      ./datasets/cdiagrams/mylyn/NAME.txt\n"
              << problem << std::endl;
    return 1;
}

int run(int argc, char** argv) {
    if (asksForHelp(argc, argv)) return printHelp(HELP);
    int mode = 4, variant = 1;
    std::vector<std::string> paths;
    for (int arg = 1; arg < argc; ++arg) {
        const std::string a = argv[arg];
        if (a == "-h" || a == "-v") {
            if (arg + 1 >= argc) return usage("Switch " + a + " needs a value");
            const std::string value = argv[++arg];
            int& target = a == "-h" ? mode : variant;
            if (a == "-h" && !readerModeRefusal(value).empty()) return usage(readerModeRefusal(value));
            if (!parseSwitchValue(value, target)) return usage(badSwitchText(a[1], value, true));
        } else if (a.size() > 1 && a[0] == '-') {
            return usage("Unknown switch " + a);
        } else {
            paths.push_back(a);
        }
    }
    if (paths.size() != 2) return usage("Two graph files are needed");
    if (mode == 7) return usage("Switch -h: no reader mode 7");
    if (variant != 1 && variant != 2) return usage("Switch -v: 1 or 2, not " + std::to_string(variant));
    if (!outputFoldersReady({"./results/"})) return 2;

    Graph g1(mode, paths[0]);
    Graph g2(mode, paths[1]);
    bool missing = false;
    for (const auto& [graph, path] : {std::make_pair(&g1, paths[0]), std::make_pair(&g2, paths[1])})
        if (!graphUsable(*graph, mode, path)) missing = true;
    if (missing) return 1;

    const std::string done = variant == 1 ? Match::obviousMatch1(&g1, &g2) : Match::obviousMatch(&g1, &g2);
    std::cout.flush();
    if (done != "YES") return 1;
    return outputFailed() ? 2 : 0;
}

}  // namespace

int main(int argc, char** argv) { return runEntryPoint(run, argc, argv); }
