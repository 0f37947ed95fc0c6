// The inputs of the diagram difference report: the input cut at NUL bytes
// into the raw and reference entity lists of both graphs, the raw pair list
// of the run and the reference pair list, then the report written.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "reports/CsvDiff.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    graphmat::fuzz::quietHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* names[] = {"raw_A.csv", "raw_B.csv", "uml_A.csv", "uml_B.csv", "raw_A__B.csv", "uml_A__B.csv"};
    const std::vector<std::string> parts = graphmat::fuzz::splitInput(data, size, 6);
    for (int k = 0; k < 6; ++k)
        graphmat::fuzz::writeInput(names[k], reinterpret_cast<const std::uint8_t*>(parts[k].data()), parts[k].size());
    graphmat::csvDiff(names[0], names[1], names[2], names[3], names[4], names[5]);
    return 0;
}
