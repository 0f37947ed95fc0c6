// The edit-path log that logcost prices: the input cut at NUL bytes into the
// log, the old graph and the new graph (plain graph files), priced as
// `logcost -d 1 -g 0.5 -e 1 -y 1 -o old.csv -n new.csv -p log.txt` prices it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "graph/CapacityChecks.h"
#include "graph/Graph.h"
#include "graph/Random.h"
#include "matching/Cost.h"
#include "matching/Match.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    graphmat::fuzz::quietHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    graphmat::fuzz::WorkFolder work({"results"});
    const std::vector<std::string> parts = graphmat::fuzz::splitInput(data, size, 3);
    graphmat::fuzz::writeInput("log.txt", parts[0]);
    graphmat::fuzz::writeInput("old.csv", parts[1]);
    graphmat::fuzz::writeInput("new.csv", parts[2]);
    try {
        graphmat::srand15(1);
        graphmat::Cost costs;
        costs.initMode1(1, 0.5, 1, 1, 0);
        graphmat::Graph g1(0, "old.csv");
        graphmat::Graph g2(0, "new.csv");
        graphmat::Match match(&g1, &g2, &costs, 1, 3);
        match.getLog("log.txt");
    } catch (const graphmat::MemoryLimitError&) {
        // A count too large for the machine is refused: the expected end.
    }
    return 0;
}
