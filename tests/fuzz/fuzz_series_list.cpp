// The tracker's series list with its versions and match result files: the
// input cut at NUL bytes into the series list, then the content of each file
// the list names, in the order the list names them (the second field of
// every line). A named path is kept to its last part, so every file stays
// in the work folder; the reports go to its ./results/.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "graph/CapacityChecks.h"
#include "tunnel/Tunnel.h"

namespace {

// One line of the list with the path field (the second) cut to its part
// after the last "/", and any other "/" made "_"; the path in `path`.
std::string localLine(const std::string& line, std::string& path) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back().push_back(c);
    }
    path.clear();
    std::string result;
    for (std::size_t k = 0; k < fields.size(); ++k) {
        std::string field = fields[k];
        if (k == 1) {
            const std::size_t slash = field.rfind('/');
            if (slash != std::string::npos) field = field.substr(slash + 1);
            path = field;
        } else {
            for (char& c : field)
                if (c == '/') c = '_';
        }
        result += (k > 0 ? "," : "") + field;
    }
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    graphmat::fuzz::quietHarness();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    graphmat::fuzz::WorkFolder work({"results"});
    const std::vector<std::string> parts = graphmat::fuzz::splitInput(data, size, 1);

    std::string list, line, path;
    std::vector<std::string> paths;
    std::istringstream lines(parts[0]);
    while (std::getline(lines, line)) {
        list += localLine(line, path) + "\n";
        if (!path.empty()) paths.push_back(path);
    }
    graphmat::fuzz::writeInput("series.txt", list);
    for (std::size_t k = 0; k < paths.size() && k + 1 < parts.size(); ++k)
        if (paths[k] != "." && paths[k] != ".." && paths[k] != "results")
            graphmat::fuzz::writeInput(paths[k], parts[k + 1]);

    try {
        graphmat::Tunnel tunnel("series.txt");
    } catch (const graphmat::TunnelError&) {
        // A series that cannot be tracked is refused with its message.
    } catch (const graphmat::MemoryLimitError&) {
        // A count too large for the machine is refused: the expected end.
    }
    return 0;
}
