// The class diagram readers on any input: the first byte picks reader mode
// 4, 5, 8 or 9, the rest is the file; then the relation tables that the
// matchers build from the graph.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzSupport.h"
#include "graph/CapacityChecks.h"
#include "graph/Graph.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    graphmat::fuzz::quietHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const int modes[] = {4, 5, 8, 9};
    const int mode = modes[data[0] % 4];
    graphmat::fuzz::writeInput("diagram.txt", data + 1, size - 1);
    try {
        graphmat::Graph g(mode, "diagram.txt");
        g.ensureRelations();
    } catch (const graphmat::MemoryLimitError&) {
        // A count too large for the machine is refused: the expected end.
    }
    return 0;
}
