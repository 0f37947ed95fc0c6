// tunnel: the version-series tracker. Follows the classes of the newest
// version of a series back through the older versions and writes the five
// tunnel reports into ./results/.
#include <iostream>
#include <string>

#include "graph/CommandLine.h"
#include "graph/OutputFiles.h"
#include "graph/OutputFolders.h"
#include "tunnel/Tunnel.h"

namespace {

// The text of --help.
const char* const HELP = R"(tunnel: follows every class of the newest version back through a series of versions.

Usage: tunnel SERIES_LIST
  SERIES_LIST  a text file with one entry per line:
               g,PATH  the class diagram file (reader mode 4) of one version,
                       the newest version first
               m,PATH  the match result file of two consecutive versions, from
                       graphmat -h 4 -o OLDER -n NEWER
               Paths are read relative to the current folder, not to the list.
Model graph files (reader mode 12) are not read: the versions must be class
diagram files, matched with graphmat -h 4; convert a model graph file with
awk -f tools/model-to-class-diagram.awk MODEL.txt > CLASS_DIAGRAM.txt

Results: five reports named after the newest version NEW, under ./results/
(which must exist: without it the run ends at once with status 2):
_tunnel_NEW.csv, tunnel_NEW.csv, raw_tunnel_NEW.csv, ctunnel_NEW.csv,
rtunnel_NEW.csv.
Exit status: 0 after the reports; 1 for a bad command line or a series that
cannot be tracked (nothing written); 2 when a report could not be written.
Documentation: docs/USAGE.md, section "tunnel: follow the classes through a series of versions".
)";

int run(int argc, char** argv) {
    if (graphmat::asksForHelp(argc, argv)) return graphmat::printHelp(HELP);
    if (argc != 2) {
        std::cerr << "Usage: tunnel SERIES_LIST" << std::endl;
        std::cerr << "SERIES_LIST: lines \"g,CLASS_DIAGRAM\" (newest version first) and" << std::endl;
        std::cerr << "\"m,MATCH_RESULT_FILE\" (one per consecutive pair, older version as graph 1)" << std::endl;
        graphmat::reportUsageFault("tunnel", "One argument is needed, the series list file: " +
                                                 std::to_string(argc - 1) + " given",
                                   "describes the series list");
        return 1;
    }
    if (!graphmat::outputFoldersReady({"./results/"})) return 2;
    try {
        graphmat::Tunnel tunnel(argv[1]);
    } catch (const graphmat::TunnelError& error) {
        std::cout.flush();
        std::cerr << error.what() << std::endl;
        return 1;
    }
    std::cout << std::endl;
    return graphmat::outputFailed() ? 2 : 0;
}

}  // namespace

int main(int argc, char** argv) { return graphmat::runEntryPoint(run, argc, argv); }
