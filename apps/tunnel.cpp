// tunnel: the version-series tracker. Follows the classes of the newest
// version of a series back through the older versions and writes the five
// tunnel reports into ./results/.
#include <iostream>

#include "graph/CommandLine.h"
#include "graph/platform.h"
#include "tunnel/Tunnel.h"

namespace {

int run(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    if (argc != 2) {
        std::cerr << "Usage: tunnel SERIES_LIST" << std::endl;
        std::cerr << "SERIES_LIST: lines \"g,CLASS_DIAGRAM\" (newest version first) and" << std::endl;
        std::cerr << "\"m,MATCH_RESULT_FILE\" (one per consecutive pair, older version as graph 1)" << std::endl;
        return 1;
    }
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
