// The model graph file reader (mode 12) on any input, with the relation
// tables that the matchers build from its graph.
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
    graphmat::fuzz::writeInput("model.txt", data, size);
    try {
        graphmat::Graph g(12, "model.txt");
        g.ensureRelations();
    } catch (const graphmat::MemoryLimitError&) {
        // A count too large for the machine is refused: the expected end.
    }
    return 0;
}
