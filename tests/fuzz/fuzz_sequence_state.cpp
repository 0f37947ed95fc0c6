// The sequence diagram (mode 10) and state machine (mode 11) readers on any
// input: the first byte picks the mode, the rest is the file.
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
    const int mode = data[0] % 2 == 0 ? 10 : 11;
    graphmat::fuzz::writeInput("diagram.txt", data + 1, size - 1);
    try {
        graphmat::Graph g(mode, "diagram.txt");
        g.ensureRelations();
    } catch (const graphmat::MemoryLimitError&) {
        // A count too large for the machine is refused: the expected end.
    }
    return 0;
}
