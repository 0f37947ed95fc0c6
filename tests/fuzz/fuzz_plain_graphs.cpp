// The readers of graphs that are not class diagrams: the first byte picks
// the plain graph file (mode 0), the binary files (modes 1, 2), the named
// edge list (3), the edge list (6) or the graph text (7); the rest is the
// file (or, for mode 7, the text).
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "graph/CapacityChecks.h"
#include "graph/Graph.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    graphmat::fuzz::quietHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const int modes[] = {0, 1, 2, 3, 6, 7};
    const int mode = modes[data[0] % 6];
    try {
        if (mode == 7) {
            graphmat::Graph g(7, std::string(reinterpret_cast<const char*>(data + 1), size - 1));
            g.ensureRelations();
        } else {
            graphmat::fuzz::writeInput("graph.dat", data + 1, size - 1);
            graphmat::Graph g(mode, "graph.dat");
            g.ensureRelations();
        }
    } catch (const graphmat::MemoryLimitError&) {
        // A count too large for the machine is refused: the expected end.
    }
    return 0;
}
