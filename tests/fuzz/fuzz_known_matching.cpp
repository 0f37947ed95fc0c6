// The known-matching file of a run ("./datasets/random/" + name of graph 1
// less its last character + ".csv"): any input as that file of two small
// graph texts (named "sample"), read by a start that seeds the greedy
// common-edge-subgraph matcher with half of the known pairs.
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "fuzz/FuzzSupport.h"
#include "graph/Graph.h"
#include "graph/Random.h"
#include "matching/Cost.h"
#include "matching/Match.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    graphmat::fuzz::quietHarness();
    std::filesystem::create_directories("datasets/random");
    std::filesystem::create_directories("results");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    graphmat::fuzz::writeInput("datasets/random/sampl.csv", data, size);
    graphmat::srand15(1);
    graphmat::Graph g1(7, "5,5\nn,0,a\nn,1,b\nn,2,c\ne,0,1,1\ne,1,2,2\ne,2,3,1\ne,3,4,3\ne,4,0,1");
    graphmat::Graph g2(7, "6,5\nn,0,a\nn,1,b\nn,5,c\ne,0,1,1\ne,1,2,2\ne,2,3,1\ne,3,5,3\ne,5,0,1");
    graphmat::Cost costs;
    costs.initMode1(1, 0.5, 1, 1, 0);
    graphmat::Match match(&g1, &g2, &costs, 1, 3);
    match.initType = 0.5;
    match.initGammaMatrix_v2(7, 80);
    return 0;
}
