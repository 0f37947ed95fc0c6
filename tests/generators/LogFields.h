// The fields of an edit-path log line, cut at every ",".
#pragma once

#include <string>
#include <vector>

namespace graphmat::test {

inline std::vector<std::string> logFields(const std::string& line) {
    std::vector<std::string> result;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        result.push_back(line.substr(start, comma - start));
        if (comma == std::string::npos) return result;
        start = comma + 1;
    }
}

}  // namespace graphmat::test
