// The inputs of reduce: the first byte picks the variant (even: -v 1, odd:
// -v 2) and the reader mode of both graphs (the byte / 2 modulo the twelve
// modes 0-6 and 8-12); the rest is cut at NUL bytes into graph 1, graph 2,
// the class diagram files of both under ./datasets/cdiagrams/ that the
// variant copies lines from, and a file already standing where the obvious
// pairs go (an earlier output or a gold file).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "graph/CapacityChecks.h"
#include "graph/Graph.h"
#include "matching/Match.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    graphmat::fuzz::quietHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const int modes[] = {0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12};
    const bool firstVariant = data[0] % 2 == 0;
    const int mode = modes[(data[0] / 2) % 12];
    graphmat::fuzz::WorkFolder work({"results", "datasets/cdiagrams/eclipse", "datasets/cdiagrams/mylyn"});
    const std::vector<std::string> parts = graphmat::fuzz::splitInput(data + 1, size - 1, 5);
    const std::string folder = firstVariant ? "datasets/cdiagrams/eclipse/" : "datasets/cdiagrams/mylyn/";
    graphmat::fuzz::writeInput("A.txt", parts[0]);
    graphmat::fuzz::writeInput("B.txt", parts[1]);
    graphmat::fuzz::writeInput(folder + "A.txt", parts[2]);
    graphmat::fuzz::writeInput(folder + "B.txt", parts[3]);
    if (!parts[4].empty()) graphmat::fuzz::writeInput("results/_A__B.csv", parts[4]);
    try {
        graphmat::Graph g1(mode, "A.txt");
        graphmat::Graph g2(mode, "B.txt");
        if (firstVariant)
            graphmat::Match::obviousMatch1(&g1, &g2);
        else
            graphmat::Match::obviousMatch(&g1, &g2);
    } catch (const graphmat::MemoryLimitError&) {
        // A count too large for the machine is refused: the expected end.
    }
    return 0;
}
