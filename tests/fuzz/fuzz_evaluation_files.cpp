// The files of the gold-file evaluation: the input cut at NUL bytes into the
// match result file, the gold file and the class diagram files of graph 1
// and graph 2, scored as `evaluate v1__v2__1__0.5__1__1__0__1.csv shop`
// scores them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "graph/CapacityChecks.h"
#include "matching/Match.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    graphmat::fuzz::quietHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    graphmat::fuzz::WorkFolder work({"results", "datasets/shop"});
    const std::vector<std::string> parts = graphmat::fuzz::splitInput(data, size, 4);
    const std::string result = "v1__v2__1__0.5__1__1__0__1.csv";
    graphmat::fuzz::writeInput("results/" + result, parts[0]);
    graphmat::fuzz::writeInput("results/_v1__v2.csv", parts[1]);
    graphmat::fuzz::writeInput("datasets/shop/v1.txt", parts[2]);
    graphmat::fuzz::writeInput("datasets/shop/v2.txt", parts[3]);
    try {
        graphmat::Match::evalSolution(result, "shop");
    } catch (const graphmat::MemoryLimitError&) {
        // A count too large for the machine is refused: the expected end.
    }
    return 0;
}
